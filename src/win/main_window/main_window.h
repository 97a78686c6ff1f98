// The main window: its controls as laid out, the generator's state and every handler.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "core/chart/series.h"
#include "core/dds/wave_tables.h"
#include "core/input/command_line.h"
#include "win/dac/dac_window.h"
#include "win/ui/check_box.h"
#include "win/ui/form.h"
#include "win/ui/label.h"
#include "win/ui/panel.h"
#include "win/ui/picture.h"
#include "win/ui/push_button.h"
#include "win/ui/radio_button.h"
#include "win/ui/static_text.h"
#include "win/ui/timer.h"
#include "win/ui/track_bar.h"
#include "win/views/chart_view.h"
#include "win/views/numeric_edit.h"
#include "win/views/tick_slider.h"

class TForm1 : public ui::Form {
public:
    struct Options {
        int MonitorDpi = 0;  // the density to lay out for; 0: the primary monitor's
        // Runs after the controls, timers and handlers exist and before FormCreate;
        // lets a test put a seam in place (a failing timer start, for example).
        std::function<void(TForm1&)> BeforeCreate;
    };

    TForm1();
    explicit TForm1(Options options);
    ~TForm1() override;

    // Lower panel.
    ui::Panel Panel2;
    chart::ChartView Chart1;
    ui::PushButton btnZoom;
    ui::PushButton btnClearChart;
    ui::CheckBox cbAutoClear;
    ui::TrackBar TrackBar2;
    // Upper panel.
    ui::Panel Panel3;
    ui::Label Label5;
    ui::Label Label6;
    ui::Picture Image1;
    ui::TrackBar TrackBar1;
    ui::Panel Panel1;
    ui::Panel Panel4;
    // Accumulator panel.
    ui::Label Label1;
    ui::Label Label2;
    ui::Label Label3;
    ui::Label Label4;
    ui::StaticText stHi;
    ui::StaticText stLow;
    ui::PushButton Button1;
    controls::NumericEdit edAdder;
    ui::PushButton Button2;
    ui::CheckBox cbAuto;
    controls::TickSlider RzTrackBar1;
    // Waveform selector.
    ui::RadioButton rbSin;
    ui::RadioButton rbSaw;
    ui::RadioButton rbRSaw;
    ui::RadioButton rbTri;
    ui::RadioButton rbSqr;
    ui::RadioButton rbEcg;

    chart::Series Series1;
    ui::Timer Timer1;  // one generator step per tick
    ui::Timer Timer2;  // the arrow's pulse

    // Handlers, named after the control and event they serve.
    void FormCreate(ui::Window& sender);
    void OutputSample();
    void Timer1Timer(ui::Window& sender);
    void Button1Click(ui::Window& sender);
    void Button2Click(ui::Window& sender);
    void edAdderChange(ui::Window& sender);
    void rbSinClick(ui::Window& sender);
    void cbAutoClick(ui::Window& sender);
    void Image1Click(ui::Window& sender);
    void Timer2Timer(ui::Window& sender);
    void TrackBar1Change(ui::Window& sender);
    void RzTrackBar1Change(ui::Window& sender);
    void Series1AfterAdd(chart::Series& sender, int ValueIndex);
    void btnClearChartClick(ui::Window& sender);
    void TrackBar2Change(ui::Window& sender);
    void btnZoomClick(ui::Window& sender);

    // The state chosen on the command line, applied as a user would set it by hand: the
    // waveform's radio button, the increment slider (or, above its range, the increment
    // box), both sliders, "Auto Clear" and "START DDS!", each through its own handler.
    void ApplyStartOptions(const output::StartOptions& options);

    // The DAC output window (main_window_dac.cpp): opened from the system menu, by Ctrl+D
    // anywhere in this window and by the start option --dac; one at a time, an open one
    // brought to the front. It follows every change of the generator.
    void OpenDacWindow();
    dacwin::DacWindow* DacOutput() const noexcept;
    // Ctrl+D; an open DAC output window's keys; then the window's own.
    bool PreviewKey(const MSG& msg) override;

    std::uint16_t PhaseAcc() const noexcept { return fPhaseAcc; }
    std::uint16_t Adder() const noexcept { return fAdder; }
    const dds::WaveformTable& ActiveTable() const noexcept { return WaveTable; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static constexpr std::size_t kControlCount = 30;
    std::array<ui::Control*, kControlCount> ControlsInLayoutOrder();
    void ApplyDesignedValues();
    void AttachHandlers();

    std::uint16_t fPhaseAcc = 0;
    std::uint16_t fAdder = 0;
    dds::WaveformTable WaveTable{};  // the active copy of one stored table

    void AddDacMenuItem();
    // The generator as it stands now, given to an open DAC output window.
    void FollowInDac();
    dds::Waveform CheckedWaveform() const noexcept;
    // The DAC output window the start options asked for, opened once this window shows.
    void OpenStartDacWindow();
    std::optional<output::StartOptions> dacAtShow_;
    std::unique_ptr<dacwin::DacWindow> dacWindow_;
};
