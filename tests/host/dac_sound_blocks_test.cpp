// The sound producer: the renderer's values at full volume, a phase that goes on across
// blocks and across changes, a gain that ramps, a waveform change that crossfades, and the
// setting word shared between threads.
#include "core/dac/sound_blocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/dds/accumulator.h"
#include "core/output/render.h"

namespace {

using dac::BlockProducer;
using dac::ToneSetting;

std::vector<std::int16_t> Produce(BlockProducer& p, int count, const ToneSetting& s) {
    std::vector<std::int16_t> block(static_cast<std::size_t>(count));
    p.Fill(block, s);
    return block;
}

ToneSetting Full(std::uint16_t increment, dds::Waveform wave = dds::Waveform::Sin) {
    return {increment, wave, 100};
}

TEST(DacSoundBlocks, FullVolumeCarriesTheRenderersValues) {
    // After the fade-in, each sample is the rendered byte v widened: (v - 128) x 256.
    for (const auto wave : {dds::Waveform::Sin, dds::Waveform::Ecg, dds::Waveform::Sqr}) {
        const std::uint16_t increment = 1234;
        std::string wav;
        output::RenderWav({wave, increment}, 1, 48000, [&](std::string_view s) { wav += s; });
        BlockProducer p(48000);
        const std::vector<std::int16_t> samples = Produce(p, 48000, Full(increment, wave));
        ASSERT_EQ(wav.size(), 44u + 48000u);
        for (int n = p.RampSamples(); n < 48000; ++n) {
            const auto byte = static_cast<std::uint8_t>(wav[44 + static_cast<std::size_t>(n)]);
            ASSERT_EQ(samples[static_cast<std::size_t>(n)], (byte - 128) * 256) << "sample " << n;
        }
    }
    EXPECT_EQ(dac::FullScaleSample(0), -32768);
    EXPECT_EQ(dac::FullScaleSample(128), 0);
    EXPECT_EQ(dac::FullScaleSample(255), 32512);
}

TEST(DacSoundBlocks, BlockBoundariesChangeNothing) {
    const ToneSetting s{777, dds::Waveform::Tri, 40};
    BlockProducer whole(44100);
    const std::vector<std::int16_t> once = Produce(whole, 5000, s);
    BlockProducer pieces(44100);
    std::vector<std::int16_t> joined;
    for (int size : {1, 441, 0, 2000, 7, 2551}) {
        const std::vector<std::int16_t> part = Produce(pieces, size, s);
        joined.insert(joined.end(), part.begin(), part.end());
    }
    EXPECT_EQ(joined, once);
    EXPECT_EQ(pieces.Accumulator(), static_cast<std::uint16_t>(5000 * 777));
}

TEST(DacSoundBlocks, PhaseGoesOnAcrossAnIncrementChange) {
    BlockProducer p(48000);
    Produce(p, 1000, Full(300));  // past the fade-in
    const auto accAtChange = static_cast<std::uint16_t>(1000 * 300);
    EXPECT_EQ(p.Accumulator(), accAtChange);
    const std::vector<std::int16_t> after = Produce(p, 700, Full(5000));
    // The new increment is heard from the block's first sample, from where the old one
    // left the accumulator: no reset, so no jump in phase.
    std::uint16_t acc = accAtChange;
    for (std::size_t n = 0; n < after.size(); ++n) {
        ASSERT_EQ(after[n], dac::FullScaleSample(dds::SinTable[dds::HighByte(acc)])) << n;
        acc = dds::Step(acc, 5000);
    }
    EXPECT_EQ(p.Accumulator(), acc);
}

TEST(DacSoundBlocks, GainRampsWithoutJumps) {
    BlockProducer p(48000);
    EXPECT_EQ(p.RampSamples(), 480);
    // SQR at M = 0 holds entry 0 (code 0): the samples trace the gain itself.
    const std::vector<std::int16_t> up = Produce(p, 1000, {0, dds::Waveform::Sqr, 100});
    EXPECT_EQ(up.front(), (-32768 * p.GainStep()) >> 15);  // the fade-in starts near silence
    EXPECT_EQ(up[479], -32768);                            // full within the ramp
    EXPECT_EQ(up.back(), -32768);
    const std::vector<std::int16_t> down = Produce(p, 1000, {0, dds::Waveform::Sqr, 25});
    EXPECT_EQ(p.Gain(), dac::GainFor(25));
    std::vector<std::int16_t> all = up;
    all.insert(all.end(), down.begin(), down.end());
    int largestStep = 0;
    for (std::size_t n = 1; n < all.size(); ++n) {
        largestStep = std::max(largestStep, std::abs(all[n] - all[n - 1]));
    }
    // One gain step of a full-scale sample, plus rounding.
    EXPECT_LE(largestStep, p.GainStep() + 1);
    EXPECT_EQ(all.back(), (-32768 * dac::GainFor(25)) >> 15);
}

TEST(DacSoundBlocks, WaveformChangeCrossfadesAtTheSamePhase) {
    BlockProducer p(8000);  // 80 samples of crossfade
    const int r = p.RampSamples();
    ASSERT_EQ(r, 80);
    Produce(p, 200, Full(64, dds::Waveform::Sin));
    std::uint16_t acc = p.Accumulator();
    const std::vector<std::int16_t> fade = Produce(p, 2 * r, Full(64, dds::Waveform::Sqr));
    // A change during the crossfade waits for the block after it.
    const std::vector<std::int16_t> later = Produce(p, 10, Full(64, dds::Waveform::Saw));
    EXPECT_TRUE(p.Crossfading());
    for (int n = 0; n < 2 * r; ++n) {
        const int from = dac::FullScaleSample(dds::SinTable[dds::HighByte(acc)]);
        const int to = dac::FullScaleSample(dds::SqrTable[dds::HighByte(acc)]);
        const int got = fade[static_cast<std::size_t>(n)];
        if (n == 0) {
            EXPECT_EQ(got, from);
        } else if (n >= r) {
            EXPECT_EQ(got, to) << n;
        } else {
            EXPECT_GE(got, std::min(from, to)) << n;
            EXPECT_LE(got, std::max(from, to)) << n;
            EXPECT_NEAR(got, from + (to - from) * n / r, 1) << n;
        }
        acc = dds::Step(acc, 64);
    }
    EXPECT_EQ(later.front(), dac::FullScaleSample(dds::SqrTable[dds::HighByte(acc)]));
}

TEST(DacSoundBlocks, SharedSettingKeepsEveryField) {
    const struct {
        ToneSetting stored;
        ToneSetting loaded;
    } cases[] = {
        {{0, dds::Waveform::Sin, 0}, {0, dds::Waveform::Sin, 0}},
        {{65535, dds::Waveform::Sqr, 100}, {65535, dds::Waveform::Sqr, 100}},
        {{32769, dds::Waveform::Ecg, 37}, {32769, dds::Waveform::Ecg, 37}},
        {{1, dds::Waveform::RSaw, 250}, {1, dds::Waveform::RSaw, 100}},
        {{2, dds::Waveform::Tri, -4}, {2, dds::Waveform::Tri, 0}},
    };
    dac::SharedToneSetting shared;
    EXPECT_EQ(shared.Load(), ToneSetting{});
    for (const auto& c : cases) {
        shared.Store(c.stored);
        EXPECT_EQ(shared.Load(), c.loaded);
    }
    EXPECT_EQ(dac::GainFor(100), dac::kUnityGain);
    EXPECT_EQ(dac::GainFor(50), dac::kUnityGain / 2);
    EXPECT_EQ(dac::GainFor(-1), 0);
}

}  // namespace
