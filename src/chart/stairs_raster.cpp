#include "chart/stairs_raster.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <stdexcept>

namespace chart {

namespace {

// Sub-samples: bit (8 * ky + kx) of a pixel's mask is the point at offset
// ((2 kx - 7) / 16, (2 ky - 7) / 16) from the pixel's centre. No sample lies on
// the boundary of a stroke whose vertices are whole pixels, so inside and
// outside are never ambiguous.
constexpr int kSubUnitsPerPx = 16;
constexpr int kRadiusSquaredSubUnits = (kLineWidthPx * kSubUnitsPerPx / 2) *
                                       (kLineWidthPx * kSubUnitsPerPx / 2);
constexpr std::uint64_t kFull = ~std::uint64_t{0};
constexpr std::uint64_t kUpperHalf = 0x00000000FFFFFFFFull;  // samples above the centre
constexpr std::uint64_t kLowerHalf = 0xFFFFFFFF00000000ull;
constexpr std::uint64_t kLeftHalf = 0x0F0F0F0F0F0F0F0Full;
constexpr std::uint64_t kRightHalf = 0xF0F0F0F0F0F0F0F0ull;

// The round end around a vertex covers the 3 x 3 pixels centred on it.
using EndMasks = std::array<std::array<std::uint64_t, 3>, 3>;  // [dy + 1][dx + 1]

constexpr EndMasks DiscMasks() {
    EndMasks masks{};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            std::uint64_t mask = 0;
            for (int ky = 0; ky < 8; ++ky) {
                for (int kx = 0; kx < 8; ++kx) {
                    const int sx = kSubUnitsPerPx * dx + 2 * kx - 7;
                    const int sy = kSubUnitsPerPx * dy + 2 * ky - 7;
                    if (sx * sx + sy * sy < kRadiusSquaredSubUnits) {
                        mask |= std::uint64_t{1} << (8 * ky + kx);
                    }
                }
            }
            masks[dy + 1][dx + 1] = mask;
        }
    }
    return masks;
}

// A segment's end: the disc plus the half of the end's row (or column) that
// the segment's straight body covers beside the vertex.
enum class EndSide { Dot, Top, Bottom, Left, Right };

constexpr EndMasks EndCapMasks(EndSide side) {
    EndMasks masks = DiscMasks();
    for (int d = 0; d <= 2; d += 2) {
        switch (side) {
        case EndSide::Dot:
            break;
        case EndSide::Top:  // body below the vertex
            masks[1][d] |= kLowerHalf;
            break;
        case EndSide::Bottom:
            masks[1][d] |= kUpperHalf;
            break;
        case EndSide::Left:  // body right of the vertex
            masks[d][1] |= kRightHalf;
            break;
        case EndSide::Right:
            masks[d][1] |= kLeftHalf;
            break;
        }
    }
    return masks;
}

constexpr std::array<EndMasks, 5> kEndCaps = {
    EndCapMasks(EndSide::Dot), EndCapMasks(EndSide::Top), EndCapMasks(EndSide::Bottom),
    EndCapMasks(EndSide::Left), EndCapMasks(EndSide::Right),
};

static_assert(kEndCaps[0][1][1] == kFull, "the vertex's own pixel is covered");
static_assert(kEndCaps[0][0][0] != 0 && kEndCaps[0][0][0] != kFull, "corners are partial");

constexpr std::array<std::uint8_t, 65> AlphaOfCount() {
    std::array<std::uint8_t, 65> alpha{};
    for (int count = 0; count <= 64; ++count) {
        alpha[static_cast<std::size_t>(count)] = static_cast<std::uint8_t>((count * 255 + 32) / 64);
    }
    return alpha;
}

constexpr std::array<std::uint8_t, 65> kAlphaOfCount = AlphaOfCount();

// Writes one stroke into a mask in clip-local coordinates. The straight bodies
// of the segments cover whole pixels; only the pixels around vertices are
// partly covered. Their sub-sample masks are OR-ed per column and turned into
// alpha once the path has moved past the column (the path never goes back
// left, and a vertex reaches one column to each side). Horizontal bodies are
// filled row by row as they come; vertical bodies, which would cost a store
// per row and column, are collected and filled in one top-down sweep.
class StrokeWriter {
public:
    StrokeWriter(std::vector<std::uint8_t>& alpha, int widthPx, int heightPx)
        : alpha_(alpha), widthPx_(widthPx), heightPx_(heightPx) {
        for (PendingColumn& pending : pending_) {
            pending.masks.assign(static_cast<std::size_t>(heightPx), 0);
        }
    }

    void Vertical(int x, int yFrom, int yTo) {
        const int top = std::min(yFrom, yTo);
        const int bottom = std::max(yFrom, yTo);
        if (top == bottom) {
            End(x, top, EndSide::Dot);
            return;
        }
        End(x, top, EndSide::Top);
        End(x, bottom, EndSide::Bottom);
        AddVerticalBody(x - 1, x + 1, top + 1, bottom - 1);
    }

    // A horizontal segment with left < right, written in two halves so that
    // the caller can retire the columns between its ends in between.
    void HorizontalStart(int left, int right, int y) {
        End(left, y, EndSide::Left);
        FillRows(left + 1, right - 1, y - 1, y + 1);
    }
    void HorizontalFinish(int right, int y) { End(right, y, EndSide::Right); }

    // Every column left of `column` is complete.
    void RetireBefore(int column) {
        for (PendingColumn& pending : pending_) {
            if (pending.column >= 0 && pending.column < column) {
                Retire(pending);
            }
        }
    }

    void Finish() {
        RetireBefore(widthPx_);
        SweepVerticalBodies();
    }

private:
    struct PendingColumn {
        int column = -1;
        std::vector<std::uint64_t> masks;  // one per row
        std::vector<int> touchedRows;
    };

    // Fully covered pixels of a vertical body, clipped.
    struct Body {
        int left;
        int right;
        int top;
        int bottom;
    };

    static bool Clip(int& left, int& right, int& top, int& bottom, int widthPx, int heightPx) {
        left = std::max(left, 0);
        right = std::min(right, widthPx - 1);
        top = std::max(top, 0);
        bottom = std::min(bottom, heightPx - 1);
        return left <= right && top <= bottom;
    }

    void FillRows(int left, int right, int top, int bottom) {
        if (!Clip(left, right, top, bottom, widthPx_, heightPx_)) {
            return;
        }
        for (int y = top; y <= bottom; ++y) {
            std::memset(&alpha_[Index(left, y)], 255, static_cast<std::size_t>(right - left + 1));
        }
    }

    void AddVerticalBody(int left, int right, int top, int bottom) {
        if (Clip(left, right, top, bottom, widthPx_, heightPx_)) {
            bodies_.push_back({left, right, top, bottom});
        }
    }

    // Goes down the rows once, keeping per column the number of bodies that
    // cover it; each row touched by a body is then written in one pass.
    void SweepVerticalBodies() {
        if (bodies_.empty()) {
            return;
        }
        // Bodies starting at each row, bucketed by a counting sort.
        std::vector<int> startOfRow(static_cast<std::size_t>(heightPx_) + 1, 0);
        for (const Body& body : bodies_) {
            ++startOfRow[static_cast<std::size_t>(body.top) + 1];
        }
        for (std::size_t row = 1; row < startOfRow.size(); ++row) {
            startOfRow[row] += startOfRow[row - 1];
        }
        std::vector<int> byTop(bodies_.size());
        std::vector<int> next(startOfRow.begin(), startOfRow.end() - 1);
        for (std::size_t i = 0; i < bodies_.size(); ++i) {
            byTop[static_cast<std::size_t>(next[static_cast<std::size_t>(bodies_[i].top)]++)] =
                static_cast<int>(i);
        }
        // Bodies ending at each row, as a list threaded through the bodies.
        std::vector<int> firstEnding(static_cast<std::size_t>(heightPx_), -1);
        std::vector<int> nextEnding(bodies_.size(), -1);
        for (std::size_t i = 0; i < bodies_.size(); ++i) {
            int& head = firstEnding[static_cast<std::size_t>(bodies_[i].bottom)];
            nextEnding[i] = head;
            head = static_cast<int>(i);
        }

        std::vector<std::uint8_t> depth(static_cast<std::size_t>(widthPx_), 0);
        int left = widthPx_;
        int right = -1;
        for (const Body& body : bodies_) {
            left = std::min(left, body.left);
            right = std::max(right, body.right);
        }
        int active = 0;
        for (int y = 0; y < heightPx_; ++y) {
            const auto row = static_cast<std::size_t>(y);
            for (int k = startOfRow[row]; k < startOfRow[row + 1]; ++k) {
                const Body& body = bodies_[static_cast<std::size_t>(byTop[static_cast<std::size_t>(k)])];
                for (int x = body.left; x <= body.right; ++x) {
                    ++depth[static_cast<std::size_t>(x)];
                }
                ++active;
            }
            if (active > 0) {
                std::uint8_t* out = &alpha_[Index(left, y)];
                const std::uint8_t* covered = &depth[static_cast<std::size_t>(left)];
                const int count = right - left + 1;
                for (int x = 0; x < count; ++x) {
                    out[x] |= covered[x] != 0 ? 0xFF : 0x00;
                }
            }
            for (int i = firstEnding[row]; i >= 0; i = nextEnding[static_cast<std::size_t>(i)]) {
                const Body& body = bodies_[static_cast<std::size_t>(i)];
                for (int x = body.left; x <= body.right; ++x) {
                    --depth[static_cast<std::size_t>(x)];
                }
                --active;
            }
        }
    }

    void End(int x, int y, EndSide side) {
        const EndMasks& masks = kEndCaps[static_cast<std::size_t>(side)];
        for (int dx = -1; dx <= 1; ++dx) {
            const int column = x + dx;
            if (column < 0 || column >= widthPx_) {
                continue;
            }
            PendingColumn& pending = pending_[static_cast<std::size_t>(column % 3)];
            if (pending.column != column) {
                if (pending.column >= 0) {
                    Retire(pending);
                }
                pending.column = column;
            }
            for (int dy = -1; dy <= 1; ++dy) {
                const int row = y + dy;
                if (row < 0 || row >= heightPx_) {
                    continue;
                }
                std::uint64_t& mask = pending.masks[static_cast<std::size_t>(row)];
                if (mask == 0) {
                    pending.touchedRows.push_back(row);
                }
                mask |= masks[static_cast<std::size_t>(dy + 1)][static_cast<std::size_t>(dx + 1)];
            }
        }
    }

    void Retire(PendingColumn& pending) {
        for (const int row : pending.touchedRows) {
            std::uint64_t& mask = pending.masks[static_cast<std::size_t>(row)];
            std::uint8_t& pixel = alpha_[Index(pending.column, row)];
            // A pixel already at 255 lies inside a segment's body.
            pixel = std::max(pixel, kAlphaOfCount[static_cast<std::size_t>(std::popcount(mask))]);
            mask = 0;
        }
        pending.touchedRows.clear();
        pending.column = -1;
    }

    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(widthPx_) +
               static_cast<std::size_t>(x);
    }

    std::vector<std::uint8_t>& alpha_;
    int widthPx_;
    int heightPx_;
    std::array<PendingColumn, 3> pending_;  // indexed by column % 3
    std::vector<Body> bodies_;
};

void CheckStairPath(std::span<const PointPx> path) {
    for (std::size_t i = 1; i < path.size(); ++i) {
        const PointPx from = path[i - 1];
        const PointPx to = path[i];
        if (to.XPx < from.XPx || (to.XPx != from.XPx && to.YPx != from.YPx)) {
            throw std::invalid_argument("not a stair path");
        }
    }
}

}  // namespace

PxRect StairsClipRect(PxRect plotRectPx) {
    return {plotRectPx.LeftPx, plotRectPx.TopPx - 1, plotRectPx.RightPx, plotRectPx.BottomPx + 1};
}

std::vector<PointPx> CollapseColumns(std::span<const PointPx> path) {
    std::vector<PointPx> collapsed;
    const auto append = [&collapsed](PointPx vertex) {
        if (collapsed.empty() || !(collapsed.back() == vertex)) {
            collapsed.push_back(vertex);
        }
    };
    for (std::size_t i = 0; i < path.size();) {
        const int x = path[i].XPx;
        int top = path[i].YPx;
        int bottom = path[i].YPx;
        std::size_t end = i;
        for (; end < path.size() && path[end].XPx == x; ++end) {
            top = std::min(top, path[end].YPx);
            bottom = std::max(bottom, path[end].YPx);
        }
        // Visit first the extreme that lets a repeat drop out: the one the run
        // starts at, or the one it does not end at.
        const PointPx first = path[i];
        const PointPx last = path[end - 1];
        const bool bottomFirst = first.YPx == bottom || last.YPx == top;
        append(first);
        append({x, bottomFirst ? bottom : top});
        append({x, bottomFirst ? top : bottom});
        append(last);
        i = end;
    }
    if (collapsed.size() == 1 && path.size() > 1) {
        collapsed.push_back(collapsed.front());  // keep the zero-length segment's dot
    }
    return collapsed;
}

CoverageMask RasterizeStairs(std::span<const PointPx> path, PxRect clipPx) {
    CheckStairPath(path);
    CoverageMask mask;
    mask.ClipPx = clipPx;
    const int widthPx = std::max(clipPx.WidthPx(), 0);
    const int heightPx = std::max(clipPx.HeightPx(), 0);
    mask.Alpha.assign(static_cast<std::size_t>(widthPx) * static_cast<std::size_t>(heightPx), 0);
    if (path.size() < 2 || widthPx == 0 || heightPx == 0) {
        return mask;
    }

    // Each run of vertices in one column is drawn as one vertical segment from
    // its highest to its lowest vertex: the same set as all its segments.
    StrokeWriter writer(mask.Alpha, widthPx, heightPx);
    bool hasPreviousRun = false;
    int previousX = 0;
    int previousLastY = 0;
    for (std::size_t i = 0; i < path.size();) {
        const int x = path[i].XPx - clipPx.LeftPx;
        int top = path[i].YPx;
        int bottom = path[i].YPx;
        std::size_t end = i;
        for (; end < path.size() && path[end].XPx == path[i].XPx; ++end) {
            top = std::min(top, path[end].YPx);
            bottom = std::max(bottom, path[end].YPx);
        }
        if (hasPreviousRun) {
            writer.HorizontalStart(previousX, x, previousLastY);
            writer.RetireBefore(x - 1);
            writer.HorizontalFinish(x, previousLastY);
        }
        writer.Vertical(x, top - clipPx.TopPx, bottom - clipPx.TopPx);
        hasPreviousRun = true;
        previousX = x;
        previousLastY = path[end - 1].YPx - clipPx.TopPx;
        i = end;
    }
    writer.Finish();
    return mask;
}

}  // namespace chart
