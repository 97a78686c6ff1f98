// The spectrum of the DAC output over one whole accumulator cycle, as dac::PlanSpectrum
// lays it out: levels in dB of a full-scale sine from 0 Hz to clock / 2, the fundamental,
// the harmonics and the spur marked, the SFDR beside the spur. The spectrum depends only
// on the waveform and the increment: it is computed again when one of them changed, at
// the next paint or question, never per step. The picture is drawn when the spectrum, the
// clock, the size or the colours changed; a paint copies it.
//
// Keys on the focused view, as on the chart: Ctrl+C and Ctrl+Insert put its picture and
// its levels (tab-separated) on the clipboard, Ctrl+S saves a PNG picture or the CSV
// numbers (bin,frequency_hz,level_db).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/base/number_symbols.h"
#include "core/dac/spectrum.h"
#include "core/dac/spectrum_plot.h"
#include "core/dac/texts.h"
#include "core/dds/wave_tables.h"
#include "win/output/save_dialog.h"
#include "win/ui/control.h"
#include "win/ui/memory_picture.h"
#include "win/ui/value_events.h"

namespace dacwin {

// The view as shown at one moment: its picture and its levels as CSV text.
struct SpectrumSnapshot {
    int WidthPx = 0;
    int HeightPx = 0;
    std::vector<std::uint32_t> Pixels;  // top row first, 0x00RRGGBB
    std::string CsvText;                // bin,frequency_hz,level_db
};

class SpectrumView : public ui::Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::Spectrum; }

    void SetLanguage(dac::Language language);
    // The tone whose spectrum is shown; the same tone changes nothing.
    void SetTone(dds::Waveform waveform, std::uint16_t increment);
    // The sample clock: the frequency axis and the marks' frequencies.
    void SetClock(int clockHz);

    // The spectrum of the current tone, computed first when it is out of date.
    const dac::Spectrum& CurrentSpectrum() const;
    // Spectra computed since creation.
    int Computations() const noexcept { return computations_; }
    // Pictures drawn since creation.
    int Redraws() const noexcept { return redraws_; }

    SpectrumSnapshot Snapshot();
    // The picture and the tab-separated levels in one open and close of the clipboard;
    // sounds AlertSound and returns false when the clipboard stays held.
    bool CopyToClipboard();
    // The Save dialog, then the file, written whole or not at all; a failure is reported
    // in the error box.
    void SaveWithDialog();
    std::function<std::optional<ui::SaveChoice>(HWND owner)> ChooseSaveFile;
    std::function<void()> AlertSound;

    // A chart whose value states the fundamental's frequency and level and the SFDR.
    std::optional<ui::AccessibleFacts> Accessible() const override;
    std::u16string AccessibleValue() const;

    void ScaleBy(int newDpi, int oldDpi) override;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Changed();
    void Redraw(const RECT& client);
    void Paint();
    bool HandleExportKey(WPARAM key);

    dac::Language language_ = dac::Language::English;
    base::NumberSymbols symbols_{};
    dds::Waveform waveform_ = dds::Waveform::Sin;
    std::uint16_t increment_ = 0;
    int clockHz_ = 48000;
    // The spectrum is a cache of the tone's, filled at the first question after a change.
    mutable dac::SpectrumAnalyzer analyzer_;
    mutable dac::Spectrum spectrum_;
    mutable bool spectrumValid_ = false;
    mutable int computations_ = 0;
    bool pictureValid_ = false;
    int redraws_ = 0;
    ui::MemoryPicture picture_;
    ui::ValueEvents valueEvents_{[this] { return AccessibleValue(); }};
};

}  // namespace dacwin
