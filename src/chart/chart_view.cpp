#include "chart/chart_view.h"

#include <windowsx.h>

#include <vector>

#include "chart/stairs_raster.h"
#include "chart/visible_range.h"
#include "layout/scale.h"
#include "ui/buffered_paint.h"
#include "ui/locale.h"

namespace chart {

namespace {

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
    symbols_ = ui::UserNumberSymbols();
    surface_ = ProbeSurface();
    CreateOwn(L"phasebox.Chart", {.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                  .Parent = parent,
                                  .Rect = rect});
}

void ChartView::AddSeries(Series& series) {
    series_ = &series;
    series.OnRepaintRequest = [this] { RequestRepaint(); };
}

void ChartView::RequestRepaint() {
    if (drawing_) return;
    valueEvents_.Changed(Handle());
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
        bool& Flag;
        explicit DrawingScope(bool& flag) : Flag(flag) { Flag = true; }
        ~DrawingScope() { Flag = false; }
    } scope(drawing_);
    ++redraws_;
    const base::SizePx size = ClientSizePx();
    const int count = series_ ? series_->Count() : 0;
    layout_ = LayoutChart(size.Width, size.Height, BottomAxis, LeftAxis, count, fonts_, symbols_);
    StoreDrawn(BottomAxis, layout_.Bottom);
    StoreDrawn(LeftAxis, layout_.Left);
    hovered_ = {ValidLabel(hovered_.Bottom, layout_.BottomLabels),
                ValidLabel(hovered_.Left, layout_.LeftLabels)};
    pictureValid_ = true;
    if (!painter_.UpdateStaticLayer(layout_, hovered_, size.Width, size.Height, fonts_)) {
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
    invalidated_ = false;
    if (!pictureValid_) Redraw();
    ui::PaintFrom(Handle(), painter_.Picture());
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
        case WM_SETTINGCHANGE:
            // A regional change may bring other separators: the labels are written anew.
            symbols_ = ui::UserNumberSymbols();
            RequestFullRedraw();
            break;
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
