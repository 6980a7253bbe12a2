#include "editors/special/frm_start_cmp_data.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QTabBar>
#include <QToolBar>
#include <algorithm>

#include "core/colour_data.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "core/record_files.h"
#include "core/table_transfers.h"
#include "editors/curve/table_editor_parts.h"
#include "shell/child_windows.h"
#include "shell/common_dialog.h"
#include "shell/msgbox.h"
#include "shell/spin_button.h"
#include "shell/ui_units.h"

namespace {

const char* const kCaption = "Start Comp";
const char* const kErrorTitle = "KT-Tools";
const char* const kPlaneNames[] = {"Y", "M", "C", "OP"};
// The column heading over the four planes; each plane's column stands under its letters.
const char* const kColumnHeading = " Y             M             C            OP";

// Rows of a view (twips, in its frame).
constexpr double kHeadingTop = 660, kColumnsTop = 900, kFirstRow = 1170, kRowPitch = 315;
constexpr double kBoxWidth = 600, kSpinWidth = 225, kBoxHeight = 285;

StartCmpData& Table() {
    return ColorDataSet.StartCmpData;
}

// The element takes the box's leading number; one beyond 16 bits leaves it as it was.
void StoreBox(const QLineEdit* box, int16_t& element) {
    element = LeadingInt16(box->text().toStdString()).value_or(element);
}

QLabel* AddText(QWidget* parent, const QString& text, double left, double top, double width) {
    auto* l = new QLabel(text, parent);
    PlaceTwips(l, left, top, width, 255);
    return l;
}

// The rank strips hold up to ten one-digit tabs beside their label: their tabs take less room
// around the digit than the style gives a tab of its own.
class NarrowTabs : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? std::min(size, 16) : size;
    }
};

QTabBar* MakeTabs(QWidget* parent, const char* name, int count, const char* (*caption)(int)) {
    auto* tabs = new QTabBar(parent);
    tabs->setObjectName(name);
    tabs->setExpanding(false);
    tabs->setDrawBase(false);
    tabs->setElideMode(Qt::ElideNone);
    for (int k = 0; k < count; ++k) tabs->addTab(caption(k));
    return tabs;
}

const char* Digit(int k) {
    static const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    return digits[k];
}

}  // namespace

frmStartCmpData::frmStartCmpData() {
    setObjectName("frmStartCmpData");
    BuildControls();
    ChildWindows::FixedChildWindow(this, [this] { Form_Unload(); });
    Form_Load();
}

frmStartCmpData::~frmStartCmpData() = default;

void frmStartCmpData::BuildControls() {
    FixClientTwips(this, 5940, 8415);
    Toolbar1 = MakeTableToolbar(this, 5940);

    // TabStrip1's tabs over the panel that holds both views.
    auto* panel = new QFrame(this);
    panel->setObjectName("TabStrip1Panel");
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    PlaceTwips(panel, 60, 870, 5820, 7485);
    TabStrip1 = MakeTabs(this, "TabStrip1", StartCmpData::Sets, [](int set) {
        static const char* const sets[] = {"DSC", "L", "PC", "2L", "A5"};
        return sets[set];
    });
    PlaceTwips(TabStrip1, 90, 540, 5760, 345);
    TabStrip1->raise();

    Frame4 = new QGroupBox(this);
    Frame4->setObjectName("Frame4");
    PlaceTwips(Frame4, 180, 1000, 5580, 4380);
    TabStrip2 = MakeTabs(Frame4, "TabStrip2", DeltaRanks, Digit);
    BuildView(Frame4, TabStrip2, " DELTA TEMP RANK", "WAIT TIME RANK", "WTR", txtWTR, udWTR);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    PlaceTwips(Frame1, 180, 5460, 5580, 2820);
    TabStrip3 = MakeTabs(Frame1, "TabStrip3", WaitRanks, Digit);
    BuildView(Frame1, TabStrip3, " WAIT TIME RANK", " DELTA TEMP RANK", "DTR", txtDTR, udDTR);

    CommonDialog1 = std::make_unique<CommonDialog>(this);

    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int index) {
        CurrentSet = static_cast<int16_t>(index);
        ShowRanks();
    });
    connect(TabStrip2, &QTabBar::currentChanged, this, [this](int index) {
        CurrentDeltaTempRank = static_cast<int16_t>(index);
        ShowRanks();
    });
    connect(TabStrip3, &QTabBar::currentChanged, this, [this](int index) {
        CurrentWaitTimeRank = static_cast<int16_t>(index);
        ShowRanks();
    });
    for (auto& plane : txtWTR)
        for (QLineEdit* box : plane)
            connect(box, &QLineEdit::textChanged, this, [this] {
                if (!FormReady) return;
                StoreWaitRanks();
                ShowDeltaRanks();
            });
    for (auto& plane : txtDTR)
        for (QLineEdit* box : plane)
            connect(box, &QLineEdit::textChanged, this, [this] {
                if (!FormReady) return;
                StoreDeltaRanks();
                ShowWaitRanks();
            });
}

template <std::size_t Rows>
void frmStartCmpData::BuildView(QGroupBox* frame, QTabBar* tabs, const char* tabLabel,
                                const char* rowHeading, const char* boxName,
                                std::array<std::array<QLineEdit*, Rows>, Planes>& boxes,
                                std::array<std::array<SpinButton*, Rows>, Planes>& spins) {
    // The tabs start where the label beside them ends and have the rest of the frame.
    auto* narrow = new NarrowTabs;
    narrow->setParent(tabs);
    tabs->setStyle(narrow);
    QLabel* label = AddText(frame, tabLabel, 120, 300, 1650);
    label->adjustSize();
    PlaceTwips(tabs, 0, 240, 0, 345);
    const int left = label->geometry().right() + TwipsToPx(90);
    tabs->setGeometry(left, tabs->y(), frame->width() - TwipsToPx(120) - left, tabs->height());
    AddText(frame, rowHeading, 120, kHeadingTop, 2000);
    QLabel* columns = AddText(frame, kColumnHeading, 900, kColumnsTop, 4560);

    // Each plane's column is centred under its letters of the heading. A face too narrow for a
    // box and its spin button under every letter is made larger until they fit.
    const int column = TwipsToPx(kBoxWidth) + TwipsToPx(kSpinWidth);
    const QString heading = QString::fromLatin1(kColumnHeading);
    const std::array<int, Planes> letterAt{1, static_cast<int>(heading.indexOf('M')),
                                           static_cast<int>(heading.indexOf('C')),
                                           static_cast<int>(heading.indexOf("OP"))};
    std::array<int, Planes> centre{};
    QFont face = columns->font();
    for (int tries = 0; tries < 20; ++tries) {
        const QFontMetrics m(face);
        for (int p = 0; p < Planes; ++p) {
            const QString letters = p == 3 ? "OP" : QString(heading.at(letterAt[p]));
            centre[p] = columns->x() + m.horizontalAdvance(heading.left(letterAt[p])) +
                        m.horizontalAdvance(letters) / 2;
        }
        if (centre[1] - centre[0] >= column + 2) break;
        face.setPointSizeF(face.pointSizeF() + 0.5);
    }
    columns->setFont(face);
    columns->adjustSize();

    QFont bold = font();
    bold.setPointSizeF(9.75);
    bold.setBold(true);
    for (std::size_t row = 0; row < Rows; ++row) {
        const double top = kFirstRow + row * kRowPitch;
        QLabel* number = AddText(frame, Digit(static_cast<int>(row)), 360, top + 15, 300);
        number->setAlignment(Qt::AlignCenter);
        for (int p = 0; p < Planes; ++p) {
            const QString index = QString("(%1)").arg(row);
            const QString name = QString(boxName) + "_" + kPlaneNames[p];
            auto* box = new QLineEdit("-10", frame);
            box->setObjectName("txt" + name + index);
            box->setFont(bold);
            box->setGeometry(centre[p] - column / 2, TwipsToPx(top), TwipsToPx(kBoxWidth),
                             TwipsToPx(kBoxHeight));
            ShowWhole(box, QStringLiteral("-10"));
            auto* spin = new SpinButton(("ud" + name + index).toLatin1().constData(), frame);
            spin->setGeometry(box->geometry().right() + 1, box->y(), TwipsToPx(kSpinWidth),
                              box->height());
            spin->SetRange(-10, 10);
            spin->SetIncrement(1);
            spin->SetBuddy(box);
            boxes[p][row] = box;
            spins[p][row] = spin;
        }
    }
}

void frmStartCmpData::Form_Load() {
    setWindowTitle(kCaption);
    FormReady = true;
    CurrentWaitTimeRank = 0;
    CurrentDeltaTempRank = 0;
    CurrentSet = 0;
    ShowRanks();
    loaded_ = true;
}

void frmStartCmpData::Form_Unload() {
    if (!loaded_) return;
    StoreRanks();
    loaded_ = false;
}

// ---- table <-> views ----

void frmStartCmpData::ShowRanks() {
    ShowWaitRanks();
    ShowDeltaRanks();
}

void frmStartCmpData::ShowWaitRanks() {
    FormReady = false;
    for (int w = 0; w < WaitRanks; ++w)
        for (int p = 0; p < Planes; ++p)
            txtWTR[p][w]->setText(QString::number(Table()(p, CurrentDeltaTempRank, w, CurrentSet)));
    FormReady = true;
}

void frmStartCmpData::ShowDeltaRanks() {
    FormReady = false;
    for (int d = 0; d < DeltaRanks; ++d)
        for (int p = 0; p < Planes; ++p)
            txtDTR[p][d]->setText(QString::number(Table()(p, d, CurrentWaitTimeRank, CurrentSet)));
    FormReady = true;
}

void frmStartCmpData::StoreRanks() {
    StoreWaitRanks();
    StoreDeltaRanks();
}

void frmStartCmpData::StoreWaitRanks() {
    for (int w = 0; w < WaitRanks; ++w)
        for (int p = 0; p < Planes; ++p)
            StoreBox(txtWTR[p][w], Table()(p, CurrentDeltaTempRank, w, CurrentSet));
}

void frmStartCmpData::StoreDeltaRanks() {
    for (int d = 0; d < DeltaRanks; ++d)
        for (int p = 0; p < Planes; ++p)
            StoreBox(txtDTR[p][d], Table()(p, d, CurrentWaitTimeRank, CurrentSet));
}

void frmStartCmpData::OpenTableFile() {
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(*CommonDialog1, false, TableFileFilter("scd", false), path, parts)) return;
    if (parts.Ext == "scd" &&
        !(Module1::FileExists(path) && StartCmpDataFile::Read(path, Table()))) {
        FileOpenError(kErrorTitle);
        return;
    }
    TableFileChosen(this, kCaption, parts);
    ShowRanks();
}

void frmStartCmpData::SaveTableFile() {
    StoreRanks();
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(*CommonDialog1, true, TableFileFilter("scd", false), path, parts)) return;
    if (parts.Ext == "scd" && !StartCmpDataFile::Write(path, Table())) {
        FileSaveError(kErrorTitle);
        return;
    }
    TableFileChosen(this, kCaption, parts);
}

// ---- printer ----

void frmStartCmpData::WriteTableToPrinter() {
    if (!Module2::WriteStartCmpData()) PrinterNotResponding();
}

void frmStartCmpData::ReadTableFromPrinter() {
    if (!Module2::ReadStartCmpData()) {
        PrinterNotResponding();
        return;
    }
    setWindowTitle(QString(kCaption) + " [Printer]");
    ShowRanks();
}

namespace {

const ChildWindowRegistration kRegistration("mnuStartCmp", [] { return new frmStartCmpData; });

}  // namespace
