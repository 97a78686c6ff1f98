// The one rectangle type of the program: whole pixels, right and bottom exclusive as on
// the platform, so it holds the columns Left .. Right - 1 and rows Top .. Bottom - 1. The
// Win32 layer converts it to RECT at its edge (ui/rect_conversion.h).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

namespace base {

struct RectPx {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    // The rectangle of `width` x `height` pixels whose top left pixel is (left, top).
    static constexpr RectPx FromSize(int left, int top, int width, int height) noexcept {
        return {left, top, left + width, top + height};
    }

    constexpr int Width() const noexcept { return Right - Left; }
    constexpr int Height() const noexcept { return Bottom - Top; }
    constexpr bool Empty() const noexcept { return Right <= Left || Bottom <= Top; }
    // The pixel (x, y) lies inside.
    constexpr bool Contains(int x, int y) const noexcept {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }
    // (x, y) lies inside or on the right or bottom edge line: for hit tests whose bounds
    // are inclusive.
    constexpr bool ContainsInclusive(int x, int y) const noexcept {
        return x >= Left && x <= Right && y >= Top && y <= Bottom;
    }
    constexpr bool Covers(const RectPx& other) const noexcept {
        return other.Empty() || (other.Left >= Left && other.Top >= Top && other.Right <= Right &&
                                 other.Bottom <= Bottom);
    }
    friend constexpr bool operator==(const RectPx&, const RectPx&) = default;
};

// The pixels both hold; an empty rectangle {} when they share none.
constexpr RectPx Intersection(const RectPx& a, const RectPx& b) noexcept {
    const RectPx r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                   std::min(a.Bottom, b.Bottom)};
    return r.Empty() ? RectPx{} : r;
}

// The smallest rectangle that holds both; an empty one adds nothing.
constexpr RectPx Bounds(const RectPx& a, const RectPx& b) noexcept {
    if (a.Empty()) return b.Empty() ? RectPx{} : b;
    if (b.Empty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

// A width and a height in pixels.
struct SizePx {
    int Width = 0;
    int Height = 0;
    friend constexpr bool operator==(const SizePx&, const SizePx&) = default;
};

// Up to four disjoint rectangles.
struct RectPieces {
    std::array<RectPx, 4> Rects{};
    std::size_t Count = 0;

    constexpr const RectPx* begin() const noexcept { return Rects.data(); }
    constexpr const RectPx* end() const noexcept { return Rects.data() + Count; }
};

// The pixels of `a` that `b` does not hold, as disjoint rectangles: the full-width bands
// above and below `b`, then the parts left and right of it.
constexpr RectPieces Difference(const RectPx& a, const RectPx& b) noexcept {
    RectPieces pieces;
    const auto add = [&pieces](const RectPx& r) {
        if (!r.Empty()) pieces.Rects[pieces.Count++] = r;
    };
    if (a.Empty()) return pieces;
    const RectPx cut = Intersection(a, b);
    if (cut.Empty()) {
        add(a);
        return pieces;
    }
    add({a.Left, a.Top, a.Right, cut.Top});
    add({a.Left, cut.Bottom, a.Right, a.Bottom});
    add({a.Left, cut.Top, cut.Left, cut.Bottom});
    add({cut.Right, cut.Top, a.Right, cut.Bottom});
    return pieces;
}

}  // namespace base
