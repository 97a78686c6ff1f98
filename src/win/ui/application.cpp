#include "win/ui/application.h"

#include <commctrl.h>
#include <objbase.h>

#include <stdexcept>
#include <vector>

#include "core/app/app_rules.h"
#include "win/ui/error_report.h"
#include "win/ui/gdiplus_include.h"
#include "win/ui/text.h"

namespace ui {
namespace {

Application* g_current = nullptr;  // the process's one application object

std::u16string ModuleFileName() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return ToU16({buffer.data(), n});
        buffer.resize(buffer.size() * 2);
    }
}

HICON LoadAppIcon(int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size,
                                         size, LR_DEFAULTCOLOR));
}

}  // namespace

std::u16string ExceptionMessage(std::exception_ptr error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return ToU16(FromUtf8(e.what()));
    } catch (...) {
        return u"Unknown error";
    }
    return {};
}

void Application::ShowErrorBox(HWND owner, std::u16string_view title, std::u16string_view text) {
    const std::wstring t = ToWide(title);
    const std::wstring m = ToWide(text);
    MessageBoxW(owner, m.c_str(), t.c_str(), MB_ICONERROR | MB_OK);
}

void ReportException(std::exception_ptr error) noexcept {
    if (Application* app = Application::Current()) app->ReportError(error);
}

Application::Application() {
    if (g_current) throw std::logic_error("One application object per process");
    // The GUI thread is a single-threaded apartment: the objects the controls give to
    // assistive technology are called on it, through the message loop.
    comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr) != Gdiplus::Ok) gdiplusToken_ = 0;
    title_ = app::ApplicationTitleFromPath(ModuleFileName());
    largeIcon_.Reset(LoadAppIcon(GetSystemMetrics(SM_CXICON)));
    smallIcon_.Reset(LoadAppIcon(GetSystemMetrics(SM_CXSMICON)));
    errorSink_ = ShowErrorBox;
    g_current = this;
}

Application::~Application() {
    g_current = nullptr;
    if (gdiplusToken_) Gdiplus::GdiplusShutdown(gdiplusToken_);
    if (comInitialised_) CoUninitialize();
}

Application* Application::Current() noexcept {
    return g_current;
}

void Application::SetMainWindow(HWND hwnd, KeyPreview preview) {
    mainWindow_ = hwnd;
    keyPreview_ = std::move(preview);
}

void Application::HandleOne(MSG& msg) {
    try {
        // A copy: the preview may end the window that set it, and with it its own setting.
        if (const KeyPreview preview = keyPreview_; preview && preview(msg)) return;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    } catch (...) {
        ReportError(std::current_exception());
    }
}

bool Application::ProcessMessages() {
    MSG msg{};
    while (!quit_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit_ = true;
            exitCode_ = static_cast<int>(msg.wParam);
            break;
        }
        HandleOne(msg);
    }
    return !quit_;
}

int Application::Run() {
    while (ProcessMessages()) WaitMessage();
    return exitCode_;
}

void Application::ReportError(std::exception_ptr error) noexcept {
    try {
        if (GetCapture()) ReleaseCapture();
        const std::u16string text = app::ErrorBoxText(ExceptionMessage(error));
        HWND focus = GetFocus();
        HWND active = GetActiveWindow();
        // The box disables its owner while it is open. The active window is this thread's
        // only while the program is in front; otherwise (a failing tick while another
        // program is active) the main window owns the box.
        HWND owner = active ? active : mainWindow_;
        if (errorSink_) errorSink_(owner, title_, text);
        if (active && IsWindow(active)) SetActiveWindow(active);
        if (focus && IsWindow(focus)) SetFocus(focus);
    } catch (...) {
        // Reporting must never throw out of a window procedure; nothing more can be done.
    }
}

}  // namespace ui
