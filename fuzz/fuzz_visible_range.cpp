// Which points a redraw draws: FindVisibleRange against a linear scan of ascending
// arrays with repeated values and infinite ends, and the stepped line through the range:
// always a stair path for ascending x, in representable pixels, from the point before
// the range to its last point.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "core/chart/visible_range.h"
#include "fuzz_support.h"
#include "stair_vertices.h"

namespace {

using chart::Axis;
using chart::AxisOrientation;
using chart::PointPx;
using chart::VisibleRange;
using fuzz::Fail;
using fuzz::Require;

constexpr double kInf = std::numeric_limits<double>::infinity();

// Ascending values: mostly small steps (repeats included), some wide, infinite ends.
std::vector<double> AscendingValues(FuzzedDataProvider& data) {
    std::vector<double> xs;
    const std::size_t count = data.ConsumeIntegralInRange<std::size_t>(0, 64);
    double x =
        data.ConsumeBool() ? data.ConsumeIntegralInRange(-50, 50) : fuzz::AwkwardFinite(data);
    if (data.ConsumeIntegralInRange(0, 7) == 0) xs.push_back(-kInf);
    while (xs.size() < count && data.remaining_bytes() > 0) {
        xs.push_back(x);
        switch (data.ConsumeIntegralInRange(0, 5)) {
            case 0:
                break;  // a repeat
            case 1:
                x += std::fabs(fuzz::AwkwardFinite(data));
                break;
            case 2:
                x = std::nextafter(x, kInf);
                break;
            default:
                x += data.ConsumeIntegralInRange(0, 3);
                break;
        }
        if (!std::isfinite(x)) break;
    }
    if (data.ConsumeIntegralInRange(0, 7) == 0) xs.push_back(kInf);
    return xs;
}

// A bound: often one of the values itself or its neighbour, otherwise anything finite or
// infinite.
double Bound(FuzzedDataProvider& data, const std::vector<double>& xs) {
    if (!xs.empty() && data.ConsumeBool()) {
        const double x = xs[data.ConsumeIntegralInRange<std::size_t>(0, xs.size() - 1)];
        switch (data.ConsumeIntegralInRange(0, 2)) {
            case 0:
                return x;
            case 1:
                return std::nextafter(x, -kInf);
            default:
                return std::nextafter(x, kInf);
        }
    }
    const double bound = fuzz::AwkwardDouble(data);
    return std::isnan(bound) ? 0.0 : bound;
}

VisibleRange ReferenceRange(const std::vector<double>& xs, double xLeft, double xRight) {
    VisibleRange range;
    std::size_t first = 0;
    while (first < xs.size() && !(xs[first] >= xLeft)) ++first;
    if (first == xs.size()) return range;
    range.First = static_cast<int>(first);
    if (xs.back() <= xRight) {
        range.Last = static_cast<int>(xs.size()) - 1;
        return range;
    }
    std::size_t last = first;
    while (!(xs[last] >= xRight)) ++last;  // ends at the latest at the last value
    range.Last = static_cast<int>(last);
    return range;
}

// An axis as a drawing leaves it: an ordered range, the far end not before the start.
Axis DrawnAxis(FuzzedDataProvider& data, AxisOrientation orientation) {
    Axis axis;
    axis.Orientation = orientation;
    double a = fuzz::AwkwardDouble(data);
    double b = data.ConsumeBool() ? a + fuzz::AwkwardFinite(data) : fuzz::AwkwardDouble(data);
    if (std::isnan(a)) a = 0.0;
    if (std::isnan(b)) b = 0.0;
    axis.DrawnMinimum = std::min(a, b);
    axis.DrawnMaximum = std::max(a, b);
    axis.AxisStartPx = data.ConsumeIntegralInRange(-100, 2000);
    axis.AxisEndPx = axis.AxisStartPx + data.ConsumeIntegralInRange(0, 5000);
    return axis;
}

std::string Describe(const VisibleRange& r) {
    return "[" + std::to_string(r.First) + ", " + std::to_string(r.Last) + "]";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::vector<double> xs = AscendingValues(data);
    const double xLeft = Bound(data, xs);
    const double xRight = data.ConsumeBool() ? std::max(xLeft, Bound(data, xs)) : Bound(data, xs);

    const VisibleRange range = chart::FindVisibleRange(xs, xLeft, xRight);
    const VisibleRange expected = ReferenceRange(xs, xLeft, xRight);
    if (!(range == expected)) {
        Fail("FindVisibleRange gives " + Describe(range) + " instead of " + Describe(expected) +
             " for " + fuzz::Show(xLeft) + ".." + fuzz::Show(xRight));
    }

    std::vector<double> ys(xs.size());
    for (double& y : ys) y = fuzz::AwkwardDouble(data);
    const Axis bottom = DrawnAxis(data, AxisOrientation::Horizontal);
    const Axis left = DrawnAxis(data, AxisOrientation::Vertical);
    const std::vector<PointPx> vertices = chart_test::StairVertices(xs, ys, range, bottom, left);

    if (range.Empty() || range.Last <= 0) {
        Require(vertices.empty(), "a range of one point or none draws nothing");
        return 0;
    }
    Require(vertices.size() >= 2, "a drawn line has two vertices at least");
    const int start = std::max(range.First - 1, 0);
    const auto at = [](const std::vector<double>& values, int i) {
        return values[static_cast<std::size_t>(i)];
    };
    const PointPx first{bottom.ValueToPx(at(xs, start)), left.ValueToPx(at(ys, start))};
    const PointPx last{bottom.ValueToPx(at(xs, range.Last)), left.ValueToPx(at(ys, range.Last))};
    Require(vertices.front() == first, "the line starts at the point before the range");
    Require(vertices.back() == last, "the line ends at the range's last point");
    Require(vertices.size() <= 2 * static_cast<std::size_t>(range.Last - start) + 1,
            "two vertices per point at most");
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const PointPx v = vertices[i];
        Require(std::abs(v.XPx) <= chart::kPxLimit && std::abs(v.YPx) <= chart::kPxLimit,
                "vertices within kPxLimit");
        if (i == 0) continue;
        const PointPx before = vertices[i - 1];
        if (v.XPx < before.XPx) {
            Fail("the line goes left at vertex " + std::to_string(i) + " on " +
                 fuzz::Show(bottom.DrawnMinimum) + ".." + fuzz::Show(bottom.DrawnMaximum));
        }
        Require(v.XPx == before.XPx || v.YPx == before.YPx, "segments run along the axes");
        Require(!(v == before) || vertices.size() == 2, "repeats only in the lone dot");
    }
    return 0;
}
