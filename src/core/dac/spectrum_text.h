// The spectrum's figures as the window writes them beside the plot: the fundamental and
// the spur, each with its frequency and level, and the SFDR, in the locale's digits.
#pragma once

#include <string>

#include "core/base/number_format.h"
#include "core/dac/spectrum.h"

namespace dac {

struct SpectrumTexts {
    std::u16string Fundamental;  // "750 Hz, -0.03 dB"; "none" without a tone (M = 0)
    std::u16string Spur;         // "0.732 Hz, -48.1 dB"; "none" when no other line is there
    std::u16string Sfdr;         // "48.13 dB"; "none" without a spur or a fundamental
};

// A level with at most two decimals and its unit, "-48.1 dB"; "below -180 dB" at or below
// kNoComponentDb.
std::u16string LevelText(double levelDb, const base::DecimalStyle& style);

SpectrumTexts TextsFor(const Spectrum& spectrum, int clockHz, const base::DecimalStyle& style);

}  // namespace dac
