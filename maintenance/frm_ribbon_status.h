#pragma once
// The loaded ribbon at each "Get": how many prints are left, its lot number
// and its four colour offsets. A failed read shows the numbers that the
// library's failure value decodes to; the dialog shows no message.
#include <cstdint>

#include "maintenance/fixed_dialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmRibbonStatus : public FixedDialog {
    Q_OBJECT
public:
    frmRibbonStatus();

    QLabel* Label1;
    QLineEdit* txtRibbonCounter;
    QLabel* Label2;
    QLineEdit* txtRibbonLotNo;
    QGroupBox* Frame1;
    QLabel* Label3;
    QLineEdit* txtOffsetYellow;
    QLabel* Label4;
    QLineEdit* txtOffsetMagenta;
    QLabel* Label5;
    QLineEdit* txtOffsetCyan;
    QLabel* Label6;
    QLineEdit* txtOffsetOP;
    QPushButton* cmdGet;

    void cmdGet_Click();

private:
    void ShowLotNumber();
    void ShowOffsets(int32_t packed);
};
