// The window started in a chosen state: each option goes through the handler a user's
// click or key would run, so the controls, the generator and the chart agree.
#include <gtest/gtest.h>

#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;

class StartOptions : public testing::Test {
protected:
    void SetUp() override {
        wintest::ErrorLog().clear();
        form = wintest::ShowForm(wintest::At(120));
    }
    std::unique_ptr<MainWindow> form;
};

TEST_F(StartOptions, EachOptionSetsItsControlAndTheGenerator) {
    output::StartOptions o;
    o.Wave = dds::Waveform::Tri;
    o.Increment = 700;
    o.IntervalMs = 250;
    o.Width = 1000;
    o.AutoClear = false;
    o.Run = true;
    form->ApplyStartOptions(o);

    EXPECT_TRUE(form->triButton.Checked());
    EXPECT_FALSE(form->sinButton.Checked());
    EXPECT_EQ(form->Generator().Table(), dds::TriTable);
    EXPECT_EQ(form->incrementSlider.Position(), 700);
    EXPECT_EQ(form->incrementBox.Value(), 700.0L);
    EXPECT_EQ(wintest::TextOf(form->incrementBox.Handle()), u"700");
    EXPECT_EQ(form->Generator().Increment(), 700);
    EXPECT_EQ(form->speedSlider.Position(), 251);
    EXPECT_EQ(form->stepTimer.Interval(), 250u);
    EXPECT_EQ(form->chartWidthSlider.Position(), 1000);
    EXPECT_EQ(form->waveformChart.BottomAxis.Maximum, 1000.0);
    EXPECT_FALSE(form->autoClearBox.Checked());
    EXPECT_TRUE(form->runBox.Checked());
    EXPECT_TRUE(form->stepTimer.Enabled());
    EXPECT_FALSE(form->stepButton.Enabled());
    EXPECT_FALSE(form->pulseTimer.Enabled());
    // The waveform's click cleared the chart and reset the accumulator; the steps that
    // follow plot the triangle at increment 700 from there.
    ASSERT_TRUE(wintest::PumpUntil([&] { return form->outputLine.Count() >= 3; }, 10s));
    const auto y = form->outputLine.YValues();
    EXPECT_EQ(y[0], dds::TriTable[700 >> 8]);
    EXPECT_EQ(y[1], dds::TriTable[1400 >> 8]);
    EXPECT_EQ(y[2], dds::TriTable[2100 >> 8]);
    EXPECT_TRUE(wintest::ErrorLog().empty());
}

TEST_F(StartOptions, IncrementsBeyondTheSliderGoToTheBox) {
    const struct {
        int increment;
        int slider;
    } cases[] = {{40000, 256}, {65535, 256}, {10000, 10000}, {1, 1}};
    for (const auto& c : cases) {
        form = wintest::ShowForm(wintest::At(120));
        output::StartOptions o;
        o.Increment = c.increment;
        form->ApplyStartOptions(o);
        EXPECT_EQ(form->Generator().Increment(), c.increment);
        EXPECT_EQ(form->incrementBox.Value(), static_cast<long double>(c.increment));
        EXPECT_EQ(form->incrementSlider.Position(), c.slider) << c.increment;
    }
}

TEST_F(StartOptions, NoOptionsLeaveTheDesignedState) {
    const std::uint16_t adder = form->Generator().Increment();
    const int width = form->chartWidthSlider.Position();
    const bool autoClear = form->autoClearBox.Checked();
    form->ApplyStartOptions({});
    EXPECT_TRUE(form->sinButton.Checked());
    EXPECT_EQ(form->Generator().Increment(), adder);
    EXPECT_EQ(form->speedSlider.Position(), 500);
    EXPECT_EQ(form->chartWidthSlider.Position(), width);
    EXPECT_EQ(form->autoClearBox.Checked(), autoClear);
    EXPECT_FALSE(form->runBox.Checked());
    EXPECT_TRUE(form->stepButton.Enabled());
    EXPECT_EQ(form->outputLine.Count(), 1) << "the first sample stays";
}

TEST_F(StartOptions, AutoClearOnAndAnotherWaveform) {
    output::StartOptions o;
    o.Wave = dds::Waveform::Sqr;
    o.Increment = 32768;
    o.AutoClear = true;
    form->ApplyStartOptions(o);
    EXPECT_TRUE(form->sqrButton.Checked());
    EXPECT_TRUE(form->autoClearBox.Checked());
    EXPECT_EQ(form->outputLine.Count(), 0) << "choosing a waveform clears the chart";
    for (int i = 0; i < 4; ++i) SendMessageW(form->stepButton.Handle(), BM_CLICK, 0, 0);
    const auto y = form->outputLine.YValues();
    ASSERT_EQ(y.size(), 4u);
    EXPECT_EQ(std::vector<double>(y.begin(), y.end()), (std::vector<double>{255, 0, 255, 0}));
}

}  // namespace
