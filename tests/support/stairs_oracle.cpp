#include "stairs_oracle.h"

#include <algorithm>

namespace chart_test {

using chart::PointPx;

std::vector<PointPx> CollapseColumns(std::span<const PointPx> path) {
    std::vector<PointPx> collapsed;
    const auto append = [&collapsed](PointPx vertex) {
        if (collapsed.empty() || !(collapsed.back() == vertex)) {
            collapsed.push_back(vertex);
        }
    };
    for (std::size_t i = 0; i < path.size();) {
        const int x = path[i].XPx;
        int top = path[i].YPx;
        int bottom = path[i].YPx;
        std::size_t end = i;
        for (; end < path.size() && path[end].XPx == x; ++end) {
            top = std::min(top, path[end].YPx);
            bottom = std::max(bottom, path[end].YPx);
        }
        // Visit first the extreme that lets a repeat drop out: the one the run
        // starts at, or the one it does not end at.
        const PointPx first = path[i];
        const PointPx last = path[end - 1];
        const bool bottomFirst = first.YPx == bottom || last.YPx == top;
        append(first);
        append({x, bottomFirst ? bottom : top});
        append({x, bottomFirst ? top : bottom});
        append(last);
        i = end;
    }
    if (collapsed.size() == 1 && path.size() > 1) {
        collapsed.push_back(collapsed.front());  // keep the zero-length segment's dot
    }
    return collapsed;
}

chart::CoverageMask RasterizeStairs(std::span<const PointPx> path, chart::RectPx clipPx) {
    chart::StairsRasterizer rasterizer;
    return rasterizer.Rasterize(path, clipPx);
}

}  // namespace chart_test
