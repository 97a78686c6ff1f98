#include "win/ui/check_box.h"

namespace ui {

void CheckBox::CreateWindowFor(HWND parent, const RECT& rect) {
    // BS_CHECKBOX rather than the automatic kind: the state changes only through
    // SetChecked, so every change raises exactly one OnClick.
    CreateStandardControl(L"BUTTON", WS_TABSTOP | BS_CHECKBOX, parent, rect);
    checked_ = Design().Checked;
    SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
    UpdateWindow(Handle());
    if (OnClick) OnClick(*this);
}

std::optional<LRESULT> CheckBox::HandleReflected(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && (HIWORD(wp) == BN_CLICKED || HIWORD(wp) == BN_DOUBLECLICKED)) {
        SetChecked(!checked_);
        return 0;
    }
    return Control::HandleReflected(msg, wp, lp);
}

}  // namespace ui
