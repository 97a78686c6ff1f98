// The settings table against its readers: the command line accepts exactly each row's
// range and names, an option left out keeps the designed value, the usage lists them as it
// always has, and the layout's sliders, box and buttons are laid out with the same ranges
// and designed positions.
#include "core/dds/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/input/command_line.h"
#include "core/layout/form_layout.h"
#include "core/output/render.h"

namespace {

namespace settings = dds::settings;

std::u16string U16(const std::string& s) {
    return {s.begin(), s.end()};
}

std::string Narrow(std::u16string_view s) {
    return {s.begin(), s.end()};
}

const layout::ControlDesc& Row(std::string_view name) {
    const auto rows = layout::MainWindowControls();
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const layout::ControlDesc& r) { return r.Name == name; });
    if (it == rows.end()) throw std::logic_error("no layout row " + std::string(name));
    return *it;
}

output::ParseResult Parse(std::vector<std::u16string> args) {
    return output::ParseCommandLine(args);
}

TEST(Settings, TheCommandLineTakesEachRangeWhole) {
    const struct {
        const dds::RangeSetting& setting;
        std::vector<std::u16string> before;  // what makes the option valid where it is
    } cases[] = {
        {settings::kIncrement, {}},
        {settings::kStepInterval, {}},
        {settings::kChartWidth, {}},
        {settings::kSamples, {u"--render", u"a.csv"}},
        {settings::kSeconds, {u"--render", u"a.wav"}},
        {settings::kClock, {u"--render", u"a.wav"}},
    };
    for (const auto& c : cases) {
        const dds::RangeSetting& s = c.setting;
        const std::u16string accepted =
            U16(std::to_string(s.Min)) + u" to " + U16(std::to_string(s.Max));
        for (const std::int64_t good : {s.Min, s.Designed, s.Max}) {
            std::vector<std::u16string> args = c.before;
            args.insert(args.end(), {std::u16string(s.Name), U16(std::to_string(good))});
            EXPECT_TRUE(Parse(args).Line) << Narrow(s.Name) << " " << good;
        }
        for (const std::int64_t bad : {s.Min - 1, s.Max + 1}) {
            std::vector<std::u16string> args = c.before;
            args.insert(args.end(), {std::u16string(s.Name), U16(std::to_string(bad))});
            const output::ParseResult r = Parse(args);
            ASSERT_TRUE(r.Error) << Narrow(s.Name) << " " << bad;
            EXPECT_EQ(r.Error->Accepted, accepted) << Narrow(s.Name);
        }
        EXPECT_TRUE(s.Accepts(s.Designed)) << Narrow(s.Name);
    }
}

TEST(Settings, TheCommandLineTakesEachNameAndOnlyThose) {
    for (const auto& [name, wave] : settings::kWave.Values) {
        const output::ParseResult r =
            Parse({std::u16string(settings::kWave.Name), U16(Narrow(name))});
        ASSERT_TRUE(r.Line) << Narrow(name);
        EXPECT_EQ(r.Line->Start.Wave, wave) << Narrow(name);
    }
    for (const auto& [name, on] : settings::kAutoClear.Values) {
        const output::ParseResult r =
            Parse({std::u16string(settings::kAutoClear.Name), U16(Narrow(name))});
        ASSERT_TRUE(r.Line) << Narrow(name);
        EXPECT_EQ(r.Line->Start.AutoClear, on) << Narrow(name);
    }
    EXPECT_TRUE(Parse({std::u16string(settings::kRun.Name)}).Line->Start.Run);
    EXPECT_EQ(settings::kWave.NameOf(settings::kWave.Designed), u"sin");
    EXPECT_EQ(settings::kAutoClear.NameOf(settings::kAutoClear.Designed), u"on");
}

TEST(Settings, OptionsLeftOutKeepTheDesignedValues) {
    const output::ParseResult r = Parse({u"--render", u"a.csv"});
    ASSERT_TRUE(r.Line);
    EXPECT_EQ(r.Line->Start, output::StartOptions{});
    EXPECT_EQ(r.Line->Render.Samples, settings::kSamples.Designed);
    EXPECT_EQ(r.Line->Render.Seconds, settings::kSeconds.Designed);
    EXPECT_EQ(r.Line->Render.ClockHz, settings::kClock.Designed);
    const output::RenderSource source;
    EXPECT_EQ(source.Wave, settings::kWave.Designed);
    EXPECT_EQ(source.Increment, settings::kIncrement.Designed);
}

TEST(Settings, TheUsageListsTheRowsAsItAlwaysHas) {
    EXPECT_EQ(Narrow(output::UsageText()), Narrow(u"Usage:\n"
                                                  u"phasebox [--wave W] [--increment N]\n"
                                                  u"  [--interval MS] [--width N]\n"
                                                  u"  [--auto-clear on|off] [--run]\n"
                                                  u"phasebox --render FILE [--wave W]\n"
                                                  u"  [--increment N] [--samples N]\n"
                                                  u"  [--seconds S] [--clock HZ]\n"
                                                  u"phasebox --help | /?\n"
                                                  u"\n"
                                                  u"Start options (designed value in brackets):\n"
                                                  u"--wave W: sin, saw, rsaw, tri, sqr, ecg (sin)\n"
                                                  u"--increment N: 1 to 65535 (256)\n"
                                                  u"--interval MS: step interval, 1 to 500 (1)\n"
                                                  u"--width N: chart width, 30 to 10000 (256)\n"
                                                  u"--auto-clear on|off: clear a full chart (on)\n"
                                                  u"--run: start the generator running\n"
                                                  u"\n"
                                                  u"Render without a window, by FILE's ending:\n"
                                                  u".csv: step,accumulator,high_byte,\n"
                                                  u"  low_byte,value rows\n"
                                                  u"  --samples N: 1 to 10000000 (1024)\n"
                                                  u".wav: mono 8-bit unsigned PCM, a tone of\n"
                                                  u"  increment x clock / 65536 Hz\n"
                                                  u"  --seconds S: 1 to 600 (2)\n"
                                                  u"  --clock HZ: 8000 to 192000 (48000)\n"
                                                  u"A render exits with 0, or writes one line\n"
                                                  u"to the standard error and exits with 2.\n"
                                                  u"\n"
                                                  u"Keys on the focused chart:\n"
                                                  u"Ctrl+C, Ctrl+Insert: copy its picture and\n"
                                                  u"  its visible points\n"
                                                  u"Ctrl+S: save it as a PNG picture or as\n"
                                                  u"  CSV numbers\n"
                                                  u"\n"
                                                  u"Names are read without regard to case.\n"
                                                  u"A bad option opens no window; exit code 2.\n"));
}

TEST(Settings, TheSpeedSliderRunsFromSlowestToFastest) {
    EXPECT_EQ(settings::StepIntervalMs(1), 500);
    EXPECT_EQ(settings::StepIntervalMs(500), 1);
    for (int ms = 1; ms <= 500; ++ms)
        EXPECT_EQ(settings::StepIntervalMs(settings::SpeedPosition(ms)), ms);
}

TEST(Settings, TheLayoutHasTheRangesAndDesignedValues) {
    const layout::RangeDesc& width = Row("chartWidthSlider").Range;
    EXPECT_EQ(width.Min, settings::kChartWidth.Min);
    EXPECT_EQ(width.Max, settings::kChartWidth.Max);
    EXPECT_EQ(width.Position, settings::kChartWidth.Designed);

    const layout::RangeDesc& speed = Row("speedSlider").Range;
    EXPECT_EQ(settings::StepIntervalMs(speed.Max), settings::kStepInterval.Min);
    EXPECT_EQ(settings::StepIntervalMs(speed.Min), settings::kStepInterval.Max);
    EXPECT_EQ(settings::StepIntervalMs(speed.Position), settings::kStepInterval.Designed);

    const layout::RangeDesc& box = Row("incrementBox").Range;
    EXPECT_EQ(box.Min, settings::kIncrement.Min);
    EXPECT_EQ(box.Max, settings::kIncrement.Max);
    EXPECT_EQ(box.Position, settings::kIncrement.Designed);
    EXPECT_TRUE(Row("incrementBox").Text.empty()) << "the box shows its Position";

    const layout::RangeDesc& slider = Row("incrementSlider").Range;
    EXPECT_EQ(slider.Min, settings::kIncrement.Min);
    EXPECT_EQ(slider.Max, settings::kIncrementSliderMax);
    EXPECT_LE(slider.Max, settings::kIncrement.Max);
    EXPECT_EQ(slider.Position, settings::kIncrement.Designed);

    EXPECT_EQ(Row("autoClearBox").Checked, settings::kAutoClear.Designed);
}

// The waveform buttons, in layout order, carry the names of the table in upper case, and
// the designed waveform's button is the one checked.
TEST(Settings, TheWaveformButtonsAreTheNamesInOrder) {
    std::vector<const layout::ControlDesc*> buttons;
    for (const layout::ControlDesc& r : layout::MainWindowControls()) {
        if (r.Kind == layout::ControlKind::RadioButton) buttons.push_back(&r);
    }
    ASSERT_EQ(buttons.size(), settings::kWave.Values.size());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        std::string caption = Narrow(buttons[i]->Text);
        for (char& ch : caption)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(caption, Narrow(settings::kWave.Values[i].Name));
        EXPECT_EQ(buttons[i]->TabOrder, static_cast<int>(i));
        EXPECT_EQ(buttons[i]->Checked,
                  settings::kWave.Values[i].Meaning == settings::kWave.Designed)
            << caption;
    }
}

}  // namespace
