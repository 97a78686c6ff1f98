// Fixed text on its parent's background; lines separated by CR LF. A label sizes itself
// to its text: its top left corner is the designed one, its size that of the text in its
// font, so no font gives it too little room (the designed size is the text's at design).
#pragma once

#include "win/ui/control.h"

namespace ui {

class Label : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::Label; }

    // The size of the label's text in its font now.
    base::SizePx TextSizePx() const;
    // Shows `text` and takes its size, as at creation; the same text changes nothing.
    void SetCaption(std::u16string_view text);

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    void FontChanged() override;
};

}  // namespace ui
