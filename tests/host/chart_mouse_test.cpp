// Where a press starts a drag, and the zoom and scroll drags with their effects.
#include "core/chart/chart_mouse.h"

#include "chart_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>

namespace {

using chart::Axis;
using chart::ChartLayout;
using chart::ChartMouse;
using chart::ChartZoom;
using chart::DragMode;
using chart::MouseButton;
using chart::MouseEffects;
using chart::PointPx;
using chart::PressTarget;
using chart::RectPx;
using chart::ViewSnapshot;
using chart::ZoomOutline;

// A chart of 1210 x 470 px at 0..256 and 0..255: plot rectangle {32, 1, 1209, 449}, that
// is columns 32..1208 and rows 1..448; the bottom axis runs from 32 to the plot's right
// edge 1209, the left axis from 1 to its bottom edge 449.
ChartLayout DrawnLayout() {
    Axis bottom;
    bottom.Maximum = 256;
    Axis left;
    left.Maximum = 255;
    return chart::LayoutChart(1210, 470, bottom, left, 1, chart_test::FixedWidthMeasurer{},
                              base::NumberSymbols{});
}

// ---------------------------------------------------------------------------
// Hit test

struct HitCase {
    int x, y;
    PressTarget expected;
    const char* what;
};

void ExpectHits(const ChartLayout& layout, std::initializer_list<HitCase> cases) {
    for (const HitCase& c : cases) {
        EXPECT_EQ(chart::HitTest(layout, {c.x, c.y}), c.expected)
            << "(" << c.x << ", " << c.y << "): " << c.what;
    }
}

TEST(ChartHitTest, PlotRectangleLayoutIsTheOneTheTableAssumes) {
    const ChartLayout layout = DrawnLayout();
    ASSERT_EQ(layout.PlotRectPx, (RectPx{32, 1, 1209, 449}));
    ASSERT_EQ(layout.Bottom.AxisStartPx, 32);
    ASSERT_EQ(layout.Bottom.AxisEndPx, 1209);
    ASSERT_EQ(layout.Left.AxisStartPx, 1);
    ASSERT_EQ(layout.Left.AxisEndPx, 449);
    ASSERT_FALSE(layout.BottomLabels.Labels.empty());
    ASSERT_FALSE(layout.LeftLabels.Labels.empty());
}

// Bottom band rows 446..455 over columns 32..1209: 3 rows of plot, the axis line (449,
// 450), the gap (451), the ticks (452..455); label text from row 456.
TEST(ChartHitTest, BottomAxisBandFromTheTicksEndToThreePixelsIntoThePlot) {
    ExpectHits(DrawnLayout(), {
                                  {600, 445, PressTarget::Plot, "plot above the band"},
                                  {600, 446, PressTarget::BottomAxis, "3rd row into the plot"},
                                  {600, 448, PressTarget::BottomAxis, "last plot row"},
                                  {600, 449, PressTarget::BottomAxis, "axis line"},
                                  {600, 450, PressTarget::BottomAxis, "axis line"},
                                  {600, 451, PressTarget::BottomAxis, "gap"},
                                  {600, 452, PressTarget::BottomAxis, "first tick row"},
                                  {600, 455, PressTarget::BottomAxis, "last tick row"},
                                  {600, 456, PressTarget::None, "first label text row"},
                                  {600, 462, PressTarget::None, "label text"},
                                  {32, 455, PressTarget::BottomAxis, "AxisStartPx"},
                                  {1208, 455, PressTarget::BottomAxis, "last plot column"},
                                  {1209, 455, PressTarget::BottomAxis, "AxisEndPx"},
                                  {31, 452, PressTarget::None, "left of the axis"},
                                  {1210, 452, PressTarget::None, "right of the axis"},
                                  {31, 450, PressTarget::None, "corner of the axis lines"},
                              });
}

// Left band columns 25..34 over rows 1..449: the ticks (25..28), the gap (29), the axis
// line (30, 31), 3 columns of plot; label text up to column 24.
TEST(ChartHitTest, LeftAxisBandFromTheTicksEndToThreePixelsIntoThePlot) {
    ExpectHits(DrawnLayout(), {
                                  {24, 200, PressTarget::None, "last label text column"},
                                  {20, 200, PressTarget::None, "label text"},
                                  {25, 200, PressTarget::LeftAxis, "first tick column"},
                                  {28, 200, PressTarget::LeftAxis, "last tick column"},
                                  {29, 200, PressTarget::LeftAxis, "gap"},
                                  {30, 200, PressTarget::LeftAxis, "axis line"},
                                  {31, 200, PressTarget::LeftAxis, "axis line"},
                                  {32, 200, PressTarget::LeftAxis, "first plot column"},
                                  {34, 200, PressTarget::LeftAxis, "3rd column into the plot"},
                                  {35, 200, PressTarget::Plot, "plot right of the band"},
                                  {27, 1, PressTarget::LeftAxis, "AxisStartPx"},
                                  {27, 448, PressTarget::LeftAxis, "last plot row"},
                                  {27, 449, PressTarget::LeftAxis, "AxisEndPx"},
                                  {31, 449, PressTarget::LeftAxis, "AxisEndPx on the axis line"},
                                  {27, 0, PressTarget::None, "bevel above the axis"},
                                  {27, 450, PressTarget::None, "below the axis"},
                              });
}

TEST(ChartHitTest, PlotRectangleWithItsOutermostColumnsAndRows) {
    ExpectHits(DrawnLayout(), {
                                  {600, 1, PressTarget::Plot, "top row"},
                                  {1208, 200, PressTarget::Plot, "last column"},
                                  {1209, 200, PressTarget::Plot, "right edge, bounds inclusive"},
                                  {1209, 1, PressTarget::Plot, "top right corner"},
                                  {600, 0, PressTarget::None, "bevel above"},
                                  {1210, 200, PressTarget::None, "beyond the right edge"},
                                  {-5, -5, PressTarget::None, "outside the chart"},
                              });
}

// The band stops where the text begins: no label's text rectangle meets its axis's band.
TEST(ChartHitTest, NoLabelTextLiesInABand) {
    const ChartLayout layout = DrawnLayout();
    const RectPx bottomBand =
        chart::AxisPressBand(layout.Bottom, layout.BottomLabels, layout.PlotRectPx);
    const RectPx leftBand = chart::AxisPressBand(layout.Left, layout.LeftLabels, layout.PlotRectPx);
    EXPECT_EQ(bottomBand, (RectPx{32, 446, 1210, 456}));
    EXPECT_EQ(leftBand, (RectPx{25, 1, 35, 450}));
    for (const chart::AxisLabel& label : layout.BottomLabels.Labels) {
        EXPECT_TRUE(base::Intersection(label.TextRect, bottomBand).Empty()) << label.Value;
        EXPECT_EQ(label.TextRect.Top, bottomBand.Bottom) << label.Value;
    }
    for (const chart::AxisLabel& label : layout.LeftLabels.Labels) {
        EXPECT_TRUE(base::Intersection(label.TextRect, leftBand).Empty()) << label.Value;
        EXPECT_EQ(label.TextRect.Right, leftBand.Left) << label.Value;
    }
}

TEST(ChartHitTest, AnAxisWithoutLabelsHasTheAxisLineAlone) {
    ChartLayout layout = DrawnLayout();
    layout.BottomLabels.Labels.clear();
    layout.LeftLabels.Labels.clear();
    ExpectHits(layout, {
                           {600, 448, PressTarget::Plot, "last plot row"},
                           {600, 449, PressTarget::BottomAxis, "axis line"},
                           {600, 450, PressTarget::BottomAxis, "axis line"},
                           {600, 451, PressTarget::None, "gap"},
                           {32, 200, PressTarget::Plot, "first plot column"},
                           {31, 200, PressTarget::LeftAxis, "axis line"},
                           {30, 200, PressTarget::LeftAxis, "axis line"},
                           {29, 200, PressTarget::None, "gap"},
                       });
}

// ---------------------------------------------------------------------------
// Drags on the chart of the worked example, as last drawn.

class WorkedChart : public ::testing::Test, protected chart_test::WorkedAxes {
protected:
    WorkedChart() {
        layout_.PlotRectPx = kPlot;
        layout_.BottomLabels.Labels.resize(1);
        layout_.LeftLabels.Labels.resize(1);
        Redraw();
    }

    void Redraw() {
        WorkedAxes::Redraw();
        layout_.Bottom = Bottom;
        layout_.Left = Left;
    }

    MouseEffects Press(MouseButton button, PointPx at) {
        return mouse_.Press(button, at, true, layout_);
    }
    MouseEffects Move(PointPx at) { return mouse_.Move(at, zoom_, Bottom, Left); }
    MouseEffects Release(MouseButton button, PointPx at) {
        return mouse_.Release(button, at, zoom_, Bottom, Left);
    }
    MouseEffects LeftDrag(PointPx from, PointPx to) {
        Press(MouseButton::Left, from);
        Move({(from.XPx + to.XPx) / 2, (from.YPx + to.YPx) / 2});
        return Release(MouseButton::Left, to);
    }

    ChartLayout layout_;
    ChartZoom zoom_;
    ChartMouse mouse_;
};

TEST_F(WorkedChart, TheAxesRunAlongThePlotsWholeWidthAndHeight) {
    EXPECT_EQ(Bottom.AxisStartPx, 50);
    EXPECT_EQ(Bottom.AxisEndPx, 1050);
    EXPECT_EQ(Bottom.LengthPx(), 1000);
    EXPECT_EQ(Left.AxisStartPx, 10);
    EXPECT_EQ(Left.AxisEndPx, 265);
    EXPECT_EQ(Left.LengthPx(), 255);
    // Each value's pixel, and back: the far ends lie on the plot's edge lines.
    struct Case {
        const Axis& axis;
        double value;
        int px;
    };
    for (const Case c : {Case{Bottom, 0, 50}, Case{Bottom, 64, 300}, Case{Bottom, 128, 550},
                         Case{Bottom, 256, 1050}, Case{Left, 255, 10}, Case{Left, 205, 60},
                         Case{Left, 105, 160}, Case{Left, 0, 265}}) {
        EXPECT_EQ(c.axis.ValueToPx(c.value), c.px) << c.value;
        EXPECT_EQ(c.axis.PxToValue(c.px), c.value) << c.px;
    }
}

TEST_F(WorkedChart, ZoomIntoTheWorkedRectangle) {
    // The release point counts, not the last move.
    EXPECT_EQ(Press(MouseButton::Left, {300, 60}),
              (MouseEffects{.Capture = true, .ArrowCursor = true}));
    EXPECT_EQ(mouse_.Mode(), DragMode::Zooming);
    Move({700, 200});
    const MouseEffects fx = Release(MouseButton::Left, {550, 160});
    EXPECT_EQ(fx, (MouseEffects{.EraseOutline = ZoomOutline{{300, 60}, {700, 200}},
                                .ReleaseCapture = true,
                                .Repaint = true}));
    EXPECT_EQ(mouse_.Mode(), DragMode::Idle);
    EXPECT_EQ(Bottom.Minimum, 64);
    EXPECT_EQ(Bottom.Maximum, 128);
    EXPECT_EQ(Left.Minimum, 105);
    EXPECT_EQ(Left.Maximum, 205);
}

TEST_F(WorkedChart, SmallDragsChangeNothing) {
    const struct {
        PointPx from, to;
    } cases[] = {
        {{300, 100}, {300, 100}},  // a click
        {{300, 100}, {316, 200}},  // 16 px wide
        {{300, 100}, {500, 116}},  // 16 px high
        {{300, 100}, {284, 84}},   // 16 px up and to the left
        {{100, 100}, {300, 110}},  // 200 px right, 10 px down
    };
    const ViewSnapshot before = View();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.to.XPx << ", " << c.to.YPx);
        const MouseEffects fx = LeftDrag(c.from, c.to);
        EXPECT_FALSE(fx.Repaint);
        EXPECT_TRUE(fx.ReleaseCapture);
        EXPECT_EQ(mouse_.Mode(), DragMode::Idle);
        EXPECT_EQ(View(), before);
        EXPECT_FALSE(zoom_.SavedViewPending());
    }
    LeftDrag({300, 100}, {317, 117});  // 17 x 17 zooms
    EXPECT_NE(View(), before);
}

TEST_F(WorkedChart, OnlyXDecidesBetweenZoomAndUndo) {
    const ViewSnapshot before = View();
    LeftDrag({100, 100}, {300, 250});
    const ViewSnapshot zoomed = View();
    EXPECT_DOUBLE_EQ(Bottom.Minimum, 12.8);
    EXPECT_DOUBLE_EQ(Bottom.Maximum, 64);
    EXPECT_DOUBLE_EQ(Left.Minimum, 15);
    EXPECT_DOUBLE_EQ(Left.Maximum, 165);
    Redraw();

    // Up and to the left: "1:1".
    EXPECT_TRUE(LeftDrag({300, 250}, {100, 100}).Repaint);
    EXPECT_EQ(View(), before);
    Redraw();

    // Up and to the right: the same rectangle as the first.
    LeftDrag({100, 250}, {300, 100});
    EXPECT_EQ(View(), zoomed);
    Redraw();

    // Down and to the left: "1:1" again.
    LeftDrag({300, 100}, {100, 250});
    EXPECT_EQ(View(), before);
}

TEST_F(WorkedChart, ZoomZoomScrollThenUndoReturnsToTheFirstSavedView) {
    const ViewSnapshot before = View();
    LeftDrag({300, 60}, {550, 160});
    Redraw();
    LeftDrag({100, 100}, {900, 200});
    Redraw();
    Press(MouseButton::Right, {500, 100});
    Move({450, 150});
    Redraw();
    Release(MouseButton::Right, {450, 150});
    ASSERT_NE(View(), before);
    zoom_.UndoZoom(Bottom, Left);
    EXPECT_EQ(View(), before);
    zoom_.UndoZoom(Bottom, Left);
    EXPECT_EQ(View(), before);
}

// The chart is redrawn between the moves; the shift per move is 10 x 256 / 1000.
TEST_F(WorkedChart, RightDragOf100PxMovesTheBottomRangeDown) {
    EXPECT_EQ(Press(MouseButton::Right, {500, 100}),
              (MouseEffects{.Capture = true, .ArrowCursor = true}));
    EXPECT_EQ(mouse_.Mode(), DragMode::Scrolling);
    for (int x = 510; x <= 600; x += 10) {
        EXPECT_EQ(Move({x, 100}), MouseEffects{.Repaint = true});
        EXPECT_EQ(mouse_.PanState().LastX, x);
        Redraw();
    }
    EXPECT_EQ(Move({600, 100}), MouseEffects{});  // no move, no step
    EXPECT_NEAR(Bottom.Minimum, -25.6, 1e-12);
    EXPECT_NEAR(Bottom.Maximum, 230.4, 1e-12);
    EXPECT_EQ(Left.Minimum, 0);
    EXPECT_EQ(Left.Maximum, 255);
    EXPECT_EQ(Release(MouseButton::Right, {600, 100}), MouseEffects{.ReleaseCapture = true});
    EXPECT_EQ(mouse_.Mode(), DragMode::Idle);

    // The line follows the pointer also outside the chart.
    Press(MouseButton::Right, {500, 100});
    Move({-2000, 100});
    EXPECT_NEAR(Bottom.Minimum, -25.6 + 2500 * 0.256, 1e-9);
}

TEST_F(WorkedChart, PressesDuringADragAreIgnoredAndOnlyTheLeftReleaseEndsAZoom) {
    Press(MouseButton::Left, {300, 60});
    Move({400, 100});
    EXPECT_EQ(Press(MouseButton::Right, {400, 100}), MouseEffects{});
    EXPECT_EQ(Press(MouseButton::Left, {400, 100}), MouseEffects{});
    EXPECT_EQ(Release(MouseButton::Right, {400, 100}), MouseEffects{});
    EXPECT_EQ(Release(MouseButton::Middle, {400, 100}), MouseEffects{});
    EXPECT_EQ(mouse_.Mode(), DragMode::Zooming);
    EXPECT_EQ(mouse_.PanState().Active, false);
    Release(MouseButton::Left, {550, 160});
    EXPECT_EQ(mouse_.Mode(), DragMode::Idle);
    EXPECT_EQ(Bottom.Minimum, 64);
}

TEST_F(WorkedChart, AnyReleaseEndsAScroll) {
    for (const MouseButton button : {MouseButton::Left, MouseButton::Middle, MouseButton::Right}) {
        Press(MouseButton::Right, {500, 100});
        EXPECT_EQ(Press(MouseButton::Left, {500, 100}), MouseEffects{});
        EXPECT_EQ(mouse_.Mode(), DragMode::Scrolling);
        const ViewSnapshot before = View();
        EXPECT_EQ(Release(button, {700, 200}), MouseEffects{.ReleaseCapture = true});
        EXPECT_EQ(mouse_.Mode(), DragMode::Idle);
        EXPECT_EQ(View(), before);  // a left release during a scroll zooms nothing
    }
}

TEST_F(WorkedChart, PressesThatStartNothing) {
    EXPECT_EQ(Press(MouseButton::Middle, {500, 100}), MouseEffects{});
    EXPECT_EQ(mouse_.Mode(), DragMode::Idle);
    EXPECT_EQ(Move({600, 200}), MouseEffects{});
    EXPECT_EQ(Release(MouseButton::Middle, {600, 200}), MouseEffects{});
    // Left of the left axis's band: the labels.
    EXPECT_EQ(Press(MouseButton::Left, {42, 100}), MouseEffects{});
    EXPECT_EQ(Press(MouseButton::Right, {500, 300}), MouseEffects{});
    EXPECT_EQ(mouse_.Mode(), DragMode::Idle);
    // On the ticks below the plot: rows 268..271, under the axis line (265, 266) and the gap.
    EXPECT_EQ(Press(MouseButton::Right, {500, 271}).Capture, true);
}

// The chart takes the focus whatever else the press does, unless it or its parent
// panel has it.
TEST_F(WorkedChart, FocusIsTakenOnEveryPressWhenElsewhere) {
    EXPECT_TRUE(mouse_.Press(MouseButton::Middle, {5, 5}, false, layout_).TakeFocus);
    EXPECT_TRUE(mouse_.Press(MouseButton::Left, {500, 100}, false, layout_).TakeFocus);
    EXPECT_TRUE(mouse_.Press(MouseButton::Right, {500, 100}, false, layout_).TakeFocus);
    EXPECT_FALSE(mouse_.Press(MouseButton::Right, {500, 100}, true, layout_).TakeFocus);
    EXPECT_EQ(mouse_.Mode(), DragMode::Zooming);
}

TEST_F(WorkedChart, RubberBandOutlineFollowsThePointer) {
    const ZoomOutline first{{100, 100}, {120, 130}};
    const ZoomOutline second{{100, 100}, {140, 90}};
    Press(MouseButton::Left, {100, 100});
    EXPECT_EQ(mouse_.OutlineShown(), std::nullopt);  // nothing is drawn at the press
    EXPECT_EQ(Move({100, 100}), MouseEffects{});
    EXPECT_EQ(Move({120, 130}), MouseEffects{.DrawOutline = first});
    EXPECT_EQ(mouse_.OutlineShown(), first);
    EXPECT_EQ(Move({120, 130}), MouseEffects{});
    EXPECT_EQ(Move({140, 90}), (MouseEffects{.EraseOutline = first, .DrawOutline = second}));
    EXPECT_EQ(mouse_.OutlineShown(), second);
    // Back at the press point the outline has no extent: it is erased and not drawn.
    EXPECT_EQ(Move({100, 100}), MouseEffects{.EraseOutline = second});
    EXPECT_EQ(mouse_.OutlineShown(), std::nullopt);
    EXPECT_EQ(Release(MouseButton::Left, {100, 100}), MouseEffects{.ReleaseCapture = true});
    EXPECT_EQ(mouse_.OutlineShown(), std::nullopt);
}

// Drawing an outline twice restores the picture, and a repaint shows the picture with the
// outline of OutlineShown() on top. Whatever the order of moves, presses, releases and
// repaints, the screen then holds exactly OutlineShown(), and nothing once the drag ends.
TEST_F(WorkedChart, RubberBandLeavesNoMark) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> coordinate(95, 105);
    std::uniform_int_distribution<int> action(0, 9);
    for (int drag = 0; drag < 200; ++drag) {
        std::map<std::pair<std::pair<int, int>, std::pair<int, int>>, int> drawnTimes;
        const auto toggle = [&](const std::optional<ZoomOutline>& outline) {
            if (!outline) return;
            const auto key = std::pair{std::pair{outline->Start.XPx, outline->Start.YPx},
                                       std::pair{outline->Corner.XPx, outline->Corner.YPx}};
            drawnTimes[key] ^= 1;
        };
        const auto apply = [&](const MouseEffects& fx) {
            toggle(fx.EraseOutline);
            toggle(fx.DrawOutline);
        };
        const auto onScreen = [&] {
            int count = 0;
            for (const auto& [key, times] : drawnTimes) count += times;
            return count;
        };
        apply(Press(MouseButton::Left, {coordinate(random), coordinate(random)}));
        while (mouse_.Mode() == DragMode::Zooming) {
            const PointPx at{coordinate(random), coordinate(random)};
            switch (action(random)) {
                case 0:
                    drawnTimes.clear();  // a repaint
                    toggle(mouse_.OutlineShown());
                    break;
                case 1:
                    apply(Press(MouseButton::Right, at));
                    apply(Release(MouseButton::Right, at));
                    break;
                case 2:
                    apply(Release(MouseButton::Left, at));
                    break;
                default:
                    apply(Move(at));
                    break;
            }
            ASSERT_EQ(onScreen(), mouse_.OutlineShown() ? 1 : 0);
            if (mouse_.OutlineShown()) {
                toggle(mouse_.OutlineShown());
                ASSERT_EQ(onScreen(), 0);
                toggle(mouse_.OutlineShown());
            }
        }
        ASSERT_EQ(onScreen(), 0) << "drag " << drag;
    }
}

TEST_F(WorkedChart, LosingTheCaptureEndsADragWithoutAChange) {
    const ViewSnapshot before = View();
    Press(MouseButton::Left, {300, 60});
    Move({550, 160});
    EXPECT_EQ(mouse_.CaptureLost(),
              (MouseEffects{.EraseOutline = ZoomOutline{{300, 60}, {550, 160}}}));
    EXPECT_EQ(mouse_.Mode(), DragMode::Idle);
    EXPECT_EQ(Release(MouseButton::Left, {550, 160}), MouseEffects{});
    EXPECT_EQ(View(), before);

    Press(MouseButton::Right, {500, 100});
    EXPECT_EQ(mouse_.CaptureLost(), MouseEffects{});
    EXPECT_EQ(mouse_.Mode(), DragMode::Idle);
    EXPECT_EQ(Move({600, 100}), MouseEffects{});
    EXPECT_EQ(View(), before);
}

}  // namespace
