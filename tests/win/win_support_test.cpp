// Definitions of the shared helpers (a *_test.cpp so the suite's glob picks it up).
#include <thread>

#include "ui/text.h"
#include "win_fixture.h"

namespace wintest {

std::vector<ErrorReport>& ErrorLog() {
    static std::vector<ErrorReport> log;
    return log;
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

std::unique_ptr<TForm1> ShowForm() {
    return ShowForm(TForm1::Options{});
}

std::unique_ptr<TForm1> ShowForm(TForm1::Options options) {
    auto form = std::make_unique<TForm1>(std::move(options));
    TForm1* raw = form.get();
    ui::Application::Current()->SetMainWindow(
        form->Handle(), [raw](const MSG& msg) { return raw->PreviewKey(msg); });
    form->Show(SW_SHOWNORMAL);
    SetForegroundWindow(form->Handle());
    Pump(std::chrono::milliseconds(50));
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

void ClickAt(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    SetCursorPos(pt.x, pt.y);
    INPUT in[2]{};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    Pump(std::chrono::milliseconds(30));
}

void PressKey(WORD vk, bool shift) {
    std::vector<INPUT> in;
    auto key = [&](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (shift) key(VK_SHIFT, false);
    key(vk, false);
    key(vk, true);
    if (shift) key(VK_SHIFT, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    Pump(std::chrono::milliseconds(30));
}

}  // namespace wintest
