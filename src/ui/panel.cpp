#include "ui/panel.h"

#include "ui/fill.h"
namespace ui {

void DrawRaisedFrame(HDC dc, const RECT& rect, COLORREF colour) {
    FillSolid(dc, rect, colour);
    RECT edge = rect;
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
}

void Panel::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateOwn(L"phasebox.Panel",
              {.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
               .exStyle = WS_EX_CONTROLPARENT,
               .parent = parent,
               .rect = rect,
               .classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW});
}

void Panel::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(Handle(), &client);
    DrawRaisedFrame(dc, client, BackgroundColour());
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PaintScope paint(Handle());
            const layout::SizePx size = ClientSizePx();
            if (Design().doubleBuffered && buffer_.Ensure(paint.Dc(), size.width, size.height)) {
                Paint(buffer_.Dc());
                BitBlt(paint.Dc(), 0, 0, size.width, size.height, buffer_.Dc(), 0, 0, SRCCOPY);
            } else {
                Paint(paint.Dc());
            }
            return 0;
        }
        default:
            return Control::HandleMessage(msg, wp, lp);
    }
}

}  // namespace ui
