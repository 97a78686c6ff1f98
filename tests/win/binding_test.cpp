// The window's controls and the layout rows they are created from: every member is the
// control of the row of its own name, each row has exactly one, and each waveform button
// shows and chooses the waveform it is named after.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/dds/settings.h"
#include "core/layout/form_layout.h"
#include "win_fixture.h"

namespace {

TEST(ControlBinding, EveryMemberIsCreatedFromTheRowOfItsName) {
    auto form = wintest::ShowForm(wintest::At(120));
    MainWindow& f = *form;
    const struct {
        const ui::Control& control;
        std::string_view name;
    } members[] = {
        {f.chartPanel, "chartPanel"},
        {f.waveformChart, "waveformChart"},
        {f.zoomResetButton, "zoomResetButton"},
        {f.clearButton, "clearButton"},
        {f.autoClearBox, "autoClearBox"},
        {f.chartWidthSlider, "chartWidthSlider"},
        {f.generatorPanel, "generatorPanel"},
        {f.waveTableLabel, "waveTableLabel"},
        {f.outputLabel, "outputLabel"},
        {f.arrow, "arrow"},
        {f.speedSlider, "speedSlider"},
        {f.accumulatorPanel, "accumulatorPanel"},
        {f.accumulatorLabel, "accumulatorLabel"},
        {f.incrementLabel, "incrementLabel"},
        {f.highByteLabel, "highByteLabel"},
        {f.lowByteLabel, "lowByteLabel"},
        {f.highByteDisplay, "highByteDisplay"},
        {f.lowByteDisplay, "lowByteDisplay"},
        {f.stepButton, "stepButton"},
        {f.incrementBox, "incrementBox"},
        {f.resetButton, "resetButton"},
        {f.runBox, "runBox"},
        {f.incrementSlider, "incrementSlider"},
        {f.waveformPanel, "waveformPanel"},
        {f.sinButton, "sinButton"},
        {f.sawButton, "sawButton"},
        {f.rsawButton, "rsawButton"},
        {f.triButton, "triButton"},
        {f.sqrButton, "sqrButton"},
        {f.ecgButton, "ecgButton"},
    };
    std::set<std::string_view> named;
    for (const auto& m : members) {
        EXPECT_EQ(m.control.Name(), m.name);
        EXPECT_EQ(f.FindControl(m.name), &m.control) << m.name;
        named.insert(m.name);
    }
    std::set<std::string_view> rows;
    for (const layout::ControlDesc& row : layout::MainWindowControls()) rows.insert(row.Name);
    EXPECT_EQ(named, rows) << "every row has its member";
    EXPECT_EQ(f.Name(), "mainWindow");
}

TEST(ControlBinding, EachWaveformButtonShowsAndChoosesItsWaveform) {
    auto form = wintest::ShowForm(wintest::At(120));
    for (const auto& [name, wave] : dds::settings::kWave.Values) {
        ui::RadioButton& button = form->WaveButton(wave);
        std::u16string upper(name);
        for (char16_t& c : upper) c = static_cast<char16_t>(c - u'a' + u'A');
        EXPECT_EQ(wintest::TextOf(button.Handle()), upper);
        EXPECT_EQ(button.Checked(), wave == dds::settings::kWave.Designed);
        SendMessageW(button.Handle(), BM_CLICK, 0, 0);
        EXPECT_TRUE(button.Checked());
        EXPECT_EQ(form->Generator().Wave(), wave) << std::string(name.begin(), name.end());
    }
}

}  // namespace
