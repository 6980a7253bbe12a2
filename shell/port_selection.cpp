#include "shell/port_selection.h"

#include <exception>

#include "core/parvel_link.h"
#include "core/printer_discovery.h"
#include "shell/frm_port_setting.h"
#include "shell/modal.h"
#include "shell/msgbox.h"
#include "shell/program_end.h"

namespace {

const QString NoUsablePrinter =
    QStringLiteral("A usable printer is not connected or the power is not on.");

void ChoosePrinter() {
    frmPortSetting dialog;
    ShowModal(dialog);
}

void Register() {
    if (RegisterSelectedPrinter() < 0) {
        MsgBox(QStringLiteral("Error!"), vbOKOnly, AppTitle);
        throw ProgramEnd{};
    }
}

void KeepPort(const QString& reason) {
    MsgBox(reason + QStringLiteral("\nThe printer port in use is kept."), vbExclamation, AppTitle);
}

}  // namespace

void StartupPortSelection() {
    for (;;) {
        ScanUsablePrinters();
        if (PrinterCount > 0) break;
        const int answer = MsgBox(NoUsablePrinter, vbAbortRetryIgnore, AppTitle);
        if (answer == vbAbort) throw ProgramEnd{};
        if (answer != vbRetry) return;  // Ignore: on without a port
    }
    if (PrinterCount == 1) {
        SelectedPrinter = 0;
    } else {
        ChoosePrinter();
    }
    Register();
}

void MenuPortSelection() {
    try {
        ScanUsablePrinters();
    } catch (const std::exception& e) {
        KeepPort(QString::fromStdString(e.what()));
        return;
    }
    if (PrinterCount == 0) {
        MsgBox(NoUsablePrinter, vbOKOnly, AppTitle);
        return;
    }
    const int16_t before = SelectedPrinter;
    ChoosePrinter();
    if (SelectedPrinter < 0 || SelectedPrinter >= PrinterCount) {
        SelectedPrinter = before;
        KeepPort(QStringLiteral("No printer of the list is selected."));
        return;
    }
    try {
        Register();
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception& e) {
        SelectedPrinter = before;
        KeepPort(QString::fromStdString(e.what()));
    }
}
