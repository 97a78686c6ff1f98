// Definitions of the shared helpers (a *_test.cpp so the suite's glob picks it up).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "win/ui/text.h"
#include "win_fixture.h"

namespace wintest {

std::vector<ErrorReport>& ErrorLog() {
    static std::vector<ErrorReport> log;
    return log;
}

void RecordErrors() {
    ui::Application::Current()->SetErrorSink(
        [](HWND owner, std::u16string_view title, std::u16string_view text) {
            ErrorLog().push_back({std::u16string(title), std::u16string(text), owner});
        });
}

void Pump(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    do {
        ui::Application::Current()->ProcessMessages();
        if (std::chrono::steady_clock::now() >= end) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (true);
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        ui::Application::Current()->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

std::unique_ptr<MainWindow> ShowForm() {
    return ShowForm(MainWindow::Options{});
}

std::unique_ptr<MainWindow> ShowForm(MainWindow::Options options) {
    auto form = std::make_unique<MainWindow>(std::move(options));
    MainWindow* raw = form.get();
    ui::Application::Current()->SetMainWindow(
        form->Handle(), [raw](const MSG& msg) { return raw->PreviewKey(msg); });
    form->Show(SW_SHOWNORMAL);
    SetForegroundWindow(form->Handle());
    // Shown as the user sees it: active, with the keyboard focus inside it.
    HWND window = form->Handle();
    if (!PumpUntil([window] {
            HWND focus = GetFocus();
            return GetActiveWindow() == window && focus && IsChild(window, focus);
        })) {
        ADD_FAILURE() << "the window never became active with the focus inside it";
    }
    return form;
}

std::u16string TextOf(HWND hwnd) {
    return ui::ToU16(ui::WindowText(hwnd));
}

RECT RectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

namespace {

// A key that nothing in the program handles; its release is sent after injected input as
// a marker. Injected input stays in order, so once the marker has been taken from the
// queue, every message the input made for this thread has been taken and dispatched.
constexpr WORD kMarkerKey = VK_F24;

// Counts the marker's releases this thread takes from its queue, in any loop (the message
// hook sees every message that GetMessage or PeekMessage removes).
struct InputWatch {
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
        if (code == HC_ACTION && wp == PM_REMOVE) {
            const MSG& msg = *reinterpret_cast<const MSG*>(lp);
            if ((msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) &&
                msg.wParam == kMarkerKey) {
                ++Instance().markers;
            }
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }

    static InputWatch& Instance() {
        static InputWatch watch;
        return watch;
    }

    InputWatch() : hook(SetWindowsHookExW(WH_GETMESSAGE, &Hook, nullptr, GetCurrentThreadId())) {}
    ~InputWatch() {
        if (hook) UnhookWindowsHookEx(hook);
    }

    HHOOK hook;
    int markers = 0;
};

INPUT KeyInput(WORD vk, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return i;
}

}  // namespace

void SendInputAndWait(std::vector<INPUT> inputs) {
    InputWatch& watch = InputWatch::Instance();
    const int before = watch.markers;
    inputs.push_back(KeyInput(kMarkerKey, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (!PumpUntil([&] { return watch.markers > before; }, std::chrono::seconds(5))) {
        ADD_FAILURE() << "the injected input never arrived (is the window active?)";
    }
}

void ClickAt(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    SetCursorPos(pt.x, pt.y);
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    INPUT up = down;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInputAndWait({down, up});
}

void PressKey(WORD vk, bool shift) {
    std::vector<INPUT> in;
    if (shift) in.push_back(KeyInput(VK_SHIFT, false));
    in.push_back(KeyInput(vk, false));
    in.push_back(KeyInput(vk, true));
    if (shift) in.push_back(KeyInput(VK_SHIFT, true));
    SendInputAndWait(std::move(in));
}

void PressChord(WORD held, WORD vk) {
    INPUT down = KeyInput(vk, false);
    // Insert is one of the keys beside the main block: without the flag it reads as the
    // keypad's 0.
    if (vk == VK_INSERT) down.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInputAndWait({KeyInput(held, false), down, up, KeyInput(held, true)});
}

std::wstring ExeDir() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir(self);
    dir.resize(dir.find_last_of(L"\\/") + 1);
    return dir;
}

ProbeProcess::ProbeProcess(const std::vector<std::wstring>& queries) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int runs = 0;
    output_ = std::wstring(temp) + L"phasebox-probe-" + std::to_wstring(GetCurrentProcessId()) +
              L"-" + std::to_wstring(++runs) + L".txt";
    std::wstring command = L"\"" + ExeDir() + L"a11y_probe.exe\" \"" + output_ + L"\"";
    for (const std::wstring& q : queries) command += L" " + q;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        ADD_FAILURE() << "cannot start a11y_probe.exe: " << GetLastError();
        return;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
}

ProbeProcess::~ProbeProcess() {
    if (process_) {
        TerminateProcess(process_, 1);
        CloseHandle(process_);
    }
    DeleteFileW(output_.c_str());
}

bool ProbeProcess::Ended() const {
    return !process_ || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

std::vector<std::string> ProbeProcess::Finish() {
    if (!process_) return {};
    const bool ended = PumpUntil([this] { return Ended(); }, std::chrono::seconds(30));
    DWORD code = 1;
    GetExitCodeProcess(process_, &code);
    EXPECT_TRUE(ended) << "the probe never ended";
    EXPECT_EQ(code, 0u) << "the probe's exit code";
    if (!ended) TerminateProcess(process_, 1);
    CloseHandle(process_);
    process_ = nullptr;
    std::vector<std::string> lines;
    std::ifstream in(std::filesystem::path(output_), std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Probe(const std::vector<std::wstring>& queries) {
    return ProbeProcess(queries).Finish();
}

}  // namespace wintest
