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

int DpiOfMonitor(HMONITOR monitor) noexcept {
    UINT x = 0, y = 0;
    if (monitor && SUCCEEDED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && x > 0)
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
