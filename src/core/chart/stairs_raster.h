// Anti-aliased coverage of the stepped line: the union of its 3-pixel strokes
// with round joins and round ends, as one 8-bit alpha per pixel of the line's
// clip rectangle. The view blends the line colour with this alpha.
#pragma once

#include "core/chart/geometry.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace chart {

// Width of the line's pen.
inline constexpr int kLineWidthPx = 3;

// The line is clipped to the plot rectangle extended by 1 pixel upwards and 1 pixel
// downwards (its bottom edge line): a line at the top of the left axis (the plot's first
// row) stays whole, one at its bottom end (the edge line) loses only what lies more than
// a pixel below the plot.
RectPx StairsClipRect(RectPx plotRectPx);

struct CoverageMask {
    RectPx ClipPx;
    std::vector<std::uint8_t> Alpha;  // row-major over ClipPx; 0 = untouched, 255 = opaque

    // The alpha at client pixel (xPx, yPx), which must lie inside ClipPx.
    std::uint8_t At(int xPx, int yPx) const {
        return Alpha[static_cast<std::size_t>(yPx - ClipPx.Top) *
                         static_cast<std::size_t>(ClipPx.Width()) +
                     static_cast<std::size_t>(xPx - ClipPx.Left)];
    }
};

// How far a stroke reaches beyond its segment, in whole pixels: a pixel whose centre lies
// 2 or more columns (or rows) away from every point of a segment has none of that
// segment's stroke.
inline constexpr int kStrokeReachPx = 1;

// Coverage of the path's stroke, kLineWidthPx wide with round joins and ends,
// inside `clipPx`. Pixel (x, y) is the unit square centred on (x, y), so a
// stroke along integer coordinates covers three whole pixels across; each
// pixel is sampled on an 8 x 8 grid and its alpha is the covered fraction,
// which depends only on the stroked set, not on how the path describes it
// nor on the clip: the coverage of a pixel is the same for every clip that
// contains it and for every path whose stroke meets that pixel in the same
// set. So a part of a path that holds every segment reaching a rectangle
// gives, inside that rectangle, the coverage of the whole path.
// The path is a stair path (x never decreases, every segment horizontal or
// vertical; std::invalid_argument otherwise). Cost grows with the pixels the
// stroke touches, the clip's area and the number of vertices, each vertex
// touched once.
//
// The rasterizer keeps its working memory from one call to the next, so that rasterizing
// many small rectangles costs no allocation once the largest was seen.
class StairsRasterizer {
public:
    StairsRasterizer();
    ~StairsRasterizer();
    StairsRasterizer(const StairsRasterizer&) = delete;
    StairsRasterizer& operator=(const StairsRasterizer&) = delete;

    // The coverage of `path` inside `clipPx`; the mask stays valid until the next call.
    const CoverageMask& Rasterize(std::span<const PointPx> path, RectPx clipPx);

    struct Workspace;

private:
    CoverageMask mask_;
    std::unique_ptr<Workspace> workspace_;
};

}  // namespace chart
