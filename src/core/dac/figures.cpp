#include "core/dac/figures.h"

#include <algorithm>
#include <string>

namespace dac {

int ClampClockHz(int clockHz) noexcept {
    return std::clamp(clockHz, kMinClockHz, kMaxClockHz);
}

double StepFrequency::Hz() const noexcept {
    return static_cast<double>(Steps * ClockHz) / static_cast<double>(kPhaseStates);
}

Figures FiguresFor(std::uint16_t increment, int clockHz) noexcept {
    Figures f;
    f.ClockHz = clockHz;
    f.Increment = increment;
    f.Output = {increment, clockHz};
    f.Resolution = {1, clockHz};
    f.Nyquist = {kNyquistIncrement, clockHz};
    f.AboveNyquist = increment > kNyquistIncrement;
    f.Heard = f.AboveNyquist ? StepFrequency{kPhaseStates - increment, clockHz} : f.Output;
    f.SamplesPerPeriod =
        increment == 0 ? 0.0 : static_cast<double>(kPhaseStates) / static_cast<double>(increment);
    return f;
}

base::DecimalDigits RatioDigits(std::int64_t numerator, std::int64_t denominator, int decimals) {
    // Long division keeps every intermediate below 10 x denominator; the scaled result
    // (quotient x 10^decimals) stays far inside 64 bits for every figure here.
    std::int64_t scaled = numerator / denominator;
    std::int64_t rest = numerator % denominator;
    std::int64_t power = 1;
    for (int i = 0; i < decimals; ++i) {
        scaled = scaled * 10 + rest * 10 / denominator;
        rest = rest * 10 % denominator;
        power *= 10;
    }
    if (2 * rest > denominator || (2 * rest == denominator && scaled % 2 != 0)) ++scaled;
    base::DecimalDigits digits;
    digits.Whole = std::to_string(scaled / power);
    if (decimals > 0) {
        std::string fraction = std::to_string(scaled % power);
        digits.Fraction = std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0');
        digits.Fraction += fraction;
    }
    return digits;
}

std::u16string FrequencyText(const StepFrequency& frequency, int decimals,
                             const base::DecimalStyle& style) {
    return base::DecimalText(
               RatioDigits(frequency.Steps * frequency.ClockHz, kPhaseStates, decimals), style) +
           u" Hz";
}

FigureTexts TextsFor(const Figures& figures, const base::DecimalStyle& style) {
    FigureTexts t;
    t.Clock = base::DecimalText(RatioDigits(figures.ClockHz, 1, 0), style) + u" Hz";
    t.Output = FrequencyText(figures.Output, 3, style);
    t.Resolution = FrequencyText(figures.Resolution, 6, style);
    t.SamplesPerPeriod =
        figures.Increment == 0
            ? std::u16string(u"none")
            : base::DecimalText(RatioDigits(kPhaseStates, figures.Increment, 3), style);
    t.Nyquist = FrequencyText(figures.Nyquist, 3, style);
    if (figures.AboveNyquist) {
        t.NyquistNote = u"Above the Nyquist frequency (" + t.Nyquist + u"): heard at " +
                        FrequencyText(figures.Heard, 3, style) + u" (65536 - M = " +
                        base::IntegerText(figures.Heard.Steps) + u")";
    }
    return t;
}

}  // namespace dac
