#pragma once
// EVENT_OBJECT_VALUECHANGE for a control whose value can change far more often than
// anyone can listen (the chart and the byte displays change 100 times a second): at most
// one event per period, the last change of a period told at its end, and none when the
// value reads as it did at the last event.
#include <windows.h>

#include <functional>
#include <string>

#include "base/event_throttle.h"

namespace ui {

class ValueEvents {
public:
    // What assistive technology reads as the value now.
    using ValueText = std::function<std::u16string()>;
    static constexpr int kPeriodMs = 250;

    explicit ValueEvents(ValueText current) : current_(std::move(current)) {}
    ~ValueEvents() { Stop(); }
    ValueEvents(const ValueEvents&) = delete;
    ValueEvents& operator=(const ValueEvents&) = delete;

    // The value of `hwnd` may have changed.
    void Changed(HWND hwnd) noexcept;
    // No event is waiting any more (the window goes).
    void Stop() noexcept;

private:
    static void CALLBACK Expired(HWND hwnd, UINT msg, UINT_PTR id, DWORD timeMs) noexcept;
    void Send(HWND hwnd) noexcept;
    UINT_PTR TimerId() const noexcept { return reinterpret_cast<UINT_PTR>(this); }

    base::EventThrottle throttle_{kPeriodMs};
    ValueText current_;
    std::u16string told_;
    bool toldOnce_ = false;
    HWND timerWindow_ = nullptr;  // the window of the waiting event's timer
};

}  // namespace ui
