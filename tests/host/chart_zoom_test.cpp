// The range rules of zoom, scroll and wheel, the saved view and UndoZoom, and the ranges
// that would stop being finite.
#include "core/chart/zoom.h"

#include "chart_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>

namespace {

using chart::Axis;
using chart::AxisOrientation;
using chart::ChartZoom;
using chart::OrderedRange;
using chart::PointPx;
using chart::ValueRange;
using chart::ViewSnapshot;
using chart_test::DrawnAxis;

constexpr auto kH = AxisOrientation::Horizontal;
constexpr auto kV = AxisOrientation::Vertical;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The worked example's axes with the saved view.
struct WorkedChart : chart_test::WorkedAxes {
    ChartZoom Zoom;
};

// Equal up to the rounding of a few operations on values of that size.
void ExpectRange(const Axis& axis, double minimum, double maximum) {
    const double tolerance = 1e-12 * std::max({1.0, std::fabs(minimum), std::fabs(maximum)});
    EXPECT_NEAR(axis.Minimum, minimum, tolerance);
    EXPECT_NEAR(axis.Maximum, maximum, tolerance);
}

// ---------------------------------------------------------------------------
// Setting a range

TEST(ChartOrderedRange, OrdersAndWidensEndsEqualWithinTheTolerance) {
    const struct {
        double first, second;
        ValueRange expected;
    } cases[] = {
        {1, 2, {1, 2}},
        {2, 1, {1, 2}},
        {-5, -300, {-300, -5}},
        {5, 5, {5 - 1e-10, 5 + 1e-10}},
        {0, 0, {-1e-10, 1e-10}},
        // The tolerance is at least 1e-12 ...
        {1, 1 + 5e-13, {1 - 1e-10, 1 + 5e-13 + 1e-10}},
        {0, 9e-13, {-1e-10, 9e-13 + 1e-10}},
        {0, 1e-12, {-1e-10, 1e-12 + 1e-10}},  // equal within: the bound included
        {1, 1 + 4e-12, {1, 1 + 4e-12}},
        // ... and 1e-12 times the smaller magnitude above 1.
        {1000, 1000 + 5e-10, {1000 - 1e-10, 1000 + 5e-10 + 1e-10}},
        {1000 + 5e-10, 1000, {1000 - 1e-10, 1000 + 5e-10 + 1e-10}},
        {1000, 1000 + 3e-9, {1000, 1000 + 3e-9}},
        {-1000, -1000 - 5e-10, {-1000 - 5e-10 - 1e-10, -1000 + 1e-10}},
        // A pair of opposite signs has a small end: the tolerance stays 1e-12.
        {-1e-13, 1e-13, {-1e-13 - 1e-10, 1e-13 + 1e-10}},
        // Far from the data and in negative values alike: no limits.
        {-1e300, 1e300, {-1e300, 1e300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ", " << c.second);
        const std::optional<ValueRange> range = OrderedRange(c.first, c.second);
        ASSERT_TRUE(range.has_value());
        EXPECT_EQ(*range, c.expected);
    }
}

// An infinite or NaN end, or a width beyond the largest double, gives no range.
TEST(ChartOrderedRange, RefusesRangesThatAreNotFinite) {
    const struct {
        double first, second;
    } cases[] = {
        {kInf, 0}, {0, -kInf}, {kNaN, 1}, {1, kNaN}, {-1.5e308, 1.5e308}, {-DBL_MAX, DBL_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ", " << c.second);
        EXPECT_FALSE(OrderedRange(c.first, c.second).has_value());
    }
    EXPECT_TRUE(OrderedRange(-DBL_MAX / 2, DBL_MAX / 2).has_value());
}

TEST(ChartSetRange, TurnsTheFlagsOffAndReportsAChangeOfEitherEnd) {
    Axis axis = DrawnAxis(kH, 0, 256, 0, 100);
    axis.Automatic = axis.AutomaticMinimum = axis.AutomaticMaximum = true;
    EXPECT_FALSE(chart::SetRange(axis, 256, 0));  // the same range, reversed
    EXPECT_FALSE(axis.Automatic || axis.AutomaticMinimum || axis.AutomaticMaximum);
    EXPECT_TRUE(chart::SetRange(axis, 0, 255));
    EXPECT_TRUE(chart::SetRange(axis, 1, 255));
    ExpectRange(axis, 1, 255);
    EXPECT_EQ(axis.DrawnMaximum, 256);  // a write is no drawing
}

TEST(ChartSetRange, ARefusedRangeLeavesTheAxisAsItIs) {
    Axis axis = DrawnAxis(kH, 3, 4, 0, 100);
    axis.Automatic = true;
    EXPECT_FALSE(chart::SetRange(axis, 0, kInf));
    EXPECT_EQ(axis.Minimum, 3);
    EXPECT_EQ(axis.Maximum, 4);
    EXPECT_TRUE(axis.Automatic);
}

// ---------------------------------------------------------------------------
// Zoom into a rectangle

TEST(ChartZoomInto, WorkedExample) {
    WorkedChart chart;
    chart.Zoom.ZoomInto({300, 60}, {550, 160}, chart.Bottom, chart.Left);
    EXPECT_EQ(chart.Bottom.Minimum, 64);
    EXPECT_EQ(chart.Bottom.Maximum, 128);
    EXPECT_EQ(chart.Left.Minimum, 105);
    EXPECT_EQ(chart.Left.Maximum, 205);
}

TEST(ChartZoomInto, SavesTheViewOnceAndOnlyWhileNothingIsPending) {
    WorkedChart chart;
    chart.Bottom.Automatic = chart.Left.AutomaticMaximum = true;
    const ViewSnapshot before = chart.View();
    chart.Zoom.ZoomInto({300, 60}, {550, 160}, chart.Bottom, chart.Left);
    EXPECT_TRUE(chart.Zoom.SavedViewPending());
    EXPECT_EQ(chart.Zoom.SavedView(), before);
    EXPECT_FALSE(chart.Bottom.Automatic || chart.Left.AutomaticMaximum);
    chart.Redraw();
    chart.Zoom.ZoomInto({100, 100}, {900, 200}, chart.Bottom, chart.Left);
    EXPECT_EQ(chart.Zoom.SavedView(), before);

    chart.Zoom.UndoZoom(chart.Bottom, chart.Left);
    EXPECT_EQ(chart.View(), before);  // the flags come back too
    EXPECT_FALSE(chart.Zoom.SavedViewPending());
}

// A chart shrunk to nothing converts every pixel to 0; the widening then gives a range.
TEST(ChartZoomInto, AxesShorterThanOnePixelGiveTheWidenedRangeAroundZero) {
    WorkedChart chart;
    chart.Bottom.AxisEndPx = chart.Bottom.AxisStartPx;
    chart.Left.AxisEndPx = chart.Left.AxisStartPx - 3;
    chart.Zoom.ZoomInto({300, 60}, {550, 160}, chart.Bottom, chart.Left);
    EXPECT_EQ(chart.Bottom.Minimum, -1e-10);
    EXPECT_EQ(chart.Bottom.Maximum, 1e-10);
    EXPECT_EQ(chart.Left.Minimum, -1e-10);
    EXPECT_EQ(chart.Left.Maximum, 1e-10);
}

// A drawn range whose width overflows converts pixels to infinities or NaN; such
// an axis keeps its range, the other one zooms.
TEST(ChartZoomInto, AnAxisWhoseWidthOverflowsKeepsItsRange) {
    WorkedChart chart;
    chart.Bottom = DrawnAxis(kH, -1e308, 1e308, 50, 1050);
    chart.Zoom.ZoomInto({300, 60}, {550, 160}, chart.Bottom, chart.Left);
    EXPECT_EQ(chart.Bottom.Minimum, -1e308);
    EXPECT_EQ(chart.Bottom.Maximum, 1e308);
    ExpectRange(chart.Left, 105, 205);
    EXPECT_TRUE(chart.Zoom.SavedViewPending());
}

// When neither axis gets a finite range the step changes nothing and saves
// nothing, so a later "1:1" still returns to the view before the first real change.
TEST(ChartZoomInto, AZoomThatChangesNoAxisSavesNothing) {
    WorkedChart chart;
    chart.Bottom = DrawnAxis(kH, -1e308, 1e308, 50, 1050);
    chart.Left = DrawnAxis(kV, -1.7e308, 1.7e308, 10, 265);
    const ViewSnapshot before = chart.View();
    chart.Zoom.ZoomInto({300, 60}, {550, 160}, chart.Bottom, chart.Left);
    EXPECT_EQ(chart.View(), before);
    EXPECT_FALSE(chart.Zoom.SavedViewPending());
}

// A rectangle reaching far outside the plot zooms out; past the largest double
// the axis keeps its range.
TEST(ChartZoomInto, ZoomingOutPastTheLargestDoubleKeepsTheRange) {
    WorkedChart chart;
    chart.Bottom = DrawnAxis(kH, -1e307, 1e307, 50, 1050);
    chart.Zoom.ZoomInto({50, 60}, {30050, 160}, chart.Bottom, chart.Left);
    EXPECT_EQ(chart.Bottom.Minimum, -1e307);
    EXPECT_EQ(chart.Bottom.Maximum, 1e307);
    ExpectRange(chart.Left, 105, 205);

    // Zooming out within the doubles works as it should: 30 times the width.
    chart.Bottom = DrawnAxis(kH, 0, 256, 50, 1050);
    chart.Zoom.ZoomInto({50, 60}, {30050, 160}, chart.Bottom, chart.Left);
    ExpectRange(chart.Bottom, 0, 7680);
}

// Each zoom into a 17 x 17 rectangle (the smallest that zooms) divides the width by 58.8
// on the bottom axis and 15 on the left one. Once a width falls within the tolerance the
// widening holds it near 2e-10; the ranges stay finite and ordered.
TEST(ChartZoomInto, FiftyZoomsIntoTinyRectanglesKeepFiniteOrderedRanges) {
    WorkedChart chart;
    bool widened = false;
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE(i);
        const double bottomWidth = chart.Bottom.Maximum - chart.Bottom.Minimum;
        chart.Zoom.ZoomInto({300, 60}, {317, 77}, chart.Bottom, chart.Left);
        chart.Redraw();
        for (const Axis* axis : {&chart.Bottom, &chart.Left}) {
            ASSERT_TRUE(std::isfinite(axis->Minimum) && std::isfinite(axis->Maximum));
            ASSERT_LT(axis->Minimum, axis->Maximum);
            // The widening adds 2e-10 less the rounding at values near 65 and 201.
            ASSERT_GT(axis->Maximum - axis->Minimum, 1.9e-10 * (i > 10));
        }
        widened = widened || chart.Bottom.Maximum - chart.Bottom.Minimum > bottomWidth;
    }
    EXPECT_TRUE(widened);
    EXPECT_NEAR(chart.Bottom.Maximum - chart.Bottom.Minimum, 2e-10, 1e-11);
    EXPECT_NEAR(chart.Bottom.Minimum, 65.1068, 1e-4);
    EXPECT_NEAR(chart.Left.Minimum, 201.4286, 1e-4);
}

// Beyond 2^20 half the spacing of doubles exceeds 1e-10: the widening is lost to rounding
// and the range ends empty, Minimum = Maximum, finite. The chart then draws every value in
// the middle of the axis, no zoom, scroll or wheel step changes it, and "1:1" returns.
TEST(ChartZoomInto, FiftyZoomsFarFromZeroEndInAnEmptyFiniteRange) {
    WorkedChart chart;
    chart.Bottom = DrawnAxis(kH, 1e7, 1e7 + 256, 50, 1050);
    chart.Left = DrawnAxis(kV, -1e7, -1e7 + 255, 10, 265);
    const ViewSnapshot before = chart.View();
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE(i);
        chart.Zoom.ZoomInto({300, 60}, {317, 77}, chart.Bottom, chart.Left);
        chart.Redraw();
        for (const Axis* axis : {&chart.Bottom, &chart.Left}) {
            ASSERT_TRUE(std::isfinite(axis->Minimum) && std::isfinite(axis->Maximum));
            ASSERT_LE(axis->Minimum, axis->Maximum);
        }
    }
    EXPECT_EQ(chart.Bottom.Minimum, chart.Bottom.Maximum);
    EXPECT_EQ(chart.Left.Minimum, chart.Left.Maximum);
    chart.Zoom.UndoZoom(chart.Bottom, chart.Left);
    EXPECT_EQ(chart.View(), before);
}

// ---------------------------------------------------------------------------
// Scroll drag

TEST(ChartScrollBy, TheLineFollowsThePointer) {
    WorkedChart chart;
    // 10 px right: 10 x 256 / 1000 off the bottom range; 10 px down: 10 x 255 / 255 onto
    // the left range.
    EXPECT_TRUE(chart.Zoom.ScrollBy({500, 100}, {510, 110}, chart.Bottom, chart.Left));
    ExpectRange(chart.Bottom, -2.56, 253.44);
    ExpectRange(chart.Left, 10, 265);
    EXPECT_TRUE(chart.Zoom.SavedViewPending());
    EXPECT_EQ(chart.Zoom.SavedView().Bottom.Maximum, 256);
}

TEST(ChartScrollBy, NoMoveIsNoStep) {
    WorkedChart chart;
    EXPECT_FALSE(chart.Zoom.ScrollBy({500, 100}, {500, 100}, chart.Bottom, chart.Left));
    EXPECT_FALSE(chart.Zoom.SavedViewPending());
    ExpectRange(chart.Bottom, 0, 256);
}

// An axis whose coordinate did not change is not written: a wheel step since the last
// drawing stays.
TEST(ChartScrollBy, OnlyAxesWhoseCoordinateChangedAreWritten) {
    WorkedChart chart;
    chart.Zoom.Wheel(120, chart.Bottom, chart.Left);
    chart.Zoom.ScrollBy({500, 100}, {520, 100}, chart.Bottom, chart.Left);
    ExpectRange(chart.Left, 7.65, 262.65);
    ExpectRange(chart.Bottom, -5.12, 250.88);

    WorkedChart other;
    other.Bottom.Minimum = 3;  // as the window-width slider or a wheel would leave it
    other.Zoom.ScrollBy({500, 100}, {500, 90}, other.Bottom, other.Left);
    EXPECT_EQ(other.Bottom.Minimum, 3);
    ExpectRange(other.Left, -10, 245);
}

// Both moves are applied to the range of the last drawing: the second replaces the first.
TEST(ChartScrollBy, TwoMovesBeforeARedrawApplyOnlyTheLastShift) {
    WorkedChart chart;
    chart.Zoom.ScrollBy({100, 100}, {150, 100}, chart.Bottom, chart.Left);
    chart.Zoom.ScrollBy({150, 100}, {200, 100}, chart.Bottom, chart.Left);
    ExpectRange(chart.Bottom, -12.8, 243.2);

    WorkedChart redrawn;
    redrawn.Zoom.ScrollBy({100, 100}, {150, 100}, redrawn.Bottom, redrawn.Left);
    redrawn.Redraw();
    redrawn.Zoom.ScrollBy({150, 100}, {200, 100}, redrawn.Bottom, redrawn.Left);
    ExpectRange(redrawn.Bottom, -25.6, 230.4);
}

// No limits: a range can be scrolled far from the data as long as it stays finite.
TEST(ChartScrollBy, ScrollsTo1e300) {
    WorkedChart chart;
    chart.Bottom = DrawnAxis(kH, 1e300, 1.5e300, 50, 1050);
    chart.Zoom.ScrollBy({1000, 100}, {0, 100}, chart.Bottom, chart.Left);
    ExpectRange(chart.Bottom, 1.5e300, 2e300);
    chart.Bottom = DrawnAxis(kH, -1.5e300, -1e300, 50, 1050);
    chart.Zoom.ScrollBy({0, 100}, {1000, 100}, chart.Bottom, chart.Left);
    ExpectRange(chart.Bottom, -2e300, -1.5e300);
}

// A shift that would carry an end past the largest double, or a drawn range whose
// width overflows (the shift is then NaN), keeps the axis's last finite range.
TEST(ChartScrollBy, AShiftBeyondTheDoublesKeepsTheLastFiniteRange) {
    const struct {
        double drawnMinimum, drawnMaximum;
        int fromX, toX;
    } cases[] = {
        {1e308, 1.5e308, 1000, 0},    // up to 2e308
        {-1.5e308, -1e308, 0, 1000},  // down to -2e308
        {-1e308, 1e308, 600, 500},    // width overflows
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.drawnMinimum << ".." << c.drawnMaximum);
        WorkedChart chart;
        chart.Bottom = DrawnAxis(kH, c.drawnMinimum, c.drawnMaximum, 50, 1050);
        chart.Zoom.ScrollBy({c.fromX, 100}, {c.toX, 100}, chart.Bottom, chart.Left);
        EXPECT_EQ(chart.Bottom.Minimum, c.drawnMinimum);
        EXPECT_EQ(chart.Bottom.Maximum, c.drawnMaximum);
        EXPECT_FALSE(chart.Zoom.SavedViewPending());  // nothing changed, nothing saved
    }
    // A long way within the doubles: 65535 px of 5e296 each.
    WorkedChart chart;
    chart.Bottom = DrawnAxis(kH, 1e300, 1.5e300, 50, 1050);
    chart.Zoom.ScrollBy({-32768, 100}, {32767, 100}, chart.Bottom, chart.Left);
    EXPECT_TRUE(std::isfinite(chart.Bottom.Minimum));
    EXPECT_LT(chart.Bottom.Minimum, -3e301);
}

// ---------------------------------------------------------------------------
// Wheel

TEST(ChartWheel, OneNotchForwardThenBack) {
    WorkedChart chart;
    EXPECT_EQ(chart.Zoom.Wheel(120, chart.Bottom, chart.Left), 1);
    ExpectRange(chart.Left, 7.65, 262.65);
    EXPECT_FALSE(chart.Left.Automatic || chart.Left.AutomaticMinimum ||
                 chart.Left.AutomaticMaximum);
    EXPECT_EQ(chart.Zoom.Wheel(-120, chart.Bottom, chart.Left), -1);
    EXPECT_NEAR(chart.Left.Minimum, 0, 1e-12);
    EXPECT_NEAR(chart.Left.Maximum, 255, 1e-12);
    ExpectRange(chart.Bottom, 0, 256);  // never changed by the wheel
}

TEST(ChartWheel, DeltasAreSummedAndEachFullNotchIsOneStep) {
    const struct {
        int deltas[4];
        int steps[4];
        int rest;
    } cases[] = {
        {{40, 40, 40, 0}, {0, 0, 1, 0}, 0},      {{-120, 0, 0, 0}, {-1, 0, 0, 0}, 0},
        {{250, 0, 0, 0}, {2, 0, 0, 0}, 10},      {{-250, 0, 0, 0}, {-2, 0, 0, 0}, -10},
        {{100, -300, 0, 0}, {0, -1, 0, 0}, -80}, {{119, 1, -119, -1}, {0, 1, 0, -1}, 0},
        {{60, -60, 60, -60}, {0, 0, 0, 0}, 0},
    };
    for (const auto& c : cases) {
        WorkedChart chart;
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(testing::Message() << "delta " << i << ": " << c.deltas[i]);
            EXPECT_EQ(chart.Zoom.Wheel(c.deltas[i], chart.Bottom, chart.Left), c.steps[i]);
        }
        EXPECT_EQ(chart.Zoom.WheelRest(), c.rest);
    }
}

TEST(ChartWheel, DownStepAndUndoAfterManyNotchesIsExact) {
    WorkedChart chart;
    const ViewSnapshot before = chart.View();
    chart.Zoom.Wheel(-120, chart.Bottom, chart.Left);
    ExpectRange(chart.Left, -7.65, 247.35);
    EXPECT_EQ(chart.Zoom.SavedView(), before);
    chart.Zoom.Wheel(7 * 120, chart.Bottom, chart.Left);
    chart.Zoom.Wheel(-3 * 120, chart.Bottom, chart.Left);
    EXPECT_NEAR(chart.Left.Minimum, 3 * 7.65, 1e-9);  // equal notches, equal steps
    chart.Zoom.UndoZoom(chart.Bottom, chart.Left);
    EXPECT_EQ(chart.View(), before);
}

// Steps near the largest double stop at the last finite range; a range whose
// width already overflows is not moved at all.
TEST(ChartWheel, StepsThatWouldLeaveTheDoublesKeepTheLastFiniteRange) {
    WorkedChart chart;
    chart.Left = DrawnAxis(kV, 1.6e308, 1.7e308, 10, 265);
    // 3e305 per notch: 32 notches fit into the 9.77e306 left below the largest double.
    double lastMaximum = chart.Left.Maximum;
    int moves = 0;
    for (int i = 0; i < 50; ++i) {
        chart.Zoom.Wheel(120, chart.Bottom, chart.Left);
        ASSERT_TRUE(std::isfinite(chart.Left.Minimum) && std::isfinite(chart.Left.Maximum));
        moves += chart.Left.Maximum > lastMaximum;
        lastMaximum = chart.Left.Maximum;
    }
    EXPECT_EQ(moves, 32);
    EXPECT_GT(chart.Left.Maximum, DBL_MAX - 3e305);
    EXPECT_NEAR(chart.Left.Maximum - chart.Left.Minimum, 1e307, 1e295);

    // The step is 3 % of (Maximum - Minimum) x 3: beyond a third of the largest double
    // that product, and with it the step, is infinite.
    const struct { double minimum, maximum; } unmoved[] = {{-1e308, 1e308}, {1e308, 1.7e308}};
    for (const auto& c : unmoved) {
        WorkedChart other;
        other.Left = DrawnAxis(kV, c.minimum, c.maximum, 10, 265);
        other.Zoom.Wheel(-120, other.Bottom, other.Left);
        EXPECT_EQ(other.Left.Minimum, c.minimum);
        EXPECT_EQ(other.Left.Maximum, c.maximum);
        EXPECT_FALSE(other.Zoom.SavedViewPending());
    }
}

// ---------------------------------------------------------------------------
// UndoZoom

TEST(ChartUndoZoom, ReturnsToTheViewBeforeTheFirstStepOnce) {
    WorkedChart chart;
    const ViewSnapshot before = chart.View();
    chart.Zoom.UndoZoom(chart.Bottom, chart.Left);  // nothing pending: nothing changes
    EXPECT_EQ(chart.View(), before);

    chart.Zoom.ZoomInto({300, 60}, {550, 160}, chart.Bottom, chart.Left);
    chart.Redraw();
    chart.Zoom.ZoomInto({100, 100}, {900, 200}, chart.Bottom, chart.Left);
    chart.Redraw();
    chart.Zoom.ScrollBy({500, 100}, {450, 150}, chart.Bottom, chart.Left);
    chart.Redraw();
    ASSERT_NE(chart.View(), before);
    chart.Zoom.UndoZoom(chart.Bottom, chart.Left);
    EXPECT_EQ(chart.View(), before);
    EXPECT_FALSE(chart.Zoom.SavedViewPending());

    // A second "1:1" changes nothing, also after a change the saved view never held.
    chart.Bottom.Maximum = 1000;  // the window-width slider
    chart.Zoom.UndoZoom(chart.Bottom, chart.Left);
    EXPECT_EQ(chart.Bottom.Maximum, 1000);

    // The next step saves the view as it is then.
    chart.Redraw();
    chart.Zoom.Wheel(120, chart.Bottom, chart.Left);
    EXPECT_EQ(chart.Zoom.SavedView().Bottom.Maximum, 1000);
}

}  // namespace
