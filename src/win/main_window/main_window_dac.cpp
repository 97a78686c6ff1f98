// The main window's part in the DAC output window: the system menu's item, the key that
// opens it anywhere in the window, and the generator's state given to it after every
// change. Nothing else of the main window changes with it.
#include <string>
#include <utility>

#include "core/dac/texts.h"
#include "win/main_window/main_window.h"
#include "win/ui/text.h"

namespace {

// A command of the program's own in the system menu: below 0xF000, the low four bits
// clear (the platform uses them in WM_SYSCOMMAND).
constexpr UINT kDacCommand = 0x0DA0;
// Posted when this window is first shown with a DAC output window to open: an owned window
// shown before its owner may stay below it.
constexpr UINT kOpenStartDacMessage = WM_APP + 16;

bool CtrlOnly() {
    return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_SHIFT) >= 0;
}

}  // namespace

void MainWindow::AddDacMenuItem() {
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    if (!menu) return;
    const std::wstring text = ui::ToWide(dac::TextsIn(dacwin::UserLanguage()).MenuItem);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kDacCommand, text.c_str());
}

dacwin::DacWindow* MainWindow::DacOutput() const noexcept {
    return dacWindow_ && dacWindow_->Handle() ? dacWindow_.get() : nullptr;
}

void MainWindow::OpenDacWindow() {
    if (!DacOutput()) {
        // A window closed before is gone but for its object.
        dacWindow_.reset();
        dacWindow_ = std::make_unique<dacwin::DacWindow>(Handle(), dacwin::DacWindow::Options{});
        FollowInDac();
        dacWindow_->Show(SW_SHOWNORMAL);
    }
    SetForegroundWindow(dacWindow_->Handle());
    SetActiveWindow(dacWindow_->Handle());
}

void MainWindow::OpenStartDacWindow() {
    if (!dacAtShow_) return;
    const output::StartOptions options = *std::exchange(dacAtShow_, std::nullopt);
    OpenDacWindow();
    if (options.DacClockHz) dacWindow_->SetClockHz(*options.DacClockHz);
    if (options.Listen) dacWindow_->StartListening();
}

void MainWindow::FollowInDac() {
    if (dacwin::DacWindow* dac = DacOutput()) {
        dac->Follow(generator_.Accumulator(), generator_.Increment(), generator_.Wave());
    }
}

bool MainWindow::PreviewKey(const MSG& msg) {
    if (dacwin::DacWindow* dac = DacOutput(); dac && dac->PreviewKey(msg)) return true;
    const HWND window = Handle();
    if (msg.message == WM_KEYDOWN && msg.wParam == 'D' && CtrlOnly() &&
        (msg.hwnd == window || IsChild(window, msg.hwnd))) {
        OpenDacWindow();
        return true;
    }
    return Form::PreviewKey(msg);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == kDacCommand) {
                OpenDacWindow();
                return 0;
            }
            break;
        case WM_SHOWWINDOW:
            if (wp && dacAtShow_) PostMessageW(Handle(), kOpenStartDacMessage, 0, 0);
            break;
        case kOpenStartDacMessage:
            OpenStartDacWindow();
            return 0;
        default:
            break;
    }
    return Form::HandleMessage(msg, wp, lp);
}
