// The tuning-word edit box: a single-line text box that keeps its value only as text.
// Reading Value interprets the text afresh; writing it replaces the text; OnChange fires
// after every change of the text, whatever its cause, except while the window is built.
// Typed characters pass the box's key rule; pasting and cutting are not filtered.
#pragma once

#include <functional>
#include <string>

#include "core/controls/numeric_text.h"
#include "win/ui/control.h"

namespace controls {

class NumericEdit : public ui::Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::NumericEdit; }

    long double Value();
    void SetValue(long double value);

    std::u16string Text() const;
    // Replaces the text; raises OnChange when it differs from the current one.
    void SetText(const std::u16string& text);

    long double Min() const noexcept { return min_; }
    long double Max() const noexcept { return max_; }
    const NumberSymbols& Symbols() const noexcept { return symbols_; }

    std::function<void(ui::Window& sender)> OnChange;
    // Sounds for a refused character; the platform's default alert sound unless replaced.
    std::function<void()> Alert = [] { MessageBeep(MB_OK); };

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    std::optional<LRESULT> HandleReflected(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void RaiseChange();
    // The platform's edit control sees the character only when the key rule accepts it.
    LRESULT HandleTypedCharacter(WPARAM wp, LPARAM lp);

    long double min_ = 1;
    long double max_ = 65535;
    NumberSymbols symbols_{};
    bool settingText_ = false;
    bool mouseFocus_ = false;
    // Whether the last key pressed was the numeric keypad's decimal key.
    bool FDecimalPressed = false;
};

}  // namespace controls
