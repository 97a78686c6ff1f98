#include "win/ui/combo_box.h"

#include "core/layout/scale.h"
#include "win/ui/text.h"

namespace ui {

void ComboBox::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateStandardControl(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                          parent, rect);
    droppedHeightPx_ = rect.bottom - rect.top;
}

void ComboBox::ScaleBy(int newDpi, int oldDpi) {
    Control::ScaleBy(newDpi, oldDpi);
    droppedHeightPx_ = layout::ScaleValue(droppedHeightPx_, newDpi, oldDpi);
    const base::RectPx bounds = BoundsPx();
    SetWindowPos(Handle(), nullptr, 0, 0, bounds.Width(), droppedHeightPx_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ComboBox::SetItems(std::span<const std::u16string> items) {
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::u16string& item : items) {
        SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item)));
    }
}

std::u16string ComboBox::Text() const {
    return ToU16(WindowText(Handle()));
}

void ComboBox::SetText(std::u16string_view text) {
    const std::wstring wide = ToWide(text);
    const LRESULT found = SendMessageW(Handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wide.c_str()));
    if (found != CB_ERR) {
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    } else {
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetWindowTextW(Handle(), wide.c_str());
    }
    typed_ = false;
}

bool ComboBox::DroppedDown() const noexcept {
    return SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

HWND ComboBox::Field() const noexcept {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(Handle(), &info) ? info.hwndItem : nullptr;
}

void ComboBox::Commit() {
    typed_ = false;
    if (OnCommit) OnCommit(*this);
}

std::optional<LRESULT> ComboBox::HandleReflected(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND) {
        switch (HIWORD(wp)) {
            case CBN_SELCHANGE: {
                // The field shows the picked item only after this notification: it is put
                // there first, so that the handler reads what was picked.
                const LRESULT index = SendMessageW(Handle(), CB_GETCURSEL, 0, 0);
                if (index == CB_ERR) return 0;
                const LRESULT length = SendMessageW(Handle(), CB_GETLBTEXTLEN, index, 0);
                if (length == CB_ERR) return 0;
                std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
                SendMessageW(Handle(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
                item.resize(static_cast<std::size_t>(length));
                SetWindowTextW(Handle(), item.c_str());
                Commit();
                return 0;
            }
            case CBN_EDITCHANGE:
                typed_ = true;
                return 0;
            case CBN_KILLFOCUS:
                if (typed_) Commit();
                return 0;
            default:
                break;
        }
    }
    return Control::HandleReflected(msg, wp, lp);
}

}  // namespace ui
