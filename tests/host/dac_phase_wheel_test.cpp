// The phase wheel's geometry: the pointer at 360 x acc / 65536 degrees counterclockwise
// from 3 o'clock on a y-down surface, the 256 address ticks, the current address (the high
// byte) and the arc of the last step.
#include "core/dac/phase_wheel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

constexpr double kEps = 1e-9;
const dac::WheelPoint kCentre{200, 150};

dac::WheelInput Input(std::uint16_t acc, std::uint16_t increment) {
    dac::WheelInput in;
    in.Centre = kCentre;
    in.RadiusPx = 100;
    in.TickLengthPx = 5;
    in.ArcRadiusFraction = 0.5;
    in.Accumulator = acc;
    in.Increment = increment;
    return in;
}

double Distance(dac::WheelPoint a, dac::WheelPoint b) {
    return std::hypot(a.XPx - b.XPx, a.YPx - b.YPx);
}

void ExpectPoint(dac::WheelPoint got, double x, double y) {
    EXPECT_NEAR(got.XPx, x, kEps);
    EXPECT_NEAR(got.YPx, y, kEps);
}

// The angle of `p` around the centre, counterclockwise on screen, in [0, 360).
double AngleOf(dac::WheelPoint p) {
    double a =
        std::atan2(-(p.YPx - kCentre.YPx), p.XPx - kCentre.XPx) * 180 / 3.14159265358979323846;
    return a < 0 ? a + 360 : a;
}

TEST(DacPhaseWheel, PointerTurnsCounterclockwiseFromThreeOClock) {
    const struct {
        std::uint16_t acc;
        double degrees;
        double x, y;
    } cases[] = {
        {0, 0, 300, 150},        // right
        {16384, 90, 200, 50},    // up: the surface's y grows downwards
        {32768, 180, 100, 150},  // left
        {49152, 270, 200, 250},  // down
        {8192, 45, 200 + 100 / std::sqrt(2.0), 150 - 100 / std::sqrt(2.0)},
    };
    for (const auto& c : cases) {
        const dac::PhaseWheel w = dac::PhaseWheelFor(Input(c.acc, 0));
        EXPECT_EQ(w.PointerDeg, c.degrees) << c.acc;
        EXPECT_EQ(w.Pointer.From, kCentre);
        ExpectPoint(w.Pointer.To, c.x, c.y);
    }
    EXPECT_EQ(dac::PhaseDegrees(1), 360.0 / 65536);
    EXPECT_EQ(dac::PhaseDegrees(65535), 360.0 * 65535 / 65536);
}

TEST(DacPhaseWheel, TicksMarkTheTableAddressesAndTheCurrentOne) {
    const dac::PhaseWheel w = dac::PhaseWheelFor(Input(0x12FF, 0));
    for (int i = 0; i < 256; ++i) {
        const dac::WheelSegment& t = w.Ticks[static_cast<std::size_t>(i)];
        EXPECT_NEAR(Distance(t.To, kCentre), 100, kEps) << i;
        EXPECT_NEAR(Distance(t.From, kCentre), 95, kEps) << i;
        EXPECT_NEAR(AngleOf(t.To), 360.0 * i / 256, 1e-7) << i;
    }
    ExpectPoint(w.Ticks[64].To, 200, 50);
    // The address is the high byte; its tick lies behind the pointer by the low byte's
    // share of a tick step, 255 / 256 of it here.
    EXPECT_EQ(w.CurrentAddress, 0x12);
    EXPECT_NEAR(AngleOf(w.CurrentTick.To), 360.0 * 0x12 / 256, 1e-7);
    EXPECT_NEAR(Distance(w.CurrentTick.From, kCentre), 90, kEps);
    EXPECT_NEAR(w.PointerDeg - AngleOf(w.CurrentTick.To), 360.0 / 256 * 255 / 256, 1e-7);
}

TEST(DacPhaseWheel, LastStepArcEndsAtThePointer) {
    const struct {
        std::uint16_t acc, increment;
        double startDeg, sweepDeg;
    } cases[] = {
        {16384, 16384, 0, 90},
        {100, 300, 360.0 * 65336 / 65536, 360.0 * 300 / 65536},  // across 0
        {0, 65535, 360.0 / 65536, 360.0 * 65535 / 65536},        // nearly a whole turn
        {5000, 0, 360.0 * 5000 / 65536, 0},                      // standing still
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.acc) + " after a step of " + std::to_string(c.increment));
        const dac::PhaseWheel w = dac::PhaseWheelFor(Input(c.acc, c.increment));
        EXPECT_DOUBLE_EQ(w.LastStep.StartDeg, c.startDeg);
        EXPECT_DOUBLE_EQ(w.LastStep.SweepDeg, c.sweepDeg);
        ASSERT_GE(w.LastStepPoints.size(), 2u);
        for (const dac::WheelPoint& p : w.LastStepPoints) {
            EXPECT_NEAR(Distance(p, kCentre), 50, kEps);
        }
        ExpectPoint(w.LastStepPoints.front(), dac::PointAt(kCentre, 50, c.startDeg).XPx,
                    dac::PointAt(kCentre, 50, c.startDeg).YPx);
        const dac::WheelPoint onPointer = dac::PointAt(kCentre, 50, w.PointerDeg);
        ExpectPoint(w.LastStepPoints.back(), onPointer.XPx, onPointer.YPx);
        // Fine enough to draw as a polyline: no two points more than 2 degrees apart.
        const double chord = 2 * 50 * std::sin(3.14159265358979323846 / 180);
        for (std::size_t i = 1; i < w.LastStepPoints.size(); ++i) {
            EXPECT_LE(Distance(w.LastStepPoints[i - 1], w.LastStepPoints[i]), chord + kEps);
        }
    }
}

}  // namespace
