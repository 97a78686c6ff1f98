// The chart's mouse and zoom models under random presses, moves, releases, wheel turns,
// undos, lost captures and repaints, over random layouts, with the view played as the
// window plays it: the chart is laid out again on every repaint and draws the outline
// the model shows on top. Ranges stay finite and ordered, the rubber band's inverting
// outline is erased exactly once for every drawing, the capture is taken and released in
// turn, every change of the view is saved first, and undo returns the saved view exactly.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "chart_test_support.h"
#include "core/chart/chart_mouse.h"
#include "core/chart/plot_layout.h"
#include "core/chart/zoom.h"
#include "fuzz_support.h"

namespace {

using chart::Axis;
using chart::ChartMouse;
using chart::ChartZoom;
using chart::DragMode;
using chart::MouseButton;
using chart::MouseEffects;
using chart::PointPx;
using chart::ViewSnapshot;
using chart::ZoomOutline;
using fuzz::Fail;
using fuzz::Require;

bool FiniteOrdered(const Axis& axis) {
    return std::isfinite(axis.Minimum) && std::isfinite(axis.Maximum) &&
           std::isfinite(axis.Maximum - axis.Minimum) && axis.Minimum <= axis.Maximum;
}

// A range as the program may start with: finite, ordered, of finite width.
void SetStartRange(FuzzedDataProvider& data, Axis& axis, double minimum, double maximum) {
    if (data.ConsumeBool()) {
        const double a = fuzz::AwkwardFinite(data);
        const double b = fuzz::AwkwardFinite(data);
        if (std::isfinite(b - a)) {
            minimum = std::min(a, b);
            maximum = std::max(a, b);
        }
    }
    axis.Minimum = minimum;
    axis.Maximum = maximum;
    axis.Automatic = data.ConsumeBool();
    axis.AutomaticMinimum = data.ConsumeBool();
    axis.AutomaticMaximum = data.ConsumeBool();
}

// What the window holds: the chart's two axes, the layout of its last drawing, the
// models, and what it knows of the screen and the capture.
class ChartDriver {
public:
    explicit ChartDriver(FuzzedDataProvider& data) : data_(data) {
        widthPx_ = data.ConsumeIntegralInRange(0, 3000);
        heightPx_ = data.ConsumeIntegralInRange(0, 3000);
        seriesCount_ = data.ConsumeIntegralInRange(0, 20000);
        SetStartRange(data, bottom_, 0, 256);
        SetStartRange(data, left_, 0, 255);
        left_.Orientation = chart::AxisOrientation::Vertical;
        Paint();
    }

    void Step() {
        const ViewSnapshot before = View();
        const bool pendingBefore = zoom_.SavedViewPending();
        switch (data_.ConsumeIntegralInRange(0, 9)) {
            case 0:
            case 1: {
                const MouseButton button = Button();
                const PointPx at = Point();
                const DragMode modeBefore = mouse_.Mode();
                const chart::PressTarget target = chart::HitTest(drawn_, at);
                Apply(mouse_.Press(button, at, data_.ConsumeBool(), drawn_), "press");
                DragMode expected = modeBefore;
                if (modeBefore == DragMode::Idle && target != chart::PressTarget::None &&
                    button != MouseButton::Middle) {
                    expected =
                        button == MouseButton::Left ? DragMode::Zooming : DragMode::Scrolling;
                }
                Require(mouse_.Mode() == expected, "a press on a target starts its drag");
                break;
            }
            case 2:
            case 3:
            case 4: {
                const MouseEffects fx = mouse_.Move(Point(), zoom_, bottom_, left_);
                Require(fx.Repaint || View() == before, "a move that changes the view repaints");
                Apply(fx, "move");
                break;
            }
            case 5: {
                const MouseEffects fx = mouse_.Release(Button(), Point(), zoom_, bottom_, left_);
                Require(fx.Repaint || View() == before, "a release that changes the view repaints");
                Apply(fx, "release");
                break;
            }
            case 6: {
                // The platform's wheel delta is 16 bits wide: at most 273 notches a message.
                const int delta = data_.ConsumeBool() ? data_.ConsumeIntegralInRange(-600, 600)
                                                      : data_.ConsumeIntegral<std::int16_t>();
                const int steps = zoom_.Wheel(delta, bottom_, left_);
                Require(steps != 0 || View() == before,
                        "a wheel turn without a step changes nothing");
                Require(std::abs(zoom_.WheelRest()) < chart::kWheelDeltaPerStep,
                        "the wheel's rest");
                Require(bottom_.Minimum == before.Bottom.Minimum &&
                            bottom_.Maximum == before.Bottom.Maximum,
                        "the wheel leaves the bottom axis");
                break;
            }
            case 7:
                zoom_.UndoZoom(bottom_, left_);
                break;
            case 8:
                Apply(mouse_.CaptureLost(), "lost capture");
                captured_ = false;
                Require(mouse_.Mode() == DragMode::Idle, "a lost capture ends the drag");
                break;
            default:
                Paint();
                break;
        }
        CheckState(before, pendingBefore);
    }

    // Undo after the whole sequence.
    void Finish() {
        const ViewSnapshot before = View();
        const bool pendingBefore = zoom_.SavedViewPending();
        zoom_.UndoZoom(bottom_, left_);
        CheckState(before, pendingBefore);
        Require(!zoom_.SavedViewPending(), "undo clears the saved view");
    }

private:
    ViewSnapshot View() const {
        return {chart::AxisSnapshot::Of(bottom_), chart::AxisSnapshot::Of(left_)};
    }

    MouseButton Button() { return static_cast<MouseButton>(data_.ConsumeIntegralInRange(0, 2)); }

    // Mostly in and around the plot, now and then anywhere the capture reports.
    PointPx Point() {
        if (data_.ConsumeIntegralInRange(0, 7) == 0) {
            return {data_.ConsumeIntegral<std::int16_t>(), data_.ConsumeIntegral<std::int16_t>()};
        }
        const chart::RectPx& plot = drawn_.PlotRectPx;
        return {data_.ConsumeIntegralInRange(plot.Left - 40, std::max(plot.Left, plot.Right) + 40),
                data_.ConsumeIntegralInRange(plot.Top - 40, std::max(plot.Top, plot.Bottom) + 40)};
    }

    void Paint() {
        drawn_ = chart::LayoutChart(widthPx_, heightPx_, bottom_, left_, seriesCount_, measurer_,
                                    base::NumberSymbols{});
        for (const auto& [axis, laid] :
             {std::pair{&bottom_, &drawn_.Bottom}, std::pair{&left_, &drawn_.Left}}) {
            axis->DrawnMinimum = laid->DrawnMinimum;
            axis->DrawnMaximum = laid->DrawnMaximum;
            axis->AxisStartPx = laid->AxisStartPx;
            axis->AxisEndPx = laid->AxisEndPx;
        }
        screenOutline_ = mouse_.OutlineShown();  // a new picture, the outline on top
    }

    // Plays the effects on the screen and the capture, as the view does, in their order.
    void Apply(const MouseEffects& fx, const char* input) {
        if (fx.EraseOutline) {
            if (!(screenOutline_ == fx.EraseOutline)) {
                Fail(std::string(input) + " erases an outline that is not on the screen");
            }
            screenOutline_.reset();
        }
        if (fx.DrawOutline) {
            if (screenOutline_) Fail(std::string(input) + " draws over an outline not erased");
            screenOutline_ = fx.DrawOutline;
        }
        if (fx.Capture) {
            Require(!captured_, "the capture is taken only when not held");
            captured_ = true;
        }
        if (fx.ReleaseCapture) {
            Require(captured_, "the capture is released only when held");
            captured_ = false;
            // The platform reports the capture's end to the window that released it.
            const MouseEffects lost = mouse_.CaptureLost();
            Require(lost == MouseEffects{}, "the capture's end after a release does nothing");
        }
    }

    void CheckState(const ViewSnapshot& before, bool pendingBefore) {
        for (const Axis* axis : {&bottom_, &left_}) {
            if (!FiniteOrdered(*axis)) {
                Fail("the range " + fuzz::Show(axis->Minimum) + ".." + fuzz::Show(axis->Maximum) +
                     " is not finite and ordered");
            }
        }
        Require(captured_ == (mouse_.Mode() != DragMode::Idle),
                "the capture is held while dragging");
        Require(screenOutline_ == mouse_.OutlineShown(), "the screen shows the model's outline");
        if (mouse_.Mode() == DragMode::Idle) Require(!screenOutline_, "no outline after a drag");

        const bool pending = zoom_.SavedViewPending();
        if (pending && !pendingBefore) {
            Require(zoom_.SavedView() == before, "the view saved is the one before the change");
            saved_ = before;
        } else if (pending) {
            Require(zoom_.SavedView() == *saved_, "the saved view stays until undone");
        } else if (pendingBefore) {
            Require(View() == *saved_, "undo restores the saved view exactly");
            saved_.reset();
        } else {
            Require(View() == before, "the view changes only after it is saved");
        }
    }

    FuzzedDataProvider& data_;
    int widthPx_ = 0;
    int heightPx_ = 0;
    int seriesCount_ = 0;
    chart_test::FixedWidthMeasurer measurer_;
    Axis bottom_;
    Axis left_;
    chart::ChartLayout drawn_;
    ChartMouse mouse_;
    ChartZoom zoom_;
    std::optional<ViewSnapshot> saved_;
    std::optional<ZoomOutline> screenOutline_;
    bool captured_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    ChartDriver driver(data);
    for (int event = 0; event < 64 && data.remaining_bytes() > 0; ++event) driver.Step();
    driver.Finish();
    return 0;
}
