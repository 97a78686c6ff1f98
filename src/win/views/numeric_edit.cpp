#include "win/views/numeric_edit.h"

#include "core/controls/numeric_key_filter.h"
#include "win/ui/focus_navigator.h"
#include "win/ui/locale.h"
#include "win/ui/text.h"

namespace controls {

void NumericEdit::CreateWindowFor(HWND parent, const RECT& rect) {
    min_ = Design().Range.Min;
    max_ = Design().Range.Max;
    symbols_ = ui::UserNumberSymbols();
    // Built without raising OnChange: the designed value written in display form.
    const std::u16string text = FormatNumberText(Design().Range.Position, symbols_);
    CreateStandard(L"EDIT", {.Text = ui::Wide(text),
                             .Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP |
                                      ES_RIGHT | ES_AUTOHSCROLL,
                             .ExStyle = WS_EX_CLIENTEDGE,
                             .Parent = parent,
                             .Rect = rect});
    // The box takes text of any length: the platform's default limit of 32767 characters
    // would cut a long paste short. 0 asks for the platform's maximum.
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}

std::u16string NumericEdit::Text() const {
    return ui::ToU16(ui::WindowText(Handle()));
}

void NumericEdit::SetText(const std::u16string& text) {
    if (text == Text()) return;
    settingText_ = true;
    SetWindowTextW(Handle(), ui::Wide(text));
    settingText_ = false;
    RaiseChange();
}

void NumericEdit::RaiseChange() {
    if (OnChange) OnChange(*this);
}

long double NumericEdit::Value() {
    ValueReading reading = ReadValue(Text(), min_, symbols_);
    if (reading.NewText) SetText(*reading.NewText);
    return reading.Value;
}

void NumericEdit::SetValue(long double value) {
    if (auto text = WriteValue(Text(), value, symbols_)) SetText(*text);
}

std::optional<LRESULT> NumericEdit::HandleReflected(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
        if (!settingText_) RaiseChange();
        return 0;
    }
    if (msg == WM_CTLCOLOREDIT) return std::nullopt;  // the standard look of a text box
    return Control::HandleReflected(msg, wp, lp);
}

LRESULT NumericEdit::HandleTypedCharacter(WPARAM wp, LPARAM lp) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const KeyVerdict verdict = FilterTypedCharacter(static_cast<char16_t>(wp), FDecimalPressed,
                                                    Text(), {start, end - start}, symbols_);
    if (!verdict.Accepted) {
        if (Alert) Alert();
        return 0;
    }
    return Control::HandleMessage(WM_CHAR, verdict.Character, lp);
}

LRESULT NumericEdit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            mouseFocus_ = GetFocus() != Handle();
            break;
        case WM_SETFOCUS: {
            const LRESULT result = Control::HandleMessage(msg, wp, lp);
            // The focus coming back with the window's activation finds the text and the
            // selection as the user left them.
            if (ui::FocusArrivesWithinWindow(Handle(), reinterpret_cast<HWND>(wp))) {
                if (auto text = TextOnFocusArrival(Text(), symbols_)) SetText(*text);
                if (!mouseFocus_) SendMessageW(Handle(), EM_SETSEL, 0, -1);
            }
            mouseFocus_ = false;
            return result;
        }
        case WM_KILLFOCUS:
            // Only a move of the focus within the window corrects the range, not the window
            // losing activation to another program or being minimised.
            if (ui::FocusLeavesWithinWindow(Handle(), reinterpret_cast<HWND>(wp))) {
                if (auto text = TextOnFocusLeave(Text(), min_, max_, symbols_)) SetText(*text);
            }
            break;
        case WM_SETTINGCHANGE:
            // Text already in the box is not rewritten until its next formatting.
            symbols_ = ui::UserNumberSymbols();
            break;
        case WM_KEYDOWN:
            // TranslateMessage posts the key's characters right behind its key-down, so the
            // flag still describes their key when they arrive.
            FDecimalPressed = wp == VK_DECIMAL;
            break;
        case WM_SYSKEYDOWN:
            // Characters typed as Alt plus keypad digits are not the decimal key's.
            FDecimalPressed = false;
            break;
        case WM_CHAR:
            return HandleTypedCharacter(wp, lp);
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

}  // namespace controls
