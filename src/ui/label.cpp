#include "ui/label.h"

#include "ui/text.h"

namespace ui {

void Label::CreateWindowFor(HWND parent, const RECT& rect) {
    const std::wstring text = ToWide(Design().text);
    CreateStandard(L"STATIC",
                   {.text = text.c_str(),
                    .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFT | SS_NOPREFIX,
                    .parent = parent,
                    .rect = rect});
}

}  // namespace ui
