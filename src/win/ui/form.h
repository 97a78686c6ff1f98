// A top-level window built from a layout table at 120 dpi: creation at the desktop
// origin, scaling to the monitor and on density changes, centring, and closing as the end
// of the program. Its keyboard focus and navigation are its FocusNavigator's.
#pragma once

#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "core/layout/control_desc.h"
#include "core/layout/scale.h"
#include "win/ui/control.h"
#include "win/ui/focus_navigator.h"

namespace ui {

// A control of a window and the name of the layout row it is created from.
struct ControlBinding {
    ControlBinding(std::string_view name, Control& control) : Name(name), Bound(&control) {}
    std::string_view Name;
    Control* Bound;
};

class Form : public Control {
public:
    layout::ControlKind Kind() const noexcept override { return layout::ControlKind::Form; }
    std::string_view Name() const noexcept override;

    // The density the window is laid out for now.
    int CurrentDpi() const noexcept { return dpi_; }

    // Shows the window, centred on the whole desktop at its first showing. `showCommand`
    // is the process's show request: maximised, minimised without activation or normal.
    void Show(int showCommand);

    // The window's keyboard handling, seen by the loop before any message is dispatched
    // (FocusNavigator::PreviewKey). True when the message was consumed.
    bool PreviewKey(const MSG& msg) { return navigator_.PreviewKey(msg); }

    // Every control that Tab stops at now, in tab order at any depth.
    std::vector<Control*> TabStops() const { return navigator_.TabStops(); }

    FocusCause CurrentFocusCause() const noexcept { return navigator_.CurrentCause(); }

    // The control of that name at any depth, or null.
    Control* FindControl(std::string_view name) const;

    // Scales the whole layout to `newDpi` (nothing below 30 or when equal) by newDpi over
    // the current density, from the current, already scaled rectangles, fonts and sizes,
    // not from the design. That is the specified rule, rounding included: a round trip of
    // densities need not come back to the design exactly (120 -> 96 -> 144 -> 120 moves
    // the waveform buttons one pixel to the right).
    void ScaleToDpi(int newDpi);

protected:
    // Makes the hidden top-level window at the desktop origin with the designed client
    // size, then, row by row (parents before children), the control that `bindings` binds
    // to the row's name. Refused (std::logic_error), so that a binding out of step with
    // the table cannot go unnoticed: a row that no binding names, a binding that names no
    // row or a row already bound, and a row whose kind or parent does not fit.
    void CreateForm(const layout::FormDesc& form, std::span<const layout::ControlDesc> rows,
                    std::span<const ControlBinding> bindings);

    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void DescendantFocusChanged(HWND hwnd, FocusChange change, HWND other) override;

private:
    void SetClientSize(base::SizePx size);
    void CentreOnDesktop();
    void HandleDpiChanged(int newDpi, const RECT& suggested);
    // Every window below this one, at any depth, gets the message.
    void SendToDescendants(UINT msg, WPARAM wp, LPARAM lp);

    const layout::FormDesc* formDesc_ = nullptr;
    int dpi_ = layout::kDesignDpi;
    bool formScaling_ = false;
    bool shownOnce_ = false;
    FocusNavigator navigator_{*this};
};

}  // namespace ui
