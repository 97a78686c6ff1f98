// One chart axis: its range, the range and pixel ends of its last drawing, and
// the conversions between values and pixels with that drawing's scale.
#pragma once

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/base/rounding.h"

namespace chart {

// The refusal of a Maximum below Minimum; what() is the text the user may see.
class AxisRangeError : public std::runtime_error {
public:
    AxisRangeError();
};

enum class AxisOrientation {
    Horizontal,  // values grow to the right; carries the x values
    Vertical,    // values grow upwards while pixel rows grow downwards
};

struct Axis {
    AxisOrientation Orientation = AxisOrientation::Horizontal;

    double Minimum = 0.0;
    double Maximum = 0.0;
    bool Automatic = false;
    bool AutomaticMinimum = false;
    bool AutomaticMaximum = false;

    // Set by each drawing: the range drawn and the pixel positions of the
    // axis's ends (left and right edge of the plot, or its top and bottom).
    double DrawnMinimum = 0.0;
    double DrawnMaximum = 0.0;
    int AxisStartPx = 0;
    int AxisEndPx = 0;

    int LengthPx() const { return AxisEndPx - AxisStartPx; }

    // Whether SetMaximum takes v: not below Minimum.
    bool AcceptsMaximum(double v) const noexcept { return !(Minimum > v); }

    // Stores v as Maximum and returns true if it differs from the current one;
    // returns false for an equal value. Throws AxisRangeError, leaving the
    // axis unchanged, when AcceptsMaximum(v) is false. Minimum and the flags stay
    // as they are.
    bool SetMaximum(double v);

    // The pixel of `value` with the last drawing's scale, rounded half to even;
    // every value maps to the middle when the drawn range is empty. Results are
    // held within +-kPxLimit so that values far off the plot stay representable.
    int ValueToPx(double value) const;

    // The value at pixel `px` with the last drawing's scale, unrounded; 0 when
    // the axis is shorter than one pixel.
    double PxToValue(int px) const;
};

// Bound of ValueToPx: far beyond any screen, well inside int arithmetic.
inline constexpr int kPxLimit = 1 << 28;

// Inline, with a short dependency chain and no branch that ordinary ranges take: the
// line's vertices convert every visible point.
inline int Axis::ValueToPx(double value) const {
    const double range = DrawnMaximum - DrawnMinimum;
    if (range == 0.0) {
        return static_cast<int>(base::RoundHalfEven((AxisStartPx + AxisEndPx) / 2.0));
    }
    double offset = (value - DrawnMinimum) * LengthPx() / range;
    if (std::isinf(offset)) {
        offset = (value - DrawnMinimum) / range * LengthPx();  // the product overflowed
    }
    if (offset != offset) {
        return AxisStartPx;  // NaN has no position; keeps the conversions defined
    }
    const int rounded = base::RoundHalfEvenToInt(offset);
    const int px =
        Orientation == AxisOrientation::Horizontal ? AxisStartPx + rounded : AxisEndPx - rounded;
    return std::clamp(px, -kPxLimit, kPxLimit);
}

}  // namespace chart
