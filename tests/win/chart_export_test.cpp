// The chart leaves the window: Ctrl+C and Ctrl+Insert on the focused chart, read back from
// the clipboard by a second process (clip_probe.exe); Ctrl+S through the system's Save
// dialog, driven by a helper thread as a user would fill it in; a file written whole or
// not at all; and the keys named to screen readers.
#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "chart_window.h"
#include "core/output/png_encoder.h"
#include "core/output/point_text.h"
#include "win/output/file_output.h"
#include "win/ui/text.h"
#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        static int n = 0;
        path_ = fs::temp_directory_path() /
                ("phasebox-export-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++n));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path_)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs clip_probe.exe with `args`, pumping this thread's messages until it ends; its exit code.
DWORD RunProbe(const std::wstring& args, HANDLE* started = nullptr) {
    std::wstring command = L"\"" + wintest::ExeDir() + L"clip_probe.exe\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        ADD_FAILURE() << "cannot start clip_probe.exe: " << GetLastError();
        return 99;
    }
    CloseHandle(pi.hThread);
    if (started) {
        *started = pi.hProcess;
        return 0;
    }
    const bool ended = wintest::PumpUntil(
        [&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 30s);
    DWORD code = 98;
    if (ended) GetExitCodeProcess(pi.hProcess, &code);
    if (!ended) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    EXPECT_TRUE(ended) << "clip_probe never ended";
    return code;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // top row first, 0x00RRGGBB
    int notOpaque = 0;                  // pixels whose fourth byte is not 255
};

// A 32-bit BI_RGB bitmap file as clip_probe writes it.
Bitmap ReadBitmap(const fs::path& path) {
    const std::string bytes = ReadAll(path);
    Bitmap out;
    if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) {
        ADD_FAILURE() << "no bitmap in " << path;
        return out;
    }
    BITMAPINFOHEADER h;
    std::memcpy(&h, bytes.data() + sizeof(BITMAPFILEHEADER), sizeof h);
    EXPECT_EQ(h.biBitCount, 32);
    EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
    out.width = h.biWidth;
    out.height = std::abs(h.biHeight);
    const char* bits = bytes.data() + sizeof(BITMAPFILEHEADER) + h.biSize;
    const std::size_t need = static_cast<std::size_t>(out.width) * out.height * 4;
    if (bytes.size() < sizeof(BITMAPFILEHEADER) + h.biSize + need) {
        ADD_FAILURE() << "the bitmap's pixels are cut short";
        return out;
    }
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y) {
        const int row = h.biHeight > 0 ? out.height - 1 - y : y;
        std::memcpy(&out.pixels[static_cast<std::size_t>(y) * out.width],
                    bits + static_cast<std::size_t>(row) * out.width * 4,
                    static_cast<std::size_t>(out.width) * 4);
    }
    for (std::uint32_t& p : out.pixels) {
        if (p >> 24 != 0xFFu) ++out.notOpaque;
        p &= 0xFFFFFFu;
    }
    return out;
}

void PutTextOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(h), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(h);
    SetClipboardData(CF_UNICODETEXT, h);
    CloseClipboard();
}

class ChartExport : public testing::Test {
protected:
    void SetUp() override {
        wintest::ErrorLog().clear();
        form = wintest::ShowForm(wintest::At(120));
        form->autoClearBox.SetChecked(false);
        form->chartWidthSlider.SetPosition(40);
        for (int i = 0; i < 57; ++i) SendMessageW(form->stepButton.Handle(), BM_CLICK, 0, 0);
        SetFocus(form->waveformChart.Handle());
        wintest::PumpUntil([&] { return GetFocus() == form->waveformChart.Handle(); });
        wintest::Pump(50ms);
        form->waveformChart.AlertSound = [this] { ++alerts; };
    }

    // The lines of the chart's points whose x lies in the visible bottom range.
    std::vector<std::string> ExpectedLines(char separator) const {
        const chart::Axis& bottom = form->waveformChart.Layout().Bottom;
        return Lines(output::PointsText(form->outputLine.XValues(), form->outputLine.YValues(),
                                        bottom.DrawnMinimum, bottom.DrawnMaximum, separator));
    }

    struct View {
        double bottomMin, bottomMax, leftMin, leftMax;
        int redraws;
        bool operator==(const View&) const = default;
    };
    View CurrentView() const {
        const chart::ChartView& c = form->waveformChart;
        return {c.BottomAxis.Minimum, c.BottomAxis.Maximum, c.LeftAxis.Minimum, c.LeftAxis.Maximum,
                c.Stats().Redraws};
    }

    std::unique_ptr<MainWindow> form;
    int alerts = 0;
};

TEST_F(ChartExport, CopyKeysPutThePictureAndTheVisiblePointsOnTheClipboard) {
    for (const WORD key : {WORD('C'), WORD(VK_INSERT)}) {
        SCOPED_TRACE(key == 'C' ? "Ctrl+C" : "Ctrl+Insert");
        PutTextOnClipboard(L"before");
        const View before = CurrentView();
        wintest::PressChord(VK_CONTROL, key);
        EXPECT_EQ(CurrentView(), before) << "a copy changes no view and draws nothing";
        EXPECT_EQ(alerts, 0);

        TempFolder folder;
        const fs::path prefix = folder.Path() / "clip";
        ASSERT_EQ(RunProbe(L"\"" + prefix.wstring() + L"\" read"), 0u);
        const Bitmap bmp = ReadBitmap(prefix.wstring() + L".bmp");
        const base::SizePx client = form->waveformChart.ClientSizePx();
        ASSERT_EQ(bmp.width, client.Width);
        ASSERT_EQ(bmp.height, client.Height);
        const ui::MemoryPicture& picture = form->waveformChart.Picture();
        GdiFlush();
        int differing = 0;
        for (int y = 0; y < bmp.height; ++y) {
            for (int x = 0; x < bmp.width; ++x) {
                if (bmp.pixels[static_cast<std::size_t>(y) * bmp.width + x] !=
                    (picture.Row(y)[x] & 0xFFFFFFu)) {
                    ++differing;
                }
            }
        }
        EXPECT_EQ(differing, 0) << "pixels of the clipboard's picture unlike the chart's";
        EXPECT_EQ(bmp.notOpaque, 0) << "a reader of the alpha byte would see holes";
        // The same picture in the registered format "PNG", as a PNG file of its own.
        const std::string png = ReadAll(prefix.wstring() + L".clip.png");
        const std::vector<std::uint8_t> expected =
            output::EncodePng(bmp.pixels, bmp.width, bmp.height);
        EXPECT_EQ(png, std::string(expected.begin(), expected.end()));
        const std::vector<std::string> lines = Lines(ReadAll(prefix.wstring() + L".txt"));
        EXPECT_EQ(lines, ExpectedLines('\t'));
        // 58 points, x 0 .. 57, of which the visible range 0 .. 40 shows 41.
        ASSERT_EQ(lines.size(), 42u);
        EXPECT_EQ(lines[0], "x\ty");
        EXPECT_EQ(lines[1], "0\t128");
        EXPECT_EQ(lines[41],
                  "40\t" + std::to_string(static_cast<int>(form->outputLine.YValues()[40])));
    }
}

// A copy taken between a step and its paint brings the picture up to date and the screen
// shows what was copied. Where the window's other controls overlap the chart the screen
// shows them; those pixels differ before the step and after it alike.
TEST_F(ChartExport, ACopyBeforeAStepIsPaintedShowsOnTheScreenToo) {
    form->chartWidthSlider.SetPosition(1000);
    wintest::Pump(100ms);
    const auto unlike = [](const wintest::Pixels& screen, const wintest::Pixels& expected) {
        std::vector<int> at;
        for (int i = 0; i < expected.width * expected.height; ++i) {
            if (screen.colours[static_cast<std::size_t>(i)] !=
                expected.colours[static_cast<std::size_t>(i)]) {
                at.push_back(i);
            }
        }
        return at;
    };
    const HWND chart = form->waveformChart.Handle();
    const std::vector<int> covered =
        unlike(wintest::Screen(chart), wintest::Copy(form->waveformChart.Picture()));
    for (int i = 0; i < 3; ++i) {
        SendMessageW(form->stepButton.Handle(), BM_CLICK, 0, 0);
        const chart::ChartSnapshot shot = form->waveformChart.Snapshot();
        ASSERT_TRUE(form->waveformChart.CopyToClipboard());
        wintest::Pump(100ms);
        wintest::Pixels copied{shot.WidthPx, shot.HeightPx, {}};
        for (const std::uint32_t p : shot.Pixels) {
            copied.colours.push_back(RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF));
        }
        const wintest::Pixels screen = wintest::Screen(chart);
        ASSERT_EQ(screen.width, copied.width);
        ASSERT_EQ(screen.height, copied.height);
        EXPECT_EQ(unlike(screen, copied), covered) << "step " << i;
        EXPECT_NE(
            Lines(shot.TabText).back().find(std::to_string(form->outputLine.Count() - 1) + "\t"),
            std::string::npos)
            << "the new point is in the text";
    }
}

TEST_F(ChartExport, ACopyDuringAZoomDragLeavesTheRubberBandOut) {
    const base::SizePx client = form->waveformChart.ClientSizePx();
    const HWND chart = form->waveformChart.Handle();
    POINT from{client.Width / 4, client.Height / 4};
    POINT to{client.Width / 2, client.Height / 2};
    ClientToScreen(chart, &from);
    ClientToScreen(chart, &to);
    SetCursorPos(from.x, from.y);
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    wintest::SendInputAndWait({down});
    SetCursorPos(to.x, to.y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    wintest::SendInputAndWait({move});
    ASSERT_EQ(form->waveformChart.Mouse().Mode(), chart::DragMode::Zooming);

    const chart::ChartSnapshot shot = form->waveformChart.Snapshot();
    // The band is drawn only onto the screen: the screen and the snapshot differ on its
    // outline and nowhere else would a plain picture differ.
    const ui::MemoryPicture& picture = form->waveformChart.Picture();
    int unlikePicture = 0;
    for (int y = 0; y < shot.HeightPx; ++y) {
        for (int x = 0; x < shot.WidthPx; ++x) {
            if (shot.Pixels[static_cast<std::size_t>(y) * shot.WidthPx + x] !=
                (picture.Row(y)[x] & 0xFFFFFFu)) {
                ++unlikePicture;
            }
        }
    }
    EXPECT_EQ(unlikePicture, 0);
    int bandPixels = 0;
    {
        const ui::WindowDc dc(chart);
        const int y = client.Height / 4;
        for (int x = client.Width / 4 + 2; x < client.Width / 2 - 2; ++x) {
            const std::uint32_t p = shot.Pixels[static_cast<std::size_t>(y) * shot.WidthPx + x];
            if (GetPixel(dc.Get(), x, y) != RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF)) {
                ++bandPixels;
            }
        }
    }
    EXPECT_GT(bandPixels, 0) << "the band shows on the screen";
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    wintest::SendInputAndWait({up});
}

TEST_F(ChartExport, ACopyWhileAnotherProgramHoldsTheClipboardSoundsTheAlert) {
    PutTextOnClipboard(L"before");
    TempFolder folder;
    const fs::path marker = folder.Path() / "held";
    HANDLE holder = nullptr;
    RunProbe(L"\"" + marker.wstring() + L"\" hold:4000", &holder);
    ASSERT_TRUE(holder);
    ASSERT_TRUE(wintest::PumpUntil([&] { return fs::exists(marker); }, 20s));
    const View before = CurrentView();
    wintest::PressChord(VK_CONTROL, 'C');
    EXPECT_EQ(alerts, 1);
    EXPECT_EQ(CurrentView(), before);
    wintest::PumpUntil([&] { return WaitForSingleObject(holder, 0) == WAIT_OBJECT_0; }, 30s);
    CloseHandle(holder);
    // The clipboard holds what it held.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    HANDLE text = GetClipboardData(CF_UNICODETEXT);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(text))), L"before");
    GlobalUnlock(text);
    CloseClipboard();
}

TEST_F(ChartExport, ACopyWaitsForAClipboardHeldBriefly) {
    TempFolder folder;
    const fs::path marker = folder.Path() / "held";
    HANDLE holder = nullptr;
    RunProbe(L"\"" + marker.wstring() + L"\" hold:100", &holder);
    ASSERT_TRUE(holder);
    ASSERT_TRUE(wintest::PumpUntil([&] { return fs::exists(marker); }, 20s));
    EXPECT_TRUE(form->waveformChart.CopyToClipboard());
    EXPECT_EQ(alerts, 0);
    wintest::PumpUntil([&] { return WaitForSingleObject(holder, 0) == WAIT_OBJECT_0; }, 30s);
    CloseHandle(holder);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
}

// ---------------------------------------------------------------------------
// Saving

// Fills in the Save dialog from another thread, as a user would: the file name typed into
// its name box, the type chosen, Save pressed, and "Yes" in the overwrite question.
class DialogDriver {
public:
    DialogDriver(std::wstring name, int typeIndex, bool confirmOverwrite)
        : name_(std::move(name)),
          typeIndex_(typeIndex),
          confirm_(confirmOverwrite),
          thread_([this] { Run(); }) {}
    ~DialogDriver() {
        stop_ = true;
        thread_.join();
    }
    bool Saved() const { return saved_; }
    bool AskedToOverwrite() const { return asked_; }

private:
    static HWND OwnDialog(HWND after) {
        struct Search {
            HWND after;
            HWND found = nullptr;
            bool passed;
        } s{after, nullptr, after == nullptr};
        EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto& search = *reinterpret_cast<Search*>(lp);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                wchar_t cls[32] = {};
                GetClassNameW(hwnd, cls, 32);
                if (pid != GetCurrentProcessId() || std::wstring(cls) != L"#32770" ||
                    !IsWindowVisible(hwnd) || hwnd == search.after) {
                    return TRUE;
                }
                search.found = hwnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
        return s.found;
    }

    // The texts of a box's static controls, one after the other.
    static std::string StaticTexts(HWND box) {
        wchar_t text[512] = {};
        EnumChildWindows(
            box,
            [](HWND child, LPARAM lp) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(child, cls, 16);
                if (std::wstring(cls) == L"Static") {
                    auto* out = reinterpret_cast<wchar_t*>(lp);
                    GetWindowTextW(child, out + wcslen(out), 200);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(text));
        return ui::ToUtf8(text);
    }

    // The edit box the file name is typed into: edt1, or the edit inside cmb13.
    static HWND NameBox(HWND dialog) {
        if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;
        if (HWND combo = GetDlgItem(dialog, 0x47C)) {
            if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
            return combo;
        }
        return nullptr;
    }

    void Run() {
        HWND dialog = nullptr;
        while (!stop_ && !(dialog = OwnDialog(nullptr))) Sleep(20);
        if (stop_) return;
        HWND name = nullptr;
        while (!stop_ && !(name = NameBox(dialog))) Sleep(20);
        if (stop_) return;
        if (HWND types = GetDlgItem(dialog, 0x470)) {  // cmb1: the file types
            SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(typeIndex_ - 1), 0);
            // A choice with the mouse or keys tells both.
            for (const WORD code : {WORD(CBN_SELCHANGE), WORD(CBN_SELENDOK)}) {
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, code),
                             reinterpret_cast<LPARAM>(types));
            }
        }
        wchar_t shown[MAX_PATH] = {};
        GetWindowTextW(name, shown, MAX_PATH);
        offered_ = ui::ToUtf8(shown);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name_.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        // The overwrite question is a message box of its own over the dialog, or the
        // program's own after the dialog closed.
        for (int i = 0, gone = 0; i < 200 && !stop_ && gone < 50; ++i) {
            if (!IsWindow(dialog)) ++gone;
            HWND question = OwnDialog(dialog);
            if (question && GetDlgItem(question, IDYES)) {
                question_ = StaticTexts(question);
                asked_ = true;
                PostMessageW(
                    question, WM_COMMAND, MAKEWPARAM(confirm_ ? IDYES : IDNO, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(question, confirm_ ? IDYES : IDNO)));
                break;
            }
            Sleep(20);
        }
        // Anything still open after a while (a question this driver does not answer, a
        // refusal) is noted and cancelled, so that the test goes on.
        for (int i = 0; i < 250 && !stop_; ++i) {
            HWND left = OwnDialog(nullptr);
            if (!left) break;
            if (i >= 100) {
                leftOpen_ = StaticTexts(left);
                PostMessageW(left, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                PostMessageW(left, WM_CLOSE, 0, 0);
            }
            Sleep(20);
        }
        saved_ = true;
    }

public:
    // The file name the dialog offered before this driver typed one.
    std::string Offered() const { return saved_ ? offered_ : std::string(); }
    // The text of a box that stayed open and was cancelled; empty when none did.
    std::string LeftOpen() const { return saved_ ? leftOpen_ : std::string("(still running)"); }
    // The text of the overwrite question answered; empty when none was asked.
    std::string Question() const { return saved_ ? question_ : std::string("(still running)"); }

private:
    std::string leftOpen_;
    std::string question_;
    std::string offered_;

    std::wstring name_;
    int typeIndex_;
    bool confirm_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> saved_{false};
    std::atomic<bool> asked_{false};
    std::thread thread_;
};

TEST_F(ChartExport, CtrlSSavesThroughTheDialogAsPngOrCsv) {
    TempFolder folder;
    const chart::ChartSnapshot shot = form->waveformChart.Snapshot();
    const struct {
        std::wstring name;
        int typeIndex;
        const char* file;
    } cases[] = {
        {L"picture", 1, "picture.png"},
        {L"numbers", 2, "numbers.csv"},
        {L"typed.CSV", 1, "typed.CSV"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const View before = CurrentView();
        {
            DialogDriver driver((folder.Path() / c.name).wstring(), c.typeIndex, true);
            wintest::PressChord(VK_CONTROL, 'S');
            wintest::PumpUntil([&] { return driver.Saved(); }, 20s);
            EXPECT_EQ(driver.LeftOpen(), "");
            EXPECT_EQ(driver.Offered(), "phasebox-chart");
        }
        wintest::Pump(100ms);
        EXPECT_EQ(CurrentView(), before);
        EXPECT_TRUE(wintest::ErrorLog().empty());
        const fs::path path = folder.Path() / c.file;
        ASSERT_TRUE(fs::exists(path)) << testing::PrintToString(folder.Names());
        const std::string bytes = ReadAll(path);
        if (c.typeIndex == 2 || std::string(c.file).ends_with(".CSV")) {
            EXPECT_EQ(Lines(bytes), ExpectedLines(','));
        } else {
            ASSERT_GT(bytes.size(), 33u);
            EXPECT_EQ(bytes.substr(1, 3), "PNG");
            const auto be = [&](std::size_t at) {
                return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
                       static_cast<unsigned char>(bytes[at + 1]) << 16 |
                       static_cast<unsigned char>(bytes[at + 2]) << 8 |
                       static_cast<unsigned char>(bytes[at + 3]);
            };
            EXPECT_EQ(be(16), static_cast<std::uint32_t>(shot.WidthPx));
            EXPECT_EQ(be(20), static_cast<std::uint32_t>(shot.HeightPx));
        }
    }
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"numbers.csv", "picture.png", "typed.CSV"}))
        << "no temporary file is left beside them";
}

TEST_F(ChartExport, SavingOverAFileAsksFirst) {
    TempFolder folder;
    const fs::path path = folder.Path() / "phasebox-chart.csv";
    std::ofstream(path) << "old";
    {
        DialogDriver driver(path.wstring(), 2, false);
        wintest::PressChord(VK_CONTROL, 'S');
        wintest::PumpUntil([&] { return driver.Saved(); }, 20s);
        wintest::Pump(300ms);
        EXPECT_TRUE(driver.AskedToOverwrite());
    }
    // "No" leaves the dialog open; it is closed with Cancel.
    for (int i = 0; i < 50; ++i) {
        HWND dialog = FindWindowW(L"#32770", nullptr);
        if (!dialog) break;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        wintest::Pump(100ms);
    }
    EXPECT_EQ(ReadAll(path), "old");
    {
        DialogDriver driver(path.wstring(), 2, true);
        wintest::PressChord(VK_CONTROL, 'S');
        wintest::PumpUntil([&] { return driver.Saved(); }, 20s);
        wintest::Pump(300ms);
        EXPECT_TRUE(driver.AskedToOverwrite());
    }
    EXPECT_EQ(Lines(ReadAll(path)), ExpectedLines(','));
}

// The file written is the one the user was asked about. A quoted name gets no extension
// from the dialog and a name with an extension of its own keeps it, so the name the type's
// extension makes was never asked about: when such a file exists the program asks, and
// "No" leaves it as it was.
TEST_F(ChartExport, ASaveNeverReplacesAFileNobodyWasAskedAbout) {
    const struct {
        std::wstring typed;  // in the folder; quoted as a whole when it starts with a quote
        int typeIndex;
        std::string existing;
    } cases[] = {
        {L"\"chart\"", 1, "chart.png"},
        {L"notes.txt", 1, "notes.txt.png"},
        {L"data.txt", 2, "data.txt.csv"},
    };
    for (const auto& c : cases) {
        for (const bool replace : {false, true}) {
            SCOPED_TRACE(c.existing + (replace ? ", replaced" : ", kept"));
            TempFolder folder;
            const fs::path existing = folder.Path() / c.existing;
            std::ofstream(existing, std::ios::binary) << "old";
            const bool quoted = c.typed.front() == L'"';
            const std::wstring bare = quoted ? c.typed.substr(1, c.typed.size() - 2) : c.typed;
            const std::wstring full = (folder.Path() / bare).wstring();
            {
                DialogDriver driver(quoted ? L"\"" + full + L"\"" : full, c.typeIndex, replace);
                wintest::PressChord(VK_CONTROL, 'S');
                wintest::PumpUntil([&] { return driver.Saved(); }, 30s);
                // The dialog's own question where it added the extension itself (Wine's
                // does for a quoted name), else the program's, which names the file.
                EXPECT_TRUE(driver.AskedToOverwrite());
                EXPECT_NE(driver.Question().find("already exists"), std::string::npos)
                    << driver.Question();
            }
            // A "No" to the dialog's own question leaves the dialog open.
            for (int i = 0; i < 50; ++i) {
                HWND dialog = FindWindowW(L"#32770", nullptr);
                if (!dialog) break;
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                wintest::Pump(100ms);
            }
            EXPECT_TRUE(wintest::ErrorLog().empty());
            EXPECT_EQ(folder.Names(), std::vector<std::string>{c.existing})
                << "nothing but the file asked about is written";
            const std::string bytes = ReadAll(existing);
            if (!replace) {
                EXPECT_EQ(bytes, "old");
            } else if (c.typeIndex == 2) {
                EXPECT_EQ(Lines(bytes), ExpectedLines(','));
            } else {
                EXPECT_EQ(bytes.substr(0, 4), "\x89PNG");
            }
        }
    }
}

// The saved chart at its size on the screen is a compressed PNG.
TEST_F(ChartExport, TheSavedPictureIsCompressed) {
    TempFolder folder;
    const fs::path path = folder.Path() / "chart.png";
    form->waveformChart.ChooseSaveFile = [&](HWND) {
        return std::optional<ui::SaveChoice>(ui::SaveChoice{path.wstring(), ui::SaveFormat::Png});
    };
    wintest::PressChord(VK_CONTROL, 'S');
    wintest::PumpUntil([&] { return fs::exists(path); }, 10s);
    const base::SizePx size = form->waveformChart.ClientSizePx();
    const std::size_t stored = 3u * static_cast<std::size_t>(size.Width) * size.Height;
    const std::size_t saved = static_cast<std::size_t>(fs::file_size(path));
    std::cout << "[ figure   ] chart " << size.Width << " x " << size.Height
              << " saved as PNG: " << saved << " bytes (its pixels alone take " << stored << ")\n";
    EXPECT_LT(saved, stored / 20);
    EXPECT_TRUE(wintest::ErrorLog().empty());
}

// A folder that refuses new files: one marked read-only where the platform honours that,
// else a system folder that takes no files. Empty when there is none to be had.
std::wstring ReadOnlyFolder(const TempFolder& temp) {
    const auto refuses = [](const std::wstring& folder) {
        const std::wstring probe = folder + L"\\phasebox-probe.tmp";
        HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return true;
        CloseHandle(h);
        DeleteFileW(probe.c_str());
        return false;
    };
    const std::wstring marked = (temp.Path() / "read-only").wstring();
    CreateDirectoryW(marked.c_str(), nullptr);
    SetFileAttributesW(marked.c_str(), FILE_ATTRIBUTE_READONLY);
    if (refuses(marked)) return marked;
    SetFileAttributesW(marked.c_str(), FILE_ATTRIBUTE_NORMAL);
    // Under Wine as the superuser unix permissions do not hold; the kernel's own file system
    // refuses new files to everyone.
    for (const wchar_t* folder : {L"Z:\\sys\\kernel", L"Z:\\sys"}) {
        if (GetFileAttributesW(folder) != INVALID_FILE_ATTRIBUTES && refuses(folder)) return folder;
    }
    return {};
}

TEST_F(ChartExport, SavingIntoAReadOnlyFolderReportsPathAndReason) {
    TempFolder temp;
    const std::wstring folder = ReadOnlyFolder(temp);
    if (folder.empty()) GTEST_SKIP() << "no folder here refuses new files";
    std::cout << "[          ] the read-only folder: " << ui::ToUtf8(folder) << "\n";
    const std::wstring path = folder + L"\\phasebox-chart.png";
    // Wine's dialog takes no name in the kernel's folder (it cannot read it as a shell
    // folder), so the name comes through the dialog's seam; the key and the rest are real.
    form->waveformChart.ChooseSaveFile = [&](HWND) {
        return std::optional<ui::SaveChoice>(ui::SaveChoice{path, ui::SaveFormat::Png});
    };
    wintest::PressChord(VK_CONTROL, 'S');
    wintest::PumpUntil([] { return !wintest::ErrorLog().empty(); }, 10s);
    ASSERT_EQ(wintest::ErrorLog().size(), 1u);
    const std::wstring text = ui::ToWide(wintest::ErrorLog()[0].text);
    EXPECT_NE(text.find(L"\"" + path + L"\""), std::wstring::npos) << ui::ToUtf8(text);
    EXPECT_NE(text.find(L"denied"), std::wstring::npos) << ui::ToUtf8(text);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    // The program goes on: the chart still copies.
    EXPECT_TRUE(form->waveformChart.CopyToClipboard());
    SetFileAttributesW((temp.Path() / "read-only").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// ---------------------------------------------------------------------------
// Files written whole or not at all

TEST(WholeFile, AFailureLeavesTheTargetAsItWasAndNoTemporaryFile) {
    TempFolder folder;
    const fs::path target = folder.Path() / "kept.csv";
    std::ofstream(target, std::ios::binary) << "old contents";
    try {
        ui::WriteWholeFile(target.wstring(), [](const base::ByteSink& sink) {
            sink(std::string(100000, 'x'));
            throw std::runtime_error("disk full");
        });
        ADD_FAILURE() << "the failure was swallowed";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "disk full");
    }
    EXPECT_EQ(ReadAll(target), "old contents");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"kept.csv"});

    ui::WriteWholeFile(target.wstring(), [](const base::ByteSink& sink) {
        sink("new ");
        sink("contents");
    });
    EXPECT_EQ(ReadAll(target), "new contents");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"kept.csv"});
}

TEST(WholeFile, AnUnwritablePathNamesThePathAndTheReason) {
    TempFolder folder;
    const struct {
        std::wstring path;
        const char* reason;
    } cases[] = {
        {(folder.Path() / "missing" / "x.csv").wstring(), "not found"},
        {(folder.Path() / std::wstring(300, L'n')).wstring() + L".csv", ""},
    };
    for (const auto& c : cases) {
        try {
            ui::WriteWholeFile(c.path, [](const base::ByteSink& sink) { sink("x"); });
            ADD_FAILURE() << "written: " << ui::ToUtf8(c.path);
        } catch (const std::runtime_error& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("\"" + ui::ToUtf8(c.path) + "\": "), std::string::npos) << text;
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
            EXPECT_GT(text.size(), text.find("\": ") + 3) << "a reason follows the path";
        }
    }
    EXPECT_TRUE(folder.Names().empty());
}

// ---------------------------------------------------------------------------
// Screen readers

TEST_F(ChartExport, TheChartsDescriptionNamesItsKeys) {
    IAccessible* acc = nullptr;
    ASSERT_EQ(
        AccessibleObjectFromWindow(form->waveformChart.Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                   __uuidof(IAccessible), reinterpret_cast<void**>(&acc)),
        S_OK);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR description = nullptr;
    ASSERT_EQ(acc->get_accDescription(self, &description), S_OK);
    const std::wstring text(description, SysStringLen(description));
    SysFreeString(description);
    acc->Release();
    EXPECT_NE(text.find(L"Ctrl+C"), std::wstring::npos) << ui::ToUtf8(text);
    EXPECT_NE(text.find(L"Ctrl+S"), std::wstring::npos) << ui::ToUtf8(text);
}

}  // namespace
