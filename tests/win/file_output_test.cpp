// Files the program writes, on the platform: the temporary file is created as an ordinary
// file beside the target, a file this process did not create is never removed, paths of
// any length the file system takes are written, and device names are refused before
// anything is written, by the writer and by the program's --render.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "chart_window.h"
#include "core/output/render.h"
#include "win/output/file_output.h"
#include "win/ui/text.h"
#include "win_fixture.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// A fresh folder under the temporary folder, removed with everything in it.
class Folder {
public:
    Folder() {
        static int n = 0;
        path_ = (fs::temp_directory_path() /
                 ("phasebox-files-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++n)))
                    .wstring();
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(L"\\\\?\\" + path_, ec);
    }
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        for (const auto& e : fs::directory_iterator(path_)) {
            names.push_back(e.path().filename().wstring());
        }
        return names;
    }

private:
    std::wstring path_;
};

// The file's bytes through the extended path form, so that any length reads; none when
// it cannot be opened.
std::optional<std::string> Contents(const std::wstring& path) {
    const std::wstring extended = path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path;
    HANDLE h = CreateFileW(extended.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    CloseHandle(h);
    return bytes;
}

HANDLE SystemCreate(const ui::FileCreation& c) {
    return CreateFileW(c.Path.c_str(), c.Access, c.Share, nullptr, c.Disposition,
                       c.FlagsAndAttributes, nullptr);
}

void WriteText(const std::wstring& path, const std::string& text) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << ui::ToUtf8(path);
    DWORD n = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(h);
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

// The temporary file is asked for as a new ordinary file (no Temporary attribute, which
// would let the system keep the data in memory and tools skip the file) in the target's
// folder, under a short name; what is left is an ordinary file.
TEST(WholeFile, TheTemporaryFileIsAnOrdinaryNewFileBesideTheTarget) {
    Folder folder;
    const std::wstring target = folder / L"chart.csv";
    std::vector<ui::FileCreation> requests;
    ui::WriteWholeFile(
        target, [](const base::ByteSink& sink) { sink("x,y\r\n"); },
        [&](const ui::FileCreation& c) {
            requests.push_back(c);
            return SystemCreate(c);
        });
    ASSERT_EQ(requests.size(), 1u);
    const ui::FileCreation& c = requests[0];
    EXPECT_EQ(c.FlagsAndAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(c.Disposition, static_cast<DWORD>(CREATE_NEW));
    EXPECT_EQ(c.Access, static_cast<DWORD>(GENERIC_WRITE));
    EXPECT_EQ(FolderOf(c.Path), L"\\\\?\\" + folder.Path()) << ui::ToUtf8(c.Path);
    EXPECT_LE(c.Path.size() - FolderOf(c.Path).size() - 1, 22u) << ui::ToUtf8(c.Path);
    EXPECT_EQ(Contents(target), "x,y\r\n");
    const DWORD attributes = GetFileAttributesW(target.c_str());
    std::cout << "[ figure   ] attributes of a written file: 0x" << std::hex << attributes
              << std::dec << "\n";
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN |
                            FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY),
              0u);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"chart.csv"});
}

// A temporary name that is taken belongs to somebody else: the writer moves on to another
// name, or gives up, and never removes that file.
TEST(WholeFile, AFileThisProcessDidNotCreateIsNeverRemoved) {
    const struct {
        const char* name;
        DWORD failure;  // what the creation reports after the other file appeared
        bool written;
    } cases[] = {
        {"the name is taken", ERROR_FILE_EXISTS, true},
        {"the creation is refused", ERROR_ACCESS_DENIED, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        const std::wstring target = folder / L"kept.csv";
        WriteText(target, "old");
        std::wstring theirs;
        const auto creator = [&](const ui::FileCreation& request) -> HANDLE {
            if (!theirs.empty()) return SystemCreate(request);
            theirs = request.Path;
            WriteText(theirs, "theirs");
            if (c.failure == ERROR_FILE_EXISTS) return SystemCreate(request);
            SetLastError(c.failure);
            return INVALID_HANDLE_VALUE;
        };
        try {
            ui::WriteWholeFile(
                target, [](const base::ByteSink& sink) { sink("new"); }, creator);
            EXPECT_TRUE(c.written);
        } catch (const std::exception& e) {
            EXPECT_FALSE(c.written) << e.what();
            EXPECT_NE(std::string(e.what()).find("denied"), std::string::npos) << e.what();
        }
        EXPECT_EQ(Contents(theirs), "theirs");
        EXPECT_EQ(Contents(target), c.written ? "new" : "old");
        EXPECT_EQ(folder.Names().size(), 2u);
    }
}

// A folder path of `length` characters in `folder`, made of components of at most 100.
std::wstring LongFolder(const Folder& folder, std::size_t length) {
    std::wstring path = folder.Path();
    while (path.size() + 1 < length) {
        const std::size_t n = std::min<std::size_t>(100, length - path.size() - 1);
        path += L"\\" + std::wstring(n, L'd');
        CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr);
    }
    return path;
}

// A file name that makes `folder\name` exactly `length` characters long, ending in `ext`.
std::wstring PathOfLength(const std::wstring& folder, std::size_t length, const std::wstring& ext) {
    return folder + L"\\" + std::wstring(length - folder.size() - 1 - ext.size(), L'f') + ext;
}

TEST(WholeFile, PathsOfAnyLengthTheFileSystemTakesAreWritten) {
    for (const std::size_t length : {250u, 259u, 260u, 300u, 1000u}) {
        SCOPED_TRACE(length);
        Folder folder;
        const std::wstring target = PathOfLength(LongFolder(folder, length - 60), length, L".csv");
        ASSERT_EQ(target.size(), length);
        ui::WriteWholeFile(target, [](const base::ByteSink& sink) { sink("1,2\r\n"); });
        EXPECT_EQ(Contents(target), "1,2\r\n");
        ui::WriteWholeFile(target, [](const base::ByteSink& sink) { sink("3,4\r\n"); });
        EXPECT_EQ(Contents(target), "3,4\r\n") << "an existing file is replaced";
    }
}

TEST(WholeFile, DeviceNamesAreRefusedBeforeAnythingIsCreated) {
    Folder folder;
    for (const std::wstring name : {L"COM1.wav", L"nul.csv", L"LPT1.csv. ", L"Aux"}) {
        SCOPED_TRACE(ui::ToUtf8(name));
        int creations = 0;
        int produced = 0;
        try {
            ui::WriteWholeFile(
                folder / name, [&](const base::ByteSink&) { ++produced; },
                [&](const ui::FileCreation& c) {
                    ++creations;
                    return SystemCreate(c);
                });
            ADD_FAILURE() << "written";
        } catch (const std::invalid_argument& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("\"" + ui::ToUtf8(folder / name) + "\""), std::string::npos)
                << text;
            EXPECT_NE(text.find("names the device"), std::string::npos) << text;
        }
        EXPECT_EQ(creations, 0);
        EXPECT_EQ(produced, 0);
    }
    EXPECT_TRUE(folder.Names().empty());
}

// ---------------------------------------------------------------------------
// The program's --render, started as a user starts it

struct ProgramRun {
    DWORD exitCode = 99;
    std::string errorOutput;
};

// phasebox.exe (two folders up from this program) with `args`, in `folder`, its standard
// error to a file beside the folder.
ProgramRun RenderProgram(const std::wstring& args, const std::wstring& folder) {
    const std::wstring errors = folder + L".stderr";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE err = CreateFileW(errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdError = err;
    std::wstring command = L"\"" + wintest::ExeDir() + L"..\\..\\phasebox.exe\" " + args;
    PROCESS_INFORMATION pi{};
    ProgramRun run;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                        &si, &pi)) {
        ADD_FAILURE() << "cannot start phasebox.exe: " << GetLastError();
        CloseHandle(err);
        return run;
    }
    CloseHandle(err);
    CloseHandle(pi.hThread);
    if (WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(pi.hProcess, &run.exitCode);
    } else {
        TerminateProcess(pi.hProcess, 1);
        ADD_FAILURE() << "phasebox.exe never ended";
    }
    CloseHandle(pi.hProcess);
    run.errorOutput = Contents(errors).value_or("");
    DeleteFileW(errors.c_str());
    return run;
}

TEST(Render, ADeviceNameIsRefusedWithNothingWritten) {
    Folder folder;
    for (const std::wstring args :
         {L"--render COM1.wav --seconds 600 --clock 192000", L"--render NUL.csv --samples 10000000",
          L"--render \"lpt1.CSV. \"", L"--render aux.wav"}) {
        SCOPED_TRACE(ui::ToUtf8(args));
        const ProgramRun run = RenderProgram(args, folder.Path());
        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_NE(run.errorOutput.find("names the device"), std::string::npos) << run.errorOutput;
        EXPECT_EQ(run.errorOutput.find('\n'), run.errorOutput.size() - 1) << "one line";
    }
    EXPECT_TRUE(folder.Names().empty());
}

TEST(Render, ToAPathOfAnyLength) {
    for (const std::size_t length : {250u, 259u, 300u}) {
        SCOPED_TRACE(length);
        Folder folder;
        const std::wstring target = PathOfLength(LongFolder(folder, length - 60), length, L".csv");
        const ProgramRun run =
            RenderProgram(L"--render \"" + target + L"\" --samples 3", folder.Path());
        EXPECT_EQ(run.exitCode, 0u) << run.errorOutput;
        const std::optional<std::string> csv = Contents(target);
        ASSERT_TRUE(csv);
        EXPECT_TRUE(csv->starts_with(output::kCsvHeader));
    }
}

// A save to a long path through the chart's Ctrl+S; the name comes through the dialog's
// seam.
TEST(ChartSave, ToAPathOfAnyLength) {
    const auto form = wintest::ShowForm(wintest::At(120));
    SetFocus(form->waveformChart.Handle());
    for (const std::size_t length : {250u, 300u}) {
        SCOPED_TRACE(length);
        wintest::ErrorLog().clear();
        Folder folder;
        const std::wstring target = PathOfLength(LongFolder(folder, length - 60), length, L".png");
        form->waveformChart.ChooseSaveFile = [&](HWND) {
            return std::optional<ui::SaveChoice>(ui::SaveChoice{target, ui::SaveFormat::Png});
        };
        form->waveformChart.SaveWithDialog();
        EXPECT_TRUE(wintest::ErrorLog().empty());
        const std::optional<std::string> png = Contents(target);
        ASSERT_TRUE(png);
        EXPECT_EQ(png->substr(0, 4), "\x89PNG");
    }
}

// A device name chosen in the Save path is refused with the reason in the error box, and
// nothing is written.
TEST(ChartSave, ADeviceNameIsRefusedWithTheReason) {
    const auto form = wintest::ShowForm(wintest::At(120));
    Folder folder;
    wintest::ErrorLog().clear();
    const std::wstring target = folder / L"lpt1.png";
    form->waveformChart.ChooseSaveFile = [&](HWND) {
        return std::optional<ui::SaveChoice>(ui::SaveChoice{target, ui::SaveFormat::Png});
    };
    form->waveformChart.SaveWithDialog();
    ASSERT_EQ(wintest::ErrorLog().size(), 1u);
    const std::string text = ui::ToUtf8(ui::ToWide(wintest::ErrorLog()[0].text));
    EXPECT_NE(text.find("\"" + ui::ToUtf8(target) + "\": it names the device \"lpt1\""),
              std::string::npos)
        << text;
    EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
