// The program's rectangles meet the platform's RECT only here.
#pragma once

#include <windows.h>

#include "core/base/rect.h"

namespace ui {

constexpr RECT ToRect(const base::RectPx& r) noexcept {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

constexpr base::RectPx FromRect(const RECT& r) noexcept {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace ui
