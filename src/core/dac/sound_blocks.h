// The generator as sound: blocks of samples for the sound device, made by an accumulator
// of the producer's own that steps once per sample at the sample clock, from a setting
// (increment, waveform, volume) read once per block.
//
// Samples are 16-bit signed. At full volume a table value v becomes (v - 128) x 256: the
// renderer's 8-bit byte widened without loss, as a sound system widens 8-bit data itself.
// Below full volume the 16 bits keep the scaled wave's detail, which 8 bits would round
// away; and the volume ramp and the waveform crossfade move in steps far below hearing.
//
// No change clicks: the phase goes on across blocks and across a change of increment (the
// accumulator is never reset); a new waveform is crossfaded from the old one, and the gain
// moves to a new volume, each over kRampMs.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>

#include "core/dds/generator.h"

namespace dac {

inline constexpr int kMaxVolumePercent = 100;
// Loud enough to hear and well below full scale: a square wave at full scale is harsh.
inline constexpr int kDesignedVolumePercent = 25;
// The gain's and the crossfade's duration.
inline constexpr int kRampMs = 10;
// The gain that leaves samples as they are.
inline constexpr int kUnityGain = 1 << 15;

struct ToneSetting {
    std::uint16_t Increment = 256;
    dds::Waveform Wave = dds::Waveform::Sin;
    // 0 to 100; values outside are taken as the nearer end.
    int VolumePercent = kDesignedVolumePercent;
    friend bool operator==(const ToneSetting&, const ToneSetting&) = default;
};

// The setting as one lock-free word: the window's thread stores, the sound thread loads,
// and neither ever waits for the other.
class SharedToneSetting {
public:
    explicit SharedToneSetting(const ToneSetting& initial = {}) noexcept;
    SharedToneSetting(const SharedToneSetting&) = delete;
    SharedToneSetting& operator=(const SharedToneSetting&) = delete;

    void Store(const ToneSetting& setting) noexcept;
    ToneSetting Load() const noexcept;

private:
    std::atomic<std::uint32_t> packed_;
};

// The 16-bit sample of table value `value` at full volume.
constexpr std::int16_t FullScaleSample(std::uint8_t value) noexcept {
    return static_cast<std::int16_t>((value - 128) * 256);
}

// The gain for `volumePercent`, clamped to 0 .. 100: volume x kUnityGain / 100, rounded to
// the nearest.
int GainFor(int volumePercent) noexcept;

class BlockProducer {
public:
    // `clockHz` positive: the rate the samples are played at, which sets the ramps' lengths.
    explicit BlockProducer(int clockHz);

    // The next block.size() samples with `setting`. The first block starts at accumulator
    // 0 and gain 0 (so the sound fades in), with the setting's waveform. Each sample is
    // the table value at the accumulator's high byte times the gain, then the accumulator
    // steps by the setting's increment. A waveform change starts a crossfade when none is
    // running; one that comes during a crossfade waits for the next block after it.
    void Fill(std::span<std::int16_t> block, const ToneSetting& setting);

    std::uint16_t Accumulator() const noexcept { return generator_.Accumulator(); }
    // The gain now, 0 .. kUnityGain; it moves by at most GainStep() per sample.
    int Gain() const noexcept { return gain_; }
    int GainStep() const noexcept { return gainStep_; }
    int RampSamples() const noexcept { return rampSamples_; }
    bool Crossfading() const noexcept { return fadeLeft_ > 0; }

private:
    int rampSamples_;
    int gainStep_;
    // Stepped once per sample; the waveform and the increment follow the setting.
    dds::Generator generator_;
    int gain_ = 0;
    bool started_ = false;
    dds::Waveform fadeFrom_ = dds::Waveform::Sin;
    int fadeLeft_ = 0;  // samples of the crossfade still to come
};

}  // namespace dac
