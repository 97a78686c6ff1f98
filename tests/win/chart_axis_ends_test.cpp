// The ends of the chart's axes on the real window at 96, 120 and 144 dpi: the axes run
// from the plot's left and top edges to its right and bottom edge lines, so the line's
// extreme values and the labels' ticks land there, and the frame stays whole.
#include <windows.h>

#include <gtest/gtest.h>

#include "chart_window.h"
#include "win/ui/dpi.h"

namespace {

using chart::RectPx;
using wintest::Copy;
using wintest::kBlack;
using wintest::kLine;
using wintest::Pixels;

constexpr COLORREF kFrameShadow = RGB(160, 160, 160);
constexpr COLORREF kTick = RGB(128, 128, 128);
constexpr COLORREF kGrid = RGB(192, 192, 192);

// Laid out for the primary monitor's density: the suites run it in a prefix of each.
class MonitorDensityChart : public wintest::ChartWindow {
protected:
    int Dpi() const override { return ui::MonitorDpiAt({0, 0}); }
};

// A square wave 255, 0, 255, ... over the bottom axis 0..30 with more points than fit, so
// that the line runs on past the right edge.
TEST_F(MonitorDensityChart, TheLineAndTheLabelsReachThePlotsEdgeLines) {
    SendMessageW(form->sqrButton.Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(form->sqrButton.Checked());
    form->autoClearBox.SetChecked(false);
    form->incrementBox.SetValue(32768);
    form->chartWidthSlider.SetPosition(30);
    Plus(40);
    PaintNow();

    const chart::ChartLayout& layout = view->Layout();
    const RectPx plot = Plot();
    ASSERT_EQ(layout.Bottom.DrawnMaximum, 30.0);
    EXPECT_EQ(layout.Bottom.AxisEndPx, plot.Right);
    EXPECT_EQ(layout.Bottom.LengthPx(), plot.Width());
    EXPECT_EQ(layout.Left.AxisEndPx, plot.Bottom);
    EXPECT_EQ(layout.Left.LengthPx(), plot.Height());
    EXPECT_EQ(layout.Bottom.ValueToPx(30), plot.Right);
    EXPECT_EQ(layout.Left.ValueToPx(255), plot.Top);
    EXPECT_EQ(layout.Left.ValueToPx(0), plot.Bottom);

    const Pixels picture = Copy(view->Picture());
    const base::SizePx size = view->ClientSizePx();
    ASSERT_EQ(plot.Right, size.Width - chart::kBevelPx) << "the right edge is the frame's column";
    for (int y = 1; y < size.Height; ++y) {
        ASSERT_EQ(picture.At(size.Width - 1, y), kFrameShadow) << "frame, row " << y;
    }

    // The line is drawn to the last column inside the plot and cut at the edge line.
    int inLastColumn = 0;
    for (int y = plot.Top - 1; y <= plot.Bottom; ++y) {
        inLastColumn += picture.At(plot.Right - 1, y) == kLine;
    }
    EXPECT_GT(inLastColumn, 0) << "the line reaches the right edge";

    // Where a point and the next are 0: the stroke on the plot's last row and the axis
    // line's first, its third row cut; where they are 255 the axis line shows, without a
    // grid line over it.
    const auto ys = form->outputLine.YValues();
    bool sawLow = false;
    bool sawHigh = false;
    for (std::size_t i = 0; i + 1 < ys.size() && i + 1 <= 30; ++i) {
        const int x = (layout.Bottom.ValueToPx(static_cast<double>(i)) +
                       layout.Bottom.ValueToPx(static_cast<double>(i + 1))) /
                      2;
        if (x >= plot.Right - 2) break;
        SCOPED_TRACE("between points " + std::to_string(i) + " and " + std::to_string(i + 1));
        if (ys[i] == 0) {
            sawLow = true;
            EXPECT_EQ(picture.At(x, plot.Bottom - 1), kLine);
            EXPECT_EQ(picture.At(x, plot.Bottom), kLine);
            EXPECT_EQ(picture.At(x, plot.Bottom + 1), kBlack);
        } else if (ys[i] == 255) {
            sawHigh = true;
            EXPECT_EQ(picture.At(x, plot.Top - 1), kLine);
            EXPECT_EQ(picture.At(x, plot.Top), kLine);
            EXPECT_EQ(picture.At(x, plot.Bottom), kBlack);
            EXPECT_EQ(picture.At(x, plot.Bottom + 1), kBlack);
            // The left labels' grid lines cross the plot between the jumps.
            for (const chart::AxisLabel& label : layout.LeftLabels.Labels) {
                if (label.TickPx > plot.Top + 2 && label.TickPx < plot.Bottom - 2) {
                    EXPECT_EQ(picture.At(x, label.TickPx), kGrid) << "grid at " << label.Value;
                }
            }
        }
    }
    EXPECT_TRUE(sawLow && sawHigh);

    // Ticks: each bottom label's below the axis line, but at the right edge; the left
    // label at 0 beside the bottom axis line's first row.
    const int bottomTickRow = plot.Bottom + chart::kAxisBandPx - 1;
    for (const chart::AxisLabel& label : layout.BottomLabels.Labels) {
        if (label.TickPx < plot.Right) {
            EXPECT_EQ(picture.At(label.TickPx, bottomTickRow), kTick) << label.Value;
        }
    }
    const chart::AxisLabel& last = layout.BottomLabels.Labels.front();
    EXPECT_EQ(last.Value, 30.0);
    EXPECT_EQ(last.TickPx, plot.Right);
    EXPECT_LE(last.TextRect.Right, size.Width - chart::kBevelPx);
    const chart::AxisLabel& zero = layout.LeftLabels.Labels.back();
    ASSERT_EQ(zero.Value, 0.0);
    EXPECT_EQ(zero.TickPx, plot.Bottom);
    EXPECT_EQ(picture.At(plot.Left - chart::kAxisBandPx + 1, plot.Bottom), kTick);

    EXPECT_EQ(wintest::Differences(picture, FullRedraw()), 0);
    ExpectScreenShows(picture);
}

}  // namespace
