// Numbers as text: grouping, the decimal symbol, trailing zeros, the sign, and the digits
// of fixed-notation ASCII text.
#include "core/base/number_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

using base::DecimalDigits;
using base::DecimalStyle;
using base::NegativeForm;
using base::NumberSymbols;

const NumberSymbols kEnglish{};
const NumberSymbols kGerman{u',', u'.'};
const NumberSymbols kUngrouped{u'.', u'\0'};
const NumberSymbols kApostrophe{u'.', u'\u2019'};

TEST(DecimalText, GroupsTrimsAndSigns) {
    const struct {
        bool negative;
        const char* whole;
        const char* fraction;
        NumberSymbols symbols;
        NegativeForm form;
        std::u16string expected;
    } cases[] = {
        {false, "0", "", kEnglish, NegativeForm::Minus, u"0"},
        {false, "", "", kEnglish, NegativeForm::Minus, u"0"},
        {false, "007", "", kEnglish, NegativeForm::Minus, u"7"},
        {false, "000", "5", kEnglish, NegativeForm::Minus, u"0.5"},
        {false, "999", "", kEnglish, NegativeForm::Minus, u"999"},
        {false, "1000", "", kEnglish, NegativeForm::Minus, u"1,000"},
        {false, "0001000", "", kEnglish, NegativeForm::Minus, u"1,000"},
        {false, "123456", "", kEnglish, NegativeForm::Minus, u"123,456"},
        {false, "1234567", "", kEnglish, NegativeForm::Minus, u"1,234,567"},
        // Decimals are never grouped; only their trailing zeros go.
        {false, "1234567", "12345", kEnglish, NegativeForm::Minus, u"1,234,567.12345"},
        {false, "12", "250", kEnglish, NegativeForm::Minus, u"12.25"},
        {false, "12", "000", kEnglish, NegativeForm::Minus, u"12"},
        {false, "10", "050", kEnglish, NegativeForm::Minus, u"10.05"},
        {true, "12", "5", kEnglish, NegativeForm::Minus, u"-12.5"},
        {true, "1234", "", kEnglish, NegativeForm::Minus, u"-1,234"},
        // Nothing but zeros left: no sign.
        {true, "0", "000", kEnglish, NegativeForm::Minus, u"0"},
        {true, "000", "", kEnglish, NegativeForm::Minus, u"0"},
        {true, "", "", kEnglish, NegativeForm::Parentheses, u"0"},
        {true, "0", "001", kEnglish, NegativeForm::Minus, u"-0.001"},
        {true, "1234", "", kEnglish, NegativeForm::Parentheses, u"(1,234)"},
        {true, "0", "50", kEnglish, NegativeForm::Parentheses, u"(0.5)"},
        {false, "1234", "", kEnglish, NegativeForm::Parentheses, u"1,234"},
        {false, "1234567", "5", kGerman, NegativeForm::Minus, u"1.234.567,5"},
        {true, "1234567", "", kUngrouped, NegativeForm::Minus, u"-1234567"},
        {false, "1234567", "", kApostrophe, NegativeForm::Minus, u"1\u2019234\u2019567"},
        {false, "12345678901234567890", "", kEnglish, NegativeForm::Minus,
         u"12,345,678,901,234,567,890"},
    };
    for (const auto& c : cases) {
        const DecimalDigits number{c.negative, c.whole, c.fraction};
        EXPECT_EQ(base::DecimalText(number, DecimalStyle{c.symbols, c.form}), c.expected)
            << (c.negative ? "-" : "") << c.whole << " . " << c.fraction;
    }
}

TEST(SplitDecimal, ReadsFixedNotationOnly) {
    const struct {
        const char* ascii;
        std::optional<DecimalDigits> expected;
    } cases[] = {
        {"12.340", DecimalDigits{false, "12", "340"}},
        {"-0.000", DecimalDigits{true, "0", "000"}},
        {"5", DecimalDigits{false, "5", ""}},
        {"-255", DecimalDigits{true, "255", ""}},
        {"5.", DecimalDigits{false, "5", ""}},
        {"", std::nullopt},
        {"-", std::nullopt},
        {".5", std::nullopt},
        {"inf", std::nullopt},
        {"-inf", std::nullopt},
        {"nan", std::nullopt},
        {"-nan", std::nullopt},
        {"1e+20", std::nullopt},
        {"1.2.3", std::nullopt},
        {"--1", std::nullopt},
        {"+1", std::nullopt},
        {"1 000", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base::SplitDecimal(c.ascii), c.expected) << '"' << c.ascii << '"';
    }
}

TEST(IntegerText, PlainDigitsWithAMinusSign) {
    const struct {
        std::int64_t value;
        std::u16string expected;
    } cases[] = {
        {0, u"0"},
        {7, u"7"},
        {-1, u"-1"},
        {255, u"255"},
        {10000, u"10000"},  // never grouped
        {std::numeric_limits<std::int64_t>::max(), u"9223372036854775807"},
        {std::numeric_limits<std::int64_t>::min(), u"-9223372036854775808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base::IntegerText(c.value), c.expected) << c.value;
    }
}

}  // namespace
