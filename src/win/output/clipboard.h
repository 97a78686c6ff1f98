// The clipboard: a picture and a text put there together, in one open and close.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string_view>

namespace ui {

struct ClipboardPicture {
    int WidthPx = 0;
    int HeightPx = 0;
    std::span<const std::uint32_t> Pixels;  // top row first, 0x00RRGGBB (the top byte ignored)
    std::span<const std::uint8_t> Png;      // the same picture as a PNG file, or empty
};

// Empties the clipboard and puts `picture` there as a 32-bit device-independent bitmap
// (CF_DIB) that is opaque (every fourth byte 255: a reader that takes it for alpha sees
// no hole), as the registered format "PNG" when the picture has a PNG file, and `text` as
// Unicode text, owned by `owner`. While another program holds the
// clipboard the opening is tried again every `retryMs` until `attempts` tries have failed.
// False when it was never opened or the platform refused the data; the clipboard is then
// as it was when it could not be opened.
bool PutOnClipboard(HWND owner, const ClipboardPicture& picture, std::u16string_view text,
                    int attempts = 10, DWORD retryMs = 30);

}  // namespace ui
