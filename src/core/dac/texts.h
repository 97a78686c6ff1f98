// Every text of the DAC output window, in English and in Russian: one table with a column
// per language, read by the layout, the window and its views. The window follows the
// user's interface language: Russian for Russian, English for every other.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/number_format.h"

namespace dac {

enum class Language { English, Russian };

// Russian for a primary language identifier of Russian (0x19), English otherwise.
Language LanguageFromPrimaryId(std::uint16_t primaryLanguageId) noexcept;

struct WindowTexts {
    std::u16string_view Title;
    std::u16string_view MenuItem;  // the main window's system menu item, with its key
    std::u16string_view ClockLabel;
    std::u16string_view ClockName;  // the clock box for screen readers
    std::u16string_view Listen;
    std::u16string_view VolumeLabel;
    std::u16string_view VolumeName;
    std::u16string_view OutputLabel;
    std::u16string_view ResolutionLabel;
    std::u16string_view SamplesLabel;
    std::u16string_view NyquistLabel;
    std::u16string_view WheelName;
    std::u16string_view SpectrumName;
    std::u16string_view Hz;
    std::u16string_view Db;
    std::u16string_view Fundamental;
    std::u16string_view Spur;
    std::u16string_view Sfdr;
    std::u16string_view NoSpur;
    std::u16string_view NoSoundDevice;  // why "Listen" is disabled
    std::u16string_view AboveNyquist;   // before the frequency the output is heard at
    std::u16string_view ClockRefused;   // before the range, when a typed clock is refused
    std::u16string_view To;             // between the ends of a range
    std::u16string_view Accumulator;    // the wheel's value
    std::u16string_view TableAddress;
    std::u16string_view SpectrumKeys;  // the spectrum's keys, for screen readers
};

const WindowTexts& TextsIn(Language language) noexcept;

// Reads `text` as typed in the clock box: digits, optionally grouped with the locale's
// separator or spaces, optionally followed by "Hz" (any case), blanks around allowed.
// None for a number outside [minHz, maxHz] and for anything else (a decimal, a sign,
// letters, nothing): the box refuses it.
std::optional<int> ReadClockEntry(std::u16string_view text, const base::NumberSymbols& symbols,
                                  int minHz, int maxHz);

// A whole number of hertz grouped as the locale groups: "48,000".
std::u16string HertzDigits(int hz, const base::NumberSymbols& symbols);

// "Not applied: type a whole number from 8,000 to 192,000 Hz", in `language`.
std::u16string ClockRefusedText(Language language, const base::NumberSymbols& symbols, int minHz,
                                int maxHz);

}  // namespace dac
