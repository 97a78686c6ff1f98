// Text with a single border on its own background, centred horizontally and drawn from
// the top; repainted through an off-screen picture so frequent changes do not flicker.
#pragma once

#include <string>

#include "win/ui/control.h"
#include "win/ui/memory_picture.h"
#include "win/ui/value_events.h"

namespace ui {

class StaticText : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::StaticText; }

    const std::u16string& Caption() const noexcept { return caption_; }
    void SetCaption(std::u16string caption);
    // Static text with the shown number as the value.
    std::optional<AccessibleFacts> Accessible() const override;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void FontChanged() override;

private:
    void Draw(HDC dc, const RECT& client) const;

    std::u16string caption_;
    MemoryPicture buffer_;
    ValueEvents valueEvents_{[this] { return caption_; }};
};

}  // namespace ui
