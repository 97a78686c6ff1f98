// The platform's standard horizontal slider. OnChange fires on every notification the
// slider sends while the user moves it (including the closing one) and when code sets a
// new position; never for the position it already holds.
#pragma once

#include <functional>

#include "win/ui/control.h"

namespace ui {

// The thumb's length at 120 dpi; it scales with the window.
inline constexpr int kTrackBarThumbLengthPx = 20;

class TrackBar : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::TrackBar; }

    int Position() const noexcept;
    void SetPosition(int position);
    int Min() const noexcept;
    int Max() const noexcept;
    int ThumbLengthPx() const noexcept { return thumbLengthPx_; }

    void ScaleBy(int newDpi, int oldDpi) override;

    std::function<void(Window& sender)> OnChange;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    std::optional<LRESULT> HandleReflected(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int thumbLengthPx_ = kTrackBarThumbLengthPx;
};

}  // namespace ui
