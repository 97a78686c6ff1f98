// Which stored points a redraw draws.
#pragma once

#include <span>

namespace chart {

struct VisibleRange {
    int First = -1;  // -1: nothing to draw
    int Last = -1;

    bool Empty() const { return First < 0; }
    bool operator==(const VisibleRange&) const = default;
};

// First = the first index whose x is at least xLeft (none: empty). Last = the
// last index when the last x is at most xRight, else the first index from
// First on whose x is at least xRight, so that the line reaches the right
// edge. `xValues` must be ascending; found by binary search.
VisibleRange FindVisibleRange(std::span<const double> xValues, double xLeft, double xRight);

}  // namespace chart
