// The whole stepped line as one list of vertices: what the tests, the fuzz targets and the
// benchmarks compare the chart's drawing with.
#pragma once

#include <span>
#include <vector>

#include "core/chart/axis.h"
#include "core/chart/geometry.h"
#include "core/chart/visible_range.h"

namespace chart_test {

// The vertices of the stepped line over `range`, in client pixels: it starts at point
// First - 1 (or First when that is 0) and, for each later point up to Last, runs
// horizontally to the point's x and then vertically to its y. Repeated vertices are
// dropped (an equal sample adds only the horizontal run); a lone point gives no vertices.
// When every vertex falls on one pixel two equal vertices remain: a zero-length segment,
// drawn as a dot.
std::vector<chart::PointPx> StairVertices(std::span<const double> xValues,
                                          std::span<const double> yValues,
                                          chart::VisibleRange range, const chart::Axis& bottom,
                                          const chart::Axis& left);

}  // namespace chart_test
