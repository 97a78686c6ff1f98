#pragma once
// Fixed text on its parent's background; lines separated by CR LF.
#include "ui/control.h"

namespace ui {

class Label : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::Label; }

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
};

}  // namespace ui
