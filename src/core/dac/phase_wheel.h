// The phase wheel's geometry: the accumulator as a pointer turning on a circle, the 256
// table addresses as ticks with the current one (the high byte) marked, and the arc the
// last step swept (the increment). Angles are in degrees, counterclockwise from the
// positive x axis (3 o'clock) as on the unit circle; points are in pixels of a surface
// whose y axis points down, so that a point's height above the centre follows the sine of
// its angle, as the SIN table does.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace dac {

inline constexpr int kTableAddresses = 256;

struct WheelPoint {
    double XPx = 0;
    double YPx = 0;
    friend bool operator==(const WheelPoint&, const WheelPoint&) = default;
};

struct WheelSegment {
    WheelPoint From;
    WheelPoint To;
};

// An arc from StartDeg, turning counterclockwise by SweepDeg (0 <= SweepDeg < 360).
struct WheelArc {
    double StartDeg = 0;
    double SweepDeg = 0;
};

struct WheelInput {
    WheelPoint Centre;
    double RadiusPx = 100;
    // Ticks run inward from the circle by this length; the current address's tick by twice
    // as much.
    double TickLengthPx = 6;
    // The last step's arc is drawn at this fraction of the radius.
    double ArcRadiusFraction = 0.8;
    std::uint16_t Accumulator = 0;
    std::uint16_t Increment = 0;
};

struct PhaseWheel {
    // 360 x accumulator / 65536.
    double PointerDeg = 0;
    // From the centre to the circle at PointerDeg.
    WheelSegment Pointer;
    // Tick i at 360 x i / 256: the accumulator states whose high byte is i start there.
    std::array<WheelSegment, kTableAddresses> Ticks;
    // The high byte: the table address the output reads now. Its tick lies at or behind
    // the pointer, by the low byte's share of a tick's step (phase truncation).
    int CurrentAddress = 0;
    WheelSegment CurrentTick;
    // From the previous accumulator (accumulator - increment, modulo 65536) to the pointer.
    WheelArc LastStep;
    // LastStep as a polyline at ArcRadiusFraction x RadiusPx, a point at least every 2
    // degrees, its last point on the pointer.
    std::vector<WheelPoint> LastStepPoints;
};

// The point at `angleDeg` on the circle of `radiusPx` around `centre`.
WheelPoint PointAt(WheelPoint centre, double radiusPx, double angleDeg) noexcept;

// 360 x accumulator / 65536: exact in a double.
double PhaseDegrees(std::uint16_t accumulator) noexcept;

PhaseWheel PhaseWheelFor(const WheelInput& input);

}  // namespace dac
