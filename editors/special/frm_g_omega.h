#pragma once
// The G Omega editor: one plane of the seven omega coefficients A..G in a 3 × 3 grid with E in
// the centre, each with its spin button, and the sum Round(S / divisor, 2) they give. Every change
// of a coefficient is stored at once.
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "core/colour_data.h"
#include "editors/special/omega_sum.h"

class CommonDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolBar;
class SpinButton;

class frmGOmega : public QWidget {
    Q_OBJECT
public:
    explicit frmGOmega(QWidget* parent = nullptr);
    ~frmGOmega() override;

    // The controls, named as in the design.
    QToolBar* Toolbar1 = nullptr;
    QFrame* Frame2 = nullptr;       // the coefficient grid, without caption
    std::array<QFrame*, 4> Line{};  // Line1..Line4: the grid's two vertical, two horizontal lines
    QLineEdit* txtA = nullptr;
    QLineEdit* txtB = nullptr;
    QLineEdit* txtC = nullptr;
    QLineEdit* txtD = nullptr;
    QLineEdit* txtE = nullptr;
    QLineEdit* txtF = nullptr;
    QLineEdit* txtG = nullptr;
    // Each beside the box it changes; the two of the middle row's right half bear each other's
    // names: udF changes txtE, udE changes txtF.
    SpinButton* udA = nullptr;
    SpinButton* udB = nullptr;
    SpinButton* udC = nullptr;
    SpinButton* udD = nullptr;
    SpinButton* udE = nullptr;
    SpinButton* udF = nullptr;
    SpinButton* udG = nullptr;
    QLineEdit* txtDivisor = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtSumTotal = nullptr;  // shown only, never read back
    QLabel* Label2 = nullptr;
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
    // The working copy of A..G, the divisor (16 at every opening, never stored) and the sum; no
    // sum for a zero divisor or an S beyond 16 bits.
    OmegaCoefficients Omega{};
    int16_t Divisor = 16;
    std::optional<float> SumTotal;

    void LoadPlane();
    void StorePlane();
    void ShowOmega();
    void ReadOmega();
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

    std::array<QLineEdit*, 7> boxes_{};  // txtA..txtG
};
