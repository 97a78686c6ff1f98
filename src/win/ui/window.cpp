#include "win/ui/window.h"

#include <commctrl.h>

#include "win/ui/error_report.h"
#include "win/ui/win32_error.h"

namespace ui {
namespace {

constexpr wchar_t kObjectProperty[] = L"phasebox.window";
constexpr UINT_PTR kSubclassId = 1;

HINSTANCE ModuleInstance() noexcept {
    return GetModuleHandleW(nullptr);
}

void RegisterOnce(const wchar_t* className, const WindowArgs& args, WNDPROC proc) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(ModuleInstance(), className, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = args.ClassStyle;
    wc.lpfnWndProc = proc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = args.ClassCursor ? args.ClassCursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = args.ClassBackground;
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) throw Win32Error::FromLastError("Cannot register a window class");
}

HWND ReflectionTarget(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<HWND>(lp);
        case WM_NOTIFY:
            return reinterpret_cast<const NMHDR*>(lp)->hwndFrom;
        default:
            (void)wp;
            return nullptr;
    }
}

}  // namespace

Window::~Window() {
    if (HWND h = hwnd_.Get()) {
        Detach();
        DestroyWindow(h);
    }
}

void Window::DestroyHandle() noexcept {
    if (HWND h = hwnd_.Get()) DestroyWindow(h);  // WM_NCDESTROY detaches this object
}

Window* Window::FromHandle(HWND hwnd) noexcept {
    return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

std::optional<LRESULT> Window::HandleReflected(UINT, WPARAM, LPARAM) {
    return std::nullopt;
}

void Window::Attach(HWND hwnd) noexcept {
    hwnd_.Reset();
    hwnd_ = UniqueHwnd(hwnd);
    SetPropW(hwnd, kObjectProperty, this);
}

void Window::Detach() noexcept {
    HWND h = hwnd_.Release();
    if (!h) return;
    RemovePropW(h, kObjectProperty);
    if (standard_) RemoveWindowSubclass(h, &Window::SubclassProc, kSubclassId);
}

void Window::CreateOwn(const wchar_t* className, const WindowArgs& args) {
    RegisterOnce(className, args, &Window::OwnProc);
    const RECT& r = args.Rect;
    HWND h = CreateWindowExW(args.ExStyle, className, args.Text, args.Style, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, args.Parent, nullptr,
                             ModuleInstance(), this);
    if (!h) throw Win32Error::FromLastError("Cannot create a window");
}

void Window::CreateStandard(const wchar_t* className, const WindowArgs& args) {
    const RECT& r = args.Rect;
    HWND h = CreateWindowExW(args.ExStyle, className, args.Text, args.Style, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, args.Parent, nullptr,
                             ModuleInstance(), nullptr);
    if (!h) throw Win32Error::FromLastError("Cannot create a control");
    standard_ = true;
    Attach(h);
    SetWindowSubclass(h, &Window::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT Window::DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) {
    HWND h = hwnd_.Get();
    return standard_ ? DefSubclassProc(h, msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
}

std::optional<LRESULT> Window::Reflect(UINT msg, WPARAM wp, LPARAM lp) {
    HWND target = ReflectionTarget(msg, wp, lp);
    if (!target || target == hwnd_.Get()) return std::nullopt;
    Window* child = FromHandle(target);
    return child ? child->HandleReflected(msg, wp, lp) : std::nullopt;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (auto reflected = Reflect(msg, wp, lp)) return *reflected;
    return DefaultHandling(msg, wp, lp);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    HWND h = hwnd_.Get();
    if (msg == WM_NCDESTROY) {
        LRESULT result = 0;
        try {
            result = HandleMessage(msg, wp, lp);
        } catch (...) {
            ReportException(std::current_exception());
        }
        Detach();
        return result;
    }
    try {
        return HandleMessage(msg, wp, lp);
    } catch (...) {
        ReportException(std::current_exception());
        // A message whose handler failed still gets the platform's default answer where
        // one is owed (a paint must validate, for example).
        if (msg == WM_PAINT) ValidateRect(h, nullptr);
        return 0;
    }
}

LRESULT CALLBACK Window::OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Window* self = FromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        if (self) self->Attach(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR ref) noexcept {
    auto* self = reinterpret_cast<Window*>(ref);
    if (!self || self->Handle() != hwnd) return DefSubclassProc(hwnd, msg, wp, lp);
    return self->Dispatch(msg, wp, lp);
}

}  // namespace ui
