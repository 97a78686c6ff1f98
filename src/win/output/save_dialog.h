// The system's Save dialog for the chart: two types, "PNG picture" and "CSV numbers",
// a default file name and the overwrite prompt.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace ui {

enum class SaveFormat { Png, Csv };

struct SaveChoice {
    std::wstring Path;
    SaveFormat Format = SaveFormat::Png;
};

// The path the user chose and its format, or none when the dialog was cancelled. A name
// ending in ".png" or ".csv" picks that format; any other name gets the extension of the
// type chosen in the dialog. The file written is the one the user was asked about: when
// that extension makes a name the dialog did not ask about and a file of that name
// exists, the user is asked about it, and "No" saves nothing.
std::optional<SaveChoice> ShowSaveDialog(HWND owner, std::wstring_view defaultName);

// The format and full path for a name and the type chosen (1: PNG, 2: CSV).
SaveChoice ChoiceFor(std::wstring path, int typeIndex);

}  // namespace ui
