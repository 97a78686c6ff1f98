// The increment rule against exact integer arithmetic on the long double's own bits:
// the 64-bit significand shifted by the exponent, rounded half to even, its low 16 bits
// taken in two's complement. Every canonical encoding is reached, infinities and NaNs
// included, and every one must give a result without undefined behaviour.
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "core/dds/accumulator.h"
#include "fuzz_support.h"

namespace {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the reference reads the x87 80-bit format");

struct Encoding {
    std::uint64_t Significand = 0;   // the integer bit explicit, as stored
    std::uint16_t SignExponent = 0;  // sign in bit 15, biased exponent below
};

long double Decode(const Encoding& e) {
    long double value = 0;
    static_assert(sizeof value >= 10);
    std::memcpy(&value, &e.Significand, 8);
    std::memcpy(reinterpret_cast<unsigned char*>(&value) + 8, &e.SignExponent, 2);
    return value;
}

// The rule by the bits: value = significand * 2^(exponent - 16383 - 63), exponent 1 for
// the denormals (biased exponent 0).
std::uint16_t ReferenceIncrement(const Encoding& e) {
    const int biased = e.SignExponent & 0x7FFF;
    if (biased == 0x7FFF) return 0;                             // infinities and NaNs
    const int shift = (biased == 0 ? 1 : biased) - 16383 - 63;  // weight of the lowest bit
    const std::uint64_t m = e.Significand;
    std::uint64_t low = 0;  // the rounded magnitude mod 2^16
    if (shift >= 16) {
        low = 0;
    } else if (shift >= 0) {
        low = (m << shift) & 0xFFFF;
    } else if (shift >= -64) {
        const int drop = -shift;
        const unsigned __int128 wide = m;
        const unsigned __int128 quotient = wide >> drop;
        const unsigned __int128 rest = wide - (quotient << drop);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (drop - 1);
        unsigned __int128 rounded = quotient;
        if (rest > half || (rest == half && (quotient & 1) != 0)) ++rounded;
        low = static_cast<std::uint64_t>(rounded & 0xFFFF);
    }  // else below one half: rounds to 0
    const bool negative = (e.SignExponent & 0x8000) != 0;
    if (negative && low != 0) low = 0x10000 - low;
    return static_cast<std::uint16_t>(low);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    while (data.remaining_bytes() > 0) {
        Encoding e;
        e.SignExponent = data.ConsumeIntegral<std::uint16_t>();
        switch (data.ConsumeIntegralInRange(0, 3)) {
            case 0:  // near the binades where rounding to an integer happens
                e.SignExponent = static_cast<std::uint16_t>(
                    (e.SignExponent & 0x8000) | (16383 + data.ConsumeIntegralInRange(-2, 80)));
                e.Significand = data.ConsumeIntegral<std::uint64_t>();
                break;
            case 1:  // halves and their neighbours: a few low bits around a single 1
                e.SignExponent = static_cast<std::uint16_t>(
                    (e.SignExponent & 0x8000) | (16383 + data.ConsumeIntegralInRange(0, 64)));
                e.Significand = (std::uint64_t{1} << data.ConsumeIntegralInRange(0, 63)) +
                                data.ConsumeIntegralInRange<std::uint64_t>(0, 3) -
                                data.ConsumeIntegralInRange<std::uint64_t>(0, 3);
                break;
            default:
                e.Significand = data.ConsumeIntegral<std::uint64_t>();
                break;
        }
        // Canonical: the explicit integer bit is set exactly when the exponent is not 0
        // (a NaN or infinity keeps it set too); no arithmetic makes the other patterns.
        if ((e.SignExponent & 0x7FFF) == 0) {
            e.Significand &= ~(std::uint64_t{1} << 63);
        } else {
            e.Significand |= std::uint64_t{1} << 63;
        }
        const long double value = Decode(e);
        const std::uint16_t expected = ReferenceIncrement(e);
        const std::uint16_t actual = dds::IncrementFromValue(value);
        if (actual != expected) {
            fuzz::Fail("IncrementFromValue gives " + std::to_string(actual) + " instead of " +
                       std::to_string(expected) + " for exponent " +
                       std::to_string(e.SignExponent) + ", significand " +
                       std::to_string(e.Significand));
        }
    }
    return 0;
}
