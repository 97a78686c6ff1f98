#include "win/views/rubber_band.h"

#include <algorithm>

#include "win/ui/handles.h"

namespace chart {

RECT RubberBandPathRect(const ZoomOutline& outline) noexcept {
    // Rectangle() runs its path from (left, top) to (right - 1, bottom - 1).
    return {std::min(outline.Start.XPx, outline.Corner.XPx),
            std::min(outline.Start.YPx, outline.Corner.YPx),
            std::max(outline.Start.XPx, outline.Corner.XPx) + 1,
            std::max(outline.Start.YPx, outline.Corner.YPx) + 1};
}

bool DrawRubberBand(HDC dc, const ZoomOutline& outline, COLORREF background) noexcept {
    const LOGBRUSH stroke{BS_SOLID, RubberBandPenColour(background), 0};
    ui::UniquePen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                                   kRubberBandPenWidthPx, &stroke, 0, nullptr));
    if (!pen) return false;
    ui::SelectGuard selectedPen(dc, pen.Get());
    ui::SelectGuard selectedBrush(dc, GetStockObject(NULL_BRUSH));
    const int previousMix = SetROP2(dc, R2_NOTXORPEN);
    const RECT path = RubberBandPathRect(outline);
    const bool drawn = Rectangle(dc, path.left, path.top, path.right, path.bottom) != FALSE;
    if (previousMix != 0) SetROP2(dc, previousMix);
    return drawn;
}

}  // namespace chart
