#pragma once
// The sigma editor: one plane of a sigma table as its five weights LL, L, C, R, RR, in five boxes
// and as five nodes of the curve control, kept at C + 2·L + 2·LL = 10000 by the FIXED groups and
// the apply rules. The G Sigma and C Sigma windows are this one window configured by a row of the
// variant table.
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "core/colour_data.h"
#include "editors/special/sigma_rules.h"

class CommonDialog;
class QCheckBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolBar;
class Trazo;
struct SigmaEditorVariant;

class SigmaEditor : public QWidget {
    Q_OBJECT
public:
    explicit SigmaEditor(const SigmaEditorVariant& variant, QWidget* parent = nullptr);
    ~SigmaEditor() override;

    const SigmaEditorVariant& Variant() const { return variant_; }

    // The controls, named as in the design. The five weight boxes are named by the variant's
    // prefix: GSigmaLL ... GSigmaRR, CSigmaLL ... CSigmaRR.
    QToolBar* Toolbar1 = nullptr;
    Trazo* Trazo1 = nullptr;
    QLineEdit* SigmaLL = nullptr;
    QLineEdit* SigmaL = nullptr;
    QLineEdit* SigmaC = nullptr;
    QLineEdit* SigmaR = nullptr;
    QLineEdit* SigmaRR = nullptr;
    QLabel* Label1 = nullptr;  // under LL
    QLabel* Label4 = nullptr;  // under L
    QLabel* Label2 = nullptr;  // under C
    QLabel* Label5 = nullptr;  // under R
    QLabel* Label3 = nullptr;  // under RR
    QCheckBox* chkLL = nullptr;
    QCheckBox* chkL = nullptr;
    QCheckBox* chkC = nullptr;
    QCheckBox* chkR = nullptr;
    QCheckBox* chkRR = nullptr;
    std::array<QFrame*, 6> Line{};  // Line1..Line5 the ticks, Line6 the bar of the FIXED bracket
    QLabel* Label6 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* opbYellow = nullptr;
    QRadioButton* opbMagenta = nullptr;
    QRadioButton* opbCyan = nullptr;
    QRadioButton* opbOp = nullptr;
    QRadioButton* opbAll = nullptr;
    std::unique_ptr<CommonDialog> CommonDialog1;

    // The plane on show; PlaneAll after "Replace all data?" was accepted.
    Plane CurrentPlane = PlaneYellow;
    // False while the window fills itself and while it reads from the printer: leaving a box then
    // applies nothing.
    bool FormReady = false;

    void LoadTableToBoxes();
    void StoreBoxesToTable();
    void DrawSigmaCurve();
    void OpenTableFile();
    void SaveTableFile();
    void WriteTableToPrinter();
    void ReadTableFromPrinter();

    // The nodes of the five weights on the curve, left to right: 129, not 128, is the centre.
    static constexpr std::array<int, 5> kNodes = {0, 64, 129, 192, 256};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The five weights in the order of their boxes, left to right.
    enum Weight { LL, L, C, R, RR };

    void BuildControls();
    void Form_Load();
    void Form_Unload();
    void SelectPlane(Plane plane);
    void opbAll_Click();
    void chk_Click(Weight weight);
    void Box_KeyPress(Weight weight, const QKeyEvent& key);
    void Box_LostFocus(Weight weight);
    void Trazo1_PointChanged();

    void FixGroup(SigmaGroup group);
    // Runs the box's rule with v; true when it stored. A rule that does not fit stores nothing,
    // shows the table again and leaves the entered box with its text, marked pending.
    bool Apply(Weight weight, int16_t v);
    // The box's entry (its leading number) through its rule; black again when it was stored.
    bool Enter(Weight weight);
    // Nothing stored: the table shown again, the entered box keeping its text, in red.
    void Refuse(Weight weight);
    void StoreWord(int word, int16_t value);
    void MarkPending(Weight weight, bool pending);

    const SigmaEditorVariant& variant_;
    std::array<QLineEdit*, 5> boxes_{};
    std::array<QCheckBox*, 5> checks_{};
    SigmaGroup fixed_ = SigmaGroup::Center;
    bool loaded_ = false;
};
