// The tuning-word tick slider in the real window: start-up, keys and mouse through real
// input, the edit box it drives, its cursor and the pixels of its cached drawing.
#include <windows.h>

#include <uxtheme.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "resource_ids.h"
#include "win/ui/handles.h"
#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;

constexpr int kTrackY = 24;  // a row inside the track and the thumb at 120 dpi

COLORREF PanelColour() {
    return RGB(255, 255, 200);
}

class TickSliderWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form = wintest::ShowForm();
        ASSERT_EQ(form->CurrentDpi(), 120) << "the pixel positions below are the designed ones";
        slider = form->incrementSlider.Handle();
        // Count the change events while keeping the window's own handler.
        auto handler = form->incrementSlider.OnChange;
        form->incrementSlider.OnChange = [this, handler](ui::Window& sender) {
            ++changes;
            handler(sender);
        };
    }
    void TearDown() override {
        ReleaseMouseButton();
        form.reset();
    }

    int Position() const { return form->incrementSlider.Position(); }
    std::u16string BoxText() const { return wintest::TextOf(form->incrementBox.Handle()); }

    void FocusSlider() {
        SetFocus(slider);
        ASSERT_EQ(GetFocus(), slider);
    }

    // Real pointer input at a point of the slider's client area.
    void Mouse(DWORD flags, int x, int y) {
        POINT pt{x, y};
        ClientToScreen(slider, &pt);
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = MulDiv(pt.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = MulDiv(pt.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        if (flags & MOUSEEVENTF_LEFTDOWN) buttonDown_ = true;
        if (flags & MOUSEEVENTF_LEFTUP) buttonDown_ = false;
        wintest::SendInputAndWait({in});
    }
    void ReleaseMouseButton() {
        if (buttonDown_) Mouse(MOUSEEVENTF_LEFTUP, 0, 0);
    }

    COLORREF PixelAt(int x, int y) const {
        const ui::WindowDc dc(slider);
        return GetPixel(dc.Get(), x, y);
    }

    std::unique_ptr<MainWindow> form;
    HWND slider = nullptr;
    int changes = 0;

private:
    bool buttonDown_ = false;
};

TEST_F(TickSliderWindow, StartsAt256UnderTheFirstTick) {
    EXPECT_EQ(Position(), 256);
    EXPECT_EQ(BoxText(), u"256");
    EXPECT_EQ(form->Generator().Increment(), 256);
    const RECT thumb = form->incrementSlider.ThumbRect();
    EXPECT_EQ(thumb.left, 10);
    EXPECT_EQ(thumb.left + 6, form->incrementSlider.Model().Layout().TickXs(256).front());
}

TEST_F(TickSliderWindow, KeysMoveThePositionAndTheBoxFollows) {
    FocusSlider();
    struct Step {
        WORD vk;
        int position;
        const char16_t* box;
        int changes;
    };
    const Step steps[] = {
        {VK_RIGHT, 257, u"257", 1},
        {VK_LEFT, 256, u"256", 2},
        {VK_ADD, 257, u"257", 3},
        {VK_SUBTRACT, 256, u"256", 4},
        {VK_END, 10000, u"10,000", 5},
        {VK_RIGHT, 10000, u"10,000", 5},  // at Max: no request, no change
        {VK_UP, 10000, u"10,000", 5},
        {VK_HOME, 1, u"1", 6},
        {VK_LEFT, 1, u"1", 6},
        {VK_DOWN, 1, u"1", 6},
        {VK_PRIOR, 2, u"2", 7},
        {VK_NEXT, 1, u"1", 8},
        {VK_NEXT, 1, u"1", 9},  // unbounded request clamped back: still reported
        {VK_RETURN, 1, u"1", 9},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << "key " << s.vk);
        wintest::PressKey(s.vk);
        EXPECT_EQ(GetFocus(), slider);  // the arrows stay with the slider
        EXPECT_EQ(Position(), s.position);
        EXPECT_TRUE(BoxText() == s.box);
        EXPECT_EQ(changes, s.changes);
    }
    EXPECT_EQ(form->Generator().Increment(), 1);
}

TEST_F(TickSliderWindow, PageUpAtTheEndRewritesTheTypedBox) {
    FocusSlider();
    wintest::PressKey(VK_END);
    ASSERT_EQ(Position(), 10000);
    SetFocus(form->incrementBox.Handle());
    SendMessageW(form->incrementBox.Handle(), EM_SETSEL, 0, -1);
    for (WORD key : {WORD{'5'}, WORD{'0'}, WORD{'0'}}) wintest::PressKey(key);
    ASSERT_TRUE(BoxText() == u"500");
    // Tab from the box: resetButton, runBox, then the slider.
    for (int i = 0; i < 3; ++i) wintest::PressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), slider);
    const int before = changes;
    wintest::PressKey(VK_PRIOR);
    EXPECT_EQ(Position(), 10000);
    EXPECT_EQ(changes, before + 1);
    EXPECT_TRUE(BoxText() == u"10,000");
    EXPECT_EQ(form->Generator().Increment(), 10000);
}

TEST_F(TickSliderWindow, ClickOnTheTrackJumpsToThePointer) {
    SetFocus(form->incrementBox.Handle());
    wintest::ClickAt(slider, 128, kTrackY);
    EXPECT_EQ(GetFocus(), slider);
    EXPECT_EQ(Position(), 4979);
    EXPECT_TRUE(BoxText() == u"4,979");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TickSliderWindow, ClicksOutsideTheTrackOnlyFocus) {
    struct Case {
        const char* what;
        int x;
        int y;
    };
    const Case cases[] = {
        {"tick marks", 16, 6}, {"above the track", 128, 16}, {"right of the track", 250, kTrackY}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetFocus(form->incrementBox.Handle());
        wintest::ClickAt(slider, c.x, c.y);
        EXPECT_EQ(GetFocus(), slider);
        EXPECT_EQ(Position(), 256);
    }
    SetFocus(form->incrementBox.Handle());
    Mouse(MOUSEEVENTF_RIGHTDOWN, 128, kTrackY);
    Mouse(MOUSEEVENTF_RIGHTUP, 128, kTrackY);
    EXPECT_EQ(GetFocus(), slider);
    INPUT wheel{};
    wheel.type = INPUT_MOUSE;
    wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
    wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    wintest::SendInputAndWait({wheel});
    EXPECT_EQ(Position(), 256);
    EXPECT_EQ(changes, 0);
}

TEST_F(TickSliderWindow, DraggingTheThumbPinsAtTheEnds) {
    Mouse(MOUSEEVENTF_LEFTDOWN, 16, kTrackY);
    ASSERT_EQ(form->incrementSlider.Model().Mode(), controls::SliderMode::Drag);
    EXPECT_EQ(GetCapture(), slider);
    Mouse(0, 130, kTrackY);
    EXPECT_EQ(Position(), 5064);  // Round(120 / 237 * 9999 + 1)
    Mouse(0, 400, 80);            // past the right end, off the control
    EXPECT_EQ(Position(), 10000);
    EXPECT_TRUE(BoxText() == u"10,000");
    Mouse(0, -100, kTrackY);
    EXPECT_EQ(Position(), 1);
    Mouse(0, 600, kTrackY);
    Mouse(MOUSEEVENTF_LEFTUP, 600, kTrackY);
    EXPECT_EQ(Position(), 10000);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(form->incrementSlider.Model().Mode(), controls::SliderMode::Idle);
    Mouse(0, 16, kTrackY);  // no longer dragging
    EXPECT_EQ(Position(), 10000);
}

TEST_F(TickSliderWindow, LosingTheCaptureEndsTheDrag) {
    Mouse(MOUSEEVENTF_LEFTDOWN, 16, kTrackY);
    ASSERT_EQ(GetCapture(), slider);
    SetCapture(form->Handle());
    EXPECT_EQ(form->incrementSlider.Model().Mode(), controls::SliderMode::Idle);
    ReleaseCapture();
    Mouse(0, 200, kTrackY);
    EXPECT_EQ(Position(), 256);
    EXPECT_EQ(changes, 0);
}

TEST_F(TickSliderWindow, HeldTrackPressBecomesADrag) {
    Mouse(MOUSEEVENTF_LEFTDOWN, 128, kTrackY);
    ASSERT_EQ(Position(), 4979);
    // The repeat timer's first tick grabs the thumb under the pointer.
    ASSERT_TRUE(wintest::PumpUntil(
        [&] { return form->incrementSlider.Model().Mode() == controls::SliderMode::Drag; }, 10s));
    Mouse(0, 200, kTrackY);
    EXPECT_EQ(Position(), 7975);  // offset 1 from the grab: Round(189 / 237 * 9999 + 1)
    Mouse(MOUSEEVENTF_LEFTUP, 200, kTrackY);
    EXPECT_EQ(form->incrementSlider.Model().Mode(), controls::SliderMode::Idle);
    EXPECT_FALSE(form->incrementSlider.Model().RepeatTimerRunning());
}

// The repeat timer is the window's one timer facility: a press that cannot start it is
// reported with that facility's text, and the press repeats nothing.
TEST_F(TickSliderWindow, ATrackPressWithoutATimerLeftIsReportedAndRepeatsNothing) {
    wintest::ErrorLog().clear();
    int starts = 0;
    form->incrementSlider.RepeatTimer().SetStarter([&starts](HWND, UINT_PTR, UINT) {
        ++starts;
        return false;
    });
    Mouse(MOUSEEVENTF_LEFTDOWN, 128, kTrackY);
    EXPECT_EQ(starts, 1);
    ASSERT_EQ(wintest::ErrorLog().size(), 1u);
    EXPECT_EQ(wintest::ErrorLog()[0].text, u"Not enough timers available.");
    EXPECT_FALSE(form->incrementSlider.Model().RepeatTimerRunning());
    EXPECT_FALSE(form->incrementSlider.RepeatTimer().Running());
    wintest::Pump(200ms);
    EXPECT_NE(form->incrementSlider.Model().Mode(), controls::SliderMode::Drag)
        << "no tick grabbed the thumb";
    Mouse(MOUSEEVENTF_LEFTUP, 128, kTrackY);
    EXPECT_EQ(wintest::ErrorLog().size(), 1u) << "the release starts no timer";
    wintest::ErrorLog().clear();
}

TEST_F(TickSliderWindow, ThumbCursorOnlyOverTheThumb) {
    HCURSOR thumbCursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_THUMB));
    ASSERT_NE(thumbCursor, nullptr);
    Mouse(0, 16, kTrackY);
    EXPECT_EQ(GetCursor(), thumbCursor);
    Mouse(0, 128, kTrackY);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(TickSliderWindow, CachedDrawingShowsTrackTicksAndThumb) {
    UpdateWindow(slider);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const std::vector<int> ticks = form->incrementSlider.Model().Layout().TickXs(256);
    ASSERT_EQ(ticks.size(), 39u);
    for (int x : ticks) {
        SCOPED_TRACE(x);
        EXPECT_EQ(PixelAt(x, 4), shadow);
        EXPECT_EQ(PixelAt(x, 9), shadow);
        EXPECT_EQ(PixelAt(x, 10), PanelColour());
        EXPECT_EQ(PixelAt(x + 1, 6), PanelColour());
    }
    EXPECT_EQ(PixelAt(128, 20), shadow);                           // frame top
    EXPECT_EQ(PixelAt(246, 24), GetSysColor(COLOR_BTNHIGHLIGHT));  // frame right
    EXPECT_EQ(PixelAt(128, 27), GetSysColor(COLOR_BTNHIGHLIGHT));  // frame bottom
    EXPECT_EQ(PixelAt(128, 24), GetSysColor(COLOR_3DLIGHT));       // fill
    EXPECT_EQ(PixelAt(128, 30), PanelColour());
    if (!IsThemeActive()) {
        EXPECT_EQ(PixelAt(16, 25), GetSysColor(COLOR_HIGHLIGHT));
    }

    // A position change draws the thumb at once, without invalidating the control.
    form->incrementSlider.SetPosition(10000);
    EXPECT_FALSE(GetUpdateRect(slider, nullptr, FALSE));
    EXPECT_EQ(PixelAt(16, 24), GetSysColor(COLOR_3DLIGHT));  // old place restored
    if (!IsThemeActive()) {
        EXPECT_EQ(PixelAt(247, 25), GetSysColor(COLOR_HIGHLIGHT));
    }
}

TEST(TickSliderScaled, GeometryFollowsTheWindowDensity) {
    MainWindow::Options options;
    options.MonitorDpi = 144;
    MainWindow form(options);
    const controls::TickSlider& slider = form.incrementSlider;
    // 216..473 at 120 dpi becomes 259..568; thumb 14 x 25, half width 7, border still 4.
    ASSERT_EQ(slider.ClientSizePx().Width, 309);
    const controls::TickSliderLayout& layout = slider.Model().Layout();
    EXPECT_EQ(layout.TravelSpanPx(), 309 - 14 - 8);
    const RECT thumb = slider.ThumbRect();
    EXPECT_EQ(thumb.right - thumb.left, 14);
    EXPECT_EQ(thumb.bottom - thumb.top, 25);
    const std::vector<int> ticks = layout.TickXs(256);
    ASSERT_EQ(ticks.size(), 39u);
    EXPECT_EQ(thumb.left + 7, ticks.front());

    // The cache is rebuilt for the new size: the marks now end at y 12.
    const ui::WindowDc screen(nullptr);
    const ui::UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
    const ui::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), 309, 42));
    ASSERT_TRUE(dc && bitmap);
    const ui::SelectGuard selected(dc.Get(), bitmap.Get());
    SendMessageW(slider.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(GetPixel(dc.Get(), ticks.back(), 4), shadow);
    EXPECT_EQ(GetPixel(dc.Get(), ticks.back(), 11), shadow);
    EXPECT_EQ(GetPixel(dc.Get(), ticks.back(), 12), PanelColour());
    EXPECT_EQ(GetPixel(dc.Get(), ticks.back() + 1, 8), PanelColour());
}

}  // namespace
