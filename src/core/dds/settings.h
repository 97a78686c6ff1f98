// The settings a user can choose, one row each: the name the command line gives it, the
// values it accepts and its designed value (what the window shows at start-up and what a
// render uses when the option is left out). The command line, its usage text, the start
// options, the renderer's defaults and the window's layout read these rows; nothing else
// holds a limit or a designed value of a setting.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/dds/wave_tables.h"

namespace dds {

// A whole number from Min to Max.
struct RangeSetting {
    std::u16string_view Name;         // the option: "--increment"
    std::u16string_view Placeholder;  // its value in the usage: "N"
    std::u16string_view Purpose;      // in the usage before the range; may be empty
    std::int64_t Min;
    std::int64_t Max;
    std::int64_t Designed;

    constexpr bool Accepts(std::int64_t value) const noexcept {
        return value >= Min && value <= Max;
    }
};

template <typename Value>
struct ValueName {
    std::u16string_view Name;  // lower case
    Value Meaning;
};

// One of a few names, each standing for a value.
template <typename Value, std::size_t Count>
struct NamedSetting {
    std::u16string_view Name;
    std::u16string_view Placeholder;  // "W"; or the names themselves, "on|off"
    std::u16string_view Purpose;
    std::array<ValueName<Value>, Count> Values;  // in the order the usage lists them
    Value Designed;

    // The name of `value`; empty for a value that has none.
    constexpr std::u16string_view NameOf(Value value) const noexcept {
        for (const ValueName<Value>& v : Values) {
            if (v.Meaning == value) return v.Name;
        }
        return {};
    }
};

// An option without a value; left out, it is off.
struct FlagSetting {
    std::u16string_view Name;
    std::u16string_view Purpose;
};

namespace settings {

// The waveform, in the order of the window's buttons.
inline constexpr NamedSetting<Waveform, 6> kWave{u"--wave",
                                                 u"W",
                                                 u"",
                                                 {{{u"sin", Waveform::Sin},
                                                   {u"saw", Waveform::Saw},
                                                   {u"rsaw", Waveform::RSaw},
                                                   {u"tri", Waveform::Tri},
                                                   {u"sqr", Waveform::Sqr},
                                                   {u"ecg", Waveform::Ecg}}},
                                                 Waveform::Sin};
// The phase increment as the increment box takes it.
inline constexpr RangeSetting kIncrement{u"--increment", u"N", u"", 1, 65535, 256};
// The step interval in milliseconds.
inline constexpr RangeSetting kStepInterval{u"--interval", u"MS", u"step interval", 1, 500, 1};
// The chart's visible width in points.
inline constexpr RangeSetting kChartWidth{u"--width", u"N", u"chart width", 30, 10000, 256};
inline constexpr NamedSetting<bool, 2> kAutoClear{
    u"--auto-clear", u"on|off", u"clear a full chart", {{{u"on", true}, {u"off", false}}}, true};
inline constexpr FlagSetting kRun{u"--run", u"start the generator running"};

// A render without a window.
inline constexpr RangeSetting kSamples{u"--samples", u"N", u"", 1, 10'000'000, 1024};
inline constexpr RangeSetting kSeconds{u"--seconds", u"S", u"", 1, 600, 2};
inline constexpr RangeSetting kClock{u"--clock", u"HZ", u"", 8000, 192000, 48000};

// The speed slider's positions stand for step intervals, the fastest at the right end:
// the interval is (slowest interval + 1) - position, so no position gives 0 ms.
constexpr int SpeedPosition(int intervalMs) noexcept {
    return static_cast<int>(kStepInterval.Max + kStepInterval.Min) - intervalMs;
}
constexpr int StepIntervalMs(int speedPosition) noexcept {
    return static_cast<int>(kStepInterval.Max + kStepInterval.Min) - speedPosition;
}

// The increment slider covers only the lower part of the increment's range; the higher
// increments can only be typed.
inline constexpr int kIncrementSliderMax = 10000;

}  // namespace settings

}  // namespace dds
