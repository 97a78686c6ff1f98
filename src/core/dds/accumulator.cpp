#include "core/dds/accumulator.h"

#include <cmath>

#include "core/base/rounding.h"

namespace dds {

std::uint16_t IncrementFromValue(long double value) noexcept {
    if (!std::isfinite(value)) return 0;

    const long double magnitude = base::RoundHalfEven(std::fabs(value));
    // fmod is exact for floating values, so this is the true residue in
    // [0, 65536) of the integer `magnitude`, whatever its size.
    long double low = std::fmod(magnitude, 65536.0L);
    if (std::signbit(value) && low != 0.0L) low = 65536.0L - low;  // exact: both are small integers

    // 0 <= low < 65536 and integral: the conversion is in range.
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(low));
}

}  // namespace dds
