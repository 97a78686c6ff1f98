#include "win/dac/dac_window.h"

#include <array>
#include <vector>

#include "core/dac/window_values.h"
#include "core/layout/dac_window_layout.h"
#include "win/ui/dpi.h"
#include "win/ui/locale.h"

namespace dacwin {

dac::Language UserLanguage() noexcept {
    return dac::LanguageFromPrimaryId(PRIMARYLANGID(GetUserDefaultUILanguage()));
}

DacWindow::DacWindow(HWND owner, Options options)
    : language_(options.Language.value_or(UserLanguage())),
      symbols_(ui::UserNumberSymbols()),
      clockHz_(dac::ClampClockHz(options.ClockHz)),
      soundOptions_(options.Sound),
      soundProblem_(options.SoundProblem
                        ? std::move(options.SoundProblem)
                        : std::function<std::u16string()>(dac::SoundOutputProblem)) {
    CreateForm(layout::DacFormDesc(language_), layout::DacFormControls(language_),
               ControlBindings(), owner);
    SetMinClientSize(layout::kDacMinClientSize);

    std::vector<std::u16string> clocks;
    for (const int hz : layout::kCommonClocksHz) clocks.push_back(dac::HertzDigits(hz, symbols_));
    clockBox.SetItems(clocks);
    spectrum.SetTone(waveform_, increment_);
    phaseWheel.SetState(0, increment_);
    phaseWheel.SetLanguage(language_);
    spectrum.SetLanguage(language_);
    SetClockHz(clockHz_);
    tone_.Store({increment_, waveform_, volumeSlider.Position()});
    if (const std::u16string problem = soundProblem_(); !problem.empty()) SoundUnavailable();

    clockBox.OnCommit = [this](ui::Window& s) { TakeClock(s); };
    listenBox.OnClick = [this](ui::Window& s) { FollowListenBox(s); };
    volumeSlider.OnChange = [this](ui::Window& s) { TakeVolume(s); };

    const int dpi = options.MonitorDpi > 0
                        ? options.MonitorDpi
                        : (owner ? ui::WindowDpi(owner) : ui::MonitorDpiAt({0, 0}));
    ScaleToDpi(dpi);
}

// Each control and the name of the layout row it is created from.
std::vector<ui::ControlBinding> DacWindow::ControlBindings() {
    return {
        {"clockLabel", clockLabel},
        {"clockBox", clockBox},
        {"clockUnitLabel", clockUnitLabel},
        {"listenBox", listenBox},
        {"volumeLabel", volumeLabel},
        {"volumeSlider", volumeSlider},
        {"clockError", clockError},
        {"outputCaption", outputCaption},
        {"outputValue", outputValue},
        {"resolutionCaption", resolutionCaption},
        {"resolutionValue", resolutionValue},
        {"samplesCaption", samplesCaption},
        {"samplesValue", samplesValue},
        {"nyquistCaption", nyquistCaption},
        {"nyquistValue", nyquistValue},
        {"aboveNyquistNote", aboveNyquistNote},
        {"soundStatus", soundStatus},
        {"phaseWheel", phaseWheel},
        {"spectrum", spectrum},
        {"spectrumCaption", spectrumCaption},
    };
}

DacWindow::~DacWindow() {
    StopListening();
    DestroyHandle();
}

void DacWindow::Follow(std::uint16_t accumulator, std::uint16_t increment, dds::Waveform waveform) {
    phaseWheel.SetState(accumulator, increment);
    if (increment == increment_ && waveform == waveform_) return;
    increment_ = increment;
    waveform_ = waveform;
    spectrum.SetTone(waveform, increment);
    ShowFigures();
    StoreTone();
}

void DacWindow::ShowFigures() {
    const dac::FigureLines lines = dac::FigureLinesFor(increment_, clockHz_, language_, symbols_);
    outputValue.SetCaption(lines.Output);
    resolutionValue.SetCaption(lines.Resolution);
    samplesValue.SetCaption(lines.SamplesPerPeriod);
    nyquistValue.SetCaption(lines.Nyquist);
    aboveNyquistNote.SetCaption(lines.AboveNyquist);
}

void DacWindow::StoreTone() {
    tone_.Store({increment_, waveform_, volumeSlider.Position()});
}

void DacWindow::SetClockHz(int clockHz) {
    clockHz = dac::ClampClockHz(clockHz);
    const bool restart = Listening() && clockHz != clockHz_;
    clockHz_ = clockHz;
    clockBox.SetText(dac::HertzDigits(clockHz, symbols_));
    clockError.SetCaption(u"");
    spectrum.SetClock(clockHz);
    ShowFigures();
    if (restart) {
        StopListening();
        StartListening();
    }
}

void DacWindow::TakeClock(ui::Window&) {
    const std::optional<int> hz =
        dac::ReadClockEntry(clockBox.Text(), symbols_, dac::kMinClockHz, dac::kMaxClockHz);
    if (!hz) {
        // Refused where it was typed: the text stays for the user to mend, nothing applies.
        clockError.SetCaption(
            dac::ClockRefusedText(language_, symbols_, dac::kMinClockHz, dac::kMaxClockHz));
        return;
    }
    SetClockHz(*hz);
}

void DacWindow::FollowListenBox(ui::Window&) {
    if (listenBox.Checked()) {
        StartListening();
    } else {
        StopListening();
    }
}

void DacWindow::TakeVolume(ui::Window&) {
    StoreTone();
}

void DacWindow::StartListening() {
    if (!listenBox.Enabled()) return;
    if (!sound_) {
        dac::SoundDeviceOptions options = soundOptions_;
        options.ClockHz = clockHz_;
        StoreTone();
        sound_ = std::make_unique<dac::SoundDevice>(tone_, options);
        if (sound_->State() == dac::SoundState::NoDevice) {
            sound_.reset();
            SoundUnavailable();
            return;
        }
    }
    // Checking the box raises its click again, which finds the sound playing.
    listenBox.SetChecked(true);
}

void DacWindow::StopListening() noexcept {
    if (sound_) sound_->Stop();
    sound_.reset();
}

void DacWindow::SoundUnavailable() {
    listenBox.SetChecked(false);
    listenBox.SetEnabled(false);
    soundStatus.SetCaption(dac::TextsIn(language_).NoSoundDevice);
}

void DacWindow::Close() {
    StopListening();
    DestroyHandle();
}

bool DacWindow::PreviewKey(const MSG& msg) {
    HWND window = Handle();
    if (!window || (msg.hwnd != window && !IsChild(window, msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN && (GetKeyState(VK_CONTROL) >= 0) &&
        (GetKeyState(VK_MENU) >= 0)) {
        const bool inClock = msg.hwnd == clockBox.Handle() || IsChild(clockBox.Handle(), msg.hwnd);
        if (msg.wParam == VK_ESCAPE && !(inClock && clockBox.DroppedDown())) {
            Close();
            return true;
        }
        if (msg.wParam == VK_RETURN && inClock && !clockBox.DroppedDown()) {
            clockBox.Commit();
            return true;
        }
    }
    return Form::PreviewKey(msg);
}

LRESULT DacWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY:
            // Destroyed with its owner too: the sound stops with the window either way.
            StopListening();
            break;
        default:
            break;
    }
    return Form::HandleMessage(msg, wp, lp);
}

}  // namespace dacwin
