#include "win/views/chart_view.h"

#include <windowsx.h>

#include "core/base/scoped_value.h"
#include "core/layout/scale.h"
#include "win/ui/buffered_paint.h"
#include "win/ui/locale.h"
#include "win/ui/rect_conversion.h"
#include "win/views/rubber_band.h"

namespace chart {

namespace {

// What a drawing leaves in the chart's own axis: the range drawn and the pixel ends.
void StoreDrawn(Axis& axis, const Axis& drawn) {
    axis.DrawnMinimum = drawn.DrawnMinimum;
    axis.DrawnMaximum = drawn.DrawnMaximum;
    axis.AxisStartPx = drawn.AxisStartPx;
    axis.AxisEndPx = drawn.AxisEndPx;
}

// Client coordinates of a mouse message; negative beyond the left or top edge while the
// pointer is captured.
PointPx PointOf(LPARAM lp) {
    return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
}

}  // namespace

void ChartView::CreateWindowFor(HWND parent, const RECT& rect) {
    fonts_.Create(layout::kDesignDpi);  // the window is laid out for it until it is scaled
    symbols_ = ui::UserNumberSymbols();
    surface_ = ProbeSurface();
    CreateOwn(L"phasebox.Chart", {.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                  .Parent = parent,
                                  .Rect = rect});
}

void ChartView::AddSeries(Series& series) {
    series_ = &series;
    series.OnRepaintRequest = [this] { RequestRepaint(); };
    // Another series' generations say nothing about what the picture shows.
    RequestFullRedraw();
}

// Nothing is invalidated yet: the paint finds out what changed and invalidates only that,
// so a paint is asked for with an empty update region (RDW_INTERNALPAINT).
void ChartView::RequestRepaint() {
    if (drawing_) return;
    valueEvents_.Changed(Handle());
    pictureValid_ = false;
    // One request per paint: a step adds a point and asks again, up to 100 times a second.
    if (!paintRequested_ && Handle()) {
        paintRequested_ = RedrawWindow(Handle(), nullptr, nullptr, RDW_INTERNALPAINT) != FALSE;
    }
}

void ChartView::RequestFullRedraw() {
    if (drawing_) return;
    painter_.InvalidateStaticLayer();
    RequestRepaint();
}

void ChartView::UndoZoom() {
    zoom_.UndoZoom(BottomAxis, LeftAxis);
    RequestRepaint();
}

void ChartView::ScaleBy(int newDpi, int oldDpi) {
    Control::ScaleBy(newDpi, oldDpi);
    fonts_.Create(newDpi);
    RequestFullRedraw();
}

ChartDrawStats ChartView::Stats() const noexcept {
    return {.Redraws = redraws_,
            .StaticRedraws = painter_.StaticRedrawCount(),
            .WholeLines = painter_.WholeLineCount(),
            .OutlineDraws = outlineDraws_};
}

void ChartView::SetDrawingSurface(Surface surface) {
    surface_ = surface;
    RequestRepaint();
}

RectPx ChartView::Redraw() {
    const base::ScopedValue<bool> drawing(drawing_, true);
    ++redraws_;
    const base::SizePx size = ClientSizePx();
    const int count = series_ ? series_->Count() : 0;
    layout_ = LayoutChart(size.Width, size.Height, BottomAxis, LeftAxis, count, fonts_, symbols_);
    StoreDrawn(BottomAxis, layout_.Bottom);
    StoreDrawn(LeftAxis, layout_.Left);
    // The labels may have changed under a pointer that stood still.
    hovered_ = HoveredAt(pointer_);
    pictureValid_ = true;
    return painter_.Update(
        {.Layout = layout_,
         .Hovered = hovered_,
         .WidthPx = size.Width,
         .HeightPx = size.Height,
         .Fonts = fonts_,
         .Line = {.LineSurface = surface_,
                  .XValues = series_ ? series_->XValues() : std::span<const double>{},
                  .YValues = series_ ? series_->YValues() : std::span<const double>{},
                  .SeriesGeneration = series_ ? series_->Generation() : 0}});
}

// What a redraw changed is invalidated before the paint begins, so that the paint copies
// it together with whatever else the platform found invalid.
//
// During a zoom drag the outline at the current corners goes on top of the copied
// picture. The copy and the outline share the paint's clipping, so every pixel that the
// copy refreshes gets the outline back and every other one still shows it: the screen
// holds the outline exactly once, and the next move's erase restores the picture.
void ChartView::Paint() {
    paintRequested_ = false;
    if (!pictureValid_) {
        const RECT changed = ui::ToRect(Redraw());
        if (!IsRectEmpty(&changed)) InvalidateRect(Handle(), &changed, FALSE);
    }
    ui::PaintScope paint(Handle());
    if (IsRectEmpty(&paint.Area())) return;
    painter_.Picture().CopyTo(paint.Dc(), paint.Area());
    if (const std::optional<ZoomOutline> outline = mouse_.OutlineShown()) {
        DrawOutline(paint.Dc(), *outline);
    }
}

HoveredLabels ChartView::HoveredAt(std::optional<PointPx> pointer) const {
    if (!pointer) return {};
    return {HoveredLabelIndex(layout_.BottomLabels, *pointer),
            HoveredLabelIndex(layout_.LeftLabels, *pointer)};
}

void ChartView::TrackHover(std::optional<PointPx> pointer) {
    pointer_ = pointer;
    SetHovered(HoveredAt(pointer));
}

void ChartView::SetHovered(HoveredLabels hovered) {
    if (hovered == hovered_) return;
    hovered_ = hovered;
    RequestRepaint();
}

void ChartView::Press(MouseButton button, LPARAM lp) {
    const HWND focus = GetFocus();
    const bool focusOnChartOrParent =
        focus != nullptr && (focus == Handle() || focus == GetParent(Handle()));
    const bool wasIdle = mouse_.Mode() == DragMode::Idle;
    const MouseEffects fx = mouse_.Press(button, PointOf(lp), focusOnChartOrParent, layout_);
    // One pen colour for the whole drag, so that every erase matches its drawing.
    if (wasIdle && mouse_.Mode() == DragMode::Zooming) {
        bandBackground_ = GetSysColor(COLOR_BTNFACE);
    }
    Apply(fx);
}

void ChartView::Release(MouseButton button, LPARAM lp) {
    Apply(mouse_.Release(button, PointOf(lp), zoom_, BottomAxis, LeftAxis));
}

void ChartView::MouseMoved(LPARAM lp) {
    mouseLeave_.Moved(Handle());
    // Labels are hovered only while no drag is in progress.
    if (mouse_.Mode() == DragMode::Idle) {
        TrackHover(PointOf(lp));
    } else {
        Apply(mouse_.Move(PointOf(lp), zoom_, BottomAxis, LeftAxis));
    }
}

// In the model's order. The outline goes straight onto the screen through a window DC:
// moving the rubber band redraws nothing.
void ChartView::Apply(const MouseEffects& fx) {
    if (fx.TakeFocus && (GetWindowLongW(Handle(), GWL_STYLE) & WS_TABSTOP) != 0) {
        SetFocus(Handle());
    }
    if (fx.EraseOutline || fx.DrawOutline) {
        const ui::WindowDc dc(Handle());
        if (fx.EraseOutline) DrawOutline(dc.Get(), *fx.EraseOutline);
        if (fx.DrawOutline) DrawOutline(dc.Get(), *fx.DrawOutline);
    }
    if (fx.Capture) SetCapture(Handle());
    // Releasing sends WM_CAPTURECHANGED at once; the model has ended the drag already.
    if (fx.ReleaseCapture && GetCapture() == Handle()) ReleaseCapture();
    if (fx.ArrowCursor) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (fx.Repaint) RequestRepaint();
}

void ChartView::DrawOutline(HDC dc, const ZoomOutline& outline) {
    ++outlineDraws_;
    DrawRubberBand(dc, outline, bandBackground_);
}

LRESULT ChartView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            RequestRepaint();
            break;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_SETTINGCHANGE:
            // A regional change may bring other separators: the labels are written anew.
            symbols_ = ui::UserNumberSymbols();
            RequestFullRedraw();
            break;
        case WM_SYSCOLORCHANGE:
            // The picture's background is the system's face colour.
            RequestFullRedraw();
            break;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (HandleExportKey(wp)) return 0;
            break;
        case WM_MOUSEMOVE:
            MouseMoved(lp);
            break;
        case WM_MOUSELEAVE:
            mouseLeave_.Left();
            TrackHover(std::nullopt);
            break;
        // The second press of a double click comes as a double-click message: a press too.
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            Press(MouseButton::Left, lp);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            Press(MouseButton::Right, lp);
            return 0;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            Press(MouseButton::Middle, lp);
            return 0;
        case WM_LBUTTONUP:
            Release(MouseButton::Left, lp);
            return 0;
        case WM_RBUTTONUP:
            Release(MouseButton::Right, lp);
            break;  // the platform turns it into WM_CONTEXTMENU, which nothing here takes
        case WM_MBUTTONUP:
            Release(MouseButton::Middle, lp);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lp) != Handle()) Apply(mouse_.CaptureLost());
            return 0;
        case WM_MOUSEWHEEL:
            // Handled here: the platform would otherwise hand the wheel on to the parent.
            if (zoom_.Wheel(GET_WHEEL_DELTA_WPARAM(wp), BottomAxis, LeftAxis) != 0) {
                RequestRepaint();
            }
            return 0;
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

}  // namespace chart
