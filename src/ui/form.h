#pragma once
// A top-level window built from a layout table at 120 dpi: creation at the desktop
// origin, scaling to the monitor and on density changes, centring, the keyboard focus
// (first focus, the focus given back with the activation, the focus moved on from a
// control that is disabled or hidden), the keyboard navigation of the message loop, and
// closing as the end of the program.
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "layout/control_desc.h"
#include "layout/scale.h"
#include "ui/control.h"

namespace ui {

// Why the focus is changing hands now, as far as the window knows.
enum class FocusCause {
    Platform,    // anything the window did not start: a click, a call, the platform
    Navigation,  // the window's own move through its tab stops
    Return,      // the window gives the focus back with its activation or restoring
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

    // The window's keyboard handling, seen by the loop before any message is dispatched:
    // Tab / Shift+Tab through the tab stops, arrow keys within a radio group, Enter on a
    // push button. True when the message was consumed.
    bool PreviewKey(const MSG& msg);

    // Every control that Tab stops at now, in tab order at any depth.
    std::vector<Control*> TabStops() const;

    FocusCause CurrentFocusCause() const noexcept { return focusCause_; }

    // The control of that name at any depth, or null.
    Control* FindControl(std::string_view name) const;

    // Scales the whole layout to `newDpi` (nothing below 30 or when equal).
    void ScaleToDpi(int newDpi);

protected:
    // Makes the hidden top-level window at the desktop origin with the designed client
    // size, then each control of `controls` from the row of `rows` at the same place
    // (parents before children). A row whose kind or parent does not fit is refused
    // (std::logic_error), so a binding out of step with the table cannot go unnoticed.
    void CreateForm(const layout::FormDesc& form, std::span<const layout::ControlDesc> rows,
                    std::span<Control* const> controls);

    void CreateWindowFor(HWND parent, const RECT& rect) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void DescendantFocusChanged(HWND hwnd, FocusChange change, HWND other) override;

private:
    void SetClientSize(base::SizePx size);
    void CentreOnDesktop();
    // Every control Tab can stop at, whether it can take the focus now or not.
    std::vector<Control*> EveryTabStop() const;
    // Tab or Shift+Tab: from the control that has the focus, or had it last.
    void MoveFocus(bool forward);
    // To the next control after `from` in tab order (before it, backwards) that can take
    // the focus now; from the start (the end) when `from` is no tab stop.
    bool MoveFocusFrom(HWND from, bool forward);
    bool MoveWithinRadioGroup(Control& focused, bool forward);
    // The first focus, or the control that had it last, when the window is active, not
    // minimised and no control has the focus. False when no control could take it.
    bool GiveFocusBack();
    bool FocusOnControl() const;
    void RepairFocus(HWND lost);
    void HandleDpiChanged(int newDpi, const RECT& suggested);

    const layout::FormDesc* formDesc_ = nullptr;
    int dpi_ = layout::kDesignDpi;
    bool formScaling_ = false;
    bool shownOnce_ = false;
    bool firstFocusGiven_ = false;
    HWND lastFocus_ = nullptr;  // the control that had the focus last
    FocusCause focusCause_ = FocusCause::Platform;
};

// Whether the focus that `control` receives from `previous` (the wParam of WM_SETFOCUS)
// moves to it within its window: from another control of the window or the window
// itself, or by the window's own navigation. Not when the focus comes back with the
// window's activation or restoring, or from another top-level window (another program,
// a message box that closed).
bool FocusArrivesWithinWindow(HWND control, HWND previous);

// Whether the focus that `control` gives up to `next` (the wParam of WM_KILLFOCUS) moves
// on within its window: to another control of the window, or away from a control that
// was disabled or hidden (the window then moves it on). Not when the window loses its
// activation, is minimised, hidden or destroyed.
bool FocusLeavesWithinWindow(HWND control, HWND next);

}  // namespace ui
