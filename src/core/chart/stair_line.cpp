#include "core/chart/stair_line.h"

#include <algorithm>
#include <cstddef>

#include "core/chart/stairs_raster.h"

namespace chart {

namespace {

// Columns or rows beyond a vertex that a part's stroke may touch, margin included.
constexpr int kReachPx = kStrokeReachPx + kPartMarginPx;

}  // namespace

RowSpan Union(RowSpan a, RowSpan b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.Top, b.Top), std::max(a.Bottom, b.Bottom)};
}

StairLine::StairLine(std::span<const double> xValues, std::span<const double> yValues,
                     VisibleRange range, const Axis& bottom, const Axis& left)
    : xValues_(xValues), yValues_(yValues), bottom_(bottom), left_(left) {
    drawn_ = !range.Empty() && range.Last > 0 && range.Last >= range.First;
    if (drawn_) {
        start_ = range.First >= 1 ? range.First - 1 : range.First;
        last_ = range.Last;
    }
}

int StairLine::XPx(int i) const {
    return bottom_.ValueToPx(xValues_[static_cast<std::size_t>(i)]);
}

int StairLine::YPx(int i) const {
    return left_.ValueToPx(yValues_[static_cast<std::size_t>(i)]);
}

void StairLine::Vertices(int from, int to, bool withLastJump, std::vector<PointPx>& out) const {
    out.clear();
    if (from > to) return;
    out.reserve(2 * static_cast<std::size_t>(to - from) + 1);
    PointPx pen{XPx(from), YPx(from)};
    out.push_back(pen);
    const auto lineTo = [&out](PointPx next) {
        if (!(next == out.back())) out.push_back(next);
    };
    for (int i = from + 1; i <= to; ++i) {
        pen.XPx = XPx(i);
        lineTo(pen);
        if (i < to || withLastJump) {
            pen.YPx = YPx(i);
            lineTo(pen);
        }
    }
    if (out.size() == 1 && to > from) out.push_back(out.front());
}

// The x pixels of the points grow with their index (x ascending, the axis not reversed),
// so both ends are found by bisection.
RowSpan StairLine::PartReaching(int leftPx, int rightPx, std::vector<PointPx>& out) const {
    out.clear();
    if (!drawn_) return {};
    const auto firstWhere = [this](int lo, auto&& holds) {
        int hi = last_ + 1;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (holds(mid)) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        return lo;
    };
    const int leftLimitPx = leftPx - 1 - kReachPx;
    const int afterLeft = firstWhere(start_, [&](int i) { return XPx(i) > leftLimitPx; });
    const int from = afterLeft > start_ ? afterLeft - 1 : start_;
    const int rightLimitPx = rightPx + kReachPx;
    const int beyond = firstWhere(from, [&](int i) { return XPx(i) >= rightLimitPx; });
    const bool reachesEnd = beyond > last_;
    Vertices(from, reachesEnd ? last_ : beyond, reachesEnd, out);
    if (out.size() < 2) {
        out.clear();
        return {};
    }
    const auto [low, high] = std::minmax_element(
        out.begin(), out.end(), [](PointPx a, PointPx b) { return a.YPx < b.YPx; });
    return {low->YPx - kReachPx, high->YPx + kReachPx + 1};
}

RectPx StairLine::AppendedArea(bool oldDrawn, int oldLast, std::vector<PointPx>& scratch) const {
    if (!drawn_) return {};
    Vertices(oldDrawn ? oldLast : start_, last_, true, scratch);
    if (scratch.empty()) return {};
    RectPx area{scratch.front().XPx, scratch.front().YPx, scratch.front().XPx, scratch.front().YPx};
    for (const PointPx p : scratch) {
        area.Left = std::min(area.Left, p.XPx);
        area.Right = std::max(area.Right, p.XPx);
        area.Top = std::min(area.Top, p.YPx);
        area.Bottom = std::max(area.Bottom, p.YPx);
    }
    return {area.Left - kReachPx, area.Top - kReachPx, area.Right + kReachPx + 1,
            area.Bottom + kReachPx + 1};
}

}  // namespace chart
