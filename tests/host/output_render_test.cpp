// The renderer: CSV rows against the accumulator and the tables, the WAV header, its
// length and its samples.
#include "core/output/render.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "core/dds/accumulator.h"

namespace {

using output::RenderSource;

std::string Csv(const RenderSource& source, std::int64_t samples) {
    std::string out;
    std::size_t pieces = 0;
    output::RenderCsv(source, samples, [&](std::string_view s) {
        out += s;
        ++pieces;
    });
    EXPECT_GE(pieces, 1u);
    return out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF at " << at;
        if (end == std::string::npos) break;
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string Bytes(const RenderSource& source, int seconds, int clockHz) {
    std::string out;
    output::RenderWav(source, seconds, clockHz, [&](std::string_view s) { out += s; });
    return out;
}

std::uint32_t Le(const std::string& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) {
        v = v << 8 | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(i)]);
    }
    return v;
}

TEST(RenderCsv, RowsFollowTheAccumulatorFromZero) {
    const struct {
        dds::Waveform wave;
        std::uint16_t increment;
        std::vector<std::string> firstRows;
    } cases[] = {
        {dds::Waveform::Sin,
         256,
         {"0,0,0,0,128", "1,256,1,0,131", "2,512,2,0,134", "3,768,3,0,137"}},
        {dds::Waveform::Saw, 1, {"0,0,0,0,0", "1,1,0,1,0", "2,2,0,2,0"}},
        {dds::Waveform::Sin, 65535, {"0,0,0,0,128", "1,65535,255,255,124", "2,65534,255,254,124"}},
        {dds::Waveform::Sqr, 32768, {"0,0,0,0,0", "1,32768,128,0,255", "2,0,0,0,0"}},
        {dds::Waveform::Ecg, 12800, {"0,0,0,0,73", "1,12800,50,0,255", "2,25600,100,0,81"}},
        {dds::Waveform::Tri, 700, {"0,0,0,0,0", "1,700,2,188,4", "2,1400,5,120,10"}},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> lines = Lines(Csv({c.wave, c.increment}, 5));
        ASSERT_EQ(lines.size(), 6u) << c.increment;
        EXPECT_EQ(lines[0], "step,accumulator,high_byte,low_byte,value");
        for (std::size_t i = 0; i < c.firstRows.size(); ++i) {
            EXPECT_EQ(lines[i + 1], c.firstRows[i]) << "increment " << c.increment << " row " << i;
        }
    }
}

// Every row of long renders against the accumulator and the table, across chunk borders.
TEST(RenderCsv, EveryRowMatchesTheGenerator) {
    const struct {
        dds::Waveform wave;
        std::uint16_t increment;
        std::int64_t samples;
    } cases[] = {
        {dds::Waveform::Sin, 1, 70000},     {dds::Waveform::Ecg, 256, 5000},
        {dds::Waveform::Tri, 65535, 70000}, {dds::Waveform::RSaw, 4464, 9000},
        {dds::Waveform::Sqr, 32768, 3},     {dds::Waveform::Saw, 1, 1},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> lines = Lines(Csv({c.wave, c.increment}, c.samples));
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.samples) + 1) << c.increment;
        const dds::WaveformTable& table = dds::TableFor(c.wave);
        std::uint16_t acc = 0;
        for (std::int64_t step = 0; step < c.samples; ++step) {
            const std::uint8_t hi = dds::HighByte(acc);
            const std::string expected =
                std::to_string(step) + "," + std::to_string(acc) + "," + std::to_string(hi) + "," +
                std::to_string(dds::LowByte(acc)) + "," + std::to_string(table[hi]);
            ASSERT_EQ(lines[static_cast<std::size_t>(step) + 1], expected)
                << "increment " << c.increment << " step " << step;
            acc = dds::Step(acc, c.increment);
        }
    }
}

TEST(RenderCsv, ZeroSamplesGiveTheHeaderOnly) {
    EXPECT_EQ(Csv({}, 0), "step,accumulator,high_byte,low_byte,value\r\n");
}

TEST(RenderWav, HeaderDescribesMono8BitPcm) {
    const struct {
        std::uint32_t rateHz;
        std::uint32_t samples;
    } cases[] = {{48000, 96000}, {8000, 8000}, {192000, 115'200'000}, {44100, 3}};
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> h = output::WavHeader(c.rateHz, c.samples);
        const std::string b(h.begin(), h.end());
        ASSERT_EQ(b.size(), 44u);
        const std::uint32_t padded = c.samples + (c.samples & 1u);
        EXPECT_EQ(b.substr(0, 4), "RIFF");
        EXPECT_EQ(Le(b, 4, 4), 36 + padded);
        EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(Le(b, 16, 4), 16u);
        EXPECT_EQ(Le(b, 20, 2), 1u) << "PCM";
        EXPECT_EQ(Le(b, 22, 2), 1u) << "channels";
        EXPECT_EQ(Le(b, 24, 4), c.rateHz);
        EXPECT_EQ(Le(b, 28, 4), c.rateHz) << "bytes per second";
        EXPECT_EQ(Le(b, 32, 2), 1u) << "block alignment";
        EXPECT_EQ(Le(b, 34, 2), 8u) << "bits per sample";
        EXPECT_EQ(b.substr(36, 4), "data");
        EXPECT_EQ(Le(b, 40, 4), c.samples);
    }
}

TEST(RenderWav, LengthAndSamplesFollowSecondsAndClock) {
    const struct {
        dds::Waveform wave;
        std::uint16_t increment;
        int seconds;
        int clockHz;
    } cases[] = {
        {dds::Waveform::Sin, 256, 2, 48000},
        {dds::Waveform::Tri, 700, 1, 8000},
        {dds::Waveform::Ecg, 65535, 1, 8001},  // odd: a pad byte follows the data
        {dds::Waveform::Sqr, 1, 3, 11025},
    };
    for (const auto& c : cases) {
        const std::string b = Bytes({c.wave, c.increment}, c.seconds, c.clockHz);
        const std::size_t samples =
            static_cast<std::size_t>(c.seconds) * static_cast<std::size_t>(c.clockHz);
        ASSERT_EQ(b.size(), 44 + samples + (samples & 1u)) << c.clockHz;
        EXPECT_EQ(b.size(), output::WavFileSize(c.seconds, c.clockHz));
        EXPECT_EQ(Le(b, 40, 4), samples);
        const dds::WaveformTable& table = dds::TableFor(c.wave);
        std::uint16_t acc = 0;
        for (std::size_t i = 0; i < samples; ++i) {
            ASSERT_EQ(static_cast<std::uint8_t>(b[44 + i]), table[dds::HighByte(acc)])
                << "sample " << i << " increment " << c.increment;
            acc = dds::Step(acc, c.increment);
        }
        if (samples & 1u) {
            EXPECT_EQ(b.back(), '\0');
        }
    }
}

// Increment 256 at 48 kHz: one period every 256 samples, 187.5 per second.
TEST(RenderWav, ToneRepeatsEvery65536OverIncrementSamples) {
    const std::string b = Bytes({dds::Waveform::Saw, 256}, 1, 48000);
    int rises = 0;
    for (std::size_t i = 45; i < b.size(); ++i) {
        if (static_cast<std::uint8_t>(b[i]) < static_cast<std::uint8_t>(b[i - 1])) ++rises;
    }
    EXPECT_EQ(rises, 187);  // 48000 / 256 = 187.5 whole periods begin after the first
}

}  // namespace
