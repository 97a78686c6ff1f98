// The two numeric symbols of the user's regional settings that the program writes and
// reads numbers with. The Win32 layer reads them (ui/locale.h); the portable rules take
// them as an input. The defaults are those of English (United States).
#pragma once

namespace base {

struct NumberSymbols {
    // Between the whole part and the decimals.
    char16_t Decimal = u'.';
    // Between groups of three digits; u'\0' where the locale groups with no separator.
    char16_t Grouping = u',';
    friend constexpr bool operator==(const NumberSymbols&, const NumberSymbols&) = default;
};

}  // namespace base
