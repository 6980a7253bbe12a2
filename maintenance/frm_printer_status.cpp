#include "maintenance/frm_printer_status.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <cstring>
#include <initializer_list>

#include "core/parvel_link.h"
#include "core/status_queries.h"
#include "maintenance/status_calls.h"
#include "shell/child_windows.h"
#include "shell/ui_units.h"

namespace {

ChildWindowRegistration registration("mnuPrinterStatus", [] { return new frmPrinterStatus; });

enum class Ink { ButtonText, Red };

struct Condition {
    int32_t word;
    const char* text;
};

// A group of the status word: its bit in the high half, its colour and the
// texts of its words. A word of the group that has no text here leaves the
// text box as it was; `anyWord` gives every word of the group one text.
struct Group {
    int32_t bit;
    Ink ink;
    std::initializer_list<Condition> conditions;
    const char* anyWord = nullptr;
};

// In the order the groups are tested: the first group whose bit is set wins.
const Group Groups[] = {
    {0x10000,
     Ink::ButtonText,
     {{0x10001, "Idle"},
      {0x10002, "Printing"},
      {0x10004, "STANDSTILL"},
      {0x10008, "Paper End"},
      {0x10010, "Ribbon End"},
      {0x10020, "Head Cooling Down"},
      {0x10040, "Motor Cooling Down"}}},
    {0x20000,
     Ink::Red,
     {{0x20001, "Cover Open"},
      {0x20002, "Paper Jam"},
      {0x20004, "Ribbon Error"},
      {0x20008, "Paper definition Error"},
      {0x20010, "Data Error"},
      {0x20020, "Scrap Box Error"}}},
    {0x40000,
     Ink::Red,
     {{0x40001, "Head Voltage Error"},
      {0x40002, "Head Position Error"},
      {0x40004, "Power Supply Fan Stopped"},
      {0x40008, "Cutter Error"},
      {0x40010, "Pinch Roller Position Error"},
      {0x40020, "Illegal Head Temperature"},
      {0x40040, "Illegal Media Temperature"},
      {0x40080, "Ribbon Tention Error"},
      {0x40100, "RFID Module Error"}}},
    {0x80000, Ink::Red, {}, "SYSTEM ERROR"},
    {0x100000,
     Ink::ButtonText,
     {{0x100001, "Flash Program Idle"},
      {0x100002, "Flash Program Writing"},
      {0x100008, "Flash Program Data Error"},
      {0x100010, "Flash Program Device Error"},
      {0x100020, "Flash Program Error"}}},
};

QColor ColourOf(Ink ink) {
    // The button-text colour is the system's, looked up when it is used.
    return ink == Ink::Red ? BgrColor(0x000000FF)
                           : QApplication::palette().color(QPalette::ButtonText);
}

int32_t ReadStatusWord() {
    return CallOrFailure([] { return Parvel::JmGetStatus(PortHandle); }, Parvel::StatusUnknown);
}

}  // namespace

frmPrinterStatus::frmPrinterStatus() : FixedDialog("frmPrinterStatus", 4170, 1230) {
    Label1 = AddLabel("Label1", QStringLiteral("Printer Status:"), 180, 300, 1095, 180);

    txtPrinterStatus = new QLineEdit(this);
    txtPrinterStatus->setObjectName("txtPrinterStatus");
    PlaceTwips(txtPrinterStatus, 1380, 240, 2595, 270);
    QString longest;
    for (const Group& group : Groups) {
        for (const Condition& condition : group.conditions) {
            if (std::strlen(condition.text) > static_cast<std::size_t>(longest.size()))
                longest = QString::fromLatin1(condition.text);
        }
    }
    ShowWhole(txtPrinterStatus, longest);

    cmdGet = new QPushButton(QStringLiteral("Get"), this);
    cmdGet->setObjectName("cmdGet");
    PlaceTwips(cmdGet, 2640, 720, 1335, 375);
    connect(cmdGet, &QPushButton::clicked, this, &frmPrinterStatus::cmdGet_Click);
}

void frmPrinterStatus::cmdGet_Click() {
    ShowStatus(ReadStatusWord());
}

void frmPrinterStatus::ShowStatus(int32_t word) {
    if (word == Parvel::StatusUnknown) {
        txtPrinterStatus->setText(QStringLiteral("ERROR!"));  // in the colour it had
        return;
    }
    for (const Group& group : Groups) {
        if ((word & group.bit) == 0) continue;
        QPalette palette = txtPrinterStatus->palette();
        palette.setColor(QPalette::Text, ColourOf(group.ink));
        txtPrinterStatus->setPalette(palette);
        if (group.anyWord != nullptr) {
            txtPrinterStatus->setText(QString::fromLatin1(group.anyWord));
        }
        for (const Condition& condition : group.conditions) {
            if (condition.word == word)
                txtPrinterStatus->setText(QString::fromLatin1(condition.text));
        }
        return;
    }
    // A word of no known group changes nothing.
}
