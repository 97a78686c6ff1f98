#include "win/output/save_dialog.h"

#include <commdlg.h>

#include <vector>

namespace ui {

namespace {

bool EndsWithNoCase(const std::wstring& text, std::wstring_view tail) {
    if (text.size() < tail.size()) return false;
    return CompareStringOrdinal(text.c_str() + text.size() - tail.size(),
                                static_cast<int>(tail.size()), tail.data(),
                                static_cast<int>(tail.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

SaveChoice ChoiceFor(std::wstring path, int typeIndex) {
    if (EndsWithNoCase(path, L".png")) return {std::move(path), SaveFormat::Png};
    if (EndsWithNoCase(path, L".csv")) return {std::move(path), SaveFormat::Csv};
    const bool csv = typeIndex == 2;
    path += csv ? L".csv" : L".png";
    return {std::move(path), csv ? SaveFormat::Csv : SaveFormat::Png};
}

std::optional<SaveChoice> ShowSaveDialog(HWND owner, std::wstring_view defaultName) {
    // Long paths are allowed; the file system says whether it can hold one.
    std::vector<wchar_t> file(32768, L'\0');
    defaultName.copy(file.data(), std::min(defaultName.size(), file.size() - 1));
    static constexpr wchar_t kFilter[] = L"PNG picture\0*.png\0CSV numbers\0*.csv\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = L"png";
    // No test file from the dialog: whether the folder takes the file is found out by
    // writing it, and a refusal is reported with the path and the reason.
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                OFN_NOTESTFILECREATE | OFN_EXPLORER;
    if (!GetSaveFileNameW(&ofn)) return std::nullopt;
    return ChoiceFor(file.data(), static_cast<int>(ofn.nFilterIndex));
}

}  // namespace ui
