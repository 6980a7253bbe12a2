#include "shell/frm_splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "shell/title_block.h"

frmSplash::frmSplash()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("frmSplash");
    lblProductName = BuildTitleBlock(this, "lblProductName");
    lblVersion = findChild<QLabel*>("lblVersion");
    Form_Load();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void frmSplash::Form_Load() {
    lblVersion->setText(VersionText());
    lblProductName->setText(QStringLiteral("RN-Tools"));
}
