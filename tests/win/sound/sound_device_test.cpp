// The sound device against the platform's audio. The runner (sound_test.sh) prepares the
// prefix and says what to expect through the environment:
//   PHASEBOX_SOUND_WAV   the default device records to this WAV file (ALSA's file plugin
//                        under Wine): the tones are read back and measured
//   PHASEBOX_SOUND_NONE  the prefix has no sound driver: opening reports why and throws
//                        nothing
// A test whose variable is not set is skipped.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "recorded_tone.h"
#include "win/dac/sound_device.h"

namespace {

using namespace std::chrono_literals;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Waits for `condition` up to `limit`: the device plays in real time, so the deadline is
// generous for a loaded machine.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

TEST(SoundDevice, RecordsTheToneAndAnIncrementChange) {
    const std::string wav = Env("PHASEBOX_SOUND_WAV");
    if (wav.empty()) GTEST_SKIP() << "PHASEBOX_SOUND_WAV is not set";
    constexpr int kClockHz = 48000;
    constexpr std::uint16_t kFirst = 1024;   // 750 Hz
    constexpr std::uint16_t kSecond = 2560;  // 1875 Hz
    ASSERT_EQ(dac::SoundOutputProblem(), u"");

    dac::SharedToneSetting setting({kFirst, dds::Waveform::Sin, 100});
    dac::SoundDevice device(setting, {kClockHz, 10, 4});
    ASSERT_EQ(device.State(), dac::SoundState::Playing)
        << std::string(device.Problem().begin(), device.Problem().end());
    EXPECT_EQ(device.BlockSamples(), 480);
    ASSERT_TRUE(WaitFor([&] { return device.BlocksPlayed() >= 50; }, 20s));
    const std::uint64_t playedAtChange = device.BlocksPlayed();
    setting.Store({kSecond, dds::Waveform::Sin, 100});
    ASSERT_TRUE(WaitFor([&] { return device.BlocksPlayed() >= 100; }, 20s));
    device.Stop();
    EXPECT_EQ(device.State(), dac::SoundState::Stopped);
    std::printf("blocks played %llu, underruns %llu\n",
                static_cast<unsigned long long>(device.BlocksPlayed()),
                static_cast<unsigned long long>(device.Underruns()));

    recorded::ExpectToneChange(wav, {.ClockHz = kClockHz,
                                     .FirstIncrement = kFirst,
                                     .SecondIncrement = kSecond,
                                     .PlayedAtChangeS = static_cast<double>(playedAtChange) *
                                                        device.BlockSamples() / kClockHz});
}

TEST(SoundDevice, WithoutADeviceReportsWhyAndThrowsNothing) {
    if (Env("PHASEBOX_SOUND_NONE").empty()) GTEST_SKIP() << "PHASEBOX_SOUND_NONE is not set";
    EXPECT_NE(dac::SoundOutputProblem(), u"");
    dac::SharedToneSetting setting;
    std::optional<dac::SoundDevice> device;
    ASSERT_NO_THROW(device.emplace(setting));
    EXPECT_EQ(device->State(), dac::SoundState::NoDevice);
    const std::u16string why = device->Problem();
    EXPECT_FALSE(why.empty());
    std::printf("without a device: %s\n", std::string(why.begin(), why.end()).c_str());
    EXPECT_EQ(device->BlocksPlayed(), 0u);
    device->Stop();
    EXPECT_EQ(device->State(), dac::SoundState::NoDevice);
    dac::SoundDevice moved = std::move(*device);
    EXPECT_EQ(moved.State(), dac::SoundState::NoDevice);
    EXPECT_EQ(device->State(), dac::SoundState::Stopped);
}

}  // namespace
