#pragma once
// The tuning-word tick slider: a horizontal slider with a pointer thumb and a tick mark
// at every multiple of its tick step. OnChange fires after every accepted position
// request, also when clamping brings it back to the position it had.
#include <functional>

#include "ui/control.h"

namespace controls {

class TickSlider : public ui::Control {
public:
    int Position() const noexcept { return position_; }
    // Requests `position`: nothing when equal; otherwise clamped, stored, redrawn, OnChange.
    void SetPosition(int position);
    int Min() const noexcept { return min_; }
    int Max() const noexcept { return max_; }

    std::function<void(ui::Window& sender)> OnChange;

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
};

}  // namespace controls
