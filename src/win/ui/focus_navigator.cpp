#include "win/ui/focus_navigator.h"

#include <algorithm>
#include <optional>

#include "core/base/scoped_value.h"
#include "core/layout/focus_order.h"

namespace ui {
namespace {

// The top-level window's property that leads its controls to its navigator.
constexpr wchar_t kNavigatorProperty[] = L"phasebox.focus";

using CauseScope = base::ScopedValue<FocusCause>;

std::vector<Control*> ByTabOrder(const std::vector<Control*>& children) {
    std::vector<Control*> sorted;
    for (Control* c : children) {
        if (c->TabOrder() >= 0) sorted.push_back(c);
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const Control* a, const Control* b) {
        return a->TabOrder() < b->TabOrder();
    });
    return sorted;
}

// Every control Tab can stop at below `parent`, in tab order, whether it can take the
// focus now or not.
void CollectTabStops(const Control& parent, std::vector<Control*>& out) {
    for (Control* c : ByTabOrder(parent.Children())) {
        if (!c->Children().empty()) {
            CollectTabStops(*c, out);
        } else if (c->IsTabStop()) {
            out.push_back(c);
        }
    }
}

// Whether `hwnd` can take the focus now: shown, and enabled up to its top-level window
// (a disabled parent disables its children's input too).
bool CanTakeFocus(HWND hwnd) {
    if (!IsWindowVisible(hwnd)) return false;
    for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT)) {
        if (!IsWindowEnabled(h)) return false;
        if (GetAncestor(h, GA_ROOT) == h) break;
    }
    return true;
}

// The stop of `stops` that is `hwnd` or holds it (the edit part of a compound control).
std::optional<std::size_t> StopOf(const std::vector<Control*>& stops, HWND hwnd) {
    if (!hwnd) return std::nullopt;
    const auto it = std::find_if(stops.begin(), stops.end(), [hwnd](const Control* c) {
        return c->Handle() == hwnd || IsChild(c->Handle(), hwnd);
    });
    if (it == stops.end()) return std::nullopt;
    return static_cast<std::size_t>(it - stops.begin());
}

const FocusNavigator* NavigatorOf(HWND root) {
    return static_cast<const FocusNavigator*>(GetPropW(root, kNavigatorProperty));
}

}  // namespace

FocusNavigator::~FocusNavigator() {
    if (attached_ && IsWindow(window_.Handle())) RemovePropW(window_.Handle(), kNavigatorProperty);
}

void FocusNavigator::Attach() {
    attached_ = SetPropW(window_.Handle(), kNavigatorProperty, this) != FALSE;
}

std::vector<Control*> FocusNavigator::EveryTabStop() const {
    std::vector<Control*> stops;
    CollectTabStops(window_, stops);
    return stops;
}

std::vector<Control*> FocusNavigator::TabStops() const {
    std::vector<Control*> stops = EveryTabStop();
    std::erase_if(stops, [](const Control* c) { return !CanTakeFocus(c->Handle()); });
    return stops;
}

bool FocusNavigator::MoveFocusFrom(HWND from, bool forward) {
    const std::vector<Control*> stops = EveryTabStop();
    const std::optional<std::size_t> next =
        layout::NextTabStop(stops.size(), StopOf(stops, from), forward,
                            [&stops](std::size_t i) { return CanTakeFocus(stops[i]->Handle()); });
    if (!next) return false;
    HWND target = stops[*next]->Handle();
    SetFocus(target);
    return GetFocus() == target;
}

void FocusNavigator::MoveFocus(bool forward) {
    CauseScope scope(cause_, FocusCause::Navigation);
    HWND focus = GetFocus();
    HWND from = StopOf(EveryTabStop(), focus) ? focus : lastFocus_;
    MoveFocusFrom(from, forward);
}

bool FocusNavigator::FocusOnControl() const {
    HWND focus = GetFocus();
    return StopOf(EveryTabStop(), focus) && CanTakeFocus(focus);
}

bool FocusNavigator::GiveFocusBack() {
    HWND window = window_.Handle();
    if (GetActiveWindow() != window || IsIconic(window)) return false;
    CauseScope scope(cause_, FocusCause::Return);
    if (!firstFocusGiven_) {
        // The first focus goes to the first control in tab order that can take it.
        firstFocusGiven_ = MoveFocusFrom(nullptr, true);
        return firstFocusGiven_;
    }
    if (lastFocus_ && IsChild(window, lastFocus_) && CanTakeFocus(lastFocus_)) {
        SetFocus(lastFocus_);
        return GetFocus() == lastFocus_;
    }
    return MoveFocusFrom(lastFocus_, true);
}

void FocusNavigator::RepairFocus(HWND lost) {
    HWND window = window_.Handle();
    if (GetActiveWindow() != window || IsIconic(window) || FocusOnControl()) return;
    if (!IsWindow(lost) || CanTakeFocus(lost)) return;
    CauseScope scope(cause_, FocusCause::Navigation);
    MoveFocusFrom(lost, true);
}

void FocusNavigator::FocusChanged(HWND hwnd, Control::FocusChange change, HWND other) {
    switch (change) {
        case Control::FocusChange::Gained:
            if (StopOf(EveryTabStop(), hwnd)) lastFocus_ = hwnd;
            return;
        case Control::FocusChange::Lost:
            // Disabling the focused control takes the focus to nowhere, hiding it gives it
            // to the parent: no control has it any more.
            if (other && !IsChild(other, hwnd)) return;
            break;
        case Control::FocusChange::Withdrawn:
            break;
    }
    PostMessageW(window_.Handle(), kRepairMessage, reinterpret_cast<WPARAM>(hwnd), 0);
}

// The group is the shown and enabled controls of the focused one's parent, in tab order.
bool FocusNavigator::MoveWithinGroup(Control& focused, bool forward) {
    Control* parent = focused.Parent();
    if (!parent) return false;
    std::vector<Control*> group;
    for (Control* c : ByTabOrder(parent->Children())) {
        if (IsWindowVisible(c->Handle()) && IsWindowEnabled(c->Handle())) group.push_back(c);
    }
    const auto it = std::find(group.begin(), group.end(), &focused);
    if (it == group.end()) return false;
    const std::size_t at = static_cast<std::size_t>(it - group.begin());
    Control* target = group[layout::NextInGroup(group.size(), at, forward)];
    SetFocus(target->Handle());
    target->ArrivedByArrow();
    return true;
}

bool FocusNavigator::PreviewKey(const MSG& msg) {
    HWND window = window_.Handle();
    if (msg.hwnd != window && !IsChild(window, msg.hwnd)) return false;
    const bool ctrlOrAlt = (GetKeyState(VK_CONTROL) < 0) || (GetKeyState(VK_MENU) < 0);
    if (ctrlOrAlt) return false;
    // While no window has the focus, keys go to the active window as system keys; without
    // Alt their context bit (29) is clear. Tab then still moves the focus.
    constexpr LPARAM kAltContext = LPARAM{1} << 29;
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_TAB && (msg.lParam & kAltContext) == 0) {
        MoveFocus(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    if (msg.message != WM_KEYDOWN) return false;
    if (msg.wParam == VK_TAB) {
        MoveFocus(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    Control* focused = ControlFromHandle(msg.hwnd);
    if (!focused) return false;
    const Control::KeyboardNeeds needs = focused->Keyboard();
    switch (msg.wParam) {
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (!needs.ArrowsMoveInGroup) return false;
            return MoveWithinGroup(*focused, msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN);
        case VK_RETURN:
            if (!needs.EnterClicks) return false;
            SendMessageW(focused->Handle(), BM_CLICK, 0, 0);
            return true;
        default:
            return false;
    }
}

bool FocusArrivesWithinWindow(HWND control, HWND previous) {
    HWND root = GetAncestor(control, GA_ROOT);
    if (const FocusNavigator* navigator = NavigatorOf(root)) {
        switch (navigator->CurrentCause()) {
            case FocusCause::Navigation:
                return true;
            case FocusCause::Return:
                return false;
            case FocusCause::Platform:
                break;
        }
    }
    return previous && GetAncestor(previous, GA_ROOT) == root;
}

bool FocusLeavesWithinWindow(HWND control, HWND next) {
    HWND root = GetAncestor(control, GA_ROOT);
    if (next) return GetAncestor(next, GA_ROOT) == root;
    // To nowhere: the control or a container of it was disabled or hidden while the window
    // stays shown. Not the window being hidden or destroyed, which hides its controls too.
    return IsWindowVisible(root) && !IsIconic(root) && !CanTakeFocus(control);
}

}  // namespace ui
