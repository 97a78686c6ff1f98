#include "win/ui/win32_error.h"

#include <cstdio>

#include "win/ui/handles.h"
#include "win/ui/text.h"

namespace ui {
namespace {

// A GetLastError value stands for itself; other codes are written as the HRESULT.
std::string CodeText(HRESULT result) {
    char buffer[16]{};
    if (HRESULT_FACILITY(result) == FACILITY_WIN32) {
        std::snprintf(buffer, sizeof buffer, "%lu",
                      static_cast<unsigned long>(HRESULT_CODE(result)));
    } else {
        std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(result));
    }
    return buffer;
}

std::string Compose(std::string_view action, HRESULT result) {
    std::string text(action);
    if (result == S_OK) return text;  // the platform kept no reason
    const std::string reason = SystemMessage(result);
    if (!reason.empty()) text += ": " + reason;
    text += " (" + CodeText(result) + ")";
    return text;
}

}  // namespace

std::string SystemMessage(HRESULT result) {
    const DWORD code = HRESULT_FACILITY(result) == FACILITY_WIN32
                           ? static_cast<DWORD>(HRESULT_CODE(result))
                           : static_cast<DWORD>(result);
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const UniqueLocal<wchar_t> owner(buffer);
    std::wstring wide(buffer ? buffer : L"", buffer ? length : 0);
    // The platform's texts end with a full stop and a line break; the error box adds its own.
    for (wchar_t& c : wide) {
        if (c == L'\r' || c == L'\n') c = L' ';
    }
    while (!wide.empty() && (wide.back() == L' ' || wide.back() == L'.')) wide.pop_back();
    return ToUtf8(wide);
}

Win32Error::Win32Error(std::string_view action, HRESULT result, bool)
    : std::runtime_error(Compose(action, result)), result_(result) {}

Win32Error::Win32Error(std::string_view action, DWORD code)
    : Win32Error(action, code == 0 ? S_OK : HRESULT_FROM_WIN32(code), true) {}

Win32Error Win32Error::FromHresult(std::string_view action, HRESULT result) {
    return Win32Error(action, result, true);
}

Win32Error Win32Error::FromLastError(std::string_view action) {
    return Win32Error(action, GetLastError());
}

}  // namespace ui
