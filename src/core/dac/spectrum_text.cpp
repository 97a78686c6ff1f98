#include "core/dac/spectrum_text.h"

#include <charconv>
#include <string_view>

#include "core/dac/figures.h"

namespace dac {

namespace {

std::u16string BinText(int bin, int clockHz, const base::DecimalStyle& style) {
    return FrequencyText({bin, clockHz}, 3, style) + u", ";
}

}  // namespace

std::u16string LevelText(double levelDb, const base::DecimalStyle& style) {
    if (!(levelDb > kNoComponentDb)) {
        return u"below " + base::IntegerText(static_cast<int>(kNoComponentDb)) + u" dB";
    }
    char text[32];
    const auto end =
        std::to_chars(text, text + sizeof text, levelDb, std::chars_format::fixed, 2).ptr;
    // Fixed notation of a finite value always splits; DecimalText drops a sign left on 0.
    const auto digits =
        base::SplitDecimal(std::string_view(text, static_cast<std::size_t>(end - text)));
    return base::DecimalText(digits.value_or(base::DecimalDigits{}), style) + u" dB";
}

SpectrumTexts TextsFor(const Spectrum& spectrum, int clockHz, const base::DecimalStyle& style) {
    SpectrumTexts t{u"none", u"none", u"none"};
    const auto level = [&](int bin) { return spectrum.LevelDb[static_cast<std::size_t>(bin)]; };
    if (spectrum.FundamentalBin) {
        const int bin = *spectrum.FundamentalBin;
        t.Fundamental = BinText(bin, clockHz, style) + LevelText(level(bin), style);
    }
    if (spectrum.SpurBin) {
        const int bin = *spectrum.SpurBin;
        t.Spur = BinText(bin, clockHz, style) + LevelText(level(bin), style);
    }
    if (spectrum.SfdrDb) t.Sfdr = LevelText(*spectrum.SfdrDb, style);
    return t;
}

}  // namespace dac
