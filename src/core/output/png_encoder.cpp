#include "core/output/png_encoder.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace output {

namespace {

constexpr std::size_t kBytesPerPixel = 3;

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
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    PutBe(out, static_cast<std::uint32_t>(crc));
}

std::uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
    if (pb <= pc) return static_cast<std::uint8_t>(b);
    return static_cast<std::uint8_t>(c);
}

// Row `row` filtered with PNG filter `type` (0 none, 1 sub, 2 up, 3 average, 4 Paeth)
// against the row above, `up` (zeros for the first row).
void Filter(int type, std::span<const std::uint8_t> row, std::span<const std::uint8_t> up,
            std::span<std::uint8_t> out) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        const int a = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
        const int b = up[i];
        const int c = i >= kBytesPerPixel ? up[i - kBytesPerPixel] : 0;
        int predicted = 0;
        switch (type) {
            case 1:
                predicted = a;
                break;
            case 2:
                predicted = b;
                break;
            case 3:
                predicted = (a + b) / 2;
                break;
            case 4:
                predicted = Paeth(a, b, c);
                break;
            default:
                break;
        }
        out[i] = static_cast<std::uint8_t>(row[i] - predicted);
    }
}

// The filter's cost as the PNG specification's heuristic counts it: the filtered bytes
// read as signed values, summed without their signs.
std::uint64_t Cost(std::span<const std::uint8_t> filtered) {
    std::uint64_t sum = 0;
    for (const std::uint8_t v : filtered) sum += v < 128 ? v : 256u - v;
    return sum;
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> z(size);
    if (compress2(z.data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("Not enough memory to compress the picture");
    }
    z.resize(size);
    return z;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(std::span<const std::uint32_t> pixels, int widthPx,
                                    int heightPx) {
    if (widthPx <= 0 || heightPx <= 0) throw std::invalid_argument("A picture without pixels");
    const std::size_t w = static_cast<std::size_t>(widthPx);
    const std::size_t h = static_cast<std::size_t>(heightPx);
    if (pixels.size() < w * h) throw std::invalid_argument("Fewer pixels than the picture's size");

    const std::size_t rowBytes = kBytesPerPixel * w;
    std::vector<std::uint8_t> up(rowBytes, 0);
    std::vector<std::uint8_t> row(rowBytes);
    std::array<std::vector<std::uint8_t>, 5> trial;
    for (auto& t : trial) t.resize(rowBytes);
    // Each row: its filter type, then the filtered R, G, B bytes.
    std::vector<std::uint8_t> raw;
    raw.reserve(h * (1 + rowBytes));
    for (std::size_t y = 0; y < h; ++y) {
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t p = pixels[y * w + x];
            row[3 * x] = static_cast<std::uint8_t>(p >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(p);
        }
        int best = 0;
        std::uint64_t bestCost = UINT64_MAX;
        for (int type = 0; type < 5; ++type) {
            Filter(type, row, up, trial[static_cast<std::size_t>(type)]);
            const std::uint64_t cost = Cost(trial[static_cast<std::size_t>(type)]);
            if (cost < bestCost) {
                bestCost = cost;
                best = type;
            }
        }
        raw.push_back(static_cast<std::uint8_t>(best));
        const std::vector<std::uint8_t>& chosen = trial[static_cast<std::size_t>(best)];
        raw.insert(raw.end(), chosen.begin(), chosen.end());
        up.swap(row);
    }

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    PutBe(ihdr, static_cast<std::uint32_t>(widthPx));
    PutBe(ihdr, static_cast<std::uint32_t>(heightPx));
    ihdr.insert(ihdr.end(),
                {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, no interlace
    PutChunk(png, "IHDR", ihdr);
    PutChunk(png, "IDAT", Deflate(raw));
    PutChunk(png, "IEND", {});
    return png;
}

}  // namespace output
