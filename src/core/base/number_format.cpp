#include "core/base/number_format.h"

#include <algorithm>

namespace base {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsDigit);
}

}  // namespace

std::u16string DecimalText(const DecimalDigits& number, const DecimalStyle& style) {
    std::string_view whole = number.Whole;
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.empty()) whole = "0";
    std::string_view fraction = number.Fraction;
    fraction = fraction.substr(0, fraction.find_last_not_of('0') + 1);

    const bool negative = number.Negative && (whole != "0" || !fraction.empty());
    const bool parentheses = negative && style.Negative == NegativeForm::Parentheses;
    const char16_t grouping = style.Symbols.Grouping;

    std::u16string text;
    text.reserve(whole.size() + whole.size() / 3 + fraction.size() + 3);
    if (negative) text += parentheses ? u'(' : u'-';
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (grouping != u'\0' && i != 0 && (whole.size() - i) % 3 == 0) text += grouping;
        text += static_cast<char16_t>(whole[i]);
    }
    if (!fraction.empty()) {
        text += style.Symbols.Decimal;
        text += Widened(fraction);
    }
    if (parentheses) text += u')';
    return text;
}

std::optional<DecimalDigits> SplitDecimal(std::string_view ascii) {
    DecimalDigits number;
    if (!ascii.empty() && ascii.front() == '-') {
        number.Negative = true;
        ascii.remove_prefix(1);
    }
    const std::size_t point = ascii.find('.');
    const std::string_view whole = ascii.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : ascii.substr(point + 1);
    if (whole.empty() || !AllDigits(whole) || !AllDigits(fraction)) return std::nullopt;
    number.Whole = whole;
    number.Fraction = fraction;
    return number;
}

std::u16string IntegerText(std::int64_t value) {
    return Widened(std::to_string(value));
}

std::u16string Widened(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace base
