// The one exception type of a failed platform call: what the program tried, the
// platform's code (GetLastError or an HRESULT) and the platform's own text for that code
// (FormatMessageW), so that the error box says why. what() reads
// "Cannot create a window: Invalid window handle (1400)".
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace ui {

class Win32Error : public std::runtime_error {
public:
    // `action` says what failed, in the program's words; `code` is GetLastError's value.
    Win32Error(std::string_view action, DWORD code);
    // The failure of a call that returns an HRESULT.
    static Win32Error FromHresult(std::string_view action, HRESULT result);
    // The failure of the call just made, with GetLastError read now.
    static Win32Error FromLastError(std::string_view action);

    // The code as an HRESULT (a GetLastError value in the Win32 facility).
    HRESULT Result() const noexcept { return result_; }

private:
    Win32Error(std::string_view action, HRESULT result, bool);
    HRESULT result_;
};

// The platform's text for `result` in UTF-8, one line without a closing full stop; empty
// when the platform has none.
std::string SystemMessage(HRESULT result);

}  // namespace ui
