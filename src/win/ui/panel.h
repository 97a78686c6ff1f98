// A container with a one-pixel raised bevel and no caption.
#pragma once

#include "win/ui/control.h"
#include "win/ui/memory_picture.h"

namespace ui {

class Panel : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::Panel; }

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    MemoryPicture buffer_;
};

// Fills `rect` with `colour` and draws a one-pixel raised edge around it.
void DrawRaisedFrame(HDC dc, const RECT& rect, COLORREF colour);

}  // namespace ui
