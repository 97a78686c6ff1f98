#include "core/controls/numeric_text.h"

#include "core/base/number_format.h"
#include "core/base/rounding.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace controls {

namespace {

// ---------------------------------------------------------------------------
// Reading

bool IsTrimmed(char16_t c) {
    return c <= u' ';
}
bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsExponentLetter(char16_t c) {
    return c == u'E' || c == u'e';
}

// Converts the kept ASCII text ("-"? digits, ".", "e", "-" only) with the C
// library. strtold reads the C locale's decimal point, which is "." because
// the program never calls setlocale; should anything ever change LC_NUMERIC,
// the text is given that locale's decimal point instead. From the characters
// the kept text can hold, strtold accepts exactly the grammar documented for
// ParseNumberText; the whole text must be consumed.
long double ConvertKept(std::string kept) {
    if (const char* point = std::localeconv()->decimal_point;
        point != nullptr && point[0] != '\0' && std::string_view(point) != ".") {
        std::string localised;
        for (char c : kept) {
            if (c == '.') {
                localised += point;
            } else {
                localised += c;
            }
        }
        kept = std::move(localised);
    }
    const char* begin = kept.c_str();
    char* end = nullptr;
    // Overflow gives +-HUGE_VALL (infinity), underflow 0 or a subnormal: both
    // as documented, so errno need not be consulted.
    const long double result = std::strtold(begin, &end);
    if (end == begin || *end != '\0') return 0.0L;
    return result;
}

// ---------------------------------------------------------------------------
// Writing

// The exact decimal digits of a non-negative integral finite value.
std::string IntegralDigits(long double integral) {
    if (integral == 0.0L) return "0";

    // Binary digits, 32 at a time, least significant limb first. Each step is
    // exact: frexp and ldexp only move the exponent, and subtracting the floor
    // of a value from it is exact.
    int exponent = 0;
    const long double mantissa = std::frexp(integral, &exponent);  // [0.5, 1) * 2^exponent
    const std::size_t limbCount = static_cast<std::size_t>((exponent + 31) / 32);
    std::vector<std::uint32_t> limbs(limbCount);
    long double rest = std::ldexp(mantissa, exponent - 32 * static_cast<int>(limbCount - 1));
    for (std::size_t i = limbCount; i-- > 0;) {
        const long double limb = std::floor(rest);  // < 2^32
        limbs[i] = static_cast<std::uint32_t>(limb);
        rest = std::ldexp(rest - limb, 32);
    }

    // Decimal digits, nine at a time, by repeated division by 10^9.
    constexpr std::uint32_t kBillion = 1'000'000'000;
    std::vector<std::uint32_t> chunks;  // least significant first
    std::size_t top = limbCount;
    while (top > 0) {
        std::uint64_t remainder = 0;
        for (std::size_t i = top; i-- > 0;) {
            const std::uint64_t current = (remainder << 32) | limbs[i];
            limbs[i] = static_cast<std::uint32_t>(current / kBillion);
            remainder = current % kBillion;
        }
        chunks.push_back(static_cast<std::uint32_t>(remainder));
        while (top > 0 && limbs[top - 1] == 0) --top;
    }

    std::string digits = std::to_string(chunks.back());
    for (std::size_t i = chunks.size() - 1; i-- > 0;) {
        const std::string chunk = std::to_string(chunks[i]);
        digits.append(9 - chunk.size(), '0');
        digits += chunk;
    }
    return digits;
}

std::optional<std::u16string> IfChanged(std::u16string_view current, std::u16string next) {
    if (next == current) return std::nullopt;
    return next;
}

}  // namespace

long double ParseNumberText(std::u16string_view text, const NumberSymbols& symbols) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsTrimmed(text[first])) ++first;
    while (last > first && IsTrimmed(text[last - 1])) --last;
    const std::u16string_view trimmed = text.substr(first, last - first);
    if (trimmed.empty()) return 0.0L;

    const bool negative = trimmed.front() == u'-' ||
                          (trimmed.front() == u'(' && trimmed.find(u')') == trimmed.size() - 1);

    std::string kept;
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        const char16_t c = trimmed[i];
        if (IsDigit(c) || IsExponentLetter(c)) {
            kept += static_cast<char>(c);
        } else if (c == symbols.Decimal) {
            kept += '.';
        } else if (c == u'-' && i > 0 && IsExponentLetter(trimmed[i - 1])) {
            kept += '-';
        }
    }
    if (kept.empty()) return 0.0L;
    if (negative && kept.front() != '-') kept.insert(kept.begin(), '-');
    return ConvertKept(std::move(kept));
}

std::u16string FormatNumberText(long double value, const NumberSymbols& symbols) {
    if (std::isnan(value)) return u"NAN";
    if (std::isinf(value)) return value > 0 ? u"INF" : u"(INF)";

    const long double magnitude = base::RoundHalfAwayFromZero(std::fabs(value));
    return base::DecimalText(
        {.Negative = value < 0, .Whole = IntegralDigits(magnitude), .Fraction = {}},
        {.Symbols = symbols, .Negative = base::NegativeForm::Parentheses});
}

ValueReading ReadValue(std::u16string_view text, long double min, const NumberSymbols& symbols) {
    ValueReading reading;
    if (text.empty()) {
        reading.NewText = FormatNumberText(min, symbols);
        text = *reading.NewText;
    }
    reading.Value = ParseNumberText(text, symbols);
    if (!std::isfinite(reading.Value)) reading.Value = min;
    return reading;
}

std::optional<std::u16string> WriteValue(std::u16string_view text, long double value,
                                         const NumberSymbols& symbols) {
    const long double current = ParseNumberText(text, symbols);
    if (std::isfinite(current) && current == value) return std::nullopt;
    return IfChanged(text, FormatNumberText(value, symbols));
}

std::optional<std::u16string> TextOnFocusArrival(std::u16string_view text,
                                                 const NumberSymbols& symbols) {
    const long double current = ParseNumberText(text, symbols);
    if (!std::isfinite(current)) return std::nullopt;
    return IfChanged(text, FormatNumberText(current, symbols));
}

std::optional<std::u16string> TextOnFocusLeave(std::u16string_view text, long double min,
                                               long double max, const NumberSymbols& symbols) {
    if (min == max) return std::nullopt;
    long double value = ParseNumberText(text, symbols);
    if (!std::isfinite(value)) return WriteValue(text, min, symbols);
    if (value < min) {
        value = min;
    } else if (value > max) {
        value = max;
    }
    return IfChanged(text, FormatNumberText(value, symbols));
}

}  // namespace controls
