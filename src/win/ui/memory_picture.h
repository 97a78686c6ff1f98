// An off-screen picture: a 32-bit top-down device-independent bitmap with its own memory
// DC. GDI, GDI+ and themes draw through Dc(); code that composes pixels itself writes the
// rows directly (0x00RRGGBB). It is the one owner of a memory DC and its bitmap.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "core/base/rect.h"
#include "win/ui/handles.h"

namespace ui {

class MemoryPicture {
public:
    MemoryPicture() = default;
    MemoryPicture(const MemoryPicture&) = delete;
    MemoryPicture& operator=(const MemoryPicture&) = delete;
    ~MemoryPicture();

    // Makes the picture `widthPx` x `heightPx` (at least 1 x 1), keeping it, contents and
    // all, when it already has that size. False when the platform refuses; the old
    // picture then stays.
    bool Ensure(int widthPx, int heightPx);
    bool Ensure(base::SizePx size) { return Ensure(size.Width, size.Height); }

    HDC Dc() const noexcept { return dc_.Get(); }
    int WidthPx() const noexcept { return widthPx_; }
    int HeightPx() const noexcept { return heightPx_; }
    base::RectPx Bounds() const noexcept { return {0, 0, widthPx_, heightPx_}; }

    std::uint32_t* Row(int yPx) noexcept {
        return bits_ + static_cast<std::size_t>(yPx) * static_cast<std::size_t>(widthPx_);
    }
    const std::uint32_t* Row(int yPx) const noexcept {
        return bits_ + static_cast<std::size_t>(yPx) * static_cast<std::size_t>(widthPx_);
    }
    // The colour at a pixel inside the picture. GDI drawing must be flushed (GdiFlush).
    COLORREF PixelAt(int xPx, int yPx) const noexcept;

    // Copies `area` of this picture to the same place of `target`.
    void CopyTo(HDC target, const RECT& area) const noexcept;

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int widthPx_ = 0;
    int heightPx_ = 0;
};

}  // namespace ui
