#include "win/views/chart_painter.h"

#include "win/ui/gdiplus_include.h"

namespace chart {

namespace {

constexpr COLORREF kLabelColour = RGB(0, 0, 0);

base::Rgb RgbOf(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

void PutText(HDC dc, int xPx, int yPx, const std::u16string& text) {
    ExtTextOutW(dc, xPx, yPx, 0, nullptr, reinterpret_cast<const wchar_t*>(text.c_str()),
                static_cast<UINT>(text.size()), nullptr);
}

// The labels of one axis; the hovered one in bold, placed by its bold width.
void DrawLabels(HDC dc, const AxisLabels& labels, AxisOrientation orientation,
                const ChartLayout& layout, int hovered, const LabelFonts& fonts) {
    {
        ui::SelectGuard font(dc, fonts.Regular());
        for (std::size_t i = 0; i < labels.Labels.size(); ++i) {
            const AxisLabel& label = labels.Labels[i];
            if (static_cast<int>(i) == hovered || !label.TextShown) continue;
            PutText(dc, label.TextRect.Left, label.TextRect.Top, label.Text);
        }
    }
    if (hovered < 0 || hovered >= static_cast<int>(labels.Labels.size())) return;
    AxisLabels bold;
    bold.Labels.push_back(labels.Labels[static_cast<std::size_t>(hovered)]);
    AxisLabel& label = bold.Labels.front();
    label.WidthPx = fonts.BoldWidthPx(label.Text);
    PlaceLabelRects(bold, orientation, LabelEdgePx(orientation, layout.PlotRectPx),
                    fonts.HeightOfWPx(), layout.LabelBoundsPx);
    ui::SelectGuard font(dc, fonts.Bold());
    PutText(dc, label.TextRect.Left, label.TextRect.Top, label.Text);
}

}  // namespace

Surface ProbeSurface() noexcept {
    Gdiplus::GpSolidFill* brush = nullptr;
    if (Gdiplus::DllExports::GdipCreateSolidFill(0xFF000000, &brush) != Gdiplus::Ok || !brush) {
        return Surface::Aliased;
    }
    Gdiplus::DllExports::GdipDeleteBrush(brush);
    return Surface::AntiAliased;
}

RectPx ChartPainter::Update(const ChartScene& scene) {
    const bool sameSize =
        picture_.WidthPx() == scene.WidthPx && picture_.HeightPx() == scene.HeightPx;
    if (!picture_.Ensure(scene.WidthPx, scene.HeightPx)) {
        staticValid_ = false;
        return {0, 0, scene.WidthPx, scene.HeightPx};
    }
    const bool staticShown = staticValid_ && sameSize && StaticLayerShows(scene);
    // The pixels are written straight into the bitmap's rows: GDI's drawing must be done.
    GdiFlush();
    const RectPx changed =
        pixels_.Update({picture_.Row(0), picture_.WidthPx(), picture_.HeightPx()},
                       {.Layout = scene.Layout,
                        .Background = RgbOf(GetSysColor(COLOR_BTNFACE)),
                        .Line = scene.Line},
                       staticShown);
    if (!staticShown) DrawLabelTexts(scene);
    return changed;
}

bool ChartPainter::StaticLayerShows(const ChartScene& scene) const {
    return shownHovered_ == scene.Hovered && shownFonts_ == scene.Fonts.Generation() &&
           SameStaticContent(shownLayout_, scene.Layout);
}

// The texts stay out of the line's clip, where the pixels are the shapes' and the line's
// alone, so they may follow the line.
void ChartPainter::DrawLabelTexts(const ChartScene& scene) {
    const ChartLayout& layout = scene.Layout;
    HDC dc = picture_.Dc();
    const RectPx clip = StairsClipRect(layout.PlotRectPx);
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
    // No label overlaps a shape, so the texts can follow all of them.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelColour);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    DrawLabels(dc, layout.BottomLabels, AxisOrientation::Horizontal, layout, scene.Hovered.Bottom,
               scene.Fonts);
    DrawLabels(dc, layout.LeftLabels, AxisOrientation::Vertical, layout, scene.Hovered.Left,
               scene.Fonts);
    if (saved != 0) RestoreDC(dc, saved);
    GdiFlush();
    shownLayout_ = layout;
    shownHovered_ = scene.Hovered;
    shownFonts_ = scene.Fonts.Generation();
    staticValid_ = true;
}

}  // namespace chart
