// The DAC output's sound: the system's default output device (waveOut) playing blocks from
// a dac::BlockProducer on a thread of its own. The thread reads the shared tone setting
// once per block and never waits on the window; the window waits on the thread only when
// the device closes. Latency: QueuedBlocks blocks of BlockMs each are queued, so a change of
// the setting is heard within (QueuedBlocks + 1) x BlockMs plus the platform's own buffer.
//
// A missing or refused device is a state with a reason, not an error: nothing throws and no
// box opens, so the window can disable its toggle and say why.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/dac/figures.h"
#include "core/dac/sound_blocks.h"

namespace dac {

struct SoundDeviceOptions {
    int ClockHz = kDesignedClockHz;
    int BlockMs = 10;
    int QueuedBlocks = 4;
};

enum class SoundState {
    Playing,   // the thread is running and the device playing
    NoDevice,  // the device could not be opened: Problem() says why
    Stopped,   // Stop() was called, or the thread ended on a failure (Problem() says which)
};

// Why the system cannot play sound now, in the program's words; empty when it has an
// output device. Cheap enough to call when the window opens.
std::u16string SoundOutputProblem();

class SoundDevice {
public:
    // Opens the default output at options.ClockHz, 16-bit mono, and starts playing
    // `setting` as it changes. `setting` must outlive this object (or its Stop()).
    explicit SoundDevice(const SharedToneSetting& setting, const SoundDeviceOptions& options = {});
    // Stops as Stop() does.
    ~SoundDevice();
    SoundDevice(SoundDevice&&) noexcept;
    SoundDevice& operator=(SoundDevice&&) noexcept;
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    SoundState State() const noexcept;
    // Empty while playing; why there is no sound otherwise.
    std::u16string Problem() const;
    // Blocks the device has finished playing.
    std::uint64_t BlocksPlayed() const noexcept;
    // Times the device finished a block with no further block queued: it ran dry.
    std::uint64_t Underruns() const noexcept;
    // The samples of one block.
    int BlockSamples() const noexcept;

    // Fades the sound out over one block, lets the queue play out (at most a few blocks'
    // time), then stops the thread and closes the device. Calling it again does nothing.
    void Stop() noexcept;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace dac
