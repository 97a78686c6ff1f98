#include "win/ui/static_text.h"

#include <oleacc.h>

#include "win/ui/buffered_paint.h"
#include "win/ui/fill.h"
#include "win/ui/text.h"

namespace ui {

void StaticText::CreateWindowFor(HWND parent, const RECT& rect) {
    caption_ = Design().Text;
    CreateOwn(L"phasebox.StaticText", {.Text = Wide(caption_),
                                       .Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER,
                                       .Parent = parent,
                                       .Rect = rect});
}

void StaticText::SetCaption(std::u16string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    SetWindowTextW(Handle(), Wide(caption_));
    InvalidateRect(Handle(), nullptr, FALSE);
    valueEvents_.Changed(Handle());
}

std::optional<AccessibleFacts> StaticText::Accessible() const {
    return AccessibleFacts{
        .Name = AccessibleName(), .Role = ROLE_SYSTEM_STATICTEXT, .Value = caption_};
}

void StaticText::FontChanged() {
    InvalidateRect(Handle(), nullptr, FALSE);
}

void StaticText::Draw(HDC dc, const RECT& client) const {
    FillSolid(dc, client, BackgroundColour());
    SelectGuard font(dc, Font());
    SetTextColor(dc, TextColour());
    SetBkMode(dc, TRANSPARENT);
    RECT area = client;
    DrawTextW(dc, Wide(caption_), static_cast<int>(caption_.size()), &area,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT StaticText::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(Font());
        case WM_PAINT:
            PaintBuffered(Handle(), &buffer_,
                          [this](HDC dc, const RECT& client) { Draw(dc, client); });
            return 0;
        default:
            return Control::HandleMessage(msg, wp, lp);
    }
}

}  // namespace ui
