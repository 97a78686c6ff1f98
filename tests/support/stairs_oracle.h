// Whole-path forms of the line's rasterizer for tests and benchmarks: the coverage of a
// path over one clip from a fresh rasterizer, and the path with its columns collapsed,
// which must give the same coverage.
#pragma once

#include <span>
#include <vector>

#include "core/chart/geometry.h"
#include "core/chart/stairs_raster.h"

namespace chart_test {

// The same stroked area as `path` with at most four vertices per pixel column: the
// column's first, lowest, highest and last (repeats dropped). The vertical segments of a
// column all lie on one line, so their union is the span from the lowest to the highest
// vertex; the entry and exit rows are kept.
std::vector<chart::PointPx> CollapseColumns(std::span<const chart::PointPx> path);

// StairsRasterizer::Rasterize from a rasterizer of its own, the mask returned by value.
chart::CoverageMask RasterizeStairs(std::span<const chart::PointPx> path, chart::RectPx clipPx);

}  // namespace chart_test
