// The user's regional number symbols, read from the platform's settings. Controls that
// show numbers read them when created and again on WM_SETTINGCHANGE.
#pragma once

#include "core/base/number_symbols.h"

namespace ui {

// The user's decimal and grouping separators now; the defaults of base::NumberSymbols
// where the platform gives none.
base::NumberSymbols UserNumberSymbols();

}  // namespace ui
