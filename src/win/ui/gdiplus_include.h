// GDI+ needs min and max in scope, which NOMINMAX removes from <windows.h>, and the COM
// declarations of <objidl.h> before its own header.
#pragma once

#include <windows.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

// clang-format off
#include <objidl.h>
#include <gdiplus.h>
// clang-format on
