#include "maintenance/frm_setup_resolution.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <stdexcept>

#include "core/maintenance_commands.h"
#include "core/numbers.h"
#include "shell/child_windows.h"
#include "shell/msgbox.h"
#include "shell/spin_button.h"
#include "shell/ui_units.h"

namespace {

ChildWindowRegistration registration("mnuOptionSetupResolution",
                                     [] { return new frmSetupResolution; });

bool Is600(const QString& text) {
    try {
        return WholeNumber(text.toStdString()) == 600;
    } catch (const std::invalid_argument&) {
        return false;  // a text that is not wholly a number is not 600
    }
}

}  // namespace

frmSetupResolution::frmSetupResolution() : FixedDialog("frmSetupResolution", 3330, 2130) {
    Label1 = AddAutoLabel("Label1", QStringLiteral("Resolution"), 600, 600, RoomBefore(1560, 600));
    Text1 = AddTextBox("Text1", 1560, 480, 975, 315, QStringLiteral("600"));
    Text1->setText(QStringLiteral("300"));
    UpDown1 = new SpinButton("UpDown1", this);
    UpDown1->SetRange(0, 10);
    UpDown1->SetIncrement(1);
    UpDown1->SetValue(0);
    PlaceTwips(UpDown1, 2520, 480, 255, 375);
    cmdSetup = AddButton("cmdSetup", QStringLiteral("Setup"), 1680, 1560, 1335, 375);
    connect(UpDown1, &SpinButton::Change, this, &frmSetupResolution::UpDown1_Change);
    connect(cmdSetup, &QPushButton::clicked, this, &frmSetupResolution::cmdSetup_Click);
}

void frmSetupResolution::UpDown1_Change() {
    Text1->setText(Is600(Text1->text()) ? QStringLiteral("300") : QStringLiteral("600"));
}

// A number the printer's field cannot hold is not sent.
void frmSetupResolution::cmdSetup_Click() {
    const std::optional<int16_t> dpi = LeadingInt16(Text1->text().toStdString());
    if (!dpi || !Module2::WriteResolution(*dpi)) PrinterNotResponding();
}
