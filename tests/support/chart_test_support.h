// What the chart's host tests build their cases from: an axis as a drawing leaves it,
// label metrics of fixed size, and the axes of the worked zoom example.
#pragma once

#include <string_view>

#include "core/chart/axis.h"
#include "core/chart/labels.h"
#include "core/chart/plot_layout.h"
#include "core/chart/zoom.h"

namespace chart_test {

// An axis drawn with its current range minimum..maximum between the pixel ends.
inline chart::Axis DrawnAxis(chart::AxisOrientation orientation, double minimum, double maximum,
                             int startPx, int endPx) {
    chart::Axis axis;
    axis.Orientation = orientation;
    axis.Minimum = axis.DrawnMinimum = minimum;
    axis.Maximum = axis.DrawnMaximum = maximum;
    axis.AxisStartPx = startPx;
    axis.AxisEndPx = endPx;
    return axis;
}

// Every character the same width (6 px unless set), "W" of a given height (13 px).
struct FixedWidthMeasurer : chart::TextMeasurer {
    int CharWidthPx = 6;
    int HeightPx = 13;
    int WidthPx(std::u16string_view text) const override {
        return CharWidthPx * static_cast<int>(text.size());
    }
    int HeightOfWPx() const override { return HeightPx; }
};

// An axis drawn with its current range minimum..maximum across `plot`, its ends where a
// drawing puts them.
inline chart::Axis AxisAcross(chart::RectPx plot, chart::AxisOrientation orientation,
                              double minimum, double maximum) {
    chart::Axis axis = DrawnAxis(orientation, minimum, maximum, 0, 0);
    chart::SetAxisEnds(axis, plot);
    return axis;
}

// The chart of the worked example: a plot rectangle 1000 px wide from x = 50 and 255 px
// high from y = 10 (columns 50..1049, rows 10..264), the bottom axis drawn 0..256 from 50
// to 1050 and the left axis 0..255 from 10 to 265.
struct WorkedAxes {
    static constexpr chart::RectPx kPlot{50, 10, 1050, 265};
    chart::Axis Bottom = AxisAcross(kPlot, chart::AxisOrientation::Horizontal, 0, 256);
    chart::Axis Left = AxisAcross(kPlot, chart::AxisOrientation::Vertical, 0, 255);

    // What a drawing leaves in the axes: the current ranges become the drawn ones.
    void Redraw() {
        for (chart::Axis* axis : {&Bottom, &Left}) {
            axis->DrawnMinimum = axis->Minimum;
            axis->DrawnMaximum = axis->Maximum;
        }
    }
    chart::ViewSnapshot View() const {
        return {chart::AxisSnapshot::Of(Bottom), chart::AxisSnapshot::Of(Left)};
    }
};

}  // namespace chart_test
