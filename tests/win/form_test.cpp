// The component layer on a small window of its own: a failure in the middle of scaling,
// system colours that change while the window is open, and the error a failed platform
// call raises.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/layout/control_desc.h"
#include "win/ui/form.h"
#include "win/ui/panel.h"
#include "win/ui/win32_error.h"
#include "win_fixture.h"

namespace {

using base::RectPx;
using layout::DesignRect;

// A panel whose font change fails while `failFontChange` is set: a throw in the middle of
// a rebuild of the fonts, as when the platform has no font left to give.
class FailingPanel : public ui::Panel {
public:
    bool failFontChange = false;

protected:
    void FontChanged() override {
        if (failFontChange) throw std::runtime_error("Cannot create a font");
        ui::Panel::FontChanged();
    }
};

constexpr layout::FormDesc kSmallForm{.Name = "SmallForm",
                                      .Caption = u"Small",
                                      .ClientSize = {400, 300},
                                      .FontFace = u"Tahoma",
                                      .FontHeightPx = 14,
                                      .Cursor = layout::CursorKind::Default};

// Outer follows every edge of the window; Inner keeps its distance to Outer's right edge.
constexpr std::array<layout::ControlDesc, 2> kSmallRows{{
    {.Name = "Outer",
     .Parent = "SmallForm",
     .Kind = layout::ControlKind::Panel,
     .Rect = DesignRect(10, 10, 380, 280),
     .Anchors = {true, true, true, true}},
    {.Name = "Inner",
     .Parent = "Outer",
     .Kind = layout::ControlKind::Panel,
     .Rect = DesignRect(300, 10, 60, 40),
     .Anchors = {false, true, true, false}},
}};

class SmallForm : public ui::Form {
public:
    SmallForm() {
        const ui::ControlBinding controls[] = {{"Inner", Inner}, {"Outer", Outer}};
        CreateForm(kSmallForm, kSmallRows, controls);
    }
    ~SmallForm() override { DestroyHandle(); }

    FailingPanel Outer;
    ui::Panel Inner;
};

void GrowClientBy(const ui::Form& form, int dx, int dy) {
    RECT outer{};
    GetWindowRect(form.Handle(), &outer);
    SetWindowPos(form.Handle(), nullptr, 0, 0, outer.right - outer.left + dx,
                 outer.bottom - outer.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST(FormScaling, AFailureWhileScalingLeavesAnchoringWorking) {
    SmallForm form;
    ASSERT_EQ(form.ClientSizePx(), (base::SizePx{400, 300}));
    GrowClientBy(form, 100, 0);
    ASSERT_EQ(form.Outer.BoundsPx(), DesignRect(10, 10, 480, 280)) << "anchoring before";
    ASSERT_EQ(form.Inner.BoundsPx(), DesignRect(400, 10, 60, 40));
    GrowClientBy(form, -100, 0);

    form.Outer.failFontChange = true;
    EXPECT_THROW(form.ScaleToDpi(144), std::runtime_error);
    form.Outer.failFontChange = false;
    EXPECT_EQ(form.CurrentDpi(), 120) << "a scaling that failed is not the current density";

    // The window and both panels still follow a resize: no "scaling now" flag was left set
    // by the failure, neither the window's nor the panel's.
    GrowClientBy(form, 60, 20);
    EXPECT_EQ(form.Outer.BoundsPx(), DesignRect(10, 10, 440, 300));
    EXPECT_EQ(form.Inner.BoundsPx(), DesignRect(360, 10, 60, 40));

    // And a later scaling succeeds from where the window is.
    form.ScaleToDpi(144);
    EXPECT_EQ(form.CurrentDpi(), 144);
}

// A form whose bindings a test chooses.
class BoundForm : public ui::Form {
public:
    ~BoundForm() override { DestroyHandle(); }
    void Build(std::span<const ui::ControlBinding> bindings) {
        CreateForm(kSmallForm, kSmallRows, bindings);
    }

    ui::Panel Outer;
    ui::Panel Inner;
    ui::Panel Spare;
};

// Each row is bound by its name to exactly one control, in any order; a binding out of
// step with the table is refused before anything is made.
TEST(FormBinding, EachRowHasTheOneControlOfItsName) {
    {
        BoundForm form;
        const ui::ControlBinding bindings[] = {{"Inner", form.Inner}, {"Outer", form.Outer}};
        form.Build(bindings);
        EXPECT_EQ(form.FindControl("Outer"), &form.Outer);
        EXPECT_EQ(form.Inner.Parent(), &form.Outer);
    }
    const struct {
        std::vector<std::pair<const char*, int>> bindings;  // name, 0 Outer 1 Inner 2 Spare
        const char* refusal;
    } cases[] = {
        {{{"Outer", 0}}, "No control is bound to Inner"},
        {{{"Outer", 0}, {"Inner", 1}, {"Middle", 2}}, "No layout row is named Middle"},
        {{{"Outer", 0}, {"Inner", 1}, {"Outer", 2}}, "Two controls are bound to Outer"},
    };
    for (const auto& c : cases) {
        BoundForm form;
        ui::Panel* panels[] = {&form.Outer, &form.Inner, &form.Spare};
        std::vector<ui::ControlBinding> bindings;
        for (const auto& [name, panel] : c.bindings) bindings.emplace_back(name, *panels[panel]);
        try {
            form.Build(bindings);
            ADD_FAILURE() << "not refused: " << c.refusal;
        } catch (const std::logic_error& e) {
            EXPECT_STREQ(e.what(), c.refusal);
        }
        EXPECT_EQ(form.Handle(), nullptr) << "nothing was made";
    }
}

TEST(FormLifetime, TheLoopStopsHandingKeysToAMainWindowThatIsGone) {
    ui::Application& app = *ui::Application::Current();
    int previews = 0;
    {
        SmallForm form;
        app.SetMainWindow(form.Handle(), [&previews](const MSG&) { return ++previews, false; });
        PostMessageW(form.Handle(), WM_NULL, 0, 0);
        app.ProcessMessages();
        ASSERT_EQ(previews, 1);
    }
    EXPECT_EQ(app.MainWindow(), nullptr);
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
    app.ProcessMessages();
    EXPECT_EQ(previews, 1) << "no preview after the window went";
}

// Puts the system's face colour back however the test ends: the colour belongs to the
// whole session of the prefix.
class FaceColour {
public:
    explicit FaceColour(COLORREF colour) : before_(GetSysColor(COLOR_BTNFACE)) { Set(colour); }
    ~FaceColour() { Set(before_); }
    FaceColour(const FaceColour&) = delete;
    FaceColour& operator=(const FaceColour&) = delete;

private:
    static void Set(COLORREF colour) {
        const INT element = COLOR_BTNFACE;
        SetSysColors(1, &element, &colour);
    }
    COLORREF before_;
};

COLORREF BrushColour(HBRUSH brush) {
    LOGBRUSH lb{};
    GetObjectW(brush, sizeof lb, &lb);
    return lb.lbColor;
}

TEST(FormColours, BackgroundsOfTheSystemColourFollowItsChange) {
    SmallForm form;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_EQ(BrushColour(form.Inner.BackgroundBrush()), face) << "no designed background";
    const COLORREF changed = face == RGB(10, 120, 200) ? RGB(200, 120, 10) : RGB(10, 120, 200);
    FaceColour scope(changed);
    ASSERT_EQ(GetSysColor(COLOR_BTNFACE), changed) << "the platform took the new colour";
    // Only top-level windows hear of the change; the window passes it to its controls.
    SendMessageW(form.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(BrushColour(form.Inner.BackgroundBrush()), changed);
    EXPECT_EQ(BrushColour(form.Outer.BackgroundBrush()), changed);
}

// A window of the program's own class, created under a parent of the test's choosing.
class ChildWindow : public ui::Window {
public:
    void CreateUnder(HWND parent) {
        CreateOwn(L"phasebox.TestChild", {.Style = WS_CHILD, .Parent = parent});
    }
};

TEST(PlatformErrors, AFailedCreationSaysWhyWithThePlatformsCodeAndText) {
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);

    ChildWindow child;
    try {
        child.CreateUnder(gone);
        FAIL() << "a window under a destroyed parent was created";
    } catch (const ui::Win32Error& e) {
        EXPECT_EQ(e.Result(), HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE));
        const std::string reason = ui::SystemMessage(e.Result());
        ASSERT_FALSE(reason.empty()) << "the platform has a text for its code";
        EXPECT_EQ(std::string(e.what()), "Cannot create a window: " + reason + " (1400)");

        // The error box shows the whole of it.
        wintest::ErrorLog().clear();
        ui::Application::Current()->ReportError(std::current_exception());
        ASSERT_EQ(wintest::ErrorLog().size(), 1u);
        const std::u16string& text = wintest::ErrorLog()[0].text;
        EXPECT_NE(text.find(u"Cannot create a window: "), std::u16string::npos);
        EXPECT_NE(text.find(u"(1400)"), std::u16string::npos);
        wintest::ErrorLog().clear();
    }
}

TEST(PlatformErrors, TheMessageNamesTheCodeAsThePlatformDoes) {
    struct Case {
        HRESULT result;
        const char* code;  // as the message writes it
        bool textKnown;    // every system has a text for the Win32 codes
    };
    const Case cases[] = {
        {HRESULT_FROM_WIN32(ERROR_NOT_ENOUGH_MEMORY), "(8)", true},
        {E_OUTOFMEMORY, "(14)", true},  // a Win32 code wrapped as an HRESULT
        {E_FAIL, "(0x80004005)", false},
        {E_NOINTERFACE, "(0x80004002)", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const ui::Win32Error e = ui::Win32Error::FromHresult("Cannot do it", c.result);
        const std::string what = e.what();
        const std::string reason = ui::SystemMessage(c.result);
        EXPECT_EQ(e.Result(), c.result);
        EXPECT_EQ(what, "Cannot do it" + (reason.empty() ? "" : ": " + reason) + " " + c.code);
        if (c.textKnown) {
            ASSERT_FALSE(reason.empty());
        }
        if (!reason.empty()) {
            EXPECT_NE(reason.front(), ' ') << "a text, not blanks";
            EXPECT_NE(reason.back(), ' ');
            EXPECT_NE(reason.back(), '.') << "the error box adds its own full stop";
            EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << "one line";
        }
    }
    // Without a code of the platform's the action alone is the message.
    EXPECT_STREQ(ui::Win32Error("Cannot do it", DWORD{0}).what(), "Cannot do it");
}

}  // namespace
