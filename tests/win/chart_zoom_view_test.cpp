// Zoom, scroll, wheel and "1:1" on the real main window, driven by real pointer input:
// the rubber band's pixels as GDI draws them, the outline on the screen during a drag and
// the picture alone after it (also with the step timer repainting underneath), the
// interplay with auto clear, the width slider and "Clear", the focus, the press bands, and
// views far from the data that the chart must keep drawing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include "chart_window.h"
#include "core/chart/labels.h"
#include "win/ui/locale.h"
#include "win/ui/memory_picture.h"
#include "win/views/rubber_band.h"

namespace {

using chart::AxisSnapshot;
using chart::DragMode;
using chart::ZoomOutline;
using namespace std::chrono_literals;
using wintest::ChartWindow;
using wintest::Copy;
using wintest::Differences;
using wintest::Pixels;
using wintest::PointPx;
using wintest::RectPx;
using wintest::Screen;

constexpr COLORREF kSilver = RGB(192, 192, 192);

COLORREF Background() {
    return GetSysColor(COLOR_BTNFACE);
}

// What one drawing of the outline makes of a pixel of colour `under`.
COLORREF Mixed(COLORREF under, COLORREF background) {
    return ~(under ^ chart::RubberBandPenColour(background)) & 0xFFFFFF;
}

// The pixels one drawing of the outline covers under GDI, worked out by drawing outlines
// into a picture and looking (see RubberBandPathRect): a frame reaching one pixel beyond
// the path through both corners, or a line 3 pixels thick without its far end.
bool Covers(const ZoomOutline& outline, int x, int y) {
    const int l = std::min(outline.Start.XPx, outline.Corner.XPx);
    const int r = std::max(outline.Start.XPx, outline.Corner.XPx);
    const int t = std::min(outline.Start.YPx, outline.Corner.YPx);
    const int b = std::max(outline.Start.YPx, outline.Corner.YPx);
    if (l < r && t < b) {
        const bool inFrame = x >= l - 1 && x <= r + 1 && y >= t - 1 && y <= b + 1;
        const bool inside = x >= l + 2 && x <= r - 2 && y >= t + 2 && y <= b - 2;
        return inFrame && !inside;
    }
    if (l == r && t < b) return x >= l - 1 && x <= l + 1 && y >= t && y < b;
    if (t == b && l < r) return y >= t - 1 && y <= t + 1 && x >= l && x < r;
    return false;
}

// `picture` with one drawing of the outline applied.
Pixels WithOutline(Pixels picture, const ZoomOutline& outline) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            COLORREF& c = picture.colours[static_cast<std::size_t>(y * picture.width + x)];
            if (Covers(outline, x, y)) c = Mixed(c, Background());
        }
    }
    return picture;
}

// ---------------------------------------------------------------------------
// The outline as GDI draws it, in an off-screen picture

class RubberBand : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(picture.Ensure(64, 48)); }

    void Fill(const std::function<std::uint32_t(int x, int y)>& colour) {
        for (int y = 0; y < picture.HeightPx(); ++y) {
            for (int x = 0; x < picture.WidthPx(); ++x) picture.Row(y)[x] = colour(x, y);
        }
    }
    void FillBackground() {
        const COLORREF b = Background();
        const std::uint32_t pixel = static_cast<std::uint32_t>(GetRValue(b)) << 16 |
                                    static_cast<std::uint32_t>(GetGValue(b)) << 8 | GetBValue(b);
        Fill([pixel](int, int) { return pixel; });
    }
    void Draw(const ZoomOutline& outline) {
        ASSERT_TRUE(chart::DrawRubberBand(picture.Dc(), outline, Background()));
        GdiFlush();
    }

    ui::MemoryPicture picture;
};

TEST_F(RubberBand, PenColourShowsSilverOverTheBackground) {
    for (const COLORREF b : {Background(), RGB(240, 240, 240), RGB(0, 0, 0), RGB(12, 200, 77)}) {
        EXPECT_EQ(~(b ^ chart::RubberBandPenColour(b)) & 0xFFFFFF, kSilver) << std::hex << b;
    }
    EXPECT_EQ(chart::RubberBandPenColour(RGB(240, 240, 240)), RGB(0xCF, 0xCF, 0xCF));
}

TEST_F(RubberBand, CoversTheThreePixelFrameThroughBothCornersOnce) {
    const ZoomOutline cases[] = {
        {{10, 10}, {40, 30}},   {{40, 30}, {10, 10}}, {{40, 10}, {10, 30}},  // any corner order
        {{10, 10}, {11, 11}},   {{10, 10}, {12, 12}}, {{10, 10}, {13, 13}},  // filled up
        {{10, 10}, {14, 14}},   {{10, 10}, {15, 30}},                        // first hole
        {{20, 5}, {20, 40}},    {{20, 40}, {20, 5}},                         // no width
        {{5, 20}, {50, 20}},    {{50, 20}, {5, 20}},                         // no height
        {{-10, -10}, {30, 20}}, {{50, 40}, {90, 90}},                        // beyond the edges
    };
    for (const ZoomOutline& outline : cases) {
        SCOPED_TRACE(testing::Message()
                     << "(" << outline.Start.XPx << ", " << outline.Start.YPx << ") to ("
                     << outline.Corner.XPx << ", " << outline.Corner.YPx << ")");
        FillBackground();
        Draw(outline);
        int covered = 0;
        int wrong = 0;
        for (int y = 0; y < picture.HeightPx(); ++y) {
            for (int x = 0; x < picture.WidthPx(); ++x) {
                const bool expected = Covers(outline, x, y);
                covered += expected;
                const COLORREF shown = picture.PixelAt(x, y);
                if (shown != (expected ? kSilver : Background()) && ++wrong <= 5) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << std::hex << shown;
                }
            }
        }
        EXPECT_GT(covered, 0);
        Draw(outline);
        for (int y = 0; y < picture.HeightPx(); ++y) {
            for (int x = 0; x < picture.WidthPx(); ++x) {
                ASSERT_EQ(picture.PixelAt(x, y), Background()) << x << ", " << y;
            }
        }
    }
}

TEST_F(RubberBand, DrawingTwiceRestoresAnyPicture) {
    std::mt19937 random(7);
    Fill([&random](int, int) { return static_cast<std::uint32_t>(random() & 0xFFFFFF); });
    const Pixels before = Copy(picture);
    const ZoomOutline outline{{50, 3}, {6, 41}};
    Draw(outline);
    EXPECT_EQ(Differences(Copy(picture), WithOutline(before, outline)), 0);
    Draw(outline);
    EXPECT_EQ(Differences(Copy(picture), before), 0);
}

// A paint draws the outline through its clipping; the rest of the screen kept it. The two
// parts together must be exactly one drawing.
TEST_F(RubberBand, DrawingsClippedToARegionAndToTheRestMakeOneDrawing) {
    FillBackground();
    const Pixels before = Copy(picture);
    const ZoomOutline outline{{8, 6}, {55, 40}};
    ui::UniqueHandle<ui::GdiObjectTraits<HRGN>> region(CreateRectRgn(0, 0, 30, 20));
    ui::UniqueHandle<ui::GdiObjectTraits<HRGN>> second(CreateRectRgn(40, 25, 64, 48));
    CombineRgn(region.Get(), region.Get(), second.Get(), RGN_OR);
    ASSERT_NE(SelectClipRgn(picture.Dc(), region.Get()), ERROR);
    Draw(outline);
    const auto inRegion = [&](int x, int y) { return PtInRegion(region.Get(), x, y) != FALSE; };
    Pixels expected = before;
    for (int y = 0; y < before.height; ++y) {
        for (int x = 0; x < before.width; ++x) {
            if (inRegion(x, y) && Covers(outline, x, y)) {
                expected.colours[static_cast<std::size_t>(y * before.width + x)] = kSilver;
            }
        }
    }
    EXPECT_EQ(Differences(Copy(picture), expected), 0);
    ui::UniqueHandle<ui::GdiObjectTraits<HRGN>> rest(CreateRectRgn(0, 0, 64, 48));
    CombineRgn(rest.Get(), rest.Get(), region.Get(), RGN_DIFF);
    SelectClipRgn(picture.Dc(), rest.Get());
    Draw(outline);
    SelectClipRgn(picture.Dc(), nullptr);
    EXPECT_EQ(Differences(Copy(picture), WithOutline(before, outline)), 0);
}

// ---------------------------------------------------------------------------
// The real window

class ChartZoomWindow : public ChartWindow {
protected:
    void SetUp() override {
        ChartWindow::SetUp();
        errorsBefore = wintest::ErrorLog().size();
        before = View();
    }
    void TearDown() override {
        form->runBox.SetChecked(false);
        EXPECT_EQ(wintest::ErrorLog().size(), errorsBefore) << "an error was reported";
        ChartWindow::TearDown();
    }

    struct ViewState {
        AxisSnapshot bottom;
        AxisSnapshot left;
        bool operator==(const ViewState&) const = default;
    };
    ViewState View() const {
        return {AxisSnapshot::Of(view->BottomAxis), AxisSnapshot::Of(view->LeftAxis)};
    }

    // The pixel of a value pair with the last drawing's scale.
    PointPx At(double x, double y) const {
        return {view->Layout().Bottom.ValueToPx(x), view->Layout().Left.ValueToPx(y)};
    }
    PointPx PlotCentre() const {
        return {(Plot().Left + Plot().Right) / 2, (Plot().Top + Plot().Bottom) / 2};
    }
    // Inside the chart also when its plot is laid out beyond it (labels wider than it).
    PointPx ChartCentre() const {
        const base::SizePx size = view->ClientSizePx();
        return {size.Width / 2, size.Height / 2};
    }

    void Press(PointPx at, DWORD button = MOUSEEVENTF_LEFTDOWN) {
        wintest::SendInputAndWait({PointerAt(at), PointerAt(at, button)});
    }
    void Release(PointPx at, DWORD button = MOUSEEVENTF_LEFTUP) {
        wintest::SendInputAndWait({PointerAt(at, button)});
    }
    // A drag in `moves` steps, the chart repainted after each: a scroll step takes the
    // shift from the last drawing.
    void Drag(PointPx from, PointPx to, DWORD down, DWORD up, int moves = 4) {
        Press(from, down);
        for (int i = 1; i <= moves; ++i) {
            MoveMouseTo({from.XPx + (to.XPx - from.XPx) * i / moves,
                         from.YPx + (to.YPx - from.YPx) * i / moves});
            PaintNow();
        }
        Release(to, up);
        PaintNow();
    }
    void ZoomDrag(PointPx from, PointPx to) {
        Drag(from, to, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    }
    void ScrollDrag(PointPx from, PointPx to, int moves = 4) {
        Drag(from, to, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, moves);
    }
    void Wheel(std::initializer_list<int> notches) {
        std::vector<INPUT> inputs;
        for (const int delta : notches) {
            INPUT in = PointerAt(ChartCentre(), MOUSEEVENTF_WHEEL);
            in.mi.mouseData = static_cast<DWORD>(delta);
            inputs.push_back(in);
        }
        wintest::SendInputAndWait(std::move(inputs));
    }
    void ClickButton(const ui::Window& button) {
        RECT r{};
        GetClientRect(button.Handle(), &r);
        wintest::ClickAt(button.Handle(), r.right / 2, r.bottom / 2);
    }

    // The first column whose value is at least `x`.
    int FirstColumnAtLeast(double x) const {
        int px = view->Layout().Bottom.ValueToPx(x) - 2;
        while (view->BottomAxis.PxToValue(px) < x) ++px;
        return px;
    }

    // The step timer at its fastest for a few steps: the chart goes on drawing, with few
    // labels, each on a pixel of its own, and nothing is reported.
    void ExpectTheChartKeepsDrawing() {
        int steps = 0;
        auto afterAdd = form->outputLine.OnAfterAdd;
        form->outputLine.OnAfterAdd = [&steps, &afterAdd](chart::Series& s, int index) {
            ++steps;
            afterAdd(s, index);
        };
        const int redraws = view->Stats().Redraws;
        form->speedSlider.SetPosition(500);
        form->runBox.SetChecked(true);
        EXPECT_TRUE(wintest::PumpUntil(
            [&] { return steps >= 5 && view->Stats().Redraws >= redraws + 3; }, 10s))
            << steps << " steps, " << view->Stats().Redraws - redraws << " redraws";
        form->runBox.SetChecked(false);
        form->outputLine.OnAfterAdd = afterAdd;
        PaintNow();
        EXPECT_EQ(wintest::ErrorLog().size(), errorsBefore);
        const chart::ChartLayout& layout = view->Layout();
        const base::NumberSymbols symbols = ui::UserNumberSymbols();
        const struct {
            const chart::Axis& axis;
            const chart::AxisLabels& labels;
        } axes[] = {{layout.Bottom, layout.BottomLabels}, {layout.Left, layout.LeftLabels}};
        for (const auto& a : axes) {
            for (const double end : {a.axis.DrawnMinimum, a.axis.DrawnMaximum}) {
                EXPECT_TRUE(std::isfinite(end));
            }
            const int room = chart::RoomForLabels(
                chart::LabelSizePx(a.axis, view->Fonts(), symbols), a.axis.LengthPx());
            EXPECT_LE(static_cast<int>(a.labels.Labels.size()), chart::MaxLabelCount(room));
            // A range that formats as "0" throughout has narrow labels: room for about 140.
            EXPECT_LE(a.labels.Labels.size(), 200u);
            std::set<int> ticks;
            for (const chart::AxisLabel& label : a.labels.Labels) ticks.insert(label.TickPx);
            EXPECT_EQ(ticks.size(), a.labels.Labels.size()) << "two labels on one pixel";
            EXPECT_LE(a.labels.MinorTickPx.size(), 3 * a.labels.Labels.size());
        }
    }

    std::size_t errorsBefore = 0;
    ViewState before;
};

// ---------------------------------------------------------------------------
// Interplay with the rest of the window

TEST_F(ChartZoomWindow, ZoomedInto10To20AutoClearEmptiesAtTheNextSampleAndAtIndex21) {
    ASSERT_TRUE(form->autoClearBox.Checked());
    Plus(30);
    ASSERT_EQ(form->outputLine.Count(), 31);
    PaintNow();
    ZoomDrag({FirstColumnAtLeast(10), Plot().Top + 20},
             {FirstColumnAtLeast(20), Plot().Bottom - 20});
    ASSERT_GE(view->BottomAxis.Maximum, 20);
    ASSERT_LT(view->BottomAxis.Maximum, 21);
    EXPECT_NEAR(view->BottomAxis.Minimum, 10, 0.25);
    EXPECT_EQ(form->outputLine.Count(), 31) << "a zoom changes no data";

    Plus();
    EXPECT_EQ(form->outputLine.Count(), 0) << "index 31 lies beyond the view";
    Plus(21);
    ASSERT_EQ(form->outputLine.Count(), 21);
    PaintNow();
    const auto xs = form->outputLine.XValues();
    const chart::VisibleRange visible =
        chart::FindVisibleRange(xs, view->BottomAxis.DrawnMinimum, view->BottomAxis.DrawnMaximum);
    EXPECT_GE(xs[static_cast<std::size_t>(visible.First)], 10) << "0 to 9 lie left of the view";
    EXPECT_EQ(visible.Last, 20);
    Plus();
    EXPECT_EQ(form->outputLine.Count(), 0) << "index 21 empties the series again";
}

TEST_F(ChartZoomWindow, ScrolledIntoNegativeBottomValuesEverySampleIsRemovedAtOnce) {
    ASSERT_TRUE(form->autoClearBox.Checked());
    const int y = PlotCentre().YPx;
    for (int drag = 0; drag < 2; ++drag) {
        ScrollDrag({Plot().Left + 10, y}, {Plot().Left + 710, y}, 7);
    }
    ASSERT_LT(view->BottomAxis.Maximum, 0) << "two drags of 700 px move it by more than 256";
    EXPECT_NEAR(view->BottomAxis.Maximum - view->BottomAxis.Minimum, 256, 1e-9);
    EXPECT_EQ(view->LeftAxis.Minimum, 0) << "a purely horizontal drag";
    EXPECT_TRUE(view->Zoom().SavedViewPending());
    for (int i = 0; i < 5; ++i) {
        Plus();
        EXPECT_EQ(form->outputLine.Count(), 0);
    }
}

TEST_F(ChartZoomWindow, SliderWhileZoomedSetsTheRightEdgeUntilBelowMinimumAndOneToOneRestores) {
    ZoomDrag({FirstColumnAtLeast(50), Plot().Top + 30},
             {FirstColumnAtLeast(100), Plot().Top + 200});
    const double minimum = view->BottomAxis.Minimum;
    ASSERT_NEAR(minimum, 50, 0.25);
    ASSERT_NEAR(view->BottomAxis.Maximum, 100, 0.25);

    form->chartWidthSlider.SetPosition(1000);
    PaintNow();
    EXPECT_EQ(view->BottomAxis.DrawnMinimum, minimum);
    EXPECT_EQ(view->BottomAxis.DrawnMaximum, 1000);
    form->chartWidthSlider.SetPosition(30);
    PaintNow();
    EXPECT_EQ(form->chartWidthSlider.Position(), 30);
    EXPECT_EQ(view->BottomAxis.Minimum, minimum);
    EXPECT_EQ(view->BottomAxis.Maximum, 1000) << "below Minimum the slider has no effect";

    ClickButton(form->zoomResetButton);
    EXPECT_EQ(View(), before);
    EXPECT_FALSE(view->Zoom().SavedViewPending());
    EXPECT_EQ(form->chartWidthSlider.Position(), 30) << "the slider keeps its own position";
    PaintNow();
    EXPECT_EQ(view->BottomAxis.DrawnMaximum, 256);
    ClickButton(form->zoomResetButton);
    EXPECT_EQ(View(), before) << "a second \"1:1\" changes nothing";
}

TEST_F(ChartZoomWindow, ClearKeepsTheZoomedView) {
    Plus(20);
    PaintNow();
    ZoomDrag(At(20, 200), At(120, 50));
    const ViewState zoomed = View();
    ASSERT_NE(zoomed, before);
    ClickButton(form->clearButton);
    EXPECT_EQ(form->outputLine.Count(), 0);
    EXPECT_EQ(View(), zoomed);
    EXPECT_TRUE(view->Zoom().SavedViewPending());
}

// The chart takes the focus from the edit box whatever else the press does.
TEST_F(ChartZoomWindow, PressIntoTheChartTakesTheFocusFromTheEditBox) {
    const chart::AxisLabel& label = view->Layout().BottomLabels.Labels.front();
    const PointPx onLabel{(label.TextRect.Left + label.TextRect.Right) / 2,
                          (label.TextRect.Top + label.TextRect.Bottom) / 2};
    const struct {
        PointPx at;
        DWORD down, up;
        const char* what;
    } cases[] = {
        {PlotCentre(), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, "left, in the plot"},
        {PlotCentre(), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, "right, in the plot"},
        {PlotCentre(), MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, "middle"},
        {onLabel, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, "on a label's text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RECT edit{};
        GetClientRect(form->incrementBox.Handle(), &edit);
        wintest::ClickAt(form->incrementBox.Handle(), edit.right / 2, edit.bottom / 2);
        ASSERT_EQ(GetFocus(), form->incrementBox.Handle());
        Press(c.at, c.down);
        EXPECT_EQ(GetFocus(), view->Handle());
        Release(c.at, c.up);
        EXPECT_EQ(GetFocus(), view->Handle());
    }
    EXPECT_EQ(View(), before);
}

// The model's band table on the window as laid out: the tick marks start a drag, the
// labels' text does not.
TEST_F(ChartZoomWindow, PressesOnTheTickMarksStartADragAndOnLabelTextNothing) {
    const RectPx plot = Plot();
    const chart::AxisLabel& bottomLabel = view->Layout().BottomLabels.Labels[3];
    const chart::AxisLabel& leftLabel = view->Layout().LeftLabels.Labels[3];
    const auto centre = [](const RectPx& r) {
        return PointPx{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    };
    const int midX = PlotCentre().XPx;
    const int midY = PlotCentre().YPx;
    const struct {
        PointPx at;
        DWORD down, up;
        DragMode mode;
        const char* what;
    } cases[] = {
        {{midX, plot.Bottom + 4},
         MOUSEEVENTF_LEFTDOWN,
         MOUSEEVENTF_LEFTUP,
         DragMode::Zooming,
         "bottom tick marks"},
        {{midX, plot.Bottom + 6},
         MOUSEEVENTF_RIGHTDOWN,
         MOUSEEVENTF_RIGHTUP,
         DragMode::Scrolling,
         "far end of the bottom ticks"},
        {{plot.Left - 5, midY},
         MOUSEEVENTF_LEFTDOWN,
         MOUSEEVENTF_LEFTUP,
         DragMode::Zooming,
         "left tick marks"},
        {{plot.Left - 7, midY},
         MOUSEEVENTF_RIGHTDOWN,
         MOUSEEVENTF_RIGHTUP,
         DragMode::Scrolling,
         "far end of the left ticks"},
        {centre(bottomLabel.TextRect), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, DragMode::Idle,
         "bottom label text"},
        {{midX, plot.Bottom + 7},
         MOUSEEVENTF_RIGHTDOWN,
         MOUSEEVENTF_RIGHTUP,
         DragMode::Idle,
         "first row of the bottom labels"},
        {centre(leftLabel.TextRect), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, DragMode::Idle,
         "left label text"},
        {{plot.Left - 8, midY},
         MOUSEEVENTF_LEFTDOWN,
         MOUSEEVENTF_LEFTUP,
         DragMode::Idle,
         "last column of the left labels"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Press(c.at, c.down);
        EXPECT_EQ(view->Mouse().Mode(), c.mode);
        EXPECT_EQ(GetCapture(), c.mode == DragMode::Idle ? nullptr : view->Handle());
        Release(c.at, c.up);
        EXPECT_EQ(view->Mouse().Mode(), DragMode::Idle);
        EXPECT_EQ(GetCapture(), nullptr);
    }
    EXPECT_EQ(View(), before);
}

// Several wheel notches handled before a paint: one redraw. Only the left axis moves.
TEST_F(ChartZoomWindow, WheelNotchesScrollTheLeftAxisWithOneRedrawForThemAll) {
    Press(PlotCentre());
    Release(PlotCentre());  // the chart has the focus: the wheel comes to it
    ASSERT_EQ(GetFocus(), view->Handle());
    PaintNow();
    const int redraws = view->Stats().Redraws;
    Wheel({120, 120, 120});
    EXPECT_NEAR(view->LeftAxis.Minimum, 3 * 7.65, 1e-9);
    EXPECT_NEAR(view->LeftAxis.Maximum, 255 + 3 * 7.65, 1e-9);
    PaintNow();
    EXPECT_EQ(view->Stats().Redraws, redraws + 1);
    Wheel({-60, -60});  // two halves make one step down
    EXPECT_NEAR(view->LeftAxis.Minimum, 2 * 7.65, 1e-9);
    EXPECT_EQ(view->BottomAxis.Minimum, before.bottom.Minimum);
    EXPECT_EQ(view->BottomAxis.Maximum, before.bottom.Maximum);
    ClickButton(form->zoomResetButton);
    EXPECT_EQ(View(), before);
}

// Moving the rubber band draws the outline twice straight onto the screen and asks for no
// repaint; a scroll step asks for one.
TEST_F(ChartZoomWindow, RubberBandMovesRedrawNothingAndScrollStepsRedrawOnce) {
    const PointPx start = PlotCentre();
    Press(start);
    const int redraws = view->Stats().Redraws;
    int outlines = view->Stats().OutlineDraws;
    MoveMouseTo({start.XPx + 40, start.YPx + 30});
    EXPECT_EQ(view->Stats().OutlineDraws, outlines + 1) << "the first outline: nothing to erase";
    for (int i = 1; i <= 10; ++i) {
        outlines = view->Stats().OutlineDraws;
        MoveMouseTo({start.XPx + 40 + 7 * i, start.YPx + 30 - 5 * i});
        EXPECT_EQ(view->Stats().OutlineDraws, outlines + 2);
        EXPECT_FALSE(GetUpdateRect(view->Handle(), nullptr, FALSE));
    }
    wintest::Pump(50ms);
    EXPECT_EQ(view->Stats().Redraws, redraws);
    Release({start.XPx + 110, start.YPx - 20});
    PaintNow();
    EXPECT_EQ(view->Stats().Redraws, redraws + 1) << "the zoom";

    Press(start, MOUSEEVENTF_RIGHTDOWN);
    for (int i = 1; i <= 3; ++i) {
        const int redrawn = view->Stats().Redraws;
        MoveMouseTo({start.XPx + 20 * i, start.YPx});
        PaintNow();
        EXPECT_EQ(view->Stats().Redraws, redrawn + 1);
    }
    Release({start.XPx + 60, start.YPx}, MOUSEEVENTF_RIGHTUP);
}

// ---------------------------------------------------------------------------
// The outline on the screen

TEST_F(ChartZoomWindow, DuringADragTheScreenShowsThePictureWithTheOutlineOnTop) {
    Plus(60);
    PaintNow();
    const PointPx start = At(30, 220);
    const PointPx corner = At(180, 40);
    Press(start);
    MoveMouseTo({start.XPx + 5, start.YPx + 5});
    MoveMouseTo(corner);
    ASSERT_EQ(Pointer(), corner);
    const ZoomOutline outline{start, corner};
    ASSERT_EQ(view->Mouse().OutlineShown(), outline);
    const auto expectOutlineOnPicture = [&] {
        const Pixels picture = Copy(view->Picture());
        int silver = 0;
        const Pixels screen = Screen(view->Handle());
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                silver += Covers(outline, x, y) && picture.At(x, y) == Background() &&
                          screen.At(x, y) == kSilver;
            }
        }
        EXPECT_GT(silver, 800) << "silver over the background";
        ExpectScreenShows(WithOutline(picture, outline));
    };
    expectOutlineOnPicture();

    view->RequestRepaint();  // a sample would do the same
    const int redraws = view->Stats().Redraws;
    PaintNow();
    ASSERT_EQ(view->Stats().Redraws, redraws + 1);
    expectOutlineOnPicture();

    // A paint of a part only: the window uncovered across one corner of the outline.
    const RECT part{start.XPx - 30, corner.YPx - 20, start.XPx + 50, corner.YPx + 60};
    InvalidateRect(view->Handle(), &part, FALSE);
    PaintNow();
    expectOutlineOnPicture();

    Release(corner);
    ExpectScreenShows(Copy(view->Picture()));  // erased before the zoom's repaint
    PaintNow();
    ExpectScreenShows(Copy(view->Picture()));
}

TEST_F(ChartZoomWindow, AfterTheReleaseTheScreenShowsAFreshRedrawOfTheNewView) {
    Plus(80);
    PaintNow();
    const PointPx start = At(10, 250);
    Press(start);
    for (int i = 1; i <= 30; ++i) {
        MoveMouseTo({start.XPx + 23 * i, start.YPx + 9 * i});
    }
    Release({start.XPx + 700, start.YPx + 280});
    PaintNow();
    ASSERT_NE(View(), before);
    const Pixels shown = Screen(view->Handle());
    view->RequestFullRedraw();
    PaintNow();
    const Pixels fresh = Copy(view->Picture());
    EXPECT_EQ(Differences(shown, fresh, Visible()), 0);
    ExpectScreenShows(fresh);
}

// The step timer at 100 steps a second repaints the chart under a slow drag; every repaint
// puts the outline back, so the screen always holds the picture and the current outline,
// and once the button is up the picture alone.
TEST_F(ChartZoomWindow, SlowDragWithTheStepTimerRunningLeavesNoTrace) {
    form->speedSlider.SetPosition(500);
    // An increment of 1 brings the accumulator back only after 65536 steps, so a changed
    // accumulator below means the generator stepped during the drag.
    form->incrementBox.SetValue(1);
    form->runBox.SetChecked(true);
    ASSERT_TRUE(form->stepTimer.Enabled());
    wintest::Pump(200ms);
    const PointPx start = At(20, 240);
    Press(start);
    const int redraws = view->Stats().Redraws;
    const std::uint16_t phase = form->Generator().Accumulator();
    const auto expectScreenConsistent = [&] {
        const Pixels picture = Copy(view->Picture());
        const std::optional<ZoomOutline> outline = view->Mouse().OutlineShown();
        ExpectScreenShows(outline ? WithOutline(picture, *outline) : picture);
    };
    const auto began = std::chrono::steady_clock::now();
    for (int i = 1; i <= 80; ++i) {
        MoveMouseTo({start.XPx + 9 * i, start.YPx + 3 * i + (i % 7)});
        wintest::Pump(20ms);
        if (i % 10 == 0) expectScreenConsistent();
        if (i == 45) {
            const RECT part{start.XPx, start.YPx, start.XPx + 500, start.YPx + 150};
            InvalidateRect(view->Handle(), &part, FALSE);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    EXPECT_GT(view->Stats().Redraws - redraws, 20) << "the samples repainted the chart";
    EXPECT_NE(form->Generator().Accumulator(), phase);
    Release({start.XPx + 720, start.YPx + 250});
    expectScreenConsistent();
    ASSERT_EQ(view->Mouse().OutlineShown(), std::nullopt);
    wintest::Pump(100ms);
    form->runBox.SetChecked(false);
    PaintNow();
    ExpectScreenShows(Copy(view->Picture()));
    std::printf("[ figures  ] slow drag: %.1f s, %.0f redraws/s with the timer at 1 ms\n", seconds,
                (view->Stats().Redraws - redraws) / seconds);
}

// Another window taking the capture (a dialog opening, say) ends the drag: the outline
// goes, the view stays.
TEST_F(ChartZoomWindow, LosingTheCaptureErasesTheOutlineAndChangesNothing) {
    const PointPx start = At(40, 200);
    Press(start);
    MoveMouseTo({start.XPx + 300, start.YPx + 150});
    ASSERT_EQ(GetCapture(), view->Handle());
    ASSERT_NE(view->Mouse().OutlineShown(), std::nullopt);
    SetCapture(form->Handle());
    EXPECT_EQ(view->Mouse().Mode(), DragMode::Idle);
    ExpectScreenShows(Copy(view->Picture()));
    ReleaseCapture();
    Release({start.XPx + 300, start.YPx + 150});
    EXPECT_EQ(View(), before);
    ExpectScreenShows(Copy(view->Picture()));
}

// The second press of a double click arrives as a double-click message: a press as well.
TEST_F(ChartZoomWindow, TheSecondPressOfADoubleClickStartsADragToo) {
    const PointPx at = PlotCentre();
    wintest::SendInputAndWait({PointerAt(at), PointerAt(at, MOUSEEVENTF_LEFTDOWN),
                               PointerAt(at, MOUSEEVENTF_LEFTUP),
                               PointerAt(at, MOUSEEVENTF_LEFTDOWN)});
    EXPECT_EQ(view->Mouse().Mode(), DragMode::Zooming);
    EXPECT_EQ(GetCapture(), view->Handle());
    MoveMouseTo({at.XPx + 100, at.YPx + 60});
    Release({at.XPx + 100, at.YPx + 60});
    EXPECT_NE(View(), before) << "the drag from the second press zooms";
}

// ---------------------------------------------------------------------------
// Views far from the data

TEST_F(ChartZoomWindow, FiftyTinyZoomsInARowKeepTheChartDrawing) {
    Plus(100);
    for (int i = 0; i < 50; ++i) {
        const PointPx c = PlotCentre();
        ZoomDrag({c.XPx - 10, c.YPx - 10}, {c.XPx + 10, c.YPx + 10});
    }
    EXPECT_LT(view->BottomAxis.Maximum - view->BottomAxis.Minimum, 1e-9);
    EXPECT_LT(view->LeftAxis.Maximum - view->LeftAxis.Minimum, 1e-9);
    ExpectTheChartKeepsDrawing();
    ClickButton(form->zoomResetButton);
    EXPECT_EQ(View(), before);
}

// Ranges the mouse cannot reach in any real session, written directly, then scrolled and
// wheeled by real input: near +-1e300, near the largest doubles, and empty.
TEST_F(ChartZoomWindow, FarAndEmptyRangesKeepTheChartDrawing) {
    const struct {
        double bottomMinimum, bottomMaximum, leftMinimum, leftMaximum;
        const char* what;
    } cases[] = {
        {1e300, 1e300 + 1e290, 0, 255, "bottom near 1e300"},
        {-1e300, -1e300 + 1e288, -20, 20, "bottom near -1e300"},
        {DBL_MAX - 1e293, DBL_MAX, 0, 255, "bottom at the largest double"},
        {-DBL_MAX, -DBL_MAX + 1e294, 0, 255, "bottom at the lowest double"},
        {30, 30, 100, 100, "both empty"},
        {1e300, 1e300, 0, 255, "bottom empty, far out"},
        {0, 256, 1e300, 1e300 + 1e290, "left near 1e300"},
        {0, 256, -DBL_MAX, -DBL_MAX + 1e294, "left at the lowest double"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        view->BottomAxis.Minimum = c.bottomMinimum;
        view->BottomAxis.Maximum = c.bottomMaximum;
        view->LeftAxis.Minimum = c.leftMinimum;
        view->LeftAxis.Maximum = c.leftMaximum;
        view->RequestRepaint();
        PaintNow();
        const PointPx centre = ChartCentre();
        ScrollDrag(centre, {centre.XPx - 400, centre.YPx + 150}, 3);
        Wheel({120, -120, 120});
        PaintNow();
        ExpectTheChartKeepsDrawing();
        ClickButton(form->zoomResetButton);
    }
}

// A chart shrunk to nothing converts every pixel to 0: a zoom released there gives
// -1e-10..1e-10 on both axes, and the chart draws that when it grows again.
TEST_F(ChartZoomWindow, ZoomOnAChartShrunkToNothingGivesTheWidenedZeroRange) {
    const base::RectPx bounds = view->BoundsPx();
    const PointPx start = PlotCentre();
    Press(start);
    MoveMouseTo({start.XPx + 100, start.YPx + 80});
    // Where the window shows it: the chart's own left edge lies beyond the window's.
    view->SetBoundsPx(base::RectPx::FromSize(bounds.Left + 40, bounds.Top + 10, 3, 3));
    PaintNow();
    ASSERT_LT(view->BottomAxis.LengthPx(), 1);
    ASSERT_LT(view->LeftAxis.LengthPx(), 1);
    Release({start.XPx + 150, start.YPx + 100});
    for (const chart::Axis* axis : {&view->BottomAxis, &view->LeftAxis}) {
        EXPECT_DOUBLE_EQ(axis->Minimum, -1e-10);
        EXPECT_DOUBLE_EQ(axis->Maximum, 1e-10);
    }
    view->SetBoundsPx(bounds);
    PaintNow();
    ExpectTheChartKeepsDrawing();
    ExpectScreenShows(Copy(view->Picture()));
    ClickButton(form->zoomResetButton);
    EXPECT_EQ(View(), before);
}

}  // namespace
