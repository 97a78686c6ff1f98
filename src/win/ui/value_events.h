// EVENT_OBJECT_VALUECHANGE for a control whose value can change far more often than
// anyone can listen (the chart and the byte displays change 100 times a second): at most
// one event per period, the last change of a period told at its end, and none when the
// value reads as it did at the last event.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/base/event_throttle.h"
#include "win/ui/timer.h"

namespace ui {

class ValueEvents {
public:
    // What assistive technology reads as the value now.
    using ValueText = std::function<std::u16string()>;
    static constexpr int kPeriodMs = 250;

    explicit ValueEvents(ValueText current);
    ValueEvents(const ValueEvents&) = delete;
    ValueEvents& operator=(const ValueEvents&) = delete;

    // The value of `hwnd` may have changed.
    void Changed(HWND hwnd) noexcept;
    // No event is waiting any more (the window goes).
    void Stop() noexcept;

    // The timer that ends a period with a waiting event; a seam for tests (its starter).
    Timer& WaitTimer() noexcept { return wait_; }

private:
    void Expired() noexcept;
    void Send(HWND hwnd) noexcept;

    base::EventThrottle throttle_{kPeriodMs};
    ValueText current_;
    std::u16string told_;
    bool toldOnce_ = false;
    HWND waiting_ = nullptr;  // the window whose event waits for the period's end
    Timer wait_;              // one-shot: stopped at its first tick
};

}  // namespace ui
