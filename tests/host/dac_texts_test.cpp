// The DAC output window's texts: the language chosen from the user's interface language,
// a typed sample clock read or refused, the refusal saying the range in the locale's
// digits, and one table of texts whose two languages are both complete.
#include <gtest/gtest.h>

#include <string>

#include "core/dac/texts.h"

namespace {

using base::NumberSymbols;

constexpr NumberSymbols kEnglishSymbols{u'.', u','};
constexpr NumberSymbols kRussianSymbols{u',', u'\u00A0'};

TEST(DacTexts, RussianOnlyForARussianInterface) {
    EXPECT_EQ(dac::LanguageFromPrimaryId(0x19), dac::Language::Russian);
    for (const std::uint16_t other : {0x09, 0x07, 0x22, 0x23, 0x00}) {  // en de uk be neutral
        EXPECT_EQ(dac::LanguageFromPrimaryId(other), dac::Language::English) << other;
    }
}

TEST(DacTexts, ReadsATypedClockOrRefusesIt) {
    struct Case {
        std::u16string_view text;
        NumberSymbols symbols;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {u"48000", kEnglishSymbols, 48000},
        {u"  44,100 ", kEnglishSymbols, 44100},
        {u"192,000 Hz", kEnglishSymbols, 192000},
        {u"8000hz", kEnglishSymbols, 8000},
        {u"96\u00A0000", kRussianSymbols, 96000},
        {u"96 000 HZ", kRussianSymbols, 96000},
        // The range's ends are in it; one hertz beyond is not.
        {u"7999", kEnglishSymbols, std::nullopt},
        {u"192001", kEnglishSymbols, std::nullopt},
        {u"0", kEnglishSymbols, std::nullopt},
        {u"99999999999999999999", kEnglishSymbols, std::nullopt},
        // Not a whole number of hertz.
        {u"", kEnglishSymbols, std::nullopt},
        {u"Hz", kEnglishSymbols, std::nullopt},
        {u"abc", kEnglishSymbols, std::nullopt},
        {u"48000.5", kEnglishSymbols, std::nullopt},
        {u"48000,5", kRussianSymbols, std::nullopt},
        {u"-48000", kEnglishSymbols, std::nullopt},
        {u"+48000", kEnglishSymbols, std::nullopt},
        {u"48k", kEnglishSymbols, std::nullopt},
        {u",48000", kEnglishSymbols, std::nullopt},
        {u"48000,", kEnglishSymbols, std::nullopt},
        {u"48000 kHz", kEnglishSymbols, std::nullopt},
        {u"4.8e4", kEnglishSymbols, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dac::ReadClockEntry(c.text, c.symbols, 8000, 192000), c.expected)
            << std::string(c.text.begin(), c.text.end());
    }
}

TEST(DacTexts, TheRefusalSaysTheRangeInTheLocalesDigits) {
    EXPECT_EQ(dac::ClockRefusedText(dac::Language::English, kEnglishSymbols, 8000, 192000),
              u"Not applied: type a whole number from 8,000 to 192,000 Hz");
    EXPECT_EQ(dac::ClockRefusedText(dac::Language::Russian, kRussianSymbols, 8000, 192000),
              u"Не принято: введите целое число от 8\u00A0000 до 192\u00A0000 Гц");
    EXPECT_EQ(dac::HertzDigits(176400, {u'.', u'\0'}), u"176400");
}

TEST(DacTexts, BothLanguagesHaveEveryText) {
    const dac::WindowTexts& en = dac::TextsIn(dac::Language::English);
    const dac::WindowTexts& ru = dac::TextsIn(dac::Language::Russian);
    EXPECT_EQ(en.Title, u"DAC output");
    const std::u16string_view dac::WindowTexts::*fields[] = {
        &dac::WindowTexts::Title,
        &dac::WindowTexts::MenuItem,
        &dac::WindowTexts::ClockLabel,
        &dac::WindowTexts::ClockName,
        &dac::WindowTexts::Listen,
        &dac::WindowTexts::VolumeLabel,
        &dac::WindowTexts::VolumeName,
        &dac::WindowTexts::OutputLabel,
        &dac::WindowTexts::ResolutionLabel,
        &dac::WindowTexts::SamplesLabel,
        &dac::WindowTexts::NyquistLabel,
        &dac::WindowTexts::WheelName,
        &dac::WindowTexts::SpectrumName,
        &dac::WindowTexts::Hz,
        &dac::WindowTexts::Db,
        &dac::WindowTexts::Fundamental,
        &dac::WindowTexts::Spur,
        &dac::WindowTexts::Sfdr,
        &dac::WindowTexts::NoSpur,
        &dac::WindowTexts::NoSoundDevice,
        &dac::WindowTexts::AboveNyquist,
        &dac::WindowTexts::ClockRefused,
        &dac::WindowTexts::To,
        &dac::WindowTexts::Accumulator,
        &dac::WindowTexts::TableAddress,
        &dac::WindowTexts::SpectrumKeys,
    };
    for (const auto field : fields) {
        EXPECT_FALSE((en.*field).empty());
        EXPECT_FALSE((ru.*field).empty());
        // A text left untranslated shows the English in the Russian window.
        if (en.*field != u"Hz" && en.*field != u"dB") {
            EXPECT_NE(en.*field, ru.*field);
        }
    }
}

}  // namespace
