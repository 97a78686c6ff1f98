#pragma once
// The layout is designed at 120 pixels per inch and scaled to the monitor's density.
#include <cstdint>

namespace layout {

inline constexpr int kDesignDpi = 120;

struct RectPx {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int Right() const { return left + width; }
    constexpr int Bottom() const { return top + height; }
    friend constexpr bool operator==(const RectPx&, const RectPx&) = default;
};

// value * newDpi / oldDpi taken to the nearest integer, halves away from zero.
constexpr int ScaleValue(int value, int newDpi, int oldDpi) {
    const std::int64_t num = static_cast<std::int64_t>(value) * newDpi;
    std::int64_t q = num / oldDpi;
    const std::int64_t r = num % oldDpi;
    const std::int64_t twiceRest = 2 * (r < 0 ? -r : r);
    if (twiceRest >= (oldDpi < 0 ? -oldDpi : oldDpi)) q += (num < 0) != (oldDpi < 0) ? -1 : 1;
    return static_cast<int>(q);
}

// Scales the four edges, not the size, so that controls that touch stay touching.
constexpr RectPx ScaleRect(const RectPx& r, int newDpi, int oldDpi) {
    const int left = ScaleValue(r.left, newDpi, oldDpi);
    const int top = ScaleValue(r.top, newDpi, oldDpi);
    const int right = ScaleValue(r.Right(), newDpi, oldDpi);
    const int bottom = ScaleValue(r.Bottom(), newDpi, oldDpi);
    return {left, top, right - left, bottom - top};
}

// Below 30 pixels per inch the platform's answer is not believed and nothing is scaled.
constexpr bool ShouldRescale(int newDpi, int currentDpi) {
    return newDpi >= 30 && newDpi != currentDpi;
}

}  // namespace layout
