// The PNG encoder, read back by a reader of its own: zlib's inflate, every chunk's CRC and
// the five row filters undone as the PNG format defines them. A chart at the designed size
// must come out small.
#include "core/output/png_encoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "picture_replay.h"

namespace {

std::uint32_t Be(const std::vector<std::uint8_t>& d, std::size_t at) {
    return std::uint32_t{d[at]} << 24 | std::uint32_t{d[at + 1]} << 16 |
           std::uint32_t{d[at + 2]} << 8 | d[at + 3];
}

struct Decoded {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

int PaethOf(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Reads an 8-bit RGB PNG; every fault is a test failure.
Decoded Read(const std::vector<std::uint8_t>& png) {
    Decoded out;
    const std::vector<std::uint8_t> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    std::vector<std::uint8_t> z;
    std::vector<std::string> types;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = Be(png, at);
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        types.push_back(type);
        EXPECT_EQ(Be(png, at + 8 + length), crc32(0L, png.data() + at + 4, length + 4)) << type;
        const std::uint8_t* data = png.data() + at + 8;
        if (type == "IHDR") {
            EXPECT_EQ(length, 13u);
            out.width = Be(png, at + 8);
            out.height = Be(png, at + 12);
            EXPECT_EQ(data[8], 8) << "bit depth";
            EXPECT_EQ(data[9], 2) << "RGB";
            EXPECT_EQ(data[12], 0) << "no interlace";
        } else if (type == "IDAT") {
            z.insert(z.end(), data, data + length);
        }
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

    const std::size_t stride = 1 + 3 * std::size_t{out.width};
    std::vector<std::uint8_t> raw(stride * out.height + 1);  // one byte more: no excess data
    uLongf rawSize = static_cast<uLongf>(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &rawSize, z.data(), static_cast<uLong>(z.size())), Z_OK);
    EXPECT_EQ(rawSize, stride * out.height);
    if (rawSize != stride * out.height) return out;

    std::vector<std::uint8_t> up(stride - 1, 0), row(stride - 1);
    for (std::uint32_t y = 0; y < out.height; ++y) {
        const std::uint8_t filter = raw[y * stride];
        EXPECT_LE(filter, 4) << "row " << y;
        for (std::size_t i = 0; i < row.size(); ++i) {
            const int a = i >= 3 ? row[i - 3] : 0;
            const int b = up[i];
            const int c = i >= 3 ? up[i - 3] : 0;
            const int predictor = filter == 1   ? a
                                  : filter == 2 ? b
                                  : filter == 3 ? (a + b) / 2
                                  : filter == 4 ? PaethOf(a, b, c)
                                                : 0;
            row[i] = static_cast<std::uint8_t>(raw[y * stride + 1 + i] + predictor);
        }
        for (std::uint32_t x = 0; x < out.width; ++x) {
            out.pixels.push_back(std::uint32_t{row[3 * x]} << 16 |
                                 std::uint32_t{row[3 * x + 1]} << 8 | row[3 * x + 2]);
        }
        up = row;
    }
    return out;
}

std::vector<std::uint32_t> Noise(std::size_t count) {
    std::vector<std::uint32_t> pixels(count);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFFu;
    }
    return pixels;
}

TEST(PngEncode, PixelsComeBack) {
    const struct {
        int width;
        int height;
        std::vector<std::uint32_t> pixels;
    } cases[] = {
        {1, 1, {0xFF123456}},  // the top byte is not part of the picture
        {3, 2, Noise(6)},
        {1177, 448, Noise(1177 * 448)},  // noise: every filter is tried
        {40000, 1, Noise(40000)},
        {2, 3, {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x808080, 0x7F7F7F}},
    };
    for (const auto& c : cases) {
        const Decoded d = Read(output::EncodePng(c.pixels, c.width, c.height));
        ASSERT_EQ(d.width, static_cast<std::uint32_t>(c.width));
        ASSERT_EQ(d.height, static_cast<std::uint32_t>(c.height));
        ASSERT_EQ(d.pixels.size(), c.pixels.size());
        for (std::size_t i = 0; i < d.pixels.size(); ++i) {
            ASSERT_EQ(d.pixels[i], c.pixels[i] & 0xFFFFFFu)
                << c.width << "x" << c.height << " pixel " << i;
        }
    }
}

// The chart at the designed size (1177 x 448) with a sine of 256 points: stored without
// compression such a picture took 1,582,524 bytes; compressed it must be at least twenty
// times smaller, and still the same pixels.
TEST(PngEncode, AChartIsCompressed) {
    chart_test::PictureReplay replay(1177, 448);
    for (int i = 0; i < 256; ++i) replay.Append(127.5 + 127.5 * std::sin(i * 2 * M_PI / 256));
    replay.SetBottomRange(0, 255);
    replay.SetLeftRange(0, 255);
    ASSERT_EQ(replay.RedrawAndCheck(), "");
    const chart::PixelImage& picture = replay.Picture();
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < picture.HeightPx(); ++y) {
        for (int x = 0; x < picture.WidthPx(); ++x) pixels.push_back(picture.At(x, y));
    }
    const std::vector<std::uint8_t> png =
        output::EncodePng(pixels, picture.WidthPx(), picture.HeightPx());
    std::printf("[ figure ] chart 1177 x 448 as PNG: %zu bytes\n", png.size());
    EXPECT_LE(png.size(), 1582524u / 20);
    const Decoded d = Read(png);
    EXPECT_EQ(d.pixels, pixels);
}

TEST(PngEncode, RefusesAPictureWithoutPixels) {
    const std::vector<std::uint32_t> four(4);
    EXPECT_THROW(output::EncodePng(four, 0, 4), std::invalid_argument);
    EXPECT_THROW(output::EncodePng(four, 4, 0), std::invalid_argument);
    EXPECT_THROW(output::EncodePng(four, 3, 2), std::invalid_argument);
}

}  // namespace
