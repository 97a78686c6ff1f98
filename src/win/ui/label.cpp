#include "win/ui/label.h"

#include "win/ui/text.h"

namespace ui {

void Label::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateStandardControl(L"STATIC", SS_LEFT | SS_NOPREFIX, parent, rect);
}

base::SizePx Label::TextSizePx() const {
    const std::wstring text = WindowText(Handle());
    WindowDc dc(Handle());
    if (!dc.Get()) return {};
    SelectGuard font(dc.Get(), Font());
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS);
    return {extent.right - extent.left, extent.bottom - extent.top};
}

void Label::SetCaption(std::u16string_view text) {
    const std::wstring wide = ToWide(text);
    if (WindowText(Handle()) == wide) return;
    SetWindowTextW(Handle(), wide.c_str());
    Label::FontChanged();
    // The text was drawn at the old size (wrapped, or clipped); the resize repaints only
    // what it uncovered.
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Label::FontChanged() {
    Control::FontChanged();
    const base::SizePx size = TextSizePx();
    const base::RectPx bounds = BoundsPx();
    ResizeTo(base::RectPx::FromSize(bounds.Left, bounds.Top, size.Width, size.Height));
}

}  // namespace ui
