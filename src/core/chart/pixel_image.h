// Pictures as rows of 32-bit pixels (0x00RRGGBB, as a 32-bit device-independent bitmap
// holds them): what the chart's portable drawing writes into,
// whether the rows belong to a bitmap of the platform or to a vector of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/base/rect.h"
#include "core/base/rgb.h"

namespace chart {

// Rows of pixels owned elsewhere, top row first, each WidthPx pixels long and directly
// after the one above.
struct PixelRows {
    std::uint32_t* Bits = nullptr;
    int WidthPx = 0;
    int HeightPx = 0;

    std::uint32_t* Row(int yPx) const noexcept {
        return Bits + static_cast<std::size_t>(yPx) * static_cast<std::size_t>(WidthPx);
    }
    base::RectPx Bounds() const noexcept { return {0, 0, WidthPx, HeightPx}; }
};

// A picture that owns its rows.
class PixelImage {
public:
    PixelImage() = default;
    PixelImage(int widthPx, int heightPx)
        : widthPx_(widthPx),
          heightPx_(heightPx),
          pixels_(static_cast<std::size_t>(widthPx) * static_cast<std::size_t>(heightPx)) {}

    int WidthPx() const noexcept { return widthPx_; }
    int HeightPx() const noexcept { return heightPx_; }
    PixelRows Rows() noexcept { return {pixels_.data(), widthPx_, heightPx_}; }
    std::uint32_t At(int xPx, int yPx) const noexcept {
        return pixels_[static_cast<std::size_t>(yPx) * static_cast<std::size_t>(widthPx_) +
                       static_cast<std::size_t>(xPx)];
    }

private:
    int widthPx_ = 0;
    int heightPx_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace chart
