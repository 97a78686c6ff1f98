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
    std::unique_ptr<TForm1> form;
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

    EXPECT_TRUE(form->rbTri.Checked());
    EXPECT_FALSE(form->rbSin.Checked());
    EXPECT_EQ(form->ActiveTable(), dds::TriTable);
    EXPECT_EQ(form->RzTrackBar1.Position(), 700);
    EXPECT_EQ(form->edAdder.Value(), 700.0L);
    EXPECT_EQ(wintest::TextOf(form->edAdder.Handle()), u"700");
    EXPECT_EQ(form->Adder(), 700);
    EXPECT_EQ(form->TrackBar1.Position(), 251);
    EXPECT_EQ(form->Timer1.Interval(), 250u);
    EXPECT_EQ(form->TrackBar2.Position(), 1000);
    EXPECT_EQ(form->Chart1.BottomAxis.Maximum, 1000.0);
    EXPECT_FALSE(form->cbAutoClear.Checked());
    EXPECT_TRUE(form->cbAuto.Checked());
    EXPECT_TRUE(form->Timer1.Enabled());
    EXPECT_FALSE(form->Button1.Enabled());
    EXPECT_FALSE(form->Timer2.Enabled());
    // The waveform's click cleared the chart and reset the accumulator; the steps that
    // follow plot the triangle at increment 700 from there.
    ASSERT_TRUE(wintest::PumpUntil([&] { return form->Series1.Count() >= 3; }, 10s));
    const auto y = form->Series1.YValues();
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
        EXPECT_EQ(form->Adder(), c.increment);
        EXPECT_EQ(form->edAdder.Value(), static_cast<long double>(c.increment));
        EXPECT_EQ(form->RzTrackBar1.Position(), c.slider) << c.increment;
    }
}

TEST_F(StartOptions, NoOptionsLeaveTheDesignedState) {
    const std::uint16_t adder = form->Adder();
    const int width = form->TrackBar2.Position();
    const bool autoClear = form->cbAutoClear.Checked();
    form->ApplyStartOptions({});
    EXPECT_TRUE(form->rbSin.Checked());
    EXPECT_EQ(form->Adder(), adder);
    EXPECT_EQ(form->TrackBar1.Position(), 500);
    EXPECT_EQ(form->TrackBar2.Position(), width);
    EXPECT_EQ(form->cbAutoClear.Checked(), autoClear);
    EXPECT_FALSE(form->cbAuto.Checked());
    EXPECT_TRUE(form->Button1.Enabled());
    EXPECT_EQ(form->Series1.Count(), 1) << "the first sample stays";
}

TEST_F(StartOptions, AutoClearOnAndAnotherWaveform) {
    output::StartOptions o;
    o.Wave = dds::Waveform::Sqr;
    o.Increment = 32768;
    o.AutoClear = true;
    form->ApplyStartOptions(o);
    EXPECT_TRUE(form->rbSqr.Checked());
    EXPECT_TRUE(form->cbAutoClear.Checked());
    EXPECT_EQ(form->Series1.Count(), 0) << "choosing a waveform clears the chart";
    for (int i = 0; i < 4; ++i) SendMessageW(form->Button1.Handle(), BM_CLICK, 0, 0);
    const auto y = form->Series1.YValues();
    ASSERT_EQ(y.size(), 4u);
    EXPECT_EQ(std::vector<double>(y.begin(), y.end()), (std::vector<double>{255, 0, 255, 0}));
}

}  // namespace
