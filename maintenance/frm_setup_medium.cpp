#include "maintenance/frm_setup_medium.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <string_view>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/status_queries.h"
#include "maintenance/status_calls.h"
#include "shell/child_windows.h"
#include "shell/msgbox.h"
#include "shell/ui_units.h"

namespace {

ChildWindowRegistration registration("mnuOptionSetupMedium", [] { return new frmSetupMedium; });

struct Medium {
    const char* item;
    int32_t code;
};

// In list order; the last item stands for every code the list does not hold.
constexpr std::array<Medium, 8> Media = {{{"5x3.5", 200},
                                          {"6x4", 301},
                                          {"5x7", 210},
                                          {"6x8", 310},
                                          {"6x9", 400},
                                          {"8x10", 500},
                                          {"8x12", 510},
                                          {"Nothing", 0}}};

// The library hands over the reply after its "MT" and counts the whole reply
// less one: the code is the number of that many characters less one, which
// is the whole text handed over. A reply too short to hold a code reads as
// code 0, and a number no code can be matches no item.
int IndexOfReply(const char* text, int32_t n) {
    const std::string_view reply(text);
    const std::size_t count = n > 1 ? static_cast<std::size_t>(n - 1) : 0;
    int32_t code = 0;
    try {
        code = ToInt32(LeadingNumber(reply.substr(0, count)));
    } catch (const NumberOverflow&) {
        return static_cast<int>(Media.size()) - 1;
    }
    for (std::size_t i = 0; i < Media.size(); ++i) {
        if (Media[i].code == code) return static_cast<int>(i);
    }
    return static_cast<int>(Media.size()) - 1;
}

}  // namespace

frmSetupMedium::frmSetupMedium() : FixedDialog("frmSetupMedium", 3240, 1875) {
    setWindowTitle(QStringLiteral("Setup media"));
    Label1 = AddAutoLabel("Label1", QStringLiteral("Media:"), 660, 420, RoomBefore(1440, 660));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName("Combo1");
    PlaceTwips(Combo1, 1440, 360, 1095, 300);
    for (const Medium& medium : Media) Combo1->addItem(QString::fromLatin1(medium.item));
    Combo1->setCurrentIndex(-1);
    cmdGet = AddButton("cmdGet", QStringLiteral("Get"), 1860, 1020, 1335, 375);
    connect(cmdGet, &QPushButton::clicked, this, &frmSetupMedium::cmdGet_Click);
}

void frmSetupMedium::Form_Activate() {
    cmdGet->setFocus();
}

void frmSetupMedium::cmdGet_Click() {
    std::array<char, Parvel::TextCapacity + 1> buffer{};
    const int32_t n =
        CallOrFailure([&buffer] { return Parvel::JmGetMedia(PortHandle, buffer.data()); });
    if (n < 0) {
        PrinterNotResponding();
        return;
    }
    Combo1->setCurrentIndex(IndexOfReply(buffer.data(), n));
}
