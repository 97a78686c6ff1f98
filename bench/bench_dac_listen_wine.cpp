// Listening while the main window works hard: the sound device plays for a given time
// (default 60 s) while the main window, 3840 x 2100, steps at its fastest rate (100 a
// second) with auto clear on, is resized between 3840 x 2100 and 1920 x 1040 every half
// second, and the increment changes every second. Prints the blocks played against the
// blocks the time holds, the underruns (goal: none) and the window's steps per second.
// With "alone" after the time, the sound plays with no window, for comparison; a number
// after that is the blocks queued (default 4).
// Needs a sound device: scripts/bench runs it through tests/win/sound/sound_test.sh --listen.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/dac/sound_blocks.h"
#include "win/dac/sound_device.h"
#include "win/main_window/main_window.h"
#include "win/ui/application.h"
#include "wine_bench.h"

namespace {

using bench::Clock;
using bench::Pump;

// The window's client area to `width` x `height`, its corner where it is.
void SetClientSize(HWND hwnd, int width, int height) {
    RECT window{};
    RECT client{};
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    const int extraX = (window.right - window.left) - client.right;
    const int extraY = (window.bottom - window.top) - client.bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, width + extraX, height + extraY, SWP_NOZORDER | SWP_NOMOVE);
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const bool alone = argc > 2 && std::string(argv[2]) == "alone";
    const int queued = argc > 3 ? std::max(2, std::atoi(argv[3])) : 4;
    ui::Application application;
    application.SetErrorSink([](HWND, std::u16string_view, std::u16string_view text) {
        std::printf("error: %s\n", std::string(text.begin(), text.end()).c_str());
    });
    MainWindow::Options options;
    options.MonitorDpi = 120;
    auto form = std::make_unique<MainWindow>(options);
    MainWindow* raw = form.get();
    application.SetMainWindow(form->Handle(),
                              [raw](const MSG& msg) { return raw->PreviewKey(msg); });
    form->Show(SW_SHOWNORMAL);
    SetClientSize(form->Handle(), 3840, 2100);
    Pump(std::chrono::milliseconds(300));

    int steps = 0;
    auto afterAdd = form->outputLine.OnAfterAdd;
    form->outputLine.OnAfterAdd = [&steps, &afterAdd](chart::Series& s, int index) {
        ++steps;
        afterAdd(s, index);
    };
    form->autoClearBox.SetChecked(true);
    form->speedSlider.SetPosition(500);

    dac::SharedToneSetting setting({1000, dds::Waveform::Sin, dac::kDesignedVolumePercent});
    dac::SoundDevice device(setting, {48000, 10, queued});
    if (device.State() != dac::SoundState::Playing) {
        const std::u16string why = device.Problem();
        std::printf("no sound: %s\n", std::string(why.begin(), why.end()).c_str());
        return 1;
    }
    form->runBox.SetChecked(!alone);
    const auto start = Clock::now();
    for (int half = 0; half < 2 * seconds; ++half) {
        if (!alone) SetClientSize(form->Handle(), half % 2 ? 1920 : 3840, half % 2 ? 1040 : 2100);
        if (half % 2 == 0) {
            setting.Store({static_cast<std::uint16_t>(1000 + 64 * (half / 2 % 20)),
                           dds::Waveform::Sin, dac::kDesignedVolumePercent});
        }
        Pump(std::chrono::milliseconds(500));
    }
    const double elapsedS = std::chrono::duration<double>(Clock::now() - start).count();
    form->runBox.SetChecked(false);
    const auto played = device.BlocksPlayed();
    const auto underruns = device.Underruns();
    device.Stop();
    std::printf(
        "listen %.1f s at 48 kHz in 10 ms blocks, %d queued: %llu blocks played of %.0f, "
        "%llu underruns; main window %.1f steps/s%s\n",
        elapsedS, queued, static_cast<unsigned long long>(played), elapsedS * 100,
        static_cast<unsigned long long>(underruns), steps / elapsedS,
        alone ? " (idle, not resized)" : " while resized every 0.5 s");
    form->outputLine.OnAfterAdd = afterAdd;
    application.SetMainWindow(nullptr, nullptr);
    return 0;
}
