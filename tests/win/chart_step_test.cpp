// What a step redraws on the real main window: after any sequence of steps, clears, auto
// clears, hovers, resizes and width changes the picture equals a redraw of the same state
// from nothing and the screen shows it; a step repaints only the columns it changed, and
// one beyond the right edge nothing; the bold label stays the one under a still pointer
// when the labels change under it.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "chart_window.h"
#include "win/ui/handles.h"

namespace {

using namespace std::chrono_literals;
using wintest::ChartWindow;
using wintest::Copy;
using wintest::Differences;
using wintest::Pixels;
using wintest::PointPx;
using wintest::RectPx;
using wintest::Screen;

constexpr COLORREF kMagenta = RGB(255, 0, 255);

class ChartStep : public ChartWindow {
protected:
    // Paints the chart's part of the screen magenta without invalidating anything: what
    // the next paint does not copy stays magenta.
    void PaintScreenMagenta() {
        const ui::WindowDc dc(view->Handle());
        RECT client{};
        GetClientRect(view->Handle(), &client);
        const ui::UniqueBrush brush(CreateSolidBrush(kMagenta));
        FillRect(dc.Get(), &client, brush.Get());
        GdiFlush();
    }

    // The pointer at the middle of a label's text.
    void HoverLabel(const chart::AxisLabel& label) {
        const RectPx r = label.TextRect;
        MoveMouseTo({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
};

TEST_F(ChartStep, AnySequenceOfOperationsLeavesThePictureOfAFullRedrawOnTheScreen) {
    const base::RectPx designed = view->BoundsPx();
    std::mt19937 random(20261210);
    const auto chance = [&](int percent) {
        return std::uniform_int_distribution<int>(0, 99)(random) < percent;
    };
    const auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    int stepsDrawnInPart = 0;
    int autoClears = 0;
    int hovered = 0;
    for (int op = 0; op < 300; ++op) {
        std::string what;
        const int wholeLines = view->Stats().WholeLines;
        const int redraws = view->Stats().Redraws;
        const int countBefore = form->outputLine.Count();
        bool step = false;
        const int kind = between(0, 99);
        if (kind < 60) {
            const int points = chance(20) ? between(30, 150) : between(1, 3);
            what = "step of " + std::to_string(points);
            Plus(points);
            step = true;
        } else if (kind < 63) {
            what = "Clear";
            SendMessageW(form->clearButton.Handle(), BM_CLICK, 0, 0);
        } else if (kind < 68) {
            what = "auto clear ticked or not";
            SendMessageW(form->autoClearBox.Handle(), BM_CLICK, 0, 0);
        } else if (kind < 78) {
            const chart::ChartLayout& layout = view->Layout();
            const bool bottom = chance(60) || layout.LeftLabels.Labels.empty();
            const auto& labels = bottom ? layout.BottomLabels.Labels : layout.LeftLabels.Labels;
            if (labels.empty()) continue;
            const auto index = static_cast<std::size_t>(between(0, int(labels.size()) - 1));
            what = "pointer over the label " +
                   std::string(labels[index].Text.begin(), labels[index].Text.end());
            HoverLabel(labels[index]);
        } else if (kind < 82) {
            what = "pointer over the plot";
            MoveMouseTo({(Plot().Left + Plot().Right) / 2, (Plot().Top + Plot().Bottom) / 2});
        } else if (kind < 88) {
            const int width = between(designed.Width() / 2, designed.Width());
            const int height = between(designed.Height() / 2, designed.Height());
            what = "resize to " + std::to_string(width) + " x " + std::to_string(height);
            view->SetBoundsPx(base::RectPx::FromSize(designed.Left, designed.Top, width, height));
        } else {
            const int position = chance(10) ? between(400, 10000) : between(30, 200);
            what = "chartWidthSlider at " + std::to_string(position);
            form->chartWidthSlider.SetPosition(position);
        }
        PaintNow();
        SCOPED_TRACE("operation " + std::to_string(op) + ": " + what);
        ASSERT_EQ(Differences(Copy(view->Picture()), FullRedraw()), 0);
        ExpectScreenShows(Copy(view->Picture()));
        if (HasFailure()) return;

        if (step && form->outputLine.Count() < countBefore) ++autoClears;
        if (step && view->Stats().Redraws > redraws && view->Stats().WholeLines == wholeLines) {
            ++stepsDrawnInPart;
        }
        hovered += view->Hovered().Bottom >= 0 || view->Hovered().Left >= 0;
    }
    // The sequence went through the paths it is meant to hold side by side.
    EXPECT_GT(stepsDrawnInPart, 60);
    EXPECT_GT(autoClears, 3);
    EXPECT_GT(hovered, 10);
}

// A step repaints the columns around its new segments, nothing else; a step whose points lie
// beyond a line that reaches the right edge repaints nothing.
TEST_F(ChartStep, AStepRepaintsOnlyTheColumnsItChangesAndOneBeyondTheEdgeNothing) {
    Plus(40);
    PaintNow();
    const chart::Axis& bottom = view->Layout().Bottom;
    const int oldLastPx = bottom.ValueToPx(form->outputLine.Count() - 1);
    PaintScreenMagenta();
    const int wholeLines = view->Stats().WholeLines;
    Plus();
    PaintNow();
    EXPECT_EQ(view->Stats().WholeLines, wholeLines) << "drawn where the line changed";
    const int newLastPx = bottom.ValueToPx(form->outputLine.Count() - 1);
    ASSERT_GT(newLastPx, oldLastPx);
    // Where the window shows the chart: elsewhere the screen holds no pixel of it.
    const RectPx visible = Visible();
    const Pixels screen = Screen(view->Handle());
    const Pixels picture = Copy(view->Picture());
    int repainted = 0;
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        for (int x = visible.Left; x < visible.Right; ++x) {
            if (screen.At(x, y) == kMagenta) continue;
            ++repainted;
            ASSERT_GE(x, oldLastPx - 3) << "repainted at (" << x << ", " << y << ")";
            ASSERT_LE(x, newLastPx + 3) << "repainted at (" << x << ", " << y << ")";
            ASSERT_EQ(screen.At(x, y), picture.At(x, y)) << "at (" << x << ", " << y << ")";
        }
    }
    EXPECT_GT(repainted, 3 * (newLastPx - oldLastPx)) << "the new segments are on the screen";

    // The line runs past the right edge: more points change no pixel of the chart.
    form->autoClearBox.SetChecked(false);
    form->chartWidthSlider.SetPosition(30);
    PaintNow();
    ASSERT_GT(form->outputLine.Count(), 31);
    PaintScreenMagenta();
    const int redraws = view->Stats().Redraws;
    Plus(3);
    PaintNow();
    EXPECT_GT(view->Stats().Redraws, redraws) << "the picture was brought up to date";
    const Pixels untouched = Screen(view->Handle());
    int unchanged = 0;
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        for (int x = visible.Left; x < visible.Right; ++x) {
            unchanged += untouched.At(x, y) == kMagenta;
        }
    }
    EXPECT_EQ(unchanged, visible.Width() * visible.Height());
}

// The pointer rests on a bottom label while chartWidthSlider is moved by keys: the bold label is
// the one whose text is under the pointer after each move, or none.
TEST_F(ChartStep, BoldLabelFollowsTheTextUnderAStillPointerWhenTheLabelsChange) {
    const chart::AxisLabels& labels = view->Layout().BottomLabels;
    ASSERT_GT(labels.Labels.size(), 10u);
    const std::size_t first = labels.Labels.size() / 3;
    HoverLabel(labels.Labels[first]);
    ASSERT_TRUE(
        wintest::PumpUntil([&] { return view->Hovered().Bottom == static_cast<int>(first); }, 2s));
    const PointPx pointer = Pointer();
    SetFocus(form->chartWidthSlider.Handle());
    int elsewhere = 0;
    for (const WORD key : {VK_END, VK_PRIOR, VK_HOME, VK_NEXT, VK_NEXT, VK_RIGHT, VK_END}) {
        wintest::PressKey(key);
        PaintNow();
        ASSERT_EQ(Pointer(), pointer) << "the pointer stands still";
        const int under = chart::HoveredLabelIndex(view->Layout().BottomLabels, pointer);
        EXPECT_EQ(view->Hovered().Bottom, under)
            << "after key " << key << " at chartWidthSlider " << form->chartWidthSlider.Position();
        elsewhere += under != static_cast<int>(first);
        EXPECT_EQ(Differences(Copy(view->Picture()), FullRedraw()), 0);
    }
    EXPECT_GT(elsewhere, 2) << "the labels changed under the pointer";
}

}  // namespace
