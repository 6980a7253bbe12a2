#include "maintenance/text_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "core/bulk_transfers.h"
#include "core/command_blocks.h"
#include "core/maintenance_commands.h"
#include "core/status_queries.h"
#include "maintenance/status_calls.h"
#include "shell/child_windows.h"
#include "shell/msgbox.h"

namespace {

// The library counts the version reply one short, and the reply ends with
// CR LF: the text is the count less one. A one-character reply is no text.
std::optional<std::string> FirmwareVersion() {
    std::array<char, Parvel::TextCapacity + 1> buffer{};
    const int32_t n =
        CallOrFailure([&buffer] { return Parvel::JmGetVersion(PortHandle, buffer.data()); });
    if (n < 0) return std::nullopt;
    const std::string text(buffer.data());
    return Module2::FromAnsi(text.substr(0, static_cast<std::size_t>(n > 0 ? n - 1 : 0)));
}

// The printer's serial field: 32 bytes that end with CR and NUL.
constexpr int kSerialLength = 30;

// The command layer's readers give "" for a printer that did not answer.
std::function<std::optional<std::string>()> TextOf(std::string (*read)()) {
    return [read]() -> std::optional<std::string> {
        std::string text = read();
        if (text.empty()) return std::nullopt;
        return text;
    };
}

const std::array<TextDialogVariant, 4> Variants = {{
    {"frmROMVersion",
     "mnuROMVersion",
     "ROM Version",
     5460,
     1215,
     {{"Label1",
       "ROM Version:",
       180,
       300,
       "txtROMVersion",
       {1380, 240, 3975, 270},
       FirmwareVersion,
       0}},
     "cmdGet",
     {4020, 720, 1335, 375}},
    {"frmChecksum",
     "mnuVersionChk",
     "KTD Checksum",
     4935,
     1995,
     {{"Label1",
       "KTD Version",
       120,
       240,
       "Text1",
       {1560, 240, 2895, 375},
       TextOf(Module2::ReadVersion),
       Module2::VersionPayload},
      {"Label2",
       "KTD Checksum",
       120,
       840,
       "Text2",
       {1560, 840, 2895, 375},
       TextOf(Module2::ReadChecksum),
       8}},
     "Command1",
     {3360, 1320, 975, 495}},
    {"frmPrinterSerial",
     "mnuPrinterSerial",
     "Printer Serial No",
     5505,
     1515,
     {{"Label1",
       "Get Printer Serial No",
       240,
       240,
       "Text1",
       {2160, 120, 3135, 375},
       TextOf(Module2::ReadSerialNumber),
       kSerialLength}},
     "Command1",
     {4320, 720, 975, 375}},
    {"frmSetupSerialNo",
     "mnuOptionSetupPSerial",
     "Printer Set Serial No",
     5505,
     1725,
     {{"Label1",
       "Printer Serial No",
       120,
       240,
       "Text1",
       {2040, 120, 3135, 375},
       TextOf(Module2::ReadSerialNumber),
       kSerialLength}},
     "Command2",
     {4200, 600, 975, 375},
     "Command1",
     {4200, 1080, 975, 375},
     Module2::WritePrinterId},
}};

const bool registered = [] {
    for (const TextDialogVariant& v : Variants) {
        ChildWindowRegistration(v.menuItem, [&v]() -> QWidget* { return new TextDialog(v); });
    }
    return true;
}();

}  // namespace

TextDialog::TextDialog(const TextDialogVariant& variant)
    : FixedDialog(variant.window, variant.clientWidth, variant.clientHeight), variant_(variant) {
    setWindowTitle(QString::fromLatin1(variant.title));
    for (const TextField& field : variant.fields) {
        const Twips& at = field.boxPlace;
        labels << AddAutoLabel(field.label, QString::fromLatin1(field.labelText), field.labelLeft,
                               field.labelTop, RoomBefore(at.left, field.labelLeft));
        boxes << AddTextBox(field.box, at.left, at.top, at.width, at.height,
                            QString(field.length, QLatin1Char('0')));
    }
    const Twips& get = variant.getPlace;
    getButton = AddButton(variant.getButton, QStringLiteral("Get"), get.left, get.top, get.width,
                          get.height);
    connect(getButton, &QPushButton::clicked, this, &TextDialog::Get_Click);
    if (variant.setupButton != nullptr) {
        const Twips& at = variant.setupPlace;
        setupButton = AddButton(variant.setupButton, QStringLiteral("Setup"), at.left, at.top,
                                at.width, at.height);
        connect(setupButton, &QPushButton::clicked, this, &TextDialog::Setup_Click);
    }
}

void TextDialog::Get_Click() {
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        const std::optional<std::string> text = variant_.fields[i].read();
        if (!text) {
            PrinterNotResponding();
            return;
        }
        boxes[i]->setText(QString::fromStdString(*text));
    }
}

void TextDialog::Setup_Click() {
    const QString text = boxes.front()->text();
    if (text.isEmpty()) return;
    if (!variant_.write(text.toStdString())) PrinterNotResponding();
}
