// The chart's layout and labels for any ranges (infinite, NaN, reversed, equal, huge,
// denormal) and any client size up to 5000 px, with text metrics of fixed width: the
// work stays bounded, pixels stay representable, labels descend inside the drawn range
// and the rectangles follow the ticks.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "chart_test_support.h"
#include "core/chart/labels.h"
#include "core/chart/plot_layout.h"
#include "fuzz_support.h"

namespace {

using chart::Axis;
using chart::AxisLabels;
using chart::AxisOrientation;
using chart_test::FixedWidthMeasurer;
using fuzz::Fail;
using fuzz::Require;

// Far beyond any pixel a label can reach: the tick limit and the widest text.
constexpr long long kSaneBoundPx = chart::kPxLimit + 100000LL;

bool Sane(long long px) {
    return px >= -kSaneBoundPx && px <= kSaneBoundPx;
}

bool FiniteOrderedRange(const Axis& axis) {
    return std::isfinite(axis.DrawnMinimum) && std::isfinite(axis.DrawnMaximum) &&
           std::isfinite(axis.DrawnMaximum - axis.DrawnMinimum) &&
           axis.DrawnMinimum <= axis.DrawnMaximum;
}

void CheckLabels(const Axis& axis, const AxisLabels& labels, const chart::ChartLayout& layout,
                 const FixedWidthMeasurer& measurer, const base::NumberSymbols& symbols) {
    const std::size_t count = labels.Labels.size();
    // Only the labels that fit, degenerate ranges included (no room for one label, a range
    // far narrower than its magnitude).
    const int room =
        chart::RoomForLabels(chart::LabelSizePx(axis, measurer, symbols), axis.LengthPx());
    if (count > static_cast<std::size_t>(chart::MaxLabelCount(room))) {
        Fail(std::to_string(count) + " labels with room for " + std::to_string(room));
    }
    Require(labels.MinorTickPx.size() == (count == 0 ? 0 : 3 * (count - 1)),
            "three minor ticks per gap");
    for (const int px : labels.MinorTickPx) {
        Require(px >= -chart::kPxLimit && px <= chart::kPxLimit, "minor ticks within kPxLimit");
    }

    const int labelEdge = chart::LabelEdgePx(axis.Orientation, layout.PlotRectPx);
    const double min = axis.DrawnMinimum;
    const double max = axis.DrawnMaximum;
    // LabelValues goes down to a hair below a non-negative minimum.
    const double floorTolerance = std::isfinite(min) ? 1e-12 * (1.0 + std::fabs(min)) * 2.0 : 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const chart::AxisLabel& label = labels.Labels[i];
        Require(!std::isnan(label.Value), "no label is NaN");
        if (i > 0) Require(label.Value < labels.Labels[i - 1].Value, "values descend");
        if (!(label.Value >= min - floorTolerance)) {
            Fail("a label below the drawn minimum: " + std::to_string(label.Value) + " < " +
                 std::to_string(min));
        }
        Require(label.Text == chart::FormatLabel(label.Value, symbols), "the label's text");
        Require(label.WidthPx == measurer.WidthPx(label.Text), "the label's width");
        Require(label.TickPx >= std::min(axis.AxisStartPx, axis.AxisEndPx) &&
                    label.TickPx <= std::max(axis.AxisStartPx, axis.AxisEndPx),
                "ticks on the axis");
        Require(label.TickPx == axis.ValueToPx(label.Value), "the tick is the value's pixel");

        const chart::RectPx& r = label.TextRect;
        Require(Sane(r.Left) && Sane(r.Right) && Sane(r.Top) && Sane(r.Bottom),
                "label rectangles within sane bounds");
        Require(r.Width() == label.WidthPx && r.Height() == measurer.HeightPx,
                "the rectangle holds the text");
        // Centred on the tick, unless that would cross the label bounds along the axis:
        // then moved inside (or to the bounds' start when longer than they are).
        const chart::RectPx& bounds = layout.LabelBoundsPx;
        const auto placed = [](int centred, int length, int low, int high) {
            return std::max(std::min(centred, high - length), low);
        };
        if (axis.Orientation == AxisOrientation::Horizontal) {
            Require(
                r.Top == labelEdge && r.Left == placed(label.TickPx - label.WidthPx / 2,
                                                       label.WidthPx, bounds.Left, bounds.Right),
                "a bottom label sits below the tick end, centred or moved inside");
        } else {
            Require(r.Right == labelEdge &&
                        r.Top == placed(label.TickPx - measurer.HeightPx / 2, measurer.HeightPx,
                                        bounds.Top, bounds.Bottom),
                    "a left label ends at the tick end, centred or moved inside");
        }
        // A hidden text is only ever the neighbour of an end label.
        if (!label.TextShown) {
            Require(i == 1 || i + 2 == count, "only an end's neighbour gives way");
        }
    }

    fuzz::Trace("axis %s..%s over %d..%d: increment %s, %zu labels\n", fuzz::Show(min).c_str(),
                fuzz::Show(max).c_str(), axis.AxisStartPx, axis.AxisEndPx,
                fuzz::Show(labels.Increment).c_str(), count);
    if (FiniteOrderedRange(axis) && max > min) {
        // Infinite only where the next step of 1, 2, 5 beyond the largest double is.
        Require(labels.Increment > 0.0, "a finite range has a positive increment");
        Require(std::isfinite(labels.Increment) || max - min > 1e307,
                "a finite increment for a range of a finite step");
    }
    if (FiniteOrderedRange(axis)) {
        for (const chart::AxisLabel& label : labels.Labels) {
            Require(std::isfinite(label.Value), "labels of a finite range are finite");
            Require(label.Value <= max + labels.Increment, "labels within the drawn range");
        }
    }
}

// The drawn scale converts pixels to values and back, where a pixel spans many units in
// the last place of the range's ends; an end pixel's value that rounding carries past
// the largest double is left out.
void CheckScale(const Axis& axis, int px) {
    const int length = axis.LengthPx();
    if (!FiniteOrderedRange(axis) || length < 1) return;
    const double range = axis.DrawnMaximum - axis.DrawnMinimum;
    const double magnitude = std::max(std::fabs(axis.DrawnMinimum), std::fabs(axis.DrawnMaximum));
    if (!(range / length > 1e-9 * magnitude) || !(range / length > 1e-290)) return;
    const double value = axis.PxToValue(px);
    if (std::isinf(value) && magnitude > 1e307) return;
    const int back = axis.ValueToPx(value);
    if (back != px) {
        Fail("pixel " + std::to_string(px) + " comes back as " + std::to_string(back) + " on " +
             fuzz::Show(axis.DrawnMinimum) + ".." + fuzz::Show(axis.DrawnMaximum) + " over " +
             std::to_string(axis.AxisStartPx) + ".." + std::to_string(axis.AxisEndPx));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const base::NumberSymbols symbols = fuzz::PickSymbols(data);
    FixedWidthMeasurer measurer;
    measurer.CharWidthPx = data.ConsumeIntegralInRange(1, 16);
    measurer.HeightPx = data.ConsumeIntegralInRange(1, 40);
    const int widthPx = data.ConsumeIntegralInRange(0, 5000);
    const int heightPx = data.ConsumeIntegralInRange(0, 5000);
    const int seriesCount = data.ConsumeIntegral<int>();
    Axis bottom;
    Axis left;
    for (Axis* axis : {&bottom, &left}) {
        axis->Minimum = fuzz::AwkwardDouble(data);
        axis->Maximum = data.ConsumeBool() ? axis->Minimum + fuzz::AwkwardDouble(data)
                                           : fuzz::AwkwardDouble(data);
        axis->DrawnMinimum = fuzz::AwkwardDouble(data);  // stale: the layout replaces them
        axis->DrawnMaximum = fuzz::AwkwardDouble(data);
    }

    fuzz::Trace("client %d x %d, bottom %s..%s, left %s..%s, points %d\n", widthPx, heightPx,
                fuzz::Show(bottom.Minimum).c_str(), fuzz::Show(bottom.Maximum).c_str(),
                fuzz::Show(left.Minimum).c_str(), fuzz::Show(left.Maximum).c_str(), seriesCount);
    const chart::ChartLayout layout =
        chart::LayoutChart(widthPx, heightPx, bottom, left, seriesCount, measurer, symbols);

    Require(layout.Bottom.Orientation == AxisOrientation::Horizontal &&
                layout.Left.Orientation == AxisOrientation::Vertical,
            "the axes' orientations");
    for (const auto& [given, drawn] :
         {std::pair{&bottom, &layout.Bottom}, std::pair{&left, &layout.Left}}) {
        Require(std::bit_cast<std::uint64_t>(drawn->DrawnMinimum) ==
                        std::bit_cast<std::uint64_t>(given->Minimum) &&
                    std::bit_cast<std::uint64_t>(drawn->DrawnMaximum) ==
                        std::bit_cast<std::uint64_t>(given->Maximum),
                "the drawn range is the current one");
    }
    int widestLeft = 0;
    for (const chart::AxisLabel& label : layout.LeftLabels.Labels) {
        widestLeft = std::max(widestLeft, label.WidthPx);
    }
    Require(layout.PlotRectPx == chart::PlotRectFor(widthPx, heightPx, widestLeft,
                                                    measurer.CharWidthPx, measurer.HeightPx),
            "the plot leaves room for the widest left label");
    Require(layout.Bottom.AxisStartPx == layout.PlotRectPx.Left &&
                layout.Bottom.AxisEndPx == layout.PlotRectPx.Right &&
                layout.Left.AxisStartPx == layout.PlotRectPx.Top &&
                layout.Left.AxisEndPx == layout.PlotRectPx.Bottom,
            "the axes end at the plot's edges: as long as the plot is wide and high");

    CheckLabels(layout.Bottom, layout.BottomLabels, layout, measurer, symbols);
    CheckLabels(layout.Left, layout.LeftLabels, layout, measurer, symbols);
    for (const Axis* axis : {&layout.Bottom, &layout.Left}) {
        CheckScale(*axis, axis->AxisStartPx);
        CheckScale(*axis, axis->AxisEndPx);
        CheckScale(*axis, data.ConsumeIntegralInRange(
                              axis->AxisStartPx, std::max(axis->AxisStartPx, axis->AxisEndPx)));
    }
    return 0;
}
