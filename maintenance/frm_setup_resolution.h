#pragma once
// The print resolution, 300 or 600 dpi, written to the printer at "Setup".
// Each step of the up-down control switches the box between the two; the
// control's own value means nothing.
#include "maintenance/fixed_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class SpinButton;

class frmSetupResolution : public FixedDialog {
    Q_OBJECT
public:
    frmSetupResolution();

    QLabel* Label1;
    QLineEdit* Text1;
    SpinButton* UpDown1;
    QPushButton* cmdSetup;

    void UpDown1_Change();
    void cmdSetup_Click();
};
