#include "shell/application.h"

#include <QStyle>
#include <exception>

#include "shell/program_end.h"

RnApplication::RnApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("RN-Tools"));
    // The program's icon, on the main window and on every child window.
    setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
}

bool RnApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    RunHandler([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
