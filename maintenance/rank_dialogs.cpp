#include "maintenance/rank_dialogs.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <cmath>

#include "core/maintenance_commands.h"
#include "core/numbers.h"
#include "shell/box_entry.h"
#include "shell/child_windows.h"
#include "shell/msgbox.h"
#include "shell/ui_units.h"

namespace {

const std::array<RankDialogVariant, 2> Variants = {{
    {"frmSetupHeadRank", "mnuOptionSetupHeadRank", "Setup headRank", "HeadRank:", false, 1440, 420,
     975, 315, "HR", 4, 3600, 4400, 0, true, Module2::ReadHeadRank, Module2::WriteHeadRank},
    {"frmSetupHeatRank", "mnuOptionSetupHeatRank", "Setup HeatRank", "HeatRank:", true, 1560, 420,
     795, 300, "HS", 3, -10, 10, 10, false, Module2::ReadHeatSetting, Module2::WriteHeatSetting},
}};

const bool registered = [] {
    for (const RankDialogVariant& v : Variants) {
        ChildWindowRegistration(v.menuItem, [&v]() -> QWidget* { return new RankDialog(v); });
    }
    return true;
}();

double NumberOf(const QString& text) {
    return LeadingNumber(text.toStdString());
}

}  // namespace

RankDialog::RankDialog(const RankDialogVariant& variant)
    : FixedDialog(variant.window, 3240, 1875), variant_(variant) {
    setWindowTitle(QString::fromLatin1(variant.title));
    Label1 = AddAutoLabel("Label1", QString::fromLatin1(variant.labelText), 540, 480,
                          RoomBefore(variant.entryLeft, 540));
    if (variant.listed) {
        Combo1 = new QComboBox(this);
        Combo1->setObjectName("Combo1");
        Combo1->setEditable(true);
        // The list only offers the ranks: what is typed is neither completed nor added to it.
        Combo1->setCompleter(nullptr);
        Combo1->setInsertPolicy(QComboBox::NoInsert);
        for (int rank = variant.highest; rank >= variant.lowest; --rank)
            Combo1->addItem(QString::number(rank));
        Combo1->setCurrentIndex(variant.highest);  // rank 0
        entry_ = Combo1;
    } else {
        // "Get" shows the four digits of the printer's reply, whatever rank they are.
        Text1 = AddTextBox("Text1", 0, 0, 0, 0, QStringLiteral("9999"));
        entry_ = Text1;
    }
    PlaceTwips(entry_, variant.entryLeft, variant.entryTop, variant.entryWidth,
               variant.entryHeight);
    entry_->installEventFilter(this);
    cmdGet = AddButton("cmdGet", QStringLiteral("Get"), 1860, 1020, 1335, 375);
    cmdSetup = AddButton("cmdSetup", QStringLiteral("Setup"), 1860, 1440, 1335, 375);
    connect(cmdGet, &QPushButton::clicked, this, &RankDialog::cmdGet_Click);
    connect(cmdSetup, &QPushButton::clicked, this, &RankDialog::cmdSetup_Click);
}

QString RankDialog::EntryText() const {
    return Combo1 ? Combo1->currentText() : Text1->text();
}

void RankDialog::SetEntryText(const QString& text) {
    if (Combo1) {
        Combo1->setEditText(text);
    } else {
        Text1->setText(text);
    }
}

void RankDialog::Form_Activate() {
    cmdGet->setFocus();
}

// Opening the list is not leaving the entry.
bool RankDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == entry_ && EndOfEntry(event, watched) == EntryEnd::Left) Entry_LostFocus();
    return FixedDialog::eventFilter(watched, event);
}

// A text without a number stays as typed (it counts as 0).
void RankDialog::Entry_LostFocus() {
    const double v = NumberOf(EntryText());
    if (v < variant_.lowest) {
        SetEntryText(QString::number(variant_.lowest));
    } else if (v > variant_.highest) {
        SetEntryText(QString::number(variant_.highest));
    }
}

void RankDialog::cmdGet_Click() {
    const QString reply = QString::fromStdString(variant_.read());
    if (!reply.startsWith(QLatin1String(variant_.prefix))) {
        PrinterNotResponding();
        return;
    }
    const qsizetype at = static_cast<qsizetype>(std::char_traits<char>::length(variant_.prefix));
    const double rank = NumberOf(reply.mid(at, variant_.digits)) - variant_.offset;
    if (Combo1) {
        const bool outside = rank < variant_.lowest || rank > variant_.highest;
        const double shown = outside ? variant_.highest : rank;
        // The list runs from the highest rank down; a fraction picks the nearer item.
        Combo1->setCurrentIndex(RoundClamped(variant_.highest - shown, 0, Combo1->count() - 1));
    } else {
        Text1->setText(QString::number(rank, 'g', 15));
    }
}

// The entry is brought into the range first, as leaving it would, so that
// a box the user never entered cannot send a rank outside it.
void RankDialog::cmdSetup_Click() {
    if (variant_.needsNumber && !HasLeadingNumber(EntryText().toStdString())) return;
    Entry_LostFocus();
    const int16_t value = ToInt16(NumberOf(EntryText()) + variant_.offset);
    if (!variant_.write(value)) PrinterNotResponding();
}
