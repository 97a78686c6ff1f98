#include "core/input/command_line.h"

#include <array>
#include <utility>

namespace output {

namespace {

namespace settings = dds::settings;

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

std::u16string RangeText(const dds::RangeSetting& setting) {
    return Decimal(setting.Min) + u" to " + Decimal(setting.Max);
}

// An option with its value as the usage shows it: "--increment N".
std::u16string Call(const dds::RangeSetting& setting) {
    return std::u16string(setting.Name) + u" " + std::u16string(setting.Placeholder);
}
template <typename Value, std::size_t Count>
std::u16string Call(const dds::NamedSetting<Value, Count>& setting) {
    return std::u16string(setting.Name) + u" " + std::u16string(setting.Placeholder);
}
std::u16string Call(const dds::FlagSetting& setting) {
    return std::u16string(setting.Name);
}

// The purpose and the accepted values, as the usage lists them.
std::u16string Described(std::u16string_view purpose, const std::u16string& accepted) {
    if (purpose.empty()) return accepted;
    if (accepted.empty()) return std::u16string(purpose);
    return std::u16string(purpose) + u", " + accepted;
}

// The names a setting accepts, joined by `separator`: "sin, saw, ...", "on|off".
template <typename Value, std::size_t Count>
std::u16string NamesText(const dds::NamedSetting<Value, Count>& setting,
                         std::u16string_view separator) {
    std::u16string text;
    for (const dds::ValueName<Value>& v : setting.Values) {
        if (!text.empty()) text += separator;
        text += v.Name;
    }
    return text;
}

// The value of `text` among the names of `setting`, read without regard to case.
template <typename Value, std::size_t Count>
std::optional<Value> NamedValue(const dds::NamedSetting<Value, Count>& setting,
                                std::u16string_view lowered) {
    for (const dds::ValueName<Value>& v : setting.Values) {
        if (v.Name == lowered) return v.Meaning;
    }
    return std::nullopt;
}

// One line of the usage: the option, what it sets, the accepted values and the designed
// value in brackets.
std::u16string UsageLine(const dds::RangeSetting& setting) {
    return Call(setting) + u": " + Described(setting.Purpose, RangeText(setting)) + u" (" +
           Decimal(setting.Designed) + u")\n";
}
template <typename Value, std::size_t Count>
std::u16string UsageLine(const dds::NamedSetting<Value, Count>& setting) {
    // A placeholder that spells out the names lists them already.
    const std::u16string names = NamesText(setting, u", ");
    const bool spelt = setting.Placeholder == NamesText(setting, u"|");
    return Call(setting) + u": " + Described(setting.Purpose, spelt ? u"" : names) + u" (" +
           std::u16string(setting.NameOf(setting.Designed)) + u")\n";
}
std::u16string UsageLine(const dds::FlagSetting& setting) {
    return Call(setting) + u": " + std::u16string(setting.Purpose) + u"\n";
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
    Dac,
    Listen,
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
constexpr std::u16string_view kRenderName = u"--render";
constexpr std::array<std::u16string_view, 2> kHelpNames{u"--help", u"/?"};

constexpr std::array<OptionDesc, 12> kOptions{{
    {settings::kWave.Name, Option::Wave, true, false},
    {settings::kIncrement.Name, Option::Increment, true, false},
    {settings::kStepInterval.Name, Option::Interval, true, false},
    {settings::kChartWidth.Name, Option::Width, true, false},
    {settings::kAutoClear.Name, Option::AutoClear, true, false},
    {settings::kRun.Name, Option::Run, false, false},
    {settings::kDac.Name, Option::Dac, false, false},
    {settings::kListen.Name, Option::Listen, false, false},
    {kRenderName, Option::Render, true, false},
    {settings::kSamples.Name, Option::Samples, true, true},
    {settings::kSeconds.Name, Option::Seconds, true, true},
    {settings::kClock.Name, Option::Clock, true, false},
}};

// Every option and the help's names, in the order of the table.
std::u16string OptionList() {
    std::u16string list;
    for (const OptionDesc& d : kOptions) list += std::u16string(d.Name) + u", ";
    return list + std::u16string(kHelpNames[0]) + u", " + std::u16string(kHelpNames[1]);
}

bool IsHelp(const std::u16string& lowered) {
    return lowered == kHelpNames[0] || lowered == kHelpNames[1];
}

bool EndsWith(std::u16string_view text, std::u16string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

class Parser {
public:
    explicit Parser(const std::vector<std::u16string>& args) : args_(args) {
        for (const std::u16string& a : args) {
            if (Lower(a) == kRenderName) rendering_ = true;
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
                Fail(args_[i], {}, u"is not an option", OptionList());
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

    // The value of a number option within the setting's range; reports the fault otherwise.
    std::optional<std::int64_t> Number(const OptionDesc& d, const std::optional<std::u16string>& v,
                                       const dds::RangeSetting& setting) {
        const std::u16string accepted = RangeText(setting);
        if (!v) {
            Fail(std::u16string(d.Name), {}, u"has no value", accepted);
            return std::nullopt;
        }
        const std::optional<std::int64_t> n = WholeNumber(*v);
        if (!n) {
            Fail(std::u16string(d.Name), *v, u"is not a whole number", accepted);
            return std::nullopt;
        }
        if (!setting.Accepts(*n)) {
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
                const std::u16string accepted = NamesText(settings::kWave, u", ");
                if (!value) {
                    Fail(std::u16string(d.Name), {}, u"has no value", accepted);
                } else if (auto wave = NamedValue(settings::kWave, Lower(*value))) {
                    line_.Start.Wave = *wave;
                } else {
                    Fail(std::u16string(d.Name), *value, u"is not a waveform", accepted);
                }
                return;
            }
            case Option::Increment:
                if (auto n = Number(d, value, settings::kIncrement)) {
                    line_.Start.Increment = static_cast<int>(*n);
                }
                return;
            case Option::Interval:
                if (auto n = Number(d, value, settings::kStepInterval)) {
                    line_.Start.IntervalMs = static_cast<int>(*n);
                }
                return;
            case Option::Width:
                if (auto n = Number(d, value, settings::kChartWidth)) {
                    line_.Start.Width = static_cast<int>(*n);
                }
                return;
            case Option::AutoClear: {
                const std::u16string accepted = NamesText(settings::kAutoClear, u", ");
                if (!value) {
                    Fail(std::u16string(d.Name), {}, u"has no value", accepted);
                } else if (auto on = NamedValue(settings::kAutoClear, Lower(*value))) {
                    line_.Start.AutoClear = *on;
                } else {
                    Fail(std::u16string(d.Name), *value, u"is not on or off", accepted);
                }
                return;
            }
            case Option::Run:
                line_.Start.Run = true;
                return;
            case Option::Dac:
                line_.Start.Dac = true;
                return;
            case Option::Listen:
                line_.Start.Listen = true;
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
                if (auto n = Number(d, value, settings::kSamples)) line_.Render.Samples = *n;
                return;
            case Option::Seconds:
                if (auto n = Number(d, value, settings::kSeconds)) {
                    line_.Render.Seconds = static_cast<int>(*n);
                }
                return;
            case Option::Clock:
                if (auto n = Number(d, value, settings::kClock)) {
                    if (rendering_) {
                        line_.Render.ClockHz = static_cast<int>(*n);
                    } else {
                        line_.Start.DacClockHz = static_cast<int>(*n);
                    }
                }
                return;
        }
    }

    bool Seen(Option id) const { return seen_[static_cast<std::size_t>(id)]; }

    // Options that belong to a render, and to one kind of file; the DAC output window's,
    // which belong to a window with it.
    void CheckCombination() {
        const std::u16string dac(settings::kDac.Name);
        if (rendering_ && (Seen(Option::Dac) || Seen(Option::Listen))) {
            Fail(Seen(Option::Dac) ? dac : std::u16string(settings::kListen.Name), {},
                 u"is not used in a render", u"the option without " + std::u16string(kRenderName));
            return;
        }
        if (!rendering_ && !Seen(Option::Dac)) {
            if (Seen(Option::Listen)) {
                Fail(std::u16string(settings::kListen.Name), {}, u"is used only with " + dac,
                     u"the option together with " + dac);
                return;
            }
            if (Seen(Option::Clock)) {
                Fail(std::u16string(settings::kClock.Name), {},
                     u"is used only in a render or with " + dac,
                     u"the option together with " + std::u16string(kRenderName) + u" FILE or " +
                         dac);
                return;
            }
        }
        for (const OptionDesc& d : kOptions) {
            const bool renderOption = d.RenderOnly || (rendering_ && d.Id == Option::Clock);
            if (!renderOption || !Seen(d.Id)) continue;
            if (!rendering_) {
                Fail(std::u16string(d.Name), {}, u"is used only in a render",
                     u"the option together with " + std::u16string(kRenderName) + u" FILE");
                return;
            }
            const bool csvOption = d.Id == Option::Samples;
            const bool csvFile = line_.Render.Format == RenderFormat::Csv;
            if (csvOption != csvFile) {
                Fail(std::u16string(d.Name), line_.Render.Path, u"does not apply to this file",
                     csvOption ? std::u16string(settings::kSamples.Name) + u" with a .csv file"
                               : std::u16string(settings::kSeconds.Name) + u" and " +
                                     std::u16string(settings::kClock.Name) + u" with a .wav file");
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
    const std::u16string start[] = {Call(settings::kWave),         Call(settings::kIncrement),
                                    Call(settings::kStepInterval), Call(settings::kChartWidth),
                                    Call(settings::kAutoClear),    Call(settings::kRun)};
    std::u16string text = u"Usage:\nphasebox";
    for (std::size_t i = 0; i < std::size(start); ++i) {
        text += (i > 0 && i % 2 == 0 ? u"\n  [" : u" [") + start[i] + u"]";
    }
    text += u"\n  [" + Call(settings::kDac) + u" [" + Call(settings::kListen) + u"] [" +
            Call(settings::kClock) + u"]]";
    text += u"\nphasebox " + std::u16string(kRenderName) + u" FILE [start options]\n  [" +
            Call(settings::kSamples) + u"] [" + Call(settings::kSeconds) + u"] [" +
            Call(settings::kClock) + u"]\n";
    text += u"phasebox " + std::u16string(kHelpNames[0]) + u" | " + std::u16string(kHelpNames[1]) +
            u"\n\n";
    text += u"Start options (designed value in brackets):\n";
    text += UsageLine(settings::kWave) + UsageLine(settings::kIncrement) +
            UsageLine(settings::kStepInterval) + UsageLine(settings::kChartWidth) +
            UsageLine(settings::kAutoClear) + UsageLine(settings::kRun) +
            UsageLine(settings::kDac) + UsageLine(settings::kListen) + Call(settings::kClock) +
            u": with --dac, its sample clock,\n  " + RangeText(settings::kClock) + u" (" +
            Decimal(settings::kClock.Designed) + u")\n";
    text +=
        u"\n"
        u"Render without a window, by FILE's ending:\n"
        u".csv: step,accumulator,high_byte,\n"
        u"  low_byte,value rows\n"
        u"  " +
        UsageLine(settings::kSamples) +
        u".wav: mono 8-bit unsigned PCM, a tone of\n"
        u"  increment x clock / 65536 Hz\n"
        u"  " +
        UsageLine(settings::kSeconds) + u"  " + UsageLine(settings::kClock);
    return text +
           u"A render exits with 0, or writes one line\n"
           u"to the standard error and exits with 2.\n"
           u"\n"
           u"Ctrl+D in the main window opens the DAC\n"
           u"  output window.\n"
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
