#include "ui/label.h"

namespace ui {

void Label::CreateWindowFor(HWND parent, const RECT& rect) {
    CreateStandardControl(L"STATIC", SS_LEFT | SS_NOPREFIX, parent, rect);
}

}  // namespace ui
