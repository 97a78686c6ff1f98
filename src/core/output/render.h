// The generator's output without a window: the same generator model as the
// window, from the same start (the first sample at accumulator 0, then one step per
// sample), written as CSV rows or as a WAV file of 8-bit unsigned PCM. The text and the
// bytes go to a sink in pieces, so that a file of any length needs little memory.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/base/byte_sink.h"
#include "core/dds/settings.h"
#include "core/dds/wave_tables.h"

namespace output {

using base::ByteSink;

// What is rendered; by default the designed waveform and increment.
struct RenderSource {
    dds::Waveform Wave = dds::settings::kWave.Designed;
    std::uint16_t Increment = static_cast<std::uint16_t>(dds::settings::kIncrement.Designed);
};

inline constexpr std::string_view kCsvHeader = "step,accumulator,high_byte,low_byte,value\r\n";

// The header line, then one row "step,accumulator,high_byte,low_byte,value" per sample
// for `samples` samples; lines end in CR LF.
void RenderCsv(const RenderSource& source, std::int64_t samples, const ByteSink& sink);

// The 44-byte header of a mono 8-bit PCM WAV file holding `samples` samples at
// `sampleRateHz`.
std::vector<std::uint8_t> WavHeader(std::uint32_t sampleRateHz, std::uint32_t samples);

// The header, then `seconds` x `clockHz` samples, one byte each (the table value), and a
// pad byte when that count is odd.
void RenderWav(const RenderSource& source, int seconds, int clockHz, const ByteSink& sink);

// Bytes that RenderWav writes.
std::uint64_t WavFileSize(int seconds, int clockHz);

}  // namespace output
