// The DAC output's spectrum recompute: 65536 samples from accumulator 0, the real FFT,
// the levels in dB and the spur search, as the window redoes it for a new increment or
// waveform, with the analyzer kept (its twiddles and buffers reused) and made afresh. Goal:
// under 5 ms on one core. Also the transform alone and the sound producer's block.
#include <benchmark/benchmark.h>

#include <complex>
#include <cstdint>
#include <vector>

#include "core/dac/real_fft.h"
#include "core/dac/sound_blocks.h"
#include "core/dac/spectrum.h"

namespace {

void BM_SpectrumRecompute(benchmark::State& state) {
    dac::SpectrumAnalyzer analyzer;
    std::uint16_t increment = 257;
    for (auto _ : state) {
        dac::Spectrum s = analyzer.Compute(dds::SinTable, increment);
        benchmark::DoNotOptimize(s.SfdrDb);
        increment = static_cast<std::uint16_t>(increment + 1);  // a new setting each time
    }
    state.SetLabel("65536 samples, analyzer kept");
}
BENCHMARK(BM_SpectrumRecompute)->Unit(benchmark::kMillisecond);

void BM_SpectrumFresh(benchmark::State& state) {
    for (auto _ : state) {
        dac::Spectrum s = dac::ComputeSpectrum(dds::SqrTable, 1000);
        benchmark::DoNotOptimize(s.SfdrDb);
    }
    state.SetLabel("65536 samples, analyzer made each time");
}
BENCHMARK(BM_SpectrumFresh)->Unit(benchmark::kMillisecond);

void BM_RealFft(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    dac::RealFft fft(size);
    std::vector<double> input(size);
    for (std::size_t i = 0; i < size; ++i) input[i] = static_cast<double>((i * 7919) % 256);
    std::vector<std::complex<double>> output(size / 2 + 1);
    for (auto _ : state) {
        fft.Transform(input, output);
        benchmark::DoNotOptimize(output.data());
    }
}
BENCHMARK(BM_RealFft)->Arg(65536)->Unit(benchmark::kMicrosecond);

void BM_SoundBlock(benchmark::State& state) {
    dac::BlockProducer producer(48000);
    std::vector<std::int16_t> block(480);
    const dac::ToneSetting setting{1000, dds::Waveform::Tri, 25};
    for (auto _ : state) {
        producer.Fill(block, setting);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetItemsProcessed(state.iterations() * 480);
    state.SetLabel("10 ms at 48 kHz; items = samples");
}
BENCHMARK(BM_SoundBlock)->Unit(benchmark::kMicrosecond);

}  // namespace
