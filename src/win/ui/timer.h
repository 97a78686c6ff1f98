// A window timer. Ticks come through the message loop after input and repaints, never
// more often than every 10 ms, and never pile up. Assigning Interval, Enabled or the
// handler a new value restarts the period; the same value does nothing; a disabled timer
// only stores its interval. A start that the platform refuses raises ui::Win32Error
// "Not enough timers available" (with the platform's reason when it gives one) after the
// new value is stored.
#pragma once

#include <windows.h>

#include <functional>

#include "win/ui/window.h"

namespace ui {

class Timer : public Window {
public:
    // Starts the platform timer; false when the platform has none left. A seam for tests.
    using Starter = std::function<bool(HWND window, UINT_PTR id, UINT intervalMs)>;

    Timer();

    unsigned Interval() const noexcept { return intervalMs_; }
    void SetInterval(unsigned intervalMs);
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    // Assigning the handler restarts the timer like a new Interval does.
    void SetOnTimer(std::function<void(Timer& sender)> handler);
    // Enables the timer with `intervalMs` and starts its period afresh, also when neither
    // changed (a repeat or a one-shot wait of the program's own). Raises like SetEnabled.
    void Restart(unsigned intervalMs);
    // Whether the platform timer is running now.
    bool Running() const noexcept { return running_; }

    void SetStarter(Starter starter) { starter_ = std::move(starter); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Update();
    void Halt() noexcept;

    unsigned intervalMs_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
    std::function<void(Timer&)> onTimer_;
    Starter starter_;
};

}  // namespace ui
