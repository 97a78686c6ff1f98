#include "dds/accumulator.h"

#include <cmath>

namespace dds {

namespace {

/// Rounds a finite, non-negative value to the nearest integer, ties to even.
/// Explicit instead of std::nearbyint so that the result does not depend on
/// the thread's floating-point rounding mode.
long double RoundHalfEven(long double magnitude) noexcept {
    const long double whole = std::floor(magnitude);
    // Exact: for a non-negative value the fraction is made of the value's own
    // low bits. Values of 2^63 and more are integral, so fraction is 0 and
    // whole + 1 below is only ever computed for whole < 2^63, where it is exact.
    const long double fraction = magnitude - whole;
    if (fraction > 0.5L) return whole + 1.0L;
    if (fraction < 0.5L) return whole;
    return std::fmod(whole, 2.0L) == 0.0L ? whole : whole + 1.0L;
}

}  // namespace

std::uint16_t AdderFromValue(long double value) noexcept {
    if (!std::isfinite(value)) return 0;

    const long double magnitude = RoundHalfEven(std::fabs(value));
    // fmod is exact for floating values, so this is the true residue in
    // [0, 65536) of the integer `magnitude`, whatever its size.
    long double low = std::fmod(magnitude, 65536.0L);
    if (std::signbit(value) && low != 0.0L) low = 65536.0L - low;  // exact: both are small integers

    // 0 <= low < 65536 and integral: the conversion is in range.
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(low));
}

}  // namespace dds
