// The chart window on the real main window: the time of a full redraw (static layer, line
// and copy to the screen) and of a line-only redraw, at the designed size and maximised,
// and the steps per second the window reaches at its fastest step rate. Goal: a full
// redraw under 5 ms with 10000 visible points, and 100 steps a second (the timer's bound),
// also while the rubber band of a zoom drag moves; and the time of one rubber band move.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Unit1.h"
#include "ui/application.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Pump(std::chrono::milliseconds duration) {
    const auto end = Clock::now() + duration;
    do {
        ui::Application::Current()->ProcessMessages();
        if (Clock::now() >= end) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    } while (true);
}

struct Figures {
    double bestMs;
    double medianMs;
};

Figures Time(int runs, const std::function<void()>& once) {
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        once();
        samples.push_back(MsSince(start));
    }
    std::sort(samples.begin(), samples.end());
    return {samples.front(), samples[samples.size() / 2]};
}

// `stored` samples of random levels, the first `visible` of them in view: the worst case
// for the line, nearly every column spans a long jump. Filled without a repaint per point.
void Fill(TForm1& form, int visible, int stored) {
    form.cbAutoClear.SetChecked(false);
    auto repaint = std::move(form.Series1.OnRepaintRequest);
    form.Series1.OnRepaintRequest = nullptr;
    form.Series1.Clear();
    form.Series1.Reserve(stored);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> level(0, 255);
    for (int i = 0; i < stored; ++i) form.Series1.AddY(level(random));
    form.Series1.OnRepaintRequest = std::move(repaint);
    form.Chart1.BottomAxis.Minimum = 0;
    form.Chart1.BottomAxis.Maximum = visible - 1;
    form.Chart1.RequestFullRedraw();
    Pump(std::chrono::milliseconds(50));
}

void RedrawFigures(TForm1& form, const char* window) {
    HWND chart = form.Chart1.Handle();
    const base::SizePx size = form.Chart1.ClientSizePx();
    struct Case {
        int visible;
        int stored;
    };
    for (const Case c :
         {Case{256, 256}, Case{10000, 10000}, Case{256, 1000000}, Case{10000, 1000000}}) {
        Fill(form, c.visible, c.stored);
        constexpr int kRuns = 40;
        const Figures full = Time(kRuns, [&] {
            form.Chart1.RequestFullRedraw();
            UpdateWindow(chart);
            GdiFlush();
        });
        const Figures line = Time(kRuns, [&] {
            form.Chart1.RequestRepaint();
            UpdateWindow(chart);
            GdiFlush();
        });
        // A paint without a request: the window was uncovered.
        const Figures copy = Time(kRuns, [&] {
            InvalidateRect(chart, nullptr, FALSE);
            UpdateWindow(chart);
            GdiFlush();
        });
        std::printf(
            "%-9s %4d x %-4d %5d visible %7d stored | full redraw %5.2f / %5.2f ms | "
            "line only %5.2f / %5.2f ms | copy only %5.2f / %5.2f ms\n",
            window, size.Width, size.Height, c.visible, c.stored, full.bestMs, full.medianMs,
            line.bestMs, line.medianMs, copy.bestMs, copy.medianMs);
    }
}

// The generator running at TrackBar1's fastest position for about 3 s, starting with a
// full view: `width` points held with auto clear off, 300 fewer with it on (so that the
// series empties about when the time is up).
void StepRate(TForm1& form, int width, bool autoClear) {
    Fill(form, width, autoClear ? std::max(width - 300, 0) : width);
    form.TrackBar2.SetPosition(width);
    form.TrackBar2Change(form.TrackBar2);
    form.cbAutoClear.SetChecked(autoClear);
    form.TrackBar1.SetPosition(500);
    Pump(std::chrono::milliseconds(100));

    int steps = 0;
    auto afterAdd = form.Series1.OnAfterAdd;
    form.Series1.OnAfterAdd = [&steps, &afterAdd](chart::Series& s, int index) {
        ++steps;
        afterAdd(s, index);
    };
    const int redrawsBefore = form.Chart1.RedrawCount();
    form.cbAuto.SetChecked(true);
    const auto start = Clock::now();
    Pump(std::chrono::milliseconds(3000));
    const double seconds = MsSince(start) / 1000.0;
    form.cbAuto.SetChecked(false);
    form.Series1.OnAfterAdd = afterAdd;
    std::printf(
        "steps at TrackBar2 %5d, auto clear %-3s: %6.1f steps/s, %6.1f redraws/s "
        "(%d points held at the end)\n",
        width, autoClear ? "on" : "off", steps / seconds,
        (form.Chart1.RedrawCount() - redrawsBefore) / seconds, form.Series1.Count());
}

// A rubber band move under a zoom drag: the outline erased at its old corner and drawn at
// the new one, straight onto the screen, and nothing redrawn. Corners alternate between a
// small and a large rectangle.
void RubberBandMoveFigures(TForm1& form) {
    chart::ChartView& chart = form.Chart1;
    const HWND hwnd = chart.Handle();
    const chart::RectPx plot = chart.Layout().PlotRectPx;
    const int x0 = plot.Left + 20;
    const int y0 = plot.Top + 20;
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
    const int redraws = chart.RedrawCount();
    const int outlines = chart.OutlineDrawCount();
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
        chart.RedrawCount() - redraws, chart.OutlineDrawCount() - outlines, kMoves);
    Pump(std::chrono::milliseconds(100));
}

// The generator at its fastest while the rubber band is dragged slowly (a few pixels every
// 20 ms, as a hand moves) for about 3 s, with auto clear on at TrackBar2 256.
void StepRateDuringDrag(TForm1& form) {
    Fill(form, 256, 0);
    form.TrackBar2.SetPosition(256);
    form.TrackBar2Change(form.TrackBar2);
    form.cbAutoClear.SetChecked(true);
    form.TrackBar1.SetPosition(500);
    Pump(std::chrono::milliseconds(100));

    chart::ChartView& chart = form.Chart1;
    const HWND hwnd = chart.Handle();
    const chart::RectPx plot = chart.Layout().PlotRectPx;
    int steps = 0;
    auto afterAdd = form.Series1.OnAfterAdd;
    form.Series1.OnAfterAdd = [&steps, &afterAdd](chart::Series& s, int index) {
        ++steps;
        afterAdd(s, index);
    };
    const int redrawsBefore = chart.RedrawCount();
    const int x0 = plot.Left + 20;
    const int y0 = plot.Top + 20;
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
    form.cbAuto.SetChecked(true);
    const auto start = Clock::now();
    int moves = 0;
    while (MsSince(start) < 3000) {
        ++moves;
        SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(x0 + 3 * moves % (plot.Width() - 40), y0 + moves % 300));
        Pump(std::chrono::milliseconds(20));
    }
    const double seconds = MsSince(start) / 1000.0;
    form.cbAuto.SetChecked(false);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x0, y0));
    form.Series1.OnAfterAdd = afterAdd;
    std::printf(
        "steps during a slow rubber band drag (auto clear on, TrackBar2 256): %6.1f steps/s, "
        "%6.1f redraws/s, %5.1f moves/s\n",
        steps / seconds, (chart.RedrawCount() - redrawsBefore) / seconds, moves / seconds);
    Pump(std::chrono::milliseconds(100));
}

}  // namespace

int main() {
    ui::Application application;
    application.SetErrorSink([](std::u16string_view, std::u16string_view text) {
        std::printf("error: %s\n", std::string(text.begin(), text.end()).c_str());
    });
    TForm1::Options options;
    options.MonitorDpi = 120;
    auto form = std::make_unique<TForm1>(options);
    TForm1* raw = form.get();
    application.SetMainWindow(form->Handle(),
                              [raw](const MSG& msg) { return raw->PreviewKey(msg); });
    form->Show(SW_SHOWNORMAL);
    SetForegroundWindow(form->Handle());
    Pump(std::chrono::milliseconds(200));

    std::printf("times: best / median of 40\n");
    std::printf("surface: %s\n", form->Chart1.DrawingSurface() == chart::Surface::GdiPlus
                                     ? "GDI+ (anti-aliased line)"
                                     : "plain GDI");
    RedrawFigures(*form, "designed");
    form->Chart1.SetDrawingSurface(chart::Surface::PlainGdi);
    RedrawFigures(*form, "plain GDI");
    form->Chart1.SetDrawingSurface(chart::Surface::GdiPlus);
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    Pump(std::chrono::milliseconds(300));
    RedrawFigures(*form, "maximised");
    ShowWindow(form->Handle(), SW_RESTORE);
    Pump(std::chrono::milliseconds(300));

    for (const bool autoClear : {true, false}) {
        for (const int width : {256, 10000}) StepRate(*form, width, autoClear);
    }
    RubberBandMoveFigures(*form);
    StepRateDuringDrag(*form);
    return 0;
}
