// The keyboard focus of one top-level window: Tab and Shift+Tab through its tab stops at
// any depth, the arrow keys within a group, Enter on a control that Enter clicks, the
// first focus, the focus given back with the window's activation or restoring, and the
// focus moved on from a control that was disabled or hidden. Each control says what it
// wants from the keyboard (Control::Keyboard); the navigator never asks for its type.
//
// The platform's dialog routine (IsDialogMessage) is not used: while no control has the
// focus, keys reach the window as system keys and it lets Tab go; it leaves the focus on
// nowhere when the focused control is disabled or hidden; and it cannot tell a control
// why the focus arrives, which the edit box needs to choose between selecting its text
// (a move within the window) and keeping the selection (the window's activation).
#pragma once

#include <windows.h>

#include <vector>

#include "win/ui/control.h"

namespace ui {

// Why the focus is changing hands now, as far as the window knows.
enum class FocusCause {
    Platform,    // anything the window did not start: a click, a call, the platform
    Navigation,  // the window's own move through its tab stops
    Return,      // the window gives the focus back with its activation or restoring
};

class FocusNavigator {
public:
    // The navigator of the top-level window `window`, whose messages it is handed.
    explicit FocusNavigator(Control& window) : window_(window) {}
    ~FocusNavigator();
    FocusNavigator(const FocusNavigator&) = delete;
    FocusNavigator& operator=(const FocusNavigator&) = delete;

    // Makes this navigator the one that the window's controls find (once the window
    // exists), for FocusArrivesWithinWindow.
    void Attach();

    // The loop's look at a message before it is dispatched: Tab / Shift+Tab, the arrow
    // keys in a group, Enter. True when the message was consumed.
    bool PreviewKey(const MSG& msg);

    // Every control that Tab stops at now, in tab order at any depth.
    std::vector<Control*> TabStops() const;
    FocusCause CurrentCause() const noexcept { return cause_; }

    // The first focus, or the control that had it last, when the window is active, not
    // minimised and no control has the focus. False when no control could take it.
    bool GiveFocusBack();
    // Whether a tab stop that can take the focus has it now.
    bool FocusOnControl() const;

    // The window's controls report what happened to the focus at `hwnd` (a window at any
    // depth below it); a control that lost it by being disabled or hidden gets it moved
    // on, through a posted `kRepairMessage` handed to RepairFocus.
    void FocusChanged(HWND hwnd, Control::FocusChange change, HWND other);
    // The window's private message: move the focus on from the control in wParam that
    // lost it by being disabled or hidden. Posted, so that it is handled after the
    // platform's own change of focus is complete, and before any input that waits.
    static constexpr UINT kRepairMessage = WM_APP + 1;
    void RepairFocus(HWND lost);

private:
    // Every control Tab can stop at, whether it can take the focus now or not.
    std::vector<Control*> EveryTabStop() const;
    // Tab or Shift+Tab: from the control that has the focus, or had it last.
    void MoveFocus(bool forward);
    // To the next control after `from` in tab order (before it, backwards) that can take
    // the focus now; from the start (the end) when `from` is no tab stop.
    bool MoveFocusFrom(HWND from, bool forward);
    bool MoveWithinGroup(Control& focused, bool forward);

    Control& window_;
    bool attached_ = false;
    bool firstFocusGiven_ = false;
    HWND lastFocus_ = nullptr;  // the control that had the focus last
    FocusCause cause_ = FocusCause::Platform;
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
