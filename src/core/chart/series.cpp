#include "core/chart/series.h"

#include <cstddef>

namespace chart {

int Series::AddY(double y) {
    const int valueIndex = Count();
    GrowIfFull();
    xValues_.push_back(static_cast<double>(valueIndex));
    yValues_.push_back(y);

    // The handler may clear or add; nothing below may touch the stored point.
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
