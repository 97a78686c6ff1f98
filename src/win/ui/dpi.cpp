#include "win/ui/dpi.h"

#include <shellscalingapi.h>

namespace ui {
namespace {

int SystemDpi() noexcept {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

// A function of a system library that older systems lack, looked up at run time so that
// the program still starts there.
template <typename Fn>
Fn SystemFunction(const wchar_t* library, const char* name) noexcept {
    HMODULE module = LoadLibraryW(library);
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Per-monitor density exists from Windows 8.1 on (shcore.dll); older systems use the
// system-wide density.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);

GetDpiForMonitorFn PerMonitorDpiFunction() noexcept {
    static const auto function =
        SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    return function;
}

int DpiOfMonitor(HMONITOR monitor) noexcept {
    UINT x = 0, y = 0;
    if (GetDpiForMonitorFn getDpi = PerMonitorDpiFunction();
        getDpi && monitor && SUCCEEDED(getDpi(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && x > 0) {
        return static_cast<int>(x);
    }
    return SystemDpi();
}

// GetDpiForWindow exists from Windows 10 (1607) on.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn WindowDpiFunction() noexcept {
    static const auto function =
        SystemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    return function;
}

}  // namespace

int MonitorDpiAt(POINT point) noexcept {
    return DpiOfMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY));
}

int MonitorDpiOf(HWND hwnd) noexcept {
    return DpiOfMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY));
}

int WindowDpi(HWND hwnd) noexcept {
    if (GetDpiForWindowFn getDpi = WindowDpiFunction(); getDpi && hwnd) {
        if (const UINT dpi = getDpi(hwnd); dpi > 0) return static_cast<int>(dpi);
    }
    return MonitorDpiOf(hwnd);
}

}  // namespace ui
