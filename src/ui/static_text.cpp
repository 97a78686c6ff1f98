#include "ui/static_text.h"

#include "ui/fill.h"
#include "ui/text.h"

namespace ui {

void StaticText::CreateWindowFor(HWND parent, const RECT& rect) {
    caption_ = Design().text;
    CreateOwn(L"phasebox.StaticText", {.text = Wide(caption_),
                                       .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER,
                                       .parent = parent,
                                       .rect = rect});
}

void StaticText::SetCaption(std::u16string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    SetWindowTextW(Handle(), Wide(caption_));
    InvalidateRect(Handle(), nullptr, FALSE);
}

void StaticText::FontChanged() {
    InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT StaticText::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(Font());
        case WM_PAINT: {
            PaintScope paint(Handle());
            RECT client{};
            GetClientRect(Handle(), &client);
            if (!buffer_.Ensure(paint.Dc(), client.right, client.bottom)) return 0;
            HDC dc = buffer_.Dc();
            FillSolid(dc, client, BackgroundColour());
            SelectGuard font(dc, Font());
            SetTextColor(dc, TextColour());
            SetBkMode(dc, TRANSPARENT);
            DrawTextW(dc, Wide(caption_), static_cast<int>(caption_.size()), &client,
                      DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
            BitBlt(paint.Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
            return 0;
        }
        default:
            return Control::HandleMessage(msg, wp, lp);
    }
}

}  // namespace ui
