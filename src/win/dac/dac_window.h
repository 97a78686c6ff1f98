// The "DAC output" window: the generator heard through the sound device at a chosen sample
// clock, its figures, its spectrum and its phase wheel, following every change the main
// window makes. It is owned by the main window (above it, minimised and destroyed with
// it); Escape and Alt+F4 close it, and closing it stops its sound.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/number_symbols.h"
#include "core/dac/sound_blocks.h"
#include "core/dac/texts.h"
#include "core/dds/wave_tables.h"
#include "win/dac/phase_wheel_view.h"
#include "win/dac/sound_device.h"
#include "win/dac/spectrum_view.h"
#include "win/ui/check_box.h"
#include "win/ui/combo_box.h"
#include "win/ui/form.h"
#include "win/ui/label.h"
#include "win/ui/track_bar.h"

namespace dacwin {

// The user's interface language as the window's texts know it.
dac::Language UserLanguage() noexcept;

class DacWindow : public ui::Form {
public:
    struct Options {
        int MonitorDpi = 0;  // the density to lay out for; 0: the owner's monitor's
        std::optional<dac::Language> Language{};  // none: the user's interface language
        int ClockHz = dac::kDesignedClockHz;      // kept within the clock's range
        // Why the system has no sound output, empty when it has one; a seam for tests.
        std::function<std::u16string()> SoundProblem{};
        // The sound device's queue; the designed one unless a test chooses.
        dac::SoundDeviceOptions Sound{};
    };

    // The window, hidden, laid out and showing the designed tone; Follow gives it the
    // generator's. `owner` is the main window.
    DacWindow(HWND owner, Options options);
    ~DacWindow() override;

    ui::Label clockLabel;
    ui::ComboBox clockBox;
    ui::Label clockUnitLabel;
    ui::CheckBox listenBox;
    ui::Label volumeLabel;
    ui::TrackBar volumeSlider;
    ui::Label clockError;
    ui::Label outputCaption;
    ui::Label outputValue;
    ui::Label resolutionCaption;
    ui::Label resolutionValue;
    ui::Label samplesCaption;
    ui::Label samplesValue;
    ui::Label nyquistCaption;
    ui::Label nyquistValue;
    ui::Label aboveNyquistNote;
    ui::Label soundStatus;
    PhaseWheelView phaseWheel;
    SpectrumView spectrum;
    ui::Label spectrumCaption;

    // The generator now: the accumulator after its last step or reset, the increment and
    // the waveform. Cheap when only the accumulator changed (every step): the wheel moves,
    // nothing else is computed; a new increment or waveform updates the figures, the
    // spectrum (at its next paint) and the sound within one block.
    void Follow(std::uint16_t accumulator, std::uint16_t increment, dds::Waveform waveform);

    int ClockHz() const noexcept { return clockHz_; }
    // Applies a sample clock (brought into its range) as a choice in the clock box does;
    // sound playing goes on at the new clock.
    void SetClockHz(int clockHz);
    // Applies the text of the clock box as the user typed it, or refuses it there.
    void TakeClock(ui::Window& sender);
    void FollowListenBox(ui::Window& sender);
    void TakeVolume(ui::Window& sender);

    // Starts playing as a click on "Listen" would; nothing without a sound device.
    void StartListening();
    bool Listening() const noexcept { return sound_ != nullptr; }
    const dac::SoundDevice* Sound() const noexcept { return sound_.get(); }

    dac::Language TextLanguage() const noexcept { return language_; }

    // Escape closes the window (unless the clock's list is open, which it closes); Enter
    // in the clock box applies it; then the window's own navigation.
    bool PreviewKey(const MSG& msg) override;
    // Stops the sound and destroys the window.
    void Close();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::vector<ui::ControlBinding> ControlBindings();
    void ShowFigures();
    void StoreTone();
    void StopListening() noexcept;
    void SoundUnavailable();

    dac::Language language_;
    base::NumberSymbols symbols_;
    int clockHz_;
    std::uint16_t increment_ = 256;
    dds::Waveform waveform_ = dds::Waveform::Sin;
    dac::SharedToneSetting tone_;
    dac::SoundDeviceOptions soundOptions_;
    std::function<std::u16string()> soundProblem_;
    std::unique_ptr<dac::SoundDevice> sound_;
};

}  // namespace dacwin
