// The chart's own line rasterizer against GDI+'s 3-pixel line with round joins and ends,
// drawn anti-aliased on the same pixel grid (pixel centres on whole coordinates).
//
// Tolerance: every pixel more than one pixel away (in x or y) from every vertex is equal
// within 2 of 255, that is the straight parts of the line are the same pixels; the ink
// (the sum of coverage) differs by at most 6 %. Only the pixels around the vertices, where
// round ends and joins are shaded, may differ more; their largest difference is printed.
// Wine's GDI+ does not shade the ends of lines (its coverage is 0 or 255 there, and its
// round end is cut a half pixel off centre), which is all the difference seen under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/chart/stairs_raster.h"
#include "stairs_oracle.h"
#include "win/ui/gdiplus_include.h"
#include "win/ui/memory_picture.h"

namespace {

using chart::PointPx;
using chart::RectPx;

// Coverage 0..255 of the line as GDI+ draws it in black on white.
std::vector<int> GdiPlusCoverage(const std::vector<PointPx>& path, RectPx clip) {
    ui::MemoryPicture picture;
    EXPECT_TRUE(picture.Ensure(clip.Width(), clip.Height()));
    for (int y = 0; y < clip.Height(); ++y) std::fill_n(picture.Row(y), clip.Width(), 0xFFFFFFu);
    {
        Gdiplus::Graphics g(picture.Dc());
        g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeNone);
        Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 0),
                         static_cast<Gdiplus::REAL>(chart::kLineWidthPx));
        pen.SetLineJoin(Gdiplus::LineJoinRound);
        pen.SetStartCap(Gdiplus::LineCapRound);
        pen.SetEndCap(Gdiplus::LineCapRound);
        std::vector<Gdiplus::Point> points;
        for (const PointPx& p : path) points.emplace_back(p.XPx - clip.Left, p.YPx - clip.Top);
        EXPECT_EQ(g.DrawLines(&pen, points.data(), static_cast<INT>(points.size())), Gdiplus::Ok);
    }
    GdiFlush();
    std::vector<int> coverage;
    for (int y = 0; y < clip.Height(); ++y) {
        for (int x = 0; x < clip.Width(); ++x) {
            coverage.push_back(255 - static_cast<int>(picture.Row(y)[x] & 0xFF));
        }
    }
    return coverage;
}

bool NearAVertex(const std::vector<PointPx>& path, int x, int y) {
    return std::any_of(path.begin(), path.end(), [x, y](const PointPx& v) {
        return std::abs(v.XPx - x) <= 1 && std::abs(v.YPx - y) <= 1;
    });
}

struct Shape {
    const char* name;
    std::vector<PointPx> path;
};

TEST(LineCoverage, MatchesGdiPlusWithinTheStatedTolerance) {
    const RectPx clip{10, 20, 60, 60};
    const Shape shapes[] = {
        {"a flat run", {{15, 30}, {40, 30}}},
        {"a step up", {{15, 50}, {25, 50}, {25, 38}, {40, 38}}},
        {"a step down", {{15, 38}, {25, 38}, {25, 50}, {40, 50}}},
        {"a zigzag of narrow steps",
         {{13, 25}, {16, 25}, {16, 40}, {19, 40}, {19, 25}, {22, 25}, {22, 40}, {25, 40}}},
        {"a lone vertical jump", {{30, 24}, {30, 55}}},
        {"a step of one pixel", {{15, 45}, {30, 45}, {30, 44}, {45, 44}}},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        const chart::CoverageMask ours = chart_test::RasterizeStairs(shape.path, clip);
        const std::vector<int> theirs = GdiPlusCoverage(shape.path, clip);
        ASSERT_EQ(ours.Alpha.size(), theirs.size());
        long inkOurs = 0;
        long inkTheirs = 0;
        int worstBody = 0;
        int worstEnd = 0;
        for (int y = clip.Top; y < clip.Bottom; ++y) {
            for (int x = clip.Left; x < clip.Right; ++x) {
                const std::size_t i =
                    static_cast<std::size_t>((y - clip.Top) * clip.Width() + (x - clip.Left));
                const int difference = std::abs(ours.Alpha[i] - theirs[i]);
                inkOurs += ours.Alpha[i];
                inkTheirs += theirs[i];
                int& worst = NearAVertex(shape.path, x, y) ? worstEnd : worstBody;
                worst = std::max(worst, difference);
            }
        }
        std::printf(
            "[ figures ] %-26s ink %ld vs GDI+ %ld, largest difference %d on the straight "
            "parts, %d at the vertices\n",
            shape.name, inkOurs, inkTheirs, worstBody, worstEnd);
        EXPECT_LE(worstBody, 2) << "the straight parts are the same pixels";
        ASSERT_GT(inkTheirs, 0);
        EXPECT_LE(std::abs(inkOurs - inkTheirs), inkTheirs * 6 / 100);
    }
}

}  // namespace
