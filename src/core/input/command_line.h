// The program's command line: the options that start the window in a chosen state, the
// options of a render without a window, and the usage text. A command line is taken whole
// or refused whole: the first fault found is reported and nothing of it applies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dds/wave_tables.h"

namespace output {

// The window's state after start-up; an option left out keeps the designed value.
struct StartOptions {
    std::optional<dds::Waveform> Wave;
    std::optional<int> Increment;   // 1 .. 65535, as the increment box reads it
    std::optional<int> IntervalMs;  // 1 .. 500: the step interval
    std::optional<int> Width;       // 30 .. 10000: the chart's visible width
    std::optional<bool> AutoClear;
    bool Run = false;

    bool operator==(const StartOptions&) const = default;
};

enum class RenderFormat { Csv, Wav };

struct RenderOptions {
    std::u16string Path;
    RenderFormat Format = RenderFormat::Csv;
    std::int64_t Samples = 1024;  // rows of a CSV file
    int Seconds = 2;              // length of a WAV file
    int ClockHz = 48000;          // samples per second of a WAV file

    bool operator==(const RenderOptions&) const = default;
};

enum class RunMode { Window, Help, Render };

struct CommandLine {
    RunMode Mode = RunMode::Window;
    StartOptions Start;
    RenderOptions Render;  // meaningful in RunMode::Render

    bool operator==(const CommandLine&) const = default;
};

// What was wrong with a command line: the option, the value given (empty when none
// was), and the values the option accepts.
struct OptionError {
    std::u16string Option;
    std::u16string Value;
    std::u16string Problem;   // "is out of range", "is missing", ...
    std::u16string Accepted;  // "1 to 65535", "sin, saw, rsaw, tri, sqr, ecg", ...
    // True when the fault is in a command line that renders: it is told on the standard
    // error, never in a box.
    bool Rendering = false;

    bool operator==(const OptionError&) const = default;
};

// One line naming the option, the bad value and the accepted values.
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

// Limits of the options.
inline constexpr int kMinIncrement = 1;
inline constexpr int kMaxIncrement = 65535;
inline constexpr int kMinIntervalMs = 1;
inline constexpr int kMaxIntervalMs = 500;
inline constexpr int kMinWidth = 30;
inline constexpr int kMaxWidth = 10000;
inline constexpr std::int64_t kMaxSamples = 10'000'000;
inline constexpr int kMaxSeconds = 600;
inline constexpr int kMinClockHz = 8000;
inline constexpr int kMaxClockHz = 192000;

}  // namespace output
