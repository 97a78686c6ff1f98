#include "ui/push_button.h"

#include "ui/text.h"

namespace ui {

void PushButton::CreateWindowFor(HWND parent, const RECT& rect) {
    const std::wstring text = ToWide(Design().text);
    CreateStandard(L"BUTTON",
                   {.text = text.c_str(),
                    .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON,
                    .parent = parent,
                    .rect = rect});
}

std::optional<LRESULT> PushButton::HandleReflected(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        if (OnClick) OnClick(*this);
        return 0;
    }
    return Control::HandleReflected(msg, wp, lp);
}

}  // namespace ui
