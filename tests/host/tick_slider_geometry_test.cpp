// The tick slider without its window: geometry at the designed size, the pointer and key
// rules, the position request rule and the mouse modes with the repeated track press.
#include "core/controls/tick_slider_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using base::RectPx;
using controls::SliderEffects;
using controls::SliderKey;
using controls::SliderMode;
using controls::TickSliderLayout;
using controls::TickSliderMetrics;
using controls::TickSliderModel;

constexpr int kMin = 1;
constexpr int kMax = 10000;
constexpr int kWidthPx = 257;
constexpr int kTrackY = 24;  // a row inside both the track and the thumb

TickSliderLayout DesignedLayout() {
    return {TickSliderMetrics{}, kWidthPx, kMin, kMax};
}

TickSliderModel DesignedModel(int position = 256) {
    TickSliderModel model(kMin, kMax, position, 1, 256);
    model.SetWidthPx(kWidthPx);
    return model;
}

// ---------------------------------------------------------------------------
// Geometry

TEST(TickSliderGeometry, TrackAtDesignedSize) {
    const TickSliderLayout layout = DesignedLayout();
    EXPECT_EQ(layout.TravelSpanPx(), 237);
    EXPECT_EQ(layout.TrackRect(), (RectPx{10, 20, 247, 28}));
}

TEST(TickSliderGeometry, ThumbRectForPosition) {
    struct Case {
        int position;
        int left;
    };
    const Case cases[] = {{1, 4}, {256, 10}, {10000, 241}};
    const TickSliderLayout layout = DesignedLayout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(layout.ThumbRect(c.position), (RectPx{c.left, 12, c.left + 12, 33}));
    }
}

TEST(TickSliderGeometry, TickMarksAtDesignedSize) {
    const TickSliderLayout layout = DesignedLayout();
    const std::vector<int> xs = layout.TickXs(256);
    ASSERT_EQ(xs.size(), 39u);
    EXPECT_EQ(xs.front(), 16);
    EXPECT_EQ(xs[1], 22);
    EXPECT_EQ(xs[2], 28);
    EXPECT_EQ(xs.back(), 246);
    // Exact integer arithmetic as an independent reference for every mark.
    for (std::size_t k = 0; k < xs.size(); ++k) {
        const std::int64_t c = 256 * static_cast<std::int64_t>(k + 1);
        EXPECT_EQ(xs[k], 4 + (c - kMin) * 237 / (kMax - kMin) + 6) << "mark for " << c;
    }
    // At 256 the thumb's centre stands under the first mark.
    const RectPx thumb = layout.ThumbRect(256);
    EXPECT_EQ(thumb.Left + 6, xs.front());
    EXPECT_EQ(layout.TickTopPx(), 4);
    EXPECT_EQ(layout.TickBottomPx(), 10);
}

TEST(TickSliderGeometry, TicksAreMultiplesOfTheStepNotCountedFromMin) {
    struct Case {
        int min;
        int max;
        std::vector<int> xs;
    };
    const Case cases[] = {
        {0, 1024, {10, 69, 128, 187, 247}},  // both ends are multiples
        {100, 600, {83, 205}},               // 256 and 512, not 100 and 356
        {300, 500, {}},                      // no multiple inside
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.min);
        const TickSliderLayout layout{TickSliderMetrics{}, kWidthPx, c.min, c.max};
        EXPECT_EQ(layout.TickXs(256), c.xs);
    }
}

// The thumb's left edge takes the exact quotient span * steps / range; the marks and the
// direction of a track press take span / range as a double first. Where that double lies
// below the true ratio and the exact quotient is whole, the two differ by a pixel.
TEST(TickSliderGeometry, ThumbIsExactWhereMarksAndPressThresholdRoundPerStep) {
    struct Case {
        int spanPx;
        int max;  // min is 0
        int thumbLeftPx;
        int markXPx;
    };
    const Case cases[] = {
        {1, 49, 5, 10},                         // 1/49 as a double times 49 is just below 1
        {2, 49, 6, 11},                         // 2/49 likewise
        {15, 9999, 19, 24},    {1, 50, 5, 11},  // 1/50 times 50 is exactly 1: both agree
        {237, 9999, 241, 247},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spanPx);
        SCOPED_TRACE(c.max);
        const int widthPx = c.spanPx + TickSliderMetrics{}.ThumbWidthPx + 2 * 4;
        const TickSliderLayout layout{TickSliderMetrics{}, widthPx, 0, c.max};
        ASSERT_EQ(layout.TravelSpanPx(), c.spanPx);
        EXPECT_EQ(layout.ThumbRect(c.max).Left, c.thumbLeftPx);
        ASSERT_FALSE(layout.TickXs(c.max).empty());
        EXPECT_EQ(layout.TickXs(c.max).back(), c.markXPx);
        // The press threshold is the mark's pixel less half the thumb.
        const int thresholdPx = c.markXPx - 6;
        EXPECT_TRUE(layout.PressPointsUp(thresholdPx, c.max));
        EXPECT_FALSE(layout.PressPointsUp(thresholdPx - 1, c.max));
    }
}

TEST(TickSliderGeometry, MetricsScaleExceptBorderAndLift) {
    struct Case {
        int dpi;
        TickSliderMetrics expected;
    };
    const Case cases[] = {
        {96, {4, 10, 17, 5, 16, 6, 8, 2}},
        {144, {4, 14, 25, 7, 24, 10, 12, 2}},
        {192, {4, 19, 34, 10, 32, 13, 16, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(TickSliderMetrics{}.ScaledBy(c.dpi, 120), c.expected);
    }
}

// ---------------------------------------------------------------------------
// Pointer rules

TEST(TickSliderGeometry, PositionFromPointer) {
    struct Case {
        int x;
        int offset;
        int position;
    };
    const Case cases[] = {
        {16, 0, 254},                       // under the first mark: not snapped to 256
        {128, 0, 4979},   {128, -4, 5148},  // the grab offset displaces the thumb's centre
        {10, 0, 1},       {247, 0, 10000},
        {-1000, 0, 1},  // the pointer has left the control
        {5000, 0, 10000}, {2147483647, 0, 10000},
    };
    const TickSliderLayout layout = DesignedLayout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(layout.PositionAt(c.x, c.offset), c.position);
    }
}

TEST(TickSliderGeometry, PointerPositionRoundsHalvesToEven) {
    // Track 10..18 over 0..4: every odd pixel lies exactly half-way between positions.
    const TickSliderLayout layout{TickSliderMetrics{}, 28, 0, 4};
    ASSERT_EQ(layout.TrackRect(), (RectPx{10, 20, 18, 28}));
    struct Case {
        int x;
        int position;
    };
    const Case cases[] = {{11, 0}, {13, 2}, {15, 2}, {17, 4}, {12, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(layout.PositionAt(c.x, 0), c.position);
    }
}

TEST(TickSliderGeometry, TrackPressDirectionFromThumbLeftEdge) {
    const TickSliderLayout layout = DesignedLayout();
    EXPECT_TRUE(layout.PressPointsUp(10, 256));
    EXPECT_FALSE(layout.PressPointsUp(9, 256));
    EXPECT_TRUE(layout.PressPointsUp(241, 10000));
    EXPECT_FALSE(layout.PressPointsUp(240, 10000));
}

TEST(TickSliderGeometry, UncoveredPartsOfTheOldThumb) {
    struct Case {
        const char* what;
        RectPx oldRect;
        RectPx newRect;
        std::vector<RectPx> parts;
    };
    const Case cases[] = {
        {"moved right", {10, 12, 22, 33}, {13, 12, 25, 33}, {{10, 12, 13, 33}}},
        {"moved left", {10, 12, 22, 33}, {4, 12, 16, 33}, {{16, 12, 22, 33}}},
        {"apart", {10, 12, 22, 33}, {121, 12, 133, 33}, {{10, 12, 22, 33}}},
        {"unchanged", {10, 12, 22, 33}, {10, 12, 22, 33}, {}},
        {"inside",
         {0, 0, 10, 10},
         {2, 3, 8, 7},
         {{0, 0, 10, 3}, {0, 7, 10, 10}, {0, 3, 2, 7}, {8, 3, 10, 7}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const base::RectPieces exposed = base::Difference(c.oldRect, c.newRect);
        const std::vector<RectPx> parts(exposed.begin(), exposed.end());
        EXPECT_EQ(parts, c.parts);
    }
}

// ---------------------------------------------------------------------------
// Position requests and keys

TEST(TickSliderModel, PositionRequestRule) {
    struct Case {
        int start;
        int request;
        int position;
        bool raised;
    };
    const Case cases[] = {
        {256, 256, 256, false},  // equal: nothing
        {256, 300, 300, true},
        {256, 20000, 10000, true},  // clamped
        {256, -5, 1, true},
        {10000, 10001, 10000, true},  // clamped back to where it was: still reported
        {1, 0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        TickSliderModel model = DesignedModel(c.start);
        EXPECT_EQ(model.RequestPosition(c.request), c.raised);
        EXPECT_EQ(model.Position(), c.position);
    }
}

TEST(TickSliderModel, BuildingClampsTheDesignedPosition) {
    EXPECT_EQ(TickSliderModel(1, 10000, 0, 1, 256).Position(), 1);
    EXPECT_EQ(TickSliderModel(1, 10000, 256, 1, 256).Position(), 256);
}

TEST(TickSliderModel, KeyTable) {
    struct Case {
        SliderKey key;
        int start;
        int position;
        bool raised;
    };
    const Case cases[] = {
        {SliderKey::Right, 256, 257, true},      {SliderKey::Up, 256, 257, true},
        {SliderKey::Add, 256, 257, true},        {SliderKey::Left, 256, 255, true},
        {SliderKey::Down, 256, 255, true},       {SliderKey::Subtract, 256, 255, true},
        {SliderKey::Right, 10000, 10000, false}, {SliderKey::Add, 10000, 10000, false},
        {SliderKey::Left, 1, 1, false},          {SliderKey::Down, 1, 1, false},
        {SliderKey::PageUp, 256, 257, true},     {SliderKey::PageDown, 256, 255, true},
        {SliderKey::PageUp, 10000, 10000, true},  // not bounded before the request
        {SliderKey::PageDown, 1, 1, true},       {SliderKey::Home, 256, 1, true},
        {SliderKey::Home, 1, 1, false},          {SliderKey::End, 256, 10000, true},
        {SliderKey::End, 10000, 10000, false},   {SliderKey::Other, 256, 256, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.key) << " at " << c.start);
        TickSliderModel model = DesignedModel(c.start);
        const SliderEffects fx = model.Key(c.key);
        EXPECT_EQ(model.Position(), c.position);
        EXPECT_EQ(fx.Changed, c.raised);
    }
}

TEST(TickSliderModel, PageSizeSetsTheStep) {
    TickSliderModel model(kMin, kMax, 256, 10, 256);
    model.SetWidthPx(kWidthPx);
    model.Key(SliderKey::PageUp);
    EXPECT_EQ(model.Position(), 266);
    model.Key(SliderKey::Right);
    EXPECT_EQ(model.Position(), 267);
}

// ---------------------------------------------------------------------------
// Mouse

class TickSliderMouse : public ::testing::Test {
protected:
    // Grabs the thumb at `x` and lets go again: leaves the grab offset behind.
    void GrabAndRelease(int x) {
        ASSERT_TRUE(model.ThumbRect().Contains(x, kTrackY));
        model.LeftPress(x, kTrackY);
        ASSERT_EQ(model.Mode(), SliderMode::Drag);
        model.LeftRelease();
        ASSERT_EQ(model.Mode(), SliderMode::Idle);
    }

    TickSliderModel model = DesignedModel();
};

TEST_F(TickSliderMouse, TrackPressJumpsAndStartsTheRepeat) {
    const SliderEffects fx = model.LeftPress(128, kTrackY);
    EXPECT_EQ(model.Position(), 4979);
    EXPECT_TRUE(fx.Changed);
    EXPECT_TRUE(fx.Capture);
    EXPECT_TRUE(model.HoldsCapture());
    EXPECT_TRUE(fx.Timer);
    EXPECT_TRUE(model.RepeatTimerRunning());
    EXPECT_EQ(model.RepeatIntervalMs(), 200u);
    EXPECT_EQ(model.Mode(), SliderMode::TrackPress);
    EXPECT_TRUE(model.PagingDirInc());
}

TEST_F(TickSliderMouse, ReleaseBeforeTheRepeatLeavesTheThumb) {
    model.LeftPress(128, kTrackY);
    const SliderEffects release = model.LeftRelease();
    EXPECT_TRUE(release.Capture);
    EXPECT_FALSE(model.HoldsCapture());
    EXPECT_TRUE(release.Timer);
    EXPECT_FALSE(model.RepeatTimerRunning());
    EXPECT_EQ(model.Mode(), SliderMode::Idle);
    // Moves after the release and a stale timer message change nothing.
    EXPECT_FALSE(model.MouseMove(60, kTrackY).Changed);
    EXPECT_FALSE(model.RepeatTimerFired().Changed);
    EXPECT_EQ(model.Mode(), SliderMode::Idle);
    EXPECT_EQ(model.Position(), 4979);
}

TEST_F(TickSliderMouse, HeldTrackPressTurnsIntoADrag) {
    model.LeftPress(128, kTrackY);
    ASSERT_EQ(model.Position(), 4979);
    ASSERT_EQ(model.ThumbRect(), (RectPx{121, 12, 133, 33}));
    const SliderEffects fx = model.RepeatTimerFired();
    EXPECT_EQ(model.Mode(), SliderMode::Drag);
    EXPECT_FALSE(fx.Changed);
    EXPECT_TRUE(fx.Timer);
    EXPECT_FALSE(model.RepeatTimerRunning());
    EXPECT_EQ(model.RepeatIntervalMs(), 200u);
    EXPECT_EQ(model.ThumbCenterOffsetX(), 1);  // 128 - (121 + 6)
    // From now on the thumb follows the pointer.
    EXPECT_TRUE(model.MouseMove(200, 0).Changed);
    EXPECT_EQ(model.Position(), 7975);  // Round(189 / 237 * 9999 + 1)
    model.LeftRelease();
    EXPECT_EQ(model.Mode(), SliderMode::Idle);
    EXPECT_EQ(model.ThumbCenterOffsetX(), 1);
}

TEST_F(TickSliderMouse, RepeatedPressBesideTheThumbMovesNothing) {
    GrabAndRelease(21);  // centre 16: offset 5
    model.LeftPress(100, kTrackY);
    ASSERT_EQ(model.Position(), 3587);        // Round(85 / 237 * 9999 + 1)
    ASSERT_EQ(model.ThumbRect().Right, 100);  // the pressed point is just right of it
    const SliderEffects fx = model.RepeatTimerFired();
    EXPECT_FALSE(fx.Changed);
    EXPECT_EQ(model.Mode(), SliderMode::TrackPress);
    EXPECT_TRUE(model.RepeatTimerRunning());
    EXPECT_EQ(model.RepeatIntervalMs(), 100u);
    EXPECT_FALSE(model.RepeatTimerFired().Timer);  // the pace stays at 100 ms
}

TEST_F(TickSliderMouse, RepeatedPressInTheOtherDirectionEndsThePress) {
    model.RequestPosition(kMax);
    GrabAndRelease(252);  // thumb 241..253, centre 247: offset 5
    model.LeftPress(100, kTrackY);
    ASSERT_FALSE(model.PagingDirInc());
    ASSERT_EQ(model.Position(), 3587);
    const SliderEffects fx = model.RepeatTimerFired();
    EXPECT_EQ(model.Mode(), SliderMode::Idle);
    EXPECT_TRUE(fx.Timer);
    EXPECT_FALSE(model.RepeatTimerRunning());
    EXPECT_EQ(model.Position(), 3587);
    EXPECT_TRUE(model.HoldsCapture());  // the button is still down
    EXPECT_TRUE(model.LeftRelease().Capture);
}

TEST_F(TickSliderMouse, GrabOffsetIsKeptForLaterTrackPresses) {
    GrabAndRelease(12);  // centre 16: offset -4
    EXPECT_EQ(model.ThumbCenterOffsetX(), -4);
    model.LeftPress(128, kTrackY);
    EXPECT_EQ(model.Position(), 5148);
}

TEST_F(TickSliderMouse, DragPinsAtTheEnds) {
    model.LeftPress(16, kTrackY);
    ASSERT_EQ(model.Mode(), SliderMode::Drag);
    EXPECT_TRUE(model.MouseMove(1000, 500).Changed);
    EXPECT_EQ(model.Position(), kMax);
    EXPECT_FALSE(model.MouseMove(1100, 500).Changed);
    EXPECT_TRUE(model.MouseMove(-500, -40).Changed);
    EXPECT_EQ(model.Position(), kMin);
    EXPECT_TRUE(model.LeftRelease().Capture);
}

// A press on the thumb under its first tick mark (x 16) followed by a report of the still
// pointer: the drag formula would give 254 there, but the pointer has not moved.
TEST_F(TickSliderMouse, AStillPointerDoesNotDragTheThumb) {
    model.LeftPress(16, kTrackY);
    ASSERT_EQ(model.Mode(), SliderMode::Drag);
    EXPECT_FALSE(model.MouseMove(16, kTrackY).Changed);
    EXPECT_EQ(model.Position(), 256);
    EXPECT_TRUE(model.MouseMove(17, kTrackY).Changed);
    EXPECT_EQ(model.Position(), 296);  // Round(7 / 237 * 9999 + 1)
    EXPECT_TRUE(model.MouseMove(16, kTrackY).Changed) << "coming back is a movement";
    EXPECT_EQ(model.Position(), 254);
}

TEST_F(TickSliderMouse, PressesOutsideTrackAndThumbDoNothing) {
    struct Case {
        const char* what;
        int x;
        int y;
    };
    const Case cases[] = {
        {"tick marks", 16, 5},
        {"above the track", 128, 15},
        {"below the track", 128, 28},
        {"left of it", 9, kTrackY},
        {"track's right edge", 247, kTrackY},
        {"thumb's right edge", 22, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SliderEffects fx = model.LeftPress(c.x, c.y);
        EXPECT_FALSE(fx.Changed || fx.Capture || fx.Timer);
        EXPECT_EQ(model.Mode(), SliderMode::Idle);
        EXPECT_EQ(model.Position(), 256);
    }
}

TEST_F(TickSliderMouse, HotThumbFollowsThePointerOutsideADrag) {
    EXPECT_TRUE(model.MouseMove(16, 20).ThumbLook);
    EXPECT_TRUE(model.UseHotThumb());
    EXPECT_FALSE(model.MouseMove(17, 21).ThumbLook);
    EXPECT_TRUE(model.MouseMove(60, 20).ThumbLook);
    EXPECT_FALSE(model.UseHotThumb());
    model.MouseMove(16, 20);
    EXPECT_TRUE(model.MouseLeave().ThumbLook);
    EXPECT_FALSE(model.UseHotThumb());

    // A drag keeps the look it began with and ends in the normal look.
    model.MouseMove(16, 20);
    model.LeftPress(16, 20);
    model.MouseMove(200, 60);
    EXPECT_FALSE(model.MouseLeave().ThumbLook);
    EXPECT_TRUE(model.UseHotThumb());
    const SliderEffects release = model.LeftRelease();
    EXPECT_TRUE(release.ThumbLook);
    EXPECT_FALSE(model.UseHotThumb());
}

TEST_F(TickSliderMouse, LostCaptureEndsTheDrag) {
    model.LeftPress(16, kTrackY);
    const SliderEffects fx = model.CaptureLost();
    EXPECT_EQ(model.Mode(), SliderMode::Idle);
    EXPECT_FALSE(model.HoldsCapture());
    EXPECT_TRUE(fx.Capture);
    EXPECT_FALSE(model.MouseMove(200, kTrackY).Changed);
}

TEST_F(TickSliderMouse, StopRepeatAfterAFailure) {
    GrabAndRelease(21);
    model.LeftPress(100, kTrackY);
    model.RepeatTimerFired();
    ASSERT_EQ(model.RepeatIntervalMs(), 100u);
    const SliderEffects fx = model.StopRepeat();
    EXPECT_TRUE(fx.Timer);
    EXPECT_FALSE(model.RepeatTimerRunning());
    EXPECT_EQ(model.RepeatIntervalMs(), 200u);
}

}  // namespace
