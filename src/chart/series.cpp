#include "chart/series.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace chart {

std::size_t AscendingInsertionIndex(std::span<const double> xValues, double x) {
    if (xValues.empty() || xValues.back() <= x) return xValues.size();
    auto after =
        std::find_if(xValues.rbegin(), xValues.rend(), [x](double stored) { return stored <= x; });
    return static_cast<std::size_t>(std::distance(after, xValues.rend()));
}

int Series::AddY(double y) {
    const double x = static_cast<double>(Count());
    GrowIfFull();
    const std::size_t index = AscendingInsertionIndex(xValues_, x);
    if (index < xValues_.size()) ++generation_;
    const auto offset = static_cast<std::ptrdiff_t>(index);
    xValues_.insert(xValues_.begin() + offset, x);
    yValues_.insert(yValues_.begin() + offset, y);

    // The handler may clear or add; nothing below may touch the stored point.
    const int valueIndex = static_cast<int>(index);
    if (OnAfterAdd) {
        OnAfterAdd(*this, valueIndex);
    }
    if (OnRepaintRequest) {
        OnRepaintRequest();
    }
    return valueIndex;
}

void Series::Clear() {
    std::vector<double>().swap(xValues_);
    std::vector<double>().swap(yValues_);
    ++generation_;
    if (OnRepaintRequest) {
        OnRepaintRequest();
    }
}

void Series::Reserve(int count) {
    if (count > Capacity()) {
        xValues_.reserve(static_cast<std::size_t>(count));
        yValues_.reserve(static_cast<std::size_t>(count));
    }
}

void Series::GrowIfFull() {
    if (xValues_.size() == xValues_.capacity()) {
        const std::size_t grown = xValues_.capacity() + kGrowthEntries;
        xValues_.reserve(grown);
        yValues_.reserve(grown);
    }
}

}  // namespace chart
