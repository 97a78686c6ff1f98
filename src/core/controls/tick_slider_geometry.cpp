#include "core/controls/tick_slider_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/base/rounding.h"
#include "core/layout/scale.h"

namespace controls {
namespace {

constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

// The smallest multiple of `step` (> 0) that is not below `value`.
std::int64_t FirstMultipleFrom(std::int64_t value, std::int64_t step) {
    std::int64_t q = value / step;
    if (q * step < value) ++q;
    return q * step;
}

enum class TravelRounding { ExactQuotient, PerStepFactor };

// Pixels from the border inset to the thumb's left edge at `steps` positions above Min, for
// a travel of `spanPx` over `range` (> 0) positions; truncated towards zero. The thumb takes
// the exact quotient spanPx * steps / range. The tick marks and the threshold of a track
// press take the pixels per step first, spanPx / range as a double, and truncate its product
// with the steps. That double can lie just below the true ratio, and where the exact quotient
// is a whole number the product then falls one pixel short: a span of 1 pixel over 49
// positions puts the thumb at Max 1 pixel in, but its mark and the press threshold at 0.
// Both roundings are the slider's contract: the marks' and the threshold's pixels are the
// per-step ones, the thumb's the exact ones, and one rounding for all three would move a
// mark or the threshold by a pixel at such ranges. At the window's range of 9999 positions
// the two agree on every position at the designed width and its scalings.
std::int64_t TravelPx(int spanPx, std::int64_t range, std::int64_t steps, TravelRounding rounding) {
    if (rounding == TravelRounding::ExactQuotient) return std::int64_t{spanPx} * steps / range;
    const double perStepPx = static_cast<double>(spanPx) / static_cast<double>(range);
    return static_cast<std::int64_t>(std::trunc(static_cast<double>(steps) * perStepPx));
}

}  // namespace

TickSliderMetrics TickSliderMetrics::ScaledBy(int newDpi, int oldDpi) const {
    auto scale = [&](int v) { return layout::ScaleValue(v, newDpi, oldDpi); };
    TickSliderMetrics m = *this;
    m.ThumbWidthPx = scale(ThumbWidthPx);
    m.ThumbHeightPx = scale(ThumbHeightPx);
    m.HalfWidthPx = scale(HalfWidthPx);
    m.TrackOffsetPx = scale(TrackOffsetPx);
    m.TrackWidthPx = scale(TrackWidthPx);
    m.TickEndPx = scale(TickEndPx);
    return m;
}

int TickSliderLayout::TravelSpanPx() const {
    return WidthPx - Metrics.ThumbWidthPx - 2 * Metrics.BorderPx;
}

base::RectPx TickSliderLayout::TrackRect() const {
    const TickSliderMetrics& m = Metrics;
    return {m.HalfWidthPx + m.BorderPx, m.TrackOffsetPx, WidthPx - m.BorderPx - m.HalfWidthPx,
            m.TrackOffsetPx + m.TrackWidthPx};
}

base::RectPx TickSliderLayout::ThumbRect(int position) const {
    const TickSliderMetrics& m = Metrics;
    const std::int64_t range = static_cast<std::int64_t>(Max) - Min;
    const std::int64_t travel = range > 0
                                    ? TravelPx(TravelSpanPx(), range, position - std::int64_t{Min},
                                               TravelRounding::ExactQuotient)
                                    : 0;
    const int left = m.BorderPx + static_cast<int>(travel);
    const int top = (m.TrackWidthPx - m.ThumbHeightPx) / 2 + m.TrackOffsetPx - m.ThumbLiftPx;
    return {left, top, left + m.ThumbWidthPx, top + m.ThumbHeightPx};
}

std::vector<int> TickSliderLayout::TickXs(int tickStep) const {
    std::vector<int> xs;
    if (tickStep <= 0 || Max < Min) return xs;
    const std::int64_t range = static_cast<std::int64_t>(Max) - Min;
    for (std::int64_t c = FirstMultipleFrom(Min, tickStep); c <= Max; c += tickStep) {
        const std::int64_t travel =
            range > 0 ? TravelPx(TravelSpanPx(), range, c - Min, TravelRounding::PerStepFactor) : 0;
        xs.push_back(Metrics.BorderPx + static_cast<int>(travel) + Metrics.HalfWidthPx);
    }
    return xs;
}

int TickSliderLayout::PositionAt(int x, int centerOffsetX) const {
    const base::RectPx track = TrackRect();
    const int span = track.Right - track.Left;
    if (span <= 0 || Max <= Min) return Min;
    const double range = static_cast<double>(Max) - Min;
    const double raw = (static_cast<double>(x) - track.Left - centerOffsetX) / span * range + Min;
    const double clamped = std::clamp(raw, static_cast<double>(Min), static_cast<double>(Max));
    return static_cast<int>(base::RoundHalfEven(clamped));
}

bool TickSliderLayout::PressPointsUp(int x, int position) const {
    const std::int64_t range = static_cast<std::int64_t>(Max) - Min;
    const std::int64_t travel = range > 0
                                    ? TravelPx(TravelSpanPx(), range, position - std::int64_t{Min},
                                               TravelRounding::PerStepFactor)
                                    : 0;
    return x >= Metrics.BorderPx + travel;
}

int KeyRequest(SliderKey key, int position, int min, int max, int pageSize) {
    switch (key) {
        case SliderKey::Left:
        case SliderKey::Down:
        case SliderKey::Subtract:
            return position > min ? position - 1 : position;
        case SliderKey::Right:
        case SliderKey::Up:
        case SliderKey::Add:
            return position < max ? position + 1 : position;
        case SliderKey::PageUp:
            return static_cast<int>(
                std::clamp<std::int64_t>(std::int64_t{position} + pageSize, kIntMin, kIntMax));
        case SliderKey::PageDown:
            return static_cast<int>(
                std::clamp<std::int64_t>(std::int64_t{position} - pageSize, kIntMin, kIntMax));
        case SliderKey::Home:
            return min;
        case SliderKey::End:
            return max;
        case SliderKey::Other:
            break;
    }
    return position;
}

TickSliderModel::TickSliderModel(int min, int max, int position, int pageSize, int tickStep)
    : pageSize_(pageSize), tickStep_(tickStep) {
    layout_.Min = min;
    layout_.Max = std::max(min, max);
    position_ = std::clamp(position, layout_.Min, layout_.Max);
}

bool TickSliderModel::RequestPosition(int value) {
    if (value == position_) return false;
    position_ = std::clamp(value, layout_.Min, layout_.Max);
    return true;
}

void TickSliderModel::Request(int value, SliderEffects& fx) {
    if (RequestPosition(value)) fx.Changed = true;
}

SliderEffects TickSliderModel::Key(SliderKey key) {
    SliderEffects fx;
    Request(KeyRequest(key, position_, layout_.Min, layout_.Max, pageSize_), fx);
    return fx;
}

void TickSliderModel::Press(int x, int y, SliderEffects& fx) {
    const base::RectPx thumb = ThumbRect();
    if (thumb.Contains(x, y)) {
        EndPress(fx);
        sliding_ = true;
        thumbCenterOffsetX_ = x - (thumb.Left + (thumb.Right - thumb.Left) / 2);
        dragPointerX_ = x;
        dragPointerY_ = y;
        return;
    }
    if (!TrackRect().Contains(x, y)) return;
    // Only the user's press starts the timer afresh; a repeated press keeps its pace.
    if (!repeatRunning_) {
        repeatRunning_ = true;
        repeatIntervalMs_ = kFirstRepeatMs;
        fx.Timer = true;
    }
    lastX_ = x;
    lastY_ = y;
    const bool up = layout_.PressPointsUp(x, position_);
    if (!paging_) {
        pagingDirInc_ = up;
        paging_ = true;
    }
    if (up != pagingDirInc_) {
        EndPress(fx);
        return;
    }
    Request(layout_.PositionAt(x, thumbCenterOffsetX_), fx);
}

void TickSliderModel::EndPress(SliderEffects& fx) {
    if (StopRepeat().Timer) fx.Timer = true;
    paging_ = false;
    if (!sliding_) return;
    sliding_ = false;
    if (useHotThumb_) {
        useHotThumb_ = false;
        fx.ThumbLook = true;
    }
}

SliderEffects TickSliderModel::LeftPress(int x, int y) {
    SliderEffects fx;
    Press(x, y, fx);
    if ((sliding_ || paging_) && !holdsCapture_) {
        holdsCapture_ = true;
        fx.Capture = true;
    }
    return fx;
}

SliderEffects TickSliderModel::MouseMove(int x, int y) {
    SliderEffects fx;
    if (sliding_) {
        // The platform also reports a still pointer as moved (a window appearing under it,
        // a change of capture): only a real movement drags the thumb, which otherwise
        // would jump from where the press put it.
        if (x == dragPointerX_ && y == dragPointerY_) return fx;
        dragPointerX_ = x;
        dragPointerY_ = y;
        Request(layout_.PositionAt(x, thumbCenterOffsetX_), fx);
        return fx;
    }
    const bool hot = ThumbRect().Contains(x, y);
    if (hot != useHotThumb_) {
        useHotThumb_ = hot;
        fx.ThumbLook = true;
    }
    return fx;
}

SliderEffects TickSliderModel::LeftRelease() {
    SliderEffects fx;
    EndPress(fx);
    if (holdsCapture_) {
        holdsCapture_ = false;
        fx.Capture = true;
    }
    return fx;
}

SliderEffects TickSliderModel::CaptureLost() {
    return LeftRelease();
}

SliderEffects TickSliderModel::MouseLeave() {
    SliderEffects fx;
    if (!sliding_ && useHotThumb_) {
        useHotThumb_ = false;
        fx.ThumbLook = true;
    }
    return fx;
}

SliderEffects TickSliderModel::RepeatTimerFired() {
    SliderEffects fx;
    if (!repeatRunning_) return fx;
    if (repeatIntervalMs_ != kNextRepeatMs) {
        repeatIntervalMs_ = kNextRepeatMs;
        fx.Timer = true;
    }
    if (holdsCapture_) Press(lastX_, lastY_, fx);
    return fx;
}

SliderEffects TickSliderModel::StopRepeat() {
    SliderEffects fx;
    if (repeatRunning_ || repeatIntervalMs_ != kFirstRepeatMs) fx.Timer = true;
    repeatRunning_ = false;
    repeatIntervalMs_ = kFirstRepeatMs;
    return fx;
}

SliderMode TickSliderModel::Mode() const noexcept {
    if (sliding_) return SliderMode::Drag;
    if (paging_) return SliderMode::TrackPress;
    return SliderMode::Idle;
}

}  // namespace controls
