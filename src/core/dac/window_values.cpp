#include "core/dac/window_values.h"

#include <charconv>
#include <cmath>

#include "core/base/number_format.h"
#include "core/dac/figures.h"
#include "core/dds/accumulator.h"

namespace dac {
namespace {

base::DecimalStyle StyleOf(const base::NumberSymbols& symbols) {
    return {.Symbols = symbols};
}

std::u16string WithUnit(std::u16string number, std::u16string_view unit) {
    number += u' ';
    number += unit;
    return number;
}

}  // namespace

std::u16string StepsHertzText(std::int64_t steps, int clockHz, int decimals, Language language,
                              const base::NumberSymbols& symbols) {
    return WithUnit(
        base::DecimalText(RatioDigits(steps * clockHz, kPhaseStates, decimals), StyleOf(symbols)),
        TextsIn(language).Hz);
}

FigureLines FigureLinesFor(std::uint16_t increment, int clockHz, Language language,
                           const base::NumberSymbols& symbols) {
    const Figures f = FiguresFor(increment, clockHz);
    FigureLines lines;
    lines.Output = StepsHertzText(f.Output.Steps, clockHz, 3, language, symbols);
    lines.Resolution = StepsHertzText(f.Resolution.Steps, clockHz, 6, language, symbols);
    lines.SamplesPerPeriod =
        increment == 0
            ? std::u16string(u"-")
            : base::DecimalText(RatioDigits(kPhaseStates, increment, 3), StyleOf(symbols));
    lines.Nyquist = StepsHertzText(f.Nyquist.Steps, clockHz, 3, language, symbols);
    if (f.AboveNyquist) {
        lines.AboveNyquist = std::u16string(TextsIn(language).AboveNyquist) +
                             StepsHertzText(f.Heard.Steps, clockHz, 3, language, symbols);
    }
    return lines;
}

std::u16string DecibelText(double levelDb, Language language, const base::NumberSymbols& symbols) {
    const std::u16string_view unit = TextsIn(language).Db;
    if (!std::isfinite(levelDb)) return WithUnit(levelDb < 0 ? u"-inf" : u"inf", unit);
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof(buffer), levelDb, std::chars_format::fixed, 1);
    const std::optional<base::DecimalDigits> digits =
        base::SplitDecimal(std::string_view(buffer, static_cast<std::size_t>(end.ptr - buffer)));
    return WithUnit(digits ? base::DecimalText(*digits, StyleOf(symbols)) : u"?", unit);
}

std::u16string SpectrumValueText(const Spectrum& spectrum, int clockHz, Language language,
                                 const base::NumberSymbols& symbols) {
    const WindowTexts& t = TextsIn(language);
    const auto component = [&](std::u16string_view name, int bin) {
        std::u16string text(name);
        text += u' ';
        text += StepsHertzText(bin, clockHz, 3, language, symbols);
        text += u", ";
        text += DecibelText(spectrum.LevelDb[static_cast<std::size_t>(bin)], language, symbols);
        return text;
    };
    std::u16string text;
    if (spectrum.FundamentalBin) text = component(t.Fundamental, *spectrum.FundamentalBin);
    if (spectrum.SpurBin) {
        if (!text.empty()) text += u"; ";
        text += component(t.Spur, *spectrum.SpurBin);
    }
    if (spectrum.SfdrDb) {
        if (!text.empty()) text += u"; ";
        text += t.Sfdr;
        text += u' ';
        text += DecibelText(*spectrum.SfdrDb, language, symbols);
    } else if (!spectrum.SpurBin) {
        if (!text.empty()) text += u"; ";
        text += t.NoSpur;
    }
    return text;
}

std::u16string WheelValueText(std::uint16_t accumulator, Language language) {
    const WindowTexts& t = TextsIn(language);
    std::u16string text(t.Accumulator);
    text += u' ';
    text += base::IntegerText(accumulator);
    text += u", ";
    text += t.TableAddress;
    text += u' ';
    text += base::IntegerText(dds::HighByte(accumulator));
    return text;
}

}  // namespace dac
