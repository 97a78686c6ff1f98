#include "core/controls/numeric_key_filter.h"

#include <algorithm>

namespace controls {
namespace {

constexpr char16_t kCarriageReturn = u'\r';

bool IsSign(char16_t c) {
    return c == u'+' || c == u'-';
}

bool HoldsSign(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), IsSign);
}

bool PassesCharacterSet(char16_t c) {
    if (c == kCarriageReturn) return false;
    if (c < u' ') return true;
    return (c >= u'0' && c <= u'9') || IsSign(c) || c == u'(' || c == u')';
}

}  // namespace

KeyVerdict FilterTypedCharacter(char16_t typed, bool decimalPressed, std::u16string_view text,
                                TextSelection selection, const NumberSymbols& symbols) {
    const char16_t c = decimalPressed ? symbols.Decimal : typed;
    const KeyVerdict refused{false, c};
    const KeyVerdict accepted{true, c};
    if (!PassesCharacterSet(c)) return refused;

    const std::size_t start = std::min(selection.Start, text.size());
    const std::size_t length = std::min(selection.Length, text.size() - start);
    const std::u16string_view selected = text.substr(start, length);

    if (IsSign(c)) {
        // A selection of the whole text needs no test of its own: either the text holds no
        // sign or the selection holds it.
        return start == 0 && (!HoldsSign(text) || HoldsSign(selected)) ? accepted : refused;
    }
    const bool caretBeforeSign = start == 0 && length == 0 && !text.empty() && IsSign(text[0]);
    return caretBeforeSign ? refused : accepted;
}

}  // namespace controls
