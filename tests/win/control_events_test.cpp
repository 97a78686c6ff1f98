// Event rules of the standard controls and the window's show requests and cursors.
#include <gtest/gtest.h>

#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;

TEST(ControlEvents, CheckBoxFiresOnANewStateOnlyAfterItIsInPlace) {
    auto form = wintest::ShowForm(wintest::At(120));
    std::vector<bool> seen;
    form->autoClearBox.OnClick = [&](ui::Window&) { seen.push_back(form->autoClearBox.Checked()); };
    form->autoClearBox.SetChecked(true);  // the value it holds
    EXPECT_TRUE(seen.empty());
    form->autoClearBox.SetChecked(false);
    const base::SizePx s = form->autoClearBox.ClientSizePx();
    wintest::ClickAt(form->autoClearBox.Handle(), 8, s.Height / 2);
    SetFocus(form->autoClearBox.Handle());
    wintest::PressKey(VK_SPACE);
    EXPECT_EQ(seen, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(SendMessageW(form->autoClearBox.Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(ControlEvents, RadioButtonFiresOnlyWhenItBecomesChecked) {
    auto form = wintest::ShowForm(wintest::At(120));
    std::vector<std::string_view> seen;
    for (ui::RadioButton* rb : {&form->sinButton, &form->sawButton, &form->triButton}) {
        rb->OnClick = [&seen, rb](ui::Window&) { seen.push_back(rb->Name()); };
    }
    form->sinButton.SetChecked(true);
    form->triButton.SetChecked(true);
    form->triButton.SetChecked(true);
    form->sinButton.SetChecked(false);  // unchecking fires nothing
    EXPECT_EQ(seen, std::vector<std::string_view>{"triButton"});
    EXPECT_FALSE(form->sinButton.Checked());
    EXPECT_EQ(SendMessageW(form->sinButton.Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(ControlEvents, StandardSliderReportsEveryNotificationOfAKeyPress) {
    auto form = wintest::ShowForm(wintest::At(120));
    std::vector<int> positions;
    form->chartWidthSlider.OnChange = [&](ui::Window&) {
        positions.push_back(form->chartWidthSlider.Position());
    };
    SetFocus(form->chartWidthSlider.Handle());
    wintest::PressKey(VK_RIGHT);
    // One notification for the step and the closing one, with the position unchanged.
    EXPECT_EQ(positions, (std::vector<int>{257, 257}));
    positions.clear();
    form->chartWidthSlider.SetPosition(257);
    EXPECT_TRUE(positions.empty()) << "code that sets the held position raises nothing";
    form->chartWidthSlider.SetPosition(5);
    EXPECT_EQ(positions, std::vector<int>{30}) << "clamped to the slider's range";
}

struct CursorCase {
    const char* control;
    bool hand;
};

TEST(ControlEvents, HandCursorOverTheArrowThePlusButtonAndTheStartBox) {
    auto form = wintest::ShowForm(wintest::At(120));
    const CursorCase cases[] = {
        {"arrow", true},        {"stepButton", true},        {"runBox", true},
        {"resetButton", false}, {"accumulatorPanel", false}, {"waveformChart", false}};
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    for (const CursorCase& c : cases) {
        HWND hwnd = form->FindControl(c.control)->Handle();
        SetCursor(nullptr);
        SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor() == hand, c.hand) << c.control;
    }
    // The window's own background, in the strip above the upper panel, shows the hand.
    SetCursor(nullptr);
    SendMessageW(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), hand);
}

TEST(ShowRequest, MaximisedRestoresToTheCentredRectangle) {
    MainWindow form(wintest::At(120));
    form.Show(SW_SHOWMAXIMIZED);
    EXPECT_TRUE(wintest::PumpUntil([&] { return IsZoomed(form.Handle()) != FALSE; }));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    ASSERT_TRUE(GetWindowPlacement(form.Handle(), &placement));
    const RECT& normal = placement.rcNormalPosition;
    const int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    EXPECT_EQ(normal.left, vw / 2 - (normal.right - normal.left) / 2);
    ShowWindow(form.Handle(), SW_RESTORE);
    EXPECT_TRUE(wintest::PumpUntil([&] {
        return form.ClientSizePx() == base::SizePx{1177, 714};
    })) << form.ClientSizePx().Width
        << " x " << form.ClientSizePx().Height;
}

TEST(ShowRequest, MinimisedWithoutActivation) {
    MainWindow form(wintest::At(120));
    form.Show(SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(wintest::PumpUntil([&] { return IsIconic(form.Handle()) != FALSE; }));
}

}  // namespace
