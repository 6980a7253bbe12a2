#include "editors/curve/curve_table_editor.h"

#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolBar>

#include "core/bulk_transfers.h"
#include "core/engine_link.h"
#include "core/numbers.h"
#include "editors/curve/curve_editor_variants.h"
#include "editors/curve/table_editor_parts.h"
#include "platform/trazo/trazo.h"
#include "shell/app_globals.h"
#include "shell/child_windows.h"
#include "shell/common_dialog.h"
#include "shell/msgbox.h"
#include "shell/ui_units.h"

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width, int height, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    PlaceTwips(label, left, top, width, height);
    return label;
}

}  // namespace

CurveTableEditor::CurveTableEditor(const CurveEditorVariant& variant, QWidget* parent)
    : QWidget(parent), variant_(variant) {
    setObjectName(variant.window);
    BuildControls();
    ChildWindows::FixedChildWindow(this, [this] { Form_Unload(); });
    Form_Load();
}

CurveTableEditor::~CurveTableEditor() = default;

void CurveTableEditor::BuildControls() {
    FixClientTwips(this, 7920, 5280);

    Toolbar1 = MakeTableToolbar(this, 7920);

    Trazo1 = new Trazo(this);
    Trazo1->setObjectName("Trazo1");

    labYmax = MakeLabel(this, "labYmax", QString(), 120, 510, 270, 180);
    labYmin = MakeLabel(this, "labYmin", "0", 360, 4680, 90, 180);
    labXmin = MakeLabel(this, "labXmin", "0", 480, 4860, 90, 180);
    labXmax = MakeLabel(this, "labXmax", "255", 4410, 4860, 270, 180);
    Label5 = MakeLabel(this, "Label5", "Coef.", 30, 2340, 465, 180, true);
    Label6 = MakeLabel(this, "Label6", "Control Num", 2040, 4890, 1125, 180, true);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    PlaceTwips(Frame1, 4800, 540, 3015, 4485);

    MSFlexGrid1 = new QTableWidget(Frame1);
    MSFlexGrid1->setObjectName("MSFlexGrid1");
    PlaceTwips(MSFlexGrid1, 90, 240, 1700, 4095);
    MSFlexGrid1->setColumnCount(2);
    MSFlexGrid1->setRowCount(kLastRow);
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1->verticalHeader()->setMinimumSectionSize(1);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(TwipsToPx(kRowHeightTwips));
    MSFlexGrid1->horizontalHeader()->setFixedHeight(TwipsToPx(kRowHeightTwips));
    MSFlexGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1->horizontalHeader()->setHighlightSections(false);
    MSFlexGrid1->horizontalHeader()->setSectionsClickable(false);  // a fixed row, not a button
    MSFlexGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFlexGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MSFlexGrid1->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    MSFlexGrid1->setTabKeyNavigation(false);
    MSFlexGrid1->setWordWrap(false);
    const QBrush fixed = palette().brush(QPalette::Button);
    for (int r = 0; r < kLastRow; ++r) {
        auto* number = new QTableWidgetItem;
        number->setBackground(fixed);
        number->setFlags(Qt::ItemIsEnabled);
        MSFlexGrid1->setItem(r, 0, number);
        MSFlexGrid1->setItem(r, 1, new QTableWidgetItem);
    }
    MSFlexGrid1->installEventFilter(this);
    MSFlexGrid1->viewport()->installEventFilter(this);

    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName("Text1");
    Text1->setFrame(false);
    Text1->hide();
    ShowWhole(Text1, Widest::Word);
    Text1->installEventFilter(this);

    const PlaneButtons planes = MakePlaneButtons(
        Frame1, 1920, {330, 670, 1010, 1350, 1800}, [this](Plane plane) { SelectPlane(plane); },
        [this] { opbAll_Click(); });
    opbYellow = planes.opbYellow;
    opbMagenta = planes.opbMagenta;
    opbCyan = planes.opbCyan;
    opbOp = planes.opbOp;
    opbAll = planes.opbAll;
    if (variant_.markers == EngineMarkers::MarkersAndStrobeSum) {
        txtStbSum = new QLineEdit("8000", Frame1);
        txtStbSum->setObjectName("txtStbSum");
        PlaceTwips(txtStbSum, 1920, 3900, 735, 270);
        ShowWhole(txtStbSum, Widest::Word);
        Label1 = MakeLabel(Frame1, "Label1", "nS", 2700, 3960, 195, 255);
        FitText(Label1, RoomToParentEdge(Label1));
    }
    if (variant_.levels == CurveLevels::StartEnd) BuildLevelBoxes();
    CommonDialog1 = std::make_unique<CommonDialog>(this);

    connect(Trazo1, &Trazo::PointChanged, this, [this](int index) { Trazo1_PointChanged(index); });
}

void CurveTableEditor::Form_Load() {
    setWindowTitle(variant_.caption);

    PlaceTwips(Trazo1, 550, 700, 4098, 4098);
    Trazo1->setPointCount(256);
    Trazo1->setValueSpan(10001);
    Trazo1->setCurveMode(1);
    if (variant_.levels == CurveLevels::StartEnd) {
        Trazo1->setLevelLine(0, 2000);
        Trazo1->setLevelLine(1, 8000);
    }

    MSFlexGrid1->setColumnWidth(0, TwipsToPx(700));
    MSFlexGrid1->setColumnWidth(1, TwipsToPx(700));
    MSFlexGrid1->setHorizontalHeaderLabels({"  Num", "Coef."});
    for (int c = 0; c < 2; ++c) {
        MSFlexGrid1->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

    Text1->resize(MSFlexGrid1->columnWidth(1), MSFlexGrid1->rowHeight(0));

    labXmax->setText("255");
    labYmax->setText("10000");
    labXmin->setText("0");
    labYmin->setText("0");
    for (QLabel* label : {labXmax, labYmax, labXmin, labYmin, Label5, Label6})
        FitText(label, RoomToParentEdge(label));

    CurrentPlane = PlaneYellow;
    Trazo1->setCurveColor(static_cast<int32_t>(PlaneColor[PlaneYellow]));
    LoadTableToGrid();
    MSFlexGrid1->setCurrentItem(nullptr);
    loaded_ = true;
}

void CurveTableEditor::Form_Unload() {
    if (!loaded_) return;
    StoreGridToTable();
    loaded_ = false;
}

// ---- table <-> grid and curve ----

void CurveTableEditor::LoadTableToGrid() {
    CurveTable& table = variant_.table();
    SetRedraw(false);
    for (int i = 0; i < 256; ++i) {
        int16_t value = ModuleDataPro::GetTableValue(table, CurrentPlane, i);
        SetCell(i + 1, 1, QString::number(value));
        Trazo1->setPointValue(i, static_cast<float>(value));
    }
    SetRedraw(true);
    ShowControlPoints();
    if (variant_.markers != EngineMarkers::None) ShowEngineMarkers();
    if (variant_.levels == CurveLevels::StartEnd) ShowLevels();
}

void CurveTableEditor::StoreGridToTable() {
    CurveTable& table = variant_.table();
    SetRedraw(false);
    for (int i = 0; i < 256; ++i) {
        ModuleDataPro::SetTableValue(table, CurrentPlane, i,
                                     ToInt16(EntryNumber(TextMatrix(i + 1, 1).toStdString())));
    }
    SetRedraw(true);
    StoreControlPointsFromCurve();
    if (variant_.levels == CurveLevels::StartEnd) StoreLevels();
}

void CurveTableEditor::ShowControlPoints() {
    CurveTable& table = variant_.table();
    SetRedraw(false);
    Trazo1->BeginNodeUpdate();
    for (int i = 0; i < 256; ++i) {
        if (ModuleDataPro::IsControlPoint(table, CurrentPlane, i)) {
            SetCell(i + 1, 0, QString::number(i) + " *");
            Trazo1->setNodeFlag(i, true);
        } else {
            SetCell(i + 1, 0, QString::number(i) + "  ");
        }
    }
    Trazo1->EndNodeUpdate();
    SetRedraw(true);
    SetCol(0);
}

void CurveTableEditor::StoreControlPointsFromCurve() {
    CurveTable& table = variant_.table();
    for (int i = 0; i < 256; ++i) {
        ModuleDataPro::SetControlPoint(table, CurrentPlane, i, Trazo1->NodeFlag(i));
    }
}

void CurveTableEditor::ShowEngineMarkers() {
    // The markers of frmHCoef, frmTCoef and frmSTBGamma (and the strobe sum of
    // frmSTBGamma) are computed by the colour engine from the whole data set
    // after every reload.
    if (txtStbSum) QDir::setCurrent(QString::fromStdString(Module2::ProgramFolder()));
    try {
        const JmEngine::CurveMarkers markers = JmEngine::AskMarkers(CurrentPlane);
        if (txtStbSum)
            txtStbSum->setText(
                QString::number(StbSum[CurrentPlane == PlaneAll ? 0 : CurrentPlane]));
        Trazo1->setMarker(0, markers.lo);
        Trazo1->setMarker(1, markers.hi);
        Trazo1->setMarker(2, markers.mid);
    } catch (const std::runtime_error& failure) {
        // The curve stays editable without its markers; saying so at every point would drown it.
        if (engineReported_) return;
        engineReported_ = true;
        MsgBox(QString::fromStdString(failure.what()), vbExclamation);
    }
}

// ---- plane buttons ----

void CurveTableEditor::SelectPlane(Plane plane) {
    StoreGridToTable();
    CurrentPlane = plane;
    Trazo1->setCurveColor(static_cast<int32_t>(PlaneColor[plane]));
    LoadTableToGrid();
}

void CurveTableEditor::opbAll_Click() {
    if (MsgBox("Replace all data?", vbOKCancel) == vbCancel) {
        opbYellow->setChecked(true);
        return;
    }
    CurrentPlane = PlaneAll;
    StoreGridToTable();
    Trazo1->setCurveColor(static_cast<int32_t>(PlaneColor[PlaneAll]));
    LoadTableToGrid();
}

// ---- curve ----

void CurveTableEditor::Trazo1_PointChanged(int index) {
    SetRedraw(false);
    for (int i = 0; i < 256; ++i) {
        SetCell(i + 1, 1, QString::number(static_cast<int>(std::floor(Trazo1->PointValue(i)))));
    }
    SetRedraw(true);
    StoreGridToTable();
    if (variant_.markers != EngineMarkers::None)
        LoadTableToGrid();
    else
        ShowControlPoints();
    SetRow(index + 1);
    SetCol(1);
    SetTopRow(index < 8 ? 1 : index - 7);
    MSFlexGrid1->setFocus();
}
