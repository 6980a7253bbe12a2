#include "editors/special/frm_g_delta.h"

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

const ChildWindowRegistration kRegistration("mnuCtlG_Delta", [] { return new frmGDelta; });

constexpr const char* kCaption = "G Delta";

}  // namespace

frmGDelta::frmGDelta(QWidget* parent) : QWidget(parent) {
    setObjectName("frmGDelta");
    BuildControls();
    Form_Load();
}

frmGDelta::~frmGDelta() = default;

void frmGDelta::BuildControls() {
    FixClientTwips(this, 3690, 3600);
    Toolbar1 = MakeTableToolbar(this, 3690);

    Frame2 = new QFrame(this);
    Frame2->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    Frame2->setObjectName("Frame2");
    PlaceTwips(Frame2, 120, 540, 2160, 3000);
    const QFont face = ProportionalGothicBoldFace();
    const struct {
        const char* label;
        const char* caption;
        const char* box;
        const char* spin;
        double top;
    } rows[4] = {{"Label1", "Low S.H :", "txtLowSH", "udLowSH", 420},
                 {"Label2", "Hight S.H :", "txtHightSH", "udHeightSH", 1080},
                 {"Label3", "L to H Coef :", "txtL2HCoef", "udL2HCoef", 1740},
                 {"Label4", "H to L Coef :", "txtH2LCoef", "udH2LCoef", 2400}};
    std::array<QLabel*, 4> labels{};
    std::array<SpinButton*, 4> spins{};
    for (int k = 0; k < 4; ++k) {
        labels[k] = new QLabel(rows[k].caption, Frame2);
        labels[k]->setObjectName(rows[k].label);
        PlaceTwips(labels[k], 120, rows[k].top + 60, 1035, 240);
        boxes_[k] = MakeBox(Frame2, rows[k].box, "255", 1200, rows[k].top, 495, 285, face);
        spins[k] = new SpinButton(rows[k].spin, Frame2);
        PlaceTwips(spins[k], 1680, rows[k].top, 255, 285);
        spins[k]->SetRange(0, 255);
        spins[k]->SetIncrement(1);
        spins[k]->SetBuddy(boxes_[k]);
        connect(boxes_[k], &QLineEdit::textChanged, this, [this] { txt_Change(); });
    }
    Label1 = labels[0], Label2 = labels[1], Label3 = labels[2], Label4 = labels[3];
    FitColumn({Label1, Label2, Label3, Label4});
    txtLowSH = boxes_[0], txtHightSH = boxes_[1], txtL2HCoef = boxes_[2], txtH2LCoef = boxes_[3];
    udLowSH = spins[0], udHeightSH = spins[1], udL2HCoef = spins[2], udH2LCoef = spins[3];
    ShowWhole({boxes_.begin(), boxes_.end()}, Widest::Byte);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    PlaceTwips(Frame1, 2400, 540, 1215, 3015);
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

void frmGDelta::Form_Load() {
    setWindowTitle(kCaption);
    CurrentPlane = PlaneYellow;
    FormReady = true;
    LoadTableToBoxes();
    ChildWindows::FixedChildWindow(this, [this] { Form_Unload(); });
}

void frmGDelta::Form_Unload() {
    StoreBoxesToTable();
    FormReady = false;
}

// ---- table <-> boxes ----

void frmGDelta::LoadTableToBoxes() {
    FormReady = false;
    const int p = CurrentPlane == PlaneAll ? PlaneYellow : CurrentPlane;
    for (int k = 0; k < 4; ++k)
        boxes_[k]->setText(QString::number(ColorDataSet.GDeltaParams(k, p)));
    FormReady = true;
}

void frmGDelta::StoreBoxesToTable() {
    // The boxes go in as their leading numbers, unclamped; one that does not fit 16 bits leaves
    // its word as it was. Words 4..7 are not the editor's.
    ParamTable& table = ColorDataSet.GDeltaParams;
    for (int p = 0; p < PlaneCount; ++p) {
        if (CurrentPlane != PlaneAll && p != CurrentPlane) continue;
        for (int k = 0; k < 4; ++k)
            table(k, p) = LeadingInt16(boxes_[k]->text().toStdString()).value_or(table(k, p));
    }
}

void frmGDelta::txt_Change() {
    if (FormReady) StoreBoxesToTable();
}

// ---- plane buttons ----

void frmGDelta::SelectPlane(Plane plane) {
    StoreBoxesToTable();
    CurrentPlane = plane;
    LoadTableToBoxes();
}

void frmGDelta::opbAll_Click() {
    if (!ConfirmAllPlanes(opbYellow)) return;
    CurrentPlane = PlaneAll;
    StoreBoxesToTable();
    LoadTableToBoxes();
}

// ---- toolbar ----

void frmGDelta::OpenTableFile() {
    if (OpenParamTableFile(this, *CommonDialog1,
                           {kCaption, "gdt", "KT-Tools", ColorDataSet.GDeltaParams}))
        LoadTableToBoxes();
}

void frmGDelta::SaveTableFile() {
    StoreBoxesToTable();
    SaveParamTableFile(this, *CommonDialog1,
                       {kCaption, "gdt", "KT-Tools", ColorDataSet.GDeltaParams});
}

// ---- printer ----

void frmGDelta::WriteTableToPrinter() {
    StoreBoxesToTable();
    EachPlane(Module2::WriteGDeltaTable);
}

void frmGDelta::ReadTableFromPrinter() {
    if (!ReadPlanesFromPrinter(this, kCaption, Module2::ReadGDeltaTable)) return;
    LoadTableToBoxes();
}
