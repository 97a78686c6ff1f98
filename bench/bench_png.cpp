// Compressing the chart's picture at the designed size (1177 x 448, a sine of 256 points),
// as a copy and a save do it: the time per picture and the file's size. A copy waits for
// it, so it should stay well below a tenth of a second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "core/output/png_encoder.h"
#include "picture_replay.h"

namespace {

std::vector<std::uint32_t> ChartPixels() {
    chart_test::PictureReplay replay(1177, 448);
    for (int i = 0; i < 256; ++i) {
        replay.Append(127.5 + 127.5 * std::sin(i * 2 * std::numbers::pi / 256));
    }
    replay.SetBottomRange(0, 255);
    replay.SetLeftRange(0, 255);
    replay.RedrawAndCheck();
    const chart::PixelImage& picture = replay.Picture();
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < picture.HeightPx(); ++y) {
        for (int x = 0; x < picture.WidthPx(); ++x) pixels.push_back(picture.At(x, y));
    }
    return pixels;
}

void BM_EncodeChartPng(benchmark::State& state) {
    const std::vector<std::uint32_t> pixels = ChartPixels();
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = output::EncodePng(pixels, 1177, 448).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["png_bytes"] = static_cast<double>(bytes);
    state.counters["stored_bytes"] = 1582524;
}
BENCHMARK(BM_EncodeChartPng)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
