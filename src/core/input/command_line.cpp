#include "core/input/command_line.h"

#include <array>
#include <utility>

namespace output {

namespace {

constexpr std::u16string_view kWaveNames = u"sin, saw, rsaw, tri, sqr, ecg";

struct WaveName {
    std::u16string_view Name;
    dds::Waveform Wave;
};
constexpr std::array<WaveName, 6> kWaves{{{u"sin", dds::Waveform::Sin},
                                          {u"saw", dds::Waveform::Saw},
                                          {u"rsaw", dds::Waveform::RSaw},
                                          {u"tri", dds::Waveform::Tri},
                                          {u"sqr", dds::Waveform::Sqr},
                                          {u"ecg", dds::Waveform::Ecg}}};

// ASCII letters only: option names and the names they take are ASCII.
std::u16string Lower(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return out;
}

std::u16string Decimal(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

std::u16string RangeText(std::int64_t low, std::int64_t high) {
    return Decimal(low) + u" to " + Decimal(high);
}

// A whole number of plain decimal digits; none for anything else. Values of 10^17 and
// more are held at 10^18, which is out of every range.
std::optional<std::int64_t> WholeNumber(std::u16string_view text) {
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        constexpr std::int64_t kHeld = 1'000'000'000'000'000'000;
        value = value < kHeld / 10 ? value * 10 + (c - u'0') : kHeld;
    }
    return value;
}

enum class Option {
    Wave,
    Increment,
    Interval,
    Width,
    AutoClear,
    Run,
    Render,
    Samples,
    Seconds,
    Clock
};

struct OptionDesc {
    std::u16string_view Name;
    Option Id;
    bool TakesValue;
    bool RenderOnly;
};
constexpr std::array<OptionDesc, 10> kOptions{{
    {u"--wave", Option::Wave, true, false},
    {u"--increment", Option::Increment, true, false},
    {u"--interval", Option::Interval, true, false},
    {u"--width", Option::Width, true, false},
    {u"--auto-clear", Option::AutoClear, true, false},
    {u"--run", Option::Run, false, false},
    {u"--render", Option::Render, true, false},
    {u"--samples", Option::Samples, true, true},
    {u"--seconds", Option::Seconds, true, true},
    {u"--clock", Option::Clock, true, true},
}};

constexpr std::u16string_view kOptionList =
    u"--wave, --increment, --interval, --width, --auto-clear, --run, --render, --samples, "
    u"--seconds, --clock, --help, /?";

bool IsHelp(const std::u16string& lowered) {
    return lowered == u"--help" || lowered == u"/?";
}

bool EndsWith(std::u16string_view text, std::u16string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

class Parser {
public:
    explicit Parser(const std::vector<std::u16string>& args) : args_(args) {
        for (const std::u16string& a : args) {
            if (Lower(a) == u"--render") rendering_ = true;
        }
    }

    ParseResult Run() {
        for (const std::u16string& a : args_) {
            if (IsHelp(Lower(a))) {
                line_.Mode = RunMode::Help;
                return {line_, std::nullopt};
            }
        }
        for (std::size_t i = 0; i < args_.size() && !error_; ++i) {
            const std::u16string name = Lower(args_[i]);
            const OptionDesc* desc = Find(name);
            if (!desc) {
                Fail(args_[i], {}, u"is not an option", std::u16string(kOptionList));
                break;
            }
            std::optional<std::u16string> value;
            if (desc->TakesValue) {
                if (i + 1 < args_.size()) value = args_[++i];
            }
            Take(*desc, value);
        }
        if (!error_) CheckCombination();
        if (error_) return {std::nullopt, error_};
        if (rendering_) line_.Mode = RunMode::Render;
        return {line_, std::nullopt};
    }

private:
    static const OptionDesc* Find(const std::u16string& lowered) {
        for (const OptionDesc& d : kOptions) {
            if (d.Name == lowered) return &d;
        }
        return nullptr;
    }

    void Fail(std::u16string option, std::u16string value, std::u16string problem,
              std::u16string accepted) {
        if (error_) return;
        error_ = OptionError{std::move(option), std::move(value), std::move(problem),
                             std::move(accepted), rendering_};
    }

    // The value of a number option within [low, high]; reports the fault otherwise.
    std::optional<std::int64_t> Number(const OptionDesc& d, const std::optional<std::u16string>& v,
                                       std::int64_t low, std::int64_t high) {
        const std::u16string accepted = RangeText(low, high);
        if (!v) {
            Fail(std::u16string(d.Name), {}, u"has no value", accepted);
            return std::nullopt;
        }
        const std::optional<std::int64_t> n = WholeNumber(*v);
        if (!n) {
            Fail(std::u16string(d.Name), *v, u"is not a whole number", accepted);
            return std::nullopt;
        }
        if (*n < low || *n > high) {
            Fail(std::u16string(d.Name), *v, u"is out of range", accepted);
            return std::nullopt;
        }
        return n;
    }

    void Take(const OptionDesc& d, const std::optional<std::u16string>& value) {
        const auto index = static_cast<std::size_t>(d.Id);
        if (seen_[index]) {
            Fail(std::u16string(d.Name), value.value_or(u""), u"is given more than once",
                 u"the option once");
            return;
        }
        seen_[index] = true;
        switch (d.Id) {
            case Option::Wave: {
                if (!value) {
                    Fail(std::u16string(d.Name), {}, u"has no value", std::u16string(kWaveNames));
                    return;
                }
                const std::u16string lowered = Lower(*value);
                for (const WaveName& w : kWaves) {
                    if (w.Name == lowered) {
                        line_.Start.Wave = w.Wave;
                        return;
                    }
                }
                Fail(std::u16string(d.Name), *value, u"is not a waveform",
                     std::u16string(kWaveNames));
                return;
            }
            case Option::Increment:
                if (auto n = Number(d, value, kMinIncrement, kMaxIncrement)) {
                    line_.Start.Increment = static_cast<int>(*n);
                }
                return;
            case Option::Interval:
                if (auto n = Number(d, value, kMinIntervalMs, kMaxIntervalMs)) {
                    line_.Start.IntervalMs = static_cast<int>(*n);
                }
                return;
            case Option::Width:
                if (auto n = Number(d, value, kMinWidth, kMaxWidth)) {
                    line_.Start.Width = static_cast<int>(*n);
                }
                return;
            case Option::AutoClear: {
                const std::u16string lowered = value ? Lower(*value) : std::u16string();
                if (!value) {
                    Fail(std::u16string(d.Name), {}, u"has no value", u"on, off");
                } else if (lowered == u"on" || lowered == u"off") {
                    line_.Start.AutoClear = lowered == u"on";
                } else {
                    Fail(std::u16string(d.Name), *value, u"is not on or off", u"on, off");
                }
                return;
            }
            case Option::Run:
                line_.Start.Run = true;
                return;
            case Option::Render: {
                const std::u16string accepted = u"a file name ending in .csv or .wav";
                if (!value || value->empty()) {
                    Fail(std::u16string(d.Name), {}, u"has no file name", accepted);
                    return;
                }
                const std::u16string lowered = Lower(*value);
                if (EndsWith(lowered, u".csv")) {
                    line_.Render.Format = RenderFormat::Csv;
                } else if (EndsWith(lowered, u".wav")) {
                    line_.Render.Format = RenderFormat::Wav;
                } else {
                    Fail(std::u16string(d.Name), *value, u"has no .csv or .wav ending", accepted);
                    return;
                }
                line_.Render.Path = *value;
                return;
            }
            case Option::Samples:
                if (auto n = Number(d, value, 1, kMaxSamples)) line_.Render.Samples = *n;
                return;
            case Option::Seconds:
                if (auto n = Number(d, value, 1, kMaxSeconds)) {
                    line_.Render.Seconds = static_cast<int>(*n);
                }
                return;
            case Option::Clock:
                if (auto n = Number(d, value, kMinClockHz, kMaxClockHz)) {
                    line_.Render.ClockHz = static_cast<int>(*n);
                }
                return;
        }
    }

    // Options that belong to a render, and to one kind of file.
    void CheckCombination() {
        for (const OptionDesc& d : kOptions) {
            if (!d.RenderOnly || !seen_[static_cast<std::size_t>(d.Id)]) continue;
            if (!rendering_) {
                Fail(std::u16string(d.Name), {}, u"is used only in a render",
                     u"the option together with --render FILE");
                return;
            }
            const bool csvOption = d.Id == Option::Samples;
            const bool csvFile = line_.Render.Format == RenderFormat::Csv;
            if (csvOption != csvFile) {
                Fail(std::u16string(d.Name), line_.Render.Path, u"does not apply to this file",
                     csvOption ? u"--samples with a .csv file"
                               : u"--seconds and --clock with a .wav file");
                return;
            }
        }
    }

    const std::vector<std::u16string>& args_;
    bool rendering_ = false;
    std::array<bool, kOptions.size()> seen_{};
    CommandLine line_;
    std::optional<OptionError> error_;
};

}  // namespace

std::u16string ErrorText(const OptionError& e) {
    std::u16string text = u"Option " + e.Option;
    if (!e.Value.empty()) text += u": the value \"" + e.Value + u"\"";
    text += u" " + e.Problem + u"; accepted: " + e.Accepted;
    return text;
}

ParseResult ParseCommandLine(const std::vector<std::u16string>& args) {
    return Parser(args).Run();
}

// Short lines: message boxes wrap long ones wherever they like.
std::u16string UsageText() {
    return u"Usage:\n"
           u"phasebox [--wave W] [--increment N]\n"
           u"  [--interval MS] [--width N]\n"
           u"  [--auto-clear on|off] [--run]\n"
           u"phasebox --render FILE [start options]\n"
           u"  [--samples N] [--seconds S] [--clock HZ]\n"
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
           u"A bad option opens no window; exit code 2.\n";
}

}  // namespace output
