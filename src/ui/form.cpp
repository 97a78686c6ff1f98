#include "ui/form.h"

#include <algorithm>
#include <stdexcept>
#include <string>

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

void CollectTabStops(const Control& parent, std::vector<Control*>& out) {
    for (Control* c : ByTabOrder(parent.Children())) {
        if (!IsWindowVisible(c->Handle()) || !IsWindowEnabled(c->Handle())) continue;
        if (!c->Children().empty()) {
            CollectTabStops(*c, out);
        } else if (c->IsTabStop()) {
            out.push_back(c);
        }
    }
}

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

std::vector<Control*> Form::TabStops() const {
    std::vector<Control*> stops;
    CollectTabStops(*this, stops);
    return stops;
}

void Form::MoveFocus(bool forward) {
    const std::vector<Control*> stops = TabStops();
    if (stops.empty()) return;
    HWND focus = GetFocus();
    auto it = std::find_if(stops.begin(), stops.end(), [&](Control* c) {
        return c->Handle() == focus || IsChild(c->Handle(), focus);
    });
    std::size_t index = 0;
    if (it != stops.end()) {
        const std::size_t at = static_cast<std::size_t>(it - stops.begin());
        index = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    } else if (!forward) {
        index = stops.size() - 1;
    }
    SetFocus(stops[index]->Handle());
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
    if (msg.message != WM_KEYDOWN) return false;
    if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
    const bool ctrlOrAlt = (GetKeyState(VK_CONTROL) < 0) || (GetKeyState(VK_MENU) < 0);
    if (ctrlOrAlt) return false;
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
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
                return 0;
            }
            if (!activatedOnce_) {
                activatedOnce_ = true;
                const std::vector<Control*> stops = TabStops();
                if (!stops.empty()) SetFocus(stops.front()->Handle());
                return 0;
            }
            if (lastFocus_ && IsWindow(lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
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

}  // namespace ui
