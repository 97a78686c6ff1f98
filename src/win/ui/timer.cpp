#include "win/ui/timer.h"

#include <algorithm>

#include "win/ui/win32_error.h"

namespace ui {
namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kShortestIntervalMs = USER_TIMER_MINIMUM;  // 10 ms

}  // namespace

Timer::Timer() {
    CreateOwn(L"phasebox.Timer", {.Parent = HWND_MESSAGE});
    starter_ = [](HWND window, UINT_PTR id, UINT ms) {
        return SetTimer(window, id, ms, nullptr) != 0;
    };
}

void Timer::SetInterval(unsigned intervalMs) {
    if (intervalMs == intervalMs_) return;
    intervalMs_ = intervalMs;
    Update();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
}

void Timer::SetOnTimer(std::function<void(Timer&)> handler) {
    onTimer_ = std::move(handler);
    Update();
}

void Timer::Restart(unsigned intervalMs) {
    intervalMs_ = intervalMs;
    enabled_ = true;
    Update();
}

void Timer::Halt() noexcept {
    if (running_) KillTimer(Handle(), kTimerId);
    running_ = false;
}

void Timer::Update() {
    Halt();
    if (!enabled_ || intervalMs_ == 0 || !onTimer_) return;
    SetLastError(0);
    if (!starter_(Handle(), kTimerId, std::max<UINT>(intervalMs_, kShortestIntervalMs))) {
        throw Win32Error::FromLastError("Not enough timers available");
    }
    running_ = true;
}

LRESULT Timer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kTimerId) {
        if (running_ && onTimer_) onTimer_(*this);
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace ui
