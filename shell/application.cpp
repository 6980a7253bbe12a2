#include "shell/application.h"

#include <exception>

#include "shell/program_end.h"

RnApplication::RnApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("RN-Tools"));
}

bool RnApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    RunHandler([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
