// The keyboard focus on the real window, driven by real clicks and key strokes: it moves
// on when the focused control is disabled or hidden, the keyboard keeps working while no
// control has it, and the window's activation gives it back without counting as a move.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;

std::string NameOfFocus(const MainWindow& form) {
    HWND focus = GetFocus();
    if (!focus) return "(nowhere)";
    if (focus == form.Handle()) return "(the window)";
    auto* control = dynamic_cast<ui::Control*>(ui::Window::FromHandle(focus));
    return control ? std::string(control->Name()) : "(another window)";
}

class Focus : public testing::Test {
protected:
    void SetUp() override {
        wintest::ErrorLog().clear();
        form = wintest::ShowForm(wintest::At(120));
    }
    void TearDown() override { EXPECT_TRUE(wintest::ErrorLog().empty()); }

    void Click(const ui::Control& c) {
        const base::SizePx s = c.ClientSizePx();
        wintest::ClickAt(c.Handle(), s.Width / 2, s.Height / 2);
    }
    std::string Focused() const { return NameOfFocus(*form); }

    std::unique_ptr<MainWindow> form;
};

// The sequence a new user tries: "+" once, then the arrow to start. "+" is disabled while
// it has the focus; the focus goes on to the next tab stop and the keyboard keeps working.
TEST_F(Focus, StartingWhilePlusHasTheFocusMovesItOnAndTheKeysKeepWorking) {
    Click(form->stepButton);
    ASSERT_EQ(Focused(), "stepButton");
    EXPECT_EQ(form->lowByteDisplay.Caption(), u"0") << "one step of 256 leaves the low byte at 0";
    EXPECT_EQ(form->highByteDisplay.Caption(), u"1");
    Click(form->arrow);
    ASSERT_TRUE(form->runBox.Checked());
    ASSERT_FALSE(form->stepButton.Enabled());
    EXPECT_EQ(Focused(), "incrementBox") << "the next tab stop after the disabled \"+\"";

    wintest::PressKey(VK_TAB, true);
    EXPECT_EQ(Focused(), "speedSlider") << "Shift+Tab passes over the disabled \"+\"";
    wintest::PressKey(VK_TAB);
    EXPECT_EQ(Focused(), "incrementBox");
    wintest::PressKey(VK_TAB);
    EXPECT_EQ(Focused(), "resetButton");
    wintest::PressKey(VK_TAB);
    EXPECT_EQ(Focused(), "runBox");
    wintest::PressKey(VK_SPACE);
    EXPECT_FALSE(form->runBox.Checked()) << "Space on the start box stops the generator";
    EXPECT_TRUE(form->stepButton.Enabled());

    wintest::PressKey(VK_TAB, true);
    wintest::PressKey(VK_TAB, true);
    wintest::PressKey(VK_TAB, true);
    EXPECT_EQ(Focused(), "stepButton") << "enabled again, \"+\" is a tab stop again";
    const int points = form->outputLine.Count();
    wintest::PressKey(VK_RETURN);
    EXPECT_EQ(form->outputLine.Count(), points + 1) << "Enter on \"+\" steps once";
}

// How a control goes away while it has the focus, and where the focus must go next.
struct GoneCase {
    const char* focused;
    const char* gone;  // the control disabled or hidden: the focused one or a container
    bool hide;
    const char* expected;
};

void PrintTo(const GoneCase& c, std::ostream* os) {
    *os << c.focused << " with " << c.gone << (c.hide ? " hidden" : " disabled");
}

class FocusGone : public Focus, public testing::WithParamInterface<GoneCase> {};

TEST_P(FocusGone, TheFocusMovesToTheNextTabStop) {
    const GoneCase& c = GetParam();
    ui::Control* focused = form->FindControl(c.focused);
    ui::Control* gone = form->FindControl(c.gone);
    ASSERT_TRUE(focused && gone);
    SetFocus(focused->Handle());
    ASSERT_EQ(Focused(), c.focused);
    if (c.hide) {
        ShowWindow(gone->Handle(), SW_HIDE);
    } else {
        EnableWindow(gone->Handle(), FALSE);
    }
    // The move happens through the loop, before any input that waits.
    wintest::PressKey(VK_F23);
    EXPECT_EQ(Focused(), c.expected);
    wintest::PressKey(VK_TAB, true);
    wintest::PressKey(VK_TAB);
    EXPECT_EQ(Focused(), c.expected) << "Shift+Tab and Tab pass over what is gone";
}

INSTANTIATE_TEST_SUITE_P(
    DisabledOrHidden, FocusGone,
    testing::Values(GoneCase{"stepButton", "stepButton", false, "incrementBox"},
                    GoneCase{"resetButton", "resetButton", true, "runBox"},
                    GoneCase{"sinButton", "sinButton", false,
                             "waveformChart"},  // the last wraps to the first
                    GoneCase{"chartWidthSlider", "chartPanel", true, "speedSlider"},
                    GoneCase{"incrementBox", "accumulatorPanel", false, "sinButton"}));

TEST_F(Focus, TabAndShiftTabStillWorkWithTheFocusNowhere) {
    SetFocus(form->stepButton.Handle());
    SetFocus(nullptr);
    wintest::PressKey(VK_F23);
    ASSERT_EQ(GetFocus(), nullptr) << "a control that is still there is not given the focus back";
    ASSERT_EQ(GetActiveWindow(), form->Handle());
    wintest::PressKey(VK_TAB);
    EXPECT_EQ(Focused(), "incrementBox") << "Tab goes on from the control that had the focus last";
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(form->incrementBox.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u) << "arriving by keyboard selects the whole text";

    SetFocus(nullptr);
    wintest::PressKey(VK_TAB, true);
    EXPECT_EQ(Focused(), "stepButton");

    SetFocus(form->Handle());
    wintest::PressKey(VK_TAB);
    EXPECT_EQ(Focused(), "incrementBox") << "also while the window itself has the focus";
}

// ---------------------------------------------------------------------------
// Activation

// The box's text and selection as the user sees them.
struct BoxState {
    std::u16string text;
    DWORD start = 0;
    DWORD end = 0;
    friend bool operator==(const BoxState&, const BoxState&) = default;
};

BoxState StateOf(const controls::NumericEdit& box) {
    BoxState s{box.Text()};
    SendMessageW(box.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s.start),
                 reinterpret_cast<LPARAM>(&s.end));
    return s;
}

void PrintTo(const BoxState& s, std::ostream* os) {
    *os << '"' << std::string(s.text.begin(), s.text.end()) << "\" " << s.start << '-' << s.end;
}

// A top-level window of this process that takes the activation away and gives it back.
class OtherWindow {
public:
    OtherWindow()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"another window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                40, 40, 300, 200, nullptr, nullptr, nullptr, nullptr)) {}
    ~OtherWindow() { DestroyWindow(hwnd_); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};

bool Activate(HWND hwnd) {
    SetForegroundWindow(hwnd);
    return wintest::PumpUntil([hwnd] { return GetActiveWindow() == hwnd; });
}

// Who takes the activation away: a top-level window of this process (the focus comes
// back from that window), or a window of a second process (the focus comes back from
// nowhere, as from another program).
enum class Taker { WindowOfThisProcess, SecondProcess };

class Reactivation : public Focus, public testing::WithParamInterface<Taker> {
protected:
    // Takes the activation away and gives it back; `whileAway` runs in between.
    void AwayAndBack(const std::function<void()>& whileAway) {
        if (GetParam() == Taker::WindowOfThisProcess) {
            OtherWindow other;
            ASSERT_TRUE(Activate(other.Handle()));
            whileAway();
        } else {
            wintest::ProbeProcess probe({L"activate:800"});
            ASSERT_TRUE(wintest::PumpUntil([&] { return GetActiveWindow() != form->Handle(); }))
                << "the second process never took the activation";
            whileAway();
            const std::vector<std::string> lines = probe.Finish();
            ASSERT_EQ(lines, std::vector<std::string>{"activated"});
        }
        ASSERT_TRUE(Activate(form->Handle()));
    }
};

TEST_P(Reactivation, LeavingAndRegainingActivationLeavesTheBoxAsTheUserLeftIt) {
    HWND box = form->incrementBox.Handle();
    Click(form->incrementBox);
    ASSERT_EQ(GetFocus(), box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    for (WORD vk : {'7', '0', '0', '0', '0'}) wintest::PressKey(vk);
    wintest::PressKey(VK_LEFT);
    wintest::PressKey(VK_LEFT);
    const BoxState typed = StateOf(form->incrementBox);
    ASSERT_EQ(typed, (BoxState{u"70000", 3, 3}));
    ASSERT_EQ(form->Generator().Increment(), 70000 % 65536);
    int changes = 0;
    auto handler = form->incrementBox.OnChange;
    form->incrementBox.OnChange = [&](ui::Window& sender) {
        ++changes;
        handler(sender);
    };

    for (int round = 0; round < 2; ++round) {
        AwayAndBack([&] {
            EXPECT_EQ(StateOf(form->incrementBox), typed)
                << "losing activation is no move of focus";
        });
        EXPECT_EQ(GetFocus(), box);
        EXPECT_EQ(StateOf(form->incrementBox), typed) << "regaining it is no focus arrival";
    }
    EXPECT_EQ(changes, 0);
    form->incrementBox.OnChange = handler;
    wintest::PressKey('1');
    EXPECT_EQ(form->incrementBox.Text(), u"700100") << "the next digit goes in at the caret";
}

TEST_F(Focus, ClosingTheWindowRunsNoLeaveRuleOfTheBox) {
    Click(form->incrementBox);
    SendMessageW(form->incrementBox.Handle(), EM_SETSEL, 0, -1);
    for (WORD vk : {'7', '0', '0', '0', '0'}) wintest::PressKey(vk);
    int changes = 0;
    form->incrementBox.OnChange = [&changes](ui::Window&) { ++changes; };
    form.reset();
    EXPECT_EQ(changes, 0) << "the box hidden with its window is no move of focus";
}

INSTANTIATE_TEST_SUITE_P(ByAnotherWindow, Reactivation,
                         testing::Values(Taker::WindowOfThisProcess, Taker::SecondProcess),
                         [](const testing::TestParamInfo<Taker>& p) {
                             return p.param == Taker::WindowOfThisProcess ? "WindowOfThisProcess"
                                                                          : "SecondProcess";
                         });

TEST_F(Focus, MinimisingAndRestoringGiveTheFocusBackUnchanged) {
    SetFocus(form->incrementBox.Handle());
    SendMessageW(form->incrementBox.Handle(), EM_SETSEL, 1, 2);
    const BoxState before = StateOf(form->incrementBox);
    ShowWindow(form->Handle(), SW_MINIMIZE);
    ASSERT_TRUE(wintest::PumpUntil([&] { return IsIconic(form->Handle()) != FALSE; }));
    ShowWindow(form->Handle(), SW_RESTORE);
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetFocus() == form->incrementBox.Handle(); }))
        << Focused();
    EXPECT_EQ(StateOf(form->incrementBox), before);
}

// A start minimised without activation: the first activation still puts the focus on the
// first tab stop, whether the window is activated before it is restored or by the restore.
class MinimisedStart : public testing::TestWithParam<bool> {};

TEST_P(MinimisedStart, TheFirstFocusGoesToTheChartOnceRestored) {
    const bool activateFirst = GetParam();
    MainWindow form(wintest::At(120));
    MainWindow* raw = &form;
    ui::Application::Current()->SetMainWindow(
        form.Handle(), [raw](const MSG& msg) { return raw->PreviewKey(msg); });
    form.Show(SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(wintest::PumpUntil([&] { return IsIconic(form.Handle()) != FALSE; }));
    EXPECT_NE(GetActiveWindow(), form.Handle());
    if (activateFirst) {
        SetForegroundWindow(form.Handle());
        wintest::Pump(50ms);
    }
    ShowWindow(form.Handle(), SW_RESTORE);
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetFocus() == form.waveformChart.Handle(); }))
        << NameOfFocus(form);
    wintest::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), form.zoomResetButton.Handle());
}

INSTANTIATE_TEST_SUITE_P(ActivatedWhileMinimisedOrByTheRestore, MinimisedStart, testing::Bool());

}  // namespace
