// Which stored points a redraw draws, and the stepped line through them in
// pixels.
#pragma once

#include "core/chart/axis.h"
#include "core/chart/geometry.h"

#include <span>
#include <vector>

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

// The vertices of the stepped line over `range`, in client pixels: it starts
// at point First - 1 (or First when that is 0) and, for each later point up to
// Last, runs horizontally to the point's x and then vertically to its y.
// Repeated vertices are dropped (an equal sample adds only the horizontal
// run); a lone point gives no vertices. When every vertex falls on one pixel
// two equal vertices remain: a zero-length segment, drawn as a dot.
std::vector<PointPx> StairVertices(std::span<const double> xValues, std::span<const double> yValues,
                                   VisibleRange range, const Axis& bottom, const Axis& left);

}  // namespace chart
