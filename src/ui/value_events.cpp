#include "ui/value_events.h"

#include "ui/accessible_object.h"

namespace ui {

void ValueEvents::Changed(HWND hwnd) noexcept {
    if (!hwnd) return;
    const base::EventThrottle::Decision d =
        throttle_.Changed(static_cast<std::int64_t>(GetTickCount64()));
    if (d.SendNow) {
        Send(hwnd);
    } else if (d.WaitMs > 0) {
        // The timer's procedure is called by the loop's dispatch of WM_TIMER, without the
        // window's own procedure; its id is this object, whose destructor stops it.
        if (SetTimer(hwnd, TimerId(), static_cast<UINT>(d.WaitMs), &ValueEvents::Expired)) {
            timerWindow_ = hwnd;
        } else {
            throttle_.Cancel();
            Send(hwnd);
        }
    }
}

void ValueEvents::Stop() noexcept {
    if (timerWindow_) KillTimer(timerWindow_, TimerId());
    timerWindow_ = nullptr;
    throttle_.Cancel();
}

void CALLBACK ValueEvents::Expired(HWND hwnd, UINT, UINT_PTR id, DWORD) noexcept {
    auto* self = reinterpret_cast<ValueEvents*>(id);
    KillTimer(hwnd, id);
    self->timerWindow_ = nullptr;
    if (self->throttle_.Expired(static_cast<std::int64_t>(GetTickCount64()))) self->Send(hwnd);
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
