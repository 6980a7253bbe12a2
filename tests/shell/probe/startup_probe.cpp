// Runs the program's start with every message box answered OK and printed,
// the settings store in the folder given as the first argument.
#include <cstdio>

#include "core/sleep.h"
#include "shell/app_globals.h"
#include "shell/application.h"
#include "shell/frm_main.h"
#include "shell/module1.h"
#include "shell/msgbox.h"
#include "shell/settings.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    RnApplication app(argc, argv);
    if (argc > 1) Settings::SetFolder(QString::fromLocal8Bit(argv[1]));
    SetSleepHandler([](int) {});
    SetMsgBoxResponder([](const QString& text, int, const QString& title) {
        std::printf("box [%s] %s\n", qPrintable(title), qPrintable(text));
        return vbOK;
    });
    const bool running = Module1::Main();
    std::printf(running ? "main window shown\n" : "program ended\n");
    delete MainForm;
    return 0;
}
