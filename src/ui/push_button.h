#pragma once
#include <functional>

#include "ui/control.h"

namespace ui {

class PushButton : public Control {
public:
    std::function<void(Window& sender)> OnClick;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    std::optional<LRESULT> HandleReflected(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace ui
