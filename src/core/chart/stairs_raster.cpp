#include "core/chart/stairs_raster.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace chart {

namespace {

// Sub-samples: bit (8 * ky + kx) of a pixel's mask is the point at offset
// ((2 kx - 7) / 16, (2 ky - 7) / 16) from the pixel's centre. No sample lies on
// the boundary of a stroke whose vertices are whole pixels, so inside and
// outside are never ambiguous.
constexpr int kSubUnitsPerPx = 16;
constexpr int kRadiusSquaredSubUnits =
    (kLineWidthPx * kSubUnitsPerPx / 2) * (kLineWidthPx * kSubUnitsPerPx / 2);
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
    EndCapMasks(EndSide::Dot),  EndCapMasks(EndSide::Top),   EndCapMasks(EndSide::Bottom),
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

// Bits set in a sample mask. Written out because the portable target has no
// population-count instruction and std::popcount would become a library call.
constexpr std::size_t SampleCount(std::uint64_t mask) {
    mask -= (mask >> 1) & 0x5555555555555555ull;
    mask = (mask & 0x3333333333333333ull) + ((mask >> 2) & 0x3333333333333333ull);
    mask = (mask + (mask >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<std::size_t>((mask * 0x0101010101010101ull) >> 56);
}

static_assert(SampleCount(0) == 0 && SampleCount(kFull) == 64 && SampleCount(kLeftHalf) == 32);

}  // namespace

// The rasterizer's working memory. Between calls every pending column is retired and
// its masks are all zero, so a call only grows the buffers to its clip.
struct StairsRasterizer::Workspace {
    struct PendingColumn {
        int Column = -1;
        std::vector<std::uint64_t> Masks;  // one per row
        std::vector<int> TouchedRows;
    };

    // The fully covered pixels of a segment's straight body, clipped.
    struct Body {
        int Left;
        int Right;
        int Top;
        int Bottom;
    };

    std::array<PendingColumn, 3> Pending;  // indexed by column % 3
    std::vector<Body> HorizontalBodies;
    std::vector<Body> VerticalBodies;
    std::vector<int> FirstStarting;
    std::vector<int> FirstEnding;
    std::vector<int> NextStarting;
    std::vector<int> NextEnding;
    std::vector<std::uint8_t> Depth;
};

namespace {

// Writes one stroke into a mask in clip-local coordinates. The straight bodies
// of the segments cover whole pixels; only the pixels around vertices are
// partly covered. Their sub-sample masks are OR-ed per column and turned into
// alpha once the path has moved past the column (the path never goes back
// left, and a vertex reaches one column to each side), so each such pixel is
// written once, into a still empty mask. The bodies are filled afterwards:
// horizontal ones row by row, vertical ones, which would cost a store per row
// and column, in one top-down sweep.
class StrokeWriter {
    using Workspace = StairsRasterizer::Workspace;
    using PendingColumn = Workspace::PendingColumn;
    using Body = Workspace::Body;

public:
    StrokeWriter(std::vector<std::uint8_t>& alpha, int widthPx, int heightPx, Workspace& work)
        : alpha_(alpha), widthPx_(widthPx), heightPx_(heightPx), work_(work) {
        for (PendingColumn& pending : work_.Pending) {
            if (pending.Masks.size() < static_cast<std::size_t>(heightPx)) {
                pending.Masks.resize(static_cast<std::size_t>(heightPx), 0);
            }
            pending.Column = -1;
            pending.TouchedRows.clear();
        }
        work_.HorizontalBodies.clear();
        work_.VerticalBodies.clear();
    }

    // A vertical segment with top <= bottom.
    void Vertical(int x, int top, int bottom) {
        if (top == bottom) {
            End(x, top, EndSide::Dot);
            return;
        }
        End(x, top, EndSide::Top);
        End(x, bottom, EndSide::Bottom);
        AddBody(work_.VerticalBodies, x - 1, x + 1, top + 1, bottom - 1);
    }

    // The straight part of a horizontal segment with left < right; its ends
    // come separately, so that the caller can retire the columns in between.
    void HorizontalBody(int left, int right, int y) {
        AddBody(work_.HorizontalBodies, left + 1, right - 1, y - 1, y + 1);
    }

    // The round end of a segment at (x, y): the samples of its 3 x 3 pixels.
    void End(int x, int y, EndSide side) {
        const EndMasks& masks = kEndCaps[static_cast<std::size_t>(side)];
        for (int dx = -1; dx <= 1; ++dx) {
            const int column = x + dx;
            if (column < 0 || column >= widthPx_) {
                continue;
            }
            PendingColumn& pending = work_.Pending[static_cast<std::size_t>(column % 3)];
            if (pending.Column != column) {
                if (pending.Column >= 0) {
                    Retire(pending);  // a column the path has left behind
                }
                pending.Column = column;
            }
            for (int dy = -1; dy <= 1; ++dy) {
                const int row = y + dy;
                if (row < 0 || row >= heightPx_) {
                    continue;
                }
                std::uint64_t& mask = pending.Masks[static_cast<std::size_t>(row)];
                if (mask == 0) {
                    pending.TouchedRows.push_back(row);
                }
                mask |= masks[static_cast<std::size_t>(dy + 1)][static_cast<std::size_t>(dx + 1)];
            }
        }
    }

    // Every column left of `column` is complete.
    void RetireBefore(int column) {
        for (PendingColumn& pending : work_.Pending) {
            if (pending.Column >= 0 && pending.Column < column) {
                Retire(pending);
            }
        }
    }

    void Finish() {
        RetireBefore(widthPx_);
        for (const Body& body : work_.HorizontalBodies) {
            for (int y = body.Top; y <= body.Bottom; ++y) {
                std::memset(&alpha_[Index(body.Left, y)], 255,
                            static_cast<std::size_t>(body.Right - body.Left + 1));
            }
        }
        SweepVerticalBodies();
    }

private:
    void AddBody(std::vector<Body>& bodies, int left, int right, int top, int bottom) const {
        left = std::max(left, 0);
        right = std::min(right, widthPx_ - 1);
        top = std::max(top, 0);
        bottom = std::min(bottom, heightPx_ - 1);
        if (left <= right && top <= bottom) {
            bodies.push_back({left, right, top, bottom});
        }
    }

    // Goes down the rows once, keeping per column the number of bodies that
    // cover it (at most three: one per run, a run per column); each row that a
    // body touches is then written in one pass.
    void SweepVerticalBodies() {
        const std::vector<Body>& bodies = work_.VerticalBodies;
        if (bodies.empty()) {
            return;
        }
        // Per row, the bodies that start and that end there, as lists threaded
        // through the bodies.
        const auto rows = static_cast<std::size_t>(heightPx_);
        std::vector<int>& firstStarting = work_.FirstStarting;
        std::vector<int>& firstEnding = work_.FirstEnding;
        std::vector<int>& nextStarting = work_.NextStarting;
        std::vector<int>& nextEnding = work_.NextEnding;
        firstStarting.assign(rows, -1);
        firstEnding.assign(rows, -1);
        nextStarting.resize(bodies.size());
        nextEnding.resize(bodies.size());
        int left = widthPx_;
        int right = -1;
        for (std::size_t i = 0; i < bodies.size(); ++i) {
            const Body& body = bodies[i];
            nextStarting[i] = std::exchange(firstStarting[static_cast<std::size_t>(body.Top)],
                                            static_cast<int>(i));
            nextEnding[i] = std::exchange(firstEnding[static_cast<std::size_t>(body.Bottom)],
                                          static_cast<int>(i));
            left = std::min(left, body.Left);
            right = std::max(right, body.Right);
        }

        std::vector<std::uint8_t>& depth = work_.Depth;
        depth.assign(static_cast<std::size_t>(widthPx_), 0);
        const auto cover = [&depth](const Body& body, int delta) {
            for (int x = body.Left; x <= body.Right; ++x) {
                depth[static_cast<std::size_t>(x)] =
                    static_cast<std::uint8_t>(depth[static_cast<std::size_t>(x)] + delta);
            }
        };
        int active = 0;
        for (std::size_t row = 0; row < rows; ++row) {
            for (int i = firstStarting[row]; i >= 0;
                 i = nextStarting[static_cast<std::size_t>(i)]) {
                cover(bodies[static_cast<std::size_t>(i)], +1);
                ++active;
            }
            if (active > 0) {
                std::uint8_t* const out = &alpha_[Index(left, static_cast<int>(row))];
                const std::uint8_t* const covered = &depth[static_cast<std::size_t>(left)];
                for (int x = 0; x <= right - left; ++x) {
                    out[x] |= covered[x] != 0 ? 0xFF : 0x00;
                }
            }
            for (int i = firstEnding[row]; i >= 0; i = nextEnding[static_cast<std::size_t>(i)]) {
                cover(bodies[static_cast<std::size_t>(i)], -1);
                --active;
            }
        }
    }

    void Retire(PendingColumn& pending) {
        for (const int row : pending.TouchedRows) {
            std::uint64_t& mask = pending.Masks[static_cast<std::size_t>(row)];
            alpha_[Index(pending.Column, row)] = kAlphaOfCount[SampleCount(mask)];
            mask = 0;
        }
        pending.TouchedRows.clear();
        pending.Column = -1;
    }

    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(widthPx_) +
               static_cast<std::size_t>(x);
    }

    std::vector<std::uint8_t>& alpha_;
    int widthPx_;
    int heightPx_;
    Workspace& work_;
};

// The vertices of one pixel column, in clip-local coordinates.
struct Run {
    static constexpr int kNone = std::numeric_limits<int>::min();
    int X = kNone;
    int Top = 0;
    int Bottom = 0;
    int LastY = 0;
};

// Whether a horizontal segment ending at (run.X, y) adds nothing to the run's
// own vertical segment: its 3 x 3 pixels lie in the vertical body, or one row
// of them in the vertical segment's end cap, which contains the part of the
// horizontal end's disc that reaches that row.
bool CoveredByRun(const Run& run, int y) {
    return run.Top + 1 <= y && y <= run.Bottom - 1;
}

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

RectPx StairsClipRect(RectPx plotRectPx) {
    return {plotRectPx.Left, plotRectPx.Top - 1, plotRectPx.Right, plotRectPx.Bottom + 1};
}

StairsRasterizer::StairsRasterizer() : workspace_(std::make_unique<Workspace>()) {}

StairsRasterizer::~StairsRasterizer() = default;

const CoverageMask& StairsRasterizer::Rasterize(std::span<const PointPx> path, RectPx clipPx) {
    CheckStairPath(path);
    CoverageMask& mask = mask_;
    mask.ClipPx = clipPx;
    const int widthPx = std::max(clipPx.Width(), 0);
    const int heightPx = std::max(clipPx.Height(), 0);
    mask.Alpha.assign(static_cast<std::size_t>(widthPx) * static_cast<std::size_t>(heightPx), 0);
    if (path.size() < 2 || widthPx == 0 || heightPx == 0) {
        return mask;
    }

    // Each run of vertices in one column is drawn as one vertical segment from
    // its highest to its lowest vertex: the same set as all its segments.
    StrokeWriter writer(mask.Alpha, widthPx, heightPx, *workspace_);
    Run previous;
    for (std::size_t i = 0; i < path.size();) {
        Run run;
        run.X = path[i].XPx - clipPx.Left;
        run.Top = run.Bottom = path[i].YPx - clipPx.Top;
        for (; i < path.size() && path[i].XPx - clipPx.Left == run.X; ++i) {
            run.Top = std::min(run.Top, path[i].YPx - clipPx.Top);
            run.Bottom = std::max(run.Bottom, path[i].YPx - clipPx.Top);
            run.LastY = path[i].YPx - clipPx.Top;
        }
        if (previous.X != Run::kNone) {
            const int y = previous.LastY;
            if (!CoveredByRun(previous, y)) {
                writer.End(previous.X, y, EndSide::Left);
            }
            writer.HorizontalBody(previous.X, run.X, y);
            writer.RetireBefore(run.X - 1);
            if (!CoveredByRun(run, y)) {
                writer.End(run.X, y, EndSide::Right);
            }
        }
        writer.Vertical(run.X, run.Top, run.Bottom);
        previous = run;
    }
    writer.Finish();
    return mask;
}

}  // namespace chart
