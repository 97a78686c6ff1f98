// A value as the program's one-line messages show it.
#pragma once

#include <string>
#include <string_view>

namespace base {

// `value` in double quotes, as given, but for the characters that would break the line
// or not show: tab, line feed and carriage return as \t, \n, \r, other control characters
// (C0, DEL, C1) as \xHH, and the line and paragraph separators as \uHHHH. An empty value
// reads "".
std::u16string Quoted(std::u16string_view value);

}  // namespace base
