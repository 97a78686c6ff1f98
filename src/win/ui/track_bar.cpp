#include "win/ui/track_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "core/layout/scale.h"

namespace ui {

void TrackBar::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateStandard(TRACKBAR_CLASSW,
                   {.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TBS_HORZ |
                             TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH,
                    .Parent = parent,
                    .Rect = rect});
    const layout::RangeDesc& r = Design().Range;
    HWND h = Handle();
    SendMessageW(h, TBM_SETRANGEMAX, FALSE, r.Max);
    SendMessageW(h, TBM_SETRANGEMIN, FALSE, r.Min);
    SendMessageW(h, TBM_SETLINESIZE, 0, r.LineSize);
    SendMessageW(h, TBM_SETPAGESIZE, 0, r.PageSize);
    // Tick marks at every frequency-th position while there are at most 10000 of them.
    if ((r.Max - r.Min) / std::max(1, r.Frequency) <= 10000) {
        SendMessageW(h, TBM_SETTICFREQ, r.Frequency, 0);
    } else {
        SendMessageW(h, TBM_CLEARTICS, TRUE, 0);
    }
    SendMessageW(h, TBM_SETTHUMBLENGTH, thumbLengthPx_, 0);
    SendMessageW(h, TBM_SETPOS, TRUE, r.Position);
}

int TrackBar::Position() const noexcept {
    return static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
}
int TrackBar::Min() const noexcept {
    return static_cast<int>(SendMessageW(Handle(), TBM_GETRANGEMIN, 0, 0));
}
int TrackBar::Max() const noexcept {
    return static_cast<int>(SendMessageW(Handle(), TBM_GETRANGEMAX, 0, 0));
}

void TrackBar::SetPosition(int position) {
    position = std::clamp(position, Min(), Max());
    if (position == Position()) return;
    SendMessageW(Handle(), TBM_SETPOS, TRUE, position);
    if (OnChange) OnChange(*this);
}

void TrackBar::ScaleBy(int newDpi, int oldDpi) {
    thumbLengthPx_ = layout::ScaleValue(thumbLengthPx_, newDpi, oldDpi);
    SendMessageW(Handle(), TBM_SETTHUMBLENGTH, thumbLengthPx_, 0);
    Control::ScaleBy(newDpi, oldDpi);
}

std::optional<LRESULT> TrackBar::HandleReflected(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HSCROLL) {
        if (OnChange) OnChange(*this);
        return 0;
    }
    return Control::HandleReflected(msg, wp, lp);
}

}  // namespace ui
