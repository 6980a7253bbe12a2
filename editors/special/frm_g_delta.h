#pragma once
// The G Delta editor: one plane of the four G delta values (the low and the high S.H level and
// the two transition coefficients), each in its box with a spin button. Every change of a box is
// stored at once, unclamped, and the box keeps its text as typed.
#include <QWidget>
#include <array>
#include <memory>

#include "core/colour_data.h"

class CommonDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolBar;
class SpinButton;

class frmGDelta : public QWidget {
    Q_OBJECT
public:
    explicit frmGDelta(QWidget* parent = nullptr);
    ~frmGDelta() override;

    // The controls, named as in the design.
    QToolBar* Toolbar1 = nullptr;
    QFrame* Frame2 = nullptr;  // a frame without caption around the four rows
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtLowSH = nullptr;
    QLineEdit* txtHightSH = nullptr;
    QLineEdit* txtL2HCoef = nullptr;
    QLineEdit* txtH2LCoef = nullptr;
    SpinButton* udLowSH = nullptr;
    SpinButton* udHeightSH = nullptr;  // beside txtHightSH, which it changes
    SpinButton* udL2HCoef = nullptr;
    SpinButton* udH2LCoef = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* opbYellow = nullptr;
    QRadioButton* opbMagenta = nullptr;
    QRadioButton* opbCyan = nullptr;
    QRadioButton* opbOp = nullptr;
    QRadioButton* opbAll = nullptr;
    std::unique_ptr<CommonDialog> CommonDialog1;

    // The plane on show; PlaneAll after "Replace all data?" was accepted.
    Plane CurrentPlane = PlaneYellow;
    // False while the window fills its boxes: their changes are then not stored.
    bool FormReady = false;

    void LoadTableToBoxes();
    void StoreBoxesToTable();
    void OpenTableFile();
    void SaveTableFile();
    void WriteTableToPrinter();
    void ReadTableFromPrinter();

private:
    void BuildControls();
    void Form_Load();
    void Form_Unload();
    void SelectPlane(Plane plane);
    void opbAll_Click();
    void txt_Change();

    std::array<QLineEdit*, 4> boxes_{};  // words 0..3
};
