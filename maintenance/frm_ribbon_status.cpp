#include "maintenance/frm_ribbon_status.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <cstring>

#include "core/status_queries.h"
#include "maintenance/status_calls.h"
#include "shell/child_windows.h"
#include "shell/ui_units.h"

namespace {

// The lot number: characters 3 to 18 of the library's 20.
constexpr int kLotNoLength = 16;

ChildWindowRegistration registration("mnuRibbonStatus", [] { return new frmRibbonStatus; });

// The printer counts 50 prints more than the ribbon holds.
constexpr int32_t CounterBias = 50;
// Each colour offset travels as a byte 10 above its value.
constexpr int32_t OffsetBias = 10;

}  // namespace

frmRibbonStatus::frmRibbonStatus() : FixedDialog("frmRibbonStatus", 3885, 3555) {
    setWindowTitle(QStringLiteral("Ribbon Status"));
    Label1 = AddLabel("Label1", QStringLiteral("Ribbon Counter:"), 180, 300, 1215, 180);
    txtRibbonCounter = AddTextBox("txtRibbonCounter", 1500, 240, 855, 270, Widest::Long);
    Label2 = AddLabel("Label2", QStringLiteral("Ribbon Lot No:"), 270, 720, 1125, 180);
    txtRibbonLotNo =
        AddTextBox("txtRibbonLotNo", 1500, 660, 2235, 270, QString(kLotNoLength, QLatin1Char('0')));

    Frame1 = AddFrame("Frame1", QStringLiteral("Offset"), 120, 1140, 2175, 2235);

    // Label and box of each offset inside the frame: label left, then both tops.
    struct Row {
        const char* label;
        const char* text;
        double labelLeft;
        double top;
        const char* box;
        QLabel** labelMember;
        QLineEdit** boxMember;
    };
    const Row rows[] = {
        {"Label3", "Yellowr:", 180, 420, "txtOffsetYellow", &Label3, &txtOffsetYellow},
        {"Label4", "Magenta:", 90, 820, "txtOffsetMagenta", &Label4, &txtOffsetMagenta},
        {"Label5", "Cyan:", 345, 1220, "txtOffsetCyan", &Label5, &txtOffsetCyan},
        {"Label6", "OP:", 510, 1620, "txtOffsetOP", &Label6, &txtOffsetOP},
    };
    for (const Row& row : rows) {
        *row.labelMember = AddAutoLabel(row.label, QString::fromLatin1(row.text), row.labelLeft,
                                        row.top + 60, RoomBefore(900, row.labelLeft), Frame1);
        *row.boxMember = AddTextBox(row.box, 900, row.top, 795, 270, QStringLiteral("245"), Frame1);
    }

    cmdGet = AddButton("cmdGet", QStringLiteral("Get"), 2400, 3000, 1335, 375);
    connect(cmdGet, &QPushButton::clicked, this, &frmRibbonStatus::cmdGet_Click);
}

void frmRibbonStatus::cmdGet_Click() {
    const int32_t count = CallOrFailure([] { return Parvel::JmGetMediaCounter(PortHandle); });
    txtRibbonCounter->setText(QString::number(static_cast<int64_t>(count) - CounterBias));
    ShowLotNumber();
    ShowOffsets(CallOrFailure([] { return Parvel::JmGetMediaColorOffset(PortHandle); }));
}

// The reply is "ML" and the lot; the library counts it as 20 characters
// whatever its length, so the lot is at most the 16 characters after "ML".
// The buffer starts empty and the lot ends at its CR, so that a short lot
// shows neither its terminator nor what an earlier reply left behind. A
// reply that is not a lot leaves the box as it was.
void frmRibbonStatus::ShowLotNumber() {
    std::array<char, Parvel::TextCapacity + 1> buffer{};
    const int32_t n =
        CallOrFailure([&buffer] { return Parvel::JmGetMediaLotNo(PortHandle, buffer.data()); });
    if (n <= 1 || std::strncmp(buffer.data(), "ML", 2) != 0) return;
    const std::size_t longest = static_cast<std::size_t>(std::max(n - 4, 0));
    const char* lot = buffer.data() + 2;
    std::size_t length = 0;
    while (length < longest && lot[length] != '\0' && lot[length] != '\r') ++length;
    txtRibbonLotNo->setText(QString::fromLatin1(lot, static_cast<qsizetype>(length)));
}

// Four bytes packed high to low: yellow, magenta, cyan, overcoat. The
// quotients truncate toward zero, so a failed read (-1) shows -10 for the
// first three and 245 for the overcoat.
void frmRibbonStatus::ShowOffsets(int32_t packed) {
    const int32_t bytes[] = {(packed / 16777216) & 0xFF, (packed / 65536) & 0xFF,
                             (packed / 256) & 0xFF, packed & 0xFF};
    QLineEdit* const boxes[] = {txtOffsetYellow, txtOffsetMagenta, txtOffsetCyan, txtOffsetOP};
    for (int i = 0; i < 4; ++i) boxes[i]->setText(QString::number(bytes[i] - OffsetBias));
}
