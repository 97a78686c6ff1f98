#include "win/ui/value_events.h"

#include <utility>

#include "win/ui/accessible_object.h"
#include "win/ui/win32_error.h"

namespace ui {

ValueEvents::ValueEvents(ValueText current) : current_(std::move(current)) {
    wait_.SetEnabled(false);
    wait_.SetOnTimer([this](Timer&) { Expired(); });
}

void ValueEvents::Changed(HWND hwnd) noexcept {
    if (!hwnd) return;
    const base::EventThrottle::Decision d =
        throttle_.Changed(static_cast<std::int64_t>(GetTickCount64()));
    if (d.SendNow) {
        Send(hwnd);
    } else if (d.WaitMs > 0) {
        try {
            wait_.Restart(static_cast<unsigned>(d.WaitMs));
            waiting_ = hwnd;
        } catch (const Win32Error&) {
            // No timer left: the change is told at once rather than never.
            wait_.SetEnabled(false);
            throttle_.Cancel();
            Send(hwnd);
        }
    }
}

void ValueEvents::Stop() noexcept {
    wait_.SetEnabled(false);
    waiting_ = nullptr;
    throttle_.Cancel();
}

void ValueEvents::Expired() noexcept {
    wait_.SetEnabled(false);
    HWND hwnd = std::exchange(waiting_, nullptr);
    if (hwnd && throttle_.Expired(static_cast<std::int64_t>(GetTickCount64()))) Send(hwnd);
}

void ValueEvents::Send(HWND hwnd) noexcept {
    try {
        std::u16string now = current_();
        if (toldOnce_ && now == told_) return;
        told_ = std::move(now);
        toldOnce_ = true;
    } catch (...) {
        // Without the text the change is told all the same.
    }
    NotifyValueChanged(hwnd);
}

}  // namespace ui
