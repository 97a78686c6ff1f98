// The generator model's rules as tables: its designed start, the step and its sample with
// the wrap of the accumulator, the reset, the choice of waveform and its effect (or none,
// for sound), the increment from the box's value.
#include "core/dds/generator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <vector>

namespace {

using dds::Change;
using dds::Generator;
using dds::Sample;
using dds::Waveform;

constexpr Waveform kAllWaves[] = {Waveform::Sin,  Waveform::Ecg, Waveform::Saw,
                                  Waveform::RSaw, Waveform::Tri, Waveform::Sqr};

std::vector<Sample> Steps(Generator& generator, int count) {
    std::vector<Sample> samples;
    for (int i = 0; i < count; ++i) samples.push_back(generator.Step());
    return samples;
}

TEST(GeneratorStart, IsTheDesignedWaveformAndIncrementAtZero) {
    const Generator generator;
    EXPECT_EQ(generator.Wave(), Waveform::Sin);
    EXPECT_EQ(generator.Increment(), 256);
    EXPECT_EQ(generator.Accumulator(), 0);
    EXPECT_EQ(generator.Table(), dds::SinTable);
    EXPECT_EQ(generator.Output(), (Sample{0, 128})) << "the first point: SIN entry 0";
    EXPECT_EQ(generator.Output().High(), 0);
    EXPECT_EQ(generator.Output().Low(), 0);
}

TEST(GeneratorStep, AdvancesByTheIncrementAndGivesTheEntryAtTheHighByte) {
    Generator designed;
    EXPECT_EQ(Steps(designed, 3),
              (std::vector<Sample>{{0x0100, 131}, {0x0200, 134}, {0x0300, 137}}));

    const struct {
        Waveform wave;
        std::uint16_t increment;
        std::uint16_t start;  // reached by steps of the increment 1
        std::vector<Sample> expected;
    } cases[] = {
        // The top of the accumulator wraps to its bottom; the carry is dropped.
        {Waveform::Saw, 1, 65534, {{65535, 255}, {0, 0}, {1, 0}}},
        {Waveform::Saw, 65535, 0, {{65535, 255}, {65534, 255}, {65533, 255}}},
        {Waveform::Sin, 65535, 0, {{65535, dds::SinTable[255]}}},
        {Waveform::Sqr, 32768, 0, {{32768, 255}, {0, 0}, {32768, 255}, {0, 0}}},
        {Waveform::Tri, 40000, 30000 - 40000 + 65536, {{30000, 234}, {4464, 34}}},
        {Waveform::Ecg, 256, 49 * 256, {{50 * 256, 255}, {51 * 256, 254}}},
        {Waveform::RSaw, 0, 12345, {{12345, 255 - 48}, {12345, 255 - 48}}},
    };
    for (const auto& c : cases) {
        Generator generator(c.wave, 1);
        for (int i = 0; i < c.start; ++i) generator.Step();
        ASSERT_EQ(generator.Accumulator(), c.start);
        generator.SetIncrement(c.increment);
        EXPECT_EQ(Steps(generator, static_cast<int>(c.expected.size())), c.expected)
            << "increment " << c.increment << " from " << c.start;
    }
}

TEST(GeneratorStep, IncrementOneCountsTheLowByteAndHoldsTheSampleFor256Steps) {
    Generator generator(Waveform::Saw, 1);
    const std::vector<Sample> samples = Steps(generator, 512);
    for (int i = 0; i < 512; ++i) {
        const Sample& s = samples[static_cast<std::size_t>(i)];
        EXPECT_EQ(s.Low(), (i + 1) % 256) << i;
        EXPECT_EQ(s.High(), (i + 1) / 256) << i;
        EXPECT_EQ(s.Value, (i + 1) / 256) << i;
    }
}

TEST(GeneratorStep, OnePeriodTakes65536OverTheIncrementSteps) {
    for (const std::uint16_t increment : {1, 3, 256, 1000, 32768, 65535}) {
        Generator generator(Waveform::Tri, increment);
        const int period = 65536 / std::gcd(65536, static_cast<int>(increment));
        for (int i = 1; i < period; ++i) ASSERT_NE(generator.Step().Accumulator, 0) << increment;
        EXPECT_EQ(generator.Step().Accumulator, 0) << increment;
    }
}

TEST(GeneratorReset, ZeroesWithoutASampleAndKeepsTableAndChart) {
    Generator generator(Waveform::Ecg, 700);
    Steps(generator, 5);
    EXPECT_EQ(generator.Reset(), (Change{0, false}));
    EXPECT_EQ(generator.Accumulator(), 0);
    EXPECT_EQ(generator.Wave(), Waveform::Ecg);
    EXPECT_EQ(generator.Increment(), 700);
    EXPECT_EQ(generator.Step(), (Sample{700, dds::EcgTable[700 >> 8]}))
        << "the next step plots the entry at the increment's high byte";
    EXPECT_EQ(Generator().Reset(), (Change{0, false})) << "a reset at 0 is still one";
}

TEST(GeneratorWaveform, EachChoiceResetsAndClearsTheChartWithoutASample) {
    for (const Waveform from : kAllWaves) {
        for (const Waveform to : kAllWaves) {
            Generator generator(from, 1234);
            Steps(generator, 3);
            EXPECT_EQ(generator.ChooseWaveform(to), (Change{0, true}));
            EXPECT_EQ(generator.Wave(), to);
            EXPECT_EQ(generator.Table(), dds::TableFor(to));
            EXPECT_EQ(generator.Increment(), 1234);
            EXPECT_EQ(generator.Accumulator(), 0);
            EXPECT_EQ(generator.Step().Value, dds::TableFor(to)[1234 >> 8])
                << "the chart's first point after the choice";
        }
    }
}

TEST(GeneratorWaveform, ANameOfNoWaveformIsRefusedAndChangesNothing) {
    Generator generator(Waveform::Saw, 256);
    generator.Step();
    EXPECT_THROW(generator.ChooseWaveform(static_cast<Waveform>(6)), std::out_of_range);
    EXPECT_EQ(generator.Wave(), Waveform::Saw);
    EXPECT_EQ(generator.Accumulator(), 256);
    EXPECT_THROW(Generator(static_cast<Waveform>(-1), 1), std::out_of_range);
}

TEST(GeneratorWaveform, ContinuingWithAnotherKeepsThePhase) {
    for (const Waveform from : kAllWaves) {
        for (const Waveform to : kAllWaves) {
            Generator generator(from, 1234);
            Steps(generator, 3);
            generator.ContinueWithWaveform(to);
            EXPECT_EQ(generator.Wave(), to);
            EXPECT_EQ(generator.Accumulator(), 3 * 1234);
            EXPECT_EQ(generator.Output().Value, dds::TableFor(to)[3 * 1234 >> 8]);
            EXPECT_EQ(generator.Step().Value, dds::TableFor(to)[4 * 1234 >> 8]);
        }
    }
    Generator generator(Waveform::Tri, 999);
    generator.Step();
    EXPECT_THROW(generator.ContinueWithWaveform(static_cast<Waveform>(6)), std::out_of_range);
    EXPECT_EQ(generator.Wave(), Waveform::Tri);
    EXPECT_EQ(generator.Table(), dds::TableFor(Waveform::Tri));
}

TEST(GeneratorIncrement, RoundsHalfToEvenAndKeepsTheLow16Bits) {
    constexpr long double kLargest = std::numeric_limits<long double>::max();
    constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
    const struct {
        long double value;
        std::uint16_t increment;
    } cases[] = {
        {256, 256},
        {1, 1},
        {65535, 65535},
        // Fractions: the nearest integer, ties to the even one.
        {2.5L, 2},
        {3.5L, 4},
        {0.5L, 0},
        {1.5L, 2},
        {2.4999L, 2},
        {2.5001L, 3},
        {1234.5L, 1234},
        {65535.5L, 0},
        {65534.5L, 65534},
        // Negative values in two's complement.
        {-256, 65280},
        {-1, 65535},
        {-0.5L, 0},
        {-1.5L, 65534},
        {-2.5L, 65534},
        {-65536, 0},
        {-65537, 65535},
        // Zero and above the range: the low 16 bits.
        {0, 0},
        {-0.0L, 0},
        {65536, 0},
        {70000, 4464},
        {131072 + 300, 300},
        // Huge values are reduced exactly.
        {18446744073709551616.0L + 256, 256},
        {-(18446744073709551616.0L + 256), 65280},
        {1e30L, 0},
        {kLargest, 0},
        {-kLargest, 0},
        // No integer at all: the increment that keeps the accumulator still.
        {kInfinity, 0},
        {-kInfinity, 0},
        {std::numeric_limits<long double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) {
        Generator generator(Waveform::Sin, 77);
        generator.Step();
        generator.SetIncrementFromValue(c.value);
        EXPECT_EQ(generator.Increment(), c.increment) << static_cast<double>(c.value);
        EXPECT_EQ(generator.Accumulator(), 77) << "a new increment leaves the accumulator";
    }
}

}  // namespace
