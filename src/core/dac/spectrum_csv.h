// The spectrum as CSV text: the header "bin,frequency_hz,level_db", then one row per bin
// from 0 to 32768 whose level lies above kNoComponentDb. Frequencies are written exactly
// (bin x clock / 65536 has at most 16 decimals), levels with three decimals; lines end in
// CR LF as the renderer's do.
#pragma once

#include <string_view>

#include "core/base/byte_sink.h"
#include "core/dac/spectrum.h"

namespace dac {

inline constexpr std::string_view kSpectrumCsvHeader = "bin,frequency_hz,level_db\r\n";

// `clockHz` positive; the text goes to `sink` in pieces.
void WriteSpectrumCsv(const Spectrum& spectrum, int clockHz, const base::ByteSink& sink);

}  // namespace dac
