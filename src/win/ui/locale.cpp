#include "win/ui/locale.h"

#include <windows.h>

namespace ui {
namespace {

// The first character of a locale text: u'\0' for an empty one (a locale that groups
// with no separator), `fallback` when the platform cannot say.
char16_t LocaleSymbol(LCTYPE type, char16_t fallback) {
    wchar_t buffer[8]{};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 8);
    if (length <= 0) return fallback;
    return static_cast<char16_t>(buffer[0]);
}

}  // namespace

base::NumberSymbols UserNumberSymbols() {
    const base::NumberSymbols defaults;
    return {LocaleSymbol(LOCALE_SDECIMAL, defaults.Decimal),
            LocaleSymbol(LOCALE_STHOUSAND, defaults.Grouping)};
}

}  // namespace ui
