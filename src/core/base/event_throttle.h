// Passes on at most one event per period for something that can change far more often
// (the chart takes 100 samples a second): a change after a quiet period goes out at
// once; the changes within a period are gathered into one event at its end, so the last
// change is always told.
#pragma once

#include <cstdint>

namespace base {

class EventThrottle {
public:
    explicit constexpr EventThrottle(std::int64_t periodMs) : periodMs_(periodMs) {}

    struct Decision {
        bool SendNow = false;
        // Above 0: the caller starts a timer for this long and calls Expired when it fires.
        std::int64_t WaitMs = 0;
        friend constexpr bool operator==(const Decision&, const Decision&) = default;
    };

    // Something changed at `nowMs` (a steady clock).
    Decision Changed(std::int64_t nowMs);
    // The timer of a decision fired at `nowMs`: whether to send the gathered event.
    bool Expired(std::int64_t nowMs);
    // Forgets a waiting event (its timer could not be started, or was stopped).
    void Cancel() noexcept { waiting_ = false; }

    bool Waiting() const noexcept { return waiting_; }

private:
    std::int64_t periodMs_;
    std::int64_t lastSentMs_ = 0;
    bool sentOnce_ = false;
    bool waiting_ = false;
};

}  // namespace base
