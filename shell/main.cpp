#include "shell/app_globals.h"
#include "shell/application.h"
#include "shell/frm_main.h"
#include "shell/module1.h"

int main(int argc, char** argv) {
    RnApplication app(argc, argv);
    if (!Module1::Main()) return 0;
    const int result = RnApplication::exec();
    delete MainForm;
    return result;
}
