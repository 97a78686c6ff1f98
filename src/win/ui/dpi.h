// Pixel density of monitors, with a fallback where per-monitor density is missing.
#pragma once

#include <windows.h>

namespace ui {

// Effective density of the monitor that holds `point` (screen coordinates).
int MonitorDpiAt(POINT point) noexcept;
// Effective density of the monitor that holds most of `hwnd`.
int MonitorDpiOf(HWND hwnd) noexcept;
// The density the platform keeps for `hwnd` (GetDpiForWindow: with per-monitor awareness
// the density of its monitor, following it from one monitor to another); where that
// call is missing, MonitorDpiOf.
int WindowDpi(HWND hwnd) noexcept;

}  // namespace ui
