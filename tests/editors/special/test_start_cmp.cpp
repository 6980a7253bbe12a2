#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <algorithm>

#include "editors/special/frm_start_cmp_data.h"
#include "shell/app_globals.h"
#include "shell/spin_button.h"
#include "tests/editors/curve/curve_editor_fixture.h"
#include "tests/support/pipe_watchdog.h"

namespace {

enum { Y, M, C, OP };

class StartCmpEditor : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(StartProgram());
        EXPECT_TRUE(MainForm->Item("mnuStartCmp")->isEnabled());
        ed = qobject_cast<frmStartCmpData*>(MainForm->OpenChild("mnuStartCmp"));
        ASSERT_NE(ed, nullptr);
    }
    StartCmpData& T() { return ColorDataSet.StartCmpData; }
    void TypeInto(QLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    // The table as its file holds it: the words little-endian in table order.
    std::string Image() {
        std::string bytes;
        for (int16_t w : T().Words) bytes += {char(w & 0xFF), char((w >> 8) & 0xFF)};
        return bytes;
    }
    QStringList Texts() const {
        QStringList texts;
        for (const auto& plane : ed->txtWTR)
            for (const QLineEdit* box : plane) texts << box->text();
        for (const auto& plane : ed->txtDTR)
            for (const QLineEdit* box : plane) texts << box->text();
        return texts;
    }
    void Click(const char* key) { ed->Toolbar1->findChild<QAction*>(key)->trigger(); }
    QString Path(const QString& name) { return QDir(WorkDir()).filePath(name); }

    frmStartCmpData* ed = nullptr;
};

TEST_F(StartCmpEditor, OpensOnSetDscRankZeroWithEveryBoxZero) {
    EXPECT_EQ(ed->windowTitle(), "Start Comp");
    QStringList sets;
    for (int k = 0; k < ed->TabStrip1->count(); ++k) sets << ed->TabStrip1->tabText(k);
    EXPECT_EQ(sets, QStringList({"DSC", "L", "PC", "2L", "A5"}));
    EXPECT_EQ(ed->TabStrip2->count(), 5);
    EXPECT_EQ(ed->TabStrip3->count(), 10);
    EXPECT_EQ(ed->TabStrip3->tabText(9), "9");
    for (QTabBar* tabs : {ed->TabStrip1, ed->TabStrip2, ed->TabStrip3})
        EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(Texts(), QStringList(60, "0"));
    EXPECT_EQ(ed->txtWTR[OP][9]->objectName(), "txtWTR_OP(9)");
    EXPECT_EQ(ed->udDTR[C][4]->objectName(), "udDTR_C(4)");
    EXPECT_TRUE(ed->txtDTR[M][1]->font().bold());
    EXPECT_EQ(ed->udWTR[Y][0]->Buddy(), ed->txtWTR[Y][0]);
}

TEST_F(StartCmpEditor, AnEditIsStoredAtOnceAndShowsInTheOtherView) {
    ed->TabStrip1->setCurrentIndex(2);  // "PC"
    ed->TabStrip2->setCurrentIndex(2);
    ed->TabStrip3->setCurrentIndex(3);
    TypeInto(ed->txtWTR[C][3], "5");
    EXPECT_EQ(T().Words[940 / 2], 5);
    EXPECT_EQ(T()(C, 2, 3, 2), 5);
    EXPECT_EQ(ed->txtDTR[C][2]->text(), "5");

    // Typed values are not limited to the spin range; text without a number is 0, kept as typed.
    TypeInto(ed->txtDTR[Y][2], "12");
    EXPECT_EQ(T()(Y, 2, 3, 2), 12);
    EXPECT_EQ(ed->txtWTR[Y][3]->text(), "12");
    TypeInto(ed->txtWTR[OP][0], "x");
    EXPECT_EQ(T()(OP, 2, 0, 2), 0);
    EXPECT_EQ(ed->txtWTR[OP][0]->text(), "x");
    TypeInto(ed->txtDTR[M][4], "-7");
    EXPECT_EQ(T()(M, 4, 3, 2), -7);

    // Only the shown cross sections of the shown set changed.
    int changed = 0;
    for (int16_t w : T().Words) changed += w != 0;
    EXPECT_EQ(changed, 3);
}

TEST_F(StartCmpEditor, SwitchingTabsShowsWithoutStoring) {
    for (int k = 0; k < 1000; ++k) T().Words[k] = static_cast<int16_t>(k % 21 - 10);
    // Beneath the shown view: a tab switch must not write the boxes back over it.
    T()(Y, 0, 0, 0) = 99;
    const std::string before = Image();
    ed->TabStrip1->setCurrentIndex(1);
    EXPECT_EQ(Image(), before);
    EXPECT_EQ(ed->txtWTR[M][7]->text(), QString::number(T()(M, 0, 7, 1)));
    EXPECT_EQ(ed->txtDTR[OP][4]->text(), QString::number(T()(OP, 4, 0, 1)));
    ed->TabStrip2->setCurrentIndex(4);
    ed->TabStrip3->setCurrentIndex(9);
    EXPECT_EQ(ed->txtWTR[C][5]->text(), QString::number(T()(C, 4, 5, 1)));
    EXPECT_EQ(ed->txtDTR[Y][1]->text(), QString::number(T()(Y, 1, 9, 1)));
    ed->TabStrip1->setCurrentIndex(0);
    ed->TabStrip2->setCurrentIndex(0);
    EXPECT_EQ(Image(), before);
    EXPECT_EQ(ed->txtWTR[Y][0]->text(), "99");
}

TEST_F(StartCmpEditor, SpinStepsStartFromTheBoxBroughtIntoRange) {
    const struct {
        const char* typed;
        bool up;
        const char* after;
    } cases[] = {{"12", true, "10"},  {"12", false, "9"}, {"-10", false, "-10"},
                 {"-40", true, "-9"}, {"3", true, "4"},   {"abc", false, "-1"}};
    for (const auto& c : cases) {
        TypeInto(ed->txtWTR[M][6], c.typed);
        c.up ? ed->udWTR[M][6]->Up() : ed->udWTR[M][6]->Down();
        EXPECT_EQ(ed->txtWTR[M][6]->text(), c.after) << c.typed;
        EXPECT_EQ(QString::number(T()(M, 0, 6, 0)), c.after) << c.typed;
    }
    ed->TabStrip3->setCurrentIndex(6);
    ed->udDTR[M][0]->Up();
    EXPECT_EQ(ed->txtWTR[M][6]->text(), "0");
    EXPECT_EQ(T()(M, 0, 6, 0), 0);
}

TEST_F(StartCmpEditor, ANumberBeyondSixteenBitsLeavesItsElement) {
    T()(C, 0, 1, 0) = 4;
    ed->ShowRanks();
    ed->txtWTR[C][1]->setText("40000");  // pasted
    EXPECT_EQ(T()(C, 0, 1, 0), 4);
    // Beneath the view; closing stores every box but the one beyond range.
    T()(Y, 0, 8, 0) = 6;
    ed->parentWidget()->close();
    EXPECT_EQ(T()(C, 0, 1, 0), 4);
    EXPECT_EQ(T()(Y, 0, 8, 0), 0);
}

TEST_F(StartCmpEditor, FileIsTheWholeTableAndABadOneChangesNothing) {
    for (int k = 0; k < 1000; ++k) T().Words[k] = static_cast<int16_t>(k - 500);
    ed->ShowRanks();
    ChooseFile(Path("s.scd"));
    Click("mnuFileSave");
    EXPECT_EQ(FileDialogs().back().filter, "*.scd|*.scd|");
    const std::string saved = Slurp(Path("s.scd"));
    ASSERT_EQ(saved.size(), 2000u);
    EXPECT_EQ(saved, Image());
    EXPECT_EQ(ed->windowTitle(), "Start Comp [s.scd]");

    ModuleDataPro::InitColorData();
    Spit(Path("long.scd"), saved + "tail");
    ChooseFile(Path("long.scd"));
    Click("mnuFileOpen");
    EXPECT_EQ(Image(), saved);
    EXPECT_EQ(ed->txtWTR[OP][9]->text(), QString::number(3 + 4 * 9 * 5 - 500));
    EXPECT_EQ(ed->windowTitle(), "Start Comp [long.scd]");

    Spit(Path("short.scd"), std::string(1999, '\x01'));
    // A reader that opened the pipe would wait for a writer for good.
    const PipeWatchdog pipe(Path("pipe.scd").toStdString());
    LastDir = "/elsewhere/";
    for (const char* name : {"short.scd", "missing.scd", "pipe.scd"}) {
        AnswerBox(vbOK);
        ChooseFile(Path(name));
        Click("mnuFileOpen");
        EXPECT_EQ(Boxes().back().text, "FileOpen Error");
        EXPECT_EQ(Boxes().back().title, "KT-Tools");
        EXPECT_EQ(Image(), saved);
        EXPECT_EQ(LastDir, "/elsewhere/");
        EXPECT_EQ(ed->windowTitle(), "Start Comp [long.scd]");
    }
    EXPECT_FALSE(pipe.Fired()) << "Open waited on a pipe";
    AnswerBox(vbOK);
    ChooseFile(Path("nowhere/s.scd"));
    Click("mnuFileSave");
    EXPECT_EQ(Boxes().back().text, "FileSave Error");
    EXPECT_EQ(LastDir, "/elsewhere/");
}

TEST_F(StartCmpEditor, SetupAndGetAreOneBlockEach) {
    TypeInto(ed->txtWTR[M][1], "-3");
    quillet_reset();
    Click("mnuSetPrinter");
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(Parameter(blocks[0]), "StartCmpData");
    ASSERT_EQ(blocks[0].size(), 32u + 2000u);
    const std::size_t at = 32 + 2 * (1 + 4 * 5 * 1);  // (M, 0, 1, 0), big-endian
    EXPECT_EQ(blocks[0][at] << 8 | blocks[0][at + 1], 0xFFFD);
    EXPECT_EQ(std::count(blocks[0].begin() + 32, blocks[0].end(), 0), 1998);

    for (const char* key : {"mnuSetPrinter", "mnuGetPrinter"}) {
        quillet_fail_next(1);
        AnswerBox(vbOK);
        Click(key);
        EXPECT_EQ(Boxes().back().text, "Printer not responding");
    }
    EXPECT_EQ(ed->windowTitle(), "Start Comp");
    EXPECT_EQ(ed->txtWTR[M][1]->text(), "-3");

    // Back at the factory, the emulated printer holds 2d - w / 2 + s - 2 (one less for OP).
    quillet_reset();
    Click("mnuGetPrinter");
    EXPECT_EQ(ed->windowTitle(), "Start Comp [Printer]");
    EXPECT_EQ(T()(OP, 4, 9, 4), 5);
    EXPECT_EQ(ed->txtWTR[Y][9]->text(), "-6");
    EXPECT_EQ(ed->txtDTR[OP][4]->text(), "5");
}

}  // namespace
