#include "win/ui/std_error.h"

#include <windows.h>

#include "win/ui/handles.h"
#include "win/ui/text.h"

namespace ui {

namespace {

bool WriteAll(HANDLE handle, std::u16string_view text) {
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        DWORD written = 0;
        return WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written,
                             nullptr) != FALSE;
    }
    // A pipe or a file takes UTF-8.
    std::string bytes = ToUtf8(ToWide(text));
    std::string_view left = bytes;
    while (!left.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, left.data(), static_cast<DWORD>(left.size()), &written, nullptr) ||
            written == 0) {
            return false;
        }
        left.remove_prefix(written);
    }
    return true;
}

}  // namespace

bool WriteErrorLine(std::u16string_view line) {
    const std::u16string text = std::u16string(line) + u"\r\n";
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (handle && handle != INVALID_HANDLE_VALUE && WriteAll(handle, text)) return true;
    // Started from a console without redirection: a GUI program has no handle of its own.
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    const UniqueFile console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         0, nullptr));
    return console && WriteAll(console.Get(), text);
}

}  // namespace ui
