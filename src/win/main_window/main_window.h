// The main window: its controls as laid out, bound to the generator model. The handlers
// carry the user's actions to the model and show what it gives back; the rules are the
// model's (core/dds/generator.h).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/chart/series.h"
#include "core/dds/generator.h"
#include "core/input/command_line.h"
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

class MainWindow : public ui::Form {
public:
    struct Options {
        int MonitorDpi = 0;  // the density to lay out for; 0: the primary monitor's
        // Runs after the controls, timers and handlers exist and before SetInitialState;
        // lets a test put a seam in place (a failing timer start, for example).
        std::function<void(MainWindow&)> BeforeCreate;
    };

    MainWindow();
    explicit MainWindow(Options options);
    ~MainWindow() override;

    // Each control is created from the layout row of its own name (ControlBindings).
    // The lower panel: the chart and its tools.
    ui::Panel chartPanel;
    chart::ChartView waveformChart;
    ui::PushButton zoomResetButton;
    ui::PushButton clearButton;
    ui::CheckBox autoClearBox;
    ui::TrackBar chartWidthSlider;
    // The upper panel: the generator.
    ui::Panel generatorPanel;
    ui::Label waveTableLabel;  // "the waveform table" beside the waveform buttons
    ui::Label outputLabel;     // "output to the chart or a DAC", pointing at the arrow
    ui::Picture arrow;         // a second run switch; pulses while the generator stands
    ui::TrackBar speedSlider;
    ui::Panel accumulatorPanel;
    ui::Panel waveformPanel;
    // The accumulator panel.
    ui::Label accumulatorLabel;
    ui::Label incrementLabel;
    ui::Label highByteLabel;
    ui::Label lowByteLabel;
    ui::StaticText highByteDisplay;
    ui::StaticText lowByteDisplay;
    ui::PushButton stepButton;  // "+"
    controls::NumericEdit incrementBox;
    ui::PushButton resetButton;  // "Reset Accum"
    ui::CheckBox runBox;         // "START DDS!"
    controls::TickSlider incrementSlider;
    // The waveform panel.
    ui::RadioButton sinButton;
    ui::RadioButton sawButton;
    ui::RadioButton rsawButton;
    ui::RadioButton triButton;
    ui::RadioButton sqrButton;
    ui::RadioButton ecgButton;

    chart::Series outputLine;  // the generator's samples on the chart
    ui::Timer stepTimer;       // one generator step per tick
    ui::Timer pulseTimer;      // the arrow's pulse

    // Handlers, named after what they do.
    // Creation: the generator's start state and its first sample, the step timer set up
    // and stopped, the chart as wide as its slider says.
    void SetInitialState();
    // One step of the generator, shown.
    void Step();
    void ResetAccumulator();
    // The generator takes the increment box's value.
    void TakeIncrement();
    // The waveform of the button that became checked.
    void ChooseWaveform(dds::Waveform wave);
    // The step timer, "+" and the pulse follow "START DDS!".
    void FollowRunBox();
    // The arrow's click: "START DDS!" toggled.
    void ToggleRun();
    void PulseArrow();
    void TakeStepInterval();
    // The increment slider writes the increment box (one way only).
    void PassSliderToBox();
    // Auto clear: the chart is emptied when the point just added lies beyond its width.
    void ClearWhenFull(int valueIndex);
    void ClearChart();
    void TakeChartWidth();
    void ResetZoom();

    // The state chosen on the command line, applied as a user would set it by hand: the
    // waveform's button, the increment slider (or, above its range, the increment box),
    // both sliders, "Auto Clear" and "START DDS!", each through its own handler. An
    // error is reported and the rest is not applied; the window opens as it then stands.
    void ApplyStartOptions(const output::StartOptions& options);

    const dds::Generator& Generator() const noexcept { return generator_; }
    // The button that chooses `wave`.
    ui::RadioButton& WaveButton(dds::Waveform wave) noexcept;

private:
    std::vector<ui::ControlBinding> ControlBindings();
    void ApplyDesignedValues();
    void AttachHandlers();
    void ShowSample(const dds::Sample& sample);
    void ShowChange(const dds::Change& change);
    void ShowAccumulator(std::uint16_t accumulator);

    dds::Generator generator_;
};
