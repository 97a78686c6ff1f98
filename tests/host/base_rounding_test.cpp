#include "core/base/rounding.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

namespace {

struct RoundCase {
    double value;
    double halfEven;
    double halfAway;
};

// Halves, near-halves, negatives, and values where the fraction is exactly represented
// only because the value is small (2^52 and above are integral).
constexpr RoundCase kRoundCases[] = {
    {0.0, 0.0, 0.0},
    {0.5, 0.0, 1.0},
    {1.5, 2.0, 2.0},
    {2.5, 2.0, 3.0},
    {3.5, 4.0, 4.0},
    {-0.5, -0.0, -1.0},
    {-1.5, -2.0, -2.0},
    {-2.5, -2.0, -3.0},
    {2.4999, 2.0, 2.0},
    {2.5001, 3.0, 3.0},
    {7.0, 7.0, 7.0},
    {-7.0, -7.0, -7.0},
    {1e15 + 0.5, 1e15, 1e15 + 1.0},
    {2.4999999999999996, 2.0, 2.0},
    {2.5000000000000004, 3.0, 3.0},
    {-2.5000000000000004, -3.0, -3.0},
    {4503599627370495.5, 4503599627370496.0, 4503599627370496.0},  // 2^52 - 0.5
    {4503599627370497.0, 4503599627370497.0, 4503599627370497.0},
    {1e300, 1e300, 1e300},
};

TEST(Rounding, HalfEvenAndHalfAwayFromZeroTable) {
    for (const RoundCase& c : kRoundCases) {
        EXPECT_EQ(base::RoundHalfEven(c.value), c.halfEven) << c.value;
        EXPECT_EQ(base::RoundHalfAwayFromZero(c.value), c.halfAway) << c.value;
        EXPECT_EQ(base::RoundHalfEven(static_cast<long double>(c.value)),
                  static_cast<long double>(c.halfEven))
            << c.value;
    }
}

TEST(Rounding, DoesNotDependOnTheRoundingMode) {
    for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        ASSERT_EQ(std::fesetround(mode), 0);
        for (const RoundCase& c : kRoundCases) {
            EXPECT_EQ(base::RoundHalfEven(c.value), c.halfEven) << c.value << " mode " << mode;
            EXPECT_EQ(base::RoundHalfAwayFromZero(c.value), c.halfAway) << c.value;
            EXPECT_EQ(base::RoundHalfEvenToInt(c.value),
                      static_cast<int>(std::fmin(std::fmax(c.halfEven, -(1 << 30)), 1 << 30)))
                << c.value;
        }
    }
    std::fesetround(FE_TONEAREST);
}

TEST(Rounding, LongDoubleHalvesBeyondDoublePrecision) {
    // 2^60 + 0.5 is not a double but is a long double on x86 (64-bit mantissa).
    if (std::numeric_limits<long double>::digits < 64) GTEST_SKIP() << "no extended precision";
    const long double big = 1152921504606846976.0L;  // 2^60
    EXPECT_EQ(base::RoundHalfEven(big + 0.5L), big);
    EXPECT_EQ(base::RoundHalfEven(big + 1.5L), big + 2.0L);
    EXPECT_EQ(base::RoundHalfAwayFromZero(-(big + 0.5L)), -(big + 1.0L));
}

TEST(Rounding, NonFiniteValuesPassThrough) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(base::RoundHalfEven(inf), inf);
    EXPECT_EQ(base::RoundHalfAwayFromZero(-inf), -inf);
    EXPECT_TRUE(std::isnan(base::RoundHalfEven(std::nan(""))));
    EXPECT_EQ(base::RoundHalfEvenToInt(std::nan("")), 0);
    EXPECT_EQ(base::RoundHalfEvenToInt(inf), base::kRoundToIntLimit);
    EXPECT_EQ(base::RoundHalfEvenToInt(-inf), -base::kRoundToIntLimit);
}

TEST(Rounding, IntegerDivisionHalvesAwayFromZero) {
    struct Case {
        std::int64_t numerator, denominator, quotient;
    };
    constexpr Case kCases[] = {
        {1177 * 96, 120, 942},  // 941.6
        {714 * 96, 120, 571},   // 571.2
        {15, 10, 2},           {25, 10, 3}, {-15, 10, -2}, {-25, 10, -3}, {15, -10, -2},
        {-15, -10, 2},         {14, 10, 1}, {-14, 10, -1}, {0, 7, 0},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(base::DivideRoundHalfAwayFromZero(c.numerator, c.denominator), c.quotient)
            << c.numerator << " / " << c.denominator;
    }
    static_assert(base::DivideRoundHalfAwayFromZero(5, 2) == 3);
}

}  // namespace
