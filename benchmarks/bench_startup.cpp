// Start-up to the main window on the screen: the program's start (its designed 1000 ms pause
// made instant, as the tests make it) against a bare Qt main window with a child-window area
// and as many menu items, built here. Each side is a process of its own, started in turn;
// the time runs from the start of the process to the line it prints once its window is
// exposed.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "benchmarks/bench_util.h"
#include "core/sleep.h"
#include "shell/app_globals.h"
#include "shell/application.h"
#include "shell/frm_main.h"
#include "shell/module1.h"
#include "shell/msgbox.h"
#include "shell/settings.h"

extern char** environ;

namespace {

constexpr int kRounds = 7;

// Menu items of a menu bar, submenus' items included, separators not.
int MenuItems(const QList<QAction*>& actions) {
    int n = 0;
    for (QAction* a : actions) {
        if (a->isSeparator()) continue;
        ++n;
        if (a->menu()) n += MenuItems(a->menu()->actions());
    }
    return n;
}

[[noreturn]] void Mapped(QWidget* window, int items) {
    if (!QTest::qWaitForWindowExposed(window, 10000)) {
        std::printf("not exposed\n");
        std::fflush(stdout);
        std::_Exit(1);
    }
    std::printf("mapped %d\n", items);
    std::fflush(stdout);
    std::_Exit(0);  // the time to close is not the time to start
}

int RunProgram(int argc, char** argv) {
    RnApplication app(argc, argv);
    QTemporaryDir settings;
    Settings::SetFolder(settings.path());
    SetSleepHandler([](int) {});
    SetMsgBoxResponder([](const QString&, int, const QString&) { return vbOK; });
    if (!Module1::Main()) return 1;
    Mapped(MainForm, MenuItems(MainForm->menuBar()->actions()));
}

int RunBare(int argc, char** argv, int items) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QMdiArea(&window));
    QMenu* menu = nullptr;
    for (int i = 0; i < items; ++i) {
        if (i % 10 == 0) menu = window.menuBar()->addMenu(QString("Menu %1").arg(i / 10));
        menu->addAction(QString("Item %1").arg(i));
    }
    window.resize(433, 433);
    window.show();
    Mapped(&window, items);
}

// Starts this program as one side and returns the milliseconds to its line, and the
// menu items it reported.
double StartSide(const char* self, const std::vector<std::string>& args, int& items) {
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv = {const_cast<char*>(self)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const auto start = bench::Clock::now();
    if (posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ) != 0) return -1;
    close(out[1]);
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    const double ms = bench::MillisecondsSince(start);
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (std::sscanf(line.c_str(), "mapped %d", &items) != 1) {
        std::fprintf(stderr, "%s %s: %s\n", self, args[0].c_str(), line.c_str());
        std::exit(1);
    }
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--program") == 0) return RunProgram(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--bare") == 0)
        return RunBare(argc, argv, std::atoi(argv[2]));

    // A registry that does not exist: the one emulated printer, no choice to make.
    setenv("RNTOOLS_PRINTERS", "/nonexistent/printers.ini", 1);
    const char* self = "/proc/self/exe";
    char path[4096] = {};
    if (readlink(self, path, sizeof path - 1) <= 0) return 1;
    int items = 0;
    StartSide(path, {"--program"}, items);  // warms the caches, and counts the items
    const std::string count = std::to_string(items);
    int ignored = 0;
    const std::vector<bench::Samples> s =
        bench::SideBySide(kRounds, {[&] { return StartSide(path, {"--program"}, ignored); },
                                    [&] {
                                        return StartSide(path, {"--bare", count}, ignored);
                                    }});
    std::printf(
        "Start-up to the main window shown (%d menu items, %d rounds, platform %s)\n", items,
        kRounds,
        qgetenv("QT_QPA_PLATFORM").isEmpty() ? "default" : qgetenv("QT_QPA_PLATFORM").constData());
    bench::PrintTime("RN-Tools", s[0]);
    bench::PrintTime("bare main window", s[1]);
    bench::PrintRatio("RN-Tools / bare main window", bench::Ratios(s[0], s[1]), 1.5);
    return 0;
}
