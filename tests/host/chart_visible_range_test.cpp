// The points a redraw draws, and the stepped line's vertices through them.
#include "core/chart/visible_range.h"
#include "stair_vertices.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <vector>

namespace chart {
void PrintTo(const PointPx& point, std::ostream* out) {
    *out << "(" << point.XPx << ", " << point.YPx << ")";
}
}  // namespace chart

namespace {

using chart::Axis;
using chart::AxisOrientation;
using chart::PointPx;
using chart::VisibleRange;

// The documented search: a linear scan from index 0.
VisibleRange LinearScan(const std::vector<double>& xs, double xLeft, double xRight) {
    const int count = static_cast<int>(xs.size());
    VisibleRange range;
    for (int i = 0; i < count; ++i) {
        if (xs[static_cast<std::size_t>(i)] >= xLeft) {
            range.First = i;
            break;
        }
    }
    if (range.First < 0) {
        return range;
    }
    if (xs.back() <= xRight) {
        range.Last = count - 1;
        return range;
    }
    for (int i = range.First; i < count; ++i) {
        if (xs[static_cast<std::size_t>(i)] >= xRight) {
            range.Last = i;
            break;
        }
    }
    return range;
}

std::vector<double> Indices(int count) {
    std::vector<double> xs;
    for (int i = 0; i < count; ++i) {
        xs.push_back(i);
    }
    return xs;
}

TEST(ChartVisibleRange, BeforeInsideAndAfterTheData) {
    const std::vector<double> xs = Indices(10);  // x = 0 .. 9
    const struct {
        double xLeft, xRight;
        VisibleRange expected;
    } cases[] = {
        {0, 256, {0, 9}},                    // everything fits
        {0, 9, {0, 9}},     {3, 5, {3, 5}},  // ends on points
        {2.5, 5.5, {3, 6}},                  // the first point beyond the right edge is included
        {9, 20, {9, 9}},    {8.5, 8.7, {9, 9}},  // between two points
        {-10, -5, {0, 0}},                       // the view lies before the data
        {-10, 4.5, {0, 5}}, {9.5, 20, {}},       // after the data: nothing
        {20, 30, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chart::FindVisibleRange(xs, c.xLeft, c.xRight), c.expected)
            << c.xLeft << ".." << c.xRight;
    }
    EXPECT_EQ(chart::FindVisibleRange({}, 0, 256), VisibleRange{});
}

TEST(ChartVisibleRange, BinarySearchMatchesTheLinearScanOnRandomData) {
    std::mt19937 random(20260);
    std::uniform_int_distribution<int> gap(0, 3);  // 0: repeated x values
    std::uniform_real_distribution<double> edge(-50.0, 650.0);
    for (int series = 0; series < 200; ++series) {
        std::vector<double> xs;
        double x = edge(random) / 10.0;
        const int count = series % 50 == 0 ? 1 : 1 + series * 3;
        for (int i = 0; i < count; ++i) {
            x += gap(random) * 0.5;
            xs.push_back(x);
        }
        for (int view = 0; view < 50; ++view) {
            double xLeft = edge(random);
            double xRight = edge(random);
            if (view % 5 == 0) {
                xLeft = xs[static_cast<std::size_t>(view) % xs.size()];  // exactly on a point
            }
            if (view % 7 == 0) {
                xRight = xs[static_cast<std::size_t>(view * 3) % xs.size()];
            }
            ASSERT_EQ(chart::FindVisibleRange(xs, xLeft, xRight), LinearScan(xs, xLeft, xRight))
                << "series " << series << " view " << xLeft << ".." << xRight;
        }
    }
}

// Bottom axis 0..10 over x = 0..100, left axis 0..100 over y = 100..0.
class ChartStairVertices : public ::testing::Test {
protected:
    ChartStairVertices() {
        bottom.DrawnMaximum = 10;
        bottom.AxisEndPx = 100;
        left.Orientation = AxisOrientation::Vertical;
        left.DrawnMaximum = 100;
        left.AxisEndPx = 100;
    }

    std::vector<PointPx> Vertices(const std::vector<double>& ys, double xLeft = 0,
                                  double xRight = 10) const {
        const std::vector<double> xs = Indices(static_cast<int>(ys.size()));
        return chart_test::StairVertices(xs, ys, chart::FindVisibleRange(xs, xLeft, xRight), bottom,
                                         left);
    }

    Axis bottom;
    Axis left;
};

TEST_F(ChartStairVertices, FollowTheStartPointRule) {
    const struct {
        std::vector<double> ys;
        double xLeft, xRight;
        std::vector<PointPx> expected;
    } cases[] = {
        {{}, 0, 10, {}},
        {{50}, 0, 10, {}},                                 // a lone point draws nothing
        {{50, 80}, 0, 10, {{0, 50}, {10, 50}, {10, 20}}},  // one horizontal, one vertical
        {{50, 50}, 0, 10, {{0, 50}, {10, 50}}},            // equal sample: horizontal only
        {{50, 80, 80, 10}, 0, 10, {{0, 50}, {10, 50}, {10, 20}, {20, 20}, {30, 20}, {30, 90}}},
        // First = 2: the line starts at point 1, left of the view.
        {{0, 10, 20, 30}, 1.5, 10, {{10, 90}, {20, 90}, {20, 80}, {30, 80}, {30, 70}}},
        // Last = 2: the first point beyond the right edge ends the line.
        {{0, 10, 20, 30}, 0, 1.5, {{0, 100}, {10, 100}, {10, 90}, {20, 90}, {20, 80}}},
        {{0, 10, 20, 30}, 5, 10, {}},  // after the data
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Vertices(c.ys, c.xLeft, c.xRight), c.expected)
            << c.ys.size() << " points, view " << c.xLeft << ".." << c.xRight;
    }
}

TEST_F(ChartStairVertices, PointsOnOnePixelLeaveADotOrAVerticalRun) {
    bottom.DrawnMaximum = 1000;  // 0.1 px per point
    EXPECT_EQ(Vertices({50, 50, 50}, 0, 1000), (std::vector<PointPx>{{0, 50}, {0, 50}}));
    EXPECT_EQ(Vertices({50, 80, 20}, 0, 1000), (std::vector<PointPx>{{0, 50}, {0, 20}, {0, 80}}));
}

}  // namespace
