// Phase accumulator arithmetic and the increment rule.
#include "core/dds/accumulator.h"
#include "core/dds/wave_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

using dds::HighByte;
using dds::IncrementFromValue;
using dds::LowByte;
using dds::Step;

static_assert(Step(65535, 1) == 0);
static_assert(HighByte(0x1234) == 0x12 && LowByte(0x1234) == 0x34);

// ---------------------------------------------------------------------------
// Step and bytes

TEST(Step, AddsModulo65536) {
    EXPECT_EQ(Step(0, 256), 256);
    EXPECT_EQ(Step(100, 256), 356);
    EXPECT_EQ(Step(65535, 1), 0);
    EXPECT_EQ(Step(0, 65535), 65535);
    EXPECT_EQ(Step(65535, 65535), 65534);
    EXPECT_EQ(Step(32768, 32768), 0);
    EXPECT_EQ(Step(40000, 30000), 4464);
}

TEST(Bytes, HighIsTheTableIndexLowTheFraction) {
    EXPECT_EQ(HighByte(0), 0);
    EXPECT_EQ(LowByte(0), 0);
    EXPECT_EQ(HighByte(255), 0);
    EXPECT_EQ(LowByte(255), 255);
    EXPECT_EQ(HighByte(256), 1);
    EXPECT_EQ(LowByte(256), 0);
    EXPECT_EQ(HighByte(65535), 255);
    EXPECT_EQ(LowByte(65535), 255);
}

// The design's worked sequences: the bytes shown and the samples plotted.
struct Shown {
    int high;
    int low;
    int sample;
    bool operator==(const Shown&) const = default;
};

std::vector<Shown> RunSteps(const dds::WaveformTable& table, std::uint16_t increment, int steps) {
    std::vector<Shown> shown;
    std::uint16_t acc = 0;
    for (int i = 0; i < steps; ++i) {
        acc = Step(acc, increment);
        shown.push_back({HighByte(acc), LowByte(acc), table[HighByte(acc)]});
    }
    return shown;
}

TEST(Step, Increment256WalksTheSinTable) {
    EXPECT_EQ(dds::SinTable[HighByte(0)], 128);  // the first point, output at start-up
    EXPECT_EQ(RunSteps(dds::SinTable, 256, 3),
              (std::vector<Shown>{{1, 0, 131}, {2, 0, 134}, {3, 0, 137}}));
}

TEST(Step, Increment1CountsTheLowByteFirst) {
    const auto shown = RunSteps(dds::SinTable, 1, 257);
    for (int i = 0; i < 255; ++i) {
        EXPECT_EQ(shown[static_cast<std::size_t>(i)], (Shown{0, i + 1, 128}));
    }
    EXPECT_EQ(shown[255], (Shown{1, 0, 131}));
    EXPECT_EQ(shown[256], (Shown{1, 1, 131}));
}

TEST(Step, Increment65535CountsDown) {
    const auto shown = RunSteps(dds::SinTable, 65535, 257);
    EXPECT_EQ(shown[0], (Shown{255, 255, dds::SinTable[255]}));
    EXPECT_EQ(shown[255], (Shown{255, 0, dds::SinTable[255]}));
    EXPECT_EQ(shown[256], (Shown{254, 255, dds::SinTable[254]}));
}

TEST(Step, Increment32768AlternatesSqr) {
    const auto shown = RunSteps(dds::SqrTable, 32768, 4);
    EXPECT_EQ(shown, (std::vector<Shown>{{128, 0, 255}, {0, 0, 0}, {128, 0, 255}, {0, 0, 0}}));
}

TEST(Step, OnePeriodTakes65536OverIncrementSteps) {
    for (std::uint16_t increment : {1, 2, 256, 4096, 32768}) {
        std::uint16_t acc = 0;
        int steps = 0;
        do {
            acc = Step(acc, increment);
            ++steps;
        } while (acc != 0);
        EXPECT_EQ(steps, 65536 / increment) << "increment " << increment;
    }
}

// ---------------------------------------------------------------------------
// The increment rule: round to nearest, ties to even, low 16 bits

struct IncrementCase {
    const char* what;
    long double value;
    std::uint16_t increment;
};

constexpr long double kTwo62 = 4611686018427387904.0L;       // 2^62
constexpr long double kTwo63 = 9223372036854775808.0L;       // 2^63
constexpr long double kTwo64 = 18446744073709551616.0L;      // 2^64
constexpr std::uint64_t kThree40 = 12157665459056928801ULL;  // 3^40 < 2^64, exact in 64 bits

// Low 16 bits worked out in integer arithmetic, apart from the rule under test.
constexpr std::uint16_t Low16(std::uint64_t n) {
    return static_cast<std::uint16_t>(n & 0xFFFFu);
}
constexpr std::uint16_t Low16OfNegated(std::uint64_t n) {
    return static_cast<std::uint16_t>((0 - n) & 0xFFFFu);
}

const IncrementCase kIncrementCases[] = {
    // Within the box's range the increment is the value itself.
    {"1", 1.0L, 1},
    {"256", 256.0L, 256},
    {"10000", 10000.0L, 10000},
    {"65535", 65535.0L, 65535},
    // Ties go to the even neighbour; other fractions to the nearest.
    {"2.5", 2.5L, 2},
    {"3.5", 3.5L, 4},
    {"0.5", 0.5L, 0},
    {"1.5", 1.5L, 2},
    {"1234.5", 1234.5L, 1234},
    {"1235.5", 1235.5L, 1236},
    {"2.4", 2.4L, 2},
    {"2.6", 2.6L, 3},
    {"0.49999", 0.49999L, 0},
    {"65535.5", 65535.5L, 0},  // 65536
    {"65534.5", 65534.5L, 65534},
    // Zero and negatives: two's complement of the rounded integer.
    {"0", 0.0L, 0},
    {"-0", -0.0L, 0},
    {"-0.4", -0.4L, 0},
    {"-0.5", -0.5L, 0},
    {"-1.5", -1.5L, 65534},
    {"-2.5", -2.5L, 65534},
    {"-3.5", -3.5L, 65532},
    {"-1", -1.0L, 65535},
    {"-256", -256.0L, 65280},
    {"-65536", -65536.0L, 0},
    {"-65537", -65537.0L, 65535},
    // Beyond 16 bits: the low 16 bits.
    {"65536", 65536.0L, 0},
    {"70000", 70000.0L, 4464},
    {"131071", 131071.0L, 65535},
    {"2^62 + 0.5 (tie, even)", kTwo62 + 0.5L, 0},
    {"2^62 + 1.5 (tie, odd)", kTwo62 + 1.5L, 2},
    {"2^62 + 12345.5", kTwo62 + 12345.5L, 12346},
    {"-(2^62 + 12345.5)", -(kTwo62 + 12345.5L), 65536 - 12346},
    {"2^63 - 0.5", kTwo63 - 0.5L, 0},
    {"2^63 + 1", kTwo63 + 1.0L, 1},
    {"2^64 - 1", kTwo64 - 1.0L, 65535},
    {"-(2^64 - 1)", -(kTwo64 - 1.0L), 1},
    {"2^64", kTwo64, 0},
    {"2^64 + 256", kTwo64 + 256.0L, 256},
    {"-(2^64 + 256)", -(kTwo64 + 256.0L), 65280},
    {"3^40", static_cast<long double>(kThree40), Low16(kThree40)},
    {"-3^40", -static_cast<long double>(kThree40), Low16OfNegated(kThree40)},
    // 1e30 < 2^100 has a 64-bit significand, so its long double is a multiple
    // of 2^36; the same holds for every value of 2^80 and more.
    {"1e30", 1e30L, 0},
    {"-1e30", -1e30L, 0},
    {"largest long double", std::numeric_limits<long double>::max(), 0},
    {"lowest long double", std::numeric_limits<long double>::lowest(), 0},
    {"smallest normal", std::numeric_limits<long double>::min(), 0},
    {"smallest subnormal", std::numeric_limits<long double>::denorm_min(), 0},
    {"-smallest subnormal", -std::numeric_limits<long double>::denorm_min(), 0},
    // No integer at all: the accumulator stands still.
    {"+infinity", std::numeric_limits<long double>::infinity(), 0},
    {"-infinity", -std::numeric_limits<long double>::infinity(), 0},
    {"NaN", std::numeric_limits<long double>::quiet_NaN(), 0},
    {"-NaN", -std::numeric_limits<long double>::quiet_NaN(), 0},
};

TEST(IncrementFromValue, TableOfCases) {
    for (const auto& c : kIncrementCases) {
        EXPECT_EQ(IncrementFromValue(c.value), c.increment) << c.what;
    }
}

TEST(IncrementFromValue, AgreesWithIntegerArithmeticAcrossTheBoxRange) {
    for (long n = -140000; n <= 140000; n += 7) {
        const auto expected = static_cast<std::uint16_t>(static_cast<std::uint64_t>(n) & 0xFFFFu);
        ASSERT_EQ(IncrementFromValue(static_cast<long double>(n)), expected) << n;
        // n + 0.5 is a tie: the even one of n and n + 1.
        const long even = (n % 2 == 0) ? n : n + 1;
        ASSERT_EQ(IncrementFromValue(static_cast<long double>(n) + 0.5L),
                  static_cast<std::uint16_t>(static_cast<std::uint64_t>(even) & 0xFFFFu))
            << n << ".5";
    }
}

TEST(IncrementFromValue, EveryPowerOfTwoAbove2To16GivesZero) {
    for (int e = 16; e <= std::numeric_limits<long double>::max_exponent - 1; ++e) {
        ASSERT_EQ(IncrementFromValue(std::ldexp(1.0L, e)), 0) << "2^" << e;
        ASSERT_EQ(IncrementFromValue(-std::ldexp(1.0L, e)), 0) << "-2^" << e;
    }
}

}  // namespace
