#include "shell/frm_about.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "shell/title_block.h"
#include "shell/ui_units.h"

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("About RN-Tools"));
    lblTitle = BuildTitleBlock(this, "lblTitle");
    lblVersion = findChild<QLabel*>("lblVersion");

    auto* line = new QFrame(this);
    line->setObjectName("Line1");
    line->setFrameShape(QFrame::HLine);
    QPalette linePalette = line->palette();
    linePalette.setColor(QPalette::WindowText, BgrColor(0x00808080));
    line->setPalette(linePalette);
    PlaceTwips(line, 120, 1680, 5070, 15);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    PlaceTwips(cmdOK, 3960, 1770, 1215, 345);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    Form_Load();
    if (owner) move(owner->geometry().center() - rect().center());
}

void frmAbout::Form_Load() {
    lblVersion->setText(VersionText());
    lblTitle->setText(QStringLiteral("RN-Tools"));
}

void frmAbout::cmdOK_Click() {
    accept();
}
