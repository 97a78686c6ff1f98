// The tuning-word tick slider without its window: where the track, the thumb and the tick
// marks lie, which position a pointer or a key asks for, when a change is reported, and
// the mouse modes (idle, track press, drag) with the repeat timer of a held track press.
// The Win32 view forwards its input here, applies the returned effects and draws.
#pragma once

#include <vector>

#include "core/base/rect.h"

namespace controls {

// Drawing sizes in device pixels. The border inset and the lift of the thumb towards the
// tick marks stay the same at every density; the rest scales with the window.
struct TickSliderMetrics {
    int BorderPx = 4;
    int ThumbWidthPx = 12;
    int ThumbHeightPx = 21;
    int HalfWidthPx = 6;
    int TrackOffsetPx = 20;
    int TrackWidthPx = 8;
    int TickEndPx = 10;
    int ThumbLiftPx = 2;

    TickSliderMetrics ScaledBy(int newDpi, int oldDpi) const;
    friend constexpr bool operator==(const TickSliderMetrics&, const TickSliderMetrics&) = default;
};

// The geometry of one slider of `widthPx` over the range min..max.
struct TickSliderLayout {
    TickSliderMetrics Metrics{};
    int WidthPx = 0;
    int Min = 0;
    int Max = 0;

    // Width - thumb width - 2 borders: the pixels the thumb's left edge travels.
    int TravelSpanPx() const;
    base::RectPx TrackRect() const;
    base::RectPx ThumbRect(int position) const;
    // x of every tick mark: one per multiple of `tickStep` within min..max, in order.
    std::vector<int> TickXs(int tickStep) const;
    // Tick marks run from y = border to y = tick end (excluded).
    int TickTopPx() const { return Metrics.BorderPx; }
    int TickBottomPx() const { return Metrics.TickEndPx; }

    // The position a pointer at `x` asks for while dragging or jumping: the thumb's centre,
    // displaced by `centerOffsetX`, under the pointer; rounded half to even and clamped.
    // A track without width gives min.
    int PositionAt(int x, int centerOffsetX) const;
    // Whether a press on the track at `x` points towards larger positions: at or right of
    // the thumb's left edge for `position`.
    bool PressPointsUp(int x, int position) const;
};

enum class SliderKey { Left, Down, Subtract, Right, Up, Add, PageUp, PageDown, Home, End, Other };

// The position a key asks for. Arrows and keypad signs step by 1 only within the range;
// Page Up/Down step by `pageSize` unbounded (the request clamps); Home/End jump to the ends.
int KeyRequest(SliderKey key, int position, int min, int max, int pageSize);

enum class SliderMode { Idle, TrackPress, Drag };

// What the view has to do after an input; the model's accessors give the new state.
struct SliderEffects {
    bool Changed = false;    // a request was accepted: redraw the thumb, raise OnChange
    bool ThumbLook = false;  // the hot look changed: redraw the thumb
    bool Capture = false;    // apply HoldsCapture()
    bool Timer = false;      // apply RepeatTimerRunning() / RepeatIntervalMs()
};

class TickSliderModel {
public:
    static constexpr unsigned kFirstRepeatMs = 200;
    static constexpr unsigned kNextRepeatMs = 100;

    // Range applied as the window builds it: Max, then Min, then the position, clamped;
    // nothing is reported.
    TickSliderModel(int min, int max, int position, int pageSize, int tickStep);

    int Position() const noexcept { return position_; }
    int Min() const noexcept { return layout_.Min; }
    int Max() const noexcept { return layout_.Max; }
    int PageSize() const noexcept { return pageSize_; }
    int TickStep() const noexcept { return tickStep_; }
    const TickSliderLayout& Layout() const noexcept { return layout_; }
    base::RectPx ThumbRect() const { return layout_.ThumbRect(position_); }
    base::RectPx TrackRect() const { return layout_.TrackRect(); }

    void SetWidthPx(int widthPx) noexcept { layout_.WidthPx = widthPx; }
    void SetMetrics(const TickSliderMetrics& metrics) noexcept { layout_.Metrics = metrics; }

    // A position request: equal does nothing; otherwise the value is clamped and stored,
    // and true tells the caller to report a change, even when clamping kept the position.
    bool RequestPosition(int value);

    SliderEffects Key(SliderKey key);
    SliderEffects LeftPress(int x, int y);
    SliderEffects MouseMove(int x, int y);
    SliderEffects LeftRelease();
    // The pointer left the control.
    SliderEffects MouseLeave();
    // The capture went elsewhere while the button was held: the press ends like a release.
    SliderEffects CaptureLost();
    SliderEffects RepeatTimerFired();
    // Stops the repeat after a failed repeated press.
    SliderEffects StopRepeat();

    SliderMode Mode() const noexcept;
    bool Sliding() const noexcept { return sliding_; }
    bool Paging() const noexcept { return paging_; }
    bool PagingDirInc() const noexcept { return pagingDirInc_; }
    bool UseHotThumb() const noexcept { return useHotThumb_; }
    bool HoldsCapture() const noexcept { return holdsCapture_; }
    int ThumbCenterOffsetX() const noexcept { return thumbCenterOffsetX_; }
    bool RepeatTimerRunning() const noexcept { return repeatRunning_; }
    unsigned RepeatIntervalMs() const noexcept { return repeatIntervalMs_; }

private:
    void Press(int x, int y, SliderEffects& fx);
    void EndPress(SliderEffects& fx);
    void Request(int value, SliderEffects& fx);

    TickSliderLayout layout_;
    int position_ = 0;
    int pageSize_ = 1;
    int tickStep_ = 1;
    bool sliding_ = false;
    int thumbCenterOffsetX_ = 0;
    int dragPointerX_ = 0;  // where the pointer was last seen while dragging
    int dragPointerY_ = 0;
    bool paging_ = false;
    bool pagingDirInc_ = false;
    int lastX_ = 0;
    int lastY_ = 0;
    bool repeatRunning_ = false;
    unsigned repeatIntervalMs_ = kFirstRepeatMs;
    bool useHotThumb_ = false;
    bool holdsCapture_ = false;
};

}  // namespace controls
