#pragma once
// The printer's current state or error as one line of text, read each time
// the user presses "Get" and coloured by its group: the button-text colour for
// the printer's state and the firmware update, red for every kind of error.
#include <cstdint>

#include "maintenance/fixed_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

class frmPrinterStatus : public FixedDialog {
    Q_OBJECT
public:
    frmPrinterStatus();

    QLabel* Label1;
    QLineEdit* txtPrinterStatus;
    QPushButton* cmdGet;

    void cmdGet_Click();
    // What a status word read from the printer does to the text box.
    void ShowStatus(int32_t word);
};
