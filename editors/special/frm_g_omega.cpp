#include "editors/special/frm_g_omega.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolBar>

#include "core/numbers.h"
#include "core/table_transfers.h"
#include "editors/curve/table_editor_parts.h"
#include "editors/special/param_table_parts.h"
#include "shell/child_windows.h"
#include "shell/common_dialog.h"
#include "shell/msgbox.h"
#include "shell/spin_button.h"
#include "shell/ui_units.h"

namespace {

const ChildWindowRegistration kRegistration("mnuCtlG_Omega", [] { return new frmGOmega; });

constexpr const char* kCaption = "G Omega";
// The widest sum the spin buttons' range gives at the divisor of every load: four coefficients
// subtracted at 255 and the others 0.
constexpr float kWidestSum = -4 * 255 / 16.0f;

// The leading number of a box as a 16-bit value; `previous` when it does not fit.
int16_t ValueOr(const QLineEdit* box, int16_t previous) {
    return LeadingInt16(box->text().toStdString()).value_or(previous);
}

// A box rewritten only when its text differs, so that typing keeps the caret where it is.
void Show(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}

}  // namespace

frmGOmega::frmGOmega(QWidget* parent) : QWidget(parent) {
    setObjectName("frmGOmega");
    BuildControls();
    Form_Load();
}

frmGOmega::~frmGOmega() = default;

void frmGOmega::BuildControls() {
    FixClientTwips(this, 5640, 3645);
    Toolbar1 = MakeTableToolbar(this, 5640);

    Frame2 = new QFrame(this);
    Frame2->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    Frame2->setObjectName("Frame2");
    PlaceTwips(Frame2, 1200, 540, 3000, 3000);
    Line[0] = MakeLine(Frame2, "Line1", 1000, 0, 1000, 3000);
    Line[1] = MakeLine(Frame2, "Line2", 2000, 0, 2000, 3000);
    Line[2] = MakeLine(Frame2, "Line3", 0, 1000, 3000, 1000);
    Line[3] = MakeLine(Frame2, "Line4", 0, 2000, 3000, 2000);

    const QFont face = ProportionalGothicBoldFace();
    const struct {
        const char* box;
        double left, top;
        const char* spin;  // the spin button beside the box, which changes it
    } cells[7] = {{"txtA", 180, 420, "udA"},   {"txtB", 1140, 420, "udB"},
                  {"txtC", 2100, 420, "udC"},  {"txtD", 180, 1380, "udD"},
                  {"txtE", 1140, 1380, "udF"}, {"txtF", 2100, 1380, "udE"},
                  {"txtG", 1140, 2340, "udG"}};
    std::array<SpinButton*, 7> spins{};
    for (int k = 0; k < 7; ++k) {
        boxes_[k] =
            MakeBox(Frame2, cells[k].box, "255", cells[k].left, cells[k].top, 495, 285, face);
        spins[k] = new SpinButton(cells[k].spin, Frame2);
        PlaceTwips(spins[k], cells[k].left + 480, cells[k].top, 255, 285);
        spins[k]->SetRange(0, 255);
        spins[k]->SetIncrement(1);
        spins[k]->SetBuddy(boxes_[k]);
        connect(boxes_[k], &QLineEdit::textChanged, this, [this] { txt_Change(); });
    }
    txtA = boxes_[0], txtB = boxes_[1], txtC = boxes_[2], txtD = boxes_[3], txtE = boxes_[4],
    txtF = boxes_[5], txtG = boxes_[6];
    udA = spins[0], udB = spins[1], udC = spins[2], udD = spins[3], udF = spins[4], udE = spins[5],
    udG = spins[6];
    ShowWhole({boxes_.begin(), boxes_.end()}, Widest::Byte);

    txtDivisor = MakeBox(this, "txtDivisor", "16", 360, 2280, 615, 285, face);
    ShowWhole(txtDivisor, Widest::Word);
    Label1 = new QLabel(QStringLiteral("Divisor："), this);
    Label1->setObjectName("Label1");
    PlaceTwips(Label1, 120, 2040, 1035, 240);
    txtSumTotal = MakeBox(this, "txtSumTotal", "1", 360, 3120, 615, 285, face);
    ShowWhole(txtSumTotal, QString::fromStdString(SingleText(kWidestSum)));
    txtSumTotal->setReadOnly(true);
    Label2 = new QLabel(QStringLiteral("Sum total："), this);
    Label2->setObjectName("Label2");
    PlaceTwips(Label2, 120, 2880, 1035, 240);
    FitColumn({Label1, Label2});

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    PlaceTwips(Frame1, 4320, 540, 1215, 3015);
    const PlaneButtons planes = MakePlaneButtons(
        Frame1, 120, {360, 727, 1094, 1461, 1830}, [this](Plane plane) { SelectPlane(plane); },
        [this] { opbAll_Click(); });
    opbYellow = planes.opbYellow;
    opbMagenta = planes.opbMagenta;
    opbCyan = planes.opbCyan;
    opbOp = planes.opbOp;
    opbAll = planes.opbAll;
    CommonDialog1 = std::make_unique<CommonDialog>(this);
}

void frmGOmega::Form_Load() {
    setWindowTitle(kCaption);
    CurrentPlane = PlaneYellow;
    Divisor = 16;
    FormReady = true;
    LoadPlane();
    ChildWindows::FixedChildWindow(this, [this] { Form_Unload(); });
}

void frmGOmega::Form_Unload() {
    StorePlane();
    FormReady = false;
}

// ---- table <-> boxes ----

void frmGOmega::LoadPlane() {
    const ParamTable& table = ColorDataSet.GOmegaParams;
    const int p = CurrentPlane == PlaneAll ? PlaneYellow : CurrentPlane;
    for (int k = 0; k < 7; ++k) Omega[k] = table(k, p);
    ShowOmega();
}

void frmGOmega::StorePlane() {
    ReadOmega();
    ParamTable& table = ColorDataSet.GOmegaParams;
    for (int p = 0; p < PlaneCount; ++p) {
        if (CurrentPlane != PlaneAll && p != CurrentPlane) continue;
        for (int k = 0; k < 7; ++k) table(k, p) = Omega[k];  // word 7 is not the editor's
    }
}

void frmGOmega::ShowOmega() {
    FormReady = false;
    SumTotal = OmegaSumTotal(Omega, Divisor);
    Show(txtDivisor, QString::number(Divisor));
    for (int k = 0; k < 7; ++k) Show(boxes_[k], QString::number(Omega[k]));
    // A zero divisor or an S beyond 16 bits has no sum to show.
    Show(txtSumTotal, SumTotal ? QString::fromStdString(SingleText(*SumTotal)) : QString());
    FormReady = true;
}

void frmGOmega::ReadOmega() {
    // A divisor or coefficient that does not fit keeps the value it had; the sum box is only
    // shown, never read.
    Divisor = ValueOr(txtDivisor, Divisor);
    for (int k = 0; k < 7; ++k) Omega[k] = ValueOr(boxes_[k], Omega[k]);
}

void frmGOmega::txt_Change() {
    if (!FormReady) return;
    ReadOmega();
    StorePlane();
    LoadPlane();
    ShowOmega();
}

// ---- plane buttons ----

void frmGOmega::SelectPlane(Plane plane) {
    StorePlane();
    CurrentPlane = plane;
    LoadPlane();
}

void frmGOmega::opbAll_Click() {
    if (!ConfirmAllPlanes(opbYellow)) return;
    CurrentPlane = PlaneAll;
    StorePlane();
    LoadPlane();
}

// ---- toolbar ----

void frmGOmega::OpenTableFile() {
    // The boxes show the file's coefficients over the divisor last read, not one merely typed.
    if (OpenParamTableFile(this, *CommonDialog1,
                           {kCaption, "gom", "KT-Tools", ColorDataSet.GOmegaParams}))
        LoadPlane();
}

void frmGOmega::SaveTableFile() {
    StorePlane();
    SaveParamTableFile(this, *CommonDialog1,
                       {kCaption, "gom", "KT-Tools", ColorDataSet.GOmegaParams});
}

// ---- printer ----

void frmGOmega::WriteTableToPrinter() {
    StorePlane();
    EachPlane(Module2::WriteGOmegaTable);
}

void frmGOmega::ReadTableFromPrinter() {
    if (!ReadPlanesFromPrinter(this, kCaption, Module2::ReadGOmegaTable)) return;
    LoadPlane();
}
