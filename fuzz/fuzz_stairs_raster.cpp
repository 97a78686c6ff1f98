// The stepped line's rasterizer against a brute-force model of its contract on small
// clips: each pixel is the unit square around its centre, sampled on an 8 x 8 grid; a
// sample is covered when it lies closer than 1.5 px to a segment of the path (the union
// of the 3-px pen's capsules), and the alpha is the covered share rounded to 0..255.
// Paths wander in and out of the clip; their collapsed form must give the same picture;
// paths that are not stair paths must be refused.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/chart/stairs_raster.h"
#include "fuzz_support.h"
#include "stairs_oracle.h"

namespace {

using chart::CoverageMask;
using chart::PointPx;
using chart::RectPx;
using fuzz::Fail;
using fuzz::Require;

// Sample coordinates are in sixteenths of a pixel: sample (kx, ky) of pixel (x, y) lies
// at (16 x + 2 kx - 7, 16 y + 2 ky - 7). The pen's radius is 1.5 px = 24 sixteenths.
constexpr std::int64_t kRadius = 24;

bool Covered(std::int64_t sx, std::int64_t sy, PointPx a, PointPx b) {
    // A segment along a grid line is a box of zero width or height: its nearest point
    // to the sample is the sample clamped into the box.
    const std::int64_t left = 16 * std::int64_t{std::min(a.XPx, b.XPx)};
    const std::int64_t right = 16 * std::int64_t{std::max(a.XPx, b.XPx)};
    const std::int64_t top = 16 * std::int64_t{std::min(a.YPx, b.YPx)};
    const std::int64_t bottom = 16 * std::int64_t{std::max(a.YPx, b.YPx)};
    const std::int64_t dx = sx - std::clamp(sx, left, right);
    const std::int64_t dy = sy - std::clamp(sy, top, bottom);
    if (dx <= -kRadius || dx >= kRadius || dy <= -kRadius || dy >= kRadius) return false;
    return dx * dx + dy * dy < kRadius * kRadius;
}

CoverageMask ModelMask(const std::vector<PointPx>& path, RectPx clip) {
    CoverageMask mask;
    mask.ClipPx = clip;
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        for (int x = clip.Left; x < clip.Right; ++x) {
            int count = 0;
            for (int k = 0; k < 64; ++k) {
                const std::int64_t sx = 16 * std::int64_t{x} + 2 * (k % 8) - 7;
                const std::int64_t sy = 16 * std::int64_t{y} + 2 * (k / 8) - 7;
                for (std::size_t i = 1; i < path.size(); ++i) {
                    if (Covered(sx, sy, path[i - 1], path[i])) {
                        ++count;
                        break;
                    }
                }
            }
            mask.Alpha.push_back(static_cast<std::uint8_t>(std::lround(count * 255 / 64.0)));
        }
    }
    return mask;
}

void RequireSameMask(const CoverageMask& actual, const CoverageMask& expected, const char* what) {
    Require(actual.ClipPx == expected.ClipPx, "the mask's clip");
    Require(actual.Alpha.size() == expected.Alpha.size(), "the mask's size");
    const RectPx clip = expected.ClipPx;
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        for (int x = clip.Left; x < clip.Right; ++x) {
            if (actual.At(x, y) != expected.At(x, y)) {
                Fail(std::string(what) + ": pixel (" + std::to_string(x) + ", " +
                     std::to_string(y) + ") is " + std::to_string(actual.At(x, y)) +
                     " instead of " + std::to_string(expected.At(x, y)));
            }
        }
    }
}

bool IsStairPath(const std::vector<PointPx>& path) {
    for (std::size_t i = 1; i < path.size(); ++i) {
        const PointPx a = path[i - 1];
        const PointPx b = path[i];
        if (b.XPx < a.XPx || (a.XPx != b.XPx && a.YPx != b.YPx)) return false;
    }
    return true;
}

// A stair path starting near the clip: runs right and up or down, sometimes of zero
// length, sometimes far outside the clip.
std::vector<PointPx> StairPath(FuzzedDataProvider& data, RectPx clip) {
    std::vector<PointPx> path;
    PointPx pen{clip.Left + data.ConsumeIntegralInRange(-4, 4),
                clip.Top + data.ConsumeIntegralInRange(-4, clip.Height() + 4)};
    path.push_back(pen);
    const int count = data.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < count && data.remaining_bytes() > 0; ++i) {
        switch (data.ConsumeIntegralInRange(0, 7)) {
            case 0:
                pen.XPx += data.ConsumeIntegralInRange(0, 1000);
                break;
            case 1:
                pen.YPx = data.ConsumeBool() ? clip.Top - 1000 : clip.Bottom + 1000;
                break;
            case 2:
            case 3:
                pen.XPx += data.ConsumeIntegralInRange(0, 4);
                break;
            default:
                pen.YPx = clip.Top + data.ConsumeIntegralInRange(-4, clip.Height() + 4);
                break;
        }
        path.push_back(pen);
    }
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const RectPx clip =
        RectPx::FromSize(data.ConsumeIntegralInRange(-8, 8), data.ConsumeIntegralInRange(-8, 8),
                         data.ConsumeIntegralInRange(0, 24), data.ConsumeIntegralInRange(0, 24));

    if (data.ConsumeIntegralInRange(0, 7) == 0) {
        // Any path of small coordinates: refused exactly when it is not a stair path.
        std::vector<PointPx> path(data.ConsumeIntegralInRange<std::size_t>(0, 6));
        for (PointPx& p : path) {
            p = {data.ConsumeIntegralInRange(-3, 3), data.ConsumeIntegralInRange(-3, 3)};
        }
        bool refused = false;
        try {
            chart_test::RasterizeStairs(path, clip);
        } catch (const std::invalid_argument&) {
            refused = true;
        }
        Require(refused == !IsStairPath(path), "only non-stair paths are refused");
        return 0;
    }

    const std::vector<PointPx> path = StairPath(data, clip);
    const CoverageMask expected = ModelMask(path, clip);
    RequireSameMask(chart_test::RasterizeStairs(path, clip), expected, "the path");

    const std::vector<PointPx> collapsed = chart_test::CollapseColumns(path);
    Require(IsStairPath(collapsed), "the collapsed path is a stair path");
    Require(collapsed.front() == path.front() && collapsed.back() == path.back(),
            "the collapsed path starts and ends where the path does");
    for (std::size_t i = 0, run = 0; i < collapsed.size(); ++i) {
        run = i > 0 && collapsed[i].XPx == collapsed[i - 1].XPx ? run + 1 : 1;
        Require(run <= 4, "at most four vertices per column");
    }
    RequireSameMask(chart_test::RasterizeStairs(collapsed, clip), expected, "the collapsed path");
    return 0;
}
