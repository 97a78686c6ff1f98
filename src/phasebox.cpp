// The program's entry: the application object, the one main window and the loop.
#include <windows.h>

#include "Unit1.h"
#include "ui/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    ui::Application application;
    int exitCode = 0;
    try {
        TForm1 Form1;
        application.SetMainWindow(Form1.Handle(),
                                  [&Form1](const MSG& msg) { return Form1.PreviewKey(msg); });
        Form1.Show(showCommand);
        exitCode = application.Run();
    } catch (...) {
        application.ReportError(std::current_exception());
    }
    return exitCode;
}
