// Listening through the windows as a user does, to a sound device that records: the main
// window's tone, Listen switched on and off with the keyboard, a new increment in the main
// window heard in the same recording. The runner (sound/listen_in_window.sh) makes
// the platform's default device a WAV file and names it in PHASEBOX_SOUND_WAV; without it
// the test is skipped (the window's other tests see no sound device).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "recorded_tone.h"
#include "win/dac/dac_window.h"
#include "win/ui/text.h"
#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;

TEST(DacListen, TheWindowPlaysTheMainWindowsToneAndItsNewIncrement) {
    const char* wav = std::getenv("PHASEBOX_SOUND_WAV");
    if (!wav || !*wav) GTEST_SKIP() << "PHASEBOX_SOUND_WAV is not set";
    constexpr int kClockHz = 48000;
    constexpr std::uint16_t kFirst = 1024;   // 750 Hz
    constexpr std::uint16_t kSecond = 2560;  // 1875 Hz

    wintest::ErrorLog().clear();
    std::unique_ptr<MainWindow> main = wintest::ShowForm();
    MainWindow* m = main.get();
    ui::Application::Current()->SetMainWindow(m->Handle(),
                                              [m](const MSG& msg) { return m->PreviewKey(msg); });
    main->incrementBox.SetValue(kFirst);
    main->OpenDacWindow();
    dacwin::DacWindow* dac = main->DacOutput();
    ASSERT_NE(dac, nullptr);
    dac->SetClockHz(kClockHz);
    ASSERT_TRUE(dac->listenBox.Enabled())
        << "no sound device: "
        << ui::ToUtf8(ui::ToWide(wintest::TextOf(dac->soundStatus.Handle())));

    SetFocus(dac->listenBox.Handle());
    wintest::PressKey(VK_SPACE);
    ASSERT_TRUE(dac->Listening());
    ASSERT_TRUE(dac->listenBox.Checked());
    const dac::SoundDevice* sound = dac->Sound();
    const int blockSamples = sound->BlockSamples();
    ASSERT_TRUE(wintest::PumpUntil([&] { return sound->BlocksPlayed() >= 50; }, 20s));
    const std::uint64_t playedAtChange = sound->BlocksPlayed();
    main->incrementBox.SetValue(kSecond);
    ASSERT_EQ(main->Generator().Increment(), kSecond);
    ASSERT_TRUE(wintest::PumpUntil([&] { return sound->BlocksPlayed() >= 100; }, 20s));
    std::printf("blocks played %llu, underruns %llu\n",
                static_cast<unsigned long long>(sound->BlocksPlayed()),
                static_cast<unsigned long long>(sound->Underruns()));

    SetFocus(dac->listenBox.Handle());
    wintest::PressKey(VK_SPACE);
    EXPECT_FALSE(dac->Listening());
    EXPECT_FALSE(dac->listenBox.Checked());
    EXPECT_TRUE(wintest::ErrorLog().empty());

    recorded::ExpectToneChange(
        wav, {.ClockHz = kClockHz,
              .FirstIncrement = kFirst,
              .SecondIncrement = kSecond,
              .PlayedAtChangeS = static_cast<double>(playedAtChange) * blockSamples / kClockHz});

    dac->Close();
    ui::Application::Current()->SetMainWindow(nullptr, nullptr);
}

}  // namespace
