#include "core/base/rect.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using base::RectPx;

// Counts, per pixel of a small field, how many of `pieces` hold it.
std::vector<int> Coverage(const std::vector<RectPx>& pieces, int size) {
    std::vector<int> count(static_cast<std::size_t>(size * size), 0);
    for (const RectPx& r : pieces) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (r.Contains(x, y)) ++count[static_cast<std::size_t>(y * size + x)];
            }
        }
    }
    return count;
}

TEST(Rect, SizeContainmentAndEdges) {
    const RectPx r = RectPx::FromSize(2, 3, 4, 5);
    EXPECT_EQ(r, (RectPx{2, 3, 6, 8}));
    EXPECT_EQ(r.Width(), 4);
    EXPECT_EQ(r.Height(), 5);
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_TRUE(r.Contains(5, 7));
    EXPECT_FALSE(r.Contains(6, 7));  // right edge excluded
    EXPECT_FALSE(r.Contains(5, 8));  // bottom edge excluded
    EXPECT_TRUE(r.ContainsInclusive(6, 8));
    EXPECT_FALSE(r.ContainsInclusive(7, 8));
    EXPECT_TRUE((RectPx{5, 5, 5, 9}).Empty());
    EXPECT_TRUE(r.Covers({3, 4, 6, 8}));
    EXPECT_FALSE(r.Covers({3, 4, 7, 8}));
    EXPECT_TRUE(r.Covers({}));
}

TEST(Rect, IntersectionAndBounds) {
    struct Case {
        RectPx a, b, both, bounds;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, {0, 0, 15, 15}},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {}, {0, 0, 20, 10}},  // touching: no shared pixel
        {{0, 0, 10, 10}, {2, 2, 4, 4}, {2, 2, 4, 4}, {0, 0, 10, 10}},
        {{0, 0, 10, 10}, {}, {}, {0, 0, 10, 10}},
        {{-5, -5, 0, 0}, {-10, -1, -4, 3}, {-5, -1, -4, 0}, {-10, -5, 0, 3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(base::Intersection(c.a, c.b), c.both);
        EXPECT_EQ(base::Intersection(c.b, c.a), c.both);
        EXPECT_EQ(base::Bounds(c.a, c.b), c.bounds);
    }
}

// Every pixel of a - b is held by exactly one piece, and no pixel of b or outside a is.
TEST(Rect, DifferenceCoversExactlyWhatIsLeft) {
    constexpr int kField = 12;
    const RectPx a{2, 2, 9, 9};
    std::vector<RectPx> others;
    for (int l = 0; l < kField; l += 3) {
        for (int t = 0; t < kField; t += 4) {
            for (int w : {0, 1, 4, 11}) {
                for (int h : {1, 3, 12}) others.push_back(RectPx::FromSize(l, t, w, h));
            }
        }
    }
    for (const RectPx& b : others) {
        const base::RectPieces pieces = base::Difference(a, b);
        const std::vector<int> count =
            Coverage(std::vector<RectPx>(pieces.begin(), pieces.end()), kField);
        for (int y = 0; y < kField; ++y) {
            for (int x = 0; x < kField; ++x) {
                const int expected = a.Contains(x, y) && !b.Contains(x, y) ? 1 : 0;
                ASSERT_EQ(count[static_cast<std::size_t>(y * kField + x)], expected)
                    << "b = " << b.Left << "," << b.Top << "," << b.Right << "," << b.Bottom
                    << " at " << x << "," << y;
            }
        }
        for (const RectPx& piece : pieces) EXPECT_FALSE(piece.Empty());
    }
    EXPECT_EQ(base::Difference({}, a).Count, 0u);
    EXPECT_EQ(base::Difference(a, a).Count, 0u);
}

}  // namespace
