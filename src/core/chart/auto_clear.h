// The auto-clear rule of the window's after-add handler.
#pragma once

namespace chart {

// True when the point just added at `valueIndex` lies beyond the bottom
// axis's Maximum, compared as doubles: with Maximum 256 the index 257 clears,
// with 255.9 already 256.
constexpr bool AutoClearDue(double bottomAxisMaximum, int valueIndex) noexcept {
    return bottomAxisMaximum < static_cast<double>(valueIndex);
}

}  // namespace chart
