// The dialogs that read from the printer: print-sheet counters and their
// clearing, the ribbon, the firmware version, the colour data's version and
// checksum, and the serial number.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "maintenance/frm_print_sheets_counter.h"
#include "maintenance/frm_ribbon_status.h"
#include "maintenance/text_dialogs.h"
#include "tests/maintenance/maintenance_fixture.h"

namespace {

using namespace std::string_literals;

class CounterTest : public MaintenanceTest {
protected:
    void SetUp() override {
        MaintenanceTest::SetUp();
        form = Open<frmPrintSheetsCounter>("mnuOptionPrintSheetsCounter");
        Set("counter_life", "12846");
        Set("counter_a", "1523");
        Set("counter_b", "87");
    }
    QStringList Shown() const {
        return {form->labCounterL->text(), form->labCounterA->text(), form->labCounterB->text()};
    }
    frmPrintSheetsCounter* form = nullptr;
};

TEST_F(CounterTest, GetShowsTheThreeCountersAndAFailedReadAsMinusOne) {
    EXPECT_EQ(Shown(), QStringList({"", "", ""})) << "opening reads nothing";
    QTest::mouseClick(form->cmdGet, Qt::LeftButton);
    EXPECT_EQ(Shown(), QStringList({"12846", "1523", "87"}));

    // The exchanges fail in the order of the reads: life, A, B.
    struct Row {
        int failing;
        QStringList shown;
    };
    const Row rows[] = {
        {1, {"-1", "1523", "87"}}, {3, {"-1", "-1", "-1"}}, {0, {"12846", "1523", "87"}}};
    for (const Row& row : rows) {
        quillet_fail_next(row.failing);
        QTest::mouseClick(form->cmdGet, Qt::LeftButton);
        EXPECT_EQ(Shown(), row.shown) << row.failing;
    }
    EXPECT_TRUE(BoxTexts().isEmpty()) << "the counters never show a message";
}

TEST_F(CounterTest, ClearSendsTheClearAndShowsTheFreshCount) {
    QTest::mouseClick(form->cmdGet, Qt::LeftButton);
    struct Row {
        QPushButton* button;
        const char* key;
        std::string data;
        QStringList shown;
    };
    const Row rows[] = {
        {form->cmdClearA, "counter_a", "CA\r\0"s, {"12846", "0", "87"}},
        {form->cmdClearB, "counter_b", "CB\r\0"s, {"12846", "0", "0"}},
    };
    for (const Row& row : rows) {
        const int before = BlockCount();
        QTest::mouseClick(row.button, Qt::LeftButton);
        ASSERT_EQ(BlockCount(), before + 2) << "the clear, then the fresh read";
        EXPECT_EQ(BlockAt(before), Write("COUNTER_CLEAR", row.data));
        EXPECT_EQ(Setting(row.key), "0");
        EXPECT_EQ(Shown(), row.shown);
    }
}

TEST_F(CounterTest, AClearThePrinterRefusesChangesNothing) {
    QTest::mouseClick(form->cmdGet, Qt::LeftButton);
    Set("counter_a", "2000");  // printed meanwhile
    const int before = quillet_received_count();
    quillet_fail_next(1);
    QTest::mouseClick(form->cmdClearA, Qt::LeftButton);
    EXPECT_EQ(quillet_received_count(), before + 1) << "no read follows a refused clear";
    EXPECT_EQ(Shown(), QStringList({"12846", "1523", "87"}));
    EXPECT_EQ(Setting("counter_a"), "2000");
    EXPECT_TRUE(BoxTexts().isEmpty());
}

class RibbonTest : public MaintenanceTest {
protected:
    void SetUp() override {
        MaintenanceTest::SetUp();
        form = Open<frmRibbonStatus>("mnuRibbonStatus");
    }
    void Get() { QTest::mouseClick(form->cmdGet, Qt::LeftButton); }
    QStringList Offsets() const {
        return {form->txtOffsetYellow->text(), form->txtOffsetMagenta->text(),
                form->txtOffsetCyan->text(), form->txtOffsetOP->text()};
    }
    frmRibbonStatus* form = nullptr;
};

TEST_F(RibbonTest, TheCounterShowsFiftyLessThanThePrinterCounts) {
    const struct {
        const char* count;
        const char* shown;
    } rows[] = {{"50", "0"}, {"250", "200"}, {"0", "-50"}, {"2147483647", "2147483597"}};
    for (const auto& row : rows) {
        Set("media_counter", row.count);
        Get();
        EXPECT_EQ(form->txtRibbonCounter->text(), row.shown) << row.count;
    }
}

TEST_F(RibbonTest, AFailedReadShowsWhatMinusOneDecodesTo) {
    Set("media_lot", "LOT-BEFORE");
    Get();
    quillet_fail_next(3);
    Get();
    EXPECT_EQ(form->txtRibbonCounter->text(), "-51");
    EXPECT_EQ(form->txtRibbonLotNo->text(), "LOT-BEFORE") << "a failed lot read keeps the box";
    EXPECT_EQ(Offsets(), QStringList({"-10", "-10", "-10", "245"}));
    EXPECT_TRUE(BoxTexts().isEmpty()) << "the ribbon dialog never shows a message";
}

TEST_F(RibbonTest, TheOffsetBytesShowTenLessHighToLow) {
    const struct {
        const char* bytes;  // yellow, magenta, cyan, overcoat as the printer holds them
        QStringList shown;
    } rows[] = {
        {"10,12,8,10", {"0", "2", "-2", "0"}},
        {"0,0,0,0", {"-10", "-10", "-10", "-10"}},
        {"20,30,40,50", {"10", "20", "30", "40"}},
        // A byte of 0x80 or more counts negative in the packed value, which
        // borrows from the bytes above it; the quotients truncate toward zero.
        {"127,255,255,255", {"116", "244", "244", "245"}},
        {"0,0,0,246", {"-10", "-10", "-10", "236"}},
        {"0,0,246,10", {"-10", "-10", "237", "0"}},
        {"246,10,10,10", {"237", "1", "1", "0"}},
    };
    for (const auto& row : rows) {
        Set("colour_offset", row.bytes);
        Get();
        EXPECT_EQ(Offsets(), row.shown) << row.bytes;
    }
}

TEST_F(RibbonTest, TheLotIsTheTextAfterMLUpToItsEndAndAtMostSixteen) {
    const struct {
        std::string reply;
        const char* shown;
    } rows[] = {
        {"ML0123456789ABCDEFGH\r", "0123456789ABCDEF"},
        // Shorter after longer: neither the CR nor the older lot shows.
        {"ML12\r", "12"},
        {"ML0123456789ABCDEF\r", "0123456789ABCDEF"},
        {"ML7\0XYZ\r"s, "7"},
        {"ML\r", ""},
        {"XX1234\r", ""},  // not a lot: the box keeps what it had
        {"", ""},
        {"MX99\r", ""},
    };
    for (const auto& row : rows) {
        form->txtRibbonLotNo->setText(QString());
        Reply("INFO", "MLOT", row.reply);
        Get();
        EXPECT_EQ(form->txtRibbonLotNo->text(), row.shown) << row.reply;
    }
    form->txtRibbonLotNo->setText("KEPT");
    Reply("INFO", "MLOT", "XX1234\r");
    Get();
    EXPECT_EQ(form->txtRibbonLotNo->text(), "KEPT");
}

class TextDialogTest : public MaintenanceTest {
protected:
    TextDialog* OpenText(const char* menuItem) {
        form = Open<TextDialog>(menuItem);
        return form;
    }
    void Get() { QTest::mouseClick(form->getButton, Qt::LeftButton); }
    QString Box(int i) const { return form->boxes[i]->text(); }
    TextDialog* form = nullptr;
};

TEST_F(TextDialogTest, TheRomVersionLeavesOffTheReplysLastTwoCharacters) {
    OpenText("mnuROMVersion");
    Set("firmware", "EMU V1.20.07");
    Get();
    EXPECT_EQ(Box(0), "EMU V1.20.07");
    const struct {
        std::string reply;
        const char* shown;
    } rows[] = {{"ABCD\r\n", "ABCD"}, {"ABCD", "AB"}, {"AB", ""}, {"X", ""}};
    for (const auto& row : rows) {
        Reply("INFO", "FVER", row.reply);
        Get();
        EXPECT_EQ(Box(0), row.shown) << row.reply;
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
}

// Every text dialog: a printer that does not answer, or answers nothing,
// says so once and leaves the boxes as they were.
struct FailingRead {
    const char* menuItem;
    const char* command;  // the request whose empty reply is a failure too
    const char* parameter;
};

void PrintTo(const FailingRead& read, std::ostream* out) {
    *out << read.menuItem;
}

class FailedTextReadTest : public TextDialogTest,
                           public ::testing::WithParamInterface<FailingRead> {};

TEST_P(FailedTextReadTest, SaysSoAndKeepsTheBoxes) {
    OpenText(GetParam().menuItem);
    for (QLineEdit* box : form->boxes) box->setText("before");
    for (bool emptyReply : {false, true}) {
        if (emptyReply) {
            Reply(GetParam().command, GetParam().parameter, "");
        } else {
            quillet_fail_next(1);
        }
        AnswerBox(vbOK);
        Get();
        EXPECT_EQ(BoxTexts().size(), emptyReply ? 2u : 1u);
        for (QLineEdit* box : form->boxes) EXPECT_EQ(box->text(), "before");
    }
    EXPECT_EQ(BoxTexts(), QStringList({"Printer not responding", "Printer not responding"}));
    EXPECT_EQ(Boxes().back().buttons, vbOKOnly);
    EXPECT_EQ(Boxes().back().title, "RN-Tools");
}

INSTANTIATE_TEST_SUITE_P(EveryTextDialog, FailedTextReadTest,
                         ::testing::Values(FailingRead{"mnuROMVersion", "INFO", "FVER"},
                                           FailingRead{"mnuVersionChk", "TBL_RD", "Version"},
                                           FailingRead{"mnuPrinterSerial", "INFO", "SERIAL_NUMBER"},
                                           FailingRead{"mnuOptionSetupPSerial", "INFO",
                                                       "SERIAL_NUMBER"}),
                         [](const auto& info) { return std::string(info.param.menuItem); });

TEST_F(TextDialogTest, TheChecksumDialogShowsVersionThenChecksum) {
    OpenText("mnuVersionChk");
    Set("version", "KTD-2024-RELEASE");
    Get();
    EXPECT_EQ(Box(0), "KTD-2024-RELEASE");
    EXPECT_EQ(Box(1).toStdString(), Setting("checksum"));

    // The version read but not the checksum: the version shows, the checksum stays.
    Set("version", "KTD-NEXT");
    form->boxes[1]->setText("before");
    Reply("MNT_RD", "CTRLD_CHKSUM", "");
    AnswerBox(vbOK);
    Get();
    EXPECT_EQ(Box(0), "KTD-NEXT");
    EXPECT_EQ(Box(1), "before");
    EXPECT_EQ(BoxTexts(), QStringList({"Printer not responding"}));
}

TEST_F(TextDialogTest, BothSerialDialogsReadTheSerialNumber) {
    Set("serial", "RN12-0004711");
    for (const char* item : {"mnuPrinterSerial", "mnuOptionSetupPSerial"}) {
        OpenText(item);
        Get();
        EXPECT_EQ(Box(0), "RN12-0004711") << item;
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
}

}  // namespace
