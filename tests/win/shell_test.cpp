// The application shell: the error report path and the timer's event rules.
#include <gtest/gtest.h>

#include <stdexcept>

#include "win/ui/timer.h"
#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;

class ErrorReporting : public testing::Test {
protected:
    void SetUp() override { wintest::ErrorLog().clear(); }
};

TEST_F(ErrorReporting, AFailingHandlerIsReportedAndTheProgramGoesOn) {
    auto form = wintest::ShowForm(wintest::At(120));
    int runs = 0;
    form->resetButton.OnClick = [&](ui::Window&) {
        ++runs;
        throw std::runtime_error("Simulated failure");
    };
    SetCapture(form->waveformChart.Handle());
    SendMessageW(form->resetButton.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(wintest::ErrorLog().size(), 1u);
    EXPECT_EQ(wintest::ErrorLog()[0].text, u"Simulated failure.");
    EXPECT_EQ(wintest::ErrorLog()[0].title, u"win_tests") << "the title comes from win_tests.exe";
    EXPECT_EQ(GetCapture(), nullptr) << "a drag in progress is cancelled first";

    // The window still works: the next click runs the handler again.
    SendMessageW(form->resetButton.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(wintest::ErrorLog().size(), 2u);
    SendMessageW(form->stepButton.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->highByteDisplay.Caption(), u"1");
}

TEST_F(ErrorReporting, AnErrorInTheInitialStateIsReportedAndTheWindowStillOpens) {
    MainWindow::Options options;
    options.MonitorDpi = 120;
    options.BeforeCreate = [](MainWindow& f) {
        f.stepTimer.SetStarter([](HWND, UINT_PTR, UINT) { return false; });
    };
    auto form = wintest::ShowForm(options);
    ASSERT_EQ(wintest::ErrorLog().size(), 1u);
    EXPECT_EQ(wintest::ErrorLog()[0].text, u"Not enough timers available.");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    // Steps 1 to 4 were done, step 5 stored the interval and failed; 6 and 7 were not done.
    EXPECT_EQ(form->outputLine.Count(), 1);
    EXPECT_EQ(form->stepTimer.Interval(), 1u);
    EXPECT_TRUE(form->stepTimer.Enabled());
    EXPECT_EQ(form->waveformChart.BottomAxis.Maximum, 30.0);
}

// A starter that counts the platform starts and can be told to fail.
struct CountingStarter {
    int starts = 0;
    bool fail = false;
    ui::Timer::Starter Make() {
        return [this](HWND w, UINT_PTR id, UINT ms) {
            if (fail) return false;
            ++starts;
            return SetTimer(w, id, ms, nullptr) != 0;
        };
    }
};

TEST(TimerRules, OnlyANewValueRestartsAndADisabledTimerOnlyStores) {
    ui::Timer timer;
    CountingStarter starter;
    timer.SetStarter(starter.Make());
    timer.SetInterval(50);
    EXPECT_EQ(starter.starts, 0) << "no handler yet";
    timer.SetOnTimer([](ui::Window&) {});
    EXPECT_EQ(starter.starts, 1) << "attaching the handler starts an enabled timer";
    timer.SetInterval(50);
    timer.SetEnabled(true);
    EXPECT_EQ(starter.starts, 1) << "the values it already has change nothing";
    timer.SetInterval(60);
    EXPECT_EQ(starter.starts, 2) << "a new interval restarts the period";
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(70);
    EXPECT_EQ(starter.starts, 2) << "a disabled timer only stores its interval";
    timer.SetEnabled(true);
    EXPECT_EQ(starter.starts, 3);
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running()) << "interval 0 never ticks";
}

TEST(TimerRules, AFailingStartStoresTheValueAndRaisesTheMessage) {
    ui::Timer timer;
    CountingStarter starter;
    timer.SetStarter(starter.Make());
    timer.SetOnTimer([](ui::Window&) {});
    timer.SetEnabled(false);
    starter.fail = true;
    try {
        timer.SetEnabled(true);
        FAIL() << "expected an error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Not enough timers available");
    }
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Running());
}

TEST(TimerRules, TicksComeNoFasterThanEveryTenMillisecondsAndNeverPileUp) {
    ui::Timer timer;
    int ticks = 0;
    bool slowOnce = true;
    timer.SetInterval(1);
    timer.SetOnTimer([&](ui::Window&) {
        ++ticks;
        if (slowOnce) {
            slowOnce = false;
            Sleep(300);  // a long handler: 30 periods of 10 ms go by
        }
    });
    wintest::PumpUntil([&] { return ticks >= 1; });
    const int afterSlow = ticks;
    const auto start = std::chrono::steady_clock::now();
    wintest::Pump(100ms);
    const auto elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - start)
                               .count();
    const int burst = ticks - afterSlow;
    // At most one tick per 10 ms, plus one merged tick waiting from the slow handler.
    EXPECT_LE(burst, elapsedMs / 10 + 2) << "no backlog is worked off";
    std::printf("[ figures ] %d ticks in %lld ms after a 300 ms handler\n", burst,
                static_cast<long long>(elapsedMs));

    ticks = 0;
    const auto second = std::chrono::steady_clock::now();
    wintest::Pump(1000ms);
    const auto ms2 = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now() - second)
                         .count();
    EXPECT_LE(ticks, ms2 / 10 + 2);
    std::printf("[ figures ] %d ticks of a 1 ms timer in %lld ms\n", ticks,
                static_cast<long long>(ms2));
}

}  // namespace
