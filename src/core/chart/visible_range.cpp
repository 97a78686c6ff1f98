#include "core/chart/visible_range.h"

#include <algorithm>

namespace chart {

VisibleRange FindVisibleRange(std::span<const double> xValues, double xLeft, double xRight) {
    const auto first = std::lower_bound(xValues.begin(), xValues.end(), xLeft);
    if (first == xValues.end()) {
        return {};
    }
    VisibleRange range;
    range.First = static_cast<int>(first - xValues.begin());
    if (xValues.back() <= xRight) {
        range.Last = static_cast<int>(xValues.size()) - 1;
    } else {
        const auto last = std::lower_bound(first, xValues.end(), xRight);
        range.Last = static_cast<int>(last - xValues.begin());
    }
    return range;
}

}  // namespace chart
