// The range changes of the chart's mouse zoom, scroll drag and wheel, and the one view
// saved before the first of them, which UndoZoom ("1:1") returns to. The chart shows the
// bottom (horizontal) and the left (vertical) axis only; every change here is made to
// those two.
#pragma once

#include <optional>

#include "core/chart/axis.h"
#include "core/chart/geometry.h"

namespace chart {

// A range as "Setting a range" leaves it: Minimum <= Maximum, both finite, and
// Maximum - Minimum finite too.
struct ValueRange {
    double Minimum = 0.0;
    double Maximum = 0.0;
    bool operator==(const ValueRange&) const = default;
};

// Widening of a range whose ends are equal within the tolerance below.
inline constexpr double kRangeWideningStep = 1e-10;
// Ends closer than this, times the smaller of their magnitudes but never less than it,
// count as equal.
inline constexpr double kRangeTolerance = 1e-12;

// The range from two values in either order: the smaller becomes Minimum and the larger
// Maximum; ends equal within the tolerance move apart by kRangeWideningStep each. None
// when a value, or the width, is not finite: such a range would leave nothing to draw or
// convert, so the axis keeps its last finite range instead.
std::optional<ValueRange> OrderedRange(double first, double second);

// Writes `range` into the axis and turns its three automatic flags off. True when
// Minimum or Maximum changed, which asks for a repaint.
bool WriteRange(Axis& axis, ValueRange range);

// OrderedRange then WriteRange; an axis given no finite range is left as it is and
// false is returned.
bool SetRange(Axis& axis, double first, double second);

// What UndoZoom restores of one axis.
struct AxisSnapshot {
    bool Automatic = false;
    bool AutomaticMinimum = false;
    bool AutomaticMaximum = false;
    double Minimum = 0.0;
    double Maximum = 0.0;

    static AxisSnapshot Of(const Axis& axis);
    // Writes every value back as it is, without ordering or checks.
    void RestoreTo(Axis& axis) const;
    bool operator==(const AxisSnapshot&) const = default;
};

struct ViewSnapshot {
    AxisSnapshot Bottom;
    AxisSnapshot Left;
    bool operator==(const ViewSnapshot&) const = default;
};

// A zoom rectangle dragged farther than this in x and in y has an effect (device pixels,
// not scaled with the density).
inline constexpr int kZoomMinimumPx = 16;
// One wheel notch in the platform's delta units, and the share of the vertical range one
// notch scrolls.
inline constexpr int kWheelDeltaPerStep = 120;
inline constexpr double kWheelStepPercent = 3.0;

// The saved view with its pending flag, and the wheel's running delta. The axes belong to
// the chart; every operation takes them as they are now, their Drawn* values and pixel
// ends as of the last drawing.
class ChartZoom {
public:
    const ViewSnapshot& SavedView() const noexcept { return savedView_; }
    bool SavedViewPending() const noexcept { return savedViewPending_; }
    // The wheel delta not yet taken as a step: between -119 and 119.
    int WheelRest() const noexcept { return wheelRest_; }

    // Zooms into the rectangle with the corners `a` and `b` in either order: the bottom
    // axis from the value at its left column to the value at its right one, the left
    // axis from the value at its bottom row to the value at its top one, converted with
    // the last drawing's scale. The view is saved first unless one is pending; the left
    // axis is set before the bottom one.
    void ZoomInto(PointPx a, PointPx b, Axis& bottom, Axis& left);

    // One scroll step from the pointer position `last` to `now`: each axis whose
    // coordinate changed is shifted by value(last) - value(now) from its drawn range (not
    // its current one), so the line follows the pointer. Saves the view first unless one
    // is pending. False when the positions are equal: nothing to do.
    bool ScrollBy(PointPx last, PointPx now, Axis& bottom, Axis& left);

    // Adds a wheel delta and takes one step per kWheelDeltaPerStep reached, up for a
    // positive sum, down for a negative one; each step saves the view unless one is
    // pending and moves both ends of the left axis by kWheelStepPercent of its current
    // range, written as they are. Returns the signed number of steps taken; any step asks
    // for a repaint. The bottom axis never changes by the wheel.
    int Wheel(int delta, const Axis& bottom, Axis& left);

    // Restores the saved view when one is pending and clears the flag; with none pending
    // the axes stay as they are. The chart repaints in either case.
    void UndoZoom(Axis& bottom, Axis& left);

private:
    void SaveView(const Axis& bottom, const Axis& left);
    void WheelStep(bool up, const Axis& bottom, Axis& left);

    ViewSnapshot savedView_;
    bool savedViewPending_ = false;
    int wheelRest_ = 0;
};

}  // namespace chart
