// What assistive technology finds in the real window: names, roles and values of the
// controls without captions, in this process and from a second one (a11y_probe.exe,
// which asks through oleacc as a screen reader does); values that follow changes with
// value-change events, few enough for the chart; objects that outlive no window.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "win/ui/accessible_object.h"
#include "win/ui/text.h"
#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;

std::string Utf8(std::u16string_view s) {
    const std::wstring w = ui::ToWide(s);
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

// What an IAccessible says about itself; "-" for what it does not say.
struct Told {
    std::string name = "-";
    long role = -1;
    std::string value = "-";
    friend bool operator==(const Told&, const Told&) = default;
};

void PrintTo(const Told& t, std::ostream* os) {
    *os << '"' << t.name << "\" role " << t.role << " value \"" << t.value << '"';
}

std::string Text(HRESULT hr, BSTR b) {
    std::string out =
        hr == S_OK && b ? Utf8({reinterpret_cast<const char16_t*>(b), SysStringLen(b)}) : "-";
    SysFreeString(b);
    return out;
}

VARIANT Self() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

Told Ask(IAccessible* acc) {
    Told t;
    BSTR name = nullptr;
    const HRESULT nameResult = acc->get_accName(Self(), &name);
    t.name = Text(nameResult, name);
    BSTR value = nullptr;
    const HRESULT valueResult = acc->get_accValue(Self(), &value);
    t.value = Text(valueResult, value);
    VARIANT role;
    VariantInit(&role);
    if (acc->get_accRole(Self(), &role) == S_OK && role.vt == VT_I4) t.role = role.lVal;
    VariantClear(&role);
    return t;
}

// The object a client gets for the control's client area, as oleacc hands it out.
IAccessible* ObjectOf(HWND hwnd) {
    IAccessible* acc = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible), reinterpret_cast<void**>(&acc)))) {
        return nullptr;
    }
    return acc;
}

// The platform's own object for the window, as it is without the control's answer.
Told PlatformTold(HWND hwnd) {
    IAccessible* acc = nullptr;
    if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&acc)))) {
        return {};
    }
    Told t = Ask(acc);
    acc->Release();
    return t;
}

constexpr long kPlatformRole = -2;  // in a table: the role of the platform's own object

struct Expected {
    const char* control;
    const char* name;
    long role;
    const char* value;  // null: the platform object's value
};

const Expected kAtStart[] = {
    {"incrementSlider", "Phase increment", ROLE_SYSTEM_SLIDER, "256"},
    {"waveformChart", "Waveform chart", ROLE_SYSTEM_CHART, "x 0 to 256, y 0 to 255, 1 point"},
    {"highByteDisplay", "HI bite", ROLE_SYSTEM_STATICTEXT, "0"},
    {"lowByteDisplay", "LO bite", ROLE_SYSTEM_STATICTEXT, "0"},
    // Standard controls keep the platform's object: its role and value, the name added.
    {"incrementBox", "Приращение фазы", kPlatformRole, nullptr},
    {"speedSlider", "Step rate", kPlatformRole, nullptr},
    {"chartWidthSlider", "Chart width", kPlatformRole, nullptr},
    // A captioned control is the platform's own.
    {"stepButton", "+", kPlatformRole, nullptr},
};

Told Want(const Expected& e, HWND hwnd) {
    const Told platform = PlatformTold(hwnd);
    return {e.name, e.role == kPlatformRole ? platform.role : e.role,
            e.value ? e.value : platform.value};
}

class Accessibility : public testing::Test {
protected:
    void SetUp() override { form = wintest::ShowForm(wintest::At(120)); }
    HWND Hwnd(const char* name) const { return form->FindControl(name)->Handle(); }
    std::unique_ptr<MainWindow> form;
};

TEST_F(Accessibility, EveryControlWithoutACaptionIsNamedAndStatesRoleAndValue) {
    for (const Expected& e : kAtStart) {
        IAccessible* acc = ObjectOf(Hwnd(e.control));
        ASSERT_NE(acc, nullptr) << e.control;
        EXPECT_EQ(Ask(acc), Want(e, Hwnd(e.control))) << e.control;
        acc->Release();
    }
    const Told box = PlatformTold(form->incrementBox.Handle());
    EXPECT_EQ(box.value, "256") << "the box's platform object reads its text";
}

// ---------------------------------------------------------------------------
// Values that follow changes, and their events

struct ValueEventLog {
    std::map<HWND, int> counts;
    static ValueEventLog*& Current() {
        static ValueEventLog* log = nullptr;
        return log;
    }
    static void CALLBACK Hook(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                              DWORD) {
        if (event == EVENT_OBJECT_VALUECHANGE && object == OBJID_CLIENT && child == CHILDID_SELF &&
            Current()) {
            ++Current()->counts[hwnd];
        }
    }
};

class ValueEvents : public Accessibility {
protected:
    void SetUp() override {
        Accessibility::SetUp();
        ValueEventLog::Current() = &log;
        hook =
            SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                            &ValueEventLog::Hook, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        ASSERT_NE(hook, nullptr);
        // Quiet for longer than a period: what the window told while it was built is out.
        wintest::Pump(std::chrono::milliseconds(ui::ValueEvents::kPeriodMs * 2));
        log.counts.clear();
    }
    void TearDown() override {
        UnhookWinEvent(hook);
        ValueEventLog::Current() = nullptr;
    }
    int Events(const ui::Control& c) { return log.counts[c.Handle()]; }
    std::string ValueOf(const ui::Control& c) {
        IAccessible* acc = ObjectOf(c.Handle());
        const Told t = acc ? Ask(acc) : Told{};
        if (acc) acc->Release();
        return t.value;
    }

    ValueEventLog log;
    HWINEVENTHOOK hook = nullptr;
};

TEST_F(ValueEvents, TheTickSliderTellsEveryMove) {
    SetFocus(form->incrementSlider.Handle());
    wintest::PressKey(VK_RIGHT);
    wintest::PressKey(VK_RIGHT);
    EXPECT_TRUE(wintest::PumpUntil([&] { return Events(form->incrementSlider) >= 2; }, 2s));
    EXPECT_EQ(Events(form->incrementSlider), 2);
    EXPECT_EQ(ValueOf(form->incrementSlider), "258");
    wintest::PressKey(VK_HOME);
    wintest::PressKey(VK_HOME);
    wintest::Pump(50ms);
    EXPECT_EQ(Events(form->incrementSlider), 3) << "Home at the start moves nothing";
    EXPECT_EQ(ValueOf(form->incrementSlider), "1");
}

// The wait for a period's end takes a timer; without one the change is told at once
// rather than never, and the next wait gets its timer again.
TEST_F(ValueEvents, WithoutATimerLeftAChangeIsToldAtOnceRatherThanLost) {
    char16_t value = u'0';
    ui::ValueEvents events([&value] { return std::u16string(1, value); });
    const ui::Control& target = form->accumulatorLabel;  // a control that tells nothing by itself
    bool timerLeft = false;
    events.WaitTimer().SetStarter([&timerLeft](HWND window, UINT_PTR id, UINT ms) {
        return timerLeft && SetTimer(window, id, ms, nullptr) != 0;
    });
    value = u'1';
    events.Changed(target.Handle());  // the first change: at once
    value = u'2';
    events.Changed(target.Handle());  // within the period, with no timer to wait for
    EXPECT_TRUE(wintest::PumpUntil([&] { return Events(target) >= 2; }, 2s));
    EXPECT_EQ(Events(target), 2);

    // With a timer again, two changes in a row: the second waits for its period's end.
    timerLeft = true;
    value = u'3';
    events.Changed(target.Handle());
    value = u'4';
    events.Changed(target.Handle());
    EXPECT_TRUE(events.WaitTimer().Running());
    EXPECT_TRUE(wintest::PumpUntil([&] { return !events.WaitTimer().Running(); }, 2s))
        << "one tick per wait";
    wintest::Pump(50ms);
    EXPECT_GE(Events(target), 3);
    EXPECT_LE(Events(target), 4);
}

TEST_F(ValueEvents, AHundredSamplesAtOnceAreToldInAFewEventsEndingWithTheLast) {
    for (int i = 0; i < 100; ++i) form->Step();
    EXPECT_EQ(ValueOf(form->waveformChart), "x 0 to 256, y 0 to 255, 101 points")
        << "the value is read at the query";
    // The first change is told at once, the rest in one event at the end of the period.
    wintest::Pump(std::chrono::milliseconds(ui::ValueEvents::kPeriodMs * 3));
    for (const ui::Control* c : {static_cast<ui::Control*>(&form->waveformChart),
                                 static_cast<ui::Control*>(&form->highByteDisplay)}) {
        EXPECT_GE(Events(*c), 2) << c->Name() << ": the last change is told too";
        EXPECT_LE(Events(*c), 3) << c->Name();
    }
    EXPECT_EQ(ValueOf(form->highByteDisplay), "100");

    // The chart's range follows the width slider; hovering changes no value, so tells none.
    log.counts.clear();
    form->chartWidthSlider.SetPosition(512);
    EXPECT_TRUE(wintest::PumpUntil([&] { return Events(form->waveformChart) >= 1; }, 2s));
    EXPECT_EQ(ValueOf(form->waveformChart), "x 0 to 512, y 0 to 255, 101 points");
    wintest::Pump(std::chrono::milliseconds(ui::ValueEvents::kPeriodMs * 2));
    const int told = Events(form->waveformChart);
    form->waveformChart.RequestRepaint();
    wintest::Pump(std::chrono::milliseconds(ui::ValueEvents::kPeriodMs * 2));
    EXPECT_EQ(Events(form->waveformChart), told) << "a repaint with the same value tells nothing";

    // A turn of the wheel scrolls the view: the new ranges are told as well.
    const std::string before = ValueOf(form->waveformChart);
    SendMessageW(form->waveformChart.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_TRUE(wintest::PumpUntil([&] { return Events(form->waveformChart) > told; }, 2s));
    EXPECT_NE(ValueOf(form->waveformChart), before);
}

// ---------------------------------------------------------------------------
// Lifetime

TEST(AccessibleLifetime, OneObjectPerControlAndNoneOutlivesTheWindowsClients) {
    const int before = ui::LiveAccessibleObjects();
    IAccessible* held = nullptr;
    {
        auto form = wintest::ShowForm(wintest::At(120));
        for (int i = 0; i < 3; ++i) {
            IAccessible* acc = ObjectOf(form->incrementSlider.Handle());
            ASSERT_NE(acc, nullptr);
            acc->Release();
        }
        EXPECT_EQ(ui::LiveAccessibleObjects(), before + 1) << "the control keeps one object";
        held = ObjectOf(form->incrementSlider.Handle());
        ASSERT_NE(held, nullptr);
        SendMessageW(form->incrementSlider.Handle(), WM_GETOBJECT, 0, OBJID_CLIENT);
        // ... and an answer that no client took still holds a reference until the window goes.
    }
    EXPECT_EQ(ui::LiveAccessibleObjects(), before + 1) << "a client still holds it";
    BSTR name = nullptr;
    EXPECT_EQ(held->get_accName(Self(), &name), RPC_E_DISCONNECTED)
        << "cut off from the destroyed control";
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(held->Release(), 0u);
    EXPECT_EQ(ui::LiveAccessibleObjects(), before);
}

// ---------------------------------------------------------------------------
// From a second process

Told Parse(const std::string& line) {
    std::istringstream in(line);
    Told t;
    std::string role;
    std::getline(in, t.name, '\t');
    std::getline(in, role, '\t');
    std::getline(in, t.value, '\t');
    t.role = role == "-" || role.empty() || role == "error" ? -1 : std::stol(role);
    return t;
}

std::wstring ScreenPointIn(const ui::Control& c, int x, int y) {
    POINT p{x, y};
    ClientToScreen(c.Handle(), &p);
    return std::to_wstring(p.x) + L"," + std::to_wstring(p.y);
}

std::wstring CentreOf(const ui::Control& c) {
    const base::SizePx s = c.ClientSizePx();
    return ScreenPointIn(c, s.Width / 2, s.Height / 2);
}

TEST_F(Accessibility, ASecondProcessFindsNamesRolesAndValuesAtPointsAndTheFocus) {
    std::vector<std::wstring> points;
    std::vector<const Expected*> expected;
    for (const Expected& e : kAtStart) {
        points.push_back(CentreOf(*form->FindControl(e.control)));
        expected.push_back(&e);
    }
    SetFocus(form->incrementBox.Handle());
    points.push_back(L"focus");
    const std::vector<std::string> lines = wintest::Probe(points);
    ASSERT_EQ(lines.size(), points.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(Parse(lines[i]), Want(*expected[i], Hwnd(expected[i]->control)))
            << expected[i]->control << ": " << lines[i];
    }
    EXPECT_EQ(Parse(lines.back()).name, "Приращение фазы") << lines.back();

    // The values follow the window's changes.
    SetFocus(form->incrementSlider.Handle());
    wintest::PressKey(VK_PRIOR);
    for (int i = 0; i < 2; ++i) form->Step();
    const std::vector<std::string> after =
        wintest::Probe({CentreOf(form->incrementSlider), CentreOf(form->waveformChart),
                        CentreOf(form->highByteDisplay)});
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(Parse(after[0]).value, "257") << "Page Up: one position on";
    EXPECT_EQ(Parse(after[1]).value, "x 0 to 256, y 0 to 255, 3 points");
    EXPECT_EQ(Parse(after[2]).value, "2") << "two steps of 257: high byte 2";
}

}  // namespace
