// The program's one rule for reading text without regard to case: option names, the names
// they take, file extensions and device names.
#pragma once

#include <string>
#include <string_view>

namespace base {

// Lower case of one UTF-16 code unit for the scripts the program's names use (ASCII,
// Latin-1, Cyrillic); other characters are returned unchanged.
char16_t ToLowerChar(char16_t c);

// `text` with every character in lower case as ToLowerChar makes it.
std::u16string Lowered(std::u16string_view text);

// Whether `a` and `b` are equal once both are in lower case.
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

// Whether `text` ends with `tail`, read without regard to case.
bool EndsWithNoCase(std::u16string_view text, std::u16string_view tail);

}  // namespace base
