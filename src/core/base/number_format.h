// Writing numbers as the program shows them: decimal digits, grouped in threes with the
// locale's separator, the locale's decimal symbol, and UTF-16 text. The callers decide how
// many decimals a number gets and how a sign is shown; this is where the digits become text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/number_symbols.h"

namespace base {

// A decimal number as ASCII digit strings: `Whole` before the decimal symbol, `Fraction`
// after it. An empty `Whole` reads as 0.
struct DecimalDigits {
    bool Negative = false;
    std::string Whole;
    std::string Fraction;
    friend bool operator==(const DecimalDigits&, const DecimalDigits&) = default;
};

enum class NegativeForm { Minus, Parentheses };  // "-12" or "(12)"

struct DecimalStyle {
    // Grouping u'\0' writes the whole part without separators.
    NumberSymbols Symbols{};
    NegativeForm Negative = NegativeForm::Minus;
};

// The number as text: the whole part without leading zeros (one "0" at least), grouped in
// threes from the right; the fraction without its trailing zeros, and the decimal symbol
// only when a decimal is left. The sign shows only when a digit other than 0 is left, so
// that nothing reads as "-0".
std::u16string DecimalText(const DecimalDigits& number, const DecimalStyle& style);

// The digits of ASCII text "-?d+(.d*)?" such as std::to_chars writes in fixed notation;
// nothing for any other text ("inf", "nan", an exponent).
std::optional<DecimalDigits> SplitDecimal(std::string_view ascii);

// `value` in decimal digits with a minus sign, no grouping: "-1234".
std::u16string IntegerText(std::int64_t value);

// ASCII text as UTF-16, character for character.
std::u16string Widened(std::string_view ascii);

}  // namespace base
