// The DAC output's figures: frequencies as exact multiples of clock / 65536, their texts
// (rounded half to even from the exact value), and the Nyquist note above M = 32768.
#include "core/dac/figures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

TEST(DacFigures, TableOfIncrementsAndClocks) {
    // Expected texts worked out with exact fractions outside this program.
    const struct {
        std::uint16_t increment;
        int clockHz;
        const char16_t* output;
        const char16_t* resolution;
        const char16_t* samplesPerPeriod;
        bool aboveNyquist;
        const char16_t* heard;
    } cases[] = {
        {1, 8000, u"0.122 Hz", u"0.12207 Hz", u"65,536", false, u"0.122 Hz"},
        {256, 8000, u"31.25 Hz", u"0.12207 Hz", u"256", false, u"31.25 Hz"},
        {257, 8000, u"31.372 Hz", u"0.12207 Hz", u"255.004", false, u"31.372 Hz"},
        {1000, 8000, u"122.07 Hz", u"0.12207 Hz", u"65.536", false, u"122.07 Hz"},
        {32768, 8000, u"4,000 Hz", u"0.12207 Hz", u"2", false, u"4,000 Hz"},
        {32769, 8000, u"4,000.122 Hz", u"0.12207 Hz", u"2", true, u"3,999.878 Hz"},
        {65535, 8000, u"7,999.878 Hz", u"0.12207 Hz", u"1", true, u"0.122 Hz"},
        {1, 44100, u"0.673 Hz", u"0.672913 Hz", u"65,536", false, u"0.673 Hz"},
        {256, 44100, u"172.266 Hz", u"0.672913 Hz", u"256", false, u"172.266 Hz"},
        {257, 44100, u"172.939 Hz", u"0.672913 Hz", u"255.004", false, u"172.939 Hz"},
        {1000, 44100, u"672.913 Hz", u"0.672913 Hz", u"65.536", false, u"672.913 Hz"},
        {32768, 44100, u"22,050 Hz", u"0.672913 Hz", u"2", false, u"22,050 Hz"},
        {32769, 44100, u"22,050.673 Hz", u"0.672913 Hz", u"2", true, u"22,049.327 Hz"},
        {65535, 44100, u"44,099.327 Hz", u"0.672913 Hz", u"1", true, u"0.673 Hz"},
        {1, 48000, u"0.732 Hz", u"0.732422 Hz", u"65,536", false, u"0.732 Hz"},
        {256, 48000, u"187.5 Hz", u"0.732422 Hz", u"256", false, u"187.5 Hz"},
        {257, 48000, u"188.232 Hz", u"0.732422 Hz", u"255.004", false, u"188.232 Hz"},
        {1000, 48000, u"732.422 Hz", u"0.732422 Hz", u"65.536", false, u"732.422 Hz"},
        {32768, 48000, u"24,000 Hz", u"0.732422 Hz", u"2", false, u"24,000 Hz"},
        {32769, 48000, u"24,000.732 Hz", u"0.732422 Hz", u"2", true, u"23,999.268 Hz"},
        {65535, 48000, u"47,999.268 Hz", u"0.732422 Hz", u"1", true, u"0.732 Hz"},
        {1, 192000, u"2.93 Hz", u"2.929688 Hz", u"65,536", false, u"2.93 Hz"},
        {256, 192000, u"750 Hz", u"2.929688 Hz", u"256", false, u"750 Hz"},
        {257, 192000, u"752.93 Hz", u"2.929688 Hz", u"255.004", false, u"752.93 Hz"},
        {1000, 192000, u"2,929.688 Hz", u"2.929688 Hz", u"65.536", false, u"2,929.688 Hz"},
        {32768, 192000, u"96,000 Hz", u"2.929688 Hz", u"2", false, u"96,000 Hz"},
        {32769, 192000, u"96,002.93 Hz", u"2.929688 Hz", u"2", true, u"95,997.07 Hz"},
        {65535, 192000, u"191,997.07 Hz", u"2.929688 Hz", u"1", true, u"2.93 Hz"},
    };
    const base::DecimalStyle english{};
    for (const auto& c : cases) {
        SCOPED_TRACE("M = " + std::to_string(c.increment) + " at " + std::to_string(c.clockHz));
        const dac::Figures f = dac::FiguresFor(c.increment, c.clockHz);
        // Exact values: M x clock fits 53 bits and 65536 is a power of two.
        const long double exactHz = static_cast<long double>(c.increment) * c.clockHz / 65536.0L;
        EXPECT_EQ(static_cast<long double>(f.Output.Hz()), exactHz);
        EXPECT_EQ(f.Resolution.Hz(), c.clockHz / 65536.0);
        EXPECT_EQ(f.Nyquist.Hz(), c.clockHz / 2.0);
        EXPECT_EQ(f.AboveNyquist, c.aboveNyquist);
        EXPECT_DOUBLE_EQ(f.SamplesPerPeriod, 65536.0 / c.increment);
        if (c.aboveNyquist) {
            EXPECT_EQ(f.Heard.Hz(), (65536 - c.increment) * static_cast<double>(c.clockHz) / 65536);
        } else {
            EXPECT_EQ(f.Heard, f.Output);
        }

        const dac::FigureTexts t = dac::TextsFor(f, english);
        EXPECT_EQ(Narrow(t.Output), Narrow(c.output));
        EXPECT_EQ(Narrow(t.Resolution), Narrow(c.resolution));
        EXPECT_EQ(Narrow(t.SamplesPerPeriod), Narrow(c.samplesPerPeriod));
        EXPECT_EQ(Narrow(dac::FrequencyText(f.Heard, 3, english)), Narrow(c.heard));
        EXPECT_EQ(t.NyquistNote.empty(), !c.aboveNyquist);
        if (c.aboveNyquist) {
            // The note names the Nyquist frequency, where the tone is heard and 65536 - M.
            const std::string note = Narrow(t.NyquistNote);
            EXPECT_NE(note.find(Narrow(t.Nyquist)), std::string::npos) << note;
            EXPECT_NE(note.find(Narrow(c.heard)), std::string::npos) << note;
            EXPECT_NE(note.find(std::to_string(65536 - c.increment)), std::string::npos) << note;
        }
    }
}

TEST(DacFigures, ClockTextAndLocaleSymbols) {
    const base::DecimalStyle german{{u',', u'.'}};
    const dac::FigureTexts t = dac::TextsFor(dac::FiguresFor(32769, 48000), german);
    EXPECT_EQ(Narrow(t.Clock), "48.000 Hz");
    EXPECT_EQ(Narrow(t.Output), "24.000,732 Hz");
    EXPECT_EQ(Narrow(t.Resolution), "0,732422 Hz");
    EXPECT_EQ(Narrow(t.Nyquist), "24.000 Hz");
    const base::DecimalStyle ungrouped{{u'.', u'\0'}};
    EXPECT_EQ(Narrow(dac::TextsFor(dac::FiguresFor(1, 192000), ungrouped).Clock), "192000 Hz");
}

TEST(DacFigures, IncrementZeroHasNoPeriod) {
    const dac::Figures f = dac::FiguresFor(0, 48000);
    EXPECT_EQ(f.Output.Hz(), 0.0);
    EXPECT_EQ(f.SamplesPerPeriod, 0.0);
    EXPECT_FALSE(f.AboveNyquist);
    const dac::FigureTexts t = dac::TextsFor(f, {});
    EXPECT_EQ(Narrow(t.Output), "0 Hz");
    EXPECT_EQ(Narrow(t.SamplesPerPeriod), "none");
    EXPECT_TRUE(t.NyquistNote.empty());
}

TEST(DacFigures, RatioDigitsRoundHalfToEvenFromTheExactQuotient) {
    const struct {
        std::int64_t numerator, denominator;
        int decimals;
        const char* whole;
        const char* fraction;
    } cases[] = {
        {5, 2, 0, "2", ""},              // 2.5 -> 2
        {7, 2, 0, "4", ""},              // 3.5 -> 4
        {1, 8, 2, "0", "12"},            // 0.125 -> 0.12
        {3, 8, 2, "0", "38"},            // 0.375 -> 0.38
        {1, 3, 4, "0", "3333"},          // below the half
        {2, 3, 4, "0", "6667"},          // above it
        {99999, 100000, 3, "1", "000"},  // the carry reaches the whole part
        {65535LL * 192000, 65536, 9, "191997", "070312500"},
    };
    for (const auto& c : cases) {
        const base::DecimalDigits d = dac::RatioDigits(c.numerator, c.denominator, c.decimals);
        EXPECT_EQ(d.Whole, c.whole) << c.numerator << " / " << c.denominator;
        EXPECT_EQ(d.Fraction, c.fraction) << c.numerator << " / " << c.denominator;
        EXPECT_FALSE(d.Negative);
    }
}

TEST(DacFigures, ClockIsClampedToItsRange) {
    EXPECT_EQ(dac::ClampClockHz(0), dac::kMinClockHz);
    EXPECT_EQ(dac::ClampClockHz(7999), 8000);
    EXPECT_EQ(dac::ClampClockHz(44100), 44100);
    EXPECT_EQ(dac::ClampClockHz(192001), 192000);
    EXPECT_EQ(dac::kDesignedClockHz, 48000);
}

}  // namespace
