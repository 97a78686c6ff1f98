// A second process that asks another program's window what assistive technology finds
// there, through oleacc as a screen reader does, and writes one line per query in UTF-8:
//
//     name <TAB> role <TAB> value
//
// with the role as its number (ROLE_SYSTEM_*) and "-" for what the object does not say.
// A query that fails writes "error <TAB> " and the failing call's result.
//
// Usage: a11y_probe OUTPUT QUERY...
//   OUTPUT  a file to write, or "-" for the standard output
//   QUERY   "X,Y": the object at that screen point (AccessibleObjectFromPoint);
//           "focus": the object of the focused window of the foreground thread; its
//           line ends with a fourth field, the window's class;
//           "activate:MS": a window of the probe's own takes the activation for MS
//           milliseconds and closes; its line is "activated" or "not activated".
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Utf8(const wchar_t* text, int length) {
    if (length <= 0) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
    return out;
}

// A string the object returned, or "-" when it returned none.
std::string Field(HRESULT hr, BSTR text) {
    std::string out = hr == S_OK && text ? Utf8(text, static_cast<int>(SysStringLen(text))) : "-";
    SysFreeString(text);
    return out;
}

std::string Describe(IAccessible* acc, const VARIANT& child) {
    BSTR name = nullptr;
    BSTR value = nullptr;
    VARIANT role;
    VariantInit(&role);
    const HRESULT nameResult = acc->get_accName(child, &name);
    const std::string n = Field(nameResult, name);
    const HRESULT valueResult = acc->get_accValue(child, &value);
    const std::string v = Field(valueResult, value);
    const HRESULT roleResult = acc->get_accRole(child, &role);
    const std::string r =
        roleResult == S_OK && role.vt == VT_I4 ? std::to_string(role.lVal) : std::string("-");
    VariantClear(&role);
    return n + '\t' + r + '\t' + v;
}

std::string Error(const char* call, HRESULT hr) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "error\t%s 0x%08lx", call, static_cast<unsigned long>(hr));
    return buffer;
}

std::string AtPoint(POINT pt) {
    IAccessible* acc = nullptr;
    VARIANT child;
    VariantInit(&child);
    const HRESULT hr = AccessibleObjectFromPoint(pt, &acc, &child);
    if (FAILED(hr) || !acc) return Error("AccessibleObjectFromPoint", hr);
    std::string line = Describe(acc, child);
    VariantClear(&child);
    acc->Release();
    return line;
}

std::string AtFocus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(0, &info)) {
        return Error("GetGUIThreadInfo", HRESULT_FROM_WIN32(GetLastError()));
    }
    if (!info.hwndFocus) return "(no focus)\t-\t-";
    IAccessible* acc = nullptr;
    const HRESULT hr =
        AccessibleObjectFromWindow(info.hwndFocus, static_cast<DWORD>(OBJID_CLIENT),
                                   __uuidof(IAccessible), reinterpret_cast<void**>(&acc));
    if (FAILED(hr) || !acc) return Error("AccessibleObjectFromWindow", hr);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    std::string line = Describe(acc, self);
    acc->Release();
    wchar_t className[64] = L"";
    const int length = GetClassNameW(info.hwndFocus, className, 64);
    return line + '\t' + Utf8(className, length);
}

// Another program's window in front: it takes the activation from the window under test
// (which then gets WM_SETFOCUS with no previous window when it comes back).
std::string TakeActivation(DWORD ms) {
    HWND window =
        CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"a11y_probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    if (!window) return Error("CreateWindowExW", HRESULT_FROM_WIN32(GetLastError()));
    SetForegroundWindow(window);
    bool active = false;
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        active = active || GetForegroundWindow() == window;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    DestroyWindow(window);
    return active ? "activated" : "not activated";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: a11y_probe OUTPUT QUERY...\n", stderr);
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
    std::string out;
    for (int i = 2; i < argc; ++i) {
        POINT pt{};
        unsigned long ms = 0;
        if (std::wcscmp(argv[i], L"focus") == 0) {
            out += AtFocus();
        } else if (std::swscanf(argv[i], L"activate:%lu", &ms) == 1) {
            out += TakeActivation(ms);
        } else if (std::swscanf(argv[i], L"%ld,%ld", &pt.x, &pt.y) == 2) {
            out += AtPoint(pt);
        } else {
            out += "error\tquery";
        }
        out += '\n';
    }
    CoUninitialize();
    FILE* file = std::wcscmp(argv[1], L"-") == 0 ? stdout : _wfopen(argv[1], L"wb");
    if (!file) return 4;
    std::fwrite(out.data(), 1, out.size(), file);
    if (file != stdout) std::fclose(file);
    return 0;
}
