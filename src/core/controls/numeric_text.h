// Text rules of the tuning-word edit box (`incrementBox`): how its text is read as
// a number, how a number is written as its text, and what reading and writing
// its `Value` and moving the focus do to that text.
//
// Pure functions of the text and the locale's symbols. The box keeps its value
// only as text; the Win32 edit box holds that text, calls these functions, puts
// back any new text they return and raises its change event for it. Texts are
// UTF-16, as the platform's edit control holds them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/number_symbols.h"

namespace controls {

using base::NumberSymbols;

// ---------------------------------------------------------------------------
// Reading and writing a number

// Reads a text as a number, leniently:
//  1. Leading and trailing spaces and control characters (code units up to
//     U+0020) are removed; nothing left reads as 0.
//  2. The number is negative when the trimmed text begins with "-", or begins
//     with "(" and its first ")" is its last character.
//  3. Only the digits 0-9, "E", "e", the locale's decimal separator and a "-"
//     right after an "E" or "e" of the trimmed text are kept, in order;
//     grouping separators, spaces, "+", parentheses, other letters and any
//     other "-" are dropped. Nothing kept reads as 0.
//  4. The kept text, with "-" in front for a negative number, is converted as
//     a decimal number with an optional exponent: "-"? digits, an optional
//     decimal separator and digits (at least one digit in all), then
//     optionally "E"/"e", an optional "-" and at least one digit. Anything
//     else ("1E", two decimal separators, "E5") reads as 0.
// Examples: "1,024" -> 1024, "(5)" -> -5, "(5" -> 5, "+7" -> 7, "12ab3" -> 123,
// "1E-1" -> 0.1, "abc" -> 0.
//
// A well-formed number beyond the range of long double ("1e5000") reads as
// +infinity or -infinity: it is the box's "reading fails in any other way",
// which the value rules below turn into `Min`. No text reads as NaN, and no
// text raises an error (only running out of memory can throw).
long double ParseNumberText(std::u16string_view text, const NumberSymbols& symbols);

// Writes a number with the display format ",0;(,0)": rounded to a whole
// number with halves away from zero (2.5 -> "3", -2.5 -> "(3)"), its digits
// grouped in threes from the right with the locale's grouping separator, a
// negative number's magnitude in parentheses (-5 -> "(5)", -1234 -> "(1,234)").
//
// The digits are the exact decimal value of the rounded number, however large
// (the largest long double has 4933 digits). The section is chosen by the
// rounded number, so anything that rounds to zero (-0.4, -0.0) is "0".
// Infinities and NaN have no digits: +infinity is "INF", -infinity "(INF)"
// (the negative section's parentheses) and NaN "NAN"; each reads back as 0.
std::u16string FormatNumberText(long double value, const NumberSymbols& symbols);

// ---------------------------------------------------------------------------
// The box's value, as a model over its text
//
// Each function takes the box's current text and says what the box does. A
// returned new text always differs from the current one: the box puts it in
// and raises its change event once. No text (std::nullopt) means the text
// stays as it is and no change event is raised. `min` and `max` are the box's
// configured bounds (1 and 65535 in this window).

// What reading `Value` gives and does.
struct ValueReading {
    long double Value = 0;
    // Set when reading replaced the text (an empty box).
    std::optional<std::u16string> NewText;
};

// Reading `Value`. An exactly empty text (not one of only spaces) becomes the
// formatted `min` ("1"), and the value is that text's value. Any other text is
// read by ParseNumberText without a range check ("0", "-5", "70000" read as
// 0, -5, 70000), except that a text whose reading fails (a number beyond the
// range of long double) gives `min` and stays as it is.
ValueReading ReadValue(std::u16string_view text, long double min, const NumberSymbols& symbols);

// Writing `value` to `Value`. Nothing happens when the current text already
// reads as `value` (by ParseNumberText, so "" and "abc" both already hold 0);
// otherwise the new text is FormatNumberText(value), without range check or
// clamping (and without change when that text is the current one, as when
// 2.5 is written over "3").
std::optional<std::u16string> WriteValue(std::u16string_view text, long double value,
                                         const NumberSymbols& symbols);

// The box receiving the focus: the text is read and written back in display
// form, without range check ("1234" -> "1,234", "-5" -> "(5)", "" -> "0"). A
// text whose reading fails is left as it stands. (Selecting the whole text is
// the view's business.)
std::optional<std::u16string> TextOnFocusArrival(std::u16string_view text,
                                                 const NumberSymbols& symbols);

// The focus moving from the box to another control of the window: the text is
// read, a number below `min` becomes `min`, otherwise one above `max` becomes
// `max`, and the text is written back in display form ("70000" -> "65,535",
// "0" -> "1", "1,234.5" -> "1,235"). A text whose reading fails is treated as
// writing `min` to `Value`. The check runs only because `min` != `max`: with
// equal bounds it is skipped and the text stays as it is.
std::optional<std::u16string> TextOnFocusLeave(std::u16string_view text, long double min,
                                               long double max, const NumberSymbols& symbols);

}  // namespace controls
