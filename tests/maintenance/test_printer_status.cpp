// The printer status dialog: opened from the Status menu, it reads the status
// word from the emulated printer at each "Get" and shows its text in the
// colour of its group, keeping the old text or colour where the word says
// nothing new.
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <string>

#include "maintenance/frm_printer_status.h"
#include "platform/quillet/quillet_control.h"
#include "shell/frm_main.h"
#include "tests/support/gui_test.h"

namespace {

const char16_t* const Port = u"EMU1:";
const QColor Red(255, 0, 0);

QColor ButtonText() {
    return QApplication::palette().color(QPalette::ButtonText);
}

class PrinterStatusTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        InstallPrinters({{"JM Printer", "EMU1:"}});
        ASSERT_TRUE(StartProgram());
        MainForm->Item("mnuPrinterStatus")->trigger();
        form = qobject_cast<frmPrinterStatus*>(MainForm->mdiArea->activeSubWindow()->widget());
        ASSERT_NE(form, nullptr);
    }

    // The printer answers `code` ("1300", "FU101"; null = a failed exchange),
    // and the user presses "Get".
    void Get(const char* code) {
        if (code == nullptr) {
            quillet_fail_next(1);
        } else {
            quillet_set_status(Port, code);
        }
        QTest::mouseClick(form->cmdGet, Qt::LeftButton);
    }

    QString Text() const { return form->txtPrinterStatus->text(); }
    QColor Colour() const { return form->txtPrinterStatus->palette().color(QPalette::Text); }

    frmPrinterStatus* form = nullptr;
};

TEST_F(PrinterStatusTest, OpensFromTheStatusMenuOnceWithTheDesignControls) {
    EXPECT_TRUE(MainForm->Item("mnuPrinterStatus")->isEnabled());
    EXPECT_EQ(form->objectName(), "frmPrinterStatus");
    EXPECT_TRUE(form->windowTitle().isEmpty());
    EXPECT_EQ(form->size(), QSize(278, 82));
    EXPECT_EQ(form->Label1->text(), "Printer Status:");
    EXPECT_EQ(form->Label1->geometry(), QRect(12, 20, 73, 12));
    EXPECT_LE(QFontMetrics(form->Label1->font()).horizontalAdvance(form->Label1->text()),
              form->Label1->width())
        << "the label's text is not cut";
    EXPECT_EQ(form->txtPrinterStatus->geometry(), QRect(92, 16, 173, 18));
    EXPECT_EQ(form->cmdGet->text(), "Get");
    EXPECT_EQ(form->cmdGet->geometry(), QRect(176, 48, 89, 25));
    EXPECT_TRUE(Text().isEmpty());
    EXPECT_EQ(quillet_received_count(), 0) << "opening reads nothing";

    const Qt::WindowFlags frame = MainForm->mdiArea->activeSubWindow()->windowFlags();
    EXPECT_FALSE(frame & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(frame & Qt::WindowCloseButtonHint);

    MainForm->Item("mnuPrinterStatus")->trigger();
    EXPECT_EQ(MainForm->mdiArea->subWindowList().size(), 1);
    EXPECT_EQ(MainForm->mdiArea->activeSubWindow()->widget(), form);
}

TEST_F(PrinterStatusTest, GetAsksThePrinterForItsStatusOnThePortInUse) {
    const std::string request = std::string("\x1bPSTATUS") + std::string(24, ' ');
    for (int press = 1; press <= 2; ++press) {
        const int before = quillet_received_count();
        Get("0");
        ASSERT_EQ(quillet_received_count(), before + 1) << "one exchange a press, no retry";
        uint32_t control = 0;
        unsigned char bytes[64] = {};
        char16_t port[32] = {};
        const int length = quillet_received(before, &control, bytes, sizeof bytes, port, 32);
        EXPECT_EQ(control, 0x22003Cu);
        ASSERT_EQ(length, static_cast<int>(request.size()));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), length), request);
        EXPECT_EQ(std::u16string(port), std::u16string(Port));
    }
}

TEST_F(PrinterStatusTest, EveryCodeShowsItsTextInItsGroupColour) {
    struct Row {
        const char* code;
        const char* text;
        bool red;
    };
    const Row rows[] = {
        {"0", "Idle", false},
        {"1", "Printing", false},
        {"2", "STANDSTILL", false},
        {"1100", "Paper End", false},
        {"1200", "Ribbon End", false},
        {"500", "Head Cooling Down", false},
        {"510", "Motor Cooling Down", false},
        {"1000", "Cover Open", true},
        {"1300", "Paper Jam", true},
        {"1400", "Ribbon Error", true},
        {"1500", "Paper definition Error", true},
        {"1600", "Data Error", true},
        {"1010", "Scrap Box Error", true},
        {"2000", "Head Voltage Error", true},
        {"2100", "Head Position Error", true},
        {"2200", "Power Supply Fan Stopped", true},
        {"2300", "Cutter Error", true},
        {"2400", "Pinch Roller Position Error", true},
        {"2500", "Illegal Head Temperature", true},
        {"2600", "Illegal Media Temperature", true},
        {"2700", "Ribbon Tention Error", true},
        {"2800", "RFID Module Error", true},
        {"3000", "SYSTEM ERROR", true},
        {"FU1", "Flash Program Idle", false},
        {"FU2", "Flash Program Writing", false},
        {"FU101", "Flash Program Data Error", false},
        {"FU200", "Flash Program Device Error", false},
        {"FU300", "Flash Program Error", false},
    };
    // Alternating colours between rows, so that each row must set its own.
    for (const Row& row : rows) {
        Get(row.red ? "0" : "1300");
        Get(row.code);
        EXPECT_EQ(Text(), row.text) << row.code;
        EXPECT_EQ(Colour(), row.red ? Red : ButtonText()) << row.code;
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
}

TEST_F(PrinterStatusTest, PaperJamInRedThenIdleInTheButtonTextColour) {
    Get("1300");
    EXPECT_EQ(Text(), "Paper Jam");
    EXPECT_EQ(Colour(), Red);
    Get("0");
    EXPECT_EQ(Text(), "Idle");
    EXPECT_EQ(Colour(), ButtonText());
}

TEST_F(PrinterStatusTest, ErrorKeepsTheColourOfWhatWasShownBefore) {
    const QColor opened = Colour();
    Get(nullptr);
    EXPECT_EQ(Text(), "ERROR!");
    EXPECT_EQ(Colour(), opened);

    struct Row {
        const char* before;   // what the printer said first
        const char* failure;  // then: an unknown code, or null for a failed exchange
        QColor colour;
    };
    const Row rows[] = {
        {"1000", nullptr, Red},     {"1000", "4", Red},     {"0", nullptr, ButtonText()},
        {"0", "FU4", ButtonText()}, {"2800", "99999", Red},
    };
    for (const Row& row : rows) {
        Get(row.before);
        Get(row.failure);
        EXPECT_EQ(Text(), "ERROR!") << row.before;
        EXPECT_EQ(Colour(), row.colour) << row.before;
    }
    EXPECT_TRUE(BoxTexts().isEmpty()) << "a failed read shows no message";
}

TEST_F(PrinterStatusTest, AWordWithoutTextRecoloursTheOldText) {
    Get("0");
    Get("2610");  // 0x40200, a device error with no text
    EXPECT_EQ(Text(), "Idle");
    EXPECT_EQ(Colour(), Red);

    Get("1300");
    Get("FU3");  // 0x100004, a firmware-update state with no text
    EXPECT_EQ(Text(), "Paper Jam");
    EXPECT_EQ(Colour(), ButtonText());

    form->txtPrinterStatus->clear();
    Get("2610");
    EXPECT_TRUE(Text().isEmpty());
    EXPECT_EQ(Colour(), Red);
}

// Words the emulated printer cannot produce through the library's table.
TEST_F(PrinterStatusTest, GroupsAreTestedInOrderAndTheSystemGroupHasOneText) {
    struct Row {
        int32_t word;
        const char* text;  // what the box then says, after "Paper Jam" in red
        bool red;
    };
    const Row rows[] = {
        {0x00080001, "SYSTEM ERROR", true}, {0x00080002, "SYSTEM ERROR", true},
        {0x00088000, "SYSTEM ERROR", true}, {0x00080000, "SYSTEM ERROR", true},
        {0x00030001, "Paper Jam", false},  // the state group comes first: no text
        {0x00060001, "Paper Jam", true},   // operator error first, no such word
        {0x000C0001, "Paper Jam", true},   // device error before system error
        {0x00110001, "Paper Jam", false},  // state before firmware update
        {0x00010000, "Paper Jam", false},  // the group alone
        {0x00000001, "Paper Jam", true},   // no group: nothing changes
        {0x00200001, "Paper Jam", true},   // nor above the five groups
        {0x7FE00000, "Paper Jam", true},
    };
    for (const Row& row : rows) {
        Get("1300");
        form->ShowStatus(row.word);
        EXPECT_EQ(Text(), row.text) << std::hex << row.word;
        EXPECT_EQ(Colour(), row.red ? Red : ButtonText()) << std::hex << row.word;
    }
}

}  // namespace
