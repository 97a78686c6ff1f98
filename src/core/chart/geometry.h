// Pixel geometry shared by the chart's layout, labels, line and rasterizer.
#pragma once

#include "core/base/rect.h"

namespace chart {

using base::RectPx;

// A point in the chart's client coordinates.
struct PointPx {
    int XPx = 0;
    int YPx = 0;
    bool operator==(const PointPx&) const = default;
};

}  // namespace chart
