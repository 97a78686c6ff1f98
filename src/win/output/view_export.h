// How a view's picture and numbers leave the window, the same for the chart and the
// spectrum: a copy puts both on the clipboard, a save writes the one the user chose.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "win/output/save_dialog.h"

namespace ui {

// A picture as a view shows it: top row first, 0x00RRGGBB.
struct ViewPicture {
    int WidthPx = 0;
    int HeightPx = 0;
    std::span<const std::uint32_t> Pixels;
};

// The picture (an opaque bitmap and a PNG file) and `text` on the clipboard, owned by
// `owner`. When another program keeps the clipboard, `alert` sounds (the system's alert
// when it is empty) and the result is false.
bool CopyViewToClipboard(HWND owner, const ViewPicture& picture, std::u16string_view text,
                         const std::function<void()>& alert);

// Asks for a file (through `choose` where a test has put one, else the Save dialog offering
// `defaultName`), then writes it whole or not at all: the picture as PNG, or `csv` as it
// stands. A failure is reported in the error box, naming the path and the reason.
using SaveChooser = std::function<std::optional<SaveChoice>(HWND owner)>;
void SaveView(HWND owner, const SaveChooser& choose, std::wstring_view defaultName,
              const ViewPicture& picture, std::string_view csv);

// The keys that take a view's picture and numbers out: Ctrl+C and Ctrl+Insert run `copy`,
// Ctrl+S runs `save`. False, running neither, for any other key.
bool RunExportKey(WPARAM key, const std::function<void()>& copy, const std::function<void()>& save);

}  // namespace ui
