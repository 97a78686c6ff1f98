// The spectrum's figures as text: frequency and level of the fundamental and the spur, the
// SFDR, and "none" where the spectrum has no such line.
#include "core/dac/spectrum_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

TEST(DacSpectrumText, FiguresOfTheLines) {
    const struct {
        dds::Waveform wave;
        std::uint16_t increment;
        base::DecimalStyle style;
        const char* fundamental;
        const char* spur;
        const char* sfdr;
    } cases[] = {
        // Levels checked against the direct DFT in dac_spectrum_test.cpp.
        {dds::Waveform::Sin, 257, {}, "188.232 Hz, 0.03 dB", "0.732 Hz, -48.1 dB", "48.13 dB"},
        {dds::Waveform::Sin,
         257,
         {{u',', u'.'}},
         "188,232 Hz, 0,03 dB",
         "0,732 Hz, -48,1 dB",
         "48,13 dB"},
        {dds::Waveform::Sqr, 256, {}, "187.5 Hz, 2.1 dB", "562.5 Hz, -7.44 dB", "9.54 dB"},
        {dds::Waveform::Sqr, 32768, {}, "24,000 Hz, 0 dB", "none", "none"},
        {dds::Waveform::Sin, 32768, {}, "24,000 Hz, below -180 dB", "none", "none"},
        {dds::Waveform::Sin, 0, {}, "none", "none", "none"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("M = " + std::to_string(c.increment));
        const dac::SpectrumTexts t =
            dac::TextsFor(dac::ComputeSpectrum(dds::TableFor(c.wave), c.increment), 48000, c.style);
        EXPECT_EQ(Narrow(t.Fundamental), c.fundamental);
        EXPECT_EQ(Narrow(t.Spur), c.spur);
        EXPECT_EQ(Narrow(t.Sfdr), c.sfdr);
    }
}

TEST(DacSpectrumText, LevelsRoundToTwoDecimals) {
    const base::DecimalStyle english{};
    EXPECT_EQ(Narrow(dac::LevelText(-0.004, english)), "0 dB");
    EXPECT_EQ(Narrow(dac::LevelText(-12.346, english)), "-12.35 dB");
    EXPECT_EQ(Narrow(dac::LevelText(-179.99, english)), "-179.99 dB");
    EXPECT_EQ(Narrow(dac::LevelText(-180, english)), "below -180 dB");
    EXPECT_EQ(Narrow(dac::LevelText(-std::numeric_limits<double>::infinity(), english)),
              "below -180 dB");
}

}  // namespace
