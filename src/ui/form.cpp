#include "ui/form.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "layout/accessible_name.h"
#include "layout/scale.h"
#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/push_button.h"
#include "ui/radio_button.h"
#include "ui/text.h"

namespace ui {
namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;

std::vector<Control*> ByTabOrder(const std::vector<Control*>& children) {
    std::vector<Control*> sorted;
    for (Control* c : children)
        if (c->TabOrder() >= 0) sorted.push_back(c);
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
std::vector<Control*>::const_iterator StopOf(const std::vector<Control*>& stops, HWND hwnd) {
    if (!hwnd) return stops.end();
    return std::find_if(stops.begin(), stops.end(), [hwnd](const Control* c) {
        return c->Handle() == hwnd || IsChild(c->Handle(), hwnd);
    });
}

// The window's private message: move the focus on from the control in wParam that lost
// it by being disabled or hidden. Posted, so that it is handled after the platform's own
// change of focus is complete, and before any input that waits.
constexpr UINT kRepairFocusMessage = WM_APP + 1;

// Marks the focus changes made inside its lifetime with their cause.
class FocusCauseScope {
public:
    FocusCauseScope(FocusCause& cause, FocusCause now) : cause_(cause), before_(cause) {
        cause_ = now;
    }
    ~FocusCauseScope() { cause_ = before_; }
    FocusCauseScope(const FocusCauseScope&) = delete;
    FocusCauseScope& operator=(const FocusCauseScope&) = delete;

private:
    FocusCause& cause_;
    FocusCause before_;
};

const wchar_t* CursorId(layout::CursorKind cursor) {
    return cursor == layout::CursorKind::Hand ? IDC_HAND : IDC_ARROW;
}

Control* ControlOf(HWND hwnd) {
    return dynamic_cast<Control*>(Window::FromHandle(hwnd));
}

}  // namespace

void Form::CreateWindowFor(HWND, const RECT&) {
    throw std::logic_error("A form is created by CreateForm");
}

std::string_view Form::Name() const noexcept {
    return formDesc_ ? formDesc_->Name : std::string_view{};
}

void Form::CreateForm(const layout::FormDesc& form, std::span<const layout::ControlDesc> rows,
                      std::span<Control* const> controls) {
    if (rows.size() != controls.size())
        throw std::logic_error("The layout and the window's controls differ in number");
    formDesc_ = &form;
    RECT outer{0, 0, form.ClientSize.Width, form.ClientSize.Height};
    AdjustWindowRectEx(&outer, kFormStyle, FALSE, kFormExStyle);
    const std::wstring caption = ToWide(form.Caption);
    CreateOwn(L"phasebox.Form", {.Text = caption.c_str(),
                                 .Style = kFormStyle,
                                 .ExStyle = kFormExStyle,
                                 .Rect = {0, 0, outer.right - outer.left, outer.bottom - outer.top},
                                 .ClassCursor = LoadCursorW(nullptr, CursorId(form.Cursor)),
                                 .ClassBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
    SetClientSize(form.ClientSize);
    SetOwnFont(form.FontFace, form.FontHeightPx, false);
    if (Application* app = Application::Current()) {
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(app->LargeIcon()));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(app->SmallIcon()));
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const layout::ControlDesc& row = rows[i];
        Control* parent = row.Parent == form.Name ? this : FindControl(row.Parent);
        if (!controls[i] || !parent)
            throw std::logic_error("The layout names an unknown parent for " +
                                   std::string(row.Name));
        controls[i]->Create(*parent, row);
        controls[i]->SetAccessibleName(layout::AccessibleNameOf(row, rows));
    }
}

void Form::SetClientSize(base::SizePx size) {
    // The frame as the platform draws it now, whatever density the layout is at.
    RECT outer{};
    RECT client{};
    GetWindowRect(Handle(), &outer);
    GetClientRect(Handle(), &client);
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(Handle(), nullptr, 0, 0, size.Width + frameWidth, size.Height + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::ScaleToDpi(int newDpi) {
    if (!layout::ShouldRescale(newDpi, dpi_)) return;
    const int oldDpi = dpi_;
    const base::SizePx client = ClientSizePx();
    formScaling_ = true;
    Control::ScaleBy(newDpi, oldDpi);
    dpi_ = newDpi;
    SetClientSize({layout::ScaleValue(client.Width, newDpi, oldDpi),
                   layout::ScaleValue(client.Height, newDpi, oldDpi)});
    formScaling_ = false;
    RememberAnchors();
}

void Form::HandleDpiChanged(int newDpi, const RECT& suggested) {
    if (newDpi == dpi_) return;
    const int oldDpi = dpi_;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    const bool maximised =
        GetWindowPlacement(Handle(), &placement) && placement.showCmd == SW_SHOWMAXIMIZED;
    ScaleToDpi(newDpi);
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (maximised) {
        RECT& normal = placement.rcNormalPosition;
        normal.right = normal.left + layout::ScaleValue(normal.right - normal.left, newDpi, oldDpi);
        normal.bottom = normal.top + layout::ScaleValue(normal.bottom - normal.top, newDpi, oldDpi);
        SetWindowPlacement(Handle(), &placement);
    }
}

void Form::CentreOnDesktop() {
    const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT outer{};
    GetWindowRect(Handle(), &outer);
    const int w = outer.right - outer.left;
    const int h = outer.bottom - outer.top;
    const int x = std::max(vx, vw / 2 + vx - w / 2);
    const int y = std::max(vy, vh / 2 + vy - h / 2);
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Centring may put most of the window onto a monitor of another density.
    const int monitorDpi = MonitorDpiOf(Handle());
    if (layout::ShouldRescale(monitorDpi, dpi_)) ScaleToDpi(monitorDpi);
}

void Form::Show(int showCommand) {
    if (!shownOnce_) {
        CentreOnDesktop();
        shownOnce_ = true;
    }
    switch (showCommand) {
        case SW_MAXIMIZE:
            ShowWindow(Handle(), SW_SHOWMAXIMIZED);
            break;
        case SW_SHOWMINNOACTIVE:
            ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
            break;
        default:
            ShowWindow(Handle(), SW_SHOWNORMAL);
            break;
    }
    UpdateWindow(Handle());
}

namespace {

Control* FindIn(const Control& parent, std::string_view name) {
    for (Control* c : parent.Children()) {
        if (c->Name() == name) return c;
        if (Control* found = FindIn(*c, name)) return found;
    }
    return nullptr;
}

}  // namespace

Control* Form::FindControl(std::string_view name) const {
    return FindIn(*this, name);
}

std::vector<Control*> Form::EveryTabStop() const {
    std::vector<Control*> stops;
    CollectTabStops(*this, stops);
    return stops;
}

std::vector<Control*> Form::TabStops() const {
    std::vector<Control*> stops = EveryTabStop();
    std::erase_if(stops, [](const Control* c) { return !CanTakeFocus(c->Handle()); });
    return stops;
}

bool Form::MoveFocusFrom(HWND from, bool forward) {
    const std::vector<Control*> stops = EveryTabStop();
    const std::size_t n = stops.size();
    if (n == 0) return false;
    const auto at = StopOf(stops, from);
    // Without a place to start from, the first step lands on the first (or the last) stop.
    const std::size_t start = at != stops.end() ? static_cast<std::size_t>(at - stops.begin())
                              : forward         ? n - 1
                                                : 0;
    const std::size_t steps = at != stops.end() ? n - 1 : n;
    for (std::size_t k = 1; k <= steps; ++k) {
        const std::size_t i = forward ? (start + k) % n : (start + n - k % n) % n;
        if (CanTakeFocus(stops[i]->Handle())) {
            SetFocus(stops[i]->Handle());
            return GetFocus() == stops[i]->Handle();
        }
    }
    return false;
}

void Form::MoveFocus(bool forward) {
    FocusCauseScope scope(focusCause_, FocusCause::Navigation);
    HWND focus = GetFocus();
    const std::vector<Control*> stops = EveryTabStop();
    HWND from = StopOf(stops, focus) != stops.end() ? focus : lastFocus_;
    MoveFocusFrom(from, forward);
}

bool Form::FocusOnControl() const {
    HWND focus = GetFocus();
    const std::vector<Control*> stops = EveryTabStop();
    return StopOf(stops, focus) != stops.end() && CanTakeFocus(focus);
}

bool Form::GiveFocusBack() {
    if (GetActiveWindow() != Handle() || IsIconic(Handle())) return false;
    FocusCauseScope scope(focusCause_, FocusCause::Return);
    if (!firstFocusGiven_) {
        // The first focus goes to the first control in tab order that can take it.
        firstFocusGiven_ = MoveFocusFrom(nullptr, true);
        return firstFocusGiven_;
    }
    if (lastFocus_ && IsChild(Handle(), lastFocus_) && CanTakeFocus(lastFocus_)) {
        SetFocus(lastFocus_);
        return GetFocus() == lastFocus_;
    }
    return MoveFocusFrom(lastFocus_, true);
}

void Form::RepairFocus(HWND lost) {
    if (GetActiveWindow() != Handle() || IsIconic(Handle()) || FocusOnControl()) return;
    if (!IsWindow(lost) || CanTakeFocus(lost)) return;
    FocusCauseScope scope(focusCause_, FocusCause::Navigation);
    MoveFocusFrom(lost, true);
}

void Form::DescendantFocusChanged(HWND hwnd, FocusChange change, HWND other) {
    switch (change) {
        case FocusChange::Gained: {
            const std::vector<Control*> stops = EveryTabStop();
            if (StopOf(stops, hwnd) != stops.end()) lastFocus_ = hwnd;
            return;
        }
        case FocusChange::Lost:
            // Disabling the focused control takes the focus to nowhere, hiding it gives it
            // to the parent: no control has it any more.
            if (other && !IsChild(other, hwnd)) return;
            break;
        case FocusChange::Withdrawn:
            break;
    }
    PostMessageW(Handle(), kRepairFocusMessage, reinterpret_cast<WPARAM>(hwnd), 0);
}

bool Form::MoveWithinRadioGroup(Control& focused, bool forward) {
    Control* parent = focused.Parent();
    if (!parent) return false;
    std::vector<Control*> group;
    for (Control* c : ByTabOrder(parent->Children()))
        if (IsWindowVisible(c->Handle()) && IsWindowEnabled(c->Handle())) group.push_back(c);
    auto it = std::find(group.begin(), group.end(), &focused);
    if (it == group.end()) return false;
    const std::size_t at = static_cast<std::size_t>(it - group.begin());
    const std::size_t next =
        forward ? (at + 1) % group.size() : (at + group.size() - 1) % group.size();
    Control* target = group[next];
    SetFocus(target->Handle());
    if (auto* radio = dynamic_cast<RadioButton*>(target)) radio->SetChecked(true);
    return true;
}

bool Form::PreviewKey(const MSG& msg) {
    if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
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
    Control* focused = ControlOf(msg.hwnd);
    switch (msg.wParam) {
        case VK_TAB:
            MoveFocus(GetKeyState(VK_SHIFT) >= 0);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (focused && dynamic_cast<RadioButton*>(focused))
                return MoveWithinRadioGroup(*focused,
                                            msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN);
            return false;
        case VK_RETURN:
            if (focused && dynamic_cast<PushButton*>(focused)) {
                SendMessageW(focused->Handle(), BM_CLICK, 0, 0);
                return true;
            }
            return false;
        default:
            return false;
    }
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            if (!formScaling_) ArrangeChildren();
            // Restored while active: the focus that minimising took comes back.
            if (wp != SIZE_MINIMIZED && !FocusOnControl()) GiveFocusBack();
            return 0;
        case WM_SETFOCUS:
            // The platform gives the window itself the focus when it is activated or
            // restored; the control that had it gets it back.
            if (GiveFocusBack()) return 0;
            break;
        case kRepairFocusMessage:
            RepairFocus(reinterpret_cast<HWND>(wp));
            return 0;
        case WM_SETTINGCHANGE: {
            // Only top-level windows hear of changed settings (the regional number symbols,
            // for one); the controls that depend on them hear it from here.
            MSG forwarded{};
            forwarded.wParam = wp;
            forwarded.lParam = lp;
            EnumChildWindows(
                Handle(),
                [](HWND child, LPARAM m) -> BOOL {
                    const auto* f = reinterpret_cast<const MSG*>(m);
                    SendMessageW(child, WM_SETTINGCHANGE, f->wParam, f->lParam);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&forwarded));
            break;
        }
        case WM_GETMINMAXINFO: {
            // Nothing limits the window's size, not even the size of the screen.
            auto* info = reinterpret_cast<MINMAXINFO*>(lp);
            info->ptMaxTrackSize = {32767, 32767};
            return 0;
        }
        case WM_DPICHANGED:
            HandleDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
            return 0;
        case WM_ACTIVATE:
            // Losing activation keeps the record of the focus as it is. A window activated
            // while minimised cannot take the focus: it is given when the window is restored.
            if (LOWORD(wp) == WA_INACTIVE || HIWORD(wp) != 0) return 0;
            if (GiveFocusBack()) return 0;
            break;
        case WM_CLOSE:
            if (Application* app = Application::Current(); app && app->MainWindow() == Handle())
                app->Terminate();
            return 0;
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

bool FocusArrivesWithinWindow(HWND control, HWND previous) {
    HWND root = GetAncestor(control, GA_ROOT);
    if (const auto* form = dynamic_cast<const Form*>(Window::FromHandle(root))) {
        switch (form->CurrentFocusCause()) {
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
