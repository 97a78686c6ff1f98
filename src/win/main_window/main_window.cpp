#include "win/main_window/main_window.h"

#include <exception>
#include <string>

#include "core/base/number_format.h"
#include "core/chart/auto_clear.h"
#include "core/chart/axis.h"
#include "core/dds/settings.h"
#include "core/layout/form_layout.h"
#include "resource_ids.h"
#include "win/ui/application.h"
#include "win/ui/dpi.h"

namespace {

constexpr int kArrowRestHeightPx = 163;  // device pixels, never scaled
constexpr int kArrowPulseStepPx = 5;

unsigned StepIntervalMs(int speedPosition) {
    return static_cast<unsigned>(dds::settings::StepIntervalMs(speedPosition));
}

}  // namespace

MainWindow::MainWindow() : MainWindow(Options{}) {}

MainWindow::MainWindow(Options options) {
    CreateForm(layout::MainWindowDesc(), layout::MainWindowControls(), ControlBindings());
    ApplyDesignedValues();
    AttachHandlers();
    const int dpi = options.MonitorDpi > 0 ? options.MonitorDpi : ui::MonitorDpiAt({0, 0});
    ScaleToDpi(dpi);
    if (options.BeforeCreate) options.BeforeCreate(*this);
    try {
        SetInitialState();
    } catch (...) {
        if (ui::Application* app = ui::Application::Current()) {
            app->ReportError(std::current_exception());
        }
    }
}

MainWindow::~MainWindow() {
    stepTimer.SetOnTimer(nullptr);
    pulseTimer.SetOnTimer(nullptr);
    // One sweep for the window and its controls, while every control object still exists.
    DestroyHandle();
}

// Each control and the name of the layout row it is created from. The order does not
// matter; CreateForm refuses a row without a control, a name without a row, a name given
// twice and a row whose kind or parent does not fit.
std::vector<ui::ControlBinding> MainWindow::ControlBindings() {
    return {
        {"chartPanel", chartPanel},
        {"waveformChart", waveformChart},
        {"zoomResetButton", zoomResetButton},
        {"clearButton", clearButton},
        {"autoClearBox", autoClearBox},
        {"chartWidthSlider", chartWidthSlider},
        {"generatorPanel", generatorPanel},
        {"waveTableLabel", waveTableLabel},
        {"outputLabel", outputLabel},
        {"arrow", arrow},
        {"speedSlider", speedSlider},
        {"accumulatorPanel", accumulatorPanel},
        {"accumulatorLabel", accumulatorLabel},
        {"incrementLabel", incrementLabel},
        {"highByteLabel", highByteLabel},
        {"lowByteLabel", lowByteLabel},
        {"highByteDisplay", highByteDisplay},
        {"lowByteDisplay", lowByteDisplay},
        {"stepButton", stepButton},
        {"incrementBox", incrementBox},
        {"resetButton", resetButton},
        {"runBox", runBox},
        {"incrementSlider", incrementSlider},
        {"waveformPanel", waveformPanel},
        {"sinButton", sinButton},
        {"sawButton", sawButton},
        {"rsawButton", rsawButton},
        {"triButton", triButton},
        {"sqrButton", sqrButton},
        {"ecgButton", ecgButton},
    };
}

ui::RadioButton& MainWindow::WaveButton(dds::Waveform wave) noexcept {
    switch (wave) {
        case dds::Waveform::Sin:
            return sinButton;
        case dds::Waveform::Ecg:
            return ecgButton;
        case dds::Waveform::Saw:
            return sawButton;
        case dds::Waveform::RSaw:
            return rsawButton;
        case dds::Waveform::Tri:
            return triButton;
        case dds::Waveform::Sqr:
            return sqrButton;
    }
    return sinButton;  // no other value is ever made
}

// What the layout table does not say: the picture, the chart's axes and the timers'
// designed intervals. Nothing here raises an event: no handler is attached yet.
void MainWindow::ApplyDesignedValues() {
    arrow.LoadPngResource(IDR_ARROW_PNG);
    waveformChart.BottomAxis.Orientation = chart::AxisOrientation::Horizontal;
    waveformChart.BottomAxis.Minimum = 0;
    waveformChart.BottomAxis.Maximum = 30;
    waveformChart.LeftAxis.Orientation = chart::AxisOrientation::Vertical;
    waveformChart.LeftAxis.Minimum = 0;
    waveformChart.LeftAxis.Maximum = 255;
    waveformChart.AddSeries(outputLine);
    stepTimer.SetInterval(layout::kStepTimerDesignIntervalMs);
    pulseTimer.SetInterval(layout::kPulseTimerDesignIntervalMs);
}

void MainWindow::AttachHandlers() {
    outputLine.OnAfterAdd = [this](chart::Series&, int index) { ClearWhenFull(index); };
    // Each timer starts as soon as its handler is attached.
    stepTimer.SetOnTimer([this](ui::Window&) { Step(); });
    pulseTimer.SetOnTimer([this](ui::Window&) { PulseArrow(); });
    stepButton.OnClick = [this](ui::Window&) { Step(); };
    resetButton.OnClick = [this](ui::Window&) { ResetAccumulator(); };
    incrementBox.OnChange = [this](ui::Window&) { TakeIncrement(); };
    for (const auto& [name, wave] : dds::settings::kWave.Values) {
        WaveButton(wave).OnClick = [this, wave = wave](ui::Window&) { ChooseWaveform(wave); };
    }
    runBox.OnClick = [this](ui::Window&) { FollowRunBox(); };
    arrow.OnClick = [this](ui::Window&) { ToggleRun(); };
    speedSlider.OnChange = [this](ui::Window&) { TakeStepInterval(); };
    incrementSlider.OnChange = [this](ui::Window&) { PassSliderToBox(); };
    zoomResetButton.OnClick = [this](ui::Window&) { ResetZoom(); };
    clearButton.OnClick = [this](ui::Window&) { ClearChart(); };
    chartWidthSlider.OnChange = [this](ui::Window&) { TakeChartWidth(); };
}

// ---------------------------------------------------------------------------
// Creation

void MainWindow::SetInitialState() {
    generator_ = dds::Generator();
    generator_.SetIncrementFromValue(incrementBox.Value());
    ShowSample(generator_.Output());
    stepTimer.SetInterval(StepIntervalMs(speedSlider.Position()));
    stepTimer.SetEnabled(false);
    TakeChartWidth();
}

void MainWindow::ApplyStartOptions(const output::StartOptions& options) {
    if (options.Wave) WaveButton(*options.Wave).SetChecked(true);
    if (options.Increment) {
        // The slider writes the box; a slider already at the value, or one that cannot
        // reach it, leaves the box to be set as if typed.
        if (*options.Increment <= incrementSlider.Max()) {
            incrementSlider.SetPosition(*options.Increment);
        }
        if (generator_.Increment() != *options.Increment) {
            incrementBox.SetValue(static_cast<long double>(*options.Increment));
        }
    }
    if (options.IntervalMs) {
        speedSlider.SetPosition(dds::settings::SpeedPosition(*options.IntervalMs));
    }
    if (options.Width) chartWidthSlider.SetPosition(*options.Width);
    if (options.AutoClear) autoClearBox.SetChecked(*options.AutoClear);
    if (options.Run) runBox.SetChecked(true);
}

// ---------------------------------------------------------------------------
// The generator

void MainWindow::ShowAccumulator(std::uint16_t accumulator) {
    highByteDisplay.SetCaption(base::IntegerText(dds::HighByte(accumulator)));
    lowByteDisplay.SetCaption(base::IntegerText(dds::LowByte(accumulator)));
}

void MainWindow::ShowSample(const dds::Sample& sample) {
    ShowAccumulator(sample.Accumulator);
    outputLine.AddY(static_cast<double>(sample.Value));
}

void MainWindow::ShowChange(const dds::Change& change) {
    ShowAccumulator(change.Accumulator);
    if (change.ClearChart) outputLine.Clear();
}

void MainWindow::Step() {
    ShowSample(generator_.Step());
}

void MainWindow::ResetAccumulator() {
    ShowChange(generator_.Reset());
}

void MainWindow::TakeIncrement() {
    generator_.SetIncrementFromValue(incrementBox.Value());
}

void MainWindow::ChooseWaveform(dds::Waveform wave) {
    ShowChange(generator_.ChooseWaveform(wave));
}

// ---------------------------------------------------------------------------
// Run control

void MainWindow::FollowRunBox() {
    stepTimer.SetEnabled(runBox.Checked());
    stepButton.SetEnabled(!runBox.Checked());
    pulseTimer.SetEnabled(!stepTimer.Enabled());
}

void MainWindow::ToggleRun() {
    // The assignment runs FollowRunBox itself; the second call finds everything in place.
    runBox.SetChecked(!runBox.Checked());
    FollowRunBox();
}

void MainWindow::PulseArrow() {
    base::RectPx r = arrow.BoundsPx();
    const int height = r.Height();
    r.Bottom =
        r.Top + (height > kArrowRestHeightPx ? kArrowRestHeightPx : height + kArrowPulseStepPx);
    // The height stays until the next pulse: a resize of the window keeps it.
    arrow.ResizeTo(r);
    UpdateWindow(arrow.Handle());
}

void MainWindow::TakeStepInterval() {
    stepTimer.SetInterval(StepIntervalMs(speedSlider.Position()));
}

void MainWindow::PassSliderToBox() {
    incrementBox.SetValue(static_cast<long double>(incrementSlider.Position()));
}

// ---------------------------------------------------------------------------
// Chart

void MainWindow::ClearWhenFull(int valueIndex) {
    if (!autoClearBox.Checked()) return;
    if (chart::AutoClearDue(waveformChart.BottomAxis.Maximum, valueIndex)) outputLine.Clear();
}

void MainWindow::ClearChart() {
    outputLine.Clear();
}

// A width below the zoomed axis's Minimum leaves the axis as it is; the slider is not
// refused.
void MainWindow::TakeChartWidth() {
    const double width = static_cast<double>(chartWidthSlider.Position());
    chart::Axis& axis = waveformChart.BottomAxis;
    if (axis.AcceptsMaximum(width) && axis.SetMaximum(width)) waveformChart.RequestRepaint();
}

void MainWindow::ResetZoom() {
    waveformChart.UndoZoom();
}
