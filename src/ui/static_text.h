#pragma once
// Text with a single border on its own background, centred horizontally and drawn from
// the top; repainted through an off-screen picture so frequent changes do not flicker.
#include <string>

#include "ui/control.h"

namespace ui {

class StaticText : public Control {
public:
    const std::u16string& Caption() const noexcept { return caption_; }
    void SetCaption(std::u16string caption);

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void FontChanged() override;

private:
    std::u16string caption_;
    OffscreenBitmap buffer_;
};

}  // namespace ui
