// Coverage of the stepped line's stroke: the fast column-wise rasterizer
// against a direct sampling of every segment, and the stroke's shape.
#include "core/chart/stairs_raster.h"
#include "core/chart/visible_range.h"
#include "stair_scene.h"
#include "stairs_oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using chart::CoverageMask;
using chart::PointPx;
using chart::RectPx;

// Samples every pixel near every segment on the 8 x 8 grid and tests the
// exact distance to the segment: the stroke by its definition, one segment
// at a time, with no knowledge of columns or runs.
CoverageMask ReferenceMask(const std::vector<PointPx>& path, RectPx clip) {
    const int width = clip.Width();
    const int height = clip.Height();
    std::vector<std::uint64_t> samples(static_cast<std::size_t>(width * height), 0);
    for (std::size_t i = 1; i < path.size(); ++i) {
        // In 1/16 px: segment a-b, sample p, radius 24.
        const std::int64_t ax = path[i - 1].XPx * 16, ay = path[i - 1].YPx * 16;
        const std::int64_t bx = path[i].XPx * 16, by = path[i].YPx * 16;
        const std::int64_t dx = bx - ax, dy = by - ay;
        const std::int64_t lengthSquared = dx * dx + dy * dy;
        const int left = std::max(std::min(path[i - 1].XPx, path[i].XPx) - 2, clip.Left);
        const int right = std::min(std::max(path[i - 1].XPx, path[i].XPx) + 2, clip.Right - 1);
        const int top = std::max(std::min(path[i - 1].YPx, path[i].YPx) - 2, clip.Top);
        const int bottom = std::min(std::max(path[i - 1].YPx, path[i].YPx) + 2, clip.Bottom - 1);
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                std::uint64_t& mask =
                    samples[static_cast<std::size_t>((y - clip.Top) * width + x - clip.Left)];
                for (int k = 0; k < 64; ++k) {
                    const std::int64_t px = x * 16 + 2 * (k % 8) - 7 - ax;
                    const std::int64_t py = y * 16 + 2 * (k / 8) - 7 - ay;
                    const std::int64_t dot = px * dx + py * dy;
                    bool inside = false;
                    if (lengthSquared == 0 || dot <= 0) {
                        inside = px * px + py * py < 576;
                    } else if (dot >= lengthSquared) {
                        const std::int64_t qx = px - dx, qy = py - dy;
                        inside = qx * qx + qy * qy < 576;
                    } else {
                        const std::int64_t cross = px * dy - py * dx;
                        inside = cross * cross < 576 * lengthSquared;
                    }
                    if (inside) {
                        mask |= std::uint64_t{1} << k;
                    }
                }
            }
        }
    }
    CoverageMask mask;
    mask.ClipPx = clip;
    for (const std::uint64_t covered : samples) {
        mask.Alpha.push_back(static_cast<std::uint8_t>((std::popcount(covered) * 255 + 32) / 64));
    }
    return mask;
}

// Counts the pixels that differ, and reports the first few.
int CountDifferences(const CoverageMask& actual, const CoverageMask& expected) {
    EXPECT_EQ(actual.ClipPx, expected.ClipPx);
    EXPECT_EQ(actual.Alpha.size(), expected.Alpha.size());
    int differences = 0;
    const RectPx clip = expected.ClipPx;
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        for (int x = clip.Left; x < clip.Right; ++x) {
            if (actual.At(x, y) != expected.At(x, y) && ++differences <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << int{actual.At(x, y)}
                              << " instead of " << int{expected.At(x, y)};
            }
        }
    }
    return differences;
}

struct DenseCase {
    int points;
    int widthPx;
    int heightPx;
    double yMinimum;  // values drawn at random from yMinimum .. yMaximum on a 0..255 axis
    double yMaximum;
};

class ChartStairsRasterIdentity : public ::testing::TestWithParam<DenseCase> {};

// The stroke of the collapsed path, and of the raw path through the fast
// rasterizer, equal the stroke sampled segment by segment, pixel for pixel.
TEST_P(ChartStairsRasterIdentity, CollapsedColumnsGiveTheSamePicture) {
    const DenseCase c = GetParam();
    chart_test::StairScene scene({30, 5, 30 + c.widthPx, 5 + c.heightPx}, c.points - 1);
    std::mt19937 random(static_cast<unsigned>(c.points * 7919 + c.heightPx));
    std::uniform_real_distribution<double> value(c.yMinimum, c.yMaximum);
    for (int i = 0; i < c.points; ++i) {
        scene.Add(i % 17 == 3 && i > 0 ? scene.ys.back() : std::round(value(random)));
    }
    const std::vector<PointPx> raw = scene.Vertices(c.points);
    const std::vector<PointPx> collapsed = chart_test::CollapseColumns(raw);
    ASSERT_LE(collapsed.size(), 4u * static_cast<std::size_t>(c.widthPx));

    const RectPx clip = scene.Clip();
    const CoverageMask expected = ReferenceMask(raw, clip);
    int opaque = 0;
    for (const std::uint8_t alpha : expected.Alpha) {
        opaque += alpha == 255;
    }
    ASSERT_GT(opaque, c.widthPx);  // the picture is not trivially empty

    EXPECT_EQ(CountDifferences(chart_test::RasterizeStairs(collapsed, clip), expected), 0);
    EXPECT_EQ(CountDifferences(chart_test::RasterizeStairs(raw, clip), expected), 0);
}

INSTANTIATE_TEST_SUITE_P(
    , ChartStairsRasterIdentity,
    ::testing::Values(DenseCase{10000, 1000, 60, 0, 255},   // about ten points per column
                      DenseCase{3000, 997, 40, -40, 295},   // clipped at the top and bottom
                      DenseCase{30, 1000, 80, 0, 255},      // long horizontal runs
                      DenseCase{700, 1000, 50, 120, 135}),  // small steps, joins close together
    [](const ::testing::TestParamInfo<DenseCase>& param) {
        return std::to_string(param.param.points) + "PathOver" +
               std::to_string(param.param.widthPx) + "x" + std::to_string(param.param.heightPx);
    });

using Path = std::vector<PointPx>;

class ChartStairsRasterShape : public ::testing::Test {
protected:
    CoverageMask Raster(const Path& path) const { return chart_test::RasterizeStairs(path, clip); }

    const RectPx clip{0, 0, 60, 60};
};

TEST_F(ChartStairsRasterShape, HorizontalStrokeIsThreeOpaqueRowsWithRoundEnds) {
    const CoverageMask mask = Raster({{10, 30}, {40, 30}});
    for (int x = 10; x <= 40; ++x) {
        for (const int y : {29, 30, 31}) {
            const bool end = x == 10 || x == 40;  // the end disc leaves the corners open
            EXPECT_GE(mask.At(x, y), end && y != 30 ? 240 : 255) << x << "," << y;
        }
        for (const int y : {27, 28, 32, 33}) {
            EXPECT_EQ(mask.At(x, y), 0) << x << "," << y;
        }
    }
    // Round ends: partly covered beside the end points, nothing two pixels out.
    for (const auto& [x, y] :
         {std::pair{9, 30}, std::pair{41, 30}, std::pair{9, 29}, std::pair{41, 31}}) {
        EXPECT_GT(mask.At(x, y), 0) << x << "," << y;
        EXPECT_LT(mask.At(x, y), 255) << x << "," << y;
    }
    EXPECT_GT(mask.At(9, 30), mask.At(9, 29));  // the end's middle is fuller than its corners
    EXPECT_EQ(mask.At(8, 30), 0);
    EXPECT_EQ(mask.At(42, 30), 0);
}

TEST_F(ChartStairsRasterShape, VerticalStrokeIsTheTransposedHorizontalOne) {
    const CoverageMask horizontal = Raster({{10, 30}, {40, 30}});
    const CoverageMask vertical = Raster({{30, 10}, {30, 40}});
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            ASSERT_EQ(vertical.At(x, y), horizontal.At(y, x)) << x << "," << y;
        }
    }
    EXPECT_EQ(vertical.At(30, 25), 255);
    EXPECT_EQ(vertical.At(33, 25), 0);
}

TEST_F(ChartStairsRasterShape, ZeroLengthSegmentIsARoundDot) {
    const CoverageMask mask = Raster({{20, 20}, {20, 20}});
    EXPECT_EQ(mask.At(20, 20), 255);
    int total = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            total += mask.At(x, y);
            if (std::abs(x - 20) > 1 || std::abs(y - 20) > 1) {
                EXPECT_EQ(mask.At(x, y), 0) << x << "," << y;
            }
        }
    }
    // Area of a disc of diameter 3: 7.07 px.
    EXPECT_NEAR(total / 255.0, 7.07, 0.15);
    EXPECT_EQ(mask.At(19, 20), mask.At(21, 20));
    EXPECT_EQ(mask.At(20, 19), mask.At(19, 20));
    EXPECT_EQ(mask.At(19, 19), mask.At(21, 21));
}

TEST_F(ChartStairsRasterShape, NothingForFewerThanTwoVertices) {
    for (const Path& path : {Path{}, Path{{5, 5}}}) {
        const CoverageMask mask = Raster(path);
        ASSERT_EQ(mask.Alpha.size(), 3600u);
        EXPECT_EQ(std::count(mask.Alpha.begin(), mask.Alpha.end(), 0), 3600);
    }
}

// The axes end on the plot's bottom edge line and its first row: value 0 lies on row 40,
// just below the plot, and keeps the two rows of its stroke inside the clip; 255 on row 10
// keeps all three.
TEST_F(ChartStairsRasterShape, LineOnThePlotsTopAndBottomEdgesIsCutOnlyBeyondTheClip) {
    const RectPx plot{10, 10, 50, 40};
    const RectPx lineClip = chart::StairsClipRect(plot);
    EXPECT_EQ(lineClip, (RectPx{10, 9, 50, 41}));
    const std::vector<PointPx> path = {{10, 40}, {30, 40}, {30, 10}, {49, 10}};
    const CoverageMask mask = chart_test::RasterizeStairs(path, lineClip);
    for (const int y : {39, 40}) {
        EXPECT_EQ(mask.At(20, y), 255) << y;
    }
    EXPECT_EQ(mask.At(20, 38), 0);
    for (const int y : {9, 10, 11}) {
        EXPECT_EQ(mask.At(40, y), 255) << y;
    }
}

TEST_F(ChartStairsRasterShape, VerticesFarOutsideTheClipAreCutCleanly) {
    const CoverageMask mask = Raster(
        {{-chart::kPxLimit, 30}, {chart::kPxLimit, 30}, {chart::kPxLimit, -chart::kPxLimit}});
    for (int x = 0; x < 60; ++x) {
        EXPECT_EQ(mask.At(x, 30), 255);
        EXPECT_EQ(mask.At(x, 28), 0);
    }
}

TEST_F(ChartStairsRasterShape, RefusesPathsThatAreNotStairs) {
    EXPECT_THROW(Raster({{0, 0}, {5, 5}}), std::invalid_argument);  // diagonal
    EXPECT_THROW(Raster({{5, 0}, {3, 0}}), std::invalid_argument);  // going back left
}

TEST(ChartCollapseColumns, KeepsFirstLowestHighestAndLastOfEachColumn) {
    const auto pairs = [](const Path& points) {
        std::vector<std::pair<int, int>> out;
        for (const PointPx& p : points) {
            out.emplace_back(p.XPx, p.YPx);
        }
        return out;
    };
    const struct {
        Path path;
        Path collapsed;
    } cases[] = {
        {{}, {}},
        {{{5, 5}}, {{5, 5}}},
        {{{0, 50}, {10, 50}, {10, 20}}, {{0, 50}, {10, 50}, {10, 20}}},
        {{{0, 50}, {0, 70}, {0, 10}, {0, 40}, {0, 30}, {3, 30}},
         {{0, 50}, {0, 10}, {0, 70}, {0, 30}, {3, 30}}},
        {{{4, 4}, {4, 4}, {4, 4}}, {{4, 4}, {4, 4}}},
        {{{0, 50}, {0, 10}, {0, 70}}, {{0, 50}, {0, 10}, {0, 70}}},
        {{{0, 50}, {0, 70}, {0, 10}, {2, 10}}, {{0, 50}, {0, 70}, {0, 10}, {2, 10}}},
        {{{0, 10}, {0, 70}, {0, 30}, {0, 40}}, {{0, 10}, {0, 70}, {0, 40}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pairs(chart_test::CollapseColumns(c.path)), pairs(c.collapsed));
    }
}

}  // namespace
