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
    // The controls in the order of the layout table's rows.
    const std::array<ui::Control*, 20> controls{&lblClock,       &cbClock,
                                                &lblClockUnit,   &cbListen,
                                                &lblVolume,      &tbVolume,
                                                &lblClockError,  &lblOutputCaption,
                                                &lblOutput,      &lblResolutionCaption,
                                                &lblResolution,  &lblSamplesCaption,
                                                &lblSamples,     &lblNyquistCaption,
                                                &lblNyquist,     &lblAboveNyquist,
                                                &lblSoundStatus, &pwPhase,
                                                &svSpectrum,     &lblSpectrumCaption};
    CreateForm(layout::DacFormDesc(language_), layout::DacFormControls(language_), controls, owner);
    SetMinClientSize(layout::kDacMinClientSize);

    std::vector<std::u16string> clocks;
    for (const int hz : layout::kCommonClocksHz) clocks.push_back(dac::HertzDigits(hz, symbols_));
    cbClock.SetItems(clocks);
    svSpectrum.SetTone(waveform_, increment_);
    pwPhase.SetState(0, increment_);
    pwPhase.SetLanguage(language_);
    svSpectrum.SetLanguage(language_);
    SetClockHz(clockHz_);
    tone_.Store({increment_, waveform_, tbVolume.Position()});
    if (const std::u16string problem = soundProblem_(); !problem.empty()) SoundUnavailable();

    cbClock.OnCommit = [this](ui::Window& s) { ClockCommit(s); };
    cbListen.OnClick = [this](ui::Window& s) { cbListenClick(s); };
    tbVolume.OnChange = [this](ui::Window& s) { tbVolumeChange(s); };

    const int dpi = options.MonitorDpi > 0
                        ? options.MonitorDpi
                        : (owner ? ui::WindowDpi(owner) : ui::MonitorDpiAt({0, 0}));
    ScaleToDpi(dpi);
}

DacWindow::~DacWindow() {
    StopListening();
    DestroyHandle();
}

void DacWindow::Follow(std::uint16_t accumulator, std::uint16_t increment, dds::Waveform waveform) {
    pwPhase.SetState(accumulator, increment);
    if (increment == increment_ && waveform == waveform_) return;
    increment_ = increment;
    waveform_ = waveform;
    svSpectrum.SetTone(waveform, increment);
    ShowFigures();
    StoreTone();
}

void DacWindow::ShowFigures() {
    const dac::FigureLines lines = dac::FigureLinesFor(increment_, clockHz_, language_, symbols_);
    lblOutput.SetCaption(lines.Output);
    lblResolution.SetCaption(lines.Resolution);
    lblSamples.SetCaption(lines.SamplesPerPeriod);
    lblNyquist.SetCaption(lines.Nyquist);
    lblAboveNyquist.SetCaption(lines.AboveNyquist);
}

void DacWindow::StoreTone() {
    tone_.Store({increment_, waveform_, tbVolume.Position()});
}

void DacWindow::SetClockHz(int clockHz) {
    clockHz = dac::ClampClockHz(clockHz);
    const bool restart = Listening() && clockHz != clockHz_;
    clockHz_ = clockHz;
    cbClock.SetText(dac::HertzDigits(clockHz, symbols_));
    lblClockError.SetCaption(u"");
    svSpectrum.SetClock(clockHz);
    ShowFigures();
    if (restart) {
        StopListening();
        StartListening();
    }
}

void DacWindow::ClockCommit(ui::Window&) {
    const std::optional<int> hz =
        dac::ReadClockEntry(cbClock.Text(), symbols_, dac::kMinClockHz, dac::kMaxClockHz);
    if (!hz) {
        // Refused where it was typed: the text stays for the user to mend, nothing applies.
        lblClockError.SetCaption(
            dac::ClockRefusedText(language_, symbols_, dac::kMinClockHz, dac::kMaxClockHz));
        return;
    }
    SetClockHz(*hz);
}

void DacWindow::cbListenClick(ui::Window&) {
    if (cbListen.Checked()) {
        StartListening();
    } else {
        StopListening();
    }
}

void DacWindow::tbVolumeChange(ui::Window&) {
    StoreTone();
}

void DacWindow::StartListening() {
    if (!cbListen.Enabled()) return;
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
    cbListen.SetChecked(true);
}

void DacWindow::StopListening() noexcept {
    if (sound_) sound_->Stop();
    sound_.reset();
}

void DacWindow::SoundUnavailable() {
    cbListen.SetChecked(false);
    cbListen.SetEnabled(false);
    lblSoundStatus.SetCaption(dac::TextsIn(language_).NoSoundDevice);
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
        const bool inClock = msg.hwnd == cbClock.Handle() || IsChild(cbClock.Handle(), msg.hwnd);
        if (msg.wParam == VK_ESCAPE && !(inClock && cbClock.DroppedDown())) {
            Close();
            return true;
        }
        if (msg.wParam == VK_RETURN && inClock && !cbClock.DroppedDown()) {
            cbClock.Commit();
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
