// The frequency figures of the DAC output: what one increment M gives at a sample clock.
// Every frequency here is an exact multiple of clock / 65536 (65536 accumulator states per
// turn of the phase), so each is kept as that multiple and written in decimals exactly,
// rounded only to the digits a text shows.
#pragma once

#include <cstdint>
#include <string>

#include "core/base/number_format.h"

namespace dac {

// The sample clock's range and designed value.
inline constexpr int kMinClockHz = 8000;
inline constexpr int kMaxClockHz = 192000;
inline constexpr int kDesignedClockHz = 48000;

// The accumulator's states: one turn of the phase, and the length of the spectrum's record.
inline constexpr std::int64_t kPhaseStates = 65536;
// The increment whose output lies at clock / 2; any larger one lies above it.
inline constexpr std::uint16_t kNyquistIncrement = 32768;

// `clockHz` brought into [kMinClockHz, kMaxClockHz].
int ClampClockHz(int clockHz) noexcept;

// A frequency of Steps x clock / 65536 Hz: exact for every figure of the generator.
struct StepFrequency {
    std::int64_t Steps = 0;
    int ClockHz = kDesignedClockHz;
    double Hz() const noexcept;  // exact in a double: Steps x ClockHz < 2^53
    friend bool operator==(const StepFrequency&, const StepFrequency&) = default;
};

struct Figures {
    int ClockHz = kDesignedClockHz;
    std::uint16_t Increment = 0;
    StepFrequency Output;      // M x clock / 65536
    StepFrequency Resolution;  // clock / 65536: the step between two increments
    StepFrequency Nyquist;     // clock / 2
    // M > 32768: the tone lies above clock / 2 and is heard at its mirror image.
    bool AboveNyquist = false;
    // (65536 - M) x clock / 65536 above the Nyquist frequency, else the output frequency.
    StepFrequency Heard;
    // Samples in one output period, 65536 / M; 0 for M = 0, which has no period.
    double SamplesPerPeriod = 0;
};

// The figures for increment `increment` at `clockHz` (taken as it is: callers clamp).
Figures FiguresFor(std::uint16_t increment, int clockHz) noexcept;

// The figures as the window shows them, in the locale's digits.
struct FigureTexts {
    std::u16string Clock;             // "48,000 Hz"
    std::u16string Output;            // "750 Hz", "0.732 Hz": three decimals at most
    std::u16string Resolution;        // "0.732422 Hz": six decimals at most
    std::u16string SamplesPerPeriod;  // "65.536"; "none" for M = 0
    std::u16string Nyquist;           // "24,000 Hz"
    // Empty at or below the Nyquist frequency; above it, that the output lies above it and
    // where it is heard.
    std::u16string NyquistNote;
};

FigureTexts TextsFor(const Figures& figures, const base::DecimalStyle& style);

// `frequency` in Hz with at most `decimals` decimals, rounded half to even from the exact
// value, and the unit: "172.943 Hz".
std::u16string FrequencyText(const StepFrequency& frequency, int decimals,
                             const base::DecimalStyle& style);

// numerator / denominator (both positive) as decimal digits, rounded half to even to
// `decimals` decimals (0 to 9) from the exact quotient.
base::DecimalDigits RatioDigits(std::int64_t numerator, std::int64_t denominator, int decimals);

}  // namespace dac
