// The tuning-word tick slider: a horizontal slider with a pointer thumb and a tick mark
// at every multiple of its tick step. OnChange fires after every accepted position
// request, also when clamping brings it back to the position it had. The rules live in
// TickSliderModel; this view forwards input to it, applies its effects and draws.
#pragma once

#include <windows.h>

#include <functional>

#include "core/controls/tick_slider_geometry.h"
#include "win/ui/control.h"
#include "win/ui/memory_picture.h"
#include "win/ui/mouse_leave.h"
#include "win/ui/timer.h"

namespace controls {

class TickSlider : public ui::Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::TickSlider; }

    TickSlider();

    int Position() const noexcept { return model_.Position(); }
    // Requests `position`: nothing when equal; otherwise clamped, stored, redrawn, OnChange.
    void SetPosition(int position);
    int Min() const noexcept { return model_.Min(); }
    int Max() const noexcept { return model_.Max(); }

    // Geometry, mode and repeat state as the rules see them now.
    const TickSliderModel& Model() const noexcept { return model_; }
    // The thumb's rectangle in client pixels now.
    RECT ThumbRect() const;

    // The timer that repeats a held press on the track; a seam for tests (its starter).
    ui::Timer& RepeatTimer() noexcept { return repeatTimer_; }

    void ScaleBy(int newDpi, int oldDpi) override;
    // A slider with its position as the value.
    std::optional<ui::AccessibleFacts> Accessible() const override;

    std::function<void(ui::Window& sender)> OnChange;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // The colours the cached background was drawn with; another set rebuilds it.
    struct Colours {
        COLORREF Background, Track, Shadow, Highlight;
        friend bool operator==(const Colours&, const Colours&) = default;
    };

    void Apply(const SliderEffects& fx, const base::RectPx& thumbBefore);
    void ApplyTimer();
    void StopRepeating() noexcept;
    void RepeatTick();
    void RedrawThumb(const base::RectPx& thumbBefore);
    bool BackgroundCurrent() const;
    bool EnsureBackground();
    void DrawBackground(HDC dc, int width, int height);
    void DrawThumb(HDC dc, const RECT& rect);
    void Draw(HDC dc, const RECT& client);
    bool FocusCuesShown() const;
    void ReopenTheme();

    Colours CurrentColours() const;

    TickSliderModel model_;
    ui::MemoryPicture background_;  // background, track and tick marks
    bool updateBackground_ = true;
    Colours backgroundColours_{};
    ui::MemoryPicture thumbPicture_;
    ui::MemoryPicture frame_;
    ui::UniqueTheme theme_;
    ui::Timer repeatTimer_;
    ui::MouseLeave mouseLeave_;
};

}  // namespace controls
