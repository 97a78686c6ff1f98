#include "chart/axis.h"

#include <cmath>

namespace chart {

double RoundHalfEven(double value) noexcept {
    const double below = std::floor(value);
    const double fraction = value - below;  // exact
    if (fraction != 0.5) {
        return fraction < 0.5 ? below : below + 1.0;
    }
    const double half = below / 2.0;  // exact; whole when `below` is even
    return half == std::floor(half) ? below : below + 1.0;
}

AxisRangeError::AxisRangeError() : std::runtime_error("Axis Maximum Value must be >= Minimum") {}

bool Axis::SetMaximum(double v) {
    if (Minimum > v) {
        throw AxisRangeError();
    }
    if (v == Maximum) {
        return false;
    }
    Maximum = v;
    return true;
}

double Axis::PxToValue(int px) const {
    const int lengthPx = LengthPx();
    if (lengthPx < 1) {
        return 0.0;
    }
    const double d =
        static_cast<double>(px - AxisStartPx) * (DrawnMaximum - DrawnMinimum) / lengthPx;
    return Orientation == AxisOrientation::Horizontal ? DrawnMinimum + d : DrawnMaximum - d;
}

}  // namespace chart
