// The tuning-word box's text rules under four sets of regional symbols: reading against
// a reference reader of the documented grammar, writing against exact integer
// arithmetic, the value rules' guarantees, and the typed-character filter over
// sequences of key strokes that keep the box's one sign in front.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/rounding.h"
#include "core/controls/numeric_key_filter.h"
#include "core/controls/numeric_text.h"
#include "fuzz_support.h"

namespace {

using base::NumberSymbols;
using fuzz::Fail;
using fuzz::Require;

constexpr long double kInf = std::numeric_limits<long double>::infinity();

// ---------------------------------------------------------------------------
// Inputs

// Mostly the characters the rules treat specially, now and then any code unit.
std::u16string AwkwardText(FuzzedDataProvider& data, std::size_t maxLength) {
    // The last unit is a lone high surrogate.
    static constexpr char16_t kUnits[] =
        u"0123456789012345.,-+()eE \t\r\u00A0x\u0001\u001F\u2019\uFF11\0";
    static constexpr std::array<char16_t, std::size(kUnits)> kAlphabet = [] {
        std::array<char16_t, std::size(kUnits)> units{};
        std::copy(std::begin(kUnits), std::end(kUnits), units.begin());
        units.back() = 0xD83D;
        return units;
    }();
    std::u16string text;
    const std::size_t length = data.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    while (text.size() < length && data.remaining_bytes() > 0) {
        const auto pick = data.ConsumeIntegral<std::uint8_t>();
        text += pick < 240 ? kAlphabet[pick % kAlphabet.size()] : data.ConsumeIntegral<char16_t>();
    }
    return text;
}

// A long double of any magnitude, with halves and near-halves often.
long double AwkwardLongDouble(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange(0, 4)) {
        case 0:
            return fuzz::AwkwardDouble(data);
        case 1:  // an integer and a number of eighths
            return static_cast<long double>(data.ConsumeIntegral<std::int64_t>()) +
                   data.ConsumeIntegralInRange(-16, 16) / 8.0L;
        case 2: {  // any exponent of the format
            const long double mantissa =
                static_cast<long double>(data.ConsumeIntegral<std::uint64_t>());
            return std::ldexp(data.ConsumeBool() ? mantissa : -mantissa,
                              data.ConsumeIntegralInRange(-16500, 16400));
        }
        case 3: {  // 1.5 ulp steps around a half
            const long double base = data.ConsumeIntegralInRange(-70000, 70000) + 0.5L;
            const int ulps = data.ConsumeIntegralInRange(-3, 3);
            long double v = base;
            for (int i = 0; i < std::abs(ulps); ++i) v = std::nextafter(v, ulps > 0 ? kInf : -kInf);
            return v;
        }
        default:
            return data.ConsumeIntegralInRange(-70000, 70000);
    }
}

// Integral bounds min < max: those of the window, or any below 2^63.
std::pair<long double, long double> Bounds(FuzzedDataProvider& data) {
    if (data.ConsumeBool()) return {1.0L, 65535.0L};
    std::int64_t a = data.ConsumeIntegral<std::int64_t>() >> data.ConsumeIntegralInRange(0, 62);
    std::int64_t b = data.ConsumeIntegral<std::int64_t>() >> data.ConsumeIntegralInRange(0, 62);
    if (a == b) b = a == std::numeric_limits<std::int64_t>::max() ? a - 1 : a + 1;
    return {static_cast<long double>(std::min(a, b)), static_cast<long double>(std::max(a, b))};
}

std::string Narrow(std::u16string_view text) {
    std::string out = "\"";
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\u" + std::to_string(static_cast<unsigned>(c));
        }
    }
    return out + "\"";
}

// ---------------------------------------------------------------------------
// References

// Reads a text by the documented steps, with its own check of the grammar; only the
// conversion of a well-formed decimal text is left to the C library.
long double ReferenceParse(std::u16string_view text, const NumberSymbols& symbols) {
    while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
    if (text.empty()) return 0.0L;
    const std::size_t close = text.find(u')');
    const bool negative =
        text.front() == u'-' || (text.front() == u'(' && close == text.size() - 1);
    std::string kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool afterExponent = i > 0 && (text[i - 1] == u'e' || text[i - 1] == u'E');
        if ((c >= u'0' && c <= u'9') || c == u'e' || c == u'E') {
            kept += static_cast<char>(c);
        } else if (c == symbols.Decimal) {
            kept += '.';
        } else if (c == u'-' && afterExponent) {
            kept += '-';
        }
    }
    // digits [. digits] with one digit at least, then optionally e [-] digits.
    std::size_t at = 0;
    const auto digits = [&] {
        const std::size_t from = at;
        while (at < kept.size() && kept[at] >= '0' && kept[at] <= '9') ++at;
        return at - from;
    };
    std::size_t mantissaDigits = digits();
    if (at < kept.size() && kept[at] == '.') {
        ++at;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0) return 0.0L;
    if (at < kept.size() && (kept[at] == 'e' || kept[at] == 'E')) {
        ++at;
        if (at < kept.size() && kept[at] == '-') ++at;
        if (digits() == 0) return 0.0L;
    }
    if (at != kept.size()) return 0.0L;
    if (negative) kept.insert(kept.begin(), '-');
    return std::strtold(kept.c_str(), nullptr);
}

// Whether `text` is the display form of an integer: digits grouped in threes from the
// right with the grouping separator (when there is one), no leading zero, a negative one
// in parentheses.
bool IsDisplayForm(std::u16string_view text, const NumberSymbols& symbols) {
    if (text.size() >= 2 && text.front() == u'(' && text.back() == u')') {
        text = text.substr(1, text.size() - 2);
        if (text == u"0") return false;
    }
    std::size_t digitCount = 0;
    for (std::size_t i = text.size(); i-- > 0;) {
        const std::size_t fromRight = text.size() - 1 - i;
        const bool separatorHere = symbols.Grouping != u'\0' && fromRight % 4 == 3 && i != 0;
        if (separatorHere) {
            if (text[i] != symbols.Grouping) return false;
            continue;
        }
        if (symbols.Grouping == u'\0' || fromRight % 4 != 3) {
            if (text[i] < u'0' || text[i] > u'9') return false;
            ++digitCount;
        } else {
            return false;
        }
    }
    return digitCount > 0 && (digitCount == 1 || text.front() != u'0');
}

// The integer nearest to v, halves away from zero, checked by its defining inequalities.
void CheckRounded(long double v, long double rounded) {
    Require(std::trunc(rounded) == rounded, "the written value is an integer");
    const long double distance = std::fabs(v - rounded);  // exact: at most one half apart
    Require(distance <= 0.5L, "the written value is the nearest integer");
    if (distance == 0.5L) Require(std::fabs(rounded) > std::fabs(v), "halves go away from zero");
}

bool SameValue(long double a, long double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// ---------------------------------------------------------------------------
// Properties

// Reading any text.
void CheckText(std::u16string_view text, FuzzedDataProvider& data, const NumberSymbols& symbols) {
    const long double value = controls::ParseNumberText(text, symbols);
    Require(!std::isnan(value), "no text reads as NaN");
    if (!SameValue(value, ReferenceParse(text, symbols))) {
        Fail("reading " + Narrow(text) + " differs from the documented grammar");
    }
    const std::u16string padded = u" \t" + std::u16string(text) + u"\r\n ";
    Require(controls::ParseNumberText(padded, symbols) == value, "outer spaces are trimmed");

    // Focus arrival: the display form of a readable text.
    const std::optional<std::u16string> arrival = controls::TextOnFocusArrival(text, symbols);
    if (std::isfinite(value)) {
        const std::u16string shown = controls::FormatNumberText(value, symbols);
        Require(arrival ? *arrival == shown : text == shown, "arrival shows the display form");
    } else {
        Require(!arrival, "an unreadable text is left as it is on arrival");
    }
    Require(!arrival || *arrival != text, "arrival's new text differs");

    // Reading Value.
    const auto [min, max] = Bounds(data);
    const controls::ValueReading reading = controls::ReadValue(text, min, symbols);
    if (text.empty()) {
        Require(reading.NewText && *reading.NewText == controls::FormatNumberText(min, symbols),
                "an empty box becomes min");
        Require(reading.Value == min, "an empty box reads as min");
    } else {
        Require(!reading.NewText, "reading Value leaves a text as it is");
        Require(reading.Value == (std::isfinite(value) ? value : min),
                "Value is the text's number, or min when the reading fails");
    }

    // Focus leaving: the text that stays reads within the bounds.
    const std::optional<std::u16string> left = controls::TextOnFocusLeave(text, min, max, symbols);
    Require(!left || *left != text, "leave's new text differs");
    const std::u16string after = left ? *left : std::u16string(text);
    const long double afterValue = controls::ParseNumberText(after, symbols);
    if (!(afterValue >= min && afterValue <= max)) {
        Fail("leaving " + Narrow(text) + " keeps " + Narrow(after) + " outside min..max");
    }
    if (left) Require(IsDisplayForm(*left, symbols), "leave writes the display form");
    Require(!controls::TextOnFocusLeave(text, min, min, symbols), "equal bounds skip the check");
}

// Writing any long double, over any current text.
void CheckValue(long double v, std::u16string_view current, const NumberSymbols& symbols) {
    const std::u16string written = controls::FormatNumberText(v, symbols);
    if (std::isnan(v)) {
        Require(written == u"NAN", "NaN is written NAN");
    } else if (std::isinf(v)) {
        Require(written == (v > 0 ? u"INF" : u"(INF)"), "infinities are written INF and (INF)");
    } else {
        Require(IsDisplayForm(written, symbols), "a finite value is written in display form");
        const long double back = controls::ParseNumberText(written, symbols);
        CheckRounded(v, back);
        Require(controls::FormatNumberText(back, symbols) == written,
                "writing what was read back gives the same text");
        Require(!controls::TextOnFocusArrival(written, symbols), "arrival keeps the display form");
    }

    const std::optional<std::u16string> next = controls::WriteValue(current, v, symbols);
    const long double currentValue = controls::ParseNumberText(current, symbols);
    if (std::isfinite(currentValue) && currentValue == v) {
        Require(!next, "writing the value a text already holds changes nothing");
    } else {
        Require(next ? *next == written : current == written, "Value is written in display form");
    }
    Require(!next || *next != current, "WriteValue's new text differs");
}

// ---------------------------------------------------------------------------
// The key filter

bool IsSign(char16_t c) {
    return c == u'+' || c == u'-';
}

// The filter's documented rule, step by step.
bool ReferenceAccepts(char16_t c, std::u16string_view text, std::size_t start, std::size_t length) {
    const bool passes =
        c != u'\r' && (c < u' ' || (c >= u'0' && c <= u'9') || IsSign(c) || c == u'(' || c == u')');
    if (!passes) return false;
    const std::u16string_view selected = text.substr(start, length);
    const bool textHoldsSign = std::any_of(text.begin(), text.end(), IsSign);
    const bool selectionHoldsSign = std::any_of(selected.begin(), selected.end(), IsSign);
    if (IsSign(c)) {
        return start == 0 &&
               (!textHoldsSign || length == text.size() || (length > 0 && selectionHoldsSign));
    }
    return !(start == 0 && length == 0 && !text.empty() && IsSign(text.front()));
}

// Key strokes on a box that starts with at most one sign, in front: the filter agrees
// with its rule, never lets a letter, space, separator or Enter through, and the box
// never gets a sign anywhere but in front, nor two.
void CheckKeyStrokes(FuzzedDataProvider& data, const NumberSymbols& symbols) {
    std::u16string text = AwkwardText(data, 12);
    std::erase_if(text, IsSign);
    if (data.ConsumeBool()) text.insert(text.begin(), data.ConsumeBool() ? u'-' : u'+');
    static constexpr std::u16string_view kKeys =
        u"0123456789+-()-+.,eE aZ\r\b\u0016\u0001\u00A0\u2019";
    for (int stroke = 0; stroke < 32 && data.remaining_bytes() > 0; ++stroke) {
        const auto pick = data.ConsumeIntegral<std::uint8_t>();
        const char16_t typed =
            pick < 240 ? kKeys[pick % kKeys.size()] : data.ConsumeIntegral<char16_t>();
        const bool decimalPressed = data.ConsumeIntegralInRange(0, 9) == 0;
        const controls::TextSelection selection{
            data.ConsumeIntegralInRange<std::size_t>(0, text.size() + 2),
            data.ConsumeIntegralInRange<std::size_t>(0, text.size() + 2)};
        const controls::KeyVerdict verdict =
            controls::FilterTypedCharacter(typed, decimalPressed, text, selection, symbols);

        const char16_t c = decimalPressed ? symbols.Decimal : typed;
        Require(verdict.Character == c, "the handed-on character");
        const std::size_t start = std::min(selection.Start, text.size());
        const std::size_t length = std::min(selection.Length, text.size() - start);
        Require(verdict.Accepted == ReferenceAccepts(c, text, start, length),
                "the verdict follows the rule");
        if (verdict.Accepted) {
            const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
            Require(!letter && c != u' ' && c != u'\r', "no letter, space or Enter passes");
            Require(c != symbols.Decimal && (symbols.Grouping == u'\0' || c != symbols.Grouping),
                    "no separator passes");
        }
        if (!verdict.Accepted) continue;

        // What the edit control does with the character.
        if (c == u'\b') {
            if (length > 0) {
                text.erase(start, length);
            } else if (start > 0) {
                text.erase(start - 1, 1);
            }
        } else if (c >= u' ') {
            text.replace(start, length, 1, c);
        }
        const std::size_t signs =
            static_cast<std::size_t>(std::count_if(text.begin(), text.end(), IsSign));
        Require(signs == 0 || (signs == 1 && IsSign(text.front())),
                "a sign only in front, and only one");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const NumberSymbols symbols = fuzz::PickSymbols(data);
    switch (data.ConsumeIntegralInRange(0, 2)) {
        case 0: {
            const std::u16string text = AwkwardText(data, 80);
            CheckText(text, data, symbols);
            break;
        }
        case 1: {
            const long double v = AwkwardLongDouble(data);
            CheckValue(v, AwkwardText(data, 24), symbols);
            if (std::isfinite(v)) CheckText(controls::FormatNumberText(v, symbols), data, symbols);
            break;
        }
        default:
            CheckKeyStrokes(data, symbols);
            break;
    }
    return 0;
}
