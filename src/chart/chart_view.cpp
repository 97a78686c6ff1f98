#include "chart/chart_view.h"

#include "ui/panel.h"

namespace chart {

void ChartView::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateOwn(L"phasebox.Chart", {.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                   .parent = parent,
                                   .rect = rect});
}

void ChartView::AddSeries(Series& series) {
    series_ = &series;
    series.OnRepaintRequest = [this] { RequestRepaint(); };
}

void ChartView::RequestRepaint() {
    pictureValid_ = false;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void ChartView::Redraw(HDC dc, int width, int height) {
    ui::DrawRaisedFrame(dc, RECT{0, 0, width, height}, GetSysColor(COLOR_BTNFACE));
    pictureValid_ = true;
}

LRESULT ChartView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        RequestRepaint();
        break;
    case WM_PAINT: {
        ui::PaintScope paint(Handle());
        const layout::SizePx size = ClientSizePx();
        if (!picture_.Ensure(paint.Dc(), size.width, size.height)) return 0;
        if (!pictureValid_) Redraw(picture_.Dc(), size.width, size.height);
        BitBlt(paint.Dc(), 0, 0, size.width, size.height, picture_.Dc(), 0, 0, SRCCOPY);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
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
