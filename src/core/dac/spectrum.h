// The spectrum of the DAC output over one whole turn of the accumulator: the first 65536
// samples from accumulator 0, the same samples the renderer writes. 65536 samples hold a
// whole number of output periods for every increment, so each component is one exact
// line and no window function is needed. Levels are in dB relative to a full-scale sine
// (amplitude 127.5 codes): |X| / N at bins 0 and 32768, 2 |X| / N at every other bin.
#pragma once

#include <complex>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/dac/real_fft.h"
#include "core/dds/wave_tables.h"

namespace dac {

inline constexpr int kSpectrumSamples = 65536;
// Bins 0 (DC) to 32768 (clock / 2); bin k lies at k x clock / 65536.
inline constexpr int kSpectrumBins = kSpectrumSamples / 2 + 1;
inline constexpr double kFullScaleAmplitude = 127.5;
// A level at or below this is no component: the transform's rounding lies far below it.
inline constexpr double kNoComponentDb = -180.0;
// The harmonics marked: orders 2 to this.
inline constexpr int kHighestMarkedHarmonic = 10;

struct Harmonic {
    int Order = 2;
    int Bin = 0;
    // Order x fundamental passes clock / 2, so the line lies at its alias.
    bool Folded = false;
    friend bool operator==(const Harmonic&, const Harmonic&) = default;
};

struct Spectrum {
    // kSpectrumBins levels in dB; -infinity where the transform gives exactly 0.
    std::vector<double> LevelDb;
    // Bin M, or 65536 - M above the Nyquist frequency; none for M = 0 (no tone).
    std::optional<int> FundamentalBin;
    // Orders 2 .. kHighestMarkedHarmonic where there is a fundamental, folded into
    // 0 .. 32768. A harmonic may land on DC or on the fundamental itself.
    std::vector<Harmonic> Harmonics;
    // The strongest component other than DC and the fundamental (harmonics count), the
    // lowest bin among equals; none when no other bin is a component.
    std::optional<int> SpurBin;
    // Fundamental level minus spur level; none without both.
    std::optional<double> SfdrDb;
};

// `bin` (any integer multiple of clock / 65536) brought to where it is seen: reduced
// modulo 65536 and mirrored about 32768.
int FoldedBin(std::int64_t bin) noexcept;

// Recomputes spectra, keeping its transform and buffers between calls.
class SpectrumAnalyzer {
public:
    SpectrumAnalyzer();

    // The spectrum of `table` read at the high byte of an accumulator that starts at 0 and
    // steps by `increment`.
    Spectrum Compute(const dds::WaveformTable& table, std::uint16_t increment);

private:
    RealFft fft_;
    std::vector<double> samples_;
    std::vector<std::complex<double>> bins_;
};

// One SpectrumAnalyzer's Compute, for a caller that computes once.
Spectrum ComputeSpectrum(const dds::WaveformTable& table, std::uint16_t increment);

}  // namespace dac
