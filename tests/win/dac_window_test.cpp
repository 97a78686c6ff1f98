// The DAC output window on the real main window: built from its table at each density,
// owned by the main window, following its generator (the wheel per step, the figures and
// the spectrum on a change of tone, the spectrum never recomputed by a step), the clock
// chosen or typed and refused where typed, its keys, its screen-reader values from a
// second process, both languages, and a system without a sound device.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/dac/figures.h"
#include "core/dac/window_values.h"
#include "core/layout/dac_window_layout.h"
#include "core/layout/scale.h"
#include "win/dac/dac_window.h"
#include "win/ui/locale.h"
#include "win/ui/memory_picture.h"
#include "win/ui/text.h"
#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;
using dacwin::DacWindow;

constexpr char16_t kNoDevice[] = u"No sound output device is available.";

std::string Utf8(std::u16string_view s) {
    return ui::ToUtf8(ui::ToWide(s));
}

void TypeText(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (const wchar_t c : text) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = c;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(in);
        in.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    wintest::SendInputAndWait(std::move(inputs));
}

// The main window and a DAC output window owned by it, both shown, the DAC window active;
// the loop hands keys to both windows as the program's does.
class DacWindowTest : public testing::Test {
protected:
    void Open(DacWindow::Options options = {}) {
        if (!options.SoundProblem) options.SoundProblem = [] { return std::u16string(kNoDevice); };
        // What earlier suites reported on purpose is theirs, not this window's.
        wintest::ErrorLog().clear();
        main = wintest::ShowForm();
        dac = std::make_unique<DacWindow>(main->Handle(), std::move(options));
        MainWindow* m = main.get();
        DacWindow* d = dac.get();
        ui::Application::Current()->SetMainWindow(m->Handle(), [m, d](const MSG& msg) {
            return (d->Handle() && d->PreviewKey(msg)) || m->PreviewKey(msg);
        });
        dac->Show(SW_SHOWNORMAL);
        SetForegroundWindow(dac->Handle());
        HWND window = dac->Handle();
        ASSERT_TRUE(wintest::PumpUntil([window] {
            HWND focus = GetFocus();
            return GetActiveWindow() == window && focus && IsChild(window, focus);
        })) << "the DAC window never became active with the focus inside it";
    }
    void TearDown() override {
        dac.reset();
        if (main) ui::Application::Current()->SetMainWindow(nullptr, nullptr);
        main.reset();
        wintest::ErrorLog().clear();
    }

    std::unique_ptr<MainWindow> main;
    std::unique_ptr<DacWindow> dac;
};

TEST_F(DacWindowTest, OwnedByTheMainWindowAndShowingTheDesignedTone) {
    Open({.Language = dac::Language::English});
    EXPECT_EQ(wintest::TextOf(dac->Handle()), u"DAC output");
    EXPECT_EQ(GetWindow(dac->Handle(), GW_OWNER), main->Handle());
    EXPECT_EQ(GetWindowLongW(dac->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    EXPECT_EQ(dac->ClockHz(), 48000);
    EXPECT_EQ(wintest::TextOf(dac->clockBox.Handle()), u"48,000");
    EXPECT_EQ(wintest::TextOf(dac->outputValue.Handle()), u"187.5 Hz");
    EXPECT_EQ(wintest::TextOf(dac->resolutionValue.Handle()), u"0.732422 Hz");
    EXPECT_EQ(wintest::TextOf(dac->samplesValue.Handle()), u"256");
    EXPECT_EQ(wintest::TextOf(dac->nyquistValue.Handle()), u"24,000 Hz");
    EXPECT_EQ(wintest::TextOf(dac->aboveNyquistNote.Handle()), u"");
    EXPECT_EQ(dac->volumeSlider.Position(), dac::kDesignedVolumePercent);
    const dac::Spectrum& s = dac->spectrum.CurrentSpectrum();
    ASSERT_TRUE(s.FundamentalBin);
    EXPECT_EQ(*s.FundamentalBin, 256);
    for (const wintest::ErrorReport& e : wintest::ErrorLog()) {
        ADD_FAILURE() << "reported: " << std::string(e.text.begin(), e.text.end());
    }
}

// Follows the generator: the wheel with every step, nothing else recomputed by a step;
// the figures and the spectrum with a change of increment or waveform.
TEST_F(DacWindowTest, FollowsTheGeneratorAndRecomputesTheSpectrumOnlyOnAChangeOfTone) {
    Open({.Language = dac::Language::English});
    wintest::Pump(50ms);
    const int computations = dac->spectrum.Computations();
    const int redraws = dac->spectrum.Redraws();
    EXPECT_EQ(computations, 1);
    std::uint16_t acc = 0;
    for (int i = 0; i < 40; ++i) {
        acc = static_cast<std::uint16_t>(acc + 1000);
        dac->Follow(acc, 1000, dds::Waveform::Sin);
        wintest::Pump();
    }
    const int frames = dac->phaseWheel.FrameDraws();
    ASSERT_TRUE(wintest::PumpUntil([&] {
        UpdateWindow(dac->phaseWheel.Handle());
        return dac->phaseWheel.FrameDraws() > frames || frames > 1;
    }));
    EXPECT_EQ(dac->phaseWheel.Accumulator(), acc);
    EXPECT_EQ(dac->phaseWheel.AccessibleValue(), u"Accumulator 40000, table address 156");
    EXPECT_EQ(wintest::TextOf(dac->outputValue.Handle()), u"732.422 Hz");
    // One new spectrum for the new increment, none for the 40 steps.
    wintest::Pump(50ms);
    EXPECT_EQ(dac->spectrum.Computations(), computations + 1);
    EXPECT_GT(dac->spectrum.Redraws(), redraws);

    dac->Follow(acc, 40000, dds::Waveform::Sqr);
    EXPECT_EQ(wintest::TextOf(dac->outputValue.Handle()), u"29,296.875 Hz");
    EXPECT_EQ(wintest::TextOf(dac->samplesValue.Handle()), u"1.638");
    EXPECT_EQ(wintest::TextOf(dac->aboveNyquistNote.Handle()),
              u"Above the Nyquist frequency: heard at 18,703.125 Hz");
    const dac::Spectrum& s = dac->spectrum.CurrentSpectrum();
    ASSERT_TRUE(s.FundamentalBin);
    EXPECT_EQ(*s.FundamentalBin, 65536 - 40000);
    EXPECT_EQ(dac->spectrum.Computations(), computations + 2);
    // Back below the Nyquist frequency, the note goes.
    dac->Follow(acc, 256, dds::Waveform::Sqr);
    EXPECT_EQ(wintest::TextOf(dac->aboveNyquistNote.Handle()), u"");
}

// The clock: a choice from the list or a typed value applies at once; a typed value out
// of range or not a number is refused beside the box, saying the range, and nothing of
// it applies.
// What the screen shows after any run of steps, painted at once or piled up, is the whole
// last frame, with nothing left of an earlier pointer, mark, arc or value.
TEST_F(DacWindowTest, TheWheelOnScreenIsTheWholeFrameAfterSteps) {
    Open({.Language = dac::Language::English});
    const HWND wheel = dac->phaseWheel.Handle();
    const struct {
        std::uint16_t increment;
        int steps;
    } runs[] = {{7, 30}, {1000, 20}, {32768, 3}, {65535, 5}, {300, 40}, {0, 2}, {20000, 9}};
    std::uint16_t acc = 0;
    for (const auto& run : runs) {
        for (int i = 0; i < run.steps; ++i) {
            acc = static_cast<std::uint16_t>(acc + run.increment);
            dac->Follow(acc, run.increment, dds::Waveform::Sin);
            // Every third step paints at once; the others pile up, as a busy loop's do.
            if (i % 3 == 0) UpdateWindow(wheel);
        }
        UpdateWindow(wheel);
        const ui::MemoryPicture& frame = dac->phaseWheel.Picture();
        ui::MemoryPicture screen;
        ASSERT_TRUE(screen.Ensure(frame.WidthPx(), frame.HeightPx()));
        {
            const HDC dc = GetDC(wheel);
            ASSERT_NE(dc, nullptr);
            BitBlt(screen.Dc(), 0, 0, frame.WidthPx(), frame.HeightPx(), dc, 0, 0, SRCCOPY);
            ReleaseDC(wheel, dc);
            GdiFlush();
        }
        int differing = 0;
        for (int y = 0; y < frame.HeightPx(); ++y) {
            for (int x = 0; x < frame.WidthPx(); ++x) {
                differing += (screen.Row(y)[x] & 0xFFFFFF) != (frame.Row(y)[x] & 0xFFFFFF);
            }
        }
        EXPECT_EQ(differing, 0) << "pixels unlike the frame after steps of " << run.increment
                                << ", accumulator " << acc;
    }
}

TEST_F(DacWindowTest, AClockIsChosenOrTypedAndARefusedOneIsNeverApplied) {
    Open({.Language = dac::Language::English});
    const HWND field = dac->clockBox.Field();
    ASSERT_NE(field, nullptr);
    const auto type = [&](std::wstring_view text, WORD endKey) {
        SetFocus(field);
        SendMessageW(field, EM_SETSEL, 0, -1);
        wintest::PressKey(VK_DELETE);
        TypeText(text);
        wintest::PressKey(endKey);
    };
    struct Case {
        std::wstring_view typed;
        int expectedHz;
        std::u16string_view nyquist;
    };
    const std::u16string refusal = u"Not applied: type a whole number from 8,000 to 192,000 Hz";
    const Case cases[] = {
        {L"96000", 96000, u"48,000 Hz"},   {L"abc", 96000, u"48,000 Hz"},
        {L"7999", 96000, u"48,000 Hz"},    {L"192001", 96000, u"48,000 Hz"},
        {L"44100.5", 96000, u"48,000 Hz"}, {L"", 96000, u"48,000 Hz"},
        {L" 8,000 Hz", 8000, u"4,000 Hz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ui::ToUtf8(c.typed));
        const bool applies = c.typed.find_first_not_of(L" ,Hz0123456789") == std::wstring::npos &&
                             c.expectedHz != 96000;
        type(c.typed, VK_RETURN);
        EXPECT_EQ(dac->ClockHz(), c.expectedHz);
        EXPECT_EQ(wintest::TextOf(dac->nyquistValue.Handle()), c.nyquist);
        if (c.typed == L"96000" || applies) {
            EXPECT_EQ(wintest::TextOf(dac->clockError.Handle()), u"");
        } else {
            EXPECT_EQ(wintest::TextOf(dac->clockError.Handle()), refusal);
            // The refused text stays where it was typed, to be mended.
            EXPECT_EQ(wintest::TextOf(dac->clockBox.Handle()), ui::ToU16(c.typed));
        }
    }
    // Leaving the box applies what was typed.
    type(L"22050", VK_TAB);
    EXPECT_EQ(dac->ClockHz(), 22050);
    EXPECT_EQ(wintest::TextOf(dac->clockBox.Handle()), u"22,050");
    // The arrow keys choose the next offered rate at once.
    SetFocus(field);
    wintest::PressKey(VK_DOWN);
    EXPECT_EQ(dac->ClockHz(), 32000);
    EXPECT_EQ(wintest::TextOf(dac->outputValue.Handle()), u"125 Hz");
    EXPECT_TRUE(wintest::ErrorLog().empty());
}

// Tab reaches every control and the keyboard works each; Escape closes the clock's list
// when it is open, else the window.
TEST_F(DacWindowTest, TabReachesEveryControlAndEscapeCloses) {
    Open({.Language = dac::Language::English, .SoundProblem = [] { return std::u16string(); }});
    SetFocus(dac->clockBox.Field());
    const std::vector<HWND> stops{dac->listenBox.Handle(), dac->volumeSlider.Handle(),
                                  dac->phaseWheel.Handle(), dac->spectrum.Handle(),
                                  dac->clockBox.Field()};
    for (const HWND stop : stops) {
        wintest::PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), stop);
    }
    wintest::PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), dac->spectrum.Handle());

    SetFocus(dac->volumeSlider.Handle());
    wintest::PressKey(VK_RIGHT);
    EXPECT_EQ(dac->volumeSlider.Position(), dac::kDesignedVolumePercent + 1);

    SetFocus(dac->clockBox.Field());
    SendMessageW(dac->clockBox.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(dac->clockBox.DroppedDown());
    wintest::PressKey(VK_ESCAPE);
    EXPECT_FALSE(dac->clockBox.DroppedDown());
    ASSERT_NE(dac->Handle(), nullptr);
    wintest::PressKey(VK_ESCAPE);
    EXPECT_EQ(dac->Handle(), nullptr) << "Escape closes the window";
    EXPECT_TRUE(IsWindow(main->Handle()));
    EXPECT_TRUE(wintest::ErrorLog().empty());
}

TEST_F(DacWindowTest, AltF4ClosesTheWindowAndNotTheMainOne) {
    Open();
    wintest::PressChord(VK_MENU, VK_F4);
    EXPECT_TRUE(wintest::PumpUntil([&] { return dac->Handle() == nullptr; }));
    EXPECT_TRUE(IsWindow(main->Handle()));
}

// Without a sound device the toggle is disabled and the window says why; nothing fails
// and no error box opens.
TEST_F(DacWindowTest, WithoutASoundDeviceListenIsDisabledAndTheWindowSaysWhy) {
    Open({.Language = dac::Language::English,
          .SoundProblem = [] { return std::u16string(kNoDevice); }});
    EXPECT_FALSE(dac->listenBox.Enabled());
    EXPECT_FALSE(dac->listenBox.Checked());
    EXPECT_EQ(wintest::TextOf(dac->soundStatus.Handle()),
              u"No sound device: Listen is not available");
    dac->StartListening();
    EXPECT_FALSE(dac->Listening());
    for (const ui::Control* stop : dac->TabStops()) EXPECT_NE(stop, &dac->listenBox);
    EXPECT_TRUE(wintest::ErrorLog().empty());
}

// The system's own answer, whatever this prefix has: without a device as above; with one,
// Listen plays, and closing the window stops it.
TEST_F(DacWindowTest, ListenFollowsTheSystemsSoundDevice) {
    Open({.Language = dac::Language::English, .SoundProblem = dac::SoundOutputProblem});
    if (!dac::SoundOutputProblem().empty()) {
        EXPECT_FALSE(dac->listenBox.Enabled());
        EXPECT_NE(wintest::TextOf(dac->soundStatus.Handle()), u"");
    } else {
        SetFocus(dac->listenBox.Handle());
        wintest::PressKey(VK_SPACE);
        if (dac->Listening()) {
            EXPECT_TRUE(dac->listenBox.Checked());
            EXPECT_EQ(dac->Sound()->State(), dac::SoundState::Playing);
        } else {
            // The device refused to open: the same state as no device.
            EXPECT_FALSE(dac->listenBox.Enabled());
            EXPECT_NE(wintest::TextOf(dac->soundStatus.Handle()), u"");
        }
        dac->Close();
        EXPECT_FALSE(dac->Listening());
    }
    EXPECT_TRUE(wintest::ErrorLog().empty());
}

TEST_F(DacWindowTest, RussianTextsForARussianInterface) {
    Open({.Language = dac::Language::Russian});
    EXPECT_EQ(wintest::TextOf(dac->Handle()), u"Выход ЦАП");
    EXPECT_EQ(wintest::TextOf(dac->clockLabel.Handle()), u"Тактовая частота:");
    EXPECT_EQ(wintest::TextOf(dac->listenBox.Handle()), u"Слушать");
    EXPECT_EQ(wintest::TextOf(dac->outputCaption.Handle()), u"Выходная частота:");
    const std::u16string output = wintest::TextOf(dac->outputValue.Handle());
    EXPECT_EQ(output.substr(output.size() - 3), u" Гц");
    EXPECT_EQ(dac->spectrum.AccessibleValue().substr(0, 9), u"Основная ");
    EXPECT_EQ(dac->phaseWheel.AccessibleValue(), u"Аккумулятор 0, адрес в таблице 0");
    EXPECT_EQ(dac->spectrum.AccessibleName(), u"Спектр");
}

// Resizable down to its smallest size; the spectrum takes what the window gains and the
// wheel keeps to the right edge.
TEST_F(DacWindowTest, TheSpectrumTakesTheFreeSpaceDownToTheSmallestSize) {
    Open({.MonitorDpi = 120});
    const base::RectPx spectrum = dac->spectrum.BoundsPx();
    const base::RectPx wheel = dac->phaseWheel.BoundsPx();
    RECT outer{};
    GetWindowRect(dac->Handle(), &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(dac->Handle(), nullptr, 0, 0, width + 200, height + 100,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wintest::Pump();
    EXPECT_EQ(
        dac->spectrum.BoundsPx(),
        (base::RectPx{spectrum.Left, spectrum.Top, spectrum.Right + 200, spectrum.Bottom + 100}));
    EXPECT_EQ(dac->phaseWheel.BoundsPx(),
              (base::RectPx{wheel.Left + 200, wheel.Top, wheel.Right + 200, wheel.Bottom}));
    SetWindowPos(dac->Handle(), nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wintest::Pump();
    EXPECT_EQ(dac->ClientSizePx(), layout::kDacMinClientSize);
}

// Laid out from its table at each density: every control at its scaled rectangle (a label
// at its scaled corner), the fonts scaled, the client area and the smallest size too.
void ExpectDacLaidOutAt(const DacWindow& window, int dpi) {
    EXPECT_EQ(window.CurrentDpi(), dpi);
    EXPECT_EQ(window.ClientSizePx(),
              (base::SizePx{layout::ScaleValue(800, dpi, 120), layout::ScaleValue(600, dpi, 120)}));
    EXPECT_EQ(window.FontHeightPx(), layout::ScaleValue(15, dpi, 120));
    for (const layout::ControlDesc& desc : layout::DacFormControls(window.TextLanguage())) {
        SCOPED_TRACE(std::string(desc.Name) + " at " + std::to_string(dpi));
        const ui::Control* control = window.FindControl(desc.Name);
        ASSERT_NE(control, nullptr);
        const base::RectPx expected = layout::ScaleRect(desc.Rect, dpi, 120);
        const base::RectPx bounds = control->BoundsPx();
        EXPECT_EQ(bounds.Left, expected.Left);
        EXPECT_EQ(bounds.Top, expected.Top);
        if (desc.Kind != layout::ControlKind::Label && desc.Kind != layout::ControlKind::ComboBox) {
            EXPECT_EQ(bounds, expected);
        }
        if (desc.Kind == layout::ControlKind::ComboBox) {
            EXPECT_EQ(bounds.Right, expected.Right);
        }
    }
}

// Built for a density before it is shown (showing scales it to its monitor's).
TEST(DacWindowLayout, LaidOutAt96And120And144) {
    auto main = wintest::ShowForm();
    for (const int dpi : {96, 120, 144}) {
        const DacWindow window(main->Handle(), {.MonitorDpi = dpi,
                                                .Language = dac::Language::English,
                                                .SoundProblem = [] { return std::u16string(); }});
        ExpectDacLaidOutAt(window, dpi);
    }
    ui::Application::Current()->SetMainWindow(nullptr, nullptr);
}

TEST(MonitorDensityDacWindow, TheWindowIsScaledToItsOwnersMonitor) {
    const char* expected = std::getenv("PHASEBOX_EXPECTED_DPI");
    if (!expected) GTEST_SKIP() << "runs in a prefix with a set density";
    const int dpi = std::atoi(expected);
    auto main = wintest::ShowForm();
    DacWindow window(main->Handle(), {.SoundProblem = [] { return std::u16string(); }});
    window.Show(SW_SHOWNORMAL);
    ExpectDacLaidOutAt(window, dpi);
    ui::Application::Current()->SetMainWindow(nullptr, nullptr);
}

// Ctrl+C and Ctrl+S on the spectrum: its picture and its levels on the clipboard, the CSV
// numbers or the PNG picture in a file.
TEST_F(DacWindowTest, CtrlCAndCtrlSOnTheSpectrumGiveItsPictureAndNumbers) {
    Open({.Language = dac::Language::English});
    dac->Follow(0, 4096, dds::Waveform::Sin);
    SetFocus(dac->spectrum.Handle());
    wintest::PressChord(VK_CONTROL, 'C');
    ASSERT_TRUE(OpenClipboard(dac->Handle()));
    const bool picture = IsClipboardFormatAvailable(CF_DIB) != FALSE;
    std::u16string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    EXPECT_TRUE(picture);
    EXPECT_EQ(text.substr(0, 27), u"bin\tfrequency_hz\tlevel_db\r\n");
    EXPECT_NE(text.find(u"\r\n4096\t3000\t"), std::u16string::npos) << "the fundamental's row";

    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("phasebox-dac-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(dir);
    for (const ui::SaveFormat format : {ui::SaveFormat::Csv, ui::SaveFormat::Png}) {
        const std::filesystem::path file =
            dir / (format == ui::SaveFormat::Csv ? "spectrum.csv" : "spectrum.png");
        dac->spectrum.ChooseSaveFile = [&](HWND) {
            return std::optional<ui::SaveChoice>(ui::SaveChoice{file.wstring(), format});
        };
        wintest::PressChord(VK_CONTROL, 'S');
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        if (format == ui::SaveFormat::Csv) {
            EXPECT_EQ(bytes.substr(0, 27), "bin,frequency_hz,level_db\r\n");
            // A sine from an 8-bit table: its fundamental, its spurs and DC at most, far
            // fewer rows than bins.
            EXPECT_NE(bytes.find("\r\n4096,3000,"), std::string::npos);
        } else {
            EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
        }
    }
    std::filesystem::remove_all(dir);
    EXPECT_TRUE(wintest::ErrorLog().empty());
}

// What a screen reader finds, asked from a second process: the views' names, roles and
// values, which follow the generator.
TEST_F(DacWindowTest, ASecondProcessReadsTheViewsValues) {
    Open({.Language = dac::Language::English});
    const auto centre = [](const ui::Control& c) {
        const base::SizePx s = c.ClientSizePx();
        POINT p{s.Width / 2, s.Height / 2};
        ClientToScreen(c.Handle(), &p);
        return std::to_wstring(p.x) + L"," + std::to_wstring(p.y);
    };
    const auto fields = [](const std::string& line) {
        std::vector<std::string> out;
        std::istringstream in(line);
        for (std::string f; std::getline(in, f, '\t');) out.push_back(f);
        return out;
    };
    dac->Follow(0x1234, 1000, dds::Waveform::Tri);
    const std::vector<std::string> lines =
        wintest::Probe({centre(dac->spectrum), centre(dac->phaseWheel)});
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<std::string> spectrum = fields(lines[0]);
    ASSERT_EQ(spectrum.size(), 3u) << lines[0];
    EXPECT_EQ(spectrum[0], "Spectrum");
    EXPECT_EQ(spectrum[1], std::to_string(ROLE_SYSTEM_CHART));
    EXPECT_EQ(spectrum[2],
              Utf8(dac::SpectrumValueText(dac->spectrum.CurrentSpectrum(), 48000,
                                          dac::Language::English, ui::UserNumberSymbols())));
    EXPECT_EQ(spectrum[2].substr(0, 24), "Fundamental 732.422 Hz, ") << spectrum[2];
    EXPECT_NE(spectrum[2].find("; SFDR "), std::string::npos) << spectrum[2];
    const std::vector<std::string> wheel = fields(lines[1]);
    ASSERT_EQ(wheel.size(), 3u) << lines[1];
    EXPECT_EQ(wheel[0], "Phase wheel");
    EXPECT_EQ(wheel[1], std::to_string(ROLE_SYSTEM_DIAGRAM));
    EXPECT_EQ(wheel[2], "Accumulator 4660, table address 18");
}

}  // namespace

namespace {

// The id of the system menu's last item, the DAC output window's, and its text.
std::pair<UINT, std::u16string> LastSystemMenuItem(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    const int count = GetMenuItemCount(menu);
    wchar_t text[128]{};
    GetMenuStringW(menu, static_cast<UINT>(count - 1), text, 128, MF_BYPOSITION);
    return {GetMenuItemID(menu, count - 1), ui::ToU16(text)};
}

// The main window opens the DAC output window from its system menu and by Ctrl+D, one
// at a time, and gives it every change of its generator.
TEST(DacWindowOfTheMainWindow, OpensByMenuAndKeyOneAtATime) {
    auto main = wintest::ShowForm();
    const auto [command, text] = LastSystemMenuItem(main->Handle());
    EXPECT_EQ(text, dac::TextsIn(dacwin::UserLanguage()).MenuItem);
    EXPECT_EQ(main->DacOutput(), nullptr);

    PostMessageW(main->Handle(), WM_SYSCOMMAND, command, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return main->DacOutput() != nullptr; }));
    dacwin::DacWindow* dac = main->DacOutput();
    EXPECT_EQ(GetWindow(dac->Handle(), GW_OWNER), main->Handle());
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetActiveWindow() == dac->Handle(); }));
    // Opening it again brings the same window to the front.
    SetActiveWindow(main->Handle());
    PostMessageW(main->Handle(), WM_SYSCOMMAND, command, 0);
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetActiveWindow() == dac->Handle(); }));
    EXPECT_EQ(main->DacOutput(), dac);

    wintest::PressKey(VK_ESCAPE);
    EXPECT_EQ(main->DacOutput(), nullptr);
    // Ctrl+D anywhere in the main window: here in the increment box, which takes no Ctrl+D.
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
    SetFocus(main->incrementBox.Handle());
    wintest::PressChord(VK_CONTROL, 'D');
    ASSERT_NE(main->DacOutput(), nullptr);
    EXPECT_EQ(wintest::TextOf(main->incrementBox.Handle()), u"256");

    // Closing the main window's object destroys the window it owns.
    const HWND dacHandle = main->DacOutput()->Handle();
    ui::Application::Current()->SetMainWindow(nullptr, nullptr);
    main.reset();
    EXPECT_FALSE(IsWindow(dacHandle));
    EXPECT_TRUE(wintest::ErrorLog().empty());
}

TEST(DacWindowOfTheMainWindow, FollowsEveryStepResetIncrementAndWaveform) {
    auto main = wintest::ShowForm();
    main->OpenDacWindow();
    dacwin::DacWindow* dac = main->DacOutput();
    ASSERT_NE(dac, nullptr);
    wintest::Pump(50ms);
    const int spectra = dac->spectrum.Computations();

    for (int i = 0; i < 3; ++i) main->Step();
    EXPECT_EQ(dac->phaseWheel.Accumulator(), 768);
    EXPECT_EQ(dac->phaseWheel.Accumulator(), main->Generator().Accumulator());
    // The generator at its fastest for a while: the wheel keeps up, the spectrum stays.
    main->speedSlider.SetPosition(500);
    main->runBox.SetChecked(true);
    wintest::Pump(400ms);
    main->runBox.SetChecked(false);
    EXPECT_EQ(dac->phaseWheel.Accumulator(), main->Generator().Accumulator());
    EXPECT_GT(main->Generator().Accumulator(), 768);
    wintest::Pump(50ms);
    EXPECT_EQ(dac->spectrum.Computations(), spectra);

    main->ResetAccumulator();
    EXPECT_EQ(dac->phaseWheel.Accumulator(), 0);
    main->incrementBox.SetValue(40000);
    EXPECT_EQ(wintest::TextOf(dac->outputValue.Handle()), u"29,296.875 Hz");
    EXPECT_NE(wintest::TextOf(dac->aboveNyquistNote.Handle()), u"");
    main->sqrButton.SetChecked(true);
    const dac::Spectrum& square = dac->spectrum.CurrentSpectrum();
    const dac::Spectrum expected = dac::ComputeSpectrum(dds::TableFor(dds::Waveform::Sqr), 40000);
    EXPECT_EQ(square.LevelDb, expected.LevelDb);
    // At most one spectrum per change of tone (the screen readers' value may ask for it at
    // once), never one per step.
    EXPECT_LE(dac->spectrum.Computations(), spectra + 2);
    ui::Application::Current()->SetMainWindow(nullptr, nullptr);
}

// Whether `upper` lies above `lower` in the platform's order of top-level windows.
bool Above(HWND upper, HWND lower) {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h == upper) return true;
        if (h == lower) return false;
    }
    return false;
}

// Owned: above the main window when the main window is clicked, hidden with it when it is
// minimised, back with it when it is restored.
TEST(DacWindowOfTheMainWindow, StaysAboveTheMainWindowAndMinimisesWithIt) {
    auto main = wintest::ShowForm();
    main->OpenDacWindow();
    const HWND dac = main->DacOutput()->Handle();
    ASSERT_TRUE(wintest::PumpUntil([&] { return GetActiveWindow() == dac; }));
    // The main window activated through the platform: the owned window stays above it.
    // (Under Wine without a window manager a click restacks the X windows apart from the
    // platform's order; the shots of the program show that, not this order.)
    SetActiveWindow(main->Handle());
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetActiveWindow() == main->Handle(); }));
    EXPECT_TRUE(Above(dac, main->Handle()));
    ShowWindow(main->Handle(), SW_MINIMIZE);
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(dac); }));
    ShowWindow(main->Handle(), SW_RESTORE);
    EXPECT_TRUE(wintest::PumpUntil([&] { return IsWindowVisible(dac) != FALSE; }));
    EXPECT_TRUE(wintest::PumpUntil([&] { return Above(dac, main->Handle()); }, 3s));
    ui::Application::Current()->SetMainWindow(nullptr, nullptr);
}

// The start options open it with the clock chosen; without a device, --listen fails
// quietly as a click on the disabled toggle would.
TEST(DacWindowOfTheMainWindow, StartOptionsOpenItWithItsClock) {
    auto main = wintest::ShowForm();
    output::StartOptions options;
    options.Increment = 1000;
    options.Dac = true;
    options.Listen = true;
    options.DacClockHz = 96000;
    main->ApplyStartOptions(options);
    dacwin::DacWindow* dac = main->DacOutput();
    ASSERT_NE(dac, nullptr);
    EXPECT_EQ(dac->ClockHz(), 96000);
    EXPECT_EQ(wintest::TextOf(dac->outputValue.Handle()), u"1,464.844 Hz");
    EXPECT_EQ(dac->Listening(), dac::SoundOutputProblem().empty() && dac->listenBox.Enabled());
    dac->Close();
    EXPECT_TRUE(wintest::ErrorLog().empty());
    ui::Application::Current()->SetMainWindow(nullptr, nullptr);
}

}  // namespace
