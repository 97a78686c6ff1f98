// The program's entry: the command line first, then either a render without a window, the
// usage, a refused command line, or the application object, the one main window (in the
// state the command line chose) and the loop.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "core/app/app_rules.h"
#include "core/input/command_line.h"
#include "core/output/render.h"
#include "win/main_window/main_window.h"
#include "win/output/file_output.h"
#include "win/ui/application.h"
#include "win/ui/handles.h"
#include "win/ui/std_error.h"
#include "win/ui/text.h"

namespace {

// Exit code of a command line that is refused or a render that failed.
constexpr int kBadCommandLineExit = 2;

std::vector<std::u16string> Arguments() {
    int count = 0;
    const ui::UniqueLocal<wchar_t*> argv(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::u16string> args;
    for (int i = 1; argv && i < count; ++i) args.push_back(ui::ToU16(argv.Get()[i]));
    return args;
}

// A box before any window exists, titled like the error box.
void ShowBox(std::u16string_view text, UINT icon) {
    std::vector<wchar_t> path(32768);
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    const std::wstring title =
        ui::ToWide(app::ApplicationTitleFromPath(ui::ToU16({path.data(), n})));
    MessageBoxW(nullptr, ui::ToWide(text).c_str(), title.c_str(), icon | MB_OK | MB_SETFOREGROUND);
}

// The fault and the accepted values on lines of their own, which a box wraps less.
std::u16string BoxLines(std::u16string text) {
    constexpr std::u16string_view kJoin = u"; accepted: ";
    const std::size_t at = text.find(kJoin);
    if (at != std::u16string::npos) text.replace(at, kJoin.size(), u".\nAccepted: ");
    return text;
}

int Render(const output::CommandLine& line) {
    output::RenderSource source;
    if (line.Start.Wave) source.Wave = *line.Start.Wave;
    if (line.Start.Increment) source.Increment = static_cast<std::uint16_t>(*line.Start.Increment);
    const output::RenderOptions& render = line.Render;
    try {
        ui::WriteWholeFile(ui::ToWide(render.Path), [&](const base::ByteSink& sink) {
            if (render.Format == output::RenderFormat::Csv) {
                output::RenderCsv(source, render.Samples, sink);
            } else {
                output::RenderWav(source, render.Seconds, render.ClockHz, sink);
            }
        });
    } catch (const std::exception& e) {
        ui::WriteErrorLine(ui::ToU16(ui::FromUtf8(e.what())));
        return kBadCommandLineExit;
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    const output::ParseResult parsed = output::ParseCommandLine(Arguments());
    if (parsed.Error) {
        const std::u16string text = output::ErrorText(*parsed.Error);
        if (parsed.Error->Rendering) {
            ui::WriteErrorLine(text);
        } else {
            ShowBox(BoxLines(app::ErrorBoxText(text)), MB_ICONERROR);
        }
        return kBadCommandLineExit;
    }
    const output::CommandLine& line = *parsed.Line;
    if (line.Mode == output::RunMode::Help) {
        ShowBox(output::UsageText(), MB_ICONINFORMATION);
        return 0;
    }
    if (line.Mode == output::RunMode::Render) return Render(line);

    ui::Application application;
    int exitCode = 0;
    try {
        MainWindow mainWindow;
        application.SetMainWindow(mainWindow.Handle(), [&mainWindow](const MSG& msg) {
            return mainWindow.PreviewKey(msg);
        });
        mainWindow.ApplyStartOptions(line.Start);
        mainWindow.Show(showCommand);
        exitCode = application.Run();
    } catch (...) {
        application.ReportError(std::current_exception());
    }
    return exitCode;
}
