#include "chart/chart_view.h"

#include <windowsx.h>

#include <vector>

#include "chart/stairs_raster.h"
#include "chart/visible_range.h"
#include "layout/scale.h"
#include "ui/text.h"

namespace chart {

namespace {

// The user's thousands and decimal separators; the defaults where the platform has none.
NumberSeparators UserSeparators() {
    NumberSeparators separators;
    wchar_t buffer[16]{};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 16) > 0) {
        separators.Thousands = ui::ToU16(buffer);
    }
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 16) > 0) {
        separators.Decimal = ui::ToU16(buffer);
    }
    return separators;
}

// What a drawing leaves in the chart's own axis: the range drawn and the pixel ends.
void StoreDrawn(Axis& axis, const Axis& drawn) {
    axis.DrawnMinimum = drawn.DrawnMinimum;
    axis.DrawnMaximum = drawn.DrawnMaximum;
    axis.AxisStartPx = drawn.AxisStartPx;
    axis.AxisEndPx = drawn.AxisEndPx;
}

int ValidLabel(int index, const AxisLabels& labels) {
    return index < static_cast<int>(labels.Labels.size()) ? index : -1;
}

}  // namespace

void ChartView::CreateWindowFor(HWND parent, const RECT& rect) {
    fonts_.Create(layout::kDesignDpi);  // the window is laid out for it until it is scaled
    separators_ = UserSeparators();
    surface_ = ProbeSurface();
    CreateOwn(L"phasebox.Chart", {.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                  .parent = parent,
                                  .rect = rect});
}

void ChartView::AddSeries(Series& series) {
    series_ = &series;
    series.OnRepaintRequest = [this] { RequestRepaint(); };
}

void ChartView::RequestRepaint() {
    if (drawing_) return;
    pictureValid_ = false;
    // One invalidation per paint: a step adds a point and asks again, up to 100 times a second.
    if (!invalidated_ && Handle()) invalidated_ = InvalidateRect(Handle(), nullptr, FALSE) != FALSE;
}

void ChartView::RequestFullRedraw() {
    if (drawing_) return;
    painter_.InvalidateStaticLayer();
    RequestRepaint();
}

void ChartView::ScaleBy(int newDpi, int oldDpi) {
    Control::ScaleBy(newDpi, oldDpi);
    fonts_.Create(newDpi);
    RequestFullRedraw();
}

void ChartView::SetDrawingSurface(Surface surface) {
    surface_ = surface;
    RequestRepaint();
}

void ChartView::Redraw() {
    struct DrawingScope {
        bool& flag;
        explicit DrawingScope(bool& f) : flag(f) { flag = true; }
        ~DrawingScope() { flag = false; }
    } scope(drawing_);
    ++redraws_;
    const layout::SizePx size = ClientSizePx();
    const int count = series_ ? series_->Count() : 0;
    layout_ =
        LayoutChart(size.width, size.height, BottomAxis, LeftAxis, count, fonts_, separators_);
    StoreDrawn(BottomAxis, layout_.Bottom);
    StoreDrawn(LeftAxis, layout_.Left);
    hovered_ = {ValidLabel(hovered_.Bottom, layout_.BottomLabels),
                ValidLabel(hovered_.Left, layout_.LeftLabels)};
    pictureValid_ = true;
    if (!painter_.UpdateStaticLayer(layout_, hovered_, size.width, size.height, fonts_)) {
        return;
    }
    std::vector<PointPx> vertices;
    if (series_) {
        const VisibleRange range = FindVisibleRange(series_->XValues(), layout_.Bottom.DrawnMinimum,
                                                    layout_.Bottom.DrawnMaximum);
        vertices = StairVertices(series_->XValues(), series_->YValues(), range, layout_.Bottom,
                                 layout_.Left);
    }
    painter_.ComposeLine(vertices, StairsClipRect(layout_.PlotRectPx), surface_);
}

void ChartView::Paint() {
    ui::PaintScope paint(Handle());
    invalidated_ = false;
    if (!pictureValid_) Redraw();
    const DibPicture& picture = painter_.Picture();
    if (!picture.Dc()) return;
    const RECT& area = paint.Area();
    BitBlt(paint.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
           picture.Dc(), area.left, area.top, SRCCOPY);
}

void ChartView::TrackHover(PointPx pointer) {
    SetHovered({HoveredLabelIndex(layout_.BottomLabels, pointer),
                HoveredLabelIndex(layout_.LeftLabels, pointer)});
}

void ChartView::SetHovered(HoveredLabels hovered) {
    if (hovered == hovered_) return;
    hovered_ = hovered;
    RequestRepaint();
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
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_MOUSEMOVE:
            if (!trackingLeave_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
                trackingLeave_ = TrackMouseEvent(&track) != FALSE;
            }
            TrackHover({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            break;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            SetHovered({});
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            SetFocus(Handle());
            break;
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

}  // namespace chart
