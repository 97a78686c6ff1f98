// The stepped line of a visible range read straight from the series, so that a redraw of a
// few pixel columns finds the points whose strokes reach them by binary search on the
// ascending x values instead of walking the whole line: the columns of a strip of a full
// redraw, and the columns that appended samples change.
#pragma once

#include "core/chart/axis.h"
#include "core/chart/geometry.h"
#include "core/chart/visible_range.h"

#include <span>
#include <vector>

namespace chart {

// Rows Top .. Bottom - 1; empty when Bottom <= Top.
struct RowSpan {
    int Top = 0;
    int Bottom = 0;

    bool Empty() const { return Bottom <= Top; }
    bool operator==(const RowSpan&) const = default;
};

// The smallest span that holds both.
RowSpan Union(RowSpan a, RowSpan b);

// Columns kept beyond a stroke's reach when deciding which points reach some columns, so
// that an error of a pixel in that reasoning still leaves the coverage exact.
inline constexpr int kPartMarginPx = 1;

class StairLine {
public:
    // The stepped line over `range`, in client pixels: it starts at point First - 1 (or
    // First when that is 0) and, for each later point up to Last, runs horizontally to the
    // point's x and then vertically to its y. The spans and axes must outlive the line.
    StairLine(std::span<const double> xValues, std::span<const double> yValues, VisibleRange range,
              const Axis& bottom, const Axis& left);

    // False when the range draws nothing: it holds fewer than two points.
    bool Drawn() const { return drawn_; }
    int StartIndex() const { return start_; }
    int LastIndex() const { return last_; }

    // The pixel of point i's x or y value.
    int XPx(int i) const;
    int YPx(int i) const;

    // The vertices from point `from` to point `to` of the line: point from's vertex, then per later
    // point a horizontal run to its x and, but for the last point when `withLastJump` is false, a
    // vertical jump to its y; repeats dropped, and a zero-length segment (two equal vertices) when
    // all of them fall on one pixel and the points are two or more. Written into `out`.
    void Vertices(int from, int to, bool withLastJump, std::vector<PointPx>& out) const;

    // The part of the line that holds every segment whose stroke reaches the columns
    // leftPx .. rightPx - 1: from the last point lying kStrokeReachPx + kPartMarginPx + 1
    // or more columns left of leftPx (else from the start) to the first point as far right
    // of the last column (else to the end), without that point's jump. Its coverage inside
    // those columns is the whole line's. Written into `out`; returns the rows its strokes
    // may reach, empty when it has no segment.
    RowSpan PartReaching(int leftPx, int rightPx, std::vector<PointPx>& out) const;

    // The pixels that differ between this line and the same line ending at point
    // `oldLast` (a line of the same start and the same points up to oldLast, drawn when
    // `oldDrawn`, else nothing): the strokes of the segments after point oldLast's vertex,
    // or of the whole line, with the margin. `scratch` holds the vertices on the way.
    RectPx AppendedArea(bool oldDrawn, int oldLast, std::vector<PointPx>& scratch) const;

private:
    std::span<const double> xValues_;
    std::span<const double> yValues_;
    const Axis& bottom_;
    const Axis& left_;
    bool drawn_ = false;
    int start_ = 0;
    int last_ = -1;
};

}  // namespace chart
