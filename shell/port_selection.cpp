#include "shell/port_selection.h"

#include <cstdio>
#include <exception>
#include <string>

#include "core/parvel_link.h"
#include "core/printer_discovery.h"
#include "shell/frm_port_setting.h"
#include "shell/modal.h"
#include "shell/msgbox.h"
#include "shell/program_end.h"
#include "status/parvel.h"

namespace {

const QString NoUsablePrinter =
    QStringLiteral("A usable printer is not connected or the power is not on.");

void ChoosePrinter() {
    frmPortSetting dialog;
    ShowModal(dialog);
}

void KeepPort(const QString& reason) {
    MsgBox(reason + QStringLiteral("\nThe printer port in use is kept."), vbExclamation, AppTitle);
}

// Why the status library refused the chosen printer's port: the library takes
// every name that fits a slot while a slot is free.
QString Refusal() {
    const std::string& device = PrinterNames[SelectedPrinter];
    const QString printer = QString::fromStdString(device);
    const std::size_t units = ToUtf16(GetJmPort::GetPortName(device)).size();
    if (units > PARVEL_PORT_NAME_MAX) {
        return QStringLiteral(
                   "The port name of \"%1\" has %2 characters; the status library takes port "
                   "names of at most %3.")
            .arg(printer)
            .arg(units)
            .arg(PARVEL_PORT_NAME_MAX);
    }
    return QStringLiteral(
               "The status library holds no more than %1 printer ports; the port of \"%2\" "
               "would be one more.")
        .arg(PARVEL_PORT_SLOTS)
        .arg(printer);
}

// At start-up a refused port ends the program, as the system always did.
void RegisterOrEnd() {
    if (RegisterSelectedPrinter() < 0) {
        TellReason(Refusal().toStdString());
        MsgBox(QStringLiteral("Error!"), vbOKOnly, AppTitle);
        throw ProgramEnd{};
    }
}

}  // namespace

// Start-up's message boxes are the design's and say little; the reason goes
// to standard error as well, for the user at a terminal and for a log.
void TellReason(const std::string& reason) {
    std::fprintf(stderr, "RN-Tools: %s\n", reason.c_str());
    std::fflush(stderr);
}

void StartupPortSelection() {
    for (;;) {
        ScanUsablePrinters();
        if (PrinterCount > 0) break;
        TellReason(PassedOverPrinters());
        const int answer = MsgBox(NoUsablePrinter, vbAbortRetryIgnore, AppTitle);
        if (answer == vbAbort) throw ProgramEnd{};
        if (answer != vbRetry) return;  // Ignore: on without a port
    }
    if (PrinterCount == 1) {
        SelectedPrinter = 0;
    } else {
        ChoosePrinter();
    }
    RegisterOrEnd();
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
        if (RegisterSelectedPrinter() < 0) {
            const QString why = Refusal();
            SelectedPrinter = before;
            KeepPort(why);
        }
    } catch (const std::exception& e) {
        SelectedPrinter = before;
        KeepPort(QString::fromStdString(e.what()));
    }
}
