#include "maintenance/frm_print_sheets_counter.h"

#include <QLabel>
#include <QPushButton>

#include "core/status_queries.h"
#include "maintenance/status_calls.h"
#include "shell/child_windows.h"
#include "shell/ui_units.h"

namespace {

ChildWindowRegistration registration("mnuOptionPrintSheetsCounter",
                                     [] { return new frmPrintSheetsCounter; });

void ShowCount(QLabel* label, int32_t (*read)(int32_t)) {
    label->setText(QString::number(CallOrFailure([read] { return read(PortHandle); })));
}

// A clear the printer did not take leaves the shown count as it was.
void Clear(QLabel* label, int32_t (*clear)(int32_t), int32_t (*read)(int32_t)) {
    if (CallOrFailure([clear] { return clear(PortHandle); }, 0) != 0) ShowCount(label, read);
}

}  // namespace

frmPrintSheetsCounter::frmPrintSheetsCounter() : FixedDialog("frmPrintSheetsCounter", 3540, 2160) {
    setWindowTitle(QStringLiteral("Print sheets counter"));
    Label1 = AddLabel("Label1", QStringLiteral("Life counter:"), 180, 330, 945, 180);
    labCounterL = AddCounter("labCounterL", 300);
    Label2 = AddLabel("Label2", QStringLiteral("Counter A:"), 180, 750, 810, 180);
    labCounterA = AddCounter("labCounterA", 720);
    cmdClearA = AddButton("cmdClearA", QStringLiteral("Clear A"), 2520, 720, 795, 255);
    Label3 = AddLabel("Label3", QStringLiteral("Counter B:"), 180, 1170, 810, 180);
    labCounterB = AddCounter("labCounterB", 1140);
    cmdClearB = AddButton("cmdClearB", QStringLiteral("Clear B"), 2520, 1140, 795, 255);
    cmdGet = AddButton("cmdGet", QStringLiteral("Get"), 2160, 1740, 1335, 375);

    connect(cmdGet, &QPushButton::clicked, this, &frmPrintSheetsCounter::cmdGet_Click);
    connect(cmdClearA, &QPushButton::clicked, this, &frmPrintSheetsCounter::cmdClearA_Click);
    connect(cmdClearB, &QPushButton::clicked, this, &frmPrintSheetsCounter::cmdClearB_Click);
}

// A count is shown in a bordered label in the window colours, as a box would show it.
QLabel* frmPrintSheetsCounter::AddCounter(const char* name, double top) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setBackgroundRole(QPalette::Base);
    label->setForegroundRole(QPalette::Text);
    label->setAutoFillBackground(true);
    PlaceTwips(label, 1260, top, 1155, 255);
    return label;
}

void frmPrintSheetsCounter::Form_Activate() {
    cmdGet->setFocus();
}

void frmPrintSheetsCounter::cmdGet_Click() {
    ShowCount(labCounterL, Parvel::JmGetCounterL);
    ShowCount(labCounterA, Parvel::JmGetCounterA);
    ShowCount(labCounterB, Parvel::JmGetCounterB);
}

void frmPrintSheetsCounter::cmdClearA_Click() {
    Clear(labCounterA, Parvel::JmSetClearCounterA, Parvel::JmGetCounterA);
}

void frmPrintSheetsCounter::cmdClearB_Click() {
    Clear(labCounterB, Parvel::JmSetClearCounterB, Parvel::JmGetCounterB);
}
