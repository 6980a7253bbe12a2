#pragma once
// The printer's three print-sheet counters (life, A and B) read at each "Get",
// and counters A and B cleared on the printer at "Clear A" / "Clear B". Every
// value is shown as the library gives it, -1 for a failed read: the dialog
// shows no message.
#include "maintenance/fixed_dialog.h"

class QLabel;
class QPushButton;

class frmPrintSheetsCounter : public FixedDialog {
    Q_OBJECT
public:
    frmPrintSheetsCounter();

    QLabel* Label1;
    QLabel* labCounterL;
    QLabel* Label2;
    QLabel* labCounterA;
    QPushButton* cmdClearA;
    QLabel* Label3;
    QLabel* labCounterB;
    QPushButton* cmdClearB;
    QPushButton* cmdGet;

    void cmdGet_Click();
    void cmdClearA_Click();
    void cmdClearB_Click();

protected:
    void Form_Activate() override;

private:
    QLabel* AddCounter(const char* name, double top);
};
