#include "core/chart/axis.h"

#include <cmath>

namespace chart {

AxisRangeError::AxisRangeError() : std::runtime_error("Axis Maximum Value must be >= Minimum") {}

bool Axis::SetMaximum(double v) {
    if (!AcceptsMaximum(v)) {
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
    const double offsetPx = static_cast<double>(px) - AxisStartPx;
    const double range = DrawnMaximum - DrawnMinimum;
    double d = offsetPx * range / lengthPx;
    if (std::isinf(d)) {
        d = offsetPx / lengthPx * range;  // the product overflowed, as near the largest double
    }
    return Orientation == AxisOrientation::Horizontal ? DrawnMinimum + d : DrawnMaximum - d;
}

}  // namespace chart
