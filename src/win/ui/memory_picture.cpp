#include "win/ui/memory_picture.h"

#include <algorithm>
#include <utility>

namespace ui {

MemoryPicture::~MemoryPicture() {
    if (dc_ && original_) SelectObject(dc_.Get(), original_);
}

bool MemoryPicture::Ensure(int widthPx, int heightPx) {
    widthPx = std::max(widthPx, 1);
    heightPx = std::max(heightPx, 1);
    if (bitmap_ && widthPx == widthPx_ && heightPx == heightPx_) return true;
    if (!dc_) {
        dc_.Reset(CreateCompatibleDC(nullptr));
        if (!dc_) return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = widthPx;
    info.bmiHeader.biHeight = -heightPx;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap fresh(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!fresh || !bits) return false;
    HGDIOBJ previous = SelectObject(dc_.Get(), fresh.Get());
    if (!previous || previous == HGDI_ERROR) return false;
    if (!original_) original_ = previous;
    bitmap_ = std::move(fresh);  // the old bitmap is no longer selected, so it may go
    bits_ = static_cast<std::uint32_t*>(bits);
    widthPx_ = widthPx;
    heightPx_ = heightPx;
    return true;
}

COLORREF MemoryPicture::PixelAt(int xPx, int yPx) const noexcept {
    const std::uint32_t p = Row(yPx)[xPx];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void MemoryPicture::CopyTo(HDC target, const RECT& area) const noexcept {
    if (!dc_) return;
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.Get(),
           area.left, area.top, SRCCOPY);
}

}  // namespace ui
