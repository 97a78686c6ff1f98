#include "core/base/text_case.h"

namespace base {

char16_t ToLowerChar(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0410 && c <= 0x042F) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0400 && c <= 0x040F) return static_cast<char16_t>(c + 0x50);
    return c;
}

std::u16string Lowered(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = ToLowerChar(c);
    return out;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToLowerChar(a[i]) != ToLowerChar(b[i])) return false;
    }
    return true;
}

bool EndsWithNoCase(std::u16string_view text, std::u16string_view tail) {
    return text.size() >= tail.size() && EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace base
