// The start and end level boxes of frmEGamma and the two level lines of its curve.
//
// A box's Change moves its line to the typed level limited to the curve's scale, but stores the
// level as typed; leaving the box puts the line's value back into it, which then stores the
// limited value. Dragging a line writes the box and stores it.
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "core/colour_data.h"
#include "core/numbers.h"
#include "editors/curve/curve_editor_variants.h"
#include "editors/curve/curve_table_editor.h"
#include "editors/curve/table_editor_parts.h"
#include "platform/trazo/trazo.h"
#include "shell/box_entry.h"
#include "shell/ui_units.h"

namespace {

constexpr int kLevelMin = 0;
constexpr int kLevelMax = 10000;

// A level box's number as stored: the leading number of its text as a signed 16-bit value. A
// number beyond that range stands for the nearer end of the curve's scale.
int16_t LevelValue(const QString& text) {
    const std::string typed = text.toStdString();
    return LeadingInt16(typed).value_or(LeadingNumber(typed) > 0 ? kLevelMax : kLevelMin);
}

void SetLevel(int which, int plane, int16_t value) {
    if (which == 0)
        ModuleDataPro::SetEGammaStart(plane, value);
    else
        ModuleDataPro::SetEGammaEnd(plane, value);
}

}  // namespace

void CurveTableEditor::BuildLevelBoxes() {
    auto box = [this](const char* name, const char* text, double top, uint32_t colour) {
        auto* b = new QLineEdit(text, Frame1);
        b->setObjectName(name);
        PlaceTwips(b, 2220, top, 675, 285);
        ShowWhole(b, Widest::Word);
        QPalette p = b->palette();
        p.setColor(QPalette::Text, BgrColor(colour));
        b->setPalette(p);
        b->installEventFilter(this);
        return b;
    };
    auto label = [this](const char* name, const char* text, double top, uint32_t colour) {
        auto* l = new QLabel(text, Frame1);
        l->setObjectName(name);
        PlaceTwips(l, 1920, top, 285, 285);
        l->setAlignment(Qt::AlignCenter);
        l->setAutoFillBackground(true);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, BgrColor(colour));
        p.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(p);
        FitText(l, l->width());
        return l;
    };
    constexpr uint32_t green = 0x00C000, blue = 0xFF0000;
    txtEP = box("txtEP", "8000", 3480, green);
    lblEP = label("Label2", "EP", 3480, green);
    txtSP = box("txtSP", "2000", 3900, blue);
    lblSP = label("Label1", "SP", 3900, blue);
    connect(txtSP, &QLineEdit::textChanged, this, [this] { LevelBox_Change(0); });
    connect(txtEP, &QLineEdit::textChanged, this, [this] { LevelBox_Change(1); });
    connect(Trazo1, &Trazo::LevelChanged, this, [this](int which) { Trazo1_LevelChanged(which); });
}

QLineEdit* CurveTableEditor::LevelBox(int which) const {
    return which == 0 ? txtSP : txtEP;
}

void CurveTableEditor::ShowLevels() {
    txtSP->setText(QString::number(ModuleDataPro::GetEGammaStart(CurrentPlane)));
    txtEP->setText(QString::number(ModuleDataPro::GetEGammaEnd(CurrentPlane)));
}

void CurveTableEditor::StoreLevels() {
    SetLevel(0, CurrentPlane, LevelValue(txtSP->text()));
    SetLevel(1, CurrentPlane, LevelValue(txtEP->text()));
}

void CurveTableEditor::LevelBox_Change(int which) {
    QLineEdit* box = LevelBox(which);
    const int16_t typed = LevelValue(box->text());
    Trazo1->setLevelLine(which, static_cast<int16_t>(std::clamp<int>(typed, kLevelMin, kLevelMax)));
    box->setCursorPosition(static_cast<int>(box->text().size()));
    SetLevel(which, CurrentPlane, typed);
}

bool CurveTableEditor::LevelBox_KeyPress(QKeyEvent* event) {
    // Only digits are typed into a level box. Keys that type no character (Delete, the arrows),
    // Tab, which moves on, and shortcuts such as paste are not typing. Backspace is refused with
    // any modifier: held with Ctrl it would empty the box a word at a time.
    if (event->key() == Qt::Key_Backspace) return true;
    const QString text = event->text();
    if (text.isEmpty() || event->key() == Qt::Key_Delete || event->key() == Qt::Key_Tab ||
        event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ControlModifier))
        return false;
    const QChar c = text.at(0);
    return c < QLatin1Char('0') || c > QLatin1Char('9');
}

void CurveTableEditor::LevelBox_LostFocus(int which) {
    LevelBox(which)->setText(QString::number(Trazo1->LevelLine(which)));
}

void CurveTableEditor::Trazo1_LevelChanged(int which) {
    if (which != 0 && which != 1) return;
    QLineEdit* box = LevelBox(which);
    box->setText(QString::number(Trazo1->LevelLine(which)));
    SetLevel(which, CurrentPlane, LevelValue(box->text()));
}

bool CurveTableEditor::LevelBoxEvent(QObject* watched, QEvent* event) {
    if (variant_.levels != CurveLevels::StartEnd || (watched != txtSP && watched != txtEP))
        return false;
    const int which = watched == txtSP ? 0 : 1;
    if (event->type() == QEvent::KeyPress) return LevelBox_KeyPress(static_cast<QKeyEvent*>(event));
    // Closing, once the levels are stored, leaves nothing.
    if (loaded_ && EndOfEntry(event, watched, this) == EntryEnd::Left) LevelBox_LostFocus(which);
    return false;
}
