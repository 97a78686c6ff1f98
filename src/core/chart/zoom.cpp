#include "core/chart/zoom.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace chart {

namespace {

bool IsFiniteRange(double minimum, double maximum) {
    return std::isfinite(minimum) && std::isfinite(maximum) && std::isfinite(maximum - minimum);
}

void TurnAutomaticOff(Axis& axis) {
    axis.Automatic = false;
    axis.AutomaticMinimum = false;
    axis.AutomaticMaximum = false;
}

// The drawn range of `axis` shifted by value(lastPx) - value(nowPx); none when the pixel
// did not change or the shifted range is not finite.
std::optional<ValueRange> ShiftedDrawnRange(const Axis& axis, int lastPx, int nowPx) {
    if (lastPx == nowPx) return std::nullopt;
    const double delta = axis.PxToValue(lastPx) - axis.PxToValue(nowPx);
    return OrderedRange(axis.DrawnMinimum + delta, axis.DrawnMaximum + delta);
}

}  // namespace

// A range with an infinite or NaN end is refused and the axis keeps its last finite one: a
// scroll far enough, a wheel step near the largest double or a zoom on a drawn range whose
// width overflows would otherwise store a range with which no pixel converts to a value and
// from which no later step can leave.
std::optional<ValueRange> OrderedRange(double first, double second) {
    if (!std::isfinite(first) || !std::isfinite(second)) return std::nullopt;
    ValueRange range{std::min(first, second), std::max(first, second)};
    const double tolerance =
        std::max(kRangeTolerance * std::min(std::fabs(range.Minimum), std::fabs(range.Maximum)),
                 kRangeTolerance);
    if (range.Maximum - range.Minimum <= tolerance) {
        range.Minimum -= kRangeWideningStep;
        range.Maximum += kRangeWideningStep;
    }
    if (!IsFiniteRange(range.Minimum, range.Maximum)) return std::nullopt;
    return range;
}

bool WriteRange(Axis& axis, ValueRange range) {
    TurnAutomaticOff(axis);
    const bool changed = range.Minimum != axis.Minimum || range.Maximum != axis.Maximum;
    axis.Minimum = range.Minimum;
    axis.Maximum = range.Maximum;
    return changed;
}

bool SetRange(Axis& axis, double first, double second) {
    const std::optional<ValueRange> range = OrderedRange(first, second);
    return range && WriteRange(axis, *range);
}

AxisSnapshot AxisSnapshot::Of(const Axis& axis) {
    return {.Automatic = axis.Automatic,
            .AutomaticMinimum = axis.AutomaticMinimum,
            .AutomaticMaximum = axis.AutomaticMaximum,
            .Minimum = axis.Minimum,
            .Maximum = axis.Maximum};
}

void AxisSnapshot::RestoreTo(Axis& axis) const {
    axis.Automatic = Automatic;
    axis.AutomaticMinimum = AutomaticMinimum;
    axis.AutomaticMaximum = AutomaticMaximum;
    axis.Minimum = Minimum;
    axis.Maximum = Maximum;
}

void ChartZoom::SaveView(const Axis& bottom, const Axis& left) {
    if (savedViewPending_) return;
    savedView_ = {AxisSnapshot::Of(bottom), AxisSnapshot::Of(left)};
    savedViewPending_ = true;
}

// A step whose every axis is refused changes nothing, so it saves nothing either: the
// view saved stays the one before the first step that changed the view.
void ChartZoom::ZoomInto(PointPx a, PointPx b, Axis& bottom, Axis& left) {
    const int leftPx = std::min(a.XPx, b.XPx);
    const int rightPx = std::max(a.XPx, b.XPx);
    const int topPx = std::min(a.YPx, b.YPx);
    const int bottomPx = std::max(a.YPx, b.YPx);
    const std::optional<ValueRange> horizontal =
        OrderedRange(bottom.PxToValue(leftPx), bottom.PxToValue(rightPx));
    const std::optional<ValueRange> vertical =
        OrderedRange(left.PxToValue(bottomPx), left.PxToValue(topPx));
    if (!horizontal && !vertical) return;
    SaveView(bottom, left);
    if (vertical) WriteRange(left, *vertical);
    if (horizontal) WriteRange(bottom, *horizontal);
}

bool ChartZoom::ScrollBy(PointPx last, PointPx now, Axis& bottom, Axis& left) {
    if (last == now) return false;
    const std::optional<ValueRange> horizontal = ShiftedDrawnRange(bottom, last.XPx, now.XPx);
    const std::optional<ValueRange> vertical = ShiftedDrawnRange(left, last.YPx, now.YPx);
    if (horizontal || vertical) SaveView(bottom, left);
    if (horizontal) WriteRange(bottom, *horizontal);
    if (vertical) WriteRange(left, *vertical);
    return true;
}

int ChartZoom::Wheel(int delta, const Axis& bottom, Axis& left) {
    // Wide enough for any int delta on top of the rest.
    const long long sum = static_cast<long long>(wheelRest_) + delta;
    const long long steps = sum / kWheelDeltaPerStep;  // truncates: the rest keeps the sign
    wheelRest_ = static_cast<int>(sum % kWheelDeltaPerStep);
    for (long long i = 0; i < std::llabs(steps); ++i) {
        WheelStep(steps > 0, bottom, left);
    }
    return static_cast<int>(steps);
}

// The step is 3 % of the current range, taken as (Maximum - Minimum) x 3 x 0.01; written
// without ordering or widening. As in OrderedRange, a step that is not finite, or that
// would carry an end beyond the largest double, leaves the axis as it is.
void ChartZoom::WheelStep(bool up, const Axis& bottom, Axis& left) {
    const double shift = (left.Maximum - left.Minimum) * kWheelStepPercent * 0.01;
    const double step = up ? shift : -shift;
    const double minimum = left.Minimum + step;
    const double maximum = left.Maximum + step;
    if (!IsFiniteRange(minimum, maximum)) return;
    SaveView(bottom, left);
    left.Minimum = minimum;
    left.Maximum = maximum;
    TurnAutomaticOff(left);
}

void ChartZoom::UndoZoom(Axis& bottom, Axis& left) {
    if (!savedViewPending_) return;
    savedView_.Bottom.RestoreTo(bottom);
    savedView_.Left.RestoreTo(left);
    savedViewPending_ = false;
}

}  // namespace chart
