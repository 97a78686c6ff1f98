#pragma once
// The platform's standard horizontal slider. OnChange fires on every notification the
// slider sends while the user moves it (including the closing one) and when code sets a
// new position; never for the position it already holds.
#include <functional>

#include "ui/control.h"

namespace ui {

class TrackBar : public Control {
public:
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
    int thumbLengthPx_ = layout::kTrackBarThumbLengthPx;
};

}  // namespace ui
