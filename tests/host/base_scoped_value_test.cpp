#include "core/base/scoped_value.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using base::ScopedValue;

TEST(ScopedValue, SetForTheScopeAndRestoredAtItsEnd) {
    bool scaling = false;
    {
        ScopedValue<bool> scope(scaling, true);
        EXPECT_TRUE(scaling);
    }
    EXPECT_FALSE(scaling);
}

TEST(ScopedValue, RestoredWhenTheScopeIsLeftByAnException) {
    bool scaling = false;
    const auto failingRebuild = [&scaling] {
        ScopedValue<bool> scope(scaling, true);
        throw std::runtime_error("Cannot create a font");
    };
    EXPECT_THROW(failingRebuild(), std::runtime_error);
    EXPECT_FALSE(scaling) << "a failure inside the scope must not leave the flag set";
}

// Nested scopes each put back what they found, not a fixed "off" value: an inner scope
// ending must not clear the outer one's setting.
TEST(ScopedValue, NestedScopesRestoreInTurn) {
    enum class Cause { Platform, Navigation, Return };
    Cause cause = Cause::Platform;
    {
        ScopedValue<Cause> outer(cause, Cause::Navigation);
        {
            ScopedValue<Cause> inner(cause, Cause::Return);
            EXPECT_EQ(cause, Cause::Return);
        }
        EXPECT_EQ(cause, Cause::Navigation);
    }
    EXPECT_EQ(cause, Cause::Platform);

    bool flag = true;  // already set when the scope begins
    { ScopedValue<bool> scope(flag, true); }
    EXPECT_TRUE(flag) << "a scope entered with the flag set leaves it set";
}

TEST(ScopedValue, MovesValuesThatCannotBeCopiedCheaply) {
    std::string text = "before";
    {
        ScopedValue<std::string> scope(text, std::string(100, 'x'));
        EXPECT_EQ(text.size(), 100u);
    }
    EXPECT_EQ(text, "before");
}

}  // namespace
