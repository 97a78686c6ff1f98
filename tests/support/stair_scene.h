// A stepped line's scene without the rest of the chart: a plot rectangle, the bottom axis
// drawn 0..xMaximum and the left axis 0..255 across it with the ends a drawing gives them
// (SetAxisEnds), and points at x = 0, 1, 2, ... whose levels the test chooses.
#pragma once

#include <span>
#include <vector>

#include "core/chart/axis.h"
#include "core/chart/geometry.h"
#include "core/chart/plot_layout.h"
#include "core/chart/stair_line.h"
#include "core/chart/stairs_raster.h"
#include "core/chart/visible_range.h"
#include "stair_vertices.h"

namespace chart_test {

struct StairScene {
    StairScene(chart::RectPx plotRect, double xMaximum) : plot(plotRect) {
        bottom.DrawnMaximum = xMaximum;
        chart::SetAxisEnds(bottom, plot);
        left.Orientation = chart::AxisOrientation::Vertical;
        left.DrawnMaximum = 255;
        chart::SetAxisEnds(left, plot);
    }

    void Add(double y) {
        xs.push_back(static_cast<double>(xs.size()));
        ys.push_back(y);
    }

    // The first `count` points' values.
    std::span<const double> X(int count) const {
        return {xs.data(), static_cast<std::size_t>(count)};
    }
    std::span<const double> Y(int count) const {
        return {ys.data(), static_cast<std::size_t>(count)};
    }
    // The line over the first `count` points, as a redraw finds it, and its vertices.
    chart::VisibleRange Range(int count) const {
        return chart::FindVisibleRange(X(count), bottom.DrawnMinimum, bottom.DrawnMaximum);
    }
    chart::StairLine Line(int count) const {
        return chart::StairLine(X(count), Y(count), Range(count), bottom, left);
    }
    std::vector<chart::PointPx> Vertices(int count) const {
        return chart_test::StairVertices(X(count), Y(count), Range(count), bottom, left);
    }
    chart::RectPx Clip() const { return chart::StairsClipRect(plot); }

    chart::RectPx plot;
    chart::Axis bottom;
    chart::Axis left;
    std::vector<double> xs;
    std::vector<double> ys;
};

}  // namespace chart_test
