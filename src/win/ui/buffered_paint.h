// Painting without flicker: a control draws its whole client area into a memory picture,
// which then goes to the screen in one copy.
#pragma once

#include <windows.h>

#include <functional>

#include "win/ui/memory_picture.h"

namespace ui {

// Draws the whole client area `client` onto `dc`.
using DrawClient = std::function<void(HDC dc, const RECT& client)>;

// Draws into `buffer` (made the client's size) with `draw` and copies `area` of it to
// `target`. When the buffer cannot be made, draws straight onto `target` instead.
void DrawBuffered(HDC target, const RECT& area, const RECT& client, MemoryPicture& buffer,
                  const DrawClient& draw);

// Answers WM_PAINT of `hwnd`: through `buffer` as DrawBuffered does, or, without a
// buffer, straight onto the screen.
void PaintBuffered(HWND hwnd, MemoryPicture* buffer, const DrawClient& draw);

// Answers WM_PAINT of `hwnd` by copying the invalid part of `picture`, which the control
// has drawn beforehand.
void PaintFrom(HWND hwnd, const MemoryPicture& picture);

}  // namespace ui
