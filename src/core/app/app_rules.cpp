#include "core/app/app_rules.h"

namespace app {

char16_t ToLowerChar(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0410 && c <= 0x042F) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0400 && c <= 0x040F) return static_cast<char16_t>(c + 0x50);
    return c;
}

std::u16string ApplicationTitleFromPath(std::u16string_view exePath) {
    const auto sep = exePath.find_last_of(u"\\/");
    std::u16string_view name = sep == std::u16string_view::npos ? exePath : exePath.substr(sep + 1);
    name = name.substr(0, name.find(u'.'));
    std::u16string title(name);
    for (std::size_t i = 1; i < title.size(); ++i) title[i] = ToLowerChar(title[i]);
    return title;
}

std::u16string ErrorBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.') text.push_back(u'.');
    return text;
}

}  // namespace app
