// The application shell: the error report path and the timer's event rules.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

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

// A visible window of a thread of its own, made the foreground window: for this thread the
// program is not in the foreground (GetActiveWindow is null), as while another program is
// active.
class ForeignForeground {
public:
    ForeignForeground() {
        thread_ = std::thread([this] {
            threadId_ = GetCurrentThreadId();
            window_ = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW, 50, 50,
                                      300, 200, nullptr, nullptr, nullptr, nullptr);
            ShowWindow(window_, SW_SHOW);
            SetForegroundWindow(window_);
            ready_ = true;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
            DestroyWindow(window_);
        });
        while (!ready_) Sleep(1);
    }
    ~ForeignForeground() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_; }

private:
    std::thread thread_;
    std::atomic<bool> ready_ = false;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

// Watches for the error box of thread `gui` from a thread of its own; when it is open,
// notes whether `main` is enabled and who owns the box, and presses its OK.
class BoxWatcher {
public:
    BoxWatcher(DWORD gui, HWND main) {
        thread_ = std::thread([this, gui, main] {
            for (int i = 0; i < 2000 && !seen_; ++i) {
                EnumThreadWindows(
                    gui,
                    [](HWND w, LPARAM self) -> BOOL {
                        wchar_t name[16] = {};
                        GetClassNameW(w, name, 16);
                        if (std::wstring(name) != L"#32770" || !IsWindowVisible(w)) return TRUE;
                        reinterpret_cast<BoxWatcher*>(self)->box_ = w;
                        return FALSE;
                    },
                    reinterpret_cast<LPARAM>(this));
                if (box_) {
                    mainEnabled_ = IsWindowEnabled(main) != FALSE;
                    owner_ = GetWindow(box_, GW_OWNER);
                    seen_ = true;
                    PostMessageW(box_, WM_COMMAND, IDOK, 0);
                }
                Sleep(5);
            }
        });
    }
    ~BoxWatcher() {
        if (thread_.joinable()) thread_.join();
    }
    void Join() { thread_.join(); }

    std::atomic<bool> seen_ = false;
    bool mainEnabled_ = true;
    HWND owner_ = nullptr;

private:
    std::thread thread_;
    HWND box_ = nullptr;
};

// An error in a timer tick while another program is active: the box is owned by the main
// window, which it disables while it is open.
TEST_F(ErrorReporting, TheBoxDisablesTheMainWindowAlsoWhenTheProgramIsNotInFront) {
    auto form = wintest::ShowForm(wintest::At(120));
    ForeignForeground other;
    ASSERT_TRUE(wintest::PumpUntil([] { return GetActiveWindow() == nullptr; }))
        << "the other thread's window did not come to the front";
    const auto failOnce = [&](ui::Window&) {
        form->stepTimer.SetEnabled(false);
        throw std::runtime_error("Simulated failure in a tick");
    };

    form->stepTimer.SetOnTimer(failOnce);
    form->stepTimer.SetInterval(10);
    form->stepTimer.SetEnabled(true);
    ASSERT_TRUE(wintest::PumpUntil([] { return !wintest::ErrorLog().empty(); }));
    EXPECT_EQ(wintest::ErrorLog()[0].owner, form->Handle()) << "the recorded box's owner";

    // The real box, pressed by a second thread while it is open.
    ui::Application::Current()->SetErrorSink(ui::Application::ShowErrorBox);
    BoxWatcher watcher(GetCurrentThreadId(), form->Handle());
    form->stepTimer.SetEnabled(true);
    const bool shown = wintest::PumpUntil([&] { return watcher.seen_.load(); });
    wintest::RecordErrors();
    watcher.Join();
    ASSERT_TRUE(shown);
    EXPECT_EQ(watcher.owner_, form->Handle());
    EXPECT_FALSE(watcher.mainEnabled_) << "the main window is disabled while the box is open";
    EXPECT_TRUE(IsWindowEnabled(form->Handle())) << "and enabled again when it is closed";
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
