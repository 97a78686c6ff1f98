// The phase wheel: the accumulator as a pointer on a circle, the 256 table addresses as
// ticks with the current one marked, and the arc the last step swept, as
// dac::PhaseWheelFor lays them out. The circle and the ticks are drawn once per size and
// colour scheme into a picture of their own; a step draws the pointer, the mark, the arc
// and the value over a copy of it, off screen, and copies the result in one go.
#pragma once

#include <cstdint>

#include "core/dac/texts.h"
#include "win/ui/control.h"
#include "win/ui/memory_picture.h"
#include "win/ui/value_events.h"

namespace dacwin {

class PhaseWheelView : public ui::Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::PhaseWheel; }

    void SetLanguage(dac::Language language) { language_ = language; }

    // The accumulator after the last step and the step's increment; a change repaints.
    void SetState(std::uint16_t accumulator, std::uint16_t increment);
    std::uint16_t Accumulator() const noexcept { return accumulator_; }
    std::uint16_t Increment() const noexcept { return increment_; }

    // A diagram whose value states the accumulator and the table address.
    std::optional<ui::AccessibleFacts> Accessible() const override;
    std::u16string AccessibleValue() const;

    // Pictures drawn since creation: the static layer, and whole frames.
    int StaticDraws() const noexcept { return staticDraws_; }
    int FrameDraws() const noexcept { return frameDraws_; }
    // The picture the screen shows.
    const ui::MemoryPicture& Picture() const noexcept { return frame_; }

protected:
    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Geometry {
        double CentreX = 0, CentreY = 0, RadiusPx = 1, TickPx = 1;
        int LineWidthPx = 1;
        RECT TextArea{};
    };
    Geometry Measure(const RECT& client) const;
    void DrawStatic(const RECT& client);
    void DrawFrame(const RECT& client);
    void Paint();

    dac::Language language_ = dac::Language::English;
    std::uint16_t accumulator_ = 0;
    std::uint16_t increment_ = 0;
    ui::MemoryPicture static_;
    ui::MemoryPicture frame_;
    bool staticValid_ = false;
    int staticDraws_ = 0;
    int frameDraws_ = 0;
    ui::ValueEvents valueEvents_{[this] { return AccessibleValue(); }};
};

}  // namespace dacwin
