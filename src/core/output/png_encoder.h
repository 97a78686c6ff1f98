// A PNG file of 8-bit RGB pixels, compressed: each row takes the filter that leaves it the
// smallest sum of differences, and the rows are deflated by zlib at its best compression.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace output {

// `pixels` holds `heightPx` rows of `widthPx` pixels, top row first, each 0x00RRGGBB (the
// top byte is ignored). Throws std::invalid_argument for an empty picture or too few
// pixels, std::runtime_error when zlib fails (it only fails for lack of memory).
std::vector<std::uint8_t> EncodePng(std::span<const std::uint32_t> pixels, int widthPx,
                                    int heightPx);

}  // namespace output
