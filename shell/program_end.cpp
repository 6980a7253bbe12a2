#include "shell/program_end.h"

#include <QApplication>
#include <QWidget>
#include <exception>

#include "shell/msgbox.h"

namespace Module1 {
namespace {
bool ended = false;
}

void EndProgram() {
    ended = true;
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    QCoreApplication::exit(0);
}

bool ProgramEnded() {
    return ended;
}

void ResetProgramEnd() {
    ended = false;
}

}  // namespace Module1

void ReportUnexpected(const char* what) {
    MsgBox(QStringLiteral("An unexpected error occurred: %1\nThe colour data in memory is kept.")
               .arg(QString::fromLocal8Bit(what)),
           vbCritical);
}

void RunHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const ProgramEnd&) {
        Module1::EndProgram();
    } catch (const std::exception& e) {
        ReportUnexpected(e.what());
    } catch (...) {
        ReportUnexpected("unknown error");
    }
}
