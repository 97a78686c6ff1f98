// The portable core keeps texts as UTF-16 std::u16string; on Windows wchar_t is UTF-16 too.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ui {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* Wide(const std::u16string& s) noexcept {
    return reinterpret_cast<const wchar_t*>(s.c_str());
}
inline std::wstring ToWide(std::u16string_view s) {
    return {reinterpret_cast<const wchar_t*>(s.data()), s.size()};
}
inline std::u16string ToU16(std::wstring_view s) {
    return {reinterpret_cast<const char16_t*>(s.data()), s.size()};
}

// The text of a window or control.
std::wstring WindowText(HWND hwnd);
// UTF-8 (the texts of std::exception) as UTF-16, and back.
std::wstring FromUtf8(std::string_view utf8);
std::string ToUtf8(std::wstring_view text);

}  // namespace ui
