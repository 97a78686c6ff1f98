#include "win/output/save_dialog.h"

#include <commdlg.h>

#include <vector>

#include "core/base/text_case.h"
#include "win/output/file_output.h"
#include "win/ui/text.h"

namespace ui {

namespace {

// The question the dialog asks about the name it returns, asked about the name written.
bool ReplaceConfirmed(HWND owner, const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::wstring text = name + L" already exists.\nDo you want to replace it?";
    return MessageBoxW(owner, text.c_str(), L"Confirm Save As",
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

}  // namespace

SaveChoice ChoiceFor(std::wstring path, int typeIndex) {
    if (base::EndsWithNoCase(ToU16(path), u".png")) return {std::move(path), SaveFormat::Png};
    if (base::EndsWithNoCase(ToU16(path), u".csv")) return {std::move(path), SaveFormat::Csv};
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
    const std::wstring asked(file.data());
    SaveChoice choice = ChoiceFor(asked, static_cast<int>(ofn.nFilterIndex));
    // A quoted name gets no extension from the dialog, and "notes.txt" keeps its own; the
    // dialog asked about that name, not about the one with the type's extension.
    if (choice.Path != asked && PathExists(choice.Path) && !ReplaceConfirmed(owner, choice.Path)) {
        return std::nullopt;
    }
    return choice;
}

}  // namespace ui
