#include "editors/curve/curve_table_editor.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolBar>
#include <array>

#include "core/bulk_transfers.h"
#include "core/curve_table_files.h"
#include "core/engine_link.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "editors/curve/curve_editor_variants.h"
#include "editors/curve/table_editor_parts.h"
#include "platform/trazo/trazo.h"
#include "shell/app_globals.h"
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

// The value typed into the in-cell editor, as stored: the leading number of
// the text limited to 0..10000. A number beyond the 16-bit range is limited
// the same way rather than refused.
int16_t EnteredValue(const QString& text) {
    return static_cast<int16_t>(RoundClamped(EntryNumber(text.toStdString()), 0, 10000));
}

// The table's values and flags as the 1,024 words of its memory image, and back.
std::array<int16_t, 1024> TableWords(CurveTable& table) {
    std::array<int16_t, 1024> words{};
    for (int p = 0; p < 4; ++p) {
        for (int i = 0; i < 256; ++i) {
            int w = ModuleDataPro::GetTableValue(table, Plane(p), i);
            if (ModuleDataPro::IsControlPoint(table, Plane(p), i)) w |= 0x8000;
            words[p * 256 + i] = static_cast<int16_t>(w);
        }
    }
    return words;
}

void SetTableWords(CurveTable& table, const std::array<int16_t, 1024>& words) {
    for (int p = 0; p < 4; ++p) {
        for (int i = 0; i < 256; ++i) {
            int16_t w = words[p * 256 + i];
            ModuleDataPro::SetControlPoint(table, Plane(p), i, (w & 0x8000) != 0);
            ModuleDataPro::SetTableValue(table, Plane(p), i, static_cast<int16_t>(w & 0x7FFF));
        }
    }
}

}  // namespace

CurveTableEditor::CurveTableEditor(const CurveEditorVariant& variant, QWidget* parent)
    : QWidget(parent), variant_(variant) {
    setObjectName(variant.window);
    BuildControls();
    Form_Load();
}

CurveTableEditor::~CurveTableEditor() = default;

void CurveTableEditor::BuildControls() {
    FixClientTwips(this, 7920, 5280);

    Toolbar1 =
        MakeTableToolbar(this, 7920, [this](const QString& key) { Toolbar1_ButtonClick(key); });

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
        Label1 = MakeLabel(Frame1, "Label1", "nS", 2700, 3960, 195, 255);
        FitText(Label1, RoomToParentEdge(Label1));
    }
    CommonDialog1 = std::make_unique<CommonDialog>(this);

    connect(Trazo1, &Trazo::PointChanged, this, [this](int index) { Trazo1_PointChanged(index); });
}

void CurveTableEditor::Form_Load() {
    setWindowTitle(variant_.caption);

    PlaceTwips(Trazo1, 550, 700, 4098, 4098);
    Trazo1->setPointCount(256);
    Trazo1->setValueSpan(10001);
    Trazo1->setCurveMode(1);

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

bool CurveTableEditor::event(QEvent* event) {
    // Inside the main window the editor's frame is fixed, with no minimise
    // or maximise button.
    if (event->type() == QEvent::ParentChange) {
        QMdiSubWindow* frame = FixChildFrame(this);
        if (frame && frame->layout()) frame->layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    return QWidget::event(event);
}

void CurveTableEditor::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

// ---- the grid as rows of the design ----

int CurveTableEditor::Row() const {
    return MSFlexGrid1->currentRow() + 1;
}

void CurveTableEditor::SetRow(int row) {
    // Moving the current row from code leaves the scroll position alone: the
    // editor decides the top row itself.
    const bool scroll = MSFlexGrid1->hasAutoScroll();
    MSFlexGrid1->setAutoScroll(false);
    if (row <= 0)
        MSFlexGrid1->setCurrentItem(nullptr);
    else
        MSFlexGrid1->setCurrentCell(row - 1, std::max(0, MSFlexGrid1->currentColumn()));
    MSFlexGrid1->setAutoScroll(scroll);
}

int CurveTableEditor::Col() const {
    return std::max(0, MSFlexGrid1->currentColumn());
}

void CurveTableEditor::SetCol(int col) {
    if (MSFlexGrid1->currentRow() < 0) return;
    const bool scroll = MSFlexGrid1->hasAutoScroll();
    MSFlexGrid1->setAutoScroll(false);
    MSFlexGrid1->setCurrentCell(MSFlexGrid1->currentRow(), col);
    MSFlexGrid1->setAutoScroll(scroll);
}

int CurveTableEditor::TopRow() const {
    return MSFlexGrid1->verticalScrollBar()->value() + 1;
}

void CurveTableEditor::SetTopRow(int row) {
    MSFlexGrid1->verticalScrollBar()->setValue(row - 1);
}

QString CurveTableEditor::TextMatrix(int row, int col) const {
    if (row == 0) return MSFlexGrid1->horizontalHeaderItem(col)->text();
    return MSFlexGrid1->item(row - 1, col)->text();
}

void CurveTableEditor::SetCell(int row, int col, const QString& text) {
    MSFlexGrid1->item(row - 1, col)->setText(text);
}

void CurveTableEditor::SetRedraw(bool on) {
    MSFlexGrid1->setUpdatesEnabled(on);
    MSFlexGrid1->blockSignals(!on);
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

// ---- grid and in-cell editor ----

void CurveTableEditor::PlaceEditor() {
    SetCol(1);
    const int32_t top = (Row() - TopRow() + 2) * int32_t{kRowHeightTwips};
    Text1->move(TwipsToPx(800), TwipsToPx(top));
    Text1->raise();
}

void CurveTableEditor::MSFlexGrid1_DblClick() {
    if (Row() < 1) return;
    PlaceEditor();
    Text1->setText(TextMatrix(Row(), 1));
    Text1->selectAll();
    Text1->show();
    Text1->setFocus();
}

void CurveTableEditor::MSFlexGrid1_KeyPress(QChar character) {
    if (Row() < 1) return;
    PlaceEditor();
    Text1->setText(QString(character));
    Text1->end(false);
    Text1->show();
    Text1->setFocus();
}

void CurveTableEditor::MSFlexGrid1_MouseDown(Qt::MouseButton button, const QPoint& pos) {
    if (button != Qt::LeftButton) return;
    Text1->hide();
    // The point toggled is that of the pressed row, which the press has made
    // the current one; a press beside the rows has no point to toggle.
    if (MSFlexGrid1->columnAt(pos.x()) != 0 || MSFlexGrid1->rowAt(pos.y()) < 0 || Row() < 1) return;
    CurveTable& table = variant_.table();
    StoreControlPointsFromCurve();
    const int p = Row() - 1;
    ModuleDataPro::SetControlPoint(table, CurrentPlane, p,
                                   !ModuleDataPro::IsControlPoint(table, CurrentPlane, p));
    ShowControlPoints();
}

void CurveTableEditor::Text1_KeyDown(int keyCode) {
    if (keyCode != 13) return;
    const int16_t value = EnteredValue(Text1->text());
    Text1->hide();
    MSFlexGrid1->setFocus();
    if (Row() < 1) return;
    StoreGridToTable();
    ModuleDataPro::SetTableValue(variant_.table(), CurrentPlane, Row() - 1, value);
    LoadTableToGrid();
    if (Row() < kLastRow) {
        SetRow(Row() + 1);
        if (Row() - TopRow() > 16) SetTopRow(Row());
        SetCol(1);
    }
}

bool CurveTableEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MSFlexGrid1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint pos = me->position().toPoint();
            const int row = MSFlexGrid1->rowAt(pos.y());
            const int col = MSFlexGrid1->columnAt(pos.x());
            MSFlexGrid1->setFocus(Qt::MouseFocusReason);
            if (me->button() == Qt::LeftButton && row >= 0 && col >= 0) {
                MSFlexGrid1->setCurrentCell(row, col == 0 ? 1 : col);
            }
            if (event->type() == QEvent::MouseButtonPress)
                MSFlexGrid1_MouseDown(me->button(), pos);
            else if (me->button() == Qt::LeftButton)
                MSFlexGrid1_DblClick();
            return true;
        }
    } else if (watched == MSFlexGrid1 && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        const QString text = ke->text();
        if (!text.isEmpty() && ke->key() != Qt::Key_Tab && ke->key() != Qt::Key_Backtab) {
            MSFlexGrid1_KeyPress(text.at(0));
            return true;
        }
    } else if (watched == Text1 && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
            Text1_KeyDown(13);
            return true;  // the editor does not take Enter itself
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- toolbar ----

void CurveTableEditor::Toolbar1_ButtonClick(const QString& key) {
    if (key == "mnuFileOpen")
        OpenTableFile();
    else if (key == "mnuFileSave")
        SaveTableFile();
    else if (key == "mnuSetPrinter")
        WriteTableToPrinter();
    else if (key == "mnuGetPrinter")
        ReadTableFromPrinter();
}

void CurveTableEditor::OpenTableFile() {
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(*CommonDialog1, false, TableFileFilter(variant_.extension, true), path,
                      parts))
        return;
    CurveTable& table = variant_.table();
    bool ok = true;
    if (parts.Ext == variant_.extension) {
        std::array<int16_t, 1024> words{};
        ok = Module1::FileExists(path) && CurveTableFile::Read(path, words);
        if (ok) SetTableWords(table, words);
    } else if (parts.Ext == "txt") {
        // Every number is read before any is applied, so that a file that
        // fails half-way leaves the table as it was.
        CurveTableValues values{};
        ok = CurveTableTextFile::Read(path, values);
        for (int k = 0; ok && k < 1024; ++k) {
            ModuleDataPro::SetTableValue(table, k / 256, k % 256, values[k]);
        }
    }
    if (!ok) {
        FileOpenError(variant_.errorTitle);
        return;
    }
    TableFileChosen(this, variant_.caption, parts);
    LoadTableToGrid();
}

void CurveTableEditor::SaveTableFile() {
    StoreGridToTable();
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(*CommonDialog1, true, TableFileFilter(variant_.extension, true), path, parts))
        return;
    const auto words = TableWords(variant_.table());
    bool ok = true;
    if (parts.Ext == variant_.extension)
        ok = CurveTableFile::Write(path, words);
    else if (parts.Ext == "txt")
        ok = CurveTableTextFile::Write(path, words);
    if (!ok) {
        MsgBox("FileSave Error", vbOKOnly, variant_.errorTitle);
        return;
    }
    TableFileChosen(this, variant_.caption, parts);
}

// ---- printer ----

void CurveTableEditor::WriteTableToPrinter() {
    StoreGridToTable();
    EachPlane(variant_.write);
}

void CurveTableEditor::ReadTableFromPrinter() {
    if (!EachPlane(variant_.read)) return;
    setWindowTitle(QString(variant_.caption) + " [Printer]");
    LoadTableToGrid();
}
