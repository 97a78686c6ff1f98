// Text rules of the tuning-word edit box: reading, writing, and the value
// model over the box's text.
#include "core/controls/numeric_text.h"
#include "core/dds/accumulator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

using controls::FormatNumberText;
using controls::NumberSymbols;
using controls::ParseNumberText;
using controls::ReadValue;
using controls::TextOnFocusArrival;
using controls::TextOnFocusLeave;
using controls::WriteValue;

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kMin = 1.0L;
constexpr long double kMax = 65535.0L;

const NumberSymbols kEnglish{};                      // "." decimal, "," grouping
const NumberSymbols kNoBreakSpace{u',', u'\u00A0'};  // "," decimal, no-break space grouping
const NumberSymbols kGerman{u',', u'.'};             // "," decimal, "." grouping
const NumberSymbols kUngrouped{u'.', u'\0'};         // no grouping separator

// GoogleTest prints char16_t strings poorly; compare as UTF-8-ish ASCII where
// a failure message matters.
std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += "\\u" + std::to_string(static_cast<unsigned>(c));
        }
    }
    return out;
}

std::string NarrowOptional(const std::optional<std::u16string>& text) {
    if (!text) return "(no change)";
    std::string quoted(1, '"');
    quoted.append(Narrow(std::u16string_view(*text))).push_back('"');
    return quoted;
}

// ---------------------------------------------------------------------------
// Reading a text as a number

struct ParseCase {
    std::u16string_view text;
    long double value;
};

const ParseCase kEnglishParseCases[] = {
    // The design's examples.
    {u"1,024", 1024.0L},
    {u"-256", -256.0L},
    {u"(5)", -5.0L},
    {u"+7", 7.0L},
    {u"(5", 5.0L},
    {u"12ab3", 123.0L},
    {u"1e3", 1000.0L},
    {u"1E-1", 0.1L},
    {u"abc", 0.0L},
    {u"1E", 0.0L},
    {u"1.2.3", 0.0L},
    {u"   ", 0.0L},
    {u"", 0.0L},
    {u"1,234.5", 1234.5L},
    {u"256", 256.0L},
    {u"70000", 70000.0L},
    {u"0", 0.0L},
    // Trimming: spaces and control characters at both ends only.
    {u"  42\t", 42.0L},
    {u"\x01 7 \x1f\r\n", 7.0L},
    {u" -5 ", -5.0L},
    {u" (5) ", -5.0L},
    {u"1 024", 1024.0L},  // an inner space is dropped
    {u"\u00A0-5", 5.0L},  // a no-break space is not trimmed, so "-" is not first
    // The sign.
    {u"-(5)", -5.0L},
    {u"--5", -5.0L},
    {u"5-", 5.0L},
    {u"((5))", 5.0L},  // its first ")" is not its last character
    {u"(5))", 5.0L},
    {u"(5)x", 5.0L},
    {u"(1,234)", -1234.0L},
    {u"-", 0.0L},
    {u"()", 0.0L},
    {u"+", 0.0L},
    // The exponent: "-" is kept only right after "E" or "e".
    {u"1e-3", 0.001L},
    {u"-1e-3", -0.001L},
    {u"(1e-3)", -0.001L},
    {u"1e+3", 1000.0L},     // "+" is dropped
    {u"1 e - 3", 1000.0L},  // the "-" follows a space, not the "e"
    {u"1e3e4", 0.0L},
    {u"e5", 0.0L},
    {u"1e", 0.0L},
    {u"1e-", 0.0L},
    {u"2.5E2", 250.0L},
    // Decimal separator.
    {u".5", 0.5L},
    {u"5.", 5.0L},
    {u".", 0.0L},
    {u"1..2", 0.0L},
    {u"-.25", -0.25L},
    // Everything else is dropped; only ASCII digits count.
    {u"0x10", 10.0L},
    {u"inf", 0.0L},
    {u"nan", 0.0L},
    {u"1,2,3", 123.0L},
    {u"\uFF11\uFF12", 0.0L},  // full-width digits
    {u"\u0661\u0662", 0.0L},  // Arabic-Indic digits
    {u"7\U0001F600", 7.0L},   // a surrogate pair is dropped
    // Very small and very large magnitudes.
    {u"1e-5000", 0.0L},
    {u"0.000000000000000000000000000001", 1e-30L},
    {u"1000000000000000000000000000000", 1e30L},
    {u"18446744073709551872", 18446744073709551872.0L},
};

TEST(ParseNumberText, EnglishLocale) {
    for (const auto& c : kEnglishParseCases) {
        EXPECT_EQ(ParseNumberText(c.text, kEnglish), c.value) << '"' << Narrow(c.text) << '"';
    }
}

TEST(ParseNumberText, NegativeZeroIsZero) {
    EXPECT_EQ(ParseNumberText(u"-0", kEnglish), 0.0L);
    EXPECT_EQ(ParseNumberText(u"(0)", kEnglish), 0.0L);
}

TEST(ParseNumberText, BeyondLongDoubleIsInfinite) {
    EXPECT_EQ(ParseNumberText(u"1e5000", kEnglish), kInf);
    EXPECT_EQ(ParseNumberText(u"-1e5000", kEnglish), -kInf);
    EXPECT_EQ(ParseNumberText(u"(1e99999999999999999999)", kEnglish), -kInf);
    EXPECT_EQ(ParseNumberText(std::u16string(6000, u'9'), kEnglish), kInf);
}

TEST(ParseNumberText, LongTextsAreRead) {
    EXPECT_EQ(ParseNumberText(std::u16string(5000, u'0') + u"42", kEnglish), 42.0L);
    EXPECT_EQ(ParseNumberText(std::u16string(5000, u' ') + u"42", kEnglish), 42.0L);
}

TEST(ParseNumberText, NoBreakSpaceGroupingAndCommaDecimal) {
    EXPECT_EQ(ParseNumberText(u"1\u00A0024", kNoBreakSpace), 1024.0L);
    EXPECT_EQ(ParseNumberText(u"65\u00A0535", kNoBreakSpace), 65535.0L);
    EXPECT_EQ(ParseNumberText(u"1\u00A0234,5", kNoBreakSpace), 1234.5L);
    EXPECT_EQ(ParseNumberText(u"1,5", kNoBreakSpace), 1.5L);
    EXPECT_EQ(ParseNumberText(u"1.5", kNoBreakSpace), 15.0L);  // "." is no separator here
    EXPECT_EQ(ParseNumberText(u"2,5E2", kNoBreakSpace), 250.0L);
    EXPECT_EQ(ParseNumberText(u"1,2,3", kNoBreakSpace), 0.0L);  // two decimal separators
    EXPECT_EQ(ParseNumberText(u"(1\u00A0234)", kNoBreakSpace), -1234.0L);
}

TEST(ParseNumberText, DotGroupingAndCommaDecimal) {
    EXPECT_EQ(ParseNumberText(u"1.024", kGerman), 1024.0L);
    EXPECT_EQ(ParseNumberText(u"1.234,5", kGerman), 1234.5L);
}

// ---------------------------------------------------------------------------
// Writing a number as text

struct FormatCase {
    long double value;
    std::u16string_view text;
};

const FormatCase kEnglishFormatCases[] = {
    // The design's examples.
    {256.0L, u"256"},
    {1024.0L, u"1,024"},
    {10000.0L, u"10,000"},
    {65535.0L, u"65,535"},
    {0.0L, u"0"},
    {2.5L, u"3"},
    {-5.0L, u"(5)"},
    // Halves away from zero; the section follows the rounded number.
    {0.5L, u"1"},
    {1.5L, u"2"},
    {3.5L, u"4"},
    {0.49999L, u"0"},
    {1234.5L, u"1,235"},
    {-0.5L, u"(1)"},
    {-2.5L, u"(3)"},
    {-0.4L, u"0"},
    {-0.0L, u"0"},
    {std::numeric_limits<long double>::denorm_min(), u"0"},
    {-std::numeric_limits<long double>::denorm_min(), u"0"},
    // Grouping in threes from the right.
    {1.0L, u"1"},
    {12.0L, u"12"},
    {999.0L, u"999"},
    {1000.0L, u"1,000"},
    {100000.0L, u"100,000"},
    {999999.0L, u"999,999"},
    {1000000.0L, u"1,000,000"},
    {1234567.0L, u"1,234,567"},
    {-1234.0L, u"(1,234)"},
    {-1234567.5L, u"(1,234,568)"},
    {70000.0L, u"70,000"},
    // Exact digits beyond 64 bits.
    {4294967296.0L, u"4,294,967,296"},
    {18446744073709551615.0L, u"18,446,744,073,709,551,615"},
    {18446744073709551872.0L, u"18,446,744,073,709,551,872"},
    {1e30L, u"1,000,000,000,000,000,000,024,696,061,952"},  // the long double nearest 1e30
    {-1e30L, u"(1,000,000,000,000,000,000,024,696,061,952)"},
    // No digits to write.
    {kInf, u"INF"},
    {-kInf, u"(INF)"},
    {std::numeric_limits<long double>::quiet_NaN(), u"NAN"},
};

TEST(FormatNumberText, EnglishLocale) {
    for (const auto& c : kEnglishFormatCases) {
        EXPECT_EQ(FormatNumberText(c.value, kEnglish), c.text) << static_cast<double>(c.value);
    }
}

TEST(FormatNumberText, LargestLongDoubleHasAllItsDigits) {
    // (2^64 - 1) * 2^16320: 4933 digits, worked out in exact integer arithmetic.
    const std::u16string text = FormatNumberText(std::numeric_limits<long double>::max(), kEnglish);
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if ((text.size() - i) % 4 == 0) {
            ASSERT_EQ(c, u',') << "position " << i;
        } else {
            ASSERT_TRUE(c >= u'0' && c <= u'9') << "position " << i;
            digits += static_cast<char>(c);
        }
    }
    ASSERT_EQ(digits.size(), 4933u);
    EXPECT_EQ(digits.substr(0, 25), "1189731495357231765021263");
    EXPECT_EQ(digits.substr(digits.size() - 30), "444156604419552086811989770240");
    int digitSum = 0;
    for (char d : digits) digitSum += d - '0';
    EXPECT_EQ(digitSum, 22047);

    std::u16string negative = u"(";
    negative.append(text).push_back(u')');
    EXPECT_EQ(FormatNumberText(std::numeric_limits<long double>::lowest(), kEnglish), negative);
}

TEST(FormatNumberText, NoBreakSpaceGrouping) {
    EXPECT_EQ(FormatNumberText(256.0L, kNoBreakSpace), u"256");
    EXPECT_EQ(FormatNumberText(1024.0L, kNoBreakSpace), u"1\u00A0024");
    EXPECT_EQ(FormatNumberText(65535.0L, kNoBreakSpace), u"65\u00A0535");
    EXPECT_EQ(FormatNumberText(1234567.0L, kNoBreakSpace), u"1\u00A0234\u00A0567");
    EXPECT_EQ(FormatNumberText(-1234.0L, kNoBreakSpace), u"(1\u00A0234)");
    EXPECT_EQ(FormatNumberText(2.5L, kNoBreakSpace),
              u"3");  // the decimal separator is never written
}

TEST(FormatNumberText, NoGroupingSeparator) {
    EXPECT_EQ(FormatNumberText(1234567.0L, kUngrouped), u"1234567");
    EXPECT_EQ(FormatNumberText(-65535.0L, kUngrouped), u"(65535)");
}

TEST(FormatNumberText, WhatIsWrittenReadsBack) {
    for (const NumberSymbols* symbols : {&kEnglish, &kNoBreakSpace, &kGerman, &kUngrouped}) {
        for (long n = -1'100'000; n <= 1'100'000; n += 997) {
            const auto value = static_cast<long double>(n);
            ASSERT_EQ(ParseNumberText(FormatNumberText(value, *symbols), *symbols), value) << n;
        }
    }
}

// ---------------------------------------------------------------------------
// Reading Value

TEST(ReadValue, EmptyTextBecomesTheFormattedMin) {
    const auto reading = ReadValue(u"", kMin, kEnglish);
    EXPECT_EQ(reading.Value, 1.0L);
    EXPECT_EQ(reading.NewText, u"1");

    const auto larger = ReadValue(u"", 1234.0L, kNoBreakSpace);
    EXPECT_EQ(larger.Value, 1234.0L);
    EXPECT_EQ(larger.NewText, u"1\u00A0234");

    // The value is that of the new text.
    const auto fractional = ReadValue(u"", 1.5L, kEnglish);
    EXPECT_EQ(fractional.NewText, u"2");
    EXPECT_EQ(fractional.Value, 2.0L);
}

TEST(ReadValue, AnyOtherTextIsReadWithoutRangeCheck) {
    const ParseCase cases[] = {
        {u"   ", 0.0L},  // not empty: read, not replaced
        {u"0", 0.0L},   {u"-5", -5.0L},        {u"70000", 70000.0L}, {u"256", 256.0L},
        {u"abc", 0.0L}, {u"1,234.5", 1234.5L}, {u"(5)", -5.0L},
    };
    for (const auto& c : cases) {
        const auto reading = ReadValue(c.text, kMin, kEnglish);
        EXPECT_EQ(reading.Value, c.value) << Narrow(c.text);
        EXPECT_FALSE(reading.NewText) << Narrow(c.text);
    }
}

TEST(ReadValue, AFailedReadingGivesMin) {
    for (std::u16string_view text : {u"1e5000", u"-1e5000"}) {
        const auto reading = ReadValue(text, kMin, kEnglish);
        EXPECT_EQ(reading.Value, kMin) << Narrow(text);
        EXPECT_FALSE(reading.NewText) << Narrow(text);
    }
}

// ---------------------------------------------------------------------------
// Writing Value

struct WriteCase {
    std::u16string_view text;
    long double value;
    std::optional<std::u16string> newText;
};

TEST(WriteValue, ReplacesTheTextOnlyForANewValue) {
    const WriteCase cases[] = {
        {u"256", 256.0L, std::nullopt},
        {u"256", 10000.0L, u"10,000"},
        {u"256", 1024.0L, u"1,024"},
        {u"1,024", 1024.0L, std::nullopt},
        {u"1024", 1024.0L, std::nullopt},  // reads as 1024: stays unformatted
        {u"10,000", 256.0L, u"256"},
        {u"256", 70000.0L, u"70,000"},  // no range check, no clamping
        {u"256", 0.0L, u"0"},
        {u"256", -5.0L, u"(5)"},
        {u"3", 2.5L, std::nullopt},  // 3 != 2.5, but the new text is the same
        {u"", 0.0L, std::nullopt},   // "" reads as 0 by the lenient rule
        {u"abc", 0.0L, std::nullopt},
        {u"abc", 5.0L, u"5"},
        {u"", 1.0L, u"1"},
        {u"1e5000", 1.0L, u"1"},  // a failed reading equals no value
        {u"256", kInf, u"INF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WriteValue(c.text, c.value, kEnglish), c.newText)
            << Narrow(c.text) << " <- " << static_cast<double>(c.value);
    }
}

TEST(WriteValue, EverySliderPositionShowsAndReadsBack) {
    std::u16string text = u"256";
    for (long position = 1; position <= 10000; ++position) {
        const auto value = static_cast<long double>(position);
        const auto newText = WriteValue(text, value, kEnglish);
        ASSERT_EQ(newText.has_value(), position != 256 || text != u"256") << position;
        if (newText) text = *newText;
        ASSERT_EQ(text, FormatNumberText(value, kEnglish)) << position;
        ASSERT_EQ(ReadValue(text, kMin, kEnglish).Value, value) << position;
        ASSERT_FALSE(WriteValue(text, value, kEnglish)) << position;
    }
}

// ---------------------------------------------------------------------------
// Focus arriving and leaving

struct FocusCase {
    std::u16string_view text;
    std::optional<std::u16string> newText;
};

TEST(TextOnFocusArrival, RewritesInDisplayFormWithoutRangeCheck) {
    const FocusCase cases[] = {
        {u"1234", u"1,234"},  {u"1,234", std::nullopt},  {u"256", std::nullopt},
        {u"-5", u"(5)"},      {u"(5)", std::nullopt},    {u"70000", u"70,000"},
        {u"0", std::nullopt}, {u"1234.5", u"1,235"},     {u"abc", u"0"},
        {u"", u"0"},          {u"1e5000", std::nullopt},  // a failed reading leaves the text as it
                                                          // stands
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextOnFocusArrival(c.text, kEnglish), c.newText) << Narrow(c.text);
    }
}

TEST(TextOnFocusLeave, ClampsToTheRangeAndRewrites) {
    const FocusCase cases[] = {
        {u"70000", u"65,535"},   {u"0", u"1"},
        {u"1,234.5", u"1,235"},  {u"256", std::nullopt},
        {u"1234", u"1,234"},     {u"65,535", std::nullopt},
        {u"65535.4", u"65,535"}, {u"65535.6", u"65,535"},  // above Max before rounding
        {u"0.6", u"1"},                                    // below Min before rounding
        {u"1.4", u"1"},          {u"-256", u"1"},
        {u"(5)", u"1"},          {u"abc", u"1"},
        {u"   ", u"1"},          {u"1e5000", u"1"},  // a failed reading sets Value to Min
        {u"-1e5000", u"1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextOnFocusLeave(c.text, kMin, kMax, kEnglish), c.newText)
            << Narrow(c.text) << " -> " << NarrowOptional(c.newText);
    }
}

TEST(TextOnFocusLeave, UsesTheLocaleSymbols) {
    EXPECT_EQ(TextOnFocusLeave(u"1\u00A0234,5", kMin, kMax, kNoBreakSpace), u"1\u00A0235");
    EXPECT_EQ(TextOnFocusLeave(u"70000", kMin, kMax, kNoBreakSpace), u"65\u00A0535");
}

TEST(TextOnFocusLeave, EqualBoundsSkipTheCheck) {
    EXPECT_EQ(TextOnFocusLeave(u"70000", 5.0L, 5.0L, kEnglish), std::nullopt);
    EXPECT_EQ(TextOnFocusLeave(u"abc", 5.0L, 5.0L, kEnglish), std::nullopt);
}

// ---------------------------------------------------------------------------
// With the increment rule: the design's edge cases end to end

TEST(EditBoxAndIncrement, TypedOutOfRangeValueStandsUntilTheFocusLeaves) {
    std::u16string text = u"70000";
    EXPECT_EQ(dds::IncrementFromValue(ReadValue(text, kMin, kEnglish).Value), 4464);
    text = TextOnFocusLeave(text, kMin, kMax, kEnglish).value();
    EXPECT_EQ(text, u"65,535");
    EXPECT_EQ(dds::IncrementFromValue(ReadValue(text, kMin, kEnglish).Value), 65535);

    text = std::u16string(u"0");  // not from the literal: GCC 12 warns falsely (-Wrestrict)
    EXPECT_EQ(dds::IncrementFromValue(ReadValue(text, kMin, kEnglish).Value), 0);
    text = TextOnFocusLeave(text, kMin, kMax, kEnglish).value();
    EXPECT_EQ(text, u"1");
    EXPECT_EQ(dds::IncrementFromValue(ReadValue(text, kMin, kEnglish).Value), 1);
}

TEST(EditBoxAndIncrement, PastedFractionsAndNegatives) {
    EXPECT_EQ(dds::IncrementFromValue(ReadValue(u"2.5", kMin, kEnglish).Value), 2);
    EXPECT_EQ(dds::IncrementFromValue(ReadValue(u"3.5", kMin, kEnglish).Value), 4);
    EXPECT_EQ(dds::IncrementFromValue(ReadValue(u"1,234.5", kMin, kEnglish).Value), 1234);
    EXPECT_EQ(dds::IncrementFromValue(ReadValue(u"65536", kMin, kEnglish).Value), 0);
    EXPECT_EQ(dds::IncrementFromValue(ReadValue(u"-256", kMin, kEnglish).Value), 65280);
    EXPECT_EQ(TextOnFocusLeave(u"1,234.5", kMin, kMax, kEnglish), u"1,235");
}

TEST(EditBoxAndIncrement, EmptiedBoxReadsAsOne) {
    const auto reading = ReadValue(u"", kMin, kEnglish);
    ASSERT_EQ(reading.NewText, u"1");
    EXPECT_EQ(dds::IncrementFromValue(reading.Value), 1);
    // The nested change handler then reads the new text, which stays.
    const auto nested = ReadValue(*reading.NewText, kMin, kEnglish);
    EXPECT_EQ(nested.Value, 1.0L);
    EXPECT_FALSE(nested.NewText);
}

}  // namespace
