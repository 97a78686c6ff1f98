// Rendering the generator's output without a window: CSV rows and WAV samples per second,
// into a sink that only counts, and a file of 10 million CSV rows written whole to the
// temporary folder, timed from start to the last byte. Goal: 10 million rows in seconds.
// Figures are wall-clock time: what a user waits for.
#include "core/output/render.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

void BM_RenderCsv(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    std::size_t bytes = 0;
    for (auto _ : state) {
        output::RenderCsv({dds::Waveform::Tri, 700}, rows,
                          [&](std::string_view s) { bytes += s.size(); });
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetLabel("items = CSV rows");
}
BENCHMARK(BM_RenderCsv)->Arg(1024)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderWav(benchmark::State& state) {
    const int seconds = static_cast<int>(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        output::RenderWav({dds::Waveform::Sin, 256}, seconds, 48000,
                          [&](std::string_view s) { bytes += s.size(); });
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * seconds * 48000);
    state.SetLabel("items = samples");
}
BENCHMARK(BM_RenderWav)->Arg(2)->Arg(600)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole way to a file on disk, as the program writes it.
void BM_RenderCsvFile(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "phasebox-bench-render.csv";
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        output::RenderCsv({dds::Waveform::Sin, 256}, rows, [&](std::string_view s) {
            out.write(s.data(), static_cast<std::streamsize>(s.size()));
        });
        out.close();
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * rows);
    state.SetLabel("items = CSV rows written to a file");
}
BENCHMARK(BM_RenderCsvFile)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

}  // namespace
