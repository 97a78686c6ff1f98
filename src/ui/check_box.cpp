#include "ui/check_box.h"

#include "ui/text.h"

namespace ui {

void CheckBox::CreateWindowFor(HWND parent, const RECT& rect) {
    const std::wstring text = ToWide(Design().text);
    // BS_CHECKBOX rather than the automatic kind: the state changes only through
    // SetChecked, so every change raises exactly one OnClick.
    CreateStandard(L"BUTTON",
                   {.text = text.c_str(),
                    .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_CHECKBOX,
                    .parent = parent,
                    .rect = rect});
    checked_ = Design().checked;
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
