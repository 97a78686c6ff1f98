#include "win/ui/panel.h"

#include "win/ui/buffered_paint.h"
#include "win/ui/fill.h"

namespace ui {

void DrawRaisedFrame(HDC dc, const RECT& rect, COLORREF colour) {
    FillSolid(dc, rect, colour);
    RECT edge = rect;
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
}

void Panel::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateOwn(L"phasebox.Panel",
              {.Style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
               .ExStyle = WS_EX_CONTROLPARENT,
               .Parent = parent,
               .Rect = rect,
               .ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW});
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintBuffered(Handle(), Design().DoubleBuffered ? &buffer_ : nullptr,
                          [this](HDC dc, const RECT& client) {
                              DrawRaisedFrame(dc, client, BackgroundColour());
                          });
            return 0;
        default:
            return Control::HandleMessage(msg, wp, lp);
    }
}

}  // namespace ui
