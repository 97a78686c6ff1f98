#include "ui/dpi.h"

#include <shellscalingapi.h>

namespace ui {
namespace {

int SystemDpi() noexcept {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

// Per-monitor density exists from Windows 8.1 on (shcore.dll); looked up at run time so
// that the program still starts on older systems, which use the system-wide density.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);

GetDpiForMonitorFn PerMonitorDpiFunction() noexcept {
    static const GetDpiForMonitorFn function = []() -> GetDpiForMonitorFn {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        if (!shcore) return nullptr;
        return reinterpret_cast<GetDpiForMonitorFn>(
            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
    }();
    return function;
}

int DpiOfMonitor(HMONITOR monitor) noexcept {
    UINT x = 0, y = 0;
    if (GetDpiForMonitorFn getDpi = PerMonitorDpiFunction();
        getDpi && monitor && SUCCEEDED(getDpi(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && x > 0)
        return static_cast<int>(x);
    return SystemDpi();
}

}  // namespace

int MonitorDpiAt(POINT point) noexcept {
    return DpiOfMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY));
}

int MonitorDpiOf(HWND hwnd) noexcept {
    return DpiOfMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY));
}

}  // namespace ui
