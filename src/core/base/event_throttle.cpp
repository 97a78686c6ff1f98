#include "core/base/event_throttle.h"

namespace base {

EventThrottle::Decision EventThrottle::Changed(std::int64_t nowMs) {
    if (waiting_) return {};  // gathered into the event at the end of the period
    if (!sentOnce_ || nowMs - lastSentMs_ >= periodMs_) {
        sentOnce_ = true;
        lastSentMs_ = nowMs;
        return {.SendNow = true};
    }
    waiting_ = true;
    return {.WaitMs = lastSentMs_ + periodMs_ - nowMs};
}

bool EventThrottle::Expired(std::int64_t nowMs) {
    if (!waiting_) return false;
    waiting_ = false;
    lastSentMs_ = nowMs;
    return true;
}

}  // namespace base
