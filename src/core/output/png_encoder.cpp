#include "core/output/png_encoder.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace output {

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

// A deflate stored block holds at most 65535 bytes.
constexpr std::size_t kStoredBlockBytes = 65535;

void PutBe(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              std::span<const std::uint8_t> data) {
    PutBe(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    for (char c : type) out.push_back(static_cast<std::uint8_t>(c));
    out.insert(out.end(), data.begin(), data.end());
    PutBe(out, Crc32(std::span<const std::uint8_t>(out).subspan(typeAt)));
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    crc = ~crc;
    for (const std::uint8_t b : bytes) crc = kCrcTable[(crc ^ b) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes, std::uint32_t adler) {
    constexpr std::uint32_t kMod = 65521;
    std::uint32_t a = adler & 0xFFFFu;
    std::uint32_t b = adler >> 16;
    // 5552 bytes keep b below 2^32 before it is reduced.
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = std::min(bytes.size(), at + 5552);
        for (; at < end; ++at) {
            a += bytes[at];
            b += a;
        }
        a %= kMod;
        b %= kMod;
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> EncodePng(std::span<const std::uint32_t> pixels, int widthPx,
                                    int heightPx) {
    if (widthPx <= 0 || heightPx <= 0) throw std::invalid_argument("A picture without pixels");
    const std::size_t w = static_cast<std::size_t>(widthPx);
    const std::size_t h = static_cast<std::size_t>(heightPx);
    if (pixels.size() < w * h) throw std::invalid_argument("Fewer pixels than the picture's size");

    // Each row: filter type 0 (none), then R, G, B.
    std::vector<std::uint8_t> raw;
    raw.reserve(h * (1 + 3 * w));
    for (std::size_t y = 0; y < h; ++y) {
        raw.push_back(0);
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t p = pixels[y * w + x];
            raw.push_back(static_cast<std::uint8_t>(p >> 16));
            raw.push_back(static_cast<std::uint8_t>(p >> 8));
            raw.push_back(static_cast<std::uint8_t>(p));
        }
    }

    // zlib stream: header (deflate, 32 KiB window, no dictionary, fastest), stored blocks,
    // Adler-32 of the raw data.
    std::vector<std::uint8_t> z{0x78, 0x01};
    z.reserve(raw.size() + raw.size() / kStoredBlockBytes * 5 + 16);
    std::size_t at = 0;
    do {
        const std::size_t n = std::min(kStoredBlockBytes, raw.size() - at);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n));
        z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    PutBe(z, Adler32(raw));

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    PutBe(ihdr, static_cast<std::uint32_t>(widthPx));
    PutBe(ihdr, static_cast<std::uint32_t>(heightPx));
    ihdr.insert(ihdr.end(),
                {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, no interlace
    PutChunk(png, "IHDR", ihdr);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});
    return png;
}

}  // namespace output
