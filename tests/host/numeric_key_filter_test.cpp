// Which typed characters the tuning-word edit box lets through.
#include "core/controls/numeric_key_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using controls::FilterTypedCharacter;
using controls::NumberSymbols;

const NumberSymbols kEnglish{};           // "." decimal, "," grouping
const NumberSymbols kGerman{u',', u'.'};  // "," decimal, "." grouping
const NumberSymbols kNoBreakSpace{u',', u'\u00A0'};

constexpr char16_t kBackspace = 8;
constexpr char16_t kCtrlC = 3;
constexpr char16_t kCtrlV = 22;
constexpr char16_t kCtrlX = 24;
constexpr char16_t kCtrlEnter = 10;  // line feed
constexpr char16_t kCtrlBackspace = 127;
constexpr char16_t kEnter = 13;

constexpr std::size_t kAll = 4;  // length of the whole of "-256"

struct KeyCase {
    const char* what;
    char16_t typed;
    std::u16string_view text;
    std::size_t selStart;
    std::size_t selLength;
    bool accepted;
    bool decimalKey = false;
    const NumberSymbols* symbols = &kEnglish;
    char16_t handedOn = 0;  // 0: the typed character itself
};

const KeyCase kCases[] = {
    // The character set.
    {"digit at the end", u'0', u"256", 3, 0, true},
    {"digit in the middle", u'9', u"256", 1, 0, true},
    {"digit over a selection", u'7', u"256", 0, 3, true},
    {"opening parenthesis at the start", u'(', u"256", 0, 0, true},
    {"closing parenthesis at the end", u')', u"(256", 4, 0, true},
    {"lower-case letter", u'a', u"256", 3, 0, false},
    {"upper-case letter", u'E', u"256", 3, 0, false},
    {"space", u' ', u"256", 3, 0, false},
    {"dot", u'.', u"256", 3, 0, false},
    {"comma", u',', u"256", 3, 0, false},
    {"asterisk", u'*', u"256", 3, 0, false},
    {"digit of another script", u'\u0663', u"256", 3, 0, false},
    {"no-break space grouping", u'\u00A0', u"256", 3, 0, false, false, &kNoBreakSpace},
    {"Enter", kEnter, u"256", 3, 0, false},
    {"Enter in an empty box", kEnter, u"", 0, 0, false},
    {"Ctrl+Enter is a control character", kCtrlEnter, u"256", 3, 0, true},
    {"Ctrl+Backspace's DEL is not a control character", kCtrlBackspace, u"256", 3, 0, false},

    // The keypad's decimal key.
    {"keypad decimal, English", u'.', u"256", 3, 0, false, true, &kEnglish, u'.'},
    {"keypad decimal, German", u'.', u"256", 3, 0, false, true, &kGerman, u','},
    {"keypad decimal whatever the layout gave", u'5', u"256", 3, 0, false, true, &kEnglish, u'.'},
    {"comma typed, German decimal", u',', u"256", 3, 0, false, false, &kGerman},
    {"dot typed, German grouping", u'.', u"256", 3, 0, false, false, &kGerman},

    // Signs: at the start, and one of the three conditions.
    {"minus at the start of an unsigned text", u'-', u"256", 0, 0, true},
    {"plus at the start of an unsigned text", u'+', u"256", 0, 0, true},
    {"minus in an empty box", u'-', u"", 0, 0, true},
    {"minus after the start", u'-', u"256", 1, 0, false},
    {"minus at the end", u'-', u"256", 3, 0, false},
    {"minus over an unsigned part after the start", u'-', u"256", 1, 2, false},
    {"second minus", u'-', u"-256", 0, 0, false},
    {"plus before a minus", u'+', u"-256", 0, 0, false},
    {"minus before a plus", u'-', u"+7", 0, 0, false},
    {"minus with a sign further on", u'-', u"1-2", 0, 0, false},
    {"minus, whole text selected", u'-', u"-256", 0, kAll, true},
    {"plus, whole text selected", u'+', u"-256", 0, kAll, true},
    {"minus, whole text with an inner sign", u'-', u"12-3", 0, 4, true},
    {"plus over the sign and a digit", u'+', u"-256", 0, 2, true},
    {"minus over a part reaching an inner sign", u'-', u"1-2", 0, 2, true},
    {"minus over a part before an inner sign", u'-', u"1-2", 0, 1, false},
    {"minus over an inner sign, not from the start", u'-', u"2-56", 1, 2, false},
    {"minus over the whole text but one", u'-', u"-256", 0, 3, true},
    {"minus over digits, sign elsewhere", u'-', u"25-6", 0, 2, false},

    // Nothing in front of a sign.
    {"digit before a minus", u'7', u"-256", 0, 0, false},
    {"digit before a plus", u'1', u"+7", 0, 0, false},
    {"digit after the minus", u'7', u"-256", 1, 0, true},
    {"digit over the minus", u'7', u"-256", 0, 1, true},
    {"digit at the start of an unsigned text", u'7', u"256", 0, 0, true},
    {"parenthesis before a minus", u'(', u"-256", 0, 0, false},
    {"Backspace before a minus", kBackspace, u"-256", 0, 0, false},
    {"Backspace before a plus", kBackspace, u"+7", 0, 0, false},
    {"Backspace after the minus", kBackspace, u"-256", 1, 0, true},
    {"Backspace at the end", kBackspace, u"-256", 4, 0, true},
    {"Backspace over the whole text", kBackspace, u"-256", 0, kAll, true},
    {"Ctrl+V before a minus", kCtrlV, u"-256", 0, 0, false},
    {"Ctrl+V after the minus", kCtrlV, u"-256", 2, 0, true},
    {"Ctrl+V at the start of an unsigned text", kCtrlV, u"256", 0, 0, true},
    {"Ctrl+C before a minus", kCtrlC, u"-256", 0, 0, false},
    {"Ctrl+C with the whole text selected", kCtrlC, u"-256", 0, kAll, true},
    {"Ctrl+X before a minus", kCtrlX, u"-256", 0, 0, false},
    {"Ctrl+X over the minus", kCtrlX, u"-256", 0, 1, true},
    {"Backspace in an empty box", kBackspace, u"", 0, 0, true},

    // A selection the text does not reach is cut at its end.
    {"caret beyond the end", u'7', u"256", 5, 0, true},
    {"selection beyond the end", u'-', u"-256", 0, 99, true},
    {"minus with the caret beyond the end", u'-', u"256", 5, 0, false},
};

TEST(FilterTypedCharacter, Table) {
    for (const KeyCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const controls::KeyVerdict verdict = FilterTypedCharacter(
            c.typed, c.decimalKey, c.text, {c.selStart, c.selLength}, *c.symbols);
        EXPECT_EQ(verdict.Accepted, c.accepted);
        EXPECT_EQ(static_cast<int>(verdict.Character),
                  static_cast<int>(c.handedOn != 0 ? c.handedOn : c.typed));
    }
}

}  // namespace
