#include "core/base/event_throttle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using base::EventThrottle;

// A timeline of changes and timer expiries against one throttle of 250 ms.
struct Step {
    enum { Change, Expiry } kind;
    std::int64_t atMs;
    EventThrottle::Decision decision;  // for a change
    bool send;                         // for an expiry
};

TEST(EventThrottle, AtMostOneEventPerPeriodAndTheLastChangeAlwaysTold) {
    const std::vector<Step> steps = {
        {Step::Change, 1000, {.SendNow = true}, false},  // the first change goes out at once
        {Step::Change, 1010, {.WaitMs = 240}, false},    // within the period: wait for its end
        {Step::Change, 1020, {}, false},                 // gathered into that one
        {Step::Change, 1249, {}, false},
        {Step::Expiry, 1250, {}, true},                // the gathered event
        {Step::Expiry, 1260, {}, false},               // a late second expiry sends nothing
        {Step::Change, 1300, {.WaitMs = 200}, false},  // the period runs from the last event
        {Step::Expiry, 1500, {}, true},
        {Step::Change, 1750, {.SendNow = true}, false},  // exactly one period later: at once
        {Step::Change, 5000, {.SendNow = true}, false},  // after a quiet time: at once
    };
    EventThrottle throttle(250);
    for (const Step& s : steps) {
        if (s.kind == Step::Change) {
            const EventThrottle::Decision d = throttle.Changed(s.atMs);
            EXPECT_EQ(d.SendNow, s.decision.SendNow) << "change at " << s.atMs;
            EXPECT_EQ(d.WaitMs, s.decision.WaitMs) << "change at " << s.atMs;
        } else {
            EXPECT_EQ(throttle.Expired(s.atMs), s.send) << "expiry at " << s.atMs;
        }
    }
}

TEST(EventThrottle, ACancelledWaitStartsAfresh) {
    EventThrottle throttle(250);
    EXPECT_TRUE(throttle.Changed(0).SendNow);
    EXPECT_EQ(throttle.Changed(100).WaitMs, 150);
    EXPECT_TRUE(throttle.Waiting());
    throttle.Cancel();
    EXPECT_FALSE(throttle.Expired(250)) << "nothing waits any more";
    EXPECT_EQ(throttle.Changed(120).WaitMs, 130) << "a new change asks for a timer again";
}

}  // namespace
