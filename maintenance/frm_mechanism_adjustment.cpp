#include "maintenance/frm_mechanism_adjustment.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

#include "core/maintenance_commands.h"
#include "core/numbers.h"
#include "core/parvel_link.h"
#include "core/paths.h"
#include "core/record_files.h"
#include "core/status_queries.h"
#include "editors/curve/table_editor_parts.h"
#include "maintenance/mechanism_guides.h"
#include "shell/app_globals.h"
#include "shell/box_entry.h"
#include "shell/child_windows.h"
#include "shell/msgbox.h"
#include "shell/spin_button.h"
#include "shell/ui_units.h"

namespace {

ChildWindowRegistration registration("mnuOptionMechanismAdjustment",
                                     [] { return new frmMechanismAdjustment; });

constexpr double MmPerInch = 25.4;
constexpr float MostMm = 10;
const QString FileErrorTitle = QStringLiteral("JM-Tools");

QString Shown(float mm) {
    return QString::fromStdString(FormatDecimals(mm, 1));
}

// The printer's reply "PPA+012": false unless it begins with the tag; the steps are the leading
// number of the four characters after it (a reply of the tag alone reads as 0).
bool ReadSteps(const std::string& reply, const char* tag, float& steps) {
    if (reply.size() < 3 || reply.compare(0, 3, tag) != 0) return false;
    steps = static_cast<float>(LeadingNumber(reply.substr(3, 4)));
    return true;
}

// Steps at the resolution in millimetres, to one decimal with halves to even.
float MmOf(float steps, int32_t dpi) {
    return static_cast<float>(std::nearbyint(steps / static_cast<double>(dpi) * MmPerInch * 10) /
                              10);
}

// Millimetres in whole steps at the resolution (halves to even); false when the count does not
// fit what the printer's field holds.
bool StepsOf(float mm, int32_t dpi, int16_t& steps) {
    const double n = std::nearbyint(mm / MmPerInch * dpi);
    if (!(std::abs(n) <= Module2::MaxPositionSteps)) return false;
    steps = static_cast<int16_t>(n);
    return true;
}

// The vertical resolution now: negative when the exchange failed, 0 when the reply did not read
// as a number. Only a positive one converts steps and millimetres.
int32_t ResolutionNow() {
    try {
        return Parvel::JmGetResolutionV(PortHandle);
    } catch (const Parvel::Unavailable&) {
        return -1;
    }
}

}  // namespace

frmMechanismAdjustment::frmMechanismAdjustment()
    : FixedDialog("frmMechanismAdjustment", 5700, 3450) {
    setWindowTitle(QStringLiteral("Mechanism adjustment"));
    ImageList1 = MechanismGuidePictures();

    Picture1 = new QLabel(this);
    Picture1->setObjectName("Picture1");
    PlaceTwips(Picture1, 120, 120, 3495, 2235);

    Label1 = AddLabel("Label1", QStringLiteral("Print position adjustment:"), 120, 2580, 2160, 255);
    Label2 =
        AddLabel("Label2", QStringLiteral("Cutting position adjustment:"), 120, 3060, 2160, 255);
    OneFace({Label1, Label2});
    // The design's tops are those of the texts: each stands level with its box.
    for (QLabel* label :
         {Label1, Label2, AddLabel("Label3", QStringLiteral("mm"), 3600, 2700, 375, 255),
          AddLabel("Label4", QStringLiteral("mm"), 3600, 3180, 375, 255)})
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto box = [this](const char* name, double top) {
        QLineEdit* edit = AddTextBox(name, 2340, top, 855, 315, QStringLiteral("-10.0"));
        edit->installEventFilter(this);
        return edit;
    };
    // The up and down buttons keep a range of their own that nothing reads; only their clicks
    // count. A click takes the focus, so that a value typed in the box is taken first.
    auto upDown = [this](const char* name, double top) {
        auto* spin = new SpinButton(name, this);
        PlaceTwips(spin, 3240, top, 255, 435);
        spin->SetRange(0, 10);
        spin->SetIncrement(1);
        spin->setFocusPolicy(Qt::StrongFocus);
        return spin;
    };
    txtPrintPos = box("txtPrintPos", 2520);
    udPrintPos = upDown("udPrintPos", 2460);
    txtCuttingPos = box("txtCuttingPos", 3000);
    udCuttingPos = upDown("udCuttingPos", 2940);
    connect(udPrintPos, &SpinButton::UpClick, this, [this] { Step(PrintPos, +1); });
    connect(udPrintPos, &SpinButton::DownClick, this, [this] { Step(PrintPos, -1); });
    connect(udCuttingPos, &SpinButton::UpClick, this, [this] { Step(CutPos, +1); });
    connect(udCuttingPos, &SpinButton::DownClick, this, [this] { Step(CutPos, -1); });

    auto button = [this](QGroupBox* frame, const char* name, const char* text, double top,
                         void (frmMechanismAdjustment::*click)()) {
        auto* b = new QPushButton(QString::fromLatin1(text), frame);
        b->setObjectName(name);
        PlaceTwips(b, 120, top, 1335, 375);
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    fraFile = AddFrame("fraFile", QStringLiteral("File"), 4020, 900, 1575, 1155);
    cmdOpen = button(fraFile, "cmdOpen", "Open", 270, &frmMechanismAdjustment::cmdOpen_Click);
    cmdSave = button(fraFile, "cmdSave", "Save", 690, &frmMechanismAdjustment::cmdSave_Click);
    fraPrinter = AddFrame("fraPrinter", QStringLiteral("Printer"), 4020, 2220, 1575, 1155);
    cmdGet = button(fraPrinter, "cmdGet", "Get", 270, &frmMechanismAdjustment::cmdGet_Click);
    cmdSetup =
        button(fraPrinter, "cmdSetup", "Setup", 690, &frmMechanismAdjustment::cmdSetup_Click);

    QWidget* order[] = {txtPrintPos, udPrintPos, txtCuttingPos, udCuttingPos,
                        cmdOpen,     cmdSave,    cmdGet,        cmdSetup};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    ShowPositions();
    SelectNoPosition();
}

frmMechanismAdjustment::~frmMechanismAdjustment() {
    // The boxes lose the focus as they go; nothing is to be validated then.
    for (QObject* watched :
         {static_cast<QObject*>(txtPrintPos), static_cast<QObject*>(txtCuttingPos),
          static_cast<QObject*>(cmdOpen), static_cast<QObject*>(cmdSave),
          static_cast<QObject*>(cmdGet), static_cast<QObject*>(cmdSetup)})
        watched->removeEventFilter(this);
}

// Each time the window becomes the active one, the focus goes to "Get".
void frmMechanismAdjustment::Form_Activate() {
    cmdGet->setFocus();
}

bool frmMechanismAdjustment::eventFilter(QObject* watched, QEvent* e) {
    const bool print = watched == txtPrintPos;
    if (print || watched == txtCuttingPos) {
        // Only an edited text is taken: the one decimal a box shows would otherwise replace the
        // digits typed before, as soon as the box is left.
        QLineEdit* box = print ? txtPrintPos : txtCuttingPos;
        const auto validate = [&] {
            if (box->isModified()) print ? ValidatePrintPos() : ValidateCuttingPos();
        };
        if (e->type() == QEvent::FocusIn) print ? SelectPrintPosition() : SelectCuttingPosition();
        const EntryEnd end = EndOfEntry(e, watched);
        if (end != EntryEnd::None) validate();
        if (end == EntryEnd::EnterKey) return true;  // Enter goes no further
    } else if (e->type() == QEvent::FocusIn) {
        SelectNoPosition();  // one of the four buttons
    }
    return FixedDialog::eventFilter(watched, e);
}

void frmMechanismAdjustment::cmdGet_Click() {
    const int32_t r = ResolutionNow();
    ResolutionV = r;
    float p = 0, q = 0;
    if (r <= 0 || !ReadSteps(Module2::ReadPrintPosAdjust(), "PPA", p) ||
        !ReadSteps(Module2::ReadCutPosAdjust(), "CPA", q)) {
        PrinterNotResponding();
        return;
    }
    PrintPosMm = MmOf(p, r);
    CutPosMm = MmOf(q, r);
    ShowPositions();
}

void frmMechanismAdjustment::cmdSetup_Click() {
    const int32_t r = ResolutionNow();
    ResolutionV = r;
    int16_t printSteps = 0, cutSteps = 0;
    // Both counts are checked before either goes out, so that a refused one sends nothing.
    if (r <= 0 || !StepsOf(PrintPosMm, r, printSteps) || !StepsOf(CutPosMm, r, cutSteps) ||
        !Module2::WritePrintPosAdjust(printSteps) || !Module2::WriteCutPosAdjust(cutSteps))
        PrinterNotResponding();
}

void frmMechanismAdjustment::cmdOpen_Click() {
    try {
        std::string path;
        Module1::PathParts parts;
        if (!AskTableFile(CommonDialog1, false, TableFileFilter("adj", false), path, parts)) return;
        if (parts.Ext == "adj") {
            float print = 0, cut = 0;
            if (!Module1::FileExists(path) || !PositionAdjustFile::Read(path, print, cut)) {
                FileOpenError(FileErrorTitle);
                return;
            }
            // Loaded values are held to what the window edits, so that every one can be sent.
            PrintPosMm = std::clamp(print, -MostMm, MostMm);
            CutPosMm = std::clamp(cut, -MostMm, MostMm);
        }
        LastDir = QString::fromStdString(parts.Dir);
        ShowPositions();
    } catch (const std::exception&) {
        FileOpenError(FileErrorTitle);
    }
}

void frmMechanismAdjustment::cmdSave_Click() {
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(CommonDialog1, true, TableFileFilter("adj", false), path, parts)) return;
    if (parts.Ext == "adj" && !PositionAdjustFile::Write(path, PrintPosMm, CutPosMm)) {
        FileSaveError(FileErrorTitle);
        return;
    }
    LastDir = QString::fromStdString(parts.Dir);
}

void frmMechanismAdjustment::SelectNoPosition() {
    Highlight(1, false, false);
}

void frmMechanismAdjustment::SelectPrintPosition() {
    Highlight(2, true, false);
}

void frmMechanismAdjustment::SelectCuttingPosition() {
    Highlight(3, false, true);
}

void frmMechanismAdjustment::Highlight(int picture, bool print, bool cutting) {
    Picture1->setPixmap(ImageList1[static_cast<std::size_t>(picture - 1)]);
    const auto ink = [](QLabel* caption, bool selected) {
        QPalette palette = caption->palette();
        palette.setColor(QPalette::WindowText, BgrColor(selected ? 0x00FF0000 : 0x00000000));
        caption->setPalette(palette);
    };
    ink(Label1, print);
    ink(Label2, cutting);
}

void frmMechanismAdjustment::ValidatePrintPos() {
    Validate(PrintPos);
}

void frmMechanismAdjustment::ValidateCuttingPos() {
    Validate(CutPos);
}

void frmMechanismAdjustment::Validate(const Position& position) {
    // Limited before it becomes a float: a number beyond a float's range has no conversion.
    double typed = LeadingNumber(position.box->text().toStdString());
    if (std::isnan(typed)) typed = 0;
    position.mm = static_cast<float>(std::clamp<double>(typed, -MostMm, MostMm));
    position.box->setText(Shown(position.mm));
}

void frmMechanismAdjustment::Step(const Position& position, int direction) {
    (this->*position.select)();
    // The step is taken whenever the value is short of the limit; it may then pass it a little.
    if (direction > 0 && position.mm < MostMm) position.mm = static_cast<float>(position.mm + 0.1);
    if (direction < 0 && position.mm > -MostMm) position.mm = static_cast<float>(position.mm - 0.1);
    position.box->setText(Shown(position.mm));
}

void frmMechanismAdjustment::ShowPositions() {
    txtPrintPos->setText(Shown(PrintPosMm));
    txtCuttingPos->setText(Shown(CutPosMm));
}
