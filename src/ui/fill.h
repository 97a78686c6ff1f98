#pragma once
// Filling a rectangle with one colour without making a brush: an opaque empty text
// output paints its rectangle in the background colour.
#include <windows.h>

namespace ui {

inline void FillSolid(HDC dc, const RECT& rect, COLORREF colour) noexcept {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

}  // namespace ui
