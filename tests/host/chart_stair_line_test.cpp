// Parts of the stepped line: the part that reaches a band of columns has, inside that
// band, the whole line's coverage; appended points change no pixel outside the area they
// are given; the reused rasterizer gives what a fresh one gives.
#include "core/chart/stair_line.h"
#include "core/chart/stairs_raster.h"
#include "core/chart/visible_range.h"
#include "stair_scene.h"
#include "stair_vertices.h"
#include "stairs_oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using chart::CoverageMask;
using chart::PointPx;
using chart::RectPx;
using chart::RowSpan;
using chart::StairLine;

struct LineCase {
    const char* name;
    int points;
    double xMaximum;  // the bottom axis runs 0 .. xMaximum over the plot
    int widthPx;
    int heightPx;
    double yMinimum;  // values at random from yMinimum .. yMaximum on a 0 .. 255 axis
    double yMaximum;
    bool sine;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

// A plot of the case's size and a series of its `points` samples.
chart_test::StairScene SceneFor(const LineCase& c) {
    chart_test::StairScene scene({40, 3, 40 + c.widthPx, 3 + c.heightPx}, c.xMaximum);
    std::mt19937 random(static_cast<unsigned>(c.points * 31 + c.widthPx));
    std::uniform_real_distribution<double> value(c.yMinimum, c.yMaximum);
    for (int i = 0; i < c.points; ++i) {
        const double y = c.sine ? 127.5 + 127.5 * std::sin(i * 0.05) : value(random);
        scene.Add(i % 13 == 5 && i > 0 ? scene.ys.back() : std::round(y));
    }
    return scene;
}

// Pixels of `part` (a rectangle inside `whole`'s clip) whose alpha differs from `whole`'s.
int Differences(const CoverageMask& part, const CoverageMask& whole, const std::string& where) {
    int differences = 0;
    for (int y = part.ClipPx.Top; y < part.ClipPx.Bottom; ++y) {
        for (int x = part.ClipPx.Left; x < part.ClipPx.Right; ++x) {
            if (part.At(x, y) != whole.At(x, y) && ++differences <= 3) {
                ADD_FAILURE() << where << ": pixel (" << x << ", " << y << ") "
                              << int{part.At(x, y)} << " instead of " << int{whole.At(x, y)};
            }
        }
    }
    return differences;
}

class ChartStairLineParts : public ::testing::TestWithParam<LineCase> {};

// Bands of every width from 1 column to wider than the plot, at every offset the random
// draw gives, and the strips of a full redraw: the part's coverage in the band and its rows
// equals the whole line's, and the whole line covers nothing in the band outside the rows.
TEST_P(ChartStairLineParts, PartReachingABandHasTheWholeLinesCoverageThere) {
    const chart_test::StairScene scene = SceneFor(GetParam());
    const StairLine line = scene.Line(GetParam().points);
    const RectPx clip = scene.Clip();
    const CoverageMask whole = chart_test::RasterizeStairs(scene.Vertices(GetParam().points), clip);
    chart::StairsRasterizer rasterizer;
    std::vector<PointPx> part;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> column(clip.Left - 8, clip.Right + 8);
    std::uniform_int_distribution<int> width(1, 90);
    struct Band {
        int left;
        int right;
    };
    std::vector<Band> bands;
    for (int left = clip.Left; left < clip.Right; left += 64) bands.push_back({left, left + 64});
    for (int i = 0; i < 200; ++i) {
        const int left = column(random);
        bands.push_back({left, left + width(random)});
    }
    bands.push_back({clip.Left - 5, clip.Right + 5});
    for (const Band band : bands) {
        const RowSpan rows = line.PartReaching(band.left, band.right, part);
        const RectPx columns =
            base::Intersection({band.left, clip.Top, band.right, clip.Bottom}, clip);
        if (columns.Empty()) continue;
        const std::string where =
            "band " + std::to_string(band.left) + " .. " + std::to_string(band.right);
        const CoverageMask& inBand = rasterizer.Rasterize(part, columns);
        ASSERT_EQ(Differences(inBand, whole, where), 0);
        for (int y = columns.Top; y < columns.Bottom; ++y) {
            if (y >= rows.Top && y < rows.Bottom) continue;
            for (int x = columns.Left; x < columns.Right; ++x) {
                ASSERT_EQ(whole.At(x, y), 0)
                    << where << ": coverage at (" << x << ", " << y << ") outside the part's rows";
            }
        }
    }
}

// Points appended one to a few at a time: every pixel outside the area of the points
// added keeps its coverage, and the area holds every pixel that changed.
TEST_P(ChartStairLineParts, AppendedPointsChangeNothingOutsideTheirArea) {
    const LineCase c = GetParam();
    const chart_test::StairScene scene = SceneFor(c);
    const RectPx clip = scene.Clip();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> batch(1, 4);
    std::vector<PointPx> scratch;
    CoverageMask before = chart_test::RasterizeStairs(scene.Vertices(0), clip);
    chart::VisibleRange beforeRange;
    int changedSteps = 0;
    for (int count = 0; count < c.points;) {
        const int next = std::min(c.points, count + batch(random));
        const StairLine oldLine = scene.Line(count);
        const StairLine newLine = scene.Line(next);
        const RectPx area = base::Intersection(
            newLine.AppendedArea(oldLine.Drawn(), oldLine.LastIndex(), scratch), clip);
        const CoverageMask after = chart_test::RasterizeStairs(scene.Vertices(next), clip);
        int changed = 0;
        for (int y = clip.Top; y < clip.Bottom; ++y) {
            for (int x = clip.Left; x < clip.Right; ++x) {
                if (before.At(x, y) == after.At(x, y)) continue;
                ++changed;
                ASSERT_TRUE(area.Contains(x, y)) << "pixel (" << x << ", " << y
                                                 << ") changed outside the area at count " << next;
                ASSERT_GT(after.At(x, y), before.At(x, y)) << "appending only adds coverage";
            }
        }
        changedSteps += changed > 0;
        before = after;
        count = next;
    }
    EXPECT_GT(changedSteps, 1) << "the appends drew something";
}

INSTANTIATE_TEST_SUITE_P(
    , ChartStairLineParts,
    ::testing::Values(LineCase{"Dense", 3000, 2999, 700, 60, 0, 255, false},
                      LineCase{"Sparse", 60, 59, 700, 60, 0, 255, false},
                      LineCase{"BeyondTheRightEdgeAndClippedRows", 400, 256, 500, 50, -40, 295,
                               false},
                      LineCase{"Sine", 2000, 1999, 600, 80, 0, 0, true},
                      LineCase{"AllInOneColumn", 50, 1e6, 300, 40, 0, 255, false}),
    [](const ::testing::TestParamInfo<LineCase>& param) { return std::string(param.param.name); });

TEST(ChartStairLine, VerticesOfTheWholeLineAreStairVertices) {
    const chart_test::StairScene scene = SceneFor({"", 300, 299, 400, 50, 0, 255, false});
    const StairLine line = scene.Line(300);
    std::vector<PointPx> vertices;
    line.Vertices(line.StartIndex(), line.LastIndex(), true, vertices);
    EXPECT_EQ(vertices, scene.Vertices(300));
    line.Vertices(line.StartIndex(), line.LastIndex(), false, vertices);
    EXPECT_EQ(vertices.back().YPx, line.YPx(line.LastIndex() - 1)) << "ends with the hold";
    EXPECT_FALSE(scene.Line(1).Drawn()) << "a lone point draws nothing";
    EXPECT_TRUE(scene.Line(2).Drawn());
}

// One rasterizer for rectangles of changing size gives what a fresh one gives each time:
// nothing of an earlier, larger call is left in its working memory.
TEST(ChartStairsRasterizer, ReusedForRectanglesOfChangingSizeGivesWhatAFreshOneGives) {
    const chart_test::StairScene scene = SceneFor({"", 500, 499, 600, 70, 0, 255, false});
    const std::vector<PointPx> vertices = scene.Vertices(500);
    chart::StairsRasterizer reused;
    const RectPx clip = scene.Clip();
    for (const RectPx rect : {clip, RectPx{100, 10, 140, 30}, RectPx{300, 0, 310, 74}, clip,
                              RectPx{45, 40, 400, 41}, RectPx{0, 0, 0, 0}}) {
        const CoverageMask fresh = chart_test::RasterizeStairs(vertices, rect);
        const CoverageMask& again = reused.Rasterize(vertices, rect);
        EXPECT_EQ(again.ClipPx, fresh.ClipPx);
        EXPECT_EQ(again.Alpha, fresh.Alpha);
    }
}

}  // namespace
