// The dialogs that read a printer setting and write it back: media, head
// rank, heat rank, resolution and serial number.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "maintenance/frm_setup_medium.h"
#include "maintenance/frm_setup_resolution.h"
#include "maintenance/rank_dialogs.h"
#include "maintenance/text_dialogs.h"
#include "shell/spin_button.h"
#include "tests/maintenance/maintenance_fixture.h"

namespace {

using namespace std::string_literals;

// The user clicks into the box, types and clicks the button: leaving the box
// runs before the click.
void TypeThenClick(QWidget* entry, const QString& text, QPushButton* button) {
    QTest::mouseClick(entry, Qt::LeftButton);
    EXPECT_TRUE(entry->hasFocus());
    QTest::keyClick(entry, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(entry, Qt::Key_Delete);
    QTest::keyClicks(entry, text);
    QTest::mouseClick(button, Qt::LeftButton);
}

class MediumTest : public MaintenanceTest {
protected:
    void SetUp() override {
        MaintenanceTest::SetUp();
        form = Open<frmSetupMedium>("mnuOptionSetupMedium");
    }
    void Get() { QTest::mouseClick(form->cmdGet, Qt::LeftButton); }
    frmSetupMedium* form = nullptr;
};

TEST_F(MediumTest, TheListHoldsTheMediaAndGetSelectsTheOneThePrinterHolds) {
    QStringList items;
    for (int i = 0; i < form->Combo1->count(); ++i) items << form->Combo1->itemText(i);
    EXPECT_EQ(items, QStringList({"5x3.5", "6x4", "5x7", "6x8", "6x9", "8x10", "8x12", "Nothing"}));
    EXPECT_FALSE(form->Combo1->isEditable());
    const struct {
        const char* code;
        const char* item;
    } rows[] = {{"200", "5x3.5"},   {"301", "6x4"},     {"210", "5x7"},      {"310", "6x8"},
                {"400", "6x9"},     {"500", "8x10"},    {"510", "8x12"},     {"0", "Nothing"},
                {"999", "Nothing"}, {"300", "Nothing"}, {"99999", "Nothing"}};
    for (const auto& row : rows) {
        form->Combo1->setCurrentIndex(1);
        Set("media", row.code);
        Get();
        EXPECT_EQ(form->Combo1->currentText(), row.item) << row.code;
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
}

TEST_F(MediumTest, TheCodeIsReadUpToTheReplysEnd) {
    const struct {
        std::string reply;
        const char* item;
    } rows[] = {
        {"MT00310\r", "6x8"},  {"MT00310", "6x8"},
        {"MT310\r", "6x8"},    {"MT 200\r", "5x3.5"},
        {"MT", "Nothing"},     {"M", "Nothing"},
        {"MT-0\r", "Nothing"}, {"MT99999999999\r", "Nothing"},
        {"MT500.4\r", "8x10"}, {"MTabc\r", "Nothing"},
    };
    for (const auto& row : rows) {
        form->Combo1->setCurrentIndex(1);
        Reply("INFO", "MEDIA", row.reply);
        Get();
        EXPECT_EQ(form->Combo1->currentText(), row.item) << row.reply;
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
}

TEST_F(MediumTest, AFailedReadSaysSoAndKeepsTheSelection) {
    Get();
    ASSERT_EQ(form->Combo1->currentText(), "6x4");
    for (bool emptyReply : {false, true}) {
        if (emptyReply) {
            Reply("INFO", "MEDIA", "");
        } else {
            quillet_fail_next(1);
        }
        AnswerBox(vbOK);
        Get();
        EXPECT_EQ(form->Combo1->currentText(), "6x4");
    }
    EXPECT_EQ(BoxTexts(), QStringList({"Printer not responding", "Printer not responding"}));
}

class HeadRankTest : public MaintenanceTest {
protected:
    void SetUp() override {
        MaintenanceTest::SetUp();
        form = Open<RankDialog>("mnuOptionSetupHeadRank");
        ASSERT_NE(form->Text1, nullptr);
    }
    RankDialog* form = nullptr;
};

TEST_F(HeadRankTest, LeavingTheBoxKeepsTheRankInRangeAndSetupSendsIt) {
    const struct {
        const char* typed;
        const char* shown;
        std::string sent;
    } rows[] = {
        {"5000", "4400", "HR4400\r\0"s},       {"100", "3600", "HR3600\r\0"s},
        {"4000", "4000", "HR4000\r\0"s},       {"3600", "3600", "HR3600\r\0"s},
        {"4400", "4400", "HR4400\r\0"s},       {"4400.4", "4400", "HR4400\r\0"s},
        {"4400.6", "4400", "HR4400\r\0"s},     {"3999.5", "3999.5", "HR4000\r\0"s},
        {"4000abc", "4000abc", "HR4000\r\0"s}, {"", "3600", "HR3600\r\0"s},
        {"x", "3600", "HR3600\r\0"s},  // leaving the box gave it a number
        {"-99999", "3600", "HR3600\r\0"s},     {"1e9", "4400", "HR4400\r\0"s},
    };
    for (const auto& row : rows) {
        TypeThenClick(form->Text1, row.typed, form->cmdSetup);
        EXPECT_EQ(form->Text1->text(), row.shown) << row.typed;
        EXPECT_EQ(LastBlock(), Write("HEAD_RANK", row.sent)) << row.typed;
    }
    EXPECT_EQ(Setting("head_rank"), "4400");
    EXPECT_TRUE(BoxTexts().isEmpty());
}

TEST_F(HeadRankTest, SetupOnABoxNeverLeftKeepsTheRangeOrSendsNothing) {
    EXPECT_TRUE(form->Text1->text().isEmpty()) << "the box is empty at opening";
    const int before = quillet_received_count();
    QTest::mouseClick(form->cmdSetup, Qt::LeftButton);
    EXPECT_EQ(quillet_received_count(), before) << "an empty box sends nothing";
    EXPECT_EQ(Setting("head_rank"), "4120");

    // Text put in without the box ever having the focus.
    const struct {
        const char* text;
        const char* shown;
        std::string sent;  // empty: nothing
    } rows[] = {{"5000", "4400", "HR4400\r\0"s},
                {"0", "3600", "HR3600\r\0"s},
                {"4100", "4100", "HR4100\r\0"s},
                {"abc", "abc", ""},
                {"  ", "  ", ""}};
    for (const auto& row : rows) {
        form->Text1->setText(row.text);
        const int count = quillet_received_count();
        QTest::mouseClick(form->cmdSetup, Qt::LeftButton);
        EXPECT_EQ(form->Text1->text(), row.shown) << row.text;
        if (row.sent.empty()) {
            EXPECT_EQ(quillet_received_count(), count) << row.text;
        } else {
            EXPECT_EQ(LastBlock(), Write("HEAD_RANK", row.sent)) << row.text;
        }
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
}

TEST_F(HeadRankTest, GetShowsTheRankAfterHR) {
    const struct {
        std::string reply;
        const char* shown;
    } rows[] = {{"HR4120\r", "4120"}, {"HR3600", "3600"}, {"HR41205\r", "4120"},
                {"HR 412\r", "412"},  {"HRabcd\r", "0"},  {"HR9999\r", "9999"}};
    for (const auto& row : rows) {
        Reply("MNT_RD", "HEAD_RANK", row.reply);
        QTest::mouseClick(form->cmdGet, Qt::LeftButton);
        EXPECT_EQ(form->Text1->text(), row.shown) << row.reply;
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
}

// Both rank dialogs: a reply without the prefix, an empty one, a failed
// exchange and a refused write each say so and change nothing.
TEST_F(MaintenanceTest, RankFailuresSaySoAndChangeNothing) {
    const struct {
        const char* menuItem;
        const char* parameter;
        const char* wrongReply;
    } rows[] = {{"mnuOptionSetupHeadRank", "HEAD_RANK", "HS4120\r"},
                {"mnuOptionSetupHeatRank", "HEAT_SETTING", "HR012\r"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.menuItem);
        auto* form = Open<RankDialog>(row.menuItem);
        auto text = [&] { return form->Text1 ? form->Text1->text() : form->Combo1->currentText(); };
        QTest::mouseClick(form->cmdGet, Qt::LeftButton);
        const QString shown = text();
        const qsizetype boxes = BoxTexts().size();
        for (const std::string& reply : {std::string(row.wrongReply), std::string()}) {
            Reply("MNT_RD", row.parameter, reply);
            AnswerBox(vbOK);
            QTest::mouseClick(form->cmdGet, Qt::LeftButton);
            EXPECT_EQ(text(), shown);
        }
        quillet_set_reply(nullptr, "MNT_RD", row.parameter, nullptr, 0);
        quillet_fail_next(1);
        AnswerBox(vbOK);
        QTest::mouseClick(form->cmdGet, Qt::LeftButton);
        EXPECT_EQ(text(), shown);
        quillet_fail_next(1);
        AnswerBox(vbOK);
        QTest::mouseClick(form->cmdSetup, Qt::LeftButton);
        EXPECT_EQ(text(), shown);
        EXPECT_EQ(BoxTexts().mid(boxes), QStringList(4, "Printer not responding"));
        MainForm->mdiArea->closeAllSubWindows();
    }
}

class HeatRankTest : public MaintenanceTest {
protected:
    void SetUp() override {
        MaintenanceTest::SetUp();
        form = Open<RankDialog>("mnuOptionSetupHeatRank");
        ASSERT_NE(form->Combo1, nullptr);
    }
    RankDialog* form = nullptr;
};

TEST_F(HeatRankTest, TheListRunsFromTenDownToMinusTenWithZeroSelected) {
    QStringList items;
    for (int i = 0; i < form->Combo1->count(); ++i) items << form->Combo1->itemText(i);
    QStringList expected;
    for (int rank = 10; rank >= -10; --rank) expected << QString::number(rank);
    EXPECT_EQ(items, expected);
    EXPECT_TRUE(form->Combo1->isEditable());
    EXPECT_EQ(form->Combo1->currentIndex(), 10);
    EXPECT_EQ(form->Combo1->currentText(), "0");
    QTest::mouseClick(form->cmdSetup, Qt::LeftButton);
    EXPECT_EQ(LastBlock(), Write("HEAT_SETTING", "HS010\r\0\0"s)) << "rank 0 is setting 10";
}

TEST_F(HeatRankTest, GetShowsTheSettingLessTenAndAnOutOfRangeOneAsTen) {
    const struct {
        std::string reply;
        const char* shown;
    } rows[] = {{"HS000\r", "-10"}, {"HS020\r", "10"}, {"HS025\r", "10"}, {"HS012\r", "2"},
                {"HS007\r", "-3"},  {"HS-05\r", "10"}, {"HS010", "0"},    {"HS999\r", "10"},
                {"HS\r", "-10"},    {"HS1\r", "-9"}};
    for (const auto& row : rows) {
        form->Combo1->setCurrentIndex(5);
        Reply("MNT_RD", "HEAT_SETTING", row.reply);
        QTest::mouseClick(form->cmdGet, Qt::LeftButton);
        EXPECT_EQ(form->Combo1->currentText(), row.shown) << row.reply;
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
}

TEST_F(HeatRankTest, SetupSendsTheRankPlusTenAndLeavingKeepsItInRange) {
    form->Combo1->setCurrentIndex(13);  // "-3"
    QTest::mouseClick(form->cmdSetup, Qt::LeftButton);
    EXPECT_EQ(LastBlock(), Write("HEAT_SETTING", "HS007\r\0\0"s));
    EXPECT_EQ(Setting("heat_setting"), "7");

    const struct {
        const char* typed;
        const char* shown;
        std::string sent;
    } rows[] = {
        {"30", "10", "HS020\r\0\0"s},   {"-30", "-10", "HS000\r\0\0"s},
        {"5", "5", "HS015\r\0\0"s},     {"abc", "abc", "HS010\r\0\0"s},  // no number counts as 0
        {"", "", "HS010\r\0\0"s},       {"-2.5", "-2.5", "HS008\r\0\0"s},
        {"10.4", "10", "HS020\r\0\0"s}, {"3x", "3x", "HS013\r\0\0"s},
    };
    for (const auto& row : rows) {
        TypeThenClick(form->Combo1, row.typed, form->cmdSetup);
        EXPECT_EQ(form->Combo1->currentText(), row.shown) << row.typed;
        EXPECT_EQ(LastBlock(), Write("HEAT_SETTING", row.sent)) << row.typed;
    }
    EXPECT_EQ(form->Combo1->count(), 21) << "what is typed does not join the list";
    EXPECT_TRUE(BoxTexts().isEmpty());
}

class ResolutionTest : public MaintenanceTest {
protected:
    void SetUp() override {
        MaintenanceTest::SetUp();
        form = Open<frmSetupResolution>("mnuOptionSetupResolution");
    }
    frmSetupResolution* form = nullptr;
};

TEST_F(ResolutionTest, EachStepSwitchesBetween300And600) {
    EXPECT_EQ(form->Text1->text(), "300");
    QToolButton* up = form->UpDown1->UpButton;
    QToolButton* down = form->UpDown1->DownButton;
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(form->Text1->text(), "600");
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(form->Text1->text(), "300");
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(form->Text1->text(), "600");

    const struct {
        const char* text;
        const char* after;
    } rows[] = {{"450", "600"},   {"600abc", "600"}, {"abc", "600"}, {"", "600"},
                {" 600 ", "300"}, {"600.0", "300"},  {"6e2", "300"}, {"300", "600"},
                {"-600", "600"},  {"0600", "300"}};
    for (const auto& row : rows) {
        form->UpDown1->SetValue(5);  // clear of the range's ends
        form->Text1->setText(row.text);
        QTest::mouseClick(up, Qt::LeftButton);
        EXPECT_EQ(form->Text1->text(), row.after) << row.text;
    }
    EXPECT_EQ(quillet_received_count(), 0) << "switching sends nothing";
}

TEST_F(ResolutionTest, AStepPastTheControlsRangeSwitchesNothing) {
    QToolButton* up = form->UpDown1->UpButton;
    QToolButton* down = form->UpDown1->DownButton;
    QTest::mouseClick(down, Qt::LeftButton);  // at 0 already
    EXPECT_EQ(form->Text1->text(), "300");
    for (int i = 1; i <= 10; ++i) QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(form->Text1->text(), "300") << "ten steps up, an even number of switches";
    QTest::mouseClick(up, Qt::LeftButton);  // at 10
    EXPECT_EQ(form->Text1->text(), "300");
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(form->Text1->text(), "600");
}

TEST_F(ResolutionTest, SetupSendsTheBoxsNumber) {
    const struct {
        const char* text;
        std::string sent;
    } rows[] = {{"600", "600\r\0\0\0\0"s},
                {"300", "300\r\0\0\0\0"s},
                {"300dpi", "300\r\0\0\0\0"s},
                {"600.5", "600\r\0\0\0\0"s},
                {"1200", "1200\r\0\0\0"s}};
    for (const auto& row : rows) {
        form->Text1->setText(row.text);
        QTest::mouseClick(form->cmdSetup, Qt::LeftButton);
        EXPECT_EQ(LastBlock(), Write("RESOLUTION", row.sent)) << row.text;
    }
    EXPECT_EQ(Setting("resolution_v"), "1200");
    EXPECT_TRUE(BoxTexts().isEmpty());
}

TEST_F(ResolutionTest, ANumberBeyondSixteenBitsOrARefusalSaysSo) {
    for (const char* text : {"70000", "-40000", "1e9"}) {
        form->Text1->setText(text);
        const int before = quillet_received_count();
        AnswerBox(vbOK);
        QTest::mouseClick(form->cmdSetup, Qt::LeftButton);
        EXPECT_EQ(quillet_received_count(), before) << text << ": nothing is sent";
        EXPECT_EQ(form->Text1->text(), text);
    }
    form->Text1->setText("600");
    quillet_fail_next(1);
    AnswerBox(vbOK);
    QTest::mouseClick(form->cmdSetup, Qt::LeftButton);
    // The printer takes no resolution of 0 or below.
    form->Text1->setText("abc");
    AnswerBox(vbOK);
    QTest::mouseClick(form->cmdSetup, Qt::LeftButton);
    EXPECT_EQ(BoxTexts(), QStringList(5, "Printer not responding"));
    EXPECT_EQ(Setting("resolution_v"), "300");
}

class SerialSetupTest : public MaintenanceTest {
protected:
    void SetUp() override {
        MaintenanceTest::SetUp();
        form = Open<TextDialog>("mnuOptionSetupPSerial");
        ASSERT_NE(form->setupButton, nullptr);
    }
    TextDialog* form = nullptr;
};

TEST_F(SerialSetupTest, SetupWritesTheBoxAndAnEmptyBoxSendsNothing) {
    const int before = quillet_received_count();
    QTest::mouseClick(form->setupButton, Qt::LeftButton);
    EXPECT_EQ(quillet_received_count(), before);
    EXPECT_TRUE(BoxTexts().isEmpty()) << "and shows nothing";

    form->boxes[0]->setText("SN-42");
    QTest::mouseClick(form->setupButton, Qt::LeftButton);
    EXPECT_EQ(LastBlock(), Write("PRINTER_ID_SET", "SN-42\r"s + std::string(26, '\0')));
    EXPECT_EQ(Setting("serial"), "SN-42");
    EXPECT_EQ(form->boxes[0]->text(), "SN-42") << "a successful Setup changes nothing on screen";

    form->boxes[0]->clear();
    QTest::mouseClick(form->getButton, Qt::LeftButton);
    EXPECT_EQ(form->boxes[0]->text(), "SN-42");
    EXPECT_TRUE(BoxTexts().isEmpty());
}

TEST_F(SerialSetupTest, ARefusedSerialSaysSo) {
    // The printer takes printable characters only; a failed exchange is the same.
    form->boxes[0]->setText(QString::fromUtf8("SN\xC3\xA9"));
    AnswerBox(vbOK);
    QTest::mouseClick(form->setupButton, Qt::LeftButton);
    form->boxes[0]->setText("SN-43");
    quillet_fail_next(1);
    AnswerBox(vbOK);
    QTest::mouseClick(form->setupButton, Qt::LeftButton);
    EXPECT_EQ(BoxTexts(), QStringList({"Printer not responding", "Printer not responding"}));
    EXPECT_NE(Setting("serial"), "SN-43");
    EXPECT_EQ(form->boxes[0]->text(), "SN-43");
}

}  // namespace
