// The zoom drag's rubber band: an unfilled rectangle drawn with an inverting pen straight
// onto the visible chart, never into its off-screen picture. Drawing it a second time
// with the same corners restores every pixel, which is how it is erased.
#pragma once

#include <windows.h>

#include "core/chart/chart_mouse.h"

namespace chart {

inline constexpr int kRubberBandPenWidthPx = 3;
inline constexpr COLORREF kRubberBandColour = RGB(192, 192, 192);

// The pen colour (FFFFFF - B) XOR C0C0C0 for a background B: under the NOT-XOR mix a pixel
// of colour B becomes exactly kRubberBandColour.
constexpr COLORREF RubberBandPenColour(COLORREF background) noexcept {
    return (0xFFFFFF - (background & 0xFFFFFF)) ^ 0xC0C0C0;
}

// The pen's path runs through the pixels of both corners. With the pen 3 pixels wide,
// flat ends and mitred joins, GDI covers the frame one pixel to either side of the path:
// for a path from (l, t) to (r, b) with l < r and t < b, the columns l-1 .. r+1 and rows
// t-1 .. b+1 less the inside l+2 .. r-2, t+2 .. b-2; a path of no height or no width is a
// line 3 pixels thick that leaves out the pixel row or column of its far end (columns
// l .. r-1, or rows t .. b-1). Each pixel of the frame is mixed once per drawing.
RECT RubberBandPathRect(const ZoomOutline& outline) noexcept;

// Draws the outline onto `dc` (a window DC or the DC of a paint, whose clipping the
// drawing keeps) in R2_NOTXORPEN with the pen colour for `background`; the DC's mix mode,
// pen and brush are restored afterwards. False when the pen cannot be made.
bool DrawRubberBand(HDC dc, const ZoomOutline& outline, COLORREF background) noexcept;

}  // namespace chart
