// The generator on the real window, driven by real messages and input: start-up state,
// manual steps, increments, reset, waveform choice, run control and the timers.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "core/dds/wave_tables.h"
#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;

class Generator : public testing::Test {
protected:
    void SetUp() override {
        wintest::ErrorLog().clear();
        form = wintest::ShowForm(wintest::At(120));
    }

    std::vector<double> Samples() const {
        const auto y = form->outputLine.YValues();
        return {y.begin(), y.end()};
    }
    void Plus() { SendMessageW(form->stepButton.Handle(), BM_CLICK, 0, 0); }
    POINT CentreOf(const ui::Control& c) const {
        const base::SizePx s = c.ClientSizePx();
        return {s.Width / 2, s.Height / 2};
    }
    void Click(const ui::Control& c) {
        const POINT p = CentreOf(c);
        wintest::ClickAt(c.Handle(), p.x, p.y);
    }
    // Wraps a button's handler to count its runs.
    int* CountClicks(std::function<void(ui::Window&)>& event) {
        auto counter = std::make_shared<int>(0);
        counters.push_back(counter);
        auto original = event;
        event = [counter, original](ui::Window& w) {
            ++*counter;
            original(w);
        };
        return counter.get();
    }
    bool Running() const {
        return form->stepTimer.Running() && form->runBox.Checked() && !form->stepButton.Enabled() &&
               !form->pulseTimer.Enabled();
    }
    bool Stopped() const {
        return !form->stepTimer.Enabled() && !form->stepTimer.Running() &&
               !form->runBox.Checked() && form->stepButton.Enabled() && form->pulseTimer.Running();
    }

    std::unique_ptr<MainWindow> form;
    std::vector<std::shared_ptr<int>> counters;
};

TEST_F(Generator, StartsStoppedWithOneSampleAndThePulsingArrow) {
    EXPECT_EQ(form->highByteDisplay.Caption(), u"0");
    EXPECT_EQ(form->lowByteDisplay.Caption(), u"0");
    EXPECT_EQ(Samples(), std::vector<double>{128});
    EXPECT_EQ(form->Generator().Increment(), 256);
    EXPECT_EQ(form->stepTimer.Interval(), 1u);
    EXPECT_EQ(form->pulseTimer.Interval(), 300u);
    EXPECT_TRUE(Stopped());
    EXPECT_EQ(form->waveformChart.BottomAxis.Maximum, 256.0);
    // No step happens until the user starts the generator; the arrow pulses meanwhile.
    const int heightBefore = form->arrow.BoundsPx().Height();
    ASSERT_TRUE(
        wintest::PumpUntil([&] { return form->arrow.BoundsPx().Height() != heightBefore; }));
    EXPECT_EQ(form->outputLine.Count(), 1);
    EXPECT_TRUE(wintest::ErrorLog().empty());
}

TEST_F(Generator, EachPlusStepsOnceAndPlotsTheTableEntry) {
    for (int i = 0; i < 3; ++i) Click(form->stepButton);
    EXPECT_EQ(form->highByteDisplay.Caption(), u"3");
    EXPECT_EQ(form->lowByteDisplay.Caption(), u"0");
    EXPECT_EQ(Samples(), (std::vector<double>{128, 131, 134, 137}));
    // Space and Enter on the focused button step too.
    SetFocus(form->stepButton.Handle());
    wintest::PressKey(VK_SPACE);
    wintest::PressKey(VK_RETURN);
    EXPECT_EQ(form->highByteDisplay.Caption(), u"5");
}

struct IncrementCase {
    std::u16string_view text;  // as pasted or typed while the box keeps the focus
    std::uint16_t adder;
};

TEST_F(Generator, TheIncrementFollowsTheBoxEvenOutsideItsRange) {
    const IncrementCase cases[] = {
        {u"2.5", 2},      {u"3.5", 4},      {u"65536", 0},
        {u"70000", 4464}, {u"-256", 65280}, {u"1,234.5", 1234},
    };
    SetFocus(form->incrementBox.Handle());
    for (const IncrementCase& c : cases) {
        form->incrementBox.SetText(std::u16string(c.text));
        EXPECT_EQ(form->Generator().Increment(), c.adder)
            << std::string(c.text.begin(), c.text.end());
    }
    // -256 lowers the high byte by one per step (a tick, which leaves the focus alone).
    form->incrementBox.SetText(u"-256");
    form->Step();
    EXPECT_EQ(form->highByteDisplay.Caption(), u"255");
    // Pressing "+" moves the focus out of the box, which corrects it to 1 first.
    Plus();
    EXPECT_EQ(wintest::TextOf(form->incrementBox.Handle()), u"1");
    EXPECT_EQ(form->Generator().Accumulator(), 0xFF00 + 1);
    form->incrementBox.SetText(u"");
    EXPECT_EQ(wintest::TextOf(form->incrementBox.Handle()), u"1") << "an empty box becomes 1";
    EXPECT_EQ(form->Generator().Increment(), 1);
}

TEST_F(Generator, Increment65535CountsDownFromTheTop) {
    form->incrementBox.SetValue(65535);
    Plus();
    EXPECT_EQ(form->highByteDisplay.Caption(), u"255");
    EXPECT_EQ(form->lowByteDisplay.Caption(), u"255");
    EXPECT_EQ(Samples().back(), dds::SinTable[255]);
}

TEST_F(Generator, Increment32768WithSquareAlternatesTopAndBottom) {
    Click(form->sqrButton);
    ASSERT_TRUE(form->sqrButton.Checked());
    form->incrementBox.SetValue(32768);
    for (int i = 0; i < 4; ++i) Plus();
    EXPECT_EQ(Samples(), (std::vector<double>{255, 0, 255, 0}));
}

TEST_F(Generator, ResetWhileRunningZeroesAtOnceWithoutASample) {
    Click(form->runBox);
    ASSERT_TRUE(wintest::PumpUntil([&] { return form->outputLine.Count() >= 4; }));
    form->stepTimer.SetEnabled(false);  // hold the steps while looking
    const int count = form->outputLine.Count();
    Click(form->resetButton);
    EXPECT_EQ(form->highByteDisplay.Caption(), u"0");
    EXPECT_EQ(form->lowByteDisplay.Caption(), u"0");
    EXPECT_EQ(form->Generator().Accumulator(), 0);
    EXPECT_EQ(form->outputLine.Count(), count);
    form->stepTimer.SetEnabled(true);
    ASSERT_TRUE(wintest::PumpUntil([&] { return form->outputLine.Count() > count; }));
    EXPECT_EQ(form->outputLine.YValues()[static_cast<std::size_t>(count)], dds::SinTable[1]);
}

TEST_F(Generator, ChoosingAWaveformClearsAndResets) {
    int* runs = CountClicks(form->sawButton.OnClick);
    int* sinRuns = CountClicks(form->sinButton.OnClick);
    Plus();
    Plus();
    Click(form->sawButton);
    EXPECT_EQ(*runs, 1);
    EXPECT_EQ(form->outputLine.Count(), 0);
    EXPECT_EQ(form->highByteDisplay.Caption(), u"0");
    EXPECT_EQ(form->Generator().Table(), dds::SawTable);
    Plus();
    EXPECT_EQ(Samples(), std::vector<double>{1})
        << "the next step plots entry 1 as the first point";

    Click(form->sawButton);
    EXPECT_EQ(*runs, 1) << "the checked button does nothing";
    EXPECT_EQ(form->outputLine.Count(), 1);
    EXPECT_EQ(*sinRuns, 0);
}

TEST_F(Generator, ArrowKeysMoveAndCheckWithinTheSelectorWithWrapAround) {
    int* sawRuns = CountClicks(form->sawButton.OnClick);
    int* ecgRuns = CountClicks(form->ecgButton.OnClick);
    SetFocus(form->sinButton.Handle());
    wintest::PressKey(VK_DOWN);
    EXPECT_EQ(GetFocus(), form->sawButton.Handle());
    EXPECT_TRUE(form->sawButton.Checked());
    EXPECT_FALSE(form->sinButton.Checked());
    EXPECT_EQ(*sawRuns, 1);
    EXPECT_EQ(form->Generator().Table(), dds::SawTable);

    wintest::PressKey(VK_UP);
    wintest::PressKey(VK_UP);
    EXPECT_EQ(GetFocus(), form->ecgButton.Handle()) << "Up on the first wraps to the last";
    EXPECT_EQ(*ecgRuns, 1);
    EXPECT_EQ(form->Generator().Table(), dds::EcgTable);

    // Only the checked button is a tab stop: Tab enters the group at ECG.
    const auto stops = form->TabStops();
    EXPECT_EQ(stops.back(), &form->ecgButton);
}

TEST_F(Generator, StartAndStopFromEachSourceToggleTheWholeState) {
    // Click on the box.
    Click(form->runBox);
    EXPECT_TRUE(Running());
    Click(form->runBox);
    EXPECT_TRUE(Stopped());
    // Space on the focused box.
    SetFocus(form->runBox.Handle());
    wintest::PressKey(VK_SPACE);
    EXPECT_TRUE(Running());
    wintest::PressKey(VK_SPACE);
    EXPECT_TRUE(Stopped());
    // Click on the arrow; the second click lands elsewhere on it, so that the two do not
    // make a double-click.
    Click(form->arrow);
    EXPECT_TRUE(Running());
    const int frozen = form->arrow.BoundsPx().Height();
    wintest::ClickAt(form->arrow.Handle(), 40, 40);
    EXPECT_TRUE(Stopped());
    EXPECT_EQ(form->arrow.BoundsPx().Height(), frozen) << "the arrow stands where it stopped";
    // While running, "+" ignores the mouse.
    Click(form->runBox);
    form->stepTimer.SetEnabled(false);
    const int count = form->outputLine.Count();
    Click(form->stepButton);
    EXPECT_EQ(form->outputLine.Count(), count);
    EXPECT_TRUE(wintest::ErrorLog().empty());
}

TEST_F(Generator, AQuickDoubleClickOnTheArrowTogglesOnce) {
    const POINT p = CentreOf(form->arrow);
    POINT screen = p;
    ClientToScreen(form->arrow.Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    std::vector<INPUT> in(4);
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_MOUSE;
        in[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    wintest::SendInputAndWait(in);
    EXPECT_TRUE(Running());
}

TEST_F(Generator, TheFirstStepComesOneIntervalAfterTheStart) {
    form->speedSlider.SetPosition(1);
    ASSERT_EQ(form->stepTimer.Interval(), 500u);
    Click(form->runBox);
    const auto started = std::chrono::steady_clock::now();
    wintest::Pump(200ms);
    EXPECT_EQ(form->outputLine.Count(), 1) << "no step at once";
    ASSERT_TRUE(wintest::PumpUntil([&] { return form->outputLine.Count() == 2; }));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - started)
                        .count();
    EXPECT_GE(ms, 450);
}

struct SliderCase {
    int position;
    unsigned intervalMs;
};

TEST_F(Generator, TheSpeedSliderSetsTheInterval) {
    const SliderCase cases[] = {{1, 500}, {250, 251}, {499, 2}, {500, 1}};
    for (const SliderCase& c : cases) {
        form->speedSlider.SetPosition(c.position);
        EXPECT_EQ(form->stepTimer.Interval(), c.intervalMs) << c.position;
    }
    // Keys on the focused slider raise OnChange with the slider's new position.
    SetFocus(form->speedSlider.Handle());
    wintest::PressKey(VK_HOME);
    EXPECT_EQ(form->speedSlider.Position(), 1);
    EXPECT_EQ(form->stepTimer.Interval(), 500u);
    wintest::PressKey(VK_RIGHT);
    EXPECT_EQ(form->stepTimer.Interval(), 499u);
    // Code that sets the held position raises nothing.
    int changes = 0;
    form->speedSlider.OnChange = [&](ui::Window&) { ++changes; };
    form->speedSlider.SetPosition(2);
    EXPECT_EQ(changes, 0);
}

TEST_F(Generator, TheTickSliderFillsTheBoxOneWay) {
    form->incrementSlider.SetPosition(512);
    EXPECT_EQ(wintest::TextOf(form->incrementBox.Handle()), u"512");
    EXPECT_EQ(form->Generator().Increment(), 512);
    Plus();
    EXPECT_EQ(form->Generator().Accumulator(), 512);
    EXPECT_EQ(form->highByteDisplay.Caption(), u"2");

    form->incrementBox.SetText(u"1000");
    EXPECT_EQ(form->Generator().Increment(), 1000);
    EXPECT_EQ(form->incrementSlider.Position(), 512) << "typing does not move the slider";
}

TEST_F(Generator, ATimerThatCannotStartIsReportedAndTheWindowStaysUsable) {
    bool fail = true;
    form->stepTimer.SetStarter(
        [&](HWND w, UINT_PTR id, UINT ms) { return !fail && SetTimer(w, id, ms, nullptr) != 0; });
    Click(form->runBox);
    ASSERT_EQ(wintest::ErrorLog().size(), 1u);
    EXPECT_EQ(wintest::ErrorLog()[0].text, u"Not enough timers available.");
    EXPECT_EQ(wintest::ErrorLog()[0].title, u"win_tests");
    EXPECT_TRUE(form->runBox.Checked());
    EXPECT_TRUE(form->stepTimer.Enabled());
    EXPECT_FALSE(form->stepTimer.Running());
    EXPECT_TRUE(form->stepButton.Enabled()) << "the rest of the handler did not run";
    EXPECT_TRUE(form->pulseTimer.Running());

    Click(form->runBox);
    EXPECT_TRUE(Stopped()) << "the next toggle stops cleanly";
    fail = false;
    Click(form->runBox);
    EXPECT_TRUE(Running()) << "and the one after starts";
    EXPECT_EQ(wintest::ErrorLog().size(), 1u);
}

TEST_F(Generator, AtTheFastestSettingStepsComeNoFasterThanEveryTenMilliseconds) {
    Click(form->runBox);
    const int before = form->outputLine.Count();
    form->autoClearBox.SetChecked(false);
    const auto start = std::chrono::steady_clock::now();
    wintest::Pump(2000ms);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    const int steps = form->outputLine.Count() - before;
    std::printf("[ figures ] %d steps in %lld ms at the fastest setting (%.1f per second)\n", steps,
                static_cast<long long>(ms), steps * 1000.0 / static_cast<double>(ms));
    EXPECT_GT(steps, 0);
    EXPECT_LE(steps, ms / 10 + 2);
}

struct PulseCase {
    int dpi;
    std::vector<int> heights;  // laid out, then after each pulse tick
};

class ArrowPulse : public testing::TestWithParam<PulseCase> {};

TEST_P(ArrowPulse, GrowsByFiveUntilItPassesTheRestHeightInDevicePixels) {
    MainWindow form(wintest::At(GetParam().dpi));
    form.pulseTimer.SetEnabled(false);
    std::vector<int> seen{form.arrow.BoundsPx().Height()};
    for (std::size_t i = 1; i < GetParam().heights.size(); ++i) {
        form.PulseArrow();
        seen.push_back(form.arrow.BoundsPx().Height());
    }
    EXPECT_EQ(seen, GetParam().heights);
}

INSTANTIATE_TEST_SUITE_P(
    Densities, ArrowPulse,
    testing::Values(PulseCase{120, {163, 168, 163, 168}},
                    PulseCase{96, {131, 136, 141, 146, 151, 156, 161, 166, 163, 168, 163}},
                    PulseCase{144, {195, 163, 168, 163}}));

struct ResizeCase {
    int dpi;
    int pulses;    // pulse ticks before the resize
    bool running;  // the generator started before the resize: the arrow stands
    int height;    // after the pulses, and after the resize
};

void PrintTo(const ResizeCase& c, std::ostream* os) {
    *os << c.dpi << " dpi, " << c.pulses << " pulses, " << (c.running ? "running" : "stopped");
}

class ArrowAfterResize : public testing::TestWithParam<ResizeCase> {};

// Only the pulse changes the arrow's height: a change of the window's width leaves it at
// the height it stood at, running or stopped, and the pulse goes on from there.
TEST_P(ArrowAfterResize, KeepsTheHeightThePulseGaveIt) {
    const ResizeCase& c = GetParam();
    MainWindow form(wintest::At(c.dpi));
    form.pulseTimer.SetEnabled(false);
    for (int i = 0; i < c.pulses; ++i) form.PulseArrow();
    if (c.running) form.runBox.SetChecked(true);
    const base::RectPx before = form.arrow.BoundsPx();
    ASSERT_EQ(before.Height(), c.height);
    RECT outer{};
    GetWindowRect(form.Handle(), &outer);
    SetWindowPos(form.Handle(), nullptr, 0, 0, outer.right - outer.left + 100,
                 outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(form.arrow.BoundsPx().Height(), c.height) << "a window 100 px wider";
    EXPECT_EQ(form.arrow.BoundsPx(), before) << "left, top and width as laid out";
    SetWindowPos(form.Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(form.arrow.BoundsPx().Height(), c.height) << "and back";
    if (!c.running) {
        form.PulseArrow();
        EXPECT_EQ(form.arrow.BoundsPx().Height(), c.height > 163 ? 163 : c.height + 5)
            << "the pulse goes on from the height it stood at";
    }
}

INSTANTIATE_TEST_SUITE_P(Densities, ArrowAfterResize,
                         testing::Values(ResizeCase{120, 1, true, 168},
                                         ResizeCase{144, 1, true, 163},
                                         ResizeCase{96, 2, false, 141},
                                         ResizeCase{120, 1, false, 168}));

}  // namespace
