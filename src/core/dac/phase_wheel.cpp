#include "core/dac/phase_wheel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/dds/accumulator.h"

namespace dac {

namespace {

constexpr double kMaxArcStepDeg = 2.0;

WheelSegment Radial(WheelPoint centre, double innerPx, double outerPx, double angleDeg) {
    return {PointAt(centre, innerPx, angleDeg), PointAt(centre, outerPx, angleDeg)};
}

}  // namespace

WheelPoint PointAt(WheelPoint centre, double radiusPx, double angleDeg) noexcept {
    const double radians = angleDeg * (std::numbers::pi / 180.0);
    return {centre.XPx + radiusPx * std::cos(radians), centre.YPx - radiusPx * std::sin(radians)};
}

double PhaseDegrees(std::uint16_t accumulator) noexcept {
    return 360.0 * accumulator / 65536.0;
}

PhaseWheel PhaseWheelFor(const WheelInput& in) {
    PhaseWheel w;
    w.PointerDeg = PhaseDegrees(in.Accumulator);
    w.Pointer = {in.Centre, PointAt(in.Centre, in.RadiusPx, w.PointerDeg)};
    for (int i = 0; i < kTableAddresses; ++i) {
        w.Ticks[static_cast<std::size_t>(i)] =
            Radial(in.Centre, in.RadiusPx - in.TickLengthPx, in.RadiusPx, 360.0 * i / 256.0);
    }
    w.CurrentAddress = dds::HighByte(in.Accumulator);
    w.CurrentTick = Radial(in.Centre, in.RadiusPx - 2 * in.TickLengthPx, in.RadiusPx,
                           360.0 * w.CurrentAddress / 256.0);

    const auto previous = static_cast<std::uint16_t>(in.Accumulator - in.Increment);
    w.LastStep = {PhaseDegrees(previous), PhaseDegrees(in.Increment)};
    const double arcRadiusPx = in.RadiusPx * in.ArcRadiusFraction;
    const int segments =
        std::max(1, static_cast<int>(std::ceil(w.LastStep.SweepDeg / kMaxArcStepDeg)));
    w.LastStepPoints.reserve(static_cast<std::size_t>(segments) + 1);
    for (int s = 0; s <= segments; ++s) {
        const double angle = w.LastStep.StartDeg + w.LastStep.SweepDeg * s / segments;
        w.LastStepPoints.push_back(PointAt(in.Centre, arcRadiusPx, angle));
    }
    return w;
}

}  // namespace dac
