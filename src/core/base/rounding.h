// The program's rounding rules, each written once. Every rule is exact and independent
// of the floating-point environment's rounding mode.
#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>

namespace base {

// The nearest integer, halves to the even neighbour: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2.
// Infinities and NaN come back as they are.
template <std::floating_point T>
T RoundHalfEven(T value) noexcept {
    const T below = std::floor(value);
    // Exact: the fraction is made of the value's own low bits. A value whose magnitude
    // is 2^(digits - 1) or more is integral, so below + 1 is only formed where it is exact.
    const T fraction = value - below;
    if (fraction > T(0.5)) return below + T(1);
    if (fraction < T(0.5)) return below;
    return std::fmod(below, T(2)) == T(0) ? below : below + T(1);
}

// The nearest integer, halves away from zero: 2.5 -> 3, -2.5 -> -3.
template <std::floating_point T>
T RoundHalfAwayFromZero(T value) noexcept {
    const T magnitude = std::fabs(value);
    const T below = std::floor(magnitude);
    const T rounded = magnitude - below >= T(0.5) ? below + T(1) : below;
    return std::copysign(rounded, value);
}

// Beyond this every caller clamps anyway; below it int arithmetic is exact.
inline constexpr int kRoundToIntLimit = 1 << 30;

// RoundHalfEven as an int, saturated to +-kRoundToIntLimit; NaN gives 0. Branch-light,
// for the per-point conversions of the chart's line.
inline int RoundHalfEvenToInt(double value) noexcept {
    if (value != value) return 0;
    constexpr double kLimit = kRoundToIntLimit;
    value = value < -kLimit ? -kLimit : (value > kLimit ? kLimit : value);
    const int truncated = static_cast<int>(value);
    const double fraction = value - truncated;  // exact, in (-1, 1)
    const int odd = truncated & 1;
    return truncated + int{fraction > 0.5} - int{fraction < -0.5} +
           (int{fraction == 0.5} - int{fraction == -0.5}) * odd;
}

// numerator / denominator taken to the nearest integer, halves away from zero; exact
// for every pair whose product fits (the layout's scaling of pixels by densities).
constexpr std::int64_t DivideRoundHalfAwayFromZero(std::int64_t numerator,
                                                   std::int64_t denominator) noexcept {
    std::int64_t quotient = numerator / denominator;
    const std::int64_t remainder = numerator % denominator;
    const std::int64_t twiceRest = 2 * (remainder < 0 ? -remainder : remainder);
    if (twiceRest >= (denominator < 0 ? -denominator : denominator)) {
        quotient += (numerator < 0) != (denominator < 0) ? -1 : 1;
    }
    return quotient;
}

}  // namespace base
