#include "win/ui/radio_button.h"

namespace ui {

void RadioButton::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateStandardControl(L"BUTTON", BS_RADIOBUTTON, parent, rect);
    checked_ = Design().Checked;
    ShowState();
}

void RadioButton::ShowState() {
    SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    style = checked_ ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowLongW(Handle(), GWL_STYLE, style);
}

void RadioButton::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    ShowState();
    if (!checked) return;
    if (Control* parent = Parent()) {
        for (Control* sibling : parent->Children()) {
            auto* radio = dynamic_cast<RadioButton*>(sibling);
            if (radio && radio != this) radio->SetChecked(false);
        }
    }
    UpdateWindow(Handle());
    if (OnClick) OnClick(*this);
}

std::optional<LRESULT> RadioButton::HandleReflected(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        SetChecked(true);
        return 0;
    }
    if (msg == WM_COMMAND && HIWORD(wp) == BN_DOUBLECLICKED) return 0;
    return Control::HandleReflected(msg, wp, lp);
}

}  // namespace ui
