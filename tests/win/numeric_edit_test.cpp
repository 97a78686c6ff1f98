// The tuning-word edit box in the real window: typed characters through real key strokes,
// the alert for a refused one, and the ways of changing the text that are not filtered.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;

// What reaches the box, seen by a subclass installed over the box's own: the characters
// it is sent, the keys released over it and the wheel turns, so that a test can wait
// until a stroke has been handled.
struct BoxTrace {
    std::u16string characters;
    std::vector<WPARAM> keyUps;
    int wheelTurns = 0;
};

LRESULT CALLBACK TraceBox(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                          DWORD_PTR ref) noexcept {
    auto* trace = reinterpret_cast<BoxTrace*>(ref);
    if (msg == WM_CHAR) trace->characters += static_cast<char16_t>(wp);
    if (msg == WM_KEYUP || msg == WM_SYSKEYUP) trace->keyUps.push_back(wp);
    if (msg == WM_MOUSEWHEEL) ++trace->wheelTurns;
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void AddKey(std::vector<INPUT>& in, WORD vk, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
}

// Real input: `vk` pressed and released while `modifiers` are held.
void SendStroke(WORD vk, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> in;
    for (WORD m : modifiers) AddKey(in, m, false);
    AddKey(in, vk, false);
    AddKey(in, vk, true);
    for (WORD m : modifiers) AddKey(in, m, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void SetClipboardText(HWND owner, std::u16string_view text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    ASSERT_NE(memory, nullptr);
    auto* chars = static_cast<char16_t*>(GlobalLock(memory));
    text.copy(chars, text.size());
    chars[text.size()] = u'\0';
    GlobalUnlock(memory);
    // The clipboard owns the memory from here on.
    EXPECT_NE(SetClipboardData(CF_UNICODETEXT, memory), nullptr);
    CloseClipboard();
}

std::u16string ClipboardText(HWND owner) {
    std::u16string text;
    if (!OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const char16_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

class NumericEditKeys : public ::testing::Test {
protected:
    void SetUp() override {
        form = wintest::ShowForm(wintest::At(120));
        box = form->incrementBox.Handle();
        form->incrementBox.Alert = [this] { ++alerts; };
        // Count the change events while keeping the window's own handler.
        auto handler = form->incrementBox.OnChange;
        form->incrementBox.OnChange = [this, handler](ui::Window& sender) {
            ++changes;
            handler(sender);
        };
        ASSERT_TRUE(SetWindowSubclass(box, TraceBox, 1, reinterpret_cast<DWORD_PTR>(&trace)));
        SetFocus(box);
        ASSERT_EQ(GetFocus(), box);
        ASSERT_EQ(Text(), u"256");
    }
    void TearDown() override {
        RemoveWindowSubclass(box, TraceBox, 1);
        form.reset();
    }

    std::u16string Text() const { return wintest::TextOf(box); }

    // Presses a key and waits until the box has handled it (its release reached the box).
    void Press(WORD vk, std::initializer_list<WORD> modifiers = {}) {
        const std::size_t seen = trace.keyUps.size();
        SendStroke(vk, modifiers);
        EXPECT_TRUE(wintest::PumpUntil([&] {
            for (std::size_t i = seen; i < trace.keyUps.size(); ++i) {
                if (trace.keyUps[i] == vk) return true;
            }
            return false;
        })) << "key "
            << vk << " never reached the box";
    }

    // Types `c` with the key of the current keyboard layout that makes it.
    void Type(char16_t c) {
        const SHORT key = VkKeyScanW(static_cast<wchar_t>(c));
        ASSERT_NE(key, -1) << "no key makes " << static_cast<int>(c);
        std::vector<WORD> held;
        if (HIBYTE(key) & 1) held.push_back(VK_SHIFT);
        if (HIBYTE(key) & 2) held.push_back(VK_CONTROL);
        ASSERT_LE(held.size(), 1u);
        if (held.empty()) {
            Press(LOBYTE(key));
        } else {
            Press(LOBYTE(key), {held[0]});
        }
    }
    void TypeText(std::u16string_view text) {
        for (char16_t c : text) Type(c);
    }

    void Select(int start, int end) { SendMessageW(box, EM_SETSEL, start, end); }
    std::pair<DWORD, DWORD> Selection() const {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    std::unique_ptr<MainWindow> form;
    HWND box = nullptr;
    BoxTrace trace;
    int alerts = 0;
    int changes = 0;
};

TEST_F(NumericEditKeys, RefusedCharactersLeaveTheTextAndSoundTheAlert) {
    Press(VK_END);
    TypeText(u"ab .,");
    EXPECT_EQ(trace.characters, u"ab .,") << "each stroke reached the box as its character";
    EXPECT_EQ(Text(), u"256");
    EXPECT_EQ(alerts, 5);
    Press(VK_RETURN);
    EXPECT_EQ(alerts, 6) << "Enter";
    // The keypad's decimal key: refused as the locale's separator; the next key is a
    // digit again.
    Press(VK_DECIMAL);
    EXPECT_EQ(alerts, 7) << "keypad decimal";
    Type(u'5');
    EXPECT_EQ(Text(), u"2565");
    EXPECT_EQ(alerts, 7);
    EXPECT_EQ(changes, 1) << "only the digit changed the text";
}

TEST_F(NumericEditKeys, ASignGoesOnlyInFrontAndNothingBeforeIt) {
    Press(VK_HOME);
    Type(u'-');
    EXPECT_EQ(Text(), u"-256");
    EXPECT_EQ(alerts, 0);
    EXPECT_EQ(form->Generator().Increment(), 65280) << "-256 holds while the box keeps the focus";
    Press(VK_HOME);
    TypeText(u"-+7");
    Press(VK_BACK);
    EXPECT_EQ(Text(), u"-256");
    EXPECT_EQ(alerts, 4) << "a second sign, a digit and Backspace in front of the sign";
    // After the sign, digits and parentheses go in.
    Press(VK_RIGHT);
    Type(u'7');
    Press('9', {VK_SHIFT});  // "(": this layout's VkKeyScan knows no key for it
    EXPECT_EQ(Text(), u"-7(256");
    EXPECT_EQ(alerts, 4);
    // Tab moves on to the next control, and the box corrects the text to its range.
    SendStroke(VK_TAB, {});
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetFocus() == form->resetButton.Handle(); }));
    EXPECT_EQ(Text(), u"1");
    EXPECT_EQ(form->Generator().Increment(), 1);
}

TEST_F(NumericEditKeys, PastingAndCuttingAreNotFiltered) {
    SetClipboardText(form->Handle(), u"1x");
    form->incrementBox.SetText(u"-256");
    Press(VK_HOME);
    Press('V', {VK_CONTROL});
    EXPECT_EQ(Text(), u"-256") << "Ctrl+V is a typed character, refused in front of the sign";
    EXPECT_EQ(alerts, 1);

    Press(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(Text(), u"1x-256") << "Shift+Insert pastes, letters and all";
    Press('V', {VK_CONTROL});
    EXPECT_EQ(Text(), u"1x1x-256") << "Ctrl+V away from the start";
    EXPECT_EQ(alerts, 1);

    // The context menu's Paste, in front of the sign. A menu that never closes is closed
    // by a timer so that the test fails instead of hanging.
    Select(0, 0);
    RECT client{};
    GetClientRect(box, &client);
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(box, &centre);
    SetCursorPos(centre.x, centre.y);
    std::vector<INPUT> in(2);
    in[0].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    AddKey(in, 'P', false);  // the menu item "&Paste"
    AddKey(in, 'P', true);
    const UINT_PTR guard =
        SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    EXPECT_TRUE(wintest::PumpUntil([&] { return Text() == u"1x1x1x-256"; }));
    KillTimer(nullptr, guard);
    EXPECT_EQ(alerts, 1);

    // Shift+Delete cuts the selection, whatever it holds and wherever it stands.
    Select(0, 6);
    Press(VK_DELETE, {VK_SHIFT});
    EXPECT_EQ(Text(), u"-256");
    EXPECT_EQ(ClipboardText(form->Handle()), u"1x1x1x");
    EXPECT_EQ(alerts, 1);
}

// Beyond the platform's default limit of 32767 characters: the paste goes in whole, and the
// value is read from all of it.
TEST_F(NumericEditKeys, ALongPasteGoesInWhole) {
    std::u16string longText(39997, u'0');
    longText += u"257";
    SetClipboardText(form->Handle(), longText);
    Select(0, -1);
    Press(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(Text().size(), longText.size());
    EXPECT_TRUE(Text() == longText);
    EXPECT_EQ(form->Generator().Increment(), 257) << "the last digits count";
    EXPECT_EQ(alerts, 0);
}

TEST_F(NumericEditKeys, NoKeyAndNoWheelStepsTheValue) {
    Press(VK_END);
    for (WORD vk : {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_LEFT, VK_RIGHT, VK_F4}) Press(vk);
    Press(VK_DOWN, {VK_MENU});
    RECT client{};
    GetClientRect(box, &client);
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(box, &centre);
    SetCursorPos(centre.x, centre.y);
    for (int delta : {WHEEL_DELTA, -WHEEL_DELTA}) {
        INPUT wheel{};
        wheel.type = INPUT_MOUSE;
        wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
        wheel.mi.mouseData = static_cast<DWORD>(delta);
        SendInput(1, &wheel, sizeof(INPUT));
    }
    EXPECT_TRUE(wintest::PumpUntil([&] { return trace.wheelTurns == 2; }));
    EXPECT_EQ(Text(), u"256");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(alerts, 0);
    EXPECT_EQ(GetFocus(), box);
}

// The editing shortcuts arrive as control characters, which the key rule refuses in
// front of a sign like any other character.
TEST_F(NumericEditKeys, EditingShortcutsInFrontOfASign) {
    struct Case {
        const char* what;
        WORD vk;
        WORD modifier;
        int alerts;  // added by the stroke
    };
    const Case cases[] = {
        {"Ctrl+Z", 'Z', VK_CONTROL, 1},
        {"Ctrl+Backspace", VK_BACK, VK_CONTROL, 1},
        {"Ctrl+C", 'C', VK_CONTROL, 1},
        {"Ctrl+X", 'X', VK_CONTROL, 1},
        {"Backspace", VK_BACK, 0, 1},
        // The edit control selects the whole text on the key itself; its character then
        // arrives with a selection and passes.
        {"Ctrl+A", 'A', VK_CONTROL, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->incrementBox.SetText(u"-256");
        Press(VK_HOME);
        const int before = alerts;
        const std::size_t characters = trace.characters.size();
        if (c.modifier != 0) {
            Press(c.vk, {c.modifier});
        } else {
            Press(c.vk);
        }
        ASSERT_EQ(trace.characters.size(), characters + 1) << "one character per stroke";
        const char16_t typed = trace.characters.back();
        EXPECT_TRUE(typed < u' ' || typed == u'\x7F') << static_cast<int>(typed);
        EXPECT_EQ(Text(), u"-256");
        EXPECT_EQ(alerts - before, c.alerts);
    }
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{0, 4})) << "Ctrl+A selected the text";

    // Away from the start the same shortcuts pass: Ctrl+Z undoes a typed digit.
    Press(VK_END);
    Type(u'1');
    ASSERT_EQ(Text(), u"-2561");
    const int before = alerts;
    Press('Z', {VK_CONTROL});
    EXPECT_EQ(Text(), u"-256");
    EXPECT_EQ(alerts, before);
}

}  // namespace
