// Arithmetic of the 16-bit phase accumulator: one step, the two bytes shown
// to the user, and the rule that turns the edit box's value into the phase
// increment (tuning word).
#pragma once

#include <cstdint>

namespace dds {

// One step: (accumulator + increment) mod 65536; the carry out of bit 15 is dropped.
constexpr std::uint16_t Step(std::uint16_t accumulator, std::uint16_t increment) noexcept {
    return static_cast<std::uint16_t>(accumulator + increment);  // int sum <= 131070, then mod 2^16
}

// The table index: accumulator shr 8.
constexpr std::uint8_t HighByte(std::uint16_t accumulator) noexcept {
    return static_cast<std::uint8_t>(accumulator >> 8);
}

// The fractional phase: accumulator and 255.
constexpr std::uint8_t LowByte(std::uint16_t accumulator) noexcept {
    return static_cast<std::uint8_t>(accumulator & 0xFFu);
}

// The phase increment for the edit box's value: `value` rounded to the
// nearest integer, ties to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2), then the low 16 bits of that integer, two's complement for a
// negative one (-256 -> 65280, 70000 -> 4464, 65535.5 -> 65536 -> 0).
//
// Defined for every long double, with no undefined behaviour and no
// dependence on the floating-point rounding mode: values of any magnitude
// are reduced exactly (2^64 + 256 -> 256; a value of 2^16 or more whose
// lowest set bit is 2^16 or higher, such as 1e30 or the largest long double,
// gives 0).
//
// +infinity, -infinity and NaN give 0: they have no integer and no low bits,
// and an increment of 0 leaves the accumulator standing still, the most
// harmless thing the generator can do. (The edit box never reads as any of
// them; the rule is total so that no caller has to guard it.)
std::uint16_t IncrementFromValue(long double value) noexcept;

}  // namespace dds
