// A PNG file of 8-bit RGB pixels, stored without compression (deflate's stored blocks),
// with the CRC-32 of every chunk and the Adler-32 of the image data. Readable by every
// PNG reader; larger than a compressed one, and written in one pass without a library.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace output {

// CRC-32 as PNG and zlib use it (polynomial 0xEDB88320, initial and final inversion).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
// Adler-32 as zlib uses it.
std::uint32_t Adler32(std::span<const std::uint8_t> bytes, std::uint32_t adler = 1);

// `pixels` holds `heightPx` rows of `widthPx` pixels, top row first, each 0x00RRGGBB.
// Throws std::invalid_argument for an empty picture or too few pixels.
std::vector<std::uint8_t> EncodePng(std::span<const std::uint32_t> pixels, int widthPx,
                                    int heightPx);

}  // namespace output
