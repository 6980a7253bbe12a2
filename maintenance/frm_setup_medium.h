#pragma once
// The media loaded in the printer, read at each "Get" and shown as the item
// of the list whose code the printer gives; a code not in the list shows
// "Nothing". The dialog only reads.
#include "maintenance/fixed_dialog.h"

class QComboBox;
class QLabel;
class QPushButton;

class frmSetupMedium : public FixedDialog {
    Q_OBJECT
public:
    frmSetupMedium();

    QLabel* Label1;
    QComboBox* Combo1;
    QPushButton* cmdGet;

    void cmdGet_Click();

protected:
    void Form_Activate() override;
};
