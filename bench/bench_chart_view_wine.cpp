// The chart window on the real main window, at the client sizes 1177 x 714 (as designed),
// 1920 x 1040 and 3840 x 2100 (a maximised 4K screen), laid out for 120 and for 192 dpi:
// - redraw times: a full redraw (static layer, line and copy to the screen), the same
//   redraw into the picture alone, the copy alone, and a repaint request that follows no
//   change; random levels (the worst case for the line) and a sine;
// - the generator at its fastest step rate with chartWidthSlider at 256 and 10000, auto clear on
//   and off: steps per second and the process's CPU time per step (GetProcessTimes).
// Goals: 100 steps a second (99 % of the timer's rate) and at most 1 ms of CPU per step at
// every size; a full redraw into the picture of 3840 x 2100 with 10000 points under 10 ms.
// Then the rubber band: the time of one move, and the step rate during a slow drag.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "win/main_window/main_window.h"
#include "win/ui/application.h"
#include "win/ui/locale.h"
#include "win/views/chart_painter.h"
#include "wine_bench.h"

namespace {

using bench::Clock;
using bench::Figures;
using bench::MsSince;
using bench::ProcessCpuMs;
using bench::Pump;
using bench::Time;

constexpr std::chrono::milliseconds kStepRun{2000};

enum class Levels { Random, Sine };

// `stored` samples, the first `visible` of them in view. Random levels are the worst case
// for the line: nearly every column spans a long jump. Filled without a repaint per point.
void Fill(MainWindow& form, int visible, int stored, Levels levels) {
    form.autoClearBox.SetChecked(false);
    auto repaint = std::move(form.outputLine.OnRepaintRequest);
    form.outputLine.OnRepaintRequest = nullptr;
    form.outputLine.Clear();
    form.outputLine.Reserve(stored);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> level(0, 255);
    for (int i = 0; i < stored; ++i) {
        form.outputLine.AddY(levels == Levels::Random
                                 ? level(random)
                                 : std::round(127.5 + 127.5 * std::sin(i * 2 * 3.14159265 / 1000)));
    }
    form.outputLine.OnRepaintRequest = std::move(repaint);
    form.waveformChart.BottomAxis.Minimum = 0;
    form.waveformChart.BottomAxis.Maximum = visible - 1;
    form.waveformChart.RequestFullRedraw();
    Pump(std::chrono::milliseconds(50));
}

// The chart's whole redraw as the window does it, into a picture of the bench's own: the
// layout, the static layer and the line.
class RedrawIntoPicture {
public:
    explicit RedrawIntoPicture(MainWindow& form) : form_(form) {}

    void operator()() {
        chart::ChartView& view = form_.waveformChart;
        const base::SizePx size = view.ClientSizePx();
        const chart::ChartLayout layout =
            chart::LayoutChart(size.Width, size.Height, view.BottomAxis, view.LeftAxis,
                               form_.outputLine.Count(), view.Fonts(), symbols_);
        painter_.InvalidateStaticLayer();
        painter_.Update({.Layout = layout,
                         .Hovered = view.Hovered(),
                         .WidthPx = size.Width,
                         .HeightPx = size.Height,
                         .Fonts = view.Fonts(),
                         .Line = {.LineSurface = view.DrawingSurface(),
                                  .XValues = form_.outputLine.XValues(),
                                  .YValues = form_.outputLine.YValues(),
                                  .SeriesGeneration = form_.outputLine.Generation()}});
        GdiFlush();
    }

private:
    MainWindow& form_;
    chart::ChartPainter painter_;
    base::NumberSymbols symbols_ = ui::UserNumberSymbols();
};

void RedrawFigures(MainWindow& form, const char* window) {
    HWND chart = form.waveformChart.Handle();
    const base::SizePx size = form.waveformChart.ClientSizePx();
    struct Case {
        int visible;
        int stored;
        Levels levels;
    };
    RedrawIntoPicture intoPicture(form);
    for (const Case c : {Case{256, 256, Levels::Random}, Case{10000, 10000, Levels::Random},
                         Case{10000, 10000, Levels::Sine}, Case{10000, 1000000, Levels::Random}}) {
        Fill(form, c.visible, c.stored, c.levels);
        constexpr int kRuns = 30;
        const Figures full = Time(kRuns, [&] {
            form.waveformChart.RequestFullRedraw();
            UpdateWindow(chart);
            GdiFlush();
        });
        const Figures picture = Time(kRuns, [&] { intoPicture(); });
        // A paint without a request: the window was uncovered.
        const Figures copy = Time(kRuns, [&] {
            InvalidateRect(chart, nullptr, FALSE);
            UpdateWindow(chart);
            GdiFlush();
        });
        const Figures request = Time(kRuns, [&] {
            form.waveformChart.RequestRepaint();
            UpdateWindow(chart);
            GdiFlush();
        });
        std::printf(
            "%-14s chart %4d x %-4d %5d visible %7d stored %-6s | full %6.2f / %6.2f | "
            "into picture %6.2f / %6.2f | copy %6.2f / %6.2f | no change %6.2f / %6.2f ms\n",
            window, size.Width, size.Height, c.visible, c.stored,
            c.levels == Levels::Random ? "random" : "sine", full.bestMs, full.medianMs,
            picture.bestMs, picture.medianMs, copy.bestMs, copy.medianMs, request.bestMs,
            request.medianMs);
    }
}

// The generator at speedSlider's fastest position for kStepRun. Auto clear on: the series
// starts half a run short of full, so that the run shows the clear and the line growing
// again; auto clear off: it starts full, so the new points lie beyond the right edge.
void StepRate(MainWindow& form, const char* window, int width, bool autoClear) {
    const int halfRun = static_cast<int>(kStepRun.count() / 20);
    Fill(form, width, autoClear ? std::max(width - halfRun, 0) : width, Levels::Random);
    form.chartWidthSlider.SetPosition(width);
    form.TakeChartWidth();
    form.autoClearBox.SetChecked(autoClear);
    form.speedSlider.SetPosition(500);
    Pump(std::chrono::milliseconds(100));

    int steps = 0;
    auto afterAdd = form.outputLine.OnAfterAdd;
    form.outputLine.OnAfterAdd = [&steps, &afterAdd](chart::Series& s, int index) {
        ++steps;
        afterAdd(s, index);
    };
    const int redrawsBefore = form.waveformChart.Stats().Redraws;
    form.runBox.SetChecked(true);
    const double cpuBefore = ProcessCpuMs();
    const auto start = Clock::now();
    Pump(kStepRun);
    const double seconds = MsSince(start) / 1000.0;
    const double cpuMs = ProcessCpuMs() - cpuBefore;
    form.runBox.SetChecked(false);
    form.outputLine.OnAfterAdd = afterAdd;
    std::printf(
        "%-14s steps, chartWidthSlider %5d, auto clear %-3s: %6.1f steps/s, %6.2f ms CPU per step, "
        "%6.1f redraws/s\n",
        window, width, autoClear ? "on" : "off", steps / seconds, steps ? cpuMs / steps : 0.0,
        (form.waveformChart.Stats().Redraws - redrawsBefore) / seconds);
}

// The rate of a bare 1 ms timer (the platform raises it to 10 ms), for comparison.
int timerTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
    ++timerTicks;
}

void TimerRate() {
    timerTicks = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 1, CountTick);
    const auto start = Clock::now();
    Pump(kStepRun);
    const double seconds = MsSince(start) / 1000.0;
    KillTimer(nullptr, id);
    std::printf("a bare timer of 1 ms: %.1f ticks/s\n", timerTicks / seconds);
}

// Sets the window's client area to `width` x `height`, its client area's corner at the
// screen's corner; false when the platform keeps another size.
bool SetClientSize(MainWindow& form, int width, int height) {
    const HWND hwnd = form.Handle();
    ShowWindow(hwnd, SW_RESTORE);
    RECT window{};
    RECT client{};
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    const int extraX = (window.right - window.left) - client.right;
    const int extraY = (window.bottom - window.top) - client.bottom;
    SetWindowPos(hwnd, nullptr, window.left - origin.x, window.top - origin.y, width + extraX,
                 height + extraY, SWP_NOZORDER);
    Pump(std::chrono::milliseconds(300));
    GetClientRect(hwnd, &client);
    return client.right == width && client.bottom == height;
}

// A rubber band move under a zoom drag: the outline erased at its old corner and drawn at
// the new one, straight onto the screen, and nothing redrawn. Corners alternate between a
// small and a large rectangle.
void RubberBandMoveFigures(MainWindow& form) {
    chart::ChartView& chart = form.waveformChart;
    const HWND hwnd = chart.Handle();
    const chart::RectPx plot = chart.Layout().PlotRectPx;
    const int x0 = plot.Left + 20;
    const int y0 = plot.Top + 20;
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
    const int redraws = chart.Stats().Redraws;
    const int outlines = chart.Stats().OutlineDraws;
    int i = 0;
    constexpr int kMoves = 400;
    const Figures move = Time(kMoves, [&] {
        ++i;
        const int x = i % 2 ? x0 + 40 + i % 7 : plot.Right - 20 - i % 7;
        const int y = i % 2 ? y0 + 30 : plot.Bottom - 20;
        SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        GdiFlush();
    });
    // Released at the press point: no zoom.
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x0, y0));
    std::printf(
        "rubber band move (erase + draw, small and %d x %d outlines): %.3f / %.3f ms; "
        "%d redraws, %d outline drawings in %d moves\n",
        plot.Width() - 40, plot.Height() - 40, move.bestMs, move.medianMs,
        chart.Stats().Redraws - redraws, chart.Stats().OutlineDraws - outlines, kMoves);
    Pump(std::chrono::milliseconds(100));
}

// The generator at its fastest while the rubber band is dragged slowly (a few pixels every
// 20 ms, as a hand moves) for kStepRun, with auto clear on at chartWidthSlider 256.
void StepRateDuringDrag(MainWindow& form) {
    Fill(form, 256, 0, Levels::Random);
    form.chartWidthSlider.SetPosition(256);
    form.TakeChartWidth();
    form.autoClearBox.SetChecked(true);
    form.speedSlider.SetPosition(500);
    Pump(std::chrono::milliseconds(100));

    chart::ChartView& chart = form.waveformChart;
    const HWND hwnd = chart.Handle();
    const chart::RectPx plot = chart.Layout().PlotRectPx;
    int steps = 0;
    auto afterAdd = form.outputLine.OnAfterAdd;
    form.outputLine.OnAfterAdd = [&steps, &afterAdd](chart::Series& s, int index) {
        ++steps;
        afterAdd(s, index);
    };
    const int redrawsBefore = chart.Stats().Redraws;
    const int x0 = plot.Left + 20;
    const int y0 = plot.Top + 20;
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
    form.runBox.SetChecked(true);
    const auto start = Clock::now();
    int moves = 0;
    while (MsSince(start) < static_cast<double>(kStepRun.count())) {
        ++moves;
        SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(x0 + 3 * moves % (plot.Width() - 40), y0 + moves % 300));
        Pump(std::chrono::milliseconds(20));
    }
    const double seconds = MsSince(start) / 1000.0;
    form.runBox.SetChecked(false);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x0, y0));
    form.outputLine.OnAfterAdd = afterAdd;
    std::printf(
        "steps during a slow rubber band drag (auto clear on, chartWidthSlider 256): %6.1f "
        "steps/s, "
        "%6.1f redraws/s, %5.1f moves/s\n",
        steps / seconds, (chart.Stats().Redraws - redrawsBefore) / seconds, moves / seconds);
    Pump(std::chrono::milliseconds(100));
}

std::unique_ptr<MainWindow> ShowForm(ui::Application& application, int dpi) {
    MainWindow::Options options;
    options.MonitorDpi = dpi;
    auto form = std::make_unique<MainWindow>(options);
    MainWindow* raw = form.get();
    application.SetMainWindow(form->Handle(),
                              [raw](const MSG& msg) { return raw->PreviewKey(msg); });
    form->Show(SW_SHOWNORMAL);
    // Showing lays the window out for its monitor's density; then for `dpi` once more, as
    // a move to a monitor of that density would.
    form->ScaleToDpi(dpi);
    SetForegroundWindow(form->Handle());
    Pump(std::chrono::milliseconds(200));
    return form;
}

struct ClientSize {
    int width;
    int height;
};

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ui::Application application;
    application.SetErrorSink([](HWND, std::u16string_view, std::u16string_view text) {
        std::printf("error: %s\n", std::string(text.begin(), text.end()).c_str());
    });
    std::printf("screen %d x %d; times in ms: best / median of 30\n", GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN));
    TimerRate();

    for (const int dpi : {120, 192}) {
        auto form = ShowForm(application, dpi);
        if (dpi == 120) {
            std::printf("surface: %s\n",
                        form->waveformChart.DrawingSurface() == chart::Surface::AntiAliased
                            ? "GDI+ (anti-aliased line)"
                            : "plain GDI");
        }
        for (const ClientSize size :
             {ClientSize{1177, 714}, ClientSize{1920, 1040}, ClientSize{3840, 2100}}) {
            char window[32];
            std::snprintf(window, sizeof window, "%d dpi %dx%d", dpi, size.width, size.height);
            if (form->CurrentDpi() != dpi || form->waveformChart.Fonts().HeightPx() != dpi / 9) {
                std::printf("%s: laid out for %d dpi, label font %d px\n", window,
                            form->CurrentDpi(), form->waveformChart.Fonts().HeightPx());
            }
            if (!SetClientSize(*form, size.width, size.height)) {
                RECT client{};
                GetClientRect(form->Handle(), &client);
                std::printf("%s: the window keeps a client area of %ld x %ld\n", window,
                            client.right, client.bottom);
            }
            RedrawFigures(*form, window);
            for (const bool autoClear : {true, false}) {
                for (const int width : {256, 10000}) StepRate(*form, window, width, autoClear);
            }
        }
        if (dpi == 120) {
            SetClientSize(*form, 1177, 714);
            form->waveformChart.SetDrawingSurface(chart::Surface::Aliased);
            RedrawFigures(*form, "120 plain GDI");
            form->waveformChart.SetDrawingSurface(chart::Surface::AntiAliased);
            RubberBandMoveFigures(*form);
            StepRateDuringDrag(*form);
        }
        application.SetMainWindow(nullptr, nullptr);
        form.reset();
        Pump(std::chrono::milliseconds(100));
    }
    return 0;
}
