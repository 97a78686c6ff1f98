// The six stored waveform tables against the values and rules of the design.
#include "core/dds/wave_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <functional>
#include <numbers>
#include <stdexcept>

namespace {

using dds::Waveform;
using dds::WaveformTable;

// ---------------------------------------------------------------------------
// Reference values, written from the design independently of the sources.

// min(255, floor(128 + 128 sin(2 pi i / 256))). At i = 0, 64, 128, 192 the
// sine is exactly 0, 1, 0, -1; everywhere else 128 + 128 sin lies far from an
// integer, so a double sine is exact enough for the floor.
int SinRule(int i) {
    double sine = 0.0;
    switch (i) {
        case 0:
        case 128:
            sine = 0.0;
            break;
        case 64:
            sine = 1.0;
            break;
        case 192:
            sine = -1.0;
            break;
        default:
            sine = std::sin(2.0 * std::numbers::pi * i / 256.0);
    }
    const double value = std::floor(128.0 + 128.0 * sine);
    return value > 255.0 ? 255 : static_cast<int>(value);
}

// The ECG table as the design lists it, sixteen entries a row.
constexpr int kEcgDocumented[256] = {
    73,  74,  75,  75,  74,  73,  73,  73,  73,  72,  71,  69,  68,  67,  67,  67,  68,  68,  67,
    65,  62,  61,  59,  57,  56,  55,  55,  54,  54,  54,  55,  55,  55,  55,  55,  55,  54,  53,
    51,  50,  49,  49,  52,  61,  77,  101, 132, 169, 207, 238, 255, 254, 234, 198, 154, 109, 68,
    37,  17,  5,   0,   1,   6,   13,  20,  28,  36,  45,  52,  57,  61,  64,  65,  66,  67,  68,
    68,  69,  70,  71,  71,  71,  71,  71,  71,  71,  71,  72,  72,  72,  73,  73,  74,  75,  75,
    76,  77,  78,  79,  80,  81,  82,  83,  84,  86,  88,  91,  93,  96,  98,  100, 102, 104, 107,
    109, 112, 115, 118, 121, 123, 125, 126, 127, 127, 127, 127, 127, 126, 125, 124, 121, 119, 116,
    113, 109, 105, 102, 98,  95,  92,  89,  87,  84,  81,  79,  77,  76,  75,  74,  73,  72,  70,
    69,  68,  67,  67,  67,  68,  68,  68,  69,  69,  69,  69,  69,  69,  69,  70,  71,  72,  73,
    73,  74,  74,  75,  75,  75,  75,  75,  75,  74,  74,  73,  73,  73,  73,  72,  72,  72,  71,
    71,  71,  71,  71,  71,  71,  70,  70,  70,  69,  69,  69,  69,  69,  70,  70,  70,  69,  68,
    68,  67,  67,  67,  67,  66,  66,  66,  65,  65,  65,  65,  65,  65,  65,  65,  64,  64,  63,
    63,  64,  64,  65,  65,  65,  65,  65,  65,  65,  64,  64,  64,  64,  64,  64,  64,  64,  65,
    65,  65,  66,  67,  68,  69,  71,  72,  73,
};

// Compares every entry of `table` with `rule`.
void ExpectTableFollows(const WaveformTable& table, const std::function<int(int)>& rule) {
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(table[static_cast<std::size_t>(i)], rule(i)) << "entry " << i;
    }
}

// ---------------------------------------------------------------------------
// Every entry of each table

TEST(SinTable, EveryEntryFollowsTheFormula) {
    ExpectTableFollows(dds::SinTable, SinRule);
}

TEST(EcgTable, EveryEntryAsDocumented) {
    ExpectTableFollows(dds::EcgTable, [](int i) { return kEcgDocumented[i]; });
}

TEST(SawTable, RisesFrom0To255) {
    ExpectTableFollows(dds::SawTable, [](int i) { return i; });
}

TEST(RSawTable, FallsFrom255To0) {
    ExpectTableFollows(dds::RSawTable, [](int i) { return 255 - i; });
}

TEST(TriTable, EvenRiseOddFall) {
    ExpectTableFollows(dds::TriTable, [](int i) { return i < 128 ? 2 * i : 511 - 2 * i; });
}

TEST(SqrTable, LowThenHigh) {
    ExpectTableFollows(dds::SqrTable, [](int i) { return i < 128 ? 0 : 255; });
}

// ---------------------------------------------------------------------------
// Choosing a table

TEST(TableFor, EachWaveformHasItsOwnTable) {
    EXPECT_EQ(&dds::TableFor(Waveform::Sin), &dds::SinTable);
    EXPECT_EQ(&dds::TableFor(Waveform::Ecg), &dds::EcgTable);
    EXPECT_EQ(&dds::TableFor(Waveform::Saw), &dds::SawTable);
    EXPECT_EQ(&dds::TableFor(Waveform::RSaw), &dds::RSawTable);
    EXPECT_EQ(&dds::TableFor(Waveform::Tri), &dds::TriTable);
    EXPECT_EQ(&dds::TableFor(Waveform::Sqr), &dds::SqrTable);
}

TEST(TableFor, RejectsAValueThatNamesNoWaveform) {
    EXPECT_THROW(dds::TableFor(static_cast<Waveform>(6)), std::out_of_range);
}

}  // namespace
