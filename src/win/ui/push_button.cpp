#include "win/ui/push_button.h"

namespace ui {

void PushButton::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateStandardControl(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, parent, rect);
}

std::optional<LRESULT> PushButton::HandleReflected(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        if (OnClick) OnClick(*this);
        return 0;
    }
    return Control::HandleReflected(msg, wp, lp);
}

}  // namespace ui
