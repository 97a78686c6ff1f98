// The command line: good lines and what they set, bad lines and the one fault reported.
#include "core/input/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using output::CommandLine;
using output::ErrorText;
using output::OptionError;
using output::ParseCommandLine;
using output::RenderFormat;
using output::RunMode;

std::vector<std::u16string> Args(std::initializer_list<const char*> args) {
    std::vector<std::u16string> out;
    for (const char* a : args) out.emplace_back(a, a + std::char_traits<char>::length(a));
    return out;
}

std::string Narrow(const std::u16string& s) {
    return {s.begin(), s.end()};
}

TEST(CommandLineParse, GoodLinesSetWhatTheyName) {
    CommandLine designed;
    CommandLine triangle;
    triangle.Start.Wave = dds::Waveform::Tri;
    triangle.Start.Increment = 700;
    triangle.Start.Run = true;
    CommandLine every;
    every.Start = {.Wave = dds::Waveform::Ecg,
                   .Increment = 65535,
                   .IntervalMs = 500,
                   .Width = 10000,
                   .AutoClear = true,
                   .Run = false};
    CommandLine lowest;
    lowest.Start = {.Wave = dds::Waveform::RSaw,
                    .Increment = 1,
                    .IntervalMs = 1,
                    .Width = 30,
                    .AutoClear = false,
                    .Run = false};
    CommandLine help;
    help.Mode = RunMode::Help;
    CommandLine csv;
    csv.Mode = RunMode::Render;
    csv.Render.Path = u"C:\\out\\Data.CSV";
    csv.Render.Samples = 10'000'000;
    csv.Start.Wave = dds::Waveform::Saw;
    CommandLine wav;
    wav.Mode = RunMode::Render;
    wav.Render = {.Path = u"tone.wav",
                  .Format = RenderFormat::Wav,
                  .Samples = 1024,
                  .Seconds = 600,
                  .ClockHz = 8000};
    wav.Start.Increment = 256;
    CommandLine wavDefaults;
    wavDefaults.Mode = RunMode::Render;
    wavDefaults.Render = {.Path = u"x.Wav", .Format = RenderFormat::Wav};
    CommandLine sqr;
    sqr.Start.Wave = dds::Waveform::Sqr;
    sqr.Start.AutoClear = true;
    CommandLine sin;
    sin.Start.Wave = dds::Waveform::Sin;
    sin.Start.IntervalMs = 250;
    sin.Start.Width = 256;
    const struct {
        std::vector<std::u16string> args;
        CommandLine expected;
    } cases[] = {
        {Args({}), designed},
        {Args({"--wave", "tri", "--increment", "700", "--run"}), triangle},
        {Args({"--run", "--increment", "700", "--wave", "TRI"}), triangle},
        {Args({"--WAVE", "Ecg", "--Increment", "65535", "--interval", "500", "--width", "10000",
               "--auto-clear", "ON"}),
         every},
        {Args({"--wave", "rsaw", "--increment", "1", "--interval", "1", "--width", "30",
               "--auto-clear", "off"}),
         lowest},
        {Args({"--help"}), help},
        {Args({"/?"}), help},
        {Args({"--wave", "tri", "--HELP"}), help},
        {Args({"--bogus", "/?"}), help},
        {Args({"--render", "C:\\out\\Data.CSV", "--samples", "10000000", "--wave", "saw"}), csv},
        {Args(
             {"--increment", "256", "--render", "tone.wav", "--seconds", "600", "--clock", "8000"}),
         wav},
        {Args({"--render", "x.Wav"}), wavDefaults},
        {Args({"--wave", "sqr", "--auto-clear", "on"}), sqr},
        {Args({"--wave", "sin", "--interval", "250", "--width", "256"}), sin},
    };
    for (const auto& c : cases) {
        const output::ParseResult r = ParseCommandLine(c.args);
        std::string line;
        for (const auto& a : c.args) line += Narrow(a) + " ";
        ASSERT_TRUE(r.Line.has_value()) << line << "-> " << Narrow(ErrorText(*r.Error));
        EXPECT_FALSE(r.Error.has_value()) << line;
        EXPECT_EQ(*r.Line, c.expected) << line;
    }
}

constexpr const char16_t* kEveryOption =
    u"--wave, --increment, --interval, --width, --auto-clear, --run, --render, --samples, "
    u"--seconds, --clock, --help, /?";
constexpr std::nullopt_t kNone = std::nullopt;

TEST(CommandLineParse, BadLinesNameOptionValueAndAcceptedValues) {
    const struct {
        std::vector<std::u16string> args;
        OptionError expected;
    } cases[] = {
        {Args({"--colour", "red"}), {u"", u"--colour", u"is not an option", kEveryOption}},
        {Args({"tri"}), {u"", u"tri", u"is not an option", kEveryOption}},
        {Args({""}), {u"", u"", u"is not an option", kEveryOption}},
        {Args({"--wave", "square"}),
         {u"--wave", u"square", u"is not a waveform", u"sin, saw, rsaw, tri, sqr, ecg"}},
        {Args({"--wave"}), {u"--wave", kNone, u"has no value", u"sin, saw, rsaw, tri, sqr, ecg"}},
        {Args({"--wave", ""}),
         {u"--wave", u"", u"is not a waveform", u"sin, saw, rsaw, tri, sqr, ecg"}},
        {Args({"--increment", "0"}), {u"--increment", u"0", u"is out of range", u"1 to 65535"}},
        {Args({"--increment", "65536"}),
         {u"--increment", u"65536", u"is out of range", u"1 to 65535"}},
        {Args({"--increment", "99999999999999999999999"}),
         {u"--increment", u"99999999999999999999999", u"is out of range", u"1 to 65535"}},
        {Args({"--increment", "-5"}),
         {u"--increment", u"-5", u"is not a whole number", u"1 to 65535"}},
        {Args({"--increment", "2.5"}),
         {u"--increment", u"2.5", u"is not a whole number", u"1 to 65535"}},
        {Args({"--increment", "1,000"}),
         {u"--increment", u"1,000", u"is not a whole number", u"1 to 65535"}},
        {Args({"--increment", ""}), {u"--increment", u"", u"is not a whole number", u"1 to 65535"}},
        {Args({"--increment"}), {u"--increment", kNone, u"has no value", u"1 to 65535"}},
        {Args({"--increment", "--run"}),
         {u"--increment", u"--run", u"is not a whole number", u"1 to 65535"}},
        {Args({"--interval", "501"}), {u"--interval", u"501", u"is out of range", u"1 to 500"}},
        {Args({"--interval", "0"}), {u"--interval", u"0", u"is out of range", u"1 to 500"}},
        {Args({"--width", "29"}), {u"--width", u"29", u"is out of range", u"30 to 10000"}},
        {Args({"--width", "10001"}), {u"--width", u"10001", u"is out of range", u"30 to 10000"}},
        {Args({"--auto-clear", "yes"}), {u"--auto-clear", u"yes", u"is not on or off", u"on, off"}},
        {Args({"--auto-clear"}), {u"--auto-clear", kNone, u"has no value", u"on, off"}},
        {Args({"--wave", "sin", "--increment", "5", "--WAVE", "tri"}),
         {u"--wave", u"tri", u"is given more than once", u"the option once"}},
        {Args({"--run", "--run"}),
         {u"--run", kNone, u"is given more than once", u"the option once"}},
        {Args({"--samples", "10"}),
         {u"--samples", u"10", u"is used only in a render",
          u"the option together with --render FILE"}},
        {Args({"--clock", "8000", "--run"}),
         {u"--clock", u"8000", u"is used only in a render",
          u"the option together with --render FILE"}},
    };
    for (const auto& c : cases) {
        const output::ParseResult r = ParseCommandLine(c.args);
        std::string line;
        for (const auto& a : c.args) line += Narrow(a) + " ";
        EXPECT_FALSE(r.Line.has_value()) << line;
        ASSERT_TRUE(r.Error.has_value()) << line;
        EXPECT_EQ(*r.Error, c.expected) << line << "-> " << Narrow(ErrorText(*r.Error));
    }
}

TEST(CommandLineParse, RenderFaultsAreMarkedForTheStandardError) {
    constexpr const char16_t* kStartOnly =
        u"the option without --render; a render takes --wave, --increment, --samples, "
        u"--seconds, --clock";
    const struct {
        std::vector<std::u16string> args;
        OptionError expected;
    } cases[] = {
        {Args({"--render", "out.txt"}),
         {u"--render", u"out.txt", u"has no .csv or .wav ending",
          u"a file name ending in .csv or .wav", true}},
        {Args({"--render"}),
         {u"--render", kNone, u"has no file name", u"a file name ending in .csv or .wav", true}},
        {Args({"--render", ""}),
         {u"--render", u"", u"has no .csv or .wav ending", u"a file name ending in .csv or .wav",
          true}},
        {Args({"--render", "a.csv", "--samples", "10000001"}),
         {u"--samples", u"10000001", u"is out of range", u"1 to 10000000", true}},
        {Args({"--render", "a.csv", "--samples", "0"}),
         {u"--samples", u"0", u"is out of range", u"1 to 10000000", true}},
        {Args({"--render", "a.wav", "--seconds", "601"}),
         {u"--seconds", u"601", u"is out of range", u"1 to 600", true}},
        {Args({"--render", "a.wav", "--clock", "7999"}),
         {u"--clock", u"7999", u"is out of range", u"8000 to 192000", true}},
        {Args({"--clock", "192001", "--render", "a.wav"}),
         {u"--clock", u"192001", u"is out of range", u"8000 to 192000", true}},
        {Args({"--render", "a.wav", "--samples", "100"}),
         {u"--samples", u"100", u"does not apply to the .wav file \"a.wav\"",
          u"--samples with a .csv file", true}},
        {Args({"--render", "a.csv", "--seconds", "3"}),
         {u"--seconds", u"3", u"does not apply to the .csv file \"a.csv\"",
          u"--seconds and --clock with a .wav file", true}},
        {Args({"--render", "a.csv", "--wave", "noise"}),
         {u"--wave", u"noise", u"is not a waveform", u"sin, saw, rsaw, tri, sqr, ecg", true}},
        {Args({"--render", "a.csv", "--render", "b.csv"}),
         {u"--render", u"b.csv", u"is given more than once", u"the option once", true}},
        {Args({"--render", "a.csv", "--run"}),
         {u"--run", kNone, u"does not apply to a render", kStartOnly, true}},
        {Args({"--interval", "5", "--render", "a.csv"}),
         {u"--interval", u"5", u"does not apply to a render", kStartOnly, true}},
        {Args({"--render", "a.wav", "--width", "300"}),
         {u"--width", u"300", u"does not apply to a render", kStartOnly, true}},
        {Args({"--render", "a.wav", "--auto-clear", "off"}),
         {u"--auto-clear", u"off", u"does not apply to a render", kStartOnly, true}},
    };
    for (const auto& c : cases) {
        const output::ParseResult r = ParseCommandLine(c.args);
        std::string line;
        for (const auto& a : c.args) line += Narrow(a) + " ";
        ASSERT_TRUE(r.Error.has_value()) << line;
        EXPECT_EQ(*r.Error, c.expected) << line << "-> " << Narrow(ErrorText(*r.Error));
    }
}

// The whole line for each fault a review of the messages found: the option named, its
// own value shown as given (an empty one as "", control characters escaped so that the
// line stays one line), and what is accepted.
TEST(CommandLineText, EveryRefusalNamesOptionValueAndAccepted) {
    const struct {
        std::vector<std::u16string> args;
        std::u16string line;
    } cases[] = {
        {Args({"--render", "x.wav", "--samples", "5"}),
         u"Option --samples: the value \"5\" does not apply to the .wav file \"x.wav\"; "
         u"accepted: --samples with a .csv file"},
        {Args({""}), u"Argument \"\" is not an option; accepted: " + std::u16string(kEveryOption)},
        {Args({"--increment", ""}),
         u"Option --increment: the value \"\" is not a whole number; accepted: 1 to 65535"},
        {{u"--wave", u"sin\r\nx\t\x1b\x7f\u0085\u2028"},
         u"Option --wave: the value \"sin\\r\\nx\\t\\x1B\\x7F\\x85\\u2028\" is not a waveform; "
         u"accepted: sin, saw, rsaw, tri, sqr, ecg"},
        {{u"--render", u"a\nb.csv", u"--seconds", u"2"},
         u"Option --seconds: the value \"2\" does not apply to the .csv file \"a\\nb.csv\"; "
         u"accepted: --seconds and --clock with a .wav file"},
        {Args({"--render", "COM1.wav", "--seconds", "600", "--clock", "192000"}),
         u"Option --render: the value \"COM1.wav\" names the device \"COM1\", not a file (CON, "
         u"PRN, AUX, NUL, COM0 to COM9 and LPT0 to LPT9 are devices with any extension); "
         u"accepted: a file name ending in .csv or .wav"},
        {Args({"--render", "lpt1.CSV. "}),
         u"Option --render: the value \"lpt1.CSV. \" names the device \"lpt1\", not a file (CON, "
         u"PRN, AUX, NUL, COM0 to COM9 and LPT0 to LPT9 are devices with any extension); "
         u"accepted: a file name ending in .csv or .wav"},
        {Args({"--render", "a.csv", "--run"}),
         u"Option --run does not apply to a render; accepted: the option without --render; a "
         u"render takes --wave, --increment, --samples, --seconds, --clock"},
        {Args({"--wave"}), u"Option --wave has no value; accepted: sin, saw, rsaw, tri, sqr, ecg"},
        {Args({"--increment", "70000"}),
         u"Option --increment: the value \"70000\" is out of range; accepted: 1 to 65535"},
    };
    for (const auto& c : cases) {
        const output::ParseResult r = ParseCommandLine(c.args);
        ASSERT_TRUE(r.Error.has_value()) << Narrow(c.line);
        const std::u16string text = ErrorText(*r.Error);
        EXPECT_EQ(text, c.line);
        EXPECT_EQ(text.find_first_of(u"\r\n\u0085\u2028"), std::u16string::npos) << "one line";
    }
}

TEST(CommandLineText, UsageListsEveryOptionAndChartKey) {
    const std::u16string usage = output::UsageText();
    for (const char16_t* item :
         {u"--wave",   u"--increment", u"--interval", u"--width", u"--auto-clear", u"--run",
          u"--render", u"--samples",   u"--seconds",  u"--clock", u"--help",       u"/?",
          u"Ctrl+C",   u"Ctrl+Insert", u"Ctrl+S",     u"sin",     u"saw",          u"rsaw",
          u"tri",      u"sqr",         u"ecg"}) {
        EXPECT_NE(usage.find(item), std::u16string::npos) << Narrow(item);
    }
}

}  // namespace
