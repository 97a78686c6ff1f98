// The PNG encoder: the check sums against published values, and a file read back by a
// small reader of stored deflate blocks that checks every chunk's CRC.
#include "core/output/png_encoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

std::vector<std::uint8_t> Of(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(PngChecksums, MatchPublishedValues) {
    EXPECT_EQ(output::Crc32(Of("123456789")), 0xCBF43926u);
    EXPECT_EQ(output::Crc32(Of("IEND")), 0xAE426082u);
    EXPECT_EQ(output::Crc32({}), 0u);
    EXPECT_EQ(output::Adler32(Of("Wikipedia")), 0x11E60398u);
    EXPECT_EQ(output::Adler32({}), 1u);
    // Long input: the sums are reduced in blocks.
    const std::vector<std::uint8_t> ff(100000, 0xFF);
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : ff) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(output::Adler32(ff), (b << 16) | a);
}

std::uint32_t Be(const std::vector<std::uint8_t>& d, std::size_t at) {
    return std::uint32_t{d[at]} << 24 | std::uint32_t{d[at + 1]} << 16 |
           std::uint32_t{d[at + 2]} << 8 | d[at + 3];
}

struct Decoded {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> raw;  // filter byte and RGB per row
};

// Reads what EncodePng writes; every fault is a test failure.
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
        const std::span<const std::uint8_t> typeAndData(png.data() + at + 4, length + 4);
        EXPECT_EQ(Be(png, at + 8 + length), output::Crc32(typeAndData)) << type;
        const std::uint8_t* data = png.data() + at + 8;
        if (type == "IHDR") {
            EXPECT_EQ(length, 13u);
            out.width = Be(png, at + 8);
            out.height = Be(png, at + 12);
            EXPECT_EQ(data[8], 8) << "bit depth";
            EXPECT_EQ(data[9], 2) << "RGB";
        } else if (type == "IDAT") {
            z.insert(z.end(), data, data + length);
        }
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0) << "zlib header check";
    std::size_t p = 2;
    bool last = false;
    while (!last && p < z.size()) {
        last = (z[p] & 1) != 0;
        EXPECT_EQ(z[p] >> 1, 0) << "a stored block";
        const unsigned len = z[p + 1] | z[p + 2] << 8;
        const unsigned nlen = z[p + 3] | z[p + 4] << 8;
        EXPECT_EQ(len ^ 0xFFFFu, nlen);
        out.raw.insert(out.raw.end(), z.begin() + static_cast<std::ptrdiff_t>(p + 5),
                       z.begin() + static_cast<std::ptrdiff_t>(p + 5 + len));
        p += 5 + len;
    }
    EXPECT_TRUE(last);
    EXPECT_EQ(p + 4, z.size());
    EXPECT_EQ(Be(z, p), output::Adler32(out.raw));
    return out;
}

TEST(PngEncode, PixelsComeBackRowByRow) {
    const struct {
        int width;
        int height;
    } sizes[] = {{1, 1}, {3, 2}, {1177, 448}, {40000, 1}};  // the last spans several blocks
    for (const auto& s : sizes) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(s.width) * s.height);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFFu;
        }
        const Decoded d = Read(output::EncodePng(pixels, s.width, s.height));
        ASSERT_EQ(d.width, static_cast<std::uint32_t>(s.width));
        ASSERT_EQ(d.height, static_cast<std::uint32_t>(s.height));
        const std::size_t stride = 1 + 3 * static_cast<std::size_t>(s.width);
        ASSERT_EQ(d.raw.size(), stride * s.height);
        for (int y = 0; y < s.height; ++y) {
            ASSERT_EQ(d.raw[y * stride], 0) << "filter none";
            for (int x = 0; x < s.width; ++x) {
                const std::uint32_t p = pixels[static_cast<std::size_t>(y) * s.width + x];
                const std::uint8_t* rgb = &d.raw[y * stride + 1 + 3 * x];
                ASSERT_EQ(rgb[0], (p >> 16) & 0xFF) << x << "," << y;
                ASSERT_EQ(rgb[1], (p >> 8) & 0xFF) << x << "," << y;
                ASSERT_EQ(rgb[2], p & 0xFF) << x << "," << y;
            }
        }
    }
}

TEST(PngEncode, RefusesAPictureWithoutPixels) {
    const std::vector<std::uint32_t> four(4);
    EXPECT_THROW(output::EncodePng(four, 0, 4), std::invalid_argument);
    EXPECT_THROW(output::EncodePng(four, 4, 0), std::invalid_argument);
    EXPECT_THROW(output::EncodePng(four, 3, 2), std::invalid_argument);
}

}  // namespace
