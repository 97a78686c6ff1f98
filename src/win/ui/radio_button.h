// A radio button of the group formed by its parent's radio buttons. OnClick fires only
// when it becomes checked (click, arrow keys, code), after the others are unchecked.
// Only the checked one is a tab stop.
#pragma once

#include <functional>

#include "win/ui/control.h"

namespace ui {

class RadioButton : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::RadioButton; }

    bool Checked() const noexcept { return checked_; }
    void SetChecked(bool checked);

    bool IsTabStop() const noexcept override { return checked_ && TabOrder() >= 0; }
    // The arrow keys move through the group and check the radio button they reach.
    KeyboardNeeds Keyboard() const noexcept override { return {.ArrowsMoveInGroup = true}; }
    void ArrivedByArrow() override { SetChecked(true); }

    std::function<void(Window& sender)> OnClick;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    std::optional<LRESULT> HandleReflected(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ShowState();
    bool checked_ = false;
};

}  // namespace ui
