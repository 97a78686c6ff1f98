// The program's command line: the options that start the window in a chosen state, the
// options of a render without a window, and the usage text. A command line is taken whole
// or refused whole: the first fault found is reported and nothing of it applies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dds/settings.h"
#include "core/dds/wave_tables.h"

namespace output {

// The window's state after start-up; an option left out keeps the designed value.
struct StartOptions {
    std::optional<dds::Waveform> Wave;
    std::optional<int> Increment;   // as the increment box reads it
    std::optional<int> IntervalMs;  // the step interval
    std::optional<int> Width;       // the chart's visible width
    std::optional<bool> AutoClear;
    bool Run = false;

    bool operator==(const StartOptions&) const = default;
};

enum class RenderFormat { Csv, Wav };

struct RenderOptions {
    std::u16string Path;
    RenderFormat Format = RenderFormat::Csv;
    std::int64_t Samples = dds::settings::kSamples.Designed;           // rows of a CSV file
    int Seconds = static_cast<int>(dds::settings::kSeconds.Designed);  // length of a WAV file
    // Samples per second of a WAV file.
    int ClockHz = static_cast<int>(dds::settings::kClock.Designed);

    bool operator==(const RenderOptions&) const = default;
};

enum class RunMode { Window, Help, Render };

struct CommandLine {
    RunMode Mode = RunMode::Window;
    StartOptions Start;
    RenderOptions Render;  // meaningful in RunMode::Render

    bool operator==(const CommandLine&) const = default;
};

// What was wrong with a command line: the option, the value given, and the values the
// option accepts.
struct OptionError {
    std::u16string Option;  // the option's name; empty for an argument that is no option
    std::optional<std::u16string> Value;  // as given; none when none was given
    std::u16string Problem;               // "is out of range", "has no value", ...
    std::u16string Accepted;              // "1 to 65535", "sin, saw, rsaw, tri, sqr, ecg", ...
    // True when the fault is in a command line that renders: it is told on the standard
    // error, never in a box.
    bool Rendering = false;

    bool operator==(const OptionError&) const = default;
};

// One line naming the option, the value as given (quoted, "" when empty, its control
// characters escaped) and the accepted values:
//   Option --increment: the value "0" is out of range; accepted: 1 to 65535
//   Option --wave has no value; accepted: sin, saw, rsaw, tri, sqr, ecg
//   Argument "" is not an option; accepted: --wave, ...
std::u16string ErrorText(const OptionError& error);

struct ParseResult {
    std::optional<CommandLine> Line;   // set when the command line is good
    std::optional<OptionError> Error;  // set otherwise
};

// `args` are the arguments after the program's own name. Option names and the names
// given as values are read without regard to case.
ParseResult ParseCommandLine(const std::vector<std::u16string>& args);

// The text that --help and /? show: every option with its values, and every key of the
// window's chart.
std::u16string UsageText();

}  // namespace output
