// The layout is designed at 120 pixels per inch and scaled to the monitor's density.
#pragma once

#include <cstdint>

#include "core/base/rect.h"
#include "core/base/rounding.h"

namespace layout {

inline constexpr int kDesignDpi = 120;

// value * newDpi / oldDpi taken to the nearest integer, halves away from zero.
constexpr int ScaleValue(int value, int newDpi, int oldDpi) {
    return static_cast<int>(
        base::DivideRoundHalfAwayFromZero(static_cast<std::int64_t>(value) * newDpi, oldDpi));
}

// Scales the four edges, not the size, so that controls that touch stay touching.
constexpr base::RectPx ScaleRect(const base::RectPx& r, int newDpi, int oldDpi) {
    return {ScaleValue(r.Left, newDpi, oldDpi), ScaleValue(r.Top, newDpi, oldDpi),
            ScaleValue(r.Right, newDpi, oldDpi), ScaleValue(r.Bottom, newDpi, oldDpi)};
}

// Below 30 pixels per inch the platform's answer is not believed and nothing is scaled.
constexpr bool ShouldRescale(int newDpi, int currentDpi) {
    return newDpi >= 30 && newDpi != currentDpi;
}

}  // namespace layout
