// The plot rectangle, the axes' pixel ends and the labels of one redraw.
#include "chart/plot_layout.h"

#include "chart_test_support.h"

#include <gtest/gtest.h>

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

TEST(ChartPlotRect, AxisEndsAreTheOutermostColumnAndRowOfThePlot) {
    const RectPx plot{32, 1, 1209, 449};
    Axis bottom;
    chart::SetAxisEnds(bottom, plot);
    EXPECT_EQ(bottom.AxisStartPx, 32);
    EXPECT_EQ(bottom.AxisEndPx, 1208);
    Axis left;
    left.Orientation = AxisOrientation::Vertical;
    chart::SetAxisEnds(left, plot);
    EXPECT_EQ(left.AxisStartPx, 1);
    EXPECT_EQ(left.AxisEndPx, 448);
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
    EXPECT_EQ(layout.Bottom.AxisEndPx, 1208);
    EXPECT_EQ(layout.Left.DrawnMaximum, 255);
    EXPECT_EQ(layout.Left.AxisStartPx, 1);
    EXPECT_EQ(layout.Left.AxisEndPx, 448);

    // 447 px of left axis at 14 px per label: room for 32, increment 10.
    EXPECT_EQ(layout.LeftLabels.Increment, 10);
    ASSERT_FALSE(layout.LeftLabels.Labels.empty());
    const chart::AxisLabel& top = layout.LeftLabels.Labels.front();
    EXPECT_EQ(top.Text, u"250");
    EXPECT_EQ(top.TextRect, (RectPx{7, top.TickPx - 6, 25, top.TickPx + 7}));

    // 1176 px of bottom axis at 20 px per label: room for 59; 256 / 5 = 51.
    EXPECT_EQ(layout.BottomLabels.Increment, 5);
    const chart::AxisLabel& zero = layout.BottomLabels.Labels.back();
    EXPECT_EQ(zero.Text, u"0");
    EXPECT_EQ(zero.TickPx, 32);
    EXPECT_EQ(zero.TextRect, (RectPx{29, 456, 35, 469}));
    EXPECT_EQ(zero.TextRect.Bottom, 470 - 1);  // the labels fill the band down to the bevel
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
    EXPECT_EQ(far.Left.AxisEndPx, 448);
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
