#include "controls/tick_slider.h"

#include <algorithm>

namespace controls {

void TickSlider::CreateWindowFor(HWND parent, const RECT& rect) {
    const layout::RangeDesc& r = Design().range;
    min_ = r.min;
    max_ = r.max;
    position_ = std::clamp(r.position, min_, max_);
    CreateOwn(L"phasebox.TickSlider",
              {.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
               .parent = parent,
               .rect = rect});
}

void TickSlider::SetPosition(int position) {
    if (position == position_) return;
    position_ = std::clamp(position, min_, max_);
    InvalidateRect(Handle(), nullptr, FALSE);
    if (OnChange) OnChange(*this);
}

LRESULT TickSlider::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        ui::PaintScope paint(Handle());
        RECT client{};
        GetClientRect(Handle(), &client);
        FillRect(paint.Dc(), &client, BackgroundBrush());
        return 0;
    }
    return Control::HandleMessage(msg, wp, lp);
}

}  // namespace controls
