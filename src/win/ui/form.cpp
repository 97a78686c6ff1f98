#include "win/ui/form.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/base/scoped_value.h"
#include "core/layout/accessible_name.h"
#include "core/layout/scale.h"
#include "win/ui/application.h"
#include "win/ui/dpi.h"
#include "win/ui/text.h"

namespace ui {
namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;

const wchar_t* CursorId(layout::CursorKind cursor) {
    return cursor == layout::CursorKind::Hand ? IDC_HAND : IDC_ARROW;
}

}  // namespace

void Form::CreateWindowFor(HWND, const RECT&) {
    throw std::logic_error("A form is created by CreateForm");
}

std::string_view Form::Name() const noexcept {
    return formDesc_ ? formDesc_->Name : std::string_view{};
}

void Form::CreateForm(const layout::FormDesc& form, std::span<const layout::ControlDesc> rows,
                      std::span<const ControlBinding> bindings) {
    // Each row's control, in the order of the rows.
    std::vector<Control*> controls(rows.size(), nullptr);
    for (const ControlBinding& binding : bindings) {
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const layout::ControlDesc& r) {
            return r.Name == binding.Name;
        });
        if (row == rows.end()) {
            throw std::logic_error("No layout row is named " + std::string(binding.Name));
        }
        Control*& control = controls[static_cast<std::size_t>(row - rows.begin())];
        if (control) throw std::logic_error("Two controls are bound to " + std::string(row->Name));
        control = binding.Bound;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!controls[i]) {
            throw std::logic_error("No control is bound to " + std::string(rows[i].Name));
        }
    }
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
    navigator_.Attach();
    if (Application* app = Application::Current()) {
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(app->LargeIcon()));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(app->SmallIcon()));
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const layout::ControlDesc& row = rows[i];
        Control* parent = row.Parent == form.Name ? this : FindControl(row.Parent);
        if (!parent) {
            throw std::logic_error("The layout names an unknown parent for " +
                                   std::string(row.Name));
        }
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
    {
        // The resize below is the scaled layout itself, not a size to anchor to.
        base::ScopedValue<bool> scaling(formScaling_, true);
        Control::ScaleBy(newDpi, oldDpi);
        dpi_ = newDpi;
        SetClientSize({layout::ScaleValue(client.Width, newDpi, oldDpi),
                       layout::ScaleValue(client.Height, newDpi, oldDpi)});
    }
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
    const int monitorDpi = WindowDpi(Handle());
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

void Form::SendToDescendants(UINT msg, WPARAM wp, LPARAM lp) {
    MSG forwarded{};
    forwarded.message = msg;
    forwarded.wParam = wp;
    forwarded.lParam = lp;
    EnumChildWindows(
        Handle(),
        [](HWND child, LPARAM m) -> BOOL {
            const auto* f = reinterpret_cast<const MSG*>(m);
            SendMessageW(child, f->message, f->wParam, f->lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&forwarded));
}

void Form::DescendantFocusChanged(HWND hwnd, FocusChange change, HWND other) {
    navigator_.FocusChanged(hwnd, change, other);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            if (!formScaling_) ArrangeChildren();
            // Restored while active: the focus that minimising took comes back.
            if (wp != SIZE_MINIMIZED && !navigator_.FocusOnControl()) navigator_.GiveFocusBack();
            return 0;
        case WM_SETFOCUS:
            // The platform gives the window itself the focus when it is activated or
            // restored; the control that had it gets it back.
            if (navigator_.GiveFocusBack()) return 0;
            break;
        case FocusNavigator::kRepairMessage:
            navigator_.RepairFocus(reinterpret_cast<HWND>(wp));
            return 0;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            // Only top-level windows hear of changed settings (the regional number symbols,
            // for one) and system colours; the controls that depend on them, the
            // platform's own included, hear it from here.
            SendToDescendants(msg, wp, lp);
            break;
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
            if (navigator_.GiveFocusBack()) return 0;
            break;
        case WM_CLOSE:
            if (Application* app = Application::Current(); app && app->MainWindow() == Handle()) {
                app->Terminate();
            }
            return 0;
        case WM_NCDESTROY:
            // The loop stops handing keys to a window that is gone.
            if (Application* app = Application::Current(); app && app->MainWindow() == Handle()) {
                app->SetMainWindow(nullptr, nullptr);
            }
            break;
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

}  // namespace ui
