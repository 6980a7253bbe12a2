#include "shell/frm_port_setting.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "core/printer_discovery.h"
#include "shell/ui_units.h"

frmPortSetting::frmPortSetting()
    // A fixed tool window: a slim title bar with its close box, nothing to minimise or maximise,
    // so that the caption has the narrow window's width to itself.
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("frmPortSetting");
    setWindowTitle(QStringLiteral("Printer setting"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    FixClientTwips(this, 2865, 1140);

    Label1 = new QLabel(QStringLiteral("Please select printer."), this);
    Label1->setObjectName("Label1");
    PlaceTwips(Label1, 120, 60, 2055, 195);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName("Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setGeometry(TwipsToPx(120), TwipsToPx(300), TwipsToPx(2595),
                        Combo1->sizeHint().height());

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName("Command1");
    Command1->setDefault(true);
    PlaceTwips(Command1, 840, 720, 1095, 315);
    connect(Command1, &QPushButton::clicked, this, &frmPortSetting::Command1_Click);

    setTabOrder(Combo1, Command1);
    Combo1->setFocus();
    Form_Load();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void frmPortSetting::Form_Load() {
    for (int i = 0; i < PrinterCount; ++i) Combo1->addItem(QString::fromStdString(PrinterNames[i]));
    if (PrinterCount > 0) Combo1->setCurrentIndex(0);
}

void frmPortSetting::Command1_Click() {
    SelectedPrinter = static_cast<int16_t>(Combo1->currentIndex());
    accept();
}
