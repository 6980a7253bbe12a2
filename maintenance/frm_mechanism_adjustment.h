#pragma once
// The printer's print and cutting position adjustments: read from the
// printer, edited in millimetres (-10.0 to 10.0 in steps of 0.1), written back
// and kept in ".adj" files. The printer counts both in dots at its vertical
// resolution, asked for again at each read and write. A guide picture shows
// which adjustment is being edited.
#include <QPixmap>
#include <array>
#include <cstdint>

#include "maintenance/fixed_dialog.h"
#include "shell/common_dialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SpinButton;

class frmMechanismAdjustment : public FixedDialog {
    Q_OBJECT
public:
    frmMechanismAdjustment();
    ~frmMechanismAdjustment() override;

    void cmdGet_Click();
    void cmdSetup_Click();
    void cmdOpen_Click();
    void cmdSave_Click();

    QLabel* Picture1;
    QLabel* Label1;
    QLineEdit* txtPrintPos;
    SpinButton* udPrintPos;
    QLabel* Label2;
    QLineEdit* txtCuttingPos;
    SpinButton* udCuttingPos;
    QGroupBox* fraFile;
    QPushButton* cmdOpen;
    QPushButton* cmdSave;
    QGroupBox* fraPrinter;
    QPushButton* cmdGet;
    QPushButton* cmdSetup;
    CommonDialog CommonDialog1;
    // The guide pictures 1 to 3.
    std::array<QPixmap, 3> ImageList1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Form_Activate() override;

private:
    // One of the two adjustments: its held value, its box and what selects it.
    struct Position {
        float& mm;
        QLineEdit*& box;
        void (frmMechanismAdjustment::*select)();
    };

    void SelectNoPosition();
    void SelectPrintPosition();
    void SelectCuttingPosition();
    void ValidatePrintPos();
    void ValidateCuttingPos();
    void Validate(const Position& position);
    void Step(const Position& position, int direction);
    void ShowPositions();
    void Highlight(int picture, bool print, bool cutting);

    float PrintPosMm = 0;
    float CutPosMm = 0;
    int32_t ResolutionV = 0;
    Position PrintPos{PrintPosMm, txtPrintPos, &frmMechanismAdjustment::SelectPrintPosition};
    Position CutPos{CutPosMm, txtCuttingPos, &frmMechanismAdjustment::SelectCuttingPosition};
};
