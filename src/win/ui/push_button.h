// A push button; Enter clicks it while it has the focus. OnClick fires on every click.
#pragma once

#include <functional>

#include "win/ui/control.h"

namespace ui {

class PushButton : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::PushButton; }
    KeyboardNeeds Keyboard() const noexcept override { return {.EnterClicks = true}; }

    std::function<void(Window& sender)> OnClick;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    std::optional<LRESULT> HandleReflected(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace ui
