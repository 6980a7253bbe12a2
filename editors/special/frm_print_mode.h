#pragma once
// The print mode editor: the one print-mode record of the colour-data set, edited field by field
// as its controls change, and a strobe-timing calculator that shows what the chosen cycle, pitch
// and coefficient leave of the print cycle.
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

class CommonDialog;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolBar;
class SpinButton;

// A small round shape filled with its back colour (0x00BBGGRR); without one it is hollow.
class RoundShape : public QWidget {
public:
    using QWidget::QWidget;
    void SetBackColor(std::optional<uint32_t> bgr);
    std::optional<uint32_t> BackColor() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<uint32_t> color_;
};

class frmPrintMode : public QWidget {
    Q_OBJECT
public:
    frmPrintMode();
    ~frmPrintMode() override;

    // The controls, named as in the design.
    QToolBar* Toolbar1 = nullptr;
    QComboBox* cmbMediaSelect = nullptr;
    QRadioButton* Option1 = nullptr;  // "600dpi"
    QRadioButton* Option2 = nullptr;  // "334dpi"
    QComboBox* cmbPrintCycle = nullptr;
    QLabel* labFeedSpeed = nullptr;
    QLineEdit* txtSTBpitch = nullptr;
    SpinButton* udSTBpitch = nullptr;
    QLabel* labTotalSTBTime = nullptr;
    QLabel* labMarginForCycle = nullptr;
    RoundShape* Shape1 = nullptr;
    QLineEdit* txtSTBCalcCoef = nullptr;
    SpinButton* udSTBCalcCoef = nullptr;
    QLabel* labMaxSTBData = nullptr;
    QLineEdit* txtOPData = nullptr;
    SpinButton* udOPData = nullptr;
    std::unique_ptr<CommonDialog> CommonDialog1;

    void LoadPrintMode();
    void ShowFeedSpeed();
    void ShowStrobeTiming();
    void ShowOPData();
    void OpenTableFile();
    void SaveTableFile();
    void WriteTableToPrinter();
    void ReadTableFromPrinter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void Option_Click(int base);
    void cmbMediaSelect_Click(int index);
    void cmbPrintCycle_Click(int index);
    void Box_Change(QLineEdit* box, int16_t& field, int lastChars);
    void Step(int16_t& field, int direction, int16_t below, void (frmPrintMode::*show)());
    // The program's own rewrite of a box, which stores nothing back.
    void Rewrite(QLineEdit* box, const QString& text);
    int ShownCycle() const;  // the print-cycle list index, -1 for none

    bool Loading = false;
    bool rewriting_ = false;
    int32_t TotalSTBTime = 0;
    int32_t MaxSTBData = 0;
    int32_t MarginForCycle = 0;
};
