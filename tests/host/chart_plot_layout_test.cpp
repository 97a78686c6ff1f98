// The plot rectangle, the axes' pixel ends and the labels of one redraw.
#include "core/chart/plot_layout.h"

#include "chart_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using chart::Axis;
using chart::AxisOrientation;
using chart::RectPx;
using chart_test::FixedWidthMeasurer;

TEST(ChartPlotRect, BevelAndTheTwoAxisBandsAreTakenOff) {
    const struct {
        int width, height, widestLeft, space, heightOfW;
        RectPx plot;
    } cases[] = {
        // 1 + 18 + 6 + 7 on the left; 13 + 7 + 1 at the bottom; 1 on the other sides.
        {1210, 470, 18, 6, 13, {32, 1, 1209, 449}},
        {400, 300, 30, 4, 16, {42, 1, 399, 276}},
        {20, 20, 18, 6, 13, {32, 1, 19, -1}},  // too small: an empty rectangle
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chart::PlotRectFor(c.width, c.height, c.widestLeft, c.space, c.heightOfW),
                  c.plot);
    }
}

// The axes end on the plot's edge lines, so each is as long as the plot is wide or high.
TEST(ChartPlotRect, AxisEndsAreThePlotsEdges) {
    const RectPx plot{32, 1, 1209, 449};
    Axis bottom;
    chart::SetAxisEnds(bottom, plot);
    EXPECT_EQ(bottom.AxisStartPx, 32);
    EXPECT_EQ(bottom.AxisEndPx, 1209);
    EXPECT_EQ(bottom.LengthPx(), plot.Width());
    Axis left;
    left.Orientation = AxisOrientation::Vertical;
    chart::SetAxisEnds(left, plot);
    EXPECT_EQ(left.AxisStartPx, 1);
    EXPECT_EQ(left.AxisEndPx, 449);
    EXPECT_EQ(left.LengthPx(), plot.Height());
    EXPECT_EQ(chart::LabelEdgePx(AxisOrientation::Horizontal, plot), 456);
    EXPECT_EQ(chart::LabelEdgePx(AxisOrientation::Vertical, plot), 25);
}

TEST(ChartLayout, LaysOutThePlotAroundTheLeftLabelsAndCopiesTheDrawnRanges) {
    Axis bottom;
    bottom.Minimum = 0;
    bottom.Maximum = 256;
    bottom.DrawnMaximum = 30;  // stale: every layout takes the current range
    Axis left;
    left.Orientation = AxisOrientation::Vertical;
    left.Minimum = 0;
    left.Maximum = 255;
    const FixedWidthMeasurer measurer;

    const chart::ChartLayout layout =
        chart::LayoutChart(1210, 470, bottom, left, 1, measurer, chart::NumberSymbols{});

    // Widest left label "250": 18 px, plus a 6 px space and the 7 px band.
    EXPECT_EQ(layout.PlotRectPx, (RectPx{32, 1, 1209, 449}));
    EXPECT_EQ(layout.Bottom.DrawnMinimum, 0);
    EXPECT_EQ(layout.Bottom.DrawnMaximum, 256);
    EXPECT_EQ(layout.Bottom.AxisStartPx, 32);
    EXPECT_EQ(layout.Bottom.AxisEndPx, 1209);
    EXPECT_EQ(layout.Left.DrawnMaximum, 255);
    EXPECT_EQ(layout.Left.AxisStartPx, 1);
    EXPECT_EQ(layout.Left.AxisEndPx, 449);

    // 448 px of left axis at 14 px per label: room for 32, increment 10.
    EXPECT_EQ(layout.LeftLabels.Increment, 10);
    ASSERT_FALSE(layout.LeftLabels.Labels.empty());
    const chart::AxisLabel& top = layout.LeftLabels.Labels.front();
    EXPECT_EQ(top.Text, u"250");
    EXPECT_EQ(top.TextRect, (RectPx{7, top.TickPx - 6, 25, top.TickPx + 7}));

    // 1177 px of bottom axis at 20 px per label: room for 59; 256 / 5 = 51.
    EXPECT_EQ(layout.BottomLabels.Increment, 5);
    const chart::AxisLabel& zero = layout.BottomLabels.Labels.back();
    EXPECT_EQ(zero.Text, u"0");
    EXPECT_EQ(zero.TickPx, 32);
    EXPECT_EQ(zero.TextRect, (RectPx{29, 456, 35, 469}));
    EXPECT_EQ(zero.TextRect.Bottom, 470 - 1);  // the labels fill the band down to the bevel

    // The last bottom label, 255 on its tick near the right edge, lies inside the frame,
    // whole; the plot keeps its rectangle.
    const chart::AxisLabel& last = layout.BottomLabels.Labels.front();
    ASSERT_EQ(last.Text, u"255");
    EXPECT_EQ(layout.LabelBoundsPx, (RectPx{1, 1, 1209, 469}));
    EXPECT_EQ(last.TextRect.Right, std::min(last.TickPx - 9 + 18, 1209));
    for (const auto* labels : {&layout.BottomLabels, &layout.LeftLabels}) {
        for (const chart::AxisLabel& label : labels->Labels) {
            EXPECT_TRUE(layout.LabelBoundsPx.Covers(label.TextRect)) << label.Value;
        }
    }
}

// Bottom axis 0 to 30 and 0 to 10000: the label at the right end is centred on the plot's
// right edge, the frame's column, so half of it would lie beyond the chart; it moves inwards to end
// at the frame, and no other label moves.
TEST(ChartLayout, TheLastBottomLabelEndsAtTheFrameInsteadOfCrossingIt) {
    const FixedWidthMeasurer measurer;
    for (const double maximum : {30.0, 10000.0}) {
        Axis bottom;
        bottom.Maximum = maximum;
        Axis left;
        left.Orientation = AxisOrientation::Vertical;
        left.Maximum = 255;
        const chart::ChartLayout layout =
            chart::LayoutChart(1177, 448, bottom, left, 1, measurer, chart::NumberSymbols{});
        const chart::AxisLabel& last = layout.BottomLabels.Labels.front();
        ASSERT_EQ(last.Value, maximum);
        EXPECT_EQ(last.TickPx, layout.PlotRectPx.Right);
        EXPECT_EQ(last.TextRect.Right, 1177 - chart::kBevelPx) << maximum;
        EXPECT_EQ(last.TextRect.Width(), last.WidthPx);
        const chart::AxisLabel& before = layout.BottomLabels.Labels[1];
        EXPECT_EQ(before.TextRect.Left, before.TickPx - before.WidthPx / 2) << "stays centred";
    }
}

// Near 1e300 a left label is written with all its 301 digits, 2406 px in this measure:
// the labels do not fit beside any plot and are left out, the plot keeps the chart.
TEST(ChartLayout, LeftLabelsWiderThanTheChartAreLeftOut) {
    Axis bottom;
    bottom.Maximum = 256;
    Axis left;
    left.Orientation = AxisOrientation::Vertical;
    left.Minimum = 1e300;
    left.Maximum = 1e300 + 1e290;
    const FixedWidthMeasurer measurer;
    const chart::ChartLayout far =
        chart::LayoutChart(1210, 470, bottom, left, 1, measurer, chart::NumberSymbols{});
    EXPECT_TRUE(far.LeftLabels.Labels.empty());
    EXPECT_TRUE(far.LeftLabels.MinorTickPx.empty());
    EXPECT_EQ(far.PlotRectPx, (RectPx{14, 1, 1209, 449}));  // 1 + 6 + 7: no label, a space
    EXPECT_EQ(far.Left.AxisEndPx, 449);
    EXPECT_FALSE(far.BottomLabels.Labels.empty());

    // Wide labels that still leave a plot stay.
    left.Minimum = 1e120;
    left.Maximum = 1e120 + 1e110;
    const chart::ChartLayout wide =
        chart::LayoutChart(1210, 470, bottom, left, 1, measurer, chart::NumberSymbols{});
    ASSERT_FALSE(wide.LeftLabels.Labels.empty());
    EXPECT_GT(wide.PlotRectPx.Left, 900);  // 121 digits and 40 separators
    EXPECT_LT(wide.PlotRectPx.Left, wide.PlotRectPx.Right);
}

}  // namespace
