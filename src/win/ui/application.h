// The one application object of the process: its title and icon, the graphics library's
// lifetime, the message loop and the error box.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "win/ui/handles.h"

namespace ui {

class Application {
public:
    // Shows an error: title and text, already with its full stop, in a box owned by
    // `owner`, which the box disables while it is open. A seam for tests; the program's own
    // is ShowErrorBox.
    using ErrorSink =
        std::function<void(HWND owner, std::u16string_view title, std::u16string_view text)>;
    // The main window's keyboard handling; true when it consumed the message.
    using KeyPreview = std::function<bool(const MSG&)>;

    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The application of this process, or null before it exists and after it is gone.
    static Application* Current() noexcept;

    const std::u16string& Title() const noexcept { return title_; }
    HICON LargeIcon() const noexcept { return largeIcon_.Get(); }
    HICON SmallIcon() const noexcept { return smallIcon_.Get(); }

    void SetMainWindow(HWND hwnd, KeyPreview preview);
    HWND MainWindow() const noexcept { return mainWindow_; }

    // Runs the loop until the quit request; returns its exit code.
    int Run();
    // Handles every waiting message without sleeping; false once the quit request came.
    bool ProcessMessages();
    // Tells the loop to end (the main window was closed).
    void Terminate() noexcept { PostQuitMessage(0); }

    // The error rule: capture cancelled, text with its full stop, the box (owned by the
    // active window, or by the main window when the program is not in front), focus restored.
    void ReportError(std::exception_ptr error) noexcept;
    void SetErrorSink(ErrorSink sink) { errorSink_ = std::move(sink); }
    // The error box: modal, with the error icon and an OK button.
    static void ShowErrorBox(HWND owner, std::u16string_view title, std::u16string_view text);

private:
    void HandleOne(MSG& msg);

    std::u16string title_;
    UniqueIcon largeIcon_;
    UniqueIcon smallIcon_;
    HWND mainWindow_ = nullptr;
    KeyPreview keyPreview_;
    ErrorSink errorSink_;
    ULONG_PTR gdiplusToken_ = 0;
    bool comInitialised_ = false;
    bool quit_ = false;
    int exitCode_ = 0;
};

// The message of an exception, as UTF-16 (messages are UTF-8 std::exception texts).
std::u16string ExceptionMessage(std::exception_ptr error);

}  // namespace ui
