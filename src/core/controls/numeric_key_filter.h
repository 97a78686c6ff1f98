// Which typed characters the tuning-word edit box (`incrementBox`) lets through.
//
// A pure function of the character, the box's text and selection and the
// locale's symbols. The Win32 edit box asks it about every character message
// and hands an accepted character on to the platform's edit control; a refused
// one is discarded with the alert sound. Pasting and cutting by other means
// than a typed character never come here and are not filtered.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/controls/numeric_text.h"

namespace controls {

// The box's selection in UTF-16 code units; an empty selection is the caret.
struct TextSelection {
    std::size_t Start = 0;
    std::size_t Length = 0;
};

struct KeyVerdict {
    bool Accepted = false;
    // The character to hand on when accepted: the typed one, or the locale's
    // decimal separator for the keypad's decimal key.
    char16_t Character = 0;
};

// The box's rule for one typed character `typed`, produced by the numeric
// keypad's decimal key when `decimalPressed` (the box's FDecimalPressed):
//  1. The keypad's decimal key gives the locale's decimal separator, whatever
//     character the keyboard layout gave it.
//  2. Enter (CR) is refused. Every other control character (below U+0020)
//     passes, as do "0"-"9", "+", "-", "(" and ")". Everything else is
//     refused: letters, space, the decimal and grouping separators, "*", ...
//  3. "+" and "-" pass only when the selection starts at the start of the text
//     and the text holds neither "+" nor "-", or the whole text is selected,
//     or the selection is not empty and holds a "+" or "-".
//  4. Any other character that passed step 2 (a digit, a parenthesis, or a
//     control character such as Backspace or Ctrl+V's U+0016) is refused when
//     the caret stands at the start of a text beginning with "+" or "-" and
//     nothing is selected: nothing may be typed in front of the sign.
// A selection reaching past the end of the text is taken as ending there.
KeyVerdict FilterTypedCharacter(char16_t typed, bool decimalPressed, std::u16string_view text,
                                TextSelection selection, const NumberSymbols& symbols);

}  // namespace controls
