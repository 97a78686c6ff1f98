// A two-state check box. OnClick fires whenever the state changes: a click, Space while
// focused, or code assigning a new value; after the new state is in place.
#pragma once

#include <functional>

#include "win/ui/control.h"

namespace ui {

class CheckBox : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::CheckBox; }

    bool Checked() const noexcept { return checked_; }
    void SetChecked(bool checked);

    std::function<void(Window& sender)> OnClick;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    std::optional<LRESULT> HandleReflected(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool checked_ = false;
};

}  // namespace ui
