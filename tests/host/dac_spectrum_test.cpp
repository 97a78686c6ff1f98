// The spectrum against a direct DFT in long double. Where the signal repeats within a
// short period the DFT of one period gives every bin; for an odd increment the
// accumulator visits every state once, so the spectrum is the M = 1 spectrum with its bins
// permuted, and that one is summed directly, grouped by table entry. Single bins are
// also summed over all 65536 samples, the plain definition.
#include "core/dac/spectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <numeric>
#include <string>
#include <vector>

#include "core/dac/spectrum_csv.h"
#include "core/dds/accumulator.h"

namespace {

constexpr int kN = 65536;
constexpr int kBins = kN / 2 + 1;
using Complex = std::complex<long double>;

// e^(-2 pi i m / period) for m < period, each from its own angle.
std::vector<Complex> Roots(int period) {
    std::vector<Complex> r(static_cast<std::size_t>(period));
    for (int m = 0; m < period; ++m) {
        const long double a = 2 * std::numbers::pi_v<long double> * m / period;
        r[static_cast<std::size_t>(m)] = {std::cos(a), -std::sin(a)};
    }
    return r;
}

std::vector<int> Samples(const dds::WaveformTable& table, std::uint16_t increment, int count) {
    std::vector<int> x(static_cast<std::size_t>(count));
    std::uint16_t acc = 0;
    for (int& v : x) {
        v = table[dds::HighByte(acc)];
        acc = dds::Step(acc, increment);
    }
    return x;
}

// The level rule, written from its definition.
long double LevelDb(long double magnitude, int bin) {
    const long double amplitude = (bin == 0 || bin == kN / 2 ? 1 : 2) * magnitude / kN;
    return 20 * std::log10(amplitude / 127.5L);
}

// |X[bin]| summed over all 65536 samples.
long double DirectMagnitude(const std::vector<int>& x, const std::vector<Complex>& roots, int bin) {
    Complex sum = 0;
    for (int n = 0; n < kN; ++n) {
        const auto m = static_cast<std::size_t>((static_cast<std::int64_t>(bin) * n) % kN);
        sum += static_cast<long double>(x[static_cast<std::size_t>(n)]) * roots[m];
    }
    return std::abs(sum);
}

// Every bin's level. The samples repeat every kN / g samples (g = gcd(M, kN)): X is 0 off
// the multiples of g and kN / period times the one-period DFT on them. For odd M (period
// kN) n -> M n is a permutation of the states, so X_M[k] = X_1[k M^-1 mod kN], and X_1 is
// summed grouped by table entry: x_1[256 h + l] = T[h], so X_1[j] is the product of a sum
// over h and one over l.
std::vector<long double> OracleLevels(const dds::WaveformTable& table, std::uint16_t increment) {
    std::vector<long double> levels(kBins, -INFINITY);
    const int g = std::gcd(static_cast<int>(increment), kN);
    const int period = kN / g;
    if (period <= 8192) {
        const std::vector<int> x = Samples(table, increment, period);
        const std::vector<Complex> roots = Roots(period);
        for (int j = 0; j * g < kBins; ++j) {
            Complex sum = 0;
            int m = 0;  // j n mod period
            for (int n = 0; n < period; ++n) {
                sum += static_cast<long double>(x[static_cast<std::size_t>(n)]) *
                       roots[static_cast<std::size_t>(m)];
                m += j;
                if (m >= period) m -= period;
            }
            levels[static_cast<std::size_t>(j * g)] = LevelDb(std::abs(sum) * g, j * g);
        }
        return levels;
    }
    EXPECT_EQ(increment % 2, 1) << "the oracle covers short periods and odd increments";
    const std::vector<Complex> roots = Roots(kN);
    // The sum over the 256 states that share one table entry, the same for every table.
    static const std::vector<Complex> withinEntry = [&] {
        std::vector<Complex> sums(kBins);
        for (int j = 0; j < kBins; ++j) {
            for (int l = 0; l < 256; ++l) {
                sums[static_cast<std::size_t>(j)] +=
                    roots[static_cast<std::size_t>((std::int64_t{j} * l) % kN)];
            }
        }
        return sums;
    }();
    std::vector<long double> magnitudeOfM1(kBins);
    // The sum over table entries, e^(-2 pi i 256 j h / kN) = e^(-2 pi i j h / 256): it
    // depends on j mod 256 only.
    std::vector<long double> byEntry(256);
    for (int j = 0; j < 256; ++j) {
        Complex sum = 0;
        for (int h = 0; h < 256; ++h) {
            sum += static_cast<long double>(table[static_cast<std::size_t>(h)]) *
                   roots[static_cast<std::size_t>(256 * ((j * h) % 256))];
        }
        byEntry[static_cast<std::size_t>(j)] = std::abs(sum);
    }
    for (int j = 0; j < kBins; ++j) {
        magnitudeOfM1[static_cast<std::size_t>(j)] =
            byEntry[static_cast<std::size_t>(j % 256)] *
            std::abs(withinEntry[static_cast<std::size_t>(j)]);
    }
    std::int64_t inverse = 1;  // M^-1 mod 2^16 by Newton's iteration
    for (int i = 0; i < 5; ++i) inverse = inverse * (2 - increment * inverse) % kN;
    inverse = (inverse % kN + kN) % kN;
    EXPECT_EQ(inverse * increment % kN, 1);
    for (int k = 0; k < kBins; ++k) {
        const int j = static_cast<int>(k * inverse % kN);
        levels[static_cast<std::size_t>(k)] =
            LevelDb(magnitudeOfM1[static_cast<std::size_t>(std::min(j, kN - j))], k);
    }
    return levels;
}

// Every bin against the oracle: within 0.01 dB above -150 dB, and no component reported
// where the oracle has none.
void ExpectMatchesOracle(const dac::Spectrum& s, const std::vector<long double>& oracle) {
    ASSERT_EQ(s.LevelDb.size(), static_cast<std::size_t>(kBins));
    int mismatches = 0;
    int compared = 0;
    double largestDb = 0;
    for (int k = 0; k < kBins && mismatches < 10; ++k) {
        const long double want = oracle[static_cast<std::size_t>(k)];
        const double got = s.LevelDb[static_cast<std::size_t>(k)];
        if (want > -150) {
            ++compared;
            largestDb = std::max(largestDb, std::fabs(got - static_cast<double>(want)));
            if (std::fabs(got - static_cast<double>(want)) > 0.01) {
                ADD_FAILURE() << "bin " << k << ": " << got << " dB, oracle " << want << " dB";
                ++mismatches;
            }
        } else if (want < -200 && got > dac::kNoComponentDb) {
            ADD_FAILURE() << "bin " << k << ": " << got << " dB where the oracle has nothing";
            ++mismatches;
        }
    }
    std::printf("  %d bins above -150 dB, largest difference %.2g dB\n", compared, largestDb);
}

// The strongest bin other than DC and `fundamental` by the oracle.
int OracleSpur(const std::vector<long double>& oracle, int fundamental) {
    int spur = -1;
    for (int k = 1; k < kBins; ++k) {
        const long double level = oracle[static_cast<std::size_t>(k)];
        if (k == fundamental || level <= dac::kNoComponentDb) continue;
        if (spur < 0 || level > oracle[static_cast<std::size_t>(spur)]) spur = k;
    }
    return spur;
}

int Components(const dac::Spectrum& s) {
    return static_cast<int>(std::count_if(s.LevelDb.begin(), s.LevelDb.end(),
                                          [](double l) { return l > dac::kNoComponentDb; }));
}

struct Case {
    dds::Waveform wave;
    std::uint16_t increment;
};

std::string Name(const Case& c) {
    constexpr const char* kNames[] = {"SIN", "ECG", "SAW", "RSAW", "TRI", "SQR"};
    return std::string(kNames[static_cast<int>(c.wave)]) + " M = " + std::to_string(c.increment);
}

TEST(DacSpectrum, EveryBinMatchesTheDirectDft) {
    const Case cases[] = {
        {dds::Waveform::Sin, 256},   {dds::Waveform::Sin, 257},    {dds::Waveform::Sin, 4000},
        {dds::Waveform::Sqr, 256},   {dds::Waveform::Saw, 10000},  {dds::Waveform::Ecg, 1},
        {dds::Waveform::Tri, 32769}, {dds::Waveform::RSaw, 12345},
    };
    dac::SpectrumAnalyzer analyzer;  // one analyzer for all: nothing carries over
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c));
        std::printf("%s:", Name(c).c_str());
        const dds::WaveformTable& table = dds::TableFor(c.wave);
        const dac::Spectrum s = analyzer.Compute(table, c.increment);
        const std::vector<long double> oracle = OracleLevels(table, c.increment);
        ExpectMatchesOracle(s, oracle);
        ASSERT_TRUE(s.FundamentalBin.has_value());
        const int fundamental = *s.FundamentalBin;
        EXPECT_EQ(fundamental, c.increment > 32768 ? 65536 - c.increment : c.increment);
        const int spur = OracleSpur(oracle, fundamental);
        ASSERT_GE(spur, 0);
        ASSERT_TRUE(s.SpurBin.has_value());
        // Lines of equal height (mirror images) may tie: the chosen one must be as strong.
        EXPECT_NE(*s.SpurBin, fundamental);
        EXPECT_NEAR(static_cast<double>(oracle[static_cast<std::size_t>(*s.SpurBin)]),
                    static_cast<double>(oracle[static_cast<std::size_t>(spur)]), 1e-6)
            << "spur at bin " << *s.SpurBin << ", the oracle's at " << spur;
        if (oracle[static_cast<std::size_t>(fundamental)] > dac::kNoComponentDb) {
            ASSERT_TRUE(s.SfdrDb.has_value());
            EXPECT_NEAR(*s.SfdrDb,
                        static_cast<double>(oracle[static_cast<std::size_t>(fundamental)] -
                                            oracle[static_cast<std::size_t>(spur)]),
                        0.01);
        }
    }
}

TEST(DacSpectrum, SingleBinsMatchThePlainDefinition) {
    // The oracles above rest on the period and the permutation; here a few bins of the
    // hardest case are summed over all 65536 samples.
    const dds::WaveformTable& table = dds::SinTable;
    const dac::Spectrum s = dac::ComputeSpectrum(table, 257);
    const std::vector<int> x = Samples(table, 257, kN);
    const std::vector<Complex> roots = Roots(kN);
    std::vector<int> bins = {0, 257, 512, 32768, 1, 31, 4097};
    if (s.SpurBin) bins.push_back(*s.SpurBin);
    for (int bin : bins) {
        const long double want = LevelDb(DirectMagnitude(x, roots, bin), bin);
        const double got = s.LevelDb[static_cast<std::size_t>(bin)];
        if (want > -150) {
            EXPECT_NEAR(got, static_cast<double>(want), 0.01) << "bin " << bin;
        } else {
            EXPECT_LE(got, dac::kNoComponentDb) << "bin " << bin << ", oracle " << want;
        }
    }
}

TEST(DacSpectrum, SinAt256IsOneLinePlusTheTablesError) {
    const dac::Spectrum s = dac::ComputeSpectrum(dds::SinTable, 256);
    // Period 256 samples: only multiples of 256 can carry anything.
    for (int k = 0; k < kBins; ++k) {
        if (k % 256 != 0) {
            EXPECT_LE(s.LevelDb[static_cast<std::size_t>(k)], dac::kNoComponentDb) << k;
        }
    }
    EXPECT_NEAR(s.LevelDb[256], 0.0, 0.1);  // amplitude 128, capped at 255
    ASSERT_TRUE(s.SpurBin && s.SfdrDb);
    EXPECT_EQ(*s.SpurBin % 256, 0);
    EXPECT_GT(*s.SfdrDb, 40.0);  // only the 8-bit values' error is left
    std::printf("SIN M=256: spur bin %d at %.3f dB, SFDR %.3f dB\n", *s.SpurBin,
                s.LevelDb[static_cast<std::size_t>(*s.SpurBin)], *s.SfdrDb);
}

TEST(DacSpectrum, SinAt257ShowsPhaseTruncationSpurs) {
    const dac::Spectrum at256 = dac::ComputeSpectrum(dds::SinTable, 256);
    const dac::Spectrum at257 = dac::ComputeSpectrum(dds::SinTable, 257);
    ASSERT_TRUE(at257.SpurBin && at257.SfdrDb && at256.SfdrDb);
    // Only the high byte addresses the table: the dropped low byte adds spurs that are
    // no harmonics of the tone, stronger than the 8-bit error alone.
    EXPECT_GT(Components(at257), 100 * Components(at256));
    EXPECT_LT(*at257.SfdrDb, *at256.SfdrDb);
    const int spur = *at257.SpurBin;
    const bool harmonic = std::any_of(at257.Harmonics.begin(), at257.Harmonics.end(),
                                      [&](const dac::Harmonic& h) { return h.Bin == spur; });
    EXPECT_FALSE(harmonic) << "spur at bin " << spur;
    std::printf("SIN M=257: spur bin %d at %.3f dB, SFDR %.3f dB\n", spur,
                at257.LevelDb[static_cast<std::size_t>(spur)], *at257.SfdrDb);
}

TEST(DacSpectrum, SquareHasOddHarmonicsOnly) {
    const dac::Spectrum s = dac::ComputeSpectrum(dds::SqrTable, 256);
    ASSERT_EQ(s.Harmonics.size(), 9u);
    for (const dac::Harmonic& h : s.Harmonics) {
        EXPECT_EQ(h.Bin, 256 * h.Order);
        EXPECT_FALSE(h.Folded);
        const double level = s.LevelDb[static_cast<std::size_t>(h.Bin)];
        if (h.Order % 2 == 0) {
            EXPECT_LE(level, dac::kNoComponentDb) << "order " << h.Order;
        } else {
            // Near the ideal square's 1 / order (the sampled edges move it a little).
            EXPECT_NEAR(level - s.LevelDb[256], -20 * std::log10(h.Order), 0.05)
                << "order " << h.Order;
        }
    }
    ASSERT_TRUE(s.SpurBin && s.SfdrDb);
    EXPECT_EQ(*s.SpurBin, 768);
    EXPECT_NEAR(*s.SfdrDb, 20 * std::log10(3.0), 0.05);
}

TEST(DacSpectrum, AboveNyquistTheToneFoldsBack) {
    // M and 65536 - M give the same samples in reverse order: the same levels.
    const dac::Spectrum below = dac::ComputeSpectrum(dds::SinTable, 1000);
    const dac::Spectrum above = dac::ComputeSpectrum(dds::SinTable, 64536);
    EXPECT_EQ(above.FundamentalBin, 1000);
    for (int k = 0; k < kBins; ++k) {
        const double a = below.LevelDb[static_cast<std::size_t>(k)];
        const double b = above.LevelDb[static_cast<std::size_t>(k)];
        if (a > -150 || b > -150) {
            EXPECT_NEAR(a, b, 1e-6) << k;
        }
    }
    EXPECT_EQ(above.SpurBin, below.SpurBin);
}

TEST(DacSpectrum, HarmonicsFoldAtHalfTheClock) {
    const dac::Spectrum s = dac::ComputeSpectrum(dds::SawTable, 10000);
    const std::vector<dac::Harmonic> want = {
        {2, 20000, false}, {3, 30000, false}, {4, 25536, true}, {5, 15536, true},  {6, 5536, true},
        {7, 4464, true},   {8, 14464, true},  {9, 24464, true}, {10, 31072, true},
    };
    EXPECT_EQ(s.Harmonics, want);
    for (const dac::Harmonic& h : s.Harmonics) {
        EXPECT_GT(s.LevelDb[static_cast<std::size_t>(h.Bin)], -40.0) << "order " << h.Order;
    }
    EXPECT_EQ(dac::FoldedBin(65536 + 3), 3);
    EXPECT_EQ(dac::FoldedBin(32769), 32767);
    EXPECT_EQ(dac::FoldedBin(-5), 5);
}

TEST(DacSpectrum, EdgeBinsUseTheirOwnScale) {
    // 0, 255, 0, 255, ...: DC and clock / 2 both have amplitude 127.5, a full-scale 0 dB.
    const dac::Spectrum s = dac::ComputeSpectrum(dds::SqrTable, 32768);
    EXPECT_NEAR(s.LevelDb[0], 0.0, 1e-9);
    EXPECT_NEAR(s.LevelDb[32768], 0.0, 1e-9);
    EXPECT_EQ(s.FundamentalBin, 32768);
    EXPECT_EQ(Components(s), 2);
    EXPECT_FALSE(s.SpurBin.has_value());
    EXPECT_FALSE(s.SfdrDb.has_value());
}

TEST(DacSpectrum, WithoutToneOrSpurTheFiguresAreAbsent) {
    // M = 0: the accumulator stands at 0, a constant 128: DC only.
    const dac::Spectrum still = dac::ComputeSpectrum(dds::SinTable, 0);
    EXPECT_FALSE(still.FundamentalBin.has_value());
    EXPECT_TRUE(still.Harmonics.empty());
    EXPECT_FALSE(still.SpurBin.has_value());
    EXPECT_EQ(Components(still), 1);
    EXPECT_NEAR(still.LevelDb[0], 20 * std::log10(128 / 127.5), 1e-9);
    // 0, 0, 255, 255: the tone at clock / 4 and nothing else (clock / 2 cancels).
    const dac::Spectrum quarter = dac::ComputeSpectrum(dds::SqrTable, 16384);
    EXPECT_EQ(Components(quarter), 2);
    EXPECT_FALSE(quarter.SpurBin.has_value());
    EXPECT_FALSE(quarter.SfdrDb.has_value());
    // SIN at clock / 2 reads entries 0 and 128, both 128: the tone itself is absent, and
    // the spur and SFDR with it.
    const dac::Spectrum nyquist = dac::ComputeSpectrum(dds::SinTable, 32768);
    EXPECT_LE(nyquist.LevelDb[32768], dac::kNoComponentDb);
    EXPECT_FALSE(nyquist.SfdrDb.has_value());
}

// ---------------------------------------------------------------------------
// The CSV text

std::vector<std::string> CsvLines(const dac::Spectrum& s, int clockHz) {
    std::string text;
    dac::WriteSpectrumCsv(s, clockHz, [&](std::string_view piece) { text += piece; });
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << "a line without CR LF";
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

TEST(DacSpectrumCsv, HeaderThenOneRowPerComponent) {
    const std::vector<std::string> lines =
        CsvLines(dac::ComputeSpectrum(dds::SqrTable, 32768), 48000);
    const std::vector<std::string> want = {"bin,frequency_hz,level_db", "0,0,0.000",
                                           "32768,24000,0.000"};
    EXPECT_EQ(lines, want);
}

TEST(DacSpectrumCsv, RowsReadBackToTheSpectrum) {
    const dac::Spectrum s = dac::ComputeSpectrum(dds::SinTable, 257);
    const std::vector<std::string> lines = CsvLines(s, 44100);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "bin,frequency_hz,level_db");
    EXPECT_EQ(static_cast<int>(lines.size()) - 1, Components(s));
    int previous = -1;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t c1 = line.find(',');
        const std::size_t c2 = line.find(',', c1 + 1);
        ASSERT_NE(c2, std::string::npos) << line;
        const int bin = std::stoi(line.substr(0, c1));
        EXPECT_GT(bin, previous);
        previous = bin;
        // Exact: bin x 44100 / 65536 has at most 16 decimals, all written.
        const long double hz = std::stold(line.substr(c1 + 1, c2 - c1 - 1));
        EXPECT_EQ(hz * 65536, static_cast<long double>(bin) * 44100) << line;
        const std::string level = line.substr(c2 + 1);
        ASSERT_GE(level.size(), 5u);
        EXPECT_EQ(level[level.size() - 4], '.') << line;
        EXPECT_NEAR(std::stod(level), s.LevelDb[static_cast<std::size_t>(bin)], 0.0005) << line;
        EXPECT_GT(std::stod(level), dac::kNoComponentDb - 0.0005) << line;
    }
}

}  // namespace
