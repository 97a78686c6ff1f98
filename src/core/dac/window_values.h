// What the DAC output window shows and tells screen readers, as text in the window's
// language and the locale's digits: the figures, levels, the spectrum's value and the
// phase wheel's value. Frequencies are written exactly from their multiple of
// clock / 65536, rounded only to the digits shown.
#pragma once

#include <cstdint>
#include <string>

#include "core/base/number_symbols.h"
#include "core/dac/spectrum.h"
#include "core/dac/texts.h"

namespace dac {

struct FigureLines {
    std::u16string Output;            // "187.5 Hz": three decimals at most
    std::u16string Resolution;        // "0.732422 Hz": six decimals at most
    std::u16string SamplesPerPeriod;  // "256"; "65.536"
    std::u16string Nyquist;           // "24,000 Hz"
    // Empty at or below the Nyquist frequency; above it, where the tone is heard.
    std::u16string AboveNyquist;
};

FigureLines FigureLinesFor(std::uint16_t increment, int clockHz, Language language,
                           const base::NumberSymbols& symbols);

// steps x clock / 65536 Hz with at most `decimals` decimals and the unit.
std::u16string StepsHertzText(std::int64_t steps, int clockHz, int decimals, Language language,
                              const base::NumberSymbols& symbols);

// A level with one decimal and the unit: "-48.2 dB"; "0 dB" for a level that rounds to 0.
std::u16string DecibelText(double levelDb, Language language, const base::NumberSymbols& symbols);

// "Fundamental 187.5 Hz, 0 dB; spur 562.5 Hz, -48.2 dB; SFDR 48.2 dB".
std::u16string SpectrumValueText(const Spectrum& spectrum, int clockHz, Language language,
                                 const base::NumberSymbols& symbols);

// "Accumulator 256, table address 1".
std::u16string WheelValueText(std::uint16_t accumulator, Language language);

}  // namespace dac
