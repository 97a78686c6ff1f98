// WM_MOUSELEAVE for one window: the platform is asked once per stay of the pointer, at its
// first move, and again after the pointer has left.
#pragma once

#include <windows.h>

namespace ui {

class MouseLeave {
public:
    // The pointer moved over `hwnd`.
    void Moved(HWND hwnd) noexcept {
        if (tracking_) return;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
    }
    // WM_MOUSELEAVE arrived.
    void Left() noexcept { tracking_ = false; }

private:
    bool tracking_ = false;
};

}  // namespace ui
