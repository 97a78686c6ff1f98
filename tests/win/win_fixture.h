// Helpers for driving the real window in-process: pumping the loop, waiting for a
// condition with a generous deadline, and the recorded error reports.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win/main_window/main_window.h"
#include "win/ui/application.h"

namespace wintest {

struct ErrorReport {
    std::u16string title;
    std::u16string text;
    HWND owner = nullptr;  // of the box
};
std::vector<ErrorReport>& ErrorLog();
// Makes the application record its error reports in ErrorLog instead of showing a box.
void RecordErrors();

// Handles waiting messages for `duration`, sleeping between them.
void Pump(std::chrono::milliseconds duration = std::chrono::milliseconds(0));
// Pumps until `condition` holds or `timeout` passes; returns whether it held.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Options that lay the window out for `dpi` instead of asking the platform.
inline MainWindow::Options At(int dpi) {
    MainWindow::Options options;
    options.MonitorDpi = dpi;
    return options;
}

// A freshly built main window, shown and active, as the user sees it.
std::unique_ptr<MainWindow> ShowForm(MainWindow::Options options);
std::unique_ptr<MainWindow> ShowForm();

std::u16string TextOf(HWND hwnd);

// Client-area rectangle of `child` relative to the client area of `parent`.
RECT RectIn(HWND child, HWND parent);

// Real input, injected, then pumped until all of it has been handled (a marker key's
// release follows it through the queue): no fixed sleeps.
void SendInputAndWait(std::vector<INPUT> inputs);
// A click at a point of `hwnd`'s client area; a key (with Shift) to the focused window.
void ClickAt(HWND hwnd, int x, int y);
void PressKey(WORD vk, bool shift = false);
// `vk` pressed while `held` (VK_CONTROL, VK_MENU, ...) is held down, as the user types a
// shortcut.
void PressChord(WORD held, WORD vk);

// The folder of this test program, ending in a separator: the probes are built beside it.
std::wstring ExeDir();

// The second test process, a11y_probe.exe (built beside this program), started with
// `queries` (see its source). Finish pumps this thread's messages until it has ended (it
// asks the window, which answers on this thread) and returns its lines.
class ProbeProcess {
public:
    explicit ProbeProcess(const std::vector<std::wstring>& queries);
    ~ProbeProcess();
    ProbeProcess(const ProbeProcess&) = delete;
    ProbeProcess& operator=(const ProbeProcess&) = delete;

    bool Ended() const;
    std::vector<std::string> Finish();

private:
    std::wstring output_;
    HANDLE process_ = nullptr;
};

// Runs the probe with `queries` to its end.
std::vector<std::string> Probe(const std::vector<std::wstring>& queries);

}  // namespace wintest
