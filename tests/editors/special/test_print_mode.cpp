#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTest>
#include <clocale>

#include "core/curve_table_files.h"
#include "core/table_transfers.h"
#include "editors/special/frm_print_mode.h"
#include "editors/special/print_mode_timing.h"
#include "shell/app_globals.h"
#include "shell/spin_button.h"
#include "tests/editors/curve/curve_editor_fixture.h"
#include "tests/support/pipe_watchdog.h"

namespace {

class PrintModeEditor : public GuiTest {
protected:
    void SetUp() override {
        // The user's locale: the feed speed shows its decimal comma; the boxes, which are read
        // back, keep their numbers as they are.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
        GuiTest::SetUp();
        ASSERT_TRUE(StartProgram());
        MainForm->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    }
    void TearDown() override {
        GuiTest::TearDown();
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_NUMERIC, "C");
    }
    frmPrintMode& Open() {
        ed = qobject_cast<frmPrintMode*>(MainForm->OpenChild("mnuCtlPrintMode"));
        return *ed;
    }
    PrintModeRecord& R() { return ColorDataSet.PrintModeData; }
    // The emulated printer is given a record to answer Get with; the program's own stays.
    void PrinterHolds(const PrintModeRecord& r) {
        const PrintModeRecord mine = R();
        R() = r;
        ASSERT_TRUE(Module2::WritePrintModeData());
        R() = mine;
    }
    // The shown values: feed speed, total, margin, max data, then the three boxes.
    QStringList Shown() const {
        return {ed->labFeedSpeed->text(),      ed->labTotalSTBTime->text(),
                ed->labMarginForCycle->text(), ed->labMaxSTBData->text(),
                ed->txtSTBpitch->text(),       ed->txtSTBCalcCoef->text(),
                ed->txtOPData->text()};
    }
    void TypeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    void Click(const char* key) { ed->Toolbar1->findChild<QAction*>(key)->trigger(); }
    QString Path(const QString& name) { return QDir(WorkDir()).filePath(name); }

    frmPrintMode* ed = nullptr;
};

TEST_F(PrintModeEditor, OpensOnTheDefaultsWithTheirTiming) {
    EXPECT_TRUE(MainForm->Item("mnuCtlPrintMode")->isEnabled());
    Open();
    EXPECT_EQ(ed->windowTitle(), "Print mode");
    EXPECT_EQ(ed->cmbMediaSelect->count(), 3);
    EXPECT_EQ(ed->cmbMediaSelect->itemText(2), "2 : ICI_ADD");
    EXPECT_EQ(ed->cmbMediaSelect->currentText(), "0 : ZKW_AD");
    EXPECT_TRUE(ed->Option1->isChecked());
    EXPECT_EQ(ed->cmbPrintCycle->currentText(), "0 : 750");
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(ed->cmbPrintCycle->itemData(k).toInt(), PrintModeTiming::CycleMicroseconds[k]);
    EXPECT_EQ(ed->cmbPrintCycle->itemText(2), "2 : 1347");
    EXPECT_EQ(Shown(), QStringList({"2,22", "0011", "0739", "0007", "0000", "0000", "000"}));
    EXPECT_EQ(ed->Shape1->BackColor(), 0xFF0000u);
    EXPECT_EQ(R().PrintCycle, 600);
}

TEST_F(PrintModeEditor, ResolutionAndCycleSetThePrintCycleAndTheFeedSpeed) {
    Open();
    const struct {
        int cycle;
        bool dpi600;
        int16_t stored;
        const char* speed;
        const char* margin;
    } cases[] = {{0, true, 600, "2,22", "0739"},  {1, true, 601, "1,52", "1089"},
                 {2, true, 602, "1,24", "1336"},  {0, false, 300, "3,99", "0739"},
                 {1, false, 301, "2,72", "1089"}, {2, false, 302, "2,22", "1336"}};
    for (const auto& c : cases) {
        (c.dpi600 ? ed->Option1 : ed->Option2)->click();
        ed->cmbPrintCycle->setCurrentIndex(c.cycle);
        EXPECT_EQ(R().PrintCycle, c.stored);
        EXPECT_EQ(ed->labFeedSpeed->text(), c.speed) << c.stored;
        EXPECT_EQ(ed->labMarginForCycle->text(), c.margin) << c.stored;
        EXPECT_EQ(ed->labTotalSTBTime->text(), "0011");
    }
    ed->cmbMediaSelect->setCurrentIndex(2);
    EXPECT_EQ(R().MediaSelect, 2);
}

TEST_F(PrintModeEditor, ARecordSelectsItsResolutionAndCycle) {
    // A cycle of 0 at load: 334 dpi and the first cycle, which the option then stores as 300.
    R().PrintCycle = 0;
    Open();
    EXPECT_TRUE(ed->Option2->isChecked());
    EXPECT_EQ(ed->cmbPrintCycle->currentIndex(), 0);
    EXPECT_EQ(R().PrintCycle, 300);
    EXPECT_EQ(ed->labFeedSpeed->text(), "3,99");

    const struct {
        int16_t cycle;
        bool dpi600;
        int index;
    } cases[] = {{302, false, 2}, {602, true, 2}, {601, true, 1}, {300, false, 0}};
    for (const auto& c : cases) {
        PrinterHolds({1, c.cycle, 12, 96, 128});
        Click("mnuGetPrinter");
        EXPECT_EQ(ed->Option1->isChecked(), c.dpi600) << c.cycle;
        EXPECT_EQ(ed->cmbPrintCycle->currentIndex(), c.index) << c.cycle;
        EXPECT_EQ(R().PrintCycle, c.cycle);
    }
    EXPECT_EQ(ed->cmbMediaSelect->currentIndex(), 1);
    EXPECT_EQ(Shown(), QStringList({"3,99", "0075", "0675", "0130", "0012", "0096", "128"}));
}

TEST_F(PrintModeEditor, ARecordTheListsCannotShowIsKeptAndShownWithoutItsItems) {
    R() = {5, 699, 12, 96, 128};
    Open();
    PrinterHolds({-3, -250, 12, 96, 128});
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(ed->cmbMediaSelect->currentIndex(), -1);
        EXPECT_EQ(ed->cmbPrintCycle->currentIndex(), -1);
        EXPECT_EQ(Shown(), QStringList({"", "0075", "", "0130", "0012", "0096", "128"}));
        EXPECT_EQ(ed->Shape1->BackColor(), std::nullopt);
        const PrintModeRecord kept = R();
        ed->Option2->click();
        ed->Option1->click();
        EXPECT_EQ(R().PrintCycle, kept.PrintCycle);
        EXPECT_EQ(R().MediaSelect, kept.MediaSelect);
        Click("mnuGetPrinter");
        EXPECT_EQ(ed->windowTitle(), "PrintMode [Printer]");
    }
    EXPECT_EQ(R().PrintCycle, -250);
    EXPECT_EQ(R().MediaSelect, -3);
}

TEST_F(PrintModeEditor, BoxesStoreAtOnceAndTheTimingFollowsEnterLeavingOrASpin) {
    Open();
    TypeInto(ed->txtSTBpitch, "12");
    EXPECT_EQ(R().STBPitch, 12);
    EXPECT_EQ(ed->labTotalSTBTime->text(), "0011");
    QTest::keyClick(ed->txtSTBpitch, Qt::Key_Return);
    EXPECT_EQ(ed->txtSTBpitch->text(), "0012");
    EXPECT_EQ(ed->labTotalSTBTime->text(), "0075");

    // Only the last four characters count: 1, 2, 3, 4, 5 is 2345.
    TypeInto(ed->txtSTBpitch, "12345");
    EXPECT_EQ(R().STBPitch, 2345);
    EXPECT_EQ(ed->labTotalSTBTime->text(), "0075");
    TypeInto(ed->txtSTBCalcCoef, "100");  // the focus leaves the pitch box
    EXPECT_EQ(ed->txtSTBpitch->text(), "2345");
    EXPECT_EQ(ed->labTotalSTBTime->text(), "12566");
    EXPECT_EQ(R().STBCalcCoef, 100);
    EXPECT_EQ(ed->labMaxSTBData->text(), "0007");
    ed->udSTBCalcCoef->Up();
    EXPECT_EQ(R().STBCalcCoef, 101);
    EXPECT_EQ(ed->labMaxSTBData->text(), "0136");

    // The last three characters of the OP box; Enter brings it into 0..255.
    TypeInto(ed->txtOPData, "1999");
    EXPECT_EQ(R().OPData, 999);
    QTest::keyClick(ed->txtOPData, Qt::Key_Enter);
    EXPECT_EQ(R().OPData, 255);
    EXPECT_EQ(ed->txtOPData->text(), "255");

    // A number beyond 16 bits (pasted) leaves its field; the others are still stored.
    ed->txtSTBpitch->setText("9e99");
    EXPECT_EQ(R().STBPitch, 2345);
    TypeInto(ed->txtSTBCalcCoef, "50");
    EXPECT_EQ(R().STBCalcCoef, 50);
    QTest::keyClick(ed->txtSTBCalcCoef, Qt::Key_Return);
    EXPECT_EQ(ed->txtSTBpitch->text(), "2345");
}

TEST_F(PrintModeEditor, SpinClicksStepWithinTheirLimits) {
    R().STBPitch = 9999;
    R().OPData = 255;
    Open();
    // 10000 is kept, though its last four characters would read 0.
    ed->udSTBpitch->Up();
    EXPECT_EQ(R().STBPitch, 10000);
    EXPECT_EQ(ed->txtSTBpitch->text(), "10000");
    EXPECT_EQ(ed->labTotalSTBTime->text(), "53552");
    ed->udOPData->Up();
    EXPECT_EQ(R().OPData, 255);
    EXPECT_EQ(ed->txtOPData->text(), "255");

    R() = {0, 600, 0, 32767, 0};
    ed->LoadPrintMode();
    ed->udSTBpitch->Down();
    ed->udOPData->Down();
    ed->udSTBCalcCoef->Up();
    EXPECT_EQ(R().STBPitch, 0);
    EXPECT_EQ(R().OPData, 0);
    EXPECT_EQ(R().STBCalcCoef, 32767);
    EXPECT_EQ(ed->txtSTBCalcCoef->text(), "32767");
    EXPECT_EQ(ed->labMaxSTBData->text(), "41949");

    // A loaded value outside 0..9999 is shown, not changed: -5 is not read back as 5.
    R().STBPitch = -5;
    ed->LoadPrintMode();
    EXPECT_EQ(ed->txtSTBpitch->text(), "-0005");
    EXPECT_EQ(ed->labTotalSTBTime->text(), "-0016");
    EXPECT_EQ(R().STBPitch, -5);
}

TEST_F(PrintModeEditor, TheLampShowsTheMarginLeftInTheCycle) {
    const struct {
        int32_t margin;
        uint32_t lamp;
    } rule[] = {{30, 0xFF0000}, {739, 0xFF0000}, {29, 0x00FFFF}, {16, 0x00FFFF},
                {15, 0x0000FF}, {0, 0x0000FF},   {-1, 0x0000FF}};
    for (const auto& c : rule) EXPECT_EQ(PrintModeTiming::MarginLamp(c.margin), c.lamp) << c.margin;

    Open();
    const struct {
        int cycle;
        const char* pitch;
        const char* margin;
        uint32_t lamp;
    } shown[] = {{2, "244", "0030", 0xFF0000},
                 {1, "198", "0029", 0x00FFFF},
                 {0, "135", "0016", 0x00FFFF},
                 {0, "136", "0011", 0x0000FF},
                 {0, "200", "-0332", 0x0000FF}};
    for (const auto& c : shown) {
        ed->cmbPrintCycle->setCurrentIndex(c.cycle);
        TypeInto(ed->txtSTBpitch, c.pitch);
        QTest::keyClick(ed->txtSTBpitch, Qt::Key_Return);
        EXPECT_EQ(ed->labMarginForCycle->text(), c.margin) << c.pitch;
        EXPECT_EQ(ed->Shape1->BackColor(), c.lamp) << c.pitch;
    }
}

TEST_F(PrintModeEditor, FilesHoldTheFiveValuesAndABadOneChangesNothing) {
    R() = {2, 301, -5, 100, 7};
    Open();
    ChooseFile(Path("m.pmd"));
    Click("mnuFileSave");
    EXPECT_EQ(FileDialogs().back().filter, "*.pmd|*.pmd|*.txt|*.txt|");
    EXPECT_EQ(Slurp(Path("m.pmd")), std::string("\x02\x00\x2D\x01\xFB\xFF\x64\x00\x07\x00", 10));
    EXPECT_EQ(ed->windowTitle(), "PrintMode [m.pmd]");
    ChooseFile(Path("m.txt"));
    Click("mnuFileSave");
    EXPECT_EQ(Slurp(Path("m.txt")), " 2 \r\n 301 \r\n-5 \r\n 100 \r\n 7 \r\n");

    for (const char* name : {"m.pmd", "m.txt"}) {
        R() = {};
        ChooseFile(Path(name));
        Click("mnuFileOpen");
        EXPECT_EQ(R().PrintCycle, 301) << name;
        EXPECT_EQ(R().STBPitch, -5) << name;
        EXPECT_EQ(ed->cmbMediaSelect->currentIndex(), 2);
        EXPECT_TRUE(ed->Option2->isChecked());
        EXPECT_EQ(ed->windowTitle(), QString("PrintMode [") + name + "]");
    }

    Spit(Path("short.pmd"), std::string(9, '\0'));
    Spit(Path("media.pmd"), std::string("\x03\x00\x58\x02", 4) + std::string(6, '\0'));
    Spit(Path("four.txt"), " 0 \r\n 600 \r\n 0 \r\n 0 \r\n");
    Spit(Path("big.txt"), " 0 \r\n 600 \r\n 40000 \r\n 0 \r\n 0 \r\n");
    Spit(Path("cycle.txt"), " 0 \r\n 699 \r\n 0 \r\n 0 \r\n 0 \r\n");
    // A reader that opened a pipe would wait for a writer for good.
    const PipeWatchdog pipe(Path("pipe.pmd").toStdString());
    const PipeWatchdog textPipe(Path("pipe.txt").toStdString());
    LastDir = "/elsewhere/";
    for (const char* name : {"short.pmd", "missing.pmd", "media.pmd", "four.txt", "big.txt",
                             "cycle.txt", "missing.txt", "pipe.pmd", "pipe.txt"}) {
        AnswerBox(vbOK);
        ChooseFile(Path(name));
        Click("mnuFileOpen");
        EXPECT_EQ(Boxes().back().text, "FileOpen Error") << name;
        EXPECT_EQ(Boxes().back().title, "KT-Tools");
        EXPECT_EQ(PrintModeTextFile::Format(R()), " 2 \r\n 301 \r\n-5 \r\n 100 \r\n 7 \r\n")
            << name;
        EXPECT_EQ(LastDir, "/elsewhere/");
        EXPECT_EQ(ed->windowTitle(), "PrintMode [m.txt]");
    }
    EXPECT_FALSE(pipe.Fired() || textPipe.Fired()) << "Open waited on a pipe";
    AnswerBox(vbOK);
    ChooseFile(Path("nowhere/m.pmd"));
    Click("mnuFileSave");
    EXPECT_EQ(Boxes().back().text, "FileSave Error");
    EXPECT_EQ(LastDir, "/elsewhere/");
}

TEST_F(PrintModeEditor, SetupAndGetAreOneBlockEach) {
    R() = {2, 301, 12, 100, 7};
    Open();
    quillet_reset();
    Click("mnuSetPrinter");
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(Parameter(blocks[0]), "PrintModeData");
    const std::vector<uint8_t> data(blocks[0].begin() + 32, blocks[0].end());
    EXPECT_EQ(data, std::vector<uint8_t>({0, 2, 1, 0x2D, 0, 12, 0, 100, 0, 7, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ed->windowTitle(), "Print mode");

    quillet_reset();
    for (const char* key : {"mnuSetPrinter", "mnuGetPrinter"}) {
        quillet_fail_next(1);
        AnswerBox(vbOK);
        Click(key);
        EXPECT_EQ(Boxes().back().text, "Printer not responding");
    }
    EXPECT_EQ(R().PrintCycle, 301);
    EXPECT_EQ(ed->windowTitle(), "Print mode");

    // The emulated printer's own record.
    Click("mnuGetPrinter");
    EXPECT_EQ(ed->windowTitle(), "PrintMode [Printer]");
    EXPECT_EQ(R().PrintCycle, 602);
    EXPECT_EQ(ed->cmbPrintCycle->currentText(), "2 : 1347");
    EXPECT_EQ(ed->cmbMediaSelect->currentText(), "1 : Sony_UP");
    EXPECT_EQ(Shown(), QStringList({"1,24", "0075", "1272", "0130", "0012", "0096", "128"}));
}

}  // namespace
