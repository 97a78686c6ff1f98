#include "stair_vertices.h"

#include "core/chart/stair_line.h"

namespace chart_test {

std::vector<chart::PointPx> StairVertices(std::span<const double> xValues,
                                          std::span<const double> yValues,
                                          chart::VisibleRange range, const chart::Axis& bottom,
                                          const chart::Axis& left) {
    std::vector<chart::PointPx> vertices;
    const chart::StairLine line(xValues, yValues, range, bottom, left);
    if (line.Drawn()) line.Vertices(line.StartIndex(), line.LastIndex(), true, vertices);
    return vertices;
}

}  // namespace chart_test
