// What the chart's host tests build their cases from: an axis as a drawing leaves it,
// label metrics of fixed size, and the axes of the worked zoom example.
#pragma once

#include <string_view>

#include "chart/axis.h"
#include "chart/labels.h"
#include "chart/zoom.h"

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

// The chart of the worked example: the bottom axis drawn 0..256 over 1000 px from x = 50,
// the left axis drawn 0..255 over 255 px from y = 10. An axis's length is AxisEndPx -
// AxisStartPx, so the ends are 50 and 1050, and 10 and 265: the plot rectangle
// {50, 10, 1051, 266} holds the columns 50..1050 and the rows 10..265.
struct WorkedAxes {
    chart::Axis Bottom = DrawnAxis(chart::AxisOrientation::Horizontal, 0, 256, 50, 1050);
    chart::Axis Left = DrawnAxis(chart::AxisOrientation::Vertical, 0, 255, 10, 265);

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
