#include "win/main_window/main_window.h"

#include <array>
#include <exception>
#include <string>

#include "core/base/number_format.h"
#include "core/chart/auto_clear.h"
#include "core/chart/axis.h"
#include "core/dds/accumulator.h"
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

TForm1::TForm1() : TForm1(Options{}) {}

TForm1::TForm1(Options options) {
    CreateForm(layout::MainFormDesc(), layout::MainFormControls(), ControlsInLayoutOrder());
    ApplyDesignedValues();
    AttachHandlers();
    AddDacMenuItem();
    const int dpi = options.MonitorDpi > 0 ? options.MonitorDpi : ui::MonitorDpiAt({0, 0});
    ScaleToDpi(dpi);
    if (options.BeforeCreate) options.BeforeCreate(*this);
    try {
        FormCreate(*this);
    } catch (...) {
        if (ui::Application* app = ui::Application::Current()) {
            app->ReportError(std::current_exception());
        }
    }
}

TForm1::~TForm1() {
    dacWindow_.reset();
    Timer1.SetOnTimer(nullptr);
    Timer2.SetOnTimer(nullptr);
    // One sweep for the window and its controls, while every control object still exists.
    DestroyHandle();
}

// The controls in the order of the layout table's rows; each is created from its row,
// which names it. CreateForm refuses a row whose kind or parent does not fit.
std::array<ui::Control*, TForm1::kControlCount> TForm1::ControlsInLayoutOrder() {
    return {&Panel2,    &Panel3,  &Chart1,  &btnZoom, &btnClearChart, &cbAutoClear,
            &TrackBar2, &Label5,  &Label6,  &Image1,  &TrackBar1,     &Panel1,
            &Panel4,    &Label1,  &Label2,  &Label3,  &Label4,        &stHi,
            &stLow,     &Button1, &edAdder, &Button2, &cbAuto,        &RzTrackBar1,
            &rbSin,     &rbSaw,   &rbRSaw,  &rbTri,   &rbSqr,         &rbEcg};
}

// What the layout table does not say: the picture, the chart's axes and the timers'
// designed intervals. Nothing here raises an event: no handler is attached yet.
void TForm1::ApplyDesignedValues() {
    Image1.LoadPngResource(IDR_ARROW_PNG);
    Chart1.BottomAxis.Orientation = chart::AxisOrientation::Horizontal;
    Chart1.BottomAxis.Minimum = 0;
    Chart1.BottomAxis.Maximum = 30;
    Chart1.LeftAxis.Orientation = chart::AxisOrientation::Vertical;
    Chart1.LeftAxis.Minimum = 0;
    Chart1.LeftAxis.Maximum = 255;
    Chart1.AddSeries(Series1);
    Timer1.SetInterval(layout::kTimer1DesignIntervalMs);
    Timer2.SetInterval(layout::kTimer2DesignIntervalMs);
}

void TForm1::AttachHandlers() {
    Series1.OnAfterAdd = [this](chart::Series& s, int index) { Series1AfterAdd(s, index); };
    // Each timer starts as soon as its handler is attached.
    Timer1.SetOnTimer([this](ui::Window& s) { Timer1Timer(s); });
    Timer2.SetOnTimer([this](ui::Window& s) { Timer2Timer(s); });
    Button1.OnClick = [this](ui::Window& s) { Button1Click(s); };
    Button2.OnClick = [this](ui::Window& s) { Button2Click(s); };
    edAdder.OnChange = [this](ui::Window& s) { edAdderChange(s); };
    for (ui::RadioButton* rb : {&rbSin, &rbSaw, &rbRSaw, &rbTri, &rbSqr, &rbEcg}) {
        rb->OnClick = [this](ui::Window& s) { rbSinClick(s); };
    }
    cbAuto.OnClick = [this](ui::Window& s) { cbAutoClick(s); };
    Image1.OnClick = [this](ui::Window& s) { Image1Click(s); };
    TrackBar1.OnChange = [this](ui::Window& s) { TrackBar1Change(s); };
    RzTrackBar1.OnChange = [this](ui::Window& s) { RzTrackBar1Change(s); };
    btnZoom.OnClick = [this](ui::Window& s) { btnZoomClick(s); };
    btnClearChart.OnClick = [this](ui::Window& s) { btnClearChartClick(s); };
    TrackBar2.OnChange = [this](ui::Window& s) { TrackBar2Change(s); };
}

// ---------------------------------------------------------------------------
// Creation

void TForm1::FormCreate(ui::Window& sender) {
    WaveTable = dds::SinTable;
    fPhaseAcc = 0;
    fAdder = dds::AdderFromValue(edAdder.Value());
    OutputSample();
    Timer1.SetInterval(StepIntervalMs(TrackBar1.Position()));
    Timer1.SetEnabled(false);
    TrackBar2Change(sender);
}

void TForm1::ApplyStartOptions(const output::StartOptions& options) {
    if (options.Wave) {
        const std::pair<dds::Waveform, ui::RadioButton*> buttons[] = {
            {dds::Waveform::Sin, &rbSin},   {dds::Waveform::Saw, &rbSaw},
            {dds::Waveform::RSaw, &rbRSaw}, {dds::Waveform::Tri, &rbTri},
            {dds::Waveform::Sqr, &rbSqr},   {dds::Waveform::Ecg, &rbEcg},
        };
        for (const auto& [waveform, button] : buttons) {
            if (waveform == *options.Wave) button->SetChecked(true);
        }
    }
    if (options.Increment) {
        // The slider writes the box; a slider already at the value, or one that cannot
        // reach it, leaves the box to be set as if typed.
        if (*options.Increment <= RzTrackBar1.Max()) RzTrackBar1.SetPosition(*options.Increment);
        if (fAdder != *options.Increment) {
            edAdder.SetValue(static_cast<long double>(*options.Increment));
        }
    }
    if (options.IntervalMs) {
        TrackBar1.SetPosition(dds::settings::SpeedPosition(*options.IntervalMs));
    }
    if (options.Width) TrackBar2.SetPosition(*options.Width);
    if (options.AutoClear) cbAutoClear.SetChecked(*options.AutoClear);
    if (options.Run) cbAuto.SetChecked(true);
    if (options.Dac) {
        dacAtShow_ = options;
        if (IsWindowVisible(Handle())) OpenStartDacWindow();
    }
}

// ---------------------------------------------------------------------------
// The generator

void TForm1::OutputSample() {
    const std::uint8_t hi = dds::HighByte(fPhaseAcc);
    stHi.SetCaption(base::IntegerText(hi));
    stLow.SetCaption(base::IntegerText(dds::LowByte(fPhaseAcc)));
    Series1.AddY(static_cast<double>(WaveTable[hi]));
    FollowInDac();
}

void TForm1::Timer1Timer(ui::Window&) {
    fPhaseAcc = dds::Step(fPhaseAcc, fAdder);
    OutputSample();
}

void TForm1::Button1Click(ui::Window& sender) {
    Timer1Timer(sender);
}

void TForm1::Button2Click(ui::Window&) {
    fPhaseAcc = 0;
    stHi.SetCaption(u"0");
    stLow.SetCaption(u"0");
    FollowInDac();
}

void TForm1::edAdderChange(ui::Window&) {
    fAdder = dds::AdderFromValue(edAdder.Value());
    FollowInDac();
}

void TForm1::rbSinClick(ui::Window& sender) {
    // The buttons are tested in this fixed order; only one can be checked.
    const std::pair<const ui::RadioButton*, dds::Waveform> order[] = {
        {&rbSin, dds::Waveform::Sin},   {&rbEcg, dds::Waveform::Ecg}, {&rbSaw, dds::Waveform::Saw},
        {&rbRSaw, dds::Waveform::RSaw}, {&rbTri, dds::Waveform::Tri}, {&rbSqr, dds::Waveform::Sqr},
    };
    for (const auto& [button, waveform] : order) {
        if (button->Checked()) {
            WaveTable = dds::TableFor(waveform);
            break;
        }
    }
    Button2Click(sender);
    Series1.Clear();
}

// ---------------------------------------------------------------------------
// Run control

void TForm1::cbAutoClick(ui::Window&) {
    Timer1.SetEnabled(cbAuto.Checked());
    Button1.SetEnabled(!cbAuto.Checked());
    Timer2.SetEnabled(!Timer1.Enabled());
}

void TForm1::Image1Click(ui::Window& sender) {
    cbAuto.SetChecked(!cbAuto.Checked());
    cbAutoClick(sender);
}

void TForm1::Timer2Timer(ui::Window&) {
    base::RectPx r = Image1.BoundsPx();
    const int height = r.Height();
    r.Bottom =
        r.Top + (height > kArrowRestHeightPx ? kArrowRestHeightPx : height + kArrowPulseStepPx);
    Image1.SetBoundsPx(r);
    UpdateWindow(Image1.Handle());
}

void TForm1::TrackBar1Change(ui::Window&) {
    Timer1.SetInterval(StepIntervalMs(TrackBar1.Position()));
}

void TForm1::RzTrackBar1Change(ui::Window&) {
    edAdder.SetValue(static_cast<long double>(RzTrackBar1.Position()));
}

// ---------------------------------------------------------------------------
// Chart

void TForm1::Series1AfterAdd(chart::Series&, int ValueIndex) {
    if (!cbAutoClear.Checked()) return;
    try {
        if (chart::AutoClearDue(Chart1.BottomAxis.Maximum, ValueIndex)) Series1.Clear();
    } catch (const std::exception&) {
        // Auto clear never reports: the next sample tries again.
    }
}

void TForm1::btnClearChartClick(ui::Window&) {
    Series1.Clear();
}

void TForm1::TrackBar2Change(ui::Window&) {
    const double width = static_cast<double>(TrackBar2.Position());
    try {
        if (Chart1.BottomAxis.SetMaximum(width)) Chart1.RequestRepaint();
    } catch (const chart::AxisRangeError&) {
        // Below the axis's Minimum the axis keeps its Maximum; the slider is not refused.
    }
}

void TForm1::btnZoomClick(ui::Window&) {
    Chart1.UndoZoom();
}
