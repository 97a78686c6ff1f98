// The chart's pixels: blending and composing one row of the line's coverage, filling the
// static layer's shapes in part, and the incremental redraw against a redraw from nothing
// over seeded random sequences of appends, clears, range, surface and size changes.
#include "core/chart/chart_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "picture_replay.h"

namespace {

using base::Rgb;
using chart::Fill;
using chart::PixelImage;
using chart::RectPx;
using chart::Surface;

constexpr std::uint32_t kLine = chart::kLineColour.Pixel();

TEST(ChartPictureBlend, MixesEachChannelRoundedToTheNearest) {
    struct Case {
        std::uint32_t under;
        std::uint32_t line;
        std::uint32_t alpha;
        std::uint32_t expected;
    };
    for (const Case c : {
             Case{0x102030, 0xF0E0D0, 0, 0x102030}, Case{0x102030, 0xF0E0D0, 255, 0xF0E0D0},
             Case{0x000000, 0xFFFFFF, 128, 0x808080},  // 128 * 255 / 255
             Case{0x000000, 0x0000FF, 1, 0x000001},    // 255 / 255: rounds to 1
             Case{0x0000FF, 0x000000, 1, 0x0000FE},
             Case{0xFF0000, 0x00FF00, 64, 0xBF4000},   // each channel apart: 191, 64, 0
             Case{0x000000, 0x000003, 85, 0x000001},   // 255 / 255 exactly
             Case{0x000000, 0x000001, 127, 0x000000},  // 127 / 255 rounds down
             Case{0x000000, 0x000001, 128, 0x000001},  // 128 / 255 rounds up
         }) {
        EXPECT_EQ(chart::Blend(c.under, c.line, c.alpha), c.expected)
            << std::hex << c.under << " under " << c.line << " at " << std::dec << c.alpha;
    }
}

// Rows long enough for the eight-at-once paths and their tails: each pixel as composing
// it alone gives.
TEST(ChartPictureComposeRow, EveryPixelAsItsOwnCoverageGives) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> partial(1, 254);
    for (const int count : {1, 7, 8, 9, 16, 23, 64, 67}) {
        for (const Surface surface : {Surface::AntiAliased, Surface::Aliased}) {
            // Blocks of eight untouched, fully covered, partly covered or mixed pixels.
            std::vector<std::uint8_t> alpha(static_cast<std::size_t>(count));
            int block = 0;
            for (std::size_t i = 0; i < alpha.size(); ++i) {
                if (i % 8 == 0) block = kind(random);
                const int k = block == 3 ? kind(random) % 3 : block;
                alpha[i] = static_cast<std::uint8_t>(k == 0 ? 0 : k == 1 ? 255 : partial(random));
            }
            std::vector<std::uint32_t> row(alpha.size());
            for (std::size_t i = 0; i < row.size(); ++i) {
                row[i] = 0x101010u * static_cast<std::uint32_t>(i % 16);
            }
            const std::vector<std::uint32_t> under = row;
            chart::ComposeRow(row.data(), alpha.data(), count, surface);
            for (std::size_t i = 0; i < row.size(); ++i) {
                const std::uint32_t a = alpha[i];
                std::uint32_t expected = under[i];
                if (surface == Surface::Aliased) {
                    if (a >= 128) expected = kLine;
                } else if (a > 0) {
                    expected = chart::Blend(under[i], kLine, a);
                }
                ASSERT_EQ(row[i], expected) << "pixel " << i << " of " << count << ", alpha " << a
                                            << (surface == Surface::Aliased ? ", aliased" : "");
            }
        }
    }
}

TEST(ChartPictureComposeRow, AliasedTakesHalfCoveredPixelsAndLeavesTheRest) {
    const std::array<std::uint8_t, 5> alpha = {0, 127, 128, 200, 255};
    std::array<std::uint32_t, 5> row = {1, 2, 3, 4, 5};
    chart::ComposeRow(row.data(), alpha.data(), 5, Surface::Aliased);
    EXPECT_EQ(row, (std::array<std::uint32_t, 5>{1, 2, kLine, kLine, kLine}));
}

// A chart of the given size showing 0..bottomMaximum and 0..255, holding 10 points.
chart::ChartLayout LaidOut(int widthPx, int heightPx, double bottomMaximum) {
    chart::Axis bottom;
    bottom.Maximum = bottomMaximum;
    chart::Axis left;
    left.Orientation = chart::AxisOrientation::Vertical;
    left.Maximum = 255;
    return chart::LayoutChart(widthPx, heightPx, bottom, left, 10, chart_test::FixedWidthMeasurer{},
                              {});
}

// Shapes filled one after the other over the whole picture, with no shortcut.
PixelImage PlainFill(const std::vector<Fill>& fills, int widthPx, int heightPx) {
    PixelImage image(widthPx, heightPx);
    const chart::PixelRows rows = image.Rows();
    for (const Fill& fill : fills) {
        const RectPx r = base::Intersection(fill.Rect, rows.Bounds());
        for (int y = r.Top; y < r.Bottom; ++y) {
            for (int x = r.Left; x < r.Right; ++x) rows.Row(y)[x] = fill.Colour.Pixel();
        }
    }
    return image;
}

// The static layer of a laid-out chart filled in random rectangles, with the plot's rows
// taken as alike (as the picture does), equals the shapes filled one by one; outside
// the rectangle nothing is written.
TEST(ChartPictureFillShapes, AnyAreaGetsWhatFillingEveryShapeGives) {
    constexpr int kWidthPx = 420;
    constexpr int kHeightPx = 260;
    const chart::ChartLayout layout = LaidOut(kWidthPx, kHeightPx, 256);
    const std::vector<Fill> fills =
        chart::StaticShapes(layout, kWidthPx, kHeightPx, base::Rgb{236, 233, 216});
    const PixelImage expected = PlainFill(fills, kWidthPx, kHeightPx);
    constexpr std::uint32_t kUntouched = 0xABCDEF;

    std::mt19937 random(11);
    std::uniform_int_distribution<int> x(-20, kWidthPx + 20);
    std::uniform_int_distribution<int> y(-20, kHeightPx + 20);
    std::vector<std::uint32_t> rowScratch;
    for (int i = 0; i < 120; ++i) {
        RectPx area{x(random), y(random), x(random), y(random)};
        if (area.Left > area.Right) std::swap(area.Left, area.Right);
        if (area.Top > area.Bottom) std::swap(area.Top, area.Bottom);
        if (i == 0) area = {0, 0, kWidthPx, kHeightPx};
        PixelImage image(kWidthPx, kHeightPx);
        const chart::PixelRows rows = image.Rows();
        for (int row = 0; row < kHeightPx; ++row) std::fill_n(rows.Row(row), kWidthPx, kUntouched);
        chart::FillShapes(rows, fills, area, {layout.PlotRectPx.Top, layout.PlotRectPx.Bottom},
                          rowScratch);
        for (int py = 0; py < kHeightPx; ++py) {
            for (int px = 0; px < kWidthPx; ++px) {
                const std::uint32_t want = area.Contains(px, py) ? expected.At(px, py) : kUntouched;
                ASSERT_EQ(image.At(px, py), want)
                    << "pixel (" << px << ", " << py << ") filling " << area.Left << "," << area.Top
                    << ".." << area.Right << "," << area.Bottom;
            }
        }
    }
}

// The axes end on the plot's right and bottom edge lines: the bottom axis's label there
// (0..30) would put its tick on the frame's column, the left axis's (at 0) its grid line
// on the bottom axis line. Both are left out; the left tick at 0 stays.
TEST(ChartPictureStaticShapes, MarksAtTheFarEndsLeaveTheFrameAndTheAxisLineWhole) {
    constexpr int kWidthPx = 400;
    constexpr int kHeightPx = 240;
    const chart::ChartLayout layout = LaidOut(kWidthPx, kHeightPx, 30);
    const RectPx plot = layout.PlotRectPx;
    ASSERT_EQ(layout.BottomLabels.Labels.front().TickPx, plot.Right);
    ASSERT_EQ(layout.LeftLabels.Labels.back().TickPx, plot.Bottom);
    const PixelImage image =
        PlainFill(chart::StaticShapes(layout, kWidthPx, kHeightPx, base::Rgb{236, 233, 216}),
                  kWidthPx, kHeightPx);
    constexpr std::uint32_t kShadow = base::Rgb{160, 160, 160}.Pixel();
    constexpr std::uint32_t kTick = base::Rgb{128, 128, 128}.Pixel();
    constexpr std::uint32_t kGrid = base::Rgb{192, 192, 192}.Pixel();
    for (int y = 1; y < kHeightPx; ++y) {
        ASSERT_EQ(image.At(kWidthPx - 1, y), kShadow) << "frame, row " << y;
    }
    for (int x = plot.Left - chart::kAxisLineWidthPx; x < plot.Right; ++x) {
        ASSERT_EQ(image.At(x, plot.Bottom), 0u) << "bottom axis line, column " << x;
    }
    EXPECT_EQ(image.At(plot.Left - chart::kAxisBandPx, plot.Bottom), kTick) << "tick at 0";
    // The other marks are drawn: a tick below the axis and a grid line across the plot.
    const chart::AxisLabel& inner = layout.BottomLabels.Labels[1];
    EXPECT_EQ(image.At(inner.TickPx, plot.Bottom + chart::kAxisBandPx - 1), kTick);
    EXPECT_EQ(image.At(inner.TickPx, plot.Top), kGrid);
    const chart::AxisLabel& top = layout.LeftLabels.Labels.front();
    EXPECT_EQ(image.At(plot.Left + 5, top.TickPx), kGrid);
}

// Every seed plays a sequence like the window's: mostly single appends, now and then a
// burst of appends, a clear, a zoom or scroll of either axis, the other surface, another
// size. After every redraw the kept picture equals one drawn from nothing and changed
// nothing outside the reported area.
TEST(ChartPictureIncremental, SeededSequencesMatchARedrawFromNothing) {
    int appendedOnly = 0;
    int wholeLines = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&random](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        chart_test::PictureReplay replay(pick(120, 360), pick(90, 220));
        replay.SetBottomRange(0, pick(0, 2) ? pick(10, 60) : 256);
        int level = pick(0, 255);
        for (int step = 0; step < 80; ++step) {
            const int what = pick(0, 99);
            std::string action;
            if (what < 50) {
                level = std::clamp(level + pick(-60, 60), -20, 275);
                replay.Append(level);
                action = "append";
            } else if (what < 60) {
                for (int n = pick(2, 80); n > 0; --n) replay.Append(pick(0, 255));
                action = "burst";
            } else if (what < 70) {
                replay.Clear();
                action = "clear";
            } else if (what < 77) {
                const int from = pick(-40, 200);
                replay.SetBottomRange(from, from + pick(0, 300));
                action = "bottom range";
            } else if (what < 83) {
                const double from = pick(-100, 200) / 4.0;
                replay.SetLeftRange(from, from + pick(0, 1200) / 4.0);
                action = "left range";
            } else if (what < 95) {
                replay.SetSurface(pick(0, 1) ? Surface::Aliased : Surface::AntiAliased);
                action = "surface";
            } else {
                replay.Resize(pick(30, 360), pick(20, 220));
                action = "size";
            }
            const int before = replay.Kept().WholeLineCount();
            const std::string fault = replay.RedrawAndCheck();
            ASSERT_EQ(fault, "") << "seed " << seed << ", step " << step << " (" << action << "), "
                                 << replay.Points().Count() << " points";
            if (replay.Kept().WholeLineCount() == before) {
                ++appendedOnly;
            } else {
                ++wholeLines;
            }
        }
    }
    // Both ways of redrawing were taken often, so both were compared.
    EXPECT_GT(appendedOnly, 500);
    EXPECT_GT(wholeLines, 500);
}

}  // namespace
