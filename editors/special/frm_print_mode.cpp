#include "editors/special/frm_print_mode.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QRadioButton>
#include <QToolBar>
#include <algorithm>

#include "core/colour_data.h"
#include "core/curve_table_files.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "core/record_files.h"
#include "core/table_transfers.h"
#include "editors/curve/table_editor_parts.h"
#include "editors/special/print_mode_timing.h"
#include "shell/box_entry.h"
#include "shell/child_windows.h"
#include "shell/common_dialog.h"
#include "shell/msgbox.h"
#include "shell/spin_button.h"
#include "shell/ui_units.h"

namespace {

using namespace PrintModeTiming;

const char* const kCaption = "Print mode";
const char* const kFileCaption = "PrintMode";  // the word the caption takes after a file or a read
const char* const kErrorTitle = "KT-Tools";

PrintModeRecord& Record() {
    return ColorDataSet.PrintModeData;
}

// A record the two lists can show: each index an item or none.
bool Showable(const PrintModeRecord& r) {
    return ShowableIndex(r.MediaSelect) && ShowableIndex(CycleIndex(r.PrintCycle));
}

QString Padded(int32_t value, int digits) {
    return QString::fromStdString(FormatDigits(value, digits));
}

}  // namespace

void RoundShape::SetBackColor(std::optional<uint32_t> bgr) {
    color_ = bgr;
    update();
}

void RoundShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    if (color_)
        p.setBrush(BgrColor(*color_));
    else
        p.setBrush(Qt::NoBrush);
    const int side = std::min(width(), height()) - 2;
    p.drawEllipse(QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side));
}

frmPrintMode::frmPrintMode() {
    setObjectName("frmPrintMode");
    BuildControls();
    ChildWindows::FixedChildWindow(this);
    Form_Load();
}

frmPrintMode::~frmPrintMode() = default;

void frmPrintMode::BuildControls() {
    FixClientTwips(this, 4470, 5430);
    Toolbar1 = MakeTableToolbar(this, 4470);

    int labels = 0;
    auto label = [&](const char* text, double left, double top, double width) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString("Label%1").arg(++labels));
        PlaceTwips(l, left, top, width, 255);
        FitText(l, l->width());
        return l;
    };
    auto value = [&](const char* name, double left, double top) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        PlaceTwips(l, left, top, 1095, 315);
        return l;
    };
    auto box = [&](const char* name, const char* text, double top, const char* widest) {
        auto* b = new QLineEdit(text, this);
        b->setObjectName(name);
        PlaceTwips(b, 180, top, 1095, 315);
        ShowWhole(b, widest);
        b->installEventFilter(this);
        return b;
    };
    auto spin = [&](const char* name, double top) {
        auto* s = new SpinButton(name, this);
        PlaceTwips(s, 1275, top, 240, 315);
        return s;
    };
    auto list = [&](const char* name, double top, double width) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        PlaceTwips(c, 180, top, width, 315);
        return c;
    };

    // Two columns of five rows: what is chosen or typed on the left, what it gives on the right.
    constexpr double L = 180, R = 2340, row = 960, caption = 720, control = 960;
    auto top = [&](int r, double part) { return part + r * row; };

    label("Media Select:", L, top(0, caption), 2000);
    cmbMediaSelect = list("cmbMediaSelect", top(0, control), 1935);
    label("Resolution:", R, top(0, caption), 1900);
    Option1 = new QRadioButton("600dpi", this);
    Option1->setObjectName("Option1");
    PlaceTwips(Option1, R, top(0, control), 960, 315);
    Option2 = new QRadioButton("334dpi", this);
    Option2->setObjectName("Option2");
    PlaceTwips(Option2, R + 1020, top(0, control), 960, 315);
    for (QRadioButton* o : {Option1, Option2}) FitText(o, RoomToParentEdge(o));
    Option1->setChecked(true);

    label("Print cycle:", L, top(1, caption), 2000);
    cmbPrintCycle = list("cmbPrintCycle", top(1, control), 1335);
    label("uS", 1575, top(1, control) + 30, 400);
    label("Feed speed", R, top(1, caption), 1900);
    labFeedSpeed = value("labFeedSpeed", R, top(1, control));
    label("ips", 3495, top(1, control) + 30, 600);

    label("STB Pitch", L, top(2, caption), 2000);
    txtSTBpitch = box("txtSTBpitch", "0000", top(2, control), Widest::Word);
    udSTBpitch = spin("udSTBpitch", top(2, control));
    label("clock", 1575, top(2, control) + 30, 700);
    label("Total STB Time", R, top(2, caption), 1900);
    labTotalSTBTime = value("labTotalSTBTime", R, top(2, control));
    label("uS", 3495, top(2, control) + 30, 600);

    label("STB Calculate Coefficient", L, top(3, caption), 2100);
    txtSTBCalcCoef = box("txtSTBCalcCoef", "0000", top(3, control), Widest::Word);
    udSTBCalcCoef = spin("udSTBCalcCoef", top(3, control));
    label("Max STB Data", R, top(3, caption), 1900);
    labMaxSTBData = value("labMaxSTBData", R, top(3, control));
    label("clock", 3495, top(3, control) + 30, 700);

    label("OP Data", L, top(4, caption), 2000);
    txtOPData = box("txtOPData", "000", top(4, control), Widest::Byte);
    udOPData = spin("udOPData", top(4, control));
    label("Margin for cycle", R, top(4, caption), 1900);
    labMarginForCycle = value("labMarginForCycle", R, top(4, control));
    label("uS", 3495, top(4, control) + 30, 300);
    Shape1 = new RoundShape(this);
    Shape1->setObjectName("Shape1");
    PlaceTwips(Shape1, 3855, top(4, control) + 15, 285, 285);

    CommonDialog1 = std::make_unique<CommonDialog>(this);

    connect(cmbMediaSelect, &QComboBox::currentIndexChanged, this,
            [this](int index) { cmbMediaSelect_Click(index); });
    connect(cmbPrintCycle, &QComboBox::currentIndexChanged, this,
            [this](int index) { cmbPrintCycle_Click(index); });
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option_Click(600);
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option_Click(300);
    });
    PrintModeRecord& r = Record();
    connect(txtSTBpitch, &QLineEdit::textChanged, this,
            [this, &r] { Box_Change(txtSTBpitch, r.STBPitch, 4); });
    connect(txtSTBCalcCoef, &QLineEdit::textChanged, this,
            [this, &r] { Box_Change(txtSTBCalcCoef, r.STBCalcCoef, 4); });
    connect(txtOPData, &QLineEdit::textChanged, this,
            [this, &r] { Box_Change(txtOPData, r.OPData, 3); });
    const auto show = &frmPrintMode::ShowStrobeTiming;
    connect(udSTBpitch, &SpinButton::UpClick, this,
            [=, this, &r] { Step(r.STBPitch, +1, 32767, show); });
    connect(udSTBpitch, &SpinButton::DownClick, this,
            [=, this, &r] { Step(r.STBPitch, -1, 0, show); });
    connect(udSTBCalcCoef, &SpinButton::UpClick, this,
            [=, this, &r] { Step(r.STBCalcCoef, +1, 32767, show); });
    connect(udSTBCalcCoef, &SpinButton::DownClick, this,
            [=, this, &r] { Step(r.STBCalcCoef, -1, 0, show); });
    connect(udOPData, &SpinButton::UpClick, this,
            [this, &r] { Step(r.OPData, +1, 256, &frmPrintMode::ShowOPData); });
    connect(udOPData, &SpinButton::DownClick, this,
            [this, &r] { Step(r.OPData, -1, 0, &frmPrintMode::ShowOPData); });
}

void frmPrintMode::Form_Load() {
    setWindowTitle(kCaption);
    cmbMediaSelect->blockSignals(true);
    cmbMediaSelect->clear();
    for (const char* item : {"0 : ZKW_AD", "1 : Sony_UP", "2 : ICI_ADD"})
        cmbMediaSelect->addItem(item);
    cmbMediaSelect->setCurrentIndex(-1);
    cmbMediaSelect->blockSignals(false);
    cmbPrintCycle->blockSignals(true);
    cmbPrintCycle->clear();
    for (std::size_t k = 0; k < CycleMicroseconds.size(); ++k)
        cmbPrintCycle->addItem(QString("%1 : %2").arg(k).arg(CycleMicroseconds[k]),
                               CycleMicroseconds[k]);
    cmbPrintCycle->setCurrentIndex(-1);
    cmbPrintCycle->blockSignals(false);
    LoadPrintMode();
}

// ---- record -> controls ----

int frmPrintMode::ShownCycle() const {
    return cmbPrintCycle->currentIndex();
}

void frmPrintMode::LoadPrintMode() {
    const PrintModeRecord& r = Record();
    Loading = true;
    // An index the list cannot hold shows no item; the record keeps its value.
    cmbMediaSelect->setCurrentIndex(ShowableIndex(r.MediaSelect) ? r.MediaSelect : -1);
    const int cycle = PrintModeTiming::CycleIndex(r.PrintCycle);
    cmbPrintCycle->setCurrentIndex(ShowableIndex(cycle) ? cycle : -1);
    (Is600Dpi(r.PrintCycle) ? Option1 : Option2)->setChecked(true);
    Loading = false;
    ShowFeedSpeed();
    ShowStrobeTiming();
    ShowOPData();
}

void frmPrintMode::ShowFeedSpeed() {
    const int cycle = ShownCycle();
    if (cycle < 0) {
        labFeedSpeed->clear();
        return;
    }
    const double speed = FeedSpeed(CycleMicroseconds[cycle], Option1->isChecked());
    // A label that nothing reads back: the general number format of the user's locale.
    labFeedSpeed->setText(QLocale().toString(speed, 'g', QLocale::FloatingPointShortest));
}

void frmPrintMode::ShowStrobeTiming() {
    const PrintModeRecord& r = Record();
    TotalSTBTime = TotalStrobeTime(r.STBPitch);
    MaxSTBData = MaxStrobeData(r.STBCalcCoef);
    const int cycle = ShownCycle();
    if (cycle >= 0) MarginForCycle = cmbPrintCycle->itemData(cycle).toInt() - TotalSTBTime;
    Rewrite(txtSTBpitch, Padded(r.STBPitch, 4));
    Rewrite(txtSTBCalcCoef, Padded(r.STBCalcCoef, 4));
    labTotalSTBTime->setText(Padded(TotalSTBTime, 4));
    labMaxSTBData->setText(Padded(MaxSTBData, 4));
    if (cycle < 0) {
        labMarginForCycle->clear();
        Shape1->SetBackColor(std::nullopt);
        return;
    }
    labMarginForCycle->setText(Padded(MarginForCycle, 4));
    Shape1->SetBackColor(MarginLamp(MarginForCycle));
}

void frmPrintMode::ShowOPData() {
    int16_t& op = Record().OPData;
    op = std::clamp<int16_t>(op, 0, 255);
    Rewrite(txtOPData, Padded(op, 3));
}

void frmPrintMode::Rewrite(QLineEdit* box, const QString& text) {
    // What the program writes into a box is what the record already holds, but not always what
    // the box's rule would read back (10000, or -5, in four characters): it stores nothing.
    rewriting_ = true;
    box->setText(text);
    rewriting_ = false;
}

// ---- controls -> record ----

void frmPrintMode::Option_Click(int base) {
    // With no cycle on show there is no cycle to store.
    if (ShownCycle() >= 0) Record().PrintCycle = static_cast<int16_t>(ShownCycle() + base);
    ShowFeedSpeed();
}

void frmPrintMode::cmbMediaSelect_Click(int index) {
    if (index >= 0) Record().MediaSelect = static_cast<int16_t>(index);
}

void frmPrintMode::cmbPrintCycle_Click(int index) {
    if (Loading || index < 0) return;
    Record().PrintCycle = static_cast<int16_t>(index + (Option1->isChecked() ? 600 : 300));
    ShowFeedSpeed();
    ShowStrobeTiming();
}

void frmPrintMode::Box_Change(QLineEdit* box, int16_t& field, int lastChars) {
    if (rewriting_) return;
    // The field takes the number of the box's last characters; one beyond 16 bits leaves it.
    field = LeadingInt16(box->text().right(lastChars).toStdString()).value_or(field);
}

void frmPrintMode::Step(int16_t& field, int direction, int16_t limit,
                        void (frmPrintMode::*show)()) {
    if (direction > 0 ? field < limit : field > limit)
        field = static_cast<int16_t>(field + direction);
    (this->*show)();
}

bool frmPrintMode::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtSTBpitch && watched != txtSTBCalcCoef && watched != txtOPData)
        return QWidget::eventFilter(watched, event);
    const auto show =
        watched == txtOPData ? &frmPrintMode::ShowOPData : &frmPrintMode::ShowStrobeTiming;
    const EntryEnd end = EndOfEntry(event, watched, this);
    if (end != EntryEnd::None) (this->*show)();
    if (end == EntryEnd::EnterKey) return true;  // the box does not take Enter
    return QWidget::eventFilter(watched, event);
}

void frmPrintMode::OpenTableFile() {
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(*CommonDialog1, false, TableFileFilter("pmd", true), path, parts)) return;
    // The five values are read and checked before any is stored.
    PrintModeRecord read{};
    bool ok = true, got = false;
    if (parts.Ext == "pmd")
        ok = got = Module1::FileExists(path) && PrintModeFile::Read(path, read);
    else if (parts.Ext == "txt")
        ok = got = PrintModeTextFile::Read(path, read);
    if (got && !Showable(read)) ok = false;
    if (!ok) {
        FileOpenError(kErrorTitle);
        return;
    }
    if (got) Record() = read;
    TableFileChosen(this, kFileCaption, parts);
    LoadPrintMode();
}

void frmPrintMode::SaveTableFile() {
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(*CommonDialog1, true, TableFileFilter("pmd", true), path, parts)) return;
    bool ok = true;
    if (parts.Ext == "pmd")
        ok = PrintModeFile::Write(path, Record());
    else if (parts.Ext == "txt")
        ok = PrintModeTextFile::Write(path, Record());
    if (!ok) {
        FileSaveError(kErrorTitle);
        return;
    }
    TableFileChosen(this, kFileCaption, parts);
}

// ---- printer ----

void frmPrintMode::WriteTableToPrinter() {
    if (!Module2::WritePrintModeData()) PrinterNotResponding();
}

void frmPrintMode::ReadTableFromPrinter() {
    if (!Module2::ReadPrintModeData()) {
        PrinterNotResponding();
        return;
    }
    setWindowTitle(QString(kFileCaption) + " [Printer]");
    LoadPrintMode();
}

namespace {

const ChildWindowRegistration kRegistration("mnuCtlPrintMode", [] { return new frmPrintMode; });

}  // namespace
