// The program's one colour type: the layout's colours, the chart's and the pixels'.
#pragma once

#include <cstdint>

namespace base {

struct Rgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;

    // The pixel value of this colour in a 32-bit row (0x00RRGGBB).
    constexpr std::uint32_t Pixel() const noexcept {
        return static_cast<std::uint32_t>(R) << 16 | static_cast<std::uint32_t>(G) << 8 | B;
    }
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace base
