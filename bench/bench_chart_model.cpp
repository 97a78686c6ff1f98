// Preparing one chart frame: layout and labels, the visible range, the stepped
// line's vertices and its coverage mask over a 1177 x 448 plot. Goal: under
// 0.5 ms at 10000 visible points, whatever the number of stored points.
#include "chart_test_support.h"
#include "core/chart/plot_layout.h"
#include "core/chart/series.h"
#include "core/chart/stairs_raster.h"
#include "core/chart/visible_range.h"
#include "stair_vertices.h"
#include "stairs_oracle.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kPlotWidthPx = 1177;
constexpr int kPlotHeightPx = 448;

struct Chart {
    chart::Series series;
    chart::Axis bottom;
    chart::Axis left;
    int clientWidthPx = 0;
    int clientHeightPx = 0;
};

struct Frame {
    chart::ChartLayout layout;
    chart::VisibleRange range;
    std::vector<chart::PointPx> vertices;
    chart::CoverageMask line;
};

// Label font stand-in: 6 px per character, "W" 13 px high.
const chart_test::FixedWidthMeasurer kMeasurer;

Frame PrepareFrame(const Chart& c) {
    Frame frame;
    frame.layout = chart::LayoutChart(c.clientWidthPx, c.clientHeightPx, c.bottom, c.left,
                                      c.series.Count(), kMeasurer, chart::NumberSymbols{});
    frame.range = chart::FindVisibleRange(c.series.XValues(), frame.layout.Bottom.DrawnMinimum,
                                          frame.layout.Bottom.DrawnMaximum);
    frame.vertices = chart_test::StairVertices(c.series.XValues(), c.series.YValues(), frame.range,
                                               frame.layout.Bottom, frame.layout.Left);
    frame.line =
        chart_test::RasterizeStairs(frame.vertices, chart::StairsClipRect(frame.layout.PlotRectPx));
    return frame;
}

// A chart whose plot is kPlotWidthPx x kPlotHeightPx, showing 0..bottomMaximum
// and 0..255, holding `storedPoints` samples of random levels: the worst case
// for the line, nearly every column spans a long jump.
void Build(Chart& c, double bottomMaximum, int storedPoints) {
    c.bottom.Maximum = bottomMaximum;
    c.left.Orientation = chart::AxisOrientation::Vertical;
    c.left.Maximum = 255;
    c.series.Reserve(storedPoints);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> level(0, 255);
    for (int i = 0; i < storedPoints; ++i) {
        c.series.AddY(level(random));
    }
    // Size the client area so that the plot comes out at the wanted size.
    c.clientWidthPx = 2000;
    c.clientHeightPx = 1000;
    const chart::RectPx plot = PrepareFrame(c).layout.PlotRectPx;
    c.clientWidthPx += kPlotWidthPx - plot.Width();
    c.clientHeightPx += kPlotHeightPx - plot.Height();
}

void Run(benchmark::State& state, const Chart& c) {
    const Frame check = PrepareFrame(c);
    if (check.layout.PlotRectPx.Width() != kPlotWidthPx ||
        check.layout.PlotRectPx.Height() != kPlotHeightPx) {
        state.SkipWithError("plot rectangle is not 1177 x 448");
        return;
    }
    for (auto _ : state) {
        Frame frame = PrepareFrame(c);
        benchmark::DoNotOptimize(frame.line.Alpha.data());
        benchmark::ClobberMemory();
    }
    state.counters["visible"] = check.range.Last - check.range.First + 1;
    state.counters["vertices"] = static_cast<double>(check.vertices.size());
    state.counters["labels"] = static_cast<double>(check.layout.BottomLabels.Labels.size() +
                                                   check.layout.LeftLabels.Labels.size());
}

// Auto clear on: the series holds the samples 0..Maximum.
void BM_PrepareFrameVisible(benchmark::State& state) {
    const int visible = static_cast<int>(state.range(0));
    Chart c;
    Build(c, visible - 1, visible);
    Run(state, c);
}
BENCHMARK(BM_PrepareFrameVisible)->Arg(30)->Arg(256)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Auto clear off: view 0..256 over a long history.
void BM_PrepareFrameStored(benchmark::State& state) {
    Chart c;
    Build(c, 256, static_cast<int>(state.range(0)));
    Run(state, c);
}
BENCHMARK(BM_PrepareFrameStored)->Arg(1000)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);

// The stages of the 10000-point frame on their own.
void BM_Stage(benchmark::State& state) {
    Chart c;
    Build(c, 9999, 10000);
    const Frame frame = PrepareFrame(c);
    const chart::RectPx clip = chart::StairsClipRect(frame.layout.PlotRectPx);
    for (auto _ : state) {
        switch (state.range(0)) {
            case 0:
                benchmark::DoNotOptimize(chart::LayoutChart(c.clientWidthPx, c.clientHeightPx,
                                                            c.bottom, c.left, c.series.Count(),
                                                            kMeasurer, chart::NumberSymbols{}));
                break;
            case 1:
                benchmark::DoNotOptimize(chart::FindVisibleRange(c.series.XValues(), 0,
                                                                 frame.layout.Bottom.DrawnMaximum));
                break;
            case 2:
                benchmark::DoNotOptimize(
                    chart_test::StairVertices(c.series.XValues(), c.series.YValues(), frame.range,
                                              frame.layout.Bottom, frame.layout.Left));
                break;
            case 3:
                benchmark::DoNotOptimize(chart_test::RasterizeStairs(frame.vertices, clip));
                break;
            default:
                benchmark::DoNotOptimize(chart_test::CollapseColumns(frame.vertices));
                break;
        }
        benchmark::ClobberMemory();
    }
    static const char* const kNames[] = {"layout+labels", "visible range", "vertices", "rasterize",
                                         "collapse columns"};
    state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_Stage)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// One sample added to a series that auto clear empties every 10001 samples.
void BM_AddY(benchmark::State& state) {
    chart::Series series;
    series.OnAfterAdd = [](chart::Series& sender, int valueIndex) {
        if (valueIndex > 10000) {
            sender.Clear();
        }
    };
    double y = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(series.AddY(y));
        y = y < 255 ? y + 1 : 0;
    }
}
BENCHMARK(BM_AddY);

}  // namespace
