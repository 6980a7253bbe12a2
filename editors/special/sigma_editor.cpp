#include "editors/special/sigma_editor.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolBar>
#include <algorithm>
#include <optional>
#include <stdexcept>

#include "core/errors.h"
#include "core/numbers.h"
#include "editors/curve/table_editor_parts.h"
#include "editors/special/param_table_parts.h"
#include "editors/special/sigma_variants.h"
#include "platform/trazo/trazo.h"
#include "shell/app_globals.h"
#include "shell/child_windows.h"
#include "shell/box_entry.h"
#include "shell/common_dialog.h"
#include "shell/msgbox.h"
#include "shell/ui_units.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0x0000FF;

// The word a weight's box shows (R and RR show L and LL) and the group it belongs to.
constexpr int kWordOf[5] = {2, 1, 0, 1, 2};
constexpr SigmaGroup kGroupOf[5] = {SigmaGroup::Outer, SigmaGroup::Side, SigmaGroup::Center,
                                    SigmaGroup::Side, SigmaGroup::Outer};

// A box's whole text as a 16-bit value; empty when it is no number or does not fit.
std::optional<int16_t> Whole(const QLineEdit* box) {
    try {
        return ToInt16(WholeNumber(box->text().toStdString()));
    } catch (const std::invalid_argument&) {
    } catch (const NumberOverflow&) {
    }
    return std::nullopt;
}

}  // namespace

SigmaEditor::SigmaEditor(const SigmaEditorVariant& variant, QWidget* parent)
    : QWidget(parent), variant_(variant) {
    setObjectName(variant.window);
    BuildControls();
    Form_Load();
}

SigmaEditor::~SigmaEditor() = default;

void SigmaEditor::BuildControls() {
    FixClientTwips(this, 6795, 4995);
    Toolbar1 = MakeTableToolbar(this, 6795);

    Trazo1 = new Trazo(this);
    Trazo1->setObjectName("Trazo1");

    const QString prefix = variant_.boxPrefix;
    const char* parts[5] = {"LL", "L", "C", "R", "RR"};
    const char* labels[5] = {"Label1", "Label4", "Label2", "Label5", "Label3"};
    const char* checks[5] = {"chkLL", "chkL", "chkC", "chkR", "chkRR"};
    const double boxLeft[5] = {240, 1230, 2220, 3210, 4200};
    const double checkLeft[5] = {510, 1492, 2474, 3456, 4440};
    QLabel* labelOf[5] = {};
    for (int w = LL; w <= RR; ++w) {
        const QString name = prefix + parts[w];
        boxes_[w] = MakeBox(this, name.toLatin1().constData(), "10000", boxLeft[w], 3540, 735,
                            w == RR ? 315 : 330, GothicFace());
        boxes_[w]->installEventFilter(this);
        labelOf[w] = new QLabel(name, this);
        labelOf[w]->setObjectName(labels[w]);
        PlaceTwips(labelOf[w], boxLeft[w], 3960, 735, 240);
        FitText(labelOf[w], TwipsToPx(975));
        checks_[w] = new QCheckBox(this);
        checks_[w]->setObjectName(checks[w]);
        PlaceTwips(checks_[w], checkLeft[w], 4260, 255, 195);
        // The face's indicator may be taller than the design's box: it must show whole.
        checks_[w]->resize(std::max(checks_[w]->width(), checks_[w]->sizeHint().width()),
                           std::max(checks_[w]->height(), checks_[w]->sizeHint().height()));
        connect(checks_[w], &QCheckBox::clicked, this, [this, w] { chk_Click(Weight(w)); });
    }
    SigmaLL = boxes_[LL], SigmaL = boxes_[L], SigmaC = boxes_[C], SigmaR = boxes_[R],
    SigmaRR = boxes_[RR];
    ShowWhole({boxes_.begin(), boxes_.end()}, Widest::Word);
    Label1 = labelOf[LL], Label4 = labelOf[L], Label2 = labelOf[C], Label5 = labelOf[R],
    Label3 = labelOf[RR];
    chkLL = checks_[LL], chkL = checks_[L], chkC = checks_[C], chkR = checks_[R],
    chkRR = checks_[RR];

    const double ticks[5] = {600, 1560, 2550, 3540, 4530};
    for (int k = 0; k < 5; ++k) {
        const QByteArray name = "Line" + QByteArray::number(k + 1);
        Line[k] = MakeLine(this, name.constData(), ticks[k], 4500, ticks[k], 4680);
    }
    Line[5] = MakeLine(this, "Line6", 600, 4680, 4530, 4680);
    Label6 = new QLabel("FIXED", this);
    Label6->setObjectName("Label6");
    PlaceTwips(Label6, 2310, 4740, 735, 240);
    FitText(Label6, Label6->width());

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    PlaceTwips(Frame1, 5400, 600, 1215, 4215);
    const PlaneButtons planes = MakePlaneButtons(
        Frame1, 120, {360, 705, 1035, 1380, 1830}, [this](Plane plane) { SelectPlane(plane); },
        [this] { opbAll_Click(); });
    opbYellow = planes.opbYellow;
    opbMagenta = planes.opbMagenta;
    opbCyan = planes.opbCyan;
    opbOp = planes.opbOp;
    opbAll = planes.opbAll;
    CommonDialog1 = std::make_unique<CommonDialog>(this);

    connect(Trazo1, &Trazo::PointChanged, this, [this] { Trazo1_PointChanged(); });
}

void SigmaEditor::Form_Load() {
    setWindowTitle(variant_.caption);
    PlaceTwips(Trazo1, 550, 700, 4098, 2732);
    Trazo1->setPointCount(257);
    Trazo1->setValueSpan(10000);
    Trazo1->setCurveMode(2);
    CurrentPlane = PlaneYellow;
    Trazo1->setCurveColor(static_cast<int32_t>(PlaneColor[PlaneYellow]));
    LoadTableToBoxes();
    FixGroup(SigmaGroup::Center);
    FormReady = true;
    loaded_ = true;
    ChildWindows::FixedChildWindow(this, [this] { Form_Unload(); });
}

void SigmaEditor::Form_Unload() {
    StoreBoxesToTable();
    loaded_ = false;
    FormReady = false;
}

bool SigmaEditor::eventFilter(QObject* watched, QEvent* event) {
    for (int w = LL; w <= RR; ++w) {
        if (watched != boxes_[w]) continue;
        // Another window taking the focus leaves the entry pending.
        switch (EndOfEntry(event, watched, this)) {
            case EntryEnd::EnterKey:
                Enter(Weight(w));
                return true;  // Enter goes into no box
            case EntryEnd::Left:
                Box_LostFocus(Weight(w));
                break;
            case EntryEnd::None:
                if (event->type() == QEvent::KeyPress)
                    Box_KeyPress(Weight(w), static_cast<const QKeyEvent&>(*event));
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- table <-> boxes and curve ----

void SigmaEditor::LoadTableToBoxes() {
    const ParamTable& table = variant_.table();
    const int p = CurrentPlane == PlaneAll ? PlaneYellow : CurrentPlane;
    for (int w : {LL, RR, L, R, C}) boxes_[w]->setText(QString::number(table(kWordOf[w], p)));
    DrawSigmaCurve();
}

void SigmaEditor::StoreWord(int word, int16_t value) {
    ParamTable& table = variant_.table();
    if (CurrentPlane == PlaneAll) {
        for (int p = 0; p < PlaneCount; ++p) table(word, p) = value;
    } else {
        table(word, CurrentPlane) = value;
    }
}

void SigmaEditor::StoreBoxesToTable() {
    // Outside an apply the boxes go in as they stand, a pending entry included; a text that is
    // no number or does not fit leaves its word as it was.
    for (int w : {C, L, LL}) {
        if (const auto value = Whole(boxes_[w])) StoreWord(kWordOf[w], *value);
    }
}

void SigmaEditor::DrawSigmaCurve() {
    Trazo1->BeginNodeUpdate();
    for (int w = LL; w <= RR; ++w) {
        Trazo1->setPointValue(kNodes[w],
                              static_cast<float>(LeadingNumber(boxes_[w]->text().toStdString())));
    }
    for (int node : kNodes) Trazo1->setNodeFlag(node, true);
    Trazo1->EndSigmaNodeUpdate();
}

// ---- FIXED groups ----

void SigmaEditor::chk_Click(Weight weight) {
    // The click has toggled the box already: whichever way, its group is the fixed one now, so a
    // click on a box of the fixed group leaves everything as it was.
    FixGroup(kGroupOf[weight]);
}

void SigmaEditor::FixGroup(SigmaGroup group) {
    fixed_ = group;
    for (int w = LL; w <= RR; ++w) {
        checks_[w]->setChecked(kGroupOf[w] == group);
        boxes_[w]->setEnabled(kGroupOf[w] != group);
    }
}

// ---- entering a weight ----

void SigmaEditor::MarkPending(Weight weight, bool pending) {
    QPalette colours = boxes_[weight]->palette();
    colours.setColor(QPalette::Text, BgrColor(pending ? kRed : kBlack));
    boxes_[weight]->setPalette(colours);
}

bool SigmaEditor::Apply(Weight weight, int16_t v) {
    // The rules read only the fixed group's box; the others they compute.
    const int fixedBox = fixed_ == SigmaGroup::Center ? C : fixed_ == SigmaGroup::Side ? L : LL;
    const auto fixedValue = Whole(boxes_[fixedBox]);
    std::optional<SigmaWeights> result;
    if (fixedValue) {
        SigmaWeights shown{0, 0, 0};
        (fixed_ == SigmaGroup::Center ? shown.C
         : fixed_ == SigmaGroup::Side ? shown.L
                                      : shown.LL) = *fixedValue;
        switch (kGroupOf[weight]) {
            case SigmaGroup::Center:
                result = ApplyCenter(shown, fixed_, v);
                break;
            case SigmaGroup::Side:
                result = ApplySide(shown, fixed_, v);
                break;
            case SigmaGroup::Outer:
                result = ApplyOuter(shown, fixed_, v);
                break;
        }
    }
    if (!result) {
        Refuse(weight);
        return false;
    }
    StoreWord(0, result->C);
    StoreWord(1, result->L);
    StoreWord(2, result->LL);
    LoadTableToBoxes();
    return true;
}

void SigmaEditor::Refuse(Weight weight) {
    const QString typed = boxes_[weight]->text();
    LoadTableToBoxes();
    boxes_[weight]->setText(typed);
    MarkPending(weight, true);
}

bool SigmaEditor::Enter(Weight weight) {
    const std::optional<int16_t> v = LeadingInt16(boxes_[weight]->text().toStdString());
    if (!v) {
        Refuse(weight);
        return false;
    }
    if (!Apply(weight, *v)) return false;
    MarkPending(weight, false);
    return true;
}

void SigmaEditor::Box_KeyPress(Weight weight, const QKeyEvent& key) {
    if (!key.text().isEmpty() && key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab)
        MarkPending(weight, true);
}

void SigmaEditor::Box_LostFocus(Weight weight) {
    if (FormReady && loaded_) Enter(weight);
}

// ---- curve ----

void SigmaEditor::Trazo1_PointChanged() {
    // The first weight whose node differs from its box is the one the user moved.
    for (int w : {C, LL, RR, L, R}) {
        const float shown = static_cast<float>(LeadingNumber(boxes_[w]->text().toStdString()));
        const float node = Trazo1->PointValue(kNodes[w]);
        if (shown == node) continue;
        if (boxes_[w]->isEnabled()) {
            boxes_[w]->setText(QString::fromStdString(SingleText(node)));
            if (const auto v = Whole(boxes_[w])) {
                Apply(Weight(w), *v);
            } else {
                Refuse(Weight(w));
            }
        }
        break;
    }
    // A node of the fixed group springs back; those an apply changed move to their new values.
    DrawSigmaCurve();
}

// ---- plane buttons ----

void SigmaEditor::SelectPlane(Plane plane) {
    // Every apply has stored already: nothing to store before the switch.
    CurrentPlane = plane;
    Trazo1->setCurveColor(static_cast<int32_t>(PlaneColor[plane]));
    LoadTableToBoxes();
}

void SigmaEditor::opbAll_Click() {
    if (!ConfirmAllPlanes(opbYellow)) return;
    CurrentPlane = PlaneAll;
    StoreBoxesToTable();
    Trazo1->setCurveColor(static_cast<int32_t>(PlaneColor[PlaneAll]));
    LoadTableToBoxes();
}

// ---- toolbar ----

void SigmaEditor::OpenTableFile() {
    if (OpenParamTableFile(
            this, *CommonDialog1,
            {variant_.caption, variant_.extension, variant_.errorTitle, variant_.table()}))
        LoadTableToBoxes();
}

void SigmaEditor::SaveTableFile() {
    // What the boxes show is stored already, by the applies.
    SaveParamTableFile(
        this, *CommonDialog1,
        {variant_.caption, variant_.extension, variant_.errorTitle, variant_.table()});
}

// ---- printer ----

void SigmaEditor::WriteTableToPrinter() {
    StoreBoxesToTable();
    EachPlane(variant_.write);
}

void SigmaEditor::ReadTableFromPrinter() {
    FormReady = false;
    if (ReadPlanesFromPrinter(this, variant_.caption, variant_.read)) LoadTableToBoxes();
    FormReady = true;
}
