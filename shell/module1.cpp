#include "shell/module1.h"

#include <QCoreApplication>
#include <memory>

#include "core/sleep.h"
#include "shell/app_globals.h"
#include "shell/frm_main.h"
#include "shell/frm_splash.h"
#include "shell/program_end.h"

namespace Module1 {

bool Main() {
    auto splash = std::make_unique<frmSplash>();
    splash->show();
    QCoreApplication::processEvents();
    Sleep(1000);

    MainForm = new frmMain;
    try {
        MainForm->MDIForm_Load();
    } catch (const ProgramEnd&) {
        delete MainForm;
        splash.reset();
        EndProgram();
        return false;
    }
    splash->close();
    splash.reset();
    MainForm->show();
    return true;
}

}  // namespace Module1
