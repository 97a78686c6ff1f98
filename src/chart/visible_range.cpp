#include "chart/visible_range.h"

#include <algorithm>
#include <cstddef>

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

std::vector<PointPx> StairVertices(std::span<const double> xValues, std::span<const double> yValues,
                                   VisibleRange range, const Axis& bottom, const Axis& left) {
    std::vector<PointPx> vertices;
    if (range.Empty() || range.Last <= 0 || range.Last < range.First) {
        return vertices;
    }
    const int start = range.First >= 1 ? range.First - 1 : range.First;
    const auto at = [](std::span<const double> values, int i) {
        return values[static_cast<std::size_t>(i)];
    };
    vertices.reserve(2 * static_cast<std::size_t>(range.Last - start) + 1);

    PointPx pen{bottom.ValueToPx(at(xValues, start)), left.ValueToPx(at(yValues, start))};
    vertices.push_back(pen);
    const auto lineTo = [&vertices](PointPx next) {
        if (!(next == vertices.back())) {
            vertices.push_back(next);
        }
    };
    for (int i = start + 1; i <= range.Last; ++i) {
        pen.XPx = bottom.ValueToPx(at(xValues, i));
        lineTo(pen);
        pen.YPx = left.ValueToPx(at(yValues, i));
        lineTo(pen);
    }
    if (vertices.size() == 1) {
        vertices.push_back(vertices.front());
    }
    return vertices;
}

}  // namespace chart
