#include "controls/tick_slider_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/rounding.h"
#include "layout/scale.h"

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

}  // namespace

TickSliderMetrics TickSliderMetrics::ScaledBy(int newDpi, int oldDpi) const {
    auto scale = [&](int v) { return layout::ScaleValue(v, newDpi, oldDpi); };
    TickSliderMetrics m = *this;
    m.thumbWidthPx = scale(thumbWidthPx);
    m.thumbHeightPx = scale(thumbHeightPx);
    m.halfWidthPx = scale(halfWidthPx);
    m.trackOffsetPx = scale(trackOffsetPx);
    m.trackWidthPx = scale(trackWidthPx);
    m.tickEndPx = scale(tickEndPx);
    return m;
}

int TickSliderLayout::TravelSpanPx() const {
    return widthPx - metrics.thumbWidthPx - 2 * metrics.borderPx;
}

base::RectPx TickSliderLayout::TrackRect() const {
    const TickSliderMetrics& m = metrics;
    return {m.halfWidthPx + m.borderPx, m.trackOffsetPx, widthPx - m.borderPx - m.halfWidthPx,
            m.trackOffsetPx + m.trackWidthPx};
}

base::RectPx TickSliderLayout::ThumbRect(int position) const {
    const TickSliderMetrics& m = metrics;
    const std::int64_t range = static_cast<std::int64_t>(max) - min;
    // The exact quotient, truncated: integer division gives the same as Trunc of the real.
    const std::int64_t travel = range > 0 ? static_cast<std::int64_t>(TravelSpanPx()) *
                                                (position - std::int64_t{min}) / range
                                          : 0;
    const int left = m.borderPx + static_cast<int>(travel);
    const int top = (m.trackWidthPx - m.thumbHeightPx) / 2 + m.trackOffsetPx - m.thumbLiftPx;
    return {left, top, left + m.thumbWidthPx, top + m.thumbHeightPx};
}

std::vector<int> TickSliderLayout::TickXs(int tickStep) const {
    std::vector<int> xs;
    if (tickStep <= 0 || max < min) return xs;
    const std::int64_t range = static_cast<std::int64_t>(max) - min;
    // Pixels per step computed first, as the marks have always been placed.
    const double perStep = range > 0 ? static_cast<double>(TravelSpanPx()) / range : 0.0;
    for (std::int64_t c = FirstMultipleFrom(min, tickStep); c <= max; c += tickStep) {
        const double offset = static_cast<double>(c - min) * perStep;
        xs.push_back(metrics.borderPx + static_cast<int>(std::trunc(offset)) + metrics.halfWidthPx);
    }
    return xs;
}

int TickSliderLayout::PositionAt(int x, int centerOffsetX) const {
    const base::RectPx track = TrackRect();
    const int span = track.Right - track.Left;
    if (span <= 0 || max <= min) return min;
    const double range = static_cast<double>(max) - min;
    const double raw = (static_cast<double>(x) - track.Left - centerOffsetX) / span * range + min;
    const double clamped = std::clamp(raw, static_cast<double>(min), static_cast<double>(max));
    return static_cast<int>(base::RoundHalfEven(clamped));
}

bool TickSliderLayout::PressPointsUp(int x, int position) const {
    const std::int64_t range = static_cast<std::int64_t>(max) - min;
    const double perStep = range > 0 ? static_cast<double>(TravelSpanPx()) / range : 0.0;
    const double offset = static_cast<double>(position - std::int64_t{min}) * perStep;
    return x >= metrics.borderPx + static_cast<std::int64_t>(std::trunc(offset));
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
    layout_.min = min;
    layout_.max = std::max(min, max);
    position_ = std::clamp(position, layout_.min, layout_.max);
}

bool TickSliderModel::RequestPosition(int value) {
    if (value == position_) return false;
    position_ = std::clamp(value, layout_.min, layout_.max);
    return true;
}

void TickSliderModel::Request(int value, SliderEffects& fx) {
    if (RequestPosition(value)) fx.changed = true;
}

SliderEffects TickSliderModel::Key(SliderKey key) {
    SliderEffects fx;
    Request(KeyRequest(key, position_, layout_.min, layout_.max, pageSize_), fx);
    return fx;
}

void TickSliderModel::Press(int x, int y, SliderEffects& fx) {
    const base::RectPx thumb = ThumbRect();
    if (thumb.Contains(x, y)) {
        EndPress(fx);
        sliding_ = true;
        thumbCenterOffsetX_ = x - (thumb.Left + (thumb.Right - thumb.Left) / 2);
        return;
    }
    if (!TrackRect().Contains(x, y)) return;
    // Only the user's press starts the timer afresh; a repeated press keeps its pace.
    if (!repeatRunning_) {
        repeatRunning_ = true;
        repeatIntervalMs_ = kFirstRepeatMs;
        fx.timer = true;
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
    if (repeatRunning_ || repeatIntervalMs_ != kFirstRepeatMs) fx.timer = true;
    repeatRunning_ = false;
    repeatIntervalMs_ = kFirstRepeatMs;
    paging_ = false;
    if (!sliding_) return;
    sliding_ = false;
    if (useHotThumb_) {
        useHotThumb_ = false;
        fx.thumbLook = true;
    }
}

SliderEffects TickSliderModel::LeftPress(int x, int y) {
    SliderEffects fx;
    Press(x, y, fx);
    if ((sliding_ || paging_) && !holdsCapture_) {
        holdsCapture_ = true;
        fx.capture = true;
    }
    return fx;
}

SliderEffects TickSliderModel::MouseMove(int x, int y) {
    SliderEffects fx;
    if (sliding_) {
        Request(layout_.PositionAt(x, thumbCenterOffsetX_), fx);
        return fx;
    }
    const bool hot = ThumbRect().Contains(x, y);
    if (hot != useHotThumb_) {
        useHotThumb_ = hot;
        fx.thumbLook = true;
    }
    return fx;
}

SliderEffects TickSliderModel::LeftRelease() {
    SliderEffects fx;
    EndPress(fx);
    if (holdsCapture_) {
        holdsCapture_ = false;
        fx.capture = true;
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
        fx.thumbLook = true;
    }
    return fx;
}

SliderEffects TickSliderModel::RepeatTimerFired() {
    SliderEffects fx;
    if (!repeatRunning_) return fx;
    if (repeatIntervalMs_ != kNextRepeatMs) {
        repeatIntervalMs_ = kNextRepeatMs;
        fx.timer = true;
    }
    if (holdsCapture_) Press(lastX_, lastY_, fx);
    return fx;
}

SliderEffects TickSliderModel::StopRepeat() {
    SliderEffects fx;
    if (repeatRunning_ || repeatIntervalMs_ != kFirstRepeatMs) fx.timer = true;
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
