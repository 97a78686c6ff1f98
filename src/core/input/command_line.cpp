#include "core/input/command_line.h"

#include <array>
#include <utility>

#include "core/base/quoted.h"
#include "core/base/text_case.h"
#include "core/output/file_names.h"

namespace output {

namespace {

namespace settings = dds::settings;

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
                                std::u16string_view text) {
    for (const dds::ValueName<Value>& v : setting.Values) {
        if (base::EqualsNoCase(v.Name, text)) return v.Meaning;
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
    Clock,
    Spectrum
};

// Where an option belongs: the window and a render, the window only, a render only, or a
// render and the DAC output window (the sample clock).
enum class Use { Both, StartOnly, RenderOnly, RenderOrDac };

struct OptionDesc {
    std::u16string_view Name;
    Option Id;
    bool TakesValue;
    Use For;
};
constexpr std::u16string_view kRenderName = u"--render";
constexpr std::array<std::u16string_view, 2> kHelpNames{u"--help", u"/?"};

constexpr std::array<OptionDesc, 13> kOptions{{
    {settings::kWave.Name, Option::Wave, true, Use::Both},
    {settings::kIncrement.Name, Option::Increment, true, Use::Both},
    {settings::kStepInterval.Name, Option::Interval, true, Use::StartOnly},
    {settings::kChartWidth.Name, Option::Width, true, Use::StartOnly},
    {settings::kAutoClear.Name, Option::AutoClear, true, Use::StartOnly},
    {settings::kRun.Name, Option::Run, false, Use::StartOnly},
    {settings::kDac.Name, Option::Dac, false, Use::StartOnly},
    {settings::kListen.Name, Option::Listen, false, Use::StartOnly},
    {kRenderName, Option::Render, true, Use::Both},
    {settings::kSamples.Name, Option::Samples, true, Use::RenderOnly},
    {settings::kSeconds.Name, Option::Seconds, true, Use::RenderOnly},
    {settings::kClock.Name, Option::Clock, true, Use::RenderOrDac},
    {settings::kSpectrum.Name, Option::Spectrum, false, Use::RenderOnly},
}};

// Every option and the help's names, in the order of the table.
std::u16string OptionList() {
    std::u16string list;
    for (const OptionDesc& d : kOptions) list += std::u16string(d.Name) + u", ";
    return list + std::u16string(kHelpNames[0]) + u", " + std::u16string(kHelpNames[1]);
}

bool IsHelp(std::u16string_view arg) {
    return base::EqualsNoCase(arg, kHelpNames[0]) || base::EqualsNoCase(arg, kHelpNames[1]);
}

// The names of the options a render takes, from the table: "--wave, --increment, ...".
std::u16string RenderOptionList() {
    std::u16string list;
    for (const OptionDesc& d : kOptions) {
        if (d.For == Use::StartOnly || d.Id == Option::Render) continue;
        if (!list.empty()) list += u", ";
        list += d.Name;
    }
    return list;
}

class Parser {
public:
    explicit Parser(const std::vector<std::u16string>& args) : args_(args) {
        for (const std::u16string& a : args) {
            if (base::EqualsNoCase(a, kRenderName)) rendering_ = true;
        }
    }

    ParseResult Run() {
        for (const std::u16string& a : args_) {
            if (IsHelp(a)) {
                line_.Mode = RunMode::Help;
                return {line_, std::nullopt};
            }
        }
        for (std::size_t i = 0; i < args_.size() && !error_; ++i) {
            const OptionDesc* desc = Find(args_[i]);
            if (!desc) {
                Fail({}, args_[i], u"is not an option", OptionList());
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
    static const OptionDesc* Find(std::u16string_view arg) {
        for (const OptionDesc& d : kOptions) {
            if (base::EqualsNoCase(d.Name, arg)) return &d;
        }
        return nullptr;
    }

    void Fail(std::u16string option, std::optional<std::u16string> value, std::u16string problem,
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
            Fail(std::u16string(d.Name), value, u"is given more than once", u"the option once");
            return;
        }
        seen_[index] = true;
        values_[index] = value;
        switch (d.Id) {
            case Option::Wave: {
                const std::u16string accepted = NamesText(settings::kWave, u", ");
                if (!value) {
                    Fail(std::u16string(d.Name), {}, u"has no value", accepted);
                } else if (auto wave = NamedValue(settings::kWave, *value)) {
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
                } else if (auto on = NamedValue(settings::kAutoClear, *value)) {
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
                if (!value) {
                    Fail(std::u16string(d.Name), {}, u"has no file name", accepted);
                    return;
                }
                if (const auto device = DeviceName(*value)) {
                    Fail(std::u16string(d.Name), *value, DeviceNameProblem(*device), accepted);
                    return;
                }
                if (base::EndsWithNoCase(*value, u".csv")) {
                    line_.Render.Format = RenderFormat::Csv;
                } else if (base::EndsWithNoCase(*value, u".wav")) {
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
            case Option::Spectrum:
                line_.Render.Spectrum = true;
                return;
        }
    }

    bool Seen(Option id) const { return seen_[static_cast<std::size_t>(id)]; }

    // Options that belong to a render, to the window, to the DAC output window, and to one
    // kind of file.
    void CheckCombination() {
        const std::u16string dac(settings::kDac.Name);
        const std::u16string render(kRenderName);
        for (const OptionDesc& d : kOptions) {
            const auto index = static_cast<std::size_t>(d.Id);
            if (!seen_[index]) continue;
            const std::u16string name(d.Name);
            if (!rendering_) {
                if (d.For == Use::RenderOnly) {
                    Fail(name, values_[index], u"is used only in a render",
                         u"the option together with " + render + u" FILE");
                    return;
                }
                if (d.For == Use::RenderOrDac && !Seen(Option::Dac)) {
                    Fail(name, values_[index], u"is used only in a render or with " + dac,
                         u"the option together with " + render + u" FILE or " + dac);
                    return;
                }
                if (d.Id == Option::Listen && !Seen(Option::Dac)) {
                    Fail(name, values_[index], u"is used only with " + dac,
                         u"the option together with " + dac);
                    return;
                }
                continue;
            }
            if (d.For == Use::StartOnly) {
                Fail(name, values_[index], u"does not apply to a render",
                     u"the option without " + render + u"; a render takes " + RenderOptionList());
                return;
            }
            if (d.For == Use::Both) continue;
            const bool csvFile = line_.Render.Format == RenderFormat::Csv;
            const bool spectrum = Seen(Option::Spectrum);
            bool applies = true;
            std::u16string accepted;
            switch (d.Id) {
                case Option::Samples:
                    applies = csvFile && !spectrum;
                    accepted = name + u" with a .csv file";
                    break;
                case Option::Spectrum:
                    applies = csvFile;
                    accepted = name + u" with a .csv file";
                    break;
                case Option::Seconds:
                    applies = !csvFile;
                    accepted = name + u" with a .wav file";
                    break;
                default:  // the clock: a sound's samples per second, or a spectrum's bin spacing
                    applies = !csvFile || spectrum;
                    accepted = name + u" with a .wav file or with " +
                               std::u16string(settings::kSpectrum.Name);
                    break;
            }
            if (!applies) {
                const std::u16string what =
                    csvFile && spectrum && d.Id == Option::Samples
                        ? std::u16string(u"a spectrum")
                        : std::u16string(csvFile ? u"the .csv" : u"the .wav") + u" file " +
                              base::Quoted(line_.Render.Path);
                Fail(name, values_[index], u"does not apply to " + what, accepted);
                return;
            }
        }
    }

    const std::vector<std::u16string>& args_;
    bool rendering_ = false;
    std::array<bool, kOptions.size()> seen_{};
    std::array<std::optional<std::u16string>, kOptions.size()> values_{};
    CommandLine line_;
    std::optional<OptionError> error_;
};

}  // namespace

std::u16string ErrorText(const OptionError& e) {
    std::u16string text;
    if (e.Option.empty()) {
        text = u"Argument " + base::Quoted(e.Value.value_or(u""));
    } else {
        text = u"Option " + e.Option;
        if (e.Value) text += u": the value " + base::Quoted(*e.Value);
    }
    return text + u" " + e.Problem + u"; accepted: " + e.Accepted;
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
    text += u"\nphasebox " + std::u16string(kRenderName) + u" FILE [" + Call(settings::kWave) +
            u"]\n  [" + Call(settings::kIncrement) + u"] [" + Call(settings::kSamples) + u"]\n  [" +
            Call(settings::kSeconds) + u"] [" + Call(settings::kClock) + u"]\n  [" +
            Call(settings::kSpectrum) + u"]\n";
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
        UsageLine(settings::kSamples) + u"  " + UsageLine(settings::kSpectrum) +
        u"    bin,frequency_hz,level_db rows of the\n"
        u"    spectrum of 65536 samples, in dB of a\n"
        u"    full-scale sine; --clock sets the bins\n"
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
