// The DAC output window beside the running main window, under Wine:
// - the main window's generator at its fastest step rate (1 ms asked, 100 steps a second
//   as the timer allows) without the DAC output window and with it open, following
//   every step: steps per second and the process's CPU time per step (GetProcessTimes);
// - what a change of tone costs the DAC window: the spectrum's computation (65536 samples
//   and their transform) and its drawing, and one frame of the phase wheel.
// Aim: the CPU per step with the window open no worse than without it by more than the
// wheel's frame; the spectrum never computed by a step.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "win/dac/dac_window.h"
#include "win/main_window/main_window.h"
#include "win/ui/application.h"
#include "wine_bench.h"

namespace {

using bench::Clock;
using bench::Figures;
using bench::MsSince;
using bench::ProcessCpuMs;
using bench::Pump;
using bench::Time;

constexpr std::chrono::milliseconds kStepRun{3000};

// The generator at its fastest for kStepRun.
void StepRate(MainWindow& form, const char* label) {
    form.speedSlider.SetPosition(form.speedSlider.Max());
    const std::uint16_t before = form.Generator().Accumulator();
    const int redraws = form.DacOutput() ? form.DacOutput()->phaseWheel.FrameDraws() : 0;
    const int spectra = form.DacOutput() ? form.DacOutput()->spectrum.Computations() : 0;
    form.runBox.SetChecked(true);
    const double cpuBefore = ProcessCpuMs();
    const auto start = Clock::now();
    int steps = 0;
    std::uint16_t last = before;
    // Steps counted by the accumulator's movement, one increment each.
    while (MsSince(start) < static_cast<double>(kStepRun.count())) {
        Pump(std::chrono::milliseconds(100));
        const std::uint16_t now = form.Generator().Accumulator();
        steps +=
            static_cast<std::uint16_t>(now - last) / std::max<int>(1, form.Generator().Increment());
        last = now;
    }
    const double seconds = MsSince(start) / 1000.0;
    const double cpuMs = ProcessCpuMs() - cpuBefore;
    form.runBox.SetChecked(false);
    std::printf("%-28s %6.1f steps/s, %6.3f ms CPU per step", label, steps / seconds,
                steps ? cpuMs / steps : 0.0);
    if (const dacwin::DacWindow* dac = form.DacOutput()) {
        std::printf(", %6.1f wheel frames/s, %d spectra computed",
                    (dac->phaseWheel.FrameDraws() - redraws) / seconds,
                    dac->spectrum.Computations() - spectra);
    }
    std::printf("\n");
    Pump(std::chrono::milliseconds(100));
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ui::Application application;
    application.SetErrorSink([](HWND, std::u16string_view, std::u16string_view text) {
        std::printf("error: %s\n", std::string(text.begin(), text.end()).c_str());
    });
    auto form = std::make_unique<MainWindow>();
    MainWindow* raw = form.get();
    application.SetMainWindow(form->Handle(),
                              [raw](const MSG& msg) { return raw->PreviewKey(msg); });
    form->Show(SW_SHOWNORMAL);
    Pump(std::chrono::milliseconds(300));
    // The increment keeps every step's accumulator apart within one 100 ms read.
    form->incrementBox.SetValue(7);

    StepRate(*form, "without the DAC window:");
    form->OpenDacWindow();
    Pump(std::chrono::milliseconds(300));
    StepRate(*form, "with the DAC window open:");
    form->DacOutput()->Close();
    StepRate(*form, "without it, again:");

    dacwin::DacWindow* dac = form->DacOutput();
    if (!dac) {
        form->OpenDacWindow();
        dac = form->DacOutput();
        Pump(std::chrono::milliseconds(300));
    }
    int increment = 1000;
    const Figures spectrum = Time(20, [&] {
        dac->Follow(0, static_cast<std::uint16_t>(++increment), dds::Waveform::Tri);
        dac->spectrum.CurrentSpectrum();
    });
    const Figures spectrumShown = Time(20, [&] {
        dac->Follow(0, static_cast<std::uint16_t>(++increment), dds::Waveform::Sqr);
        UpdateWindow(dac->spectrum.Handle());
    });
    std::uint16_t acc = 0;
    const Figures frame = Time(200, [&] {
        acc = static_cast<std::uint16_t>(acc + increment);
        dac->Follow(acc, static_cast<std::uint16_t>(increment), dds::Waveform::Sqr);
        UpdateWindow(dac->phaseWheel.Handle());
    });
    std::printf(
        "a change of tone: the spectrum computed %.2f / %.2f ms, computed and drawn "
        "%.2f / %.2f ms (best / median)\n",
        spectrum.bestMs, spectrum.medianMs, spectrumShown.bestMs, spectrumShown.medianMs);
    std::printf("a step: one frame of the phase wheel %.3f / %.3f ms (best / median)\n",
                frame.bestMs, frame.medianMs);
    application.SetMainWindow(nullptr, nullptr);
    form.reset();
    return 0;
}
