#include "core/dac/sound_blocks.h"

#include <algorithm>

namespace dac {

namespace {

constexpr int kWaveforms = 6;

std::uint32_t Pack(const ToneSetting& s) noexcept {
    const int wave = static_cast<int>(s.Wave);
    const auto waveBits = static_cast<std::uint32_t>(wave >= 0 && wave < kWaveforms ? wave : 0);
    const auto volume =
        static_cast<std::uint32_t>(std::clamp(s.VolumePercent, 0, kMaxVolumePercent));
    return std::uint32_t{s.Increment} | waveBits << 16 | volume << 19;
}

ToneSetting Unpack(std::uint32_t packed) noexcept {
    return {static_cast<std::uint16_t>(packed & 0xFFFFu),
            static_cast<dds::Waveform>((packed >> 16) & 7u), static_cast<int>(packed >> 19)};
}

}  // namespace

SharedToneSetting::SharedToneSetting(const ToneSetting& initial) noexcept : packed_(Pack(initial)) {
    static_assert(std::atomic<std::uint32_t>::is_always_lock_free);
}

void SharedToneSetting::Store(const ToneSetting& setting) noexcept {
    packed_.store(Pack(setting), std::memory_order_relaxed);
}

ToneSetting SharedToneSetting::Load() const noexcept {
    return Unpack(packed_.load(std::memory_order_relaxed));
}

int GainFor(int volumePercent) noexcept {
    const int v = std::clamp(volumePercent, 0, kMaxVolumePercent);
    return (v * kUnityGain + kMaxVolumePercent / 2) / kMaxVolumePercent;
}

BlockProducer::BlockProducer(int clockHz)
    : rampSamples_(std::max(1, clockHz * kRampMs / 1000)),
      gainStep_((kUnityGain + rampSamples_ - 1) / rampSamples_) {}

void BlockProducer::Fill(std::span<std::int16_t> block, const ToneSetting& setting) {
    if (!started_) {
        generator_.ContinueWithWaveform(setting.Wave);
        started_ = true;
    } else if (fadeLeft_ == 0 && setting.Wave != generator_.Wave()) {
        fadeFrom_ = generator_.Wave();
        generator_.ContinueWithWaveform(setting.Wave);
        fadeLeft_ = rampSamples_;
    }
    generator_.SetIncrement(setting.Increment);
    const dds::WaveformTable& from = dds::TableFor(fadeFrom_);
    const int target = GainFor(setting.VolumePercent);
    for (std::int16_t& sample : block) {
        const dds::Sample now = generator_.Output();
        // The wave in 1/256 steps of a code: -32768 .. 32512.
        int wave = (now.Value - 128) * 256;
        if (fadeLeft_ > 0) {
            const int old = (from[now.High()] - 128) * 256;
            wave = old + (wave - old) * (rampSamples_ - fadeLeft_) / rampSamples_;
            --fadeLeft_;
        }
        gain_ = gain_ < target ? std::min(target, gain_ + gainStep_)
                               : std::max(target, gain_ - gainStep_);
        // |wave x gain| <= 2^30; the shift floors, exactly at unity gain.
        sample = static_cast<std::int16_t>((wave * gain_) >> 15);
        generator_.Step();
    }
}

}  // namespace dac
