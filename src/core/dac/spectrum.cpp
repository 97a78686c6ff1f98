#include "core/dac/spectrum.h"

#include <cmath>
#include <limits>

#include "core/dds/accumulator.h"

namespace dac {

int FoldedBin(std::int64_t bin) noexcept {
    std::int64_t r = bin % kSpectrumSamples;
    if (r < 0) r += kSpectrumSamples;
    return static_cast<int>(r > kSpectrumSamples / 2 ? kSpectrumSamples - r : r);
}

SpectrumAnalyzer::SpectrumAnalyzer()
    : fft_(kSpectrumSamples), samples_(kSpectrumSamples), bins_(kSpectrumBins) {}

Spectrum SpectrumAnalyzer::Compute(const dds::WaveformTable& table, std::uint16_t increment) {
    std::uint16_t acc = 0;
    for (double& sample : samples_) {
        sample = table[dds::HighByte(acc)];
        acc = dds::Step(acc, increment);
    }
    fft_.Transform(samples_, bins_);

    Spectrum s;
    s.LevelDb.resize(kSpectrumBins);
    constexpr double kEdgeScale = 1.0 / (kSpectrumSamples * kFullScaleAmplitude);
    constexpr double kInnerScale = 2.0 * kEdgeScale;
    for (int k = 0; k < kSpectrumBins; ++k) {
        const double scale = (k == 0 || k == kSpectrumBins - 1) ? kEdgeScale : kInnerScale;
        const double magnitude = std::abs(bins_[static_cast<std::size_t>(k)]);
        s.LevelDb[static_cast<std::size_t>(k)] = magnitude == 0.0
                                                     ? -std::numeric_limits<double>::infinity()
                                                     : 20.0 * std::log10(magnitude * scale);
    }

    if (increment != 0) {
        const int fundamental = FoldedBin(increment);
        s.FundamentalBin = fundamental;
        for (int order = 2; order <= kHighestMarkedHarmonic; ++order) {
            const std::int64_t unfolded = std::int64_t{order} * fundamental;
            s.Harmonics.push_back({order, FoldedBin(unfolded), unfolded > kSpectrumSamples / 2});
        }
    }

    int spur = -1;
    for (int k = 1; k < kSpectrumBins; ++k) {
        if (s.FundamentalBin && k == *s.FundamentalBin) continue;
        const double level = s.LevelDb[static_cast<std::size_t>(k)];
        if (level <= kNoComponentDb) continue;
        if (spur < 0 || level > s.LevelDb[static_cast<std::size_t>(spur)]) spur = k;
    }
    if (spur >= 0) {
        s.SpurBin = spur;
        const double fundamentalDb = s.FundamentalBin
                                         ? s.LevelDb[static_cast<std::size_t>(*s.FundamentalBin)]
                                         : -std::numeric_limits<double>::infinity();
        if (fundamentalDb > kNoComponentDb) {
            s.SfdrDb = fundamentalDb - s.LevelDb[static_cast<std::size_t>(spur)];
        }
    }
    return s;
}

Spectrum ComputeSpectrum(const dds::WaveformTable& table, std::uint16_t increment) {
    return SpectrumAnalyzer().Compute(table, increment);
}

}  // namespace dac
