// Filling a rectangle with one colour without making a brush: an opaque empty text
// output paints its rectangle in the background colour, which is then restored.
#pragma once

#include <windows.h>

#include "core/base/rect.h"
#include "win/ui/rect_conversion.h"

namespace ui {

inline void FillSolid(HDC dc, const RECT& rect, COLORREF colour) noexcept {
    const COLORREF previous = SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    if (previous != CLR_INVALID) SetBkColor(dc, previous);
}

inline void FillSolid(HDC dc, const base::RectPx& rect, COLORREF colour) noexcept {
    FillSolid(dc, ToRect(rect), colour);
}

}  // namespace ui
