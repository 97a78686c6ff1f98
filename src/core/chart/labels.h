// Axis labels: the choice of the label increment, the label values and texts,
// the minor ticks between labels, the labels' rectangles and the label under
// the mouse pointer.
#pragma once

#include "core/base/number_symbols.h"
#include "core/chart/axis.h"
#include "core/chart/geometry.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace chart {

// Text metrics of the label font, supplied by the view.
struct TextMeasurer {
    virtual ~TextMeasurer() = default;
    virtual int WidthPx(std::u16string_view text) const = 0;
    virtual int HeightOfWPx() const = 0;
};

using base::NumberSymbols;

// `value` as "#,##0.###": groups of three digits, at most three decimals
// (rounded half up on the value's 15 significant digits), no decimal part for
// whole numbers, and no minus sign on a value that rounds to 0.
std::u16string FormatLabel(double value, const NumberSymbols& symbols);

// The label size s of an axis drawn from DrawnMinimum to DrawnMaximum: for a
// horizontal axis the widest text of the range's ends and of its halved
// midpoint, for a vertical axis the height of "W".
int LabelSizePx(const Axis& axis, const TextMeasurer& measurer, const NumberSymbols& symbols);

// How many labels fit: L / (s + 10 % of s), both roundings half to even; 1 when
// either length is not positive.
int RoomForLabels(int labelSizePx, int axisLengthPx);

// The label increment for a range and the room for labels. `xAxisPointCount`
// is the series' count when the axis carries the x values (a series of at
// most `room` points then gets no increment below 1), none for a y axis.
double LabelIncrement(double drawnMinimum, double drawnMaximum, int room,
                      std::optional<int> xAxisPointCount);

// The most labels an axis with room for `room` draws: `room` gaps between neighbouring
// labels, so one more label than gaps; none when not even one label fits.
int MaxLabelCount(int room);

// The label values from the largest multiple of the increment not above the
// range's top (truncated towards 0) down to the range's bottom, descending, at most
// `maxCount` of them. They stop at the first value that is not below the one before
// (an increment lost in the values' rounding), and an empty range gives one value:
// every value of it maps to the same pixel.
std::vector<double> LabelValues(double drawnMinimum, double drawnMaximum, double increment,
                                int maxCount);

// Three minor ticks dividing each gap between neighbouring labels in four.
std::vector<double> MinorTickValues(std::span<const double> labelValues);

struct AxisLabel {
    double Value = 0.0;
    std::u16string Text;
    int WidthPx = 0;
    int TickPx = 0;   // position along the axis
    RectPx TextRect;  // where the text is drawn; see PlaceLabelRects
    // False when a label moved inwards at the axis's end would touch this one's text: its
    // tick and grid line stay, its text is left out (and is no hover target).
    bool TextShown = true;
};

struct AxisLabels {
    double Increment = 0.0;
    std::vector<AxisLabel> Labels;  // descending values
    std::vector<int> MinorTickPx;
};

// The labels of an axis whose drawn range and pixel ends are set; RectPx is
// left empty until PlaceLabelRects.
AxisLabels BuildAxisLabels(const Axis& axis, std::optional<int> xAxisPointCount,
                           const TextMeasurer& measurer, const NumberSymbols& symbols);

// Puts every label's text rectangle against `labelEdgePx`, the edge at which
// the tick marks end: below it and centred on the tick for a horizontal axis,
// left of it (right-aligned) and centred on the tick for a vertical axis. A
// rectangle that would cross `boundsPx` along its axis (the last bottom label
// centred on the chart's right edge, a left label centred on its top) is moved
// inwards until it lies inside, so that its text is drawn whole; one longer than
// the bounds starts at their start. A moved end label keeps its text; the text of its
// neighbour is left out when the two would come closer than the labels' separation (10 %
// of the larger, at least 1 pixel), so no text is drawn against another.
void PlaceLabelRects(AxisLabels& labels, AxisOrientation orientation, int labelEdgePx,
                     int heightOfWPx, RectPx boundsPx);

// The index of the first label whose rectangle contains `pointer`, edges
// included; -1 when there is none.
int HoveredLabelIndex(const AxisLabels& labels, PointPx pointer);

}  // namespace chart
