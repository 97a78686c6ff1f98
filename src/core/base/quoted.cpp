#include "core/base/quoted.h"

namespace base {

namespace {

void PutHex(std::u16string& out, char16_t c, int digits) {
    constexpr std::u16string_view kHex = u"0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xFu];
}

}  // namespace

std::u16string Quoted(std::u16string_view value) {
    std::u16string out = u"\"";
    for (const char16_t c : value) {
        if (c == u'\t') {
            out += u"\\t";
        } else if (c == u'\n') {
            out += u"\\n";
        } else if (c == u'\r') {
            out += u"\\r";
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            out += u"\\x";
            PutHex(out, c, 2);
        } else if (c == 0x2028 || c == 0x2029) {
            out += u"\\u";
            PutHex(out, c, 4);
        } else {
            out += c;
        }
    }
    return out + u"\"";
}

}  // namespace base
