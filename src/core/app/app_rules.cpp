#include "core/app/app_rules.h"

#include "core/base/text_case.h"

namespace app {

std::u16string ApplicationTitleFromPath(std::u16string_view exePath) {
    const auto sep = exePath.find_last_of(u"\\/");
    std::u16string_view name = sep == std::u16string_view::npos ? exePath : exePath.substr(sep + 1);
    name = name.substr(0, name.find(u'.'));
    std::u16string title(name);
    for (std::size_t i = 1; i < title.size(); ++i) title[i] = base::ToLowerChar(title[i]);
    return title;
}

std::u16string ErrorBoxText(std::u16string_view message) {
    std::u16string text(message);
    if (!text.empty() && text.back() > u'.') text.push_back(u'.');
    return text;
}

}  // namespace app
