#include "core/layout/focus_order.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using layout::NextInGroup;
using layout::NextTabStop;

// Stops written as a string: 'o' can take the focus, 'x' cannot (disabled or hidden).
std::vector<bool> Stops(const std::string& pattern) {
    std::vector<bool> can;
    for (char c : pattern) can.push_back(c == 'o');
    return can;
}

TEST(NextTabStop, TabAndShiftTabThroughTheStops) {
    struct Case {
        const char* stops;
        std::optional<std::size_t> from;
        bool forward;
        std::optional<std::size_t> expected;
    };
    const Case cases[] = {
        {"oooo", 0, true, 1},
        {"oooo", 3, true, 0},   // wraps at the end
        {"oooo", 0, false, 3},  // and at the start, backwards
        {"oooo", 2, false, 1},
        {"oxoo", 0, true, 2},  // passes over a stop that cannot take the focus
        {"oxoo", 2, false, 0},
        {"xxox", 2, true, std::nullopt},  // never stays on the stop it starts from
        {"xxox", 2, false, std::nullopt},
        {"oxxx", 1, true, 0},  // from a stop that cannot take it (just disabled)
        {"xxxx", 0, true, std::nullopt},
        {"", std::nullopt, true, std::nullopt},
        // Nowhere to start from: the first (the last) stop that can take it, any of them.
        {"oooo", std::nullopt, true, 0},
        {"oooo", std::nullopt, false, 3},
        {"xoox", std::nullopt, true, 1},
        {"xoox", std::nullopt, false, 2},
        {"xxxo", std::nullopt, true, 3},
        {"oxxx", std::nullopt, false, 0},
        {"o", std::nullopt, true, 0},
        {"o", 0, true, std::nullopt},
        // A start beyond the stops counts as none.
        {"oo", 7, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stops) + (c.forward ? " forward" : " backward") + " from " +
                     (c.from ? std::to_string(*c.from) : "none"));
        const std::vector<bool> can = Stops(c.stops);
        std::vector<std::size_t> asked;
        const auto found = NextTabStop(can.size(), c.from, c.forward, [&](std::size_t i) {
            asked.push_back(i);
            return can.at(i);
        });
        EXPECT_EQ(found, c.expected);
        if (found) {
            EXPECT_EQ(asked.back(), *found) << "nothing is asked past the stop found";
        }
        for (std::size_t i : asked) {
            if (c.from) {
                EXPECT_NE(i, *c.from) << "the stop it starts from is not a candidate";
            }
        }
    }
}

TEST(NextInGroup, ArrowsWrapAroundTheGroup) {
    struct Case {
        std::size_t count, at;
        bool forward;
        std::size_t expected;
    };
    const Case cases[] = {
        {6, 0, true, 1},  {6, 5, true, 0}, {6, 0, false, 5},
        {6, 3, false, 2}, {1, 0, true, 0}, {1, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " at " << c.at << " forward " << c.forward);
        EXPECT_EQ(NextInGroup(c.count, c.at, c.forward), c.expected);
    }
}

}  // namespace
