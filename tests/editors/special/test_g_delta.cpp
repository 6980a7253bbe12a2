// The G Delta editor: four values stored as they change, unclamped, with their spin buttons;
// planes, file and printer.
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

#include "editors/special/frm_g_delta.h"
#include "shell/spin_button.h"
#include "tests/editors/special/param_table_fixture.h"

namespace param_table_test {
namespace {

class GDeltaTest : public ParamTableTest {
protected:
    void SetUp() override {
        ParamTableTest::SetUp();
        for (int p = 0; p < 4; ++p)
            for (int w = 4; w < 8; ++w) Table()(w, p) = static_cast<int16_t>(100 * p + w);
        ed = OpenWindow<frmGDelta>("mnuCtlG_Delta");
    }
    void TearDown() override {
        for (int p = 0; p < 4; ++p)
            for (int w = 4; w < 8; ++w) EXPECT_EQ(Table()(w, p), 100 * p + w) << "not the editor's";
        ParamTableTest::TearDown();
    }
    static ParamTable& Table() { return ColorDataSet.GDeltaParams; }
    std::vector<int16_t> Plane(int p) {
        return {Table()(0, p), Table()(1, p), Table()(2, p), Table()(3, p)};
    }
    QStringList Shown() const {
        return {ed->txtLowSH->text(), ed->txtHightSH->text(), ed->txtL2HCoef->text(),
                ed->txtH2LCoef->text()};
    }
    frmGDelta* ed = nullptr;
};

TEST_F(GDeltaTest, NewWindowShowsYellowDefaults) {
    EXPECT_EQ(ed->windowTitle(), "G Delta");
    EXPECT_TRUE(ed->opbYellow->isChecked());
    EXPECT_EQ(Shown(), QStringList({"0", "0", "0", "0"}));
    const char* labels[] = {"Low S.H :", "Hight S.H :", "L to H Coef :", "H to L Coef :"};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(ed->findChild<QLabel*>(QString("Label%1").arg(k + 1))->text(), labels[k]);
}

TEST_F(GDeltaTest, EveryChangeIsStoredAtOnceAsTyped) {
    const struct {
        QLineEdit* frmGDelta::*box;
        const char* typed;
        int word;
        int16_t stored;
    } cases[] = {
        {&frmGDelta::txtHightSH, "300", 1, 300},  // beyond the spin range: not clamped
        {&frmGDelta::txtLowSH, "0300", 0, 300},   // the box keeps its text as typed
        {&frmGDelta::txtL2HCoef, "12abc", 2, 12},   {&frmGDelta::txtH2LCoef, "-7", 3, -7},
        {&frmGDelta::txtHightSH, "40000", 1, 4000},  // the last digit does not fit: the word stays
    };
    for (const auto& c : cases) {
        Type(ed->*c.box, c.typed);
        EXPECT_EQ((ed->*c.box)->text(), c.typed);
        EXPECT_EQ(Table()(c.word, 0), c.stored) << c.typed;
    }
    EXPECT_EQ(Plane(0), (std::vector<int16_t>{300, 4000, 12, -7}));
    EXPECT_EQ(Plane(1), (std::vector<int16_t>{0, 0, 0, 0}));

    // Each spin button steps the box of its row; udHeightSH is the one beside txtHightSH.
    const struct {
        SpinButton* frmGDelta::*spin;
        QLineEdit* frmGDelta::*box;
        bool up;
        const char* shown;
    } spins[] = {{&frmGDelta::udLowSH, &frmGDelta::txtLowSH, true, "255"},
                 {&frmGDelta::udHeightSH, &frmGDelta::txtHightSH, false, "254"},
                 {&frmGDelta::udL2HCoef, &frmGDelta::txtL2HCoef, true, "13"},
                 {&frmGDelta::udH2LCoef, &frmGDelta::txtH2LCoef, true, "1"}};
    for (const auto& s : spins) {
        SpinButton* spin = ed->*s.spin;
        EXPECT_EQ(spin->geometry().top(), (ed->*s.box)->geometry().top());
        QTest::mouseClick(s.up ? spin->UpButton : spin->DownButton, Qt::LeftButton);
        EXPECT_EQ((ed->*s.box)->text(), s.shown) << spin->objectName().toStdString();
    }
    EXPECT_EQ(Plane(0), (std::vector<int16_t>{255, 254, 13, 1}));
}

TEST_F(GDeltaTest, PlanesStoreFirstAndAllCopiesTheShownPlane) {
    Type(ed->txtLowSH, "5");
    Table()(0, 0) = 99;  // behind the window's back: the switch stores what is shown first
    ed->opbMagenta->click();
    EXPECT_EQ(Table()(0, 0), 5);
    EXPECT_EQ(Shown(), QStringList({"0", "0", "0", "0"}));
    Type(ed->txtH2LCoef, "9");

    AnswerBox(vbCancel);
    ed->opbAll->click();
    EXPECT_EQ(BoxTexts(), QStringList{"Replace all data?"});
    EXPECT_TRUE(ed->opbYellow->isChecked());
    EXPECT_EQ(Shown(), QStringList({"5", "0", "0", "0"}));
    EXPECT_EQ(Plane(1), (std::vector<int16_t>{0, 0, 0, 9}));

    AnswerBox(vbOK);
    ed->opbAll->click();
    for (int p = 0; p < 4; ++p) EXPECT_EQ(Plane(p), (std::vector<int16_t>{5, 0, 0, 0})) << p;
    Type(ed->txtL2HCoef, "6");
    Table()(2, 3) = 77;
    ed->parentWidget()->close();  // closing stores what is shown
    for (int p = 0; p < 4; ++p) EXPECT_EQ(Table()(2, p), 6) << p;
}

TEST_F(GDeltaTest, FileAndPrinter) {
    Words image = WordsOf(Table());
    for (int p = 0; p < 4; ++p)
        for (int w = 0; w < 4; ++w) image[8 * p + w] = static_cast<int16_t>(10 * p + w + 1);
    Spit(Path("in.gdt"), FileBytes(image));
    OpenFile(ed, "in.gdt");
    EXPECT_EQ(FileDialogs().back().filter, "*.gdt|*.gdt|");
    EXPECT_EQ(ed->windowTitle(), "G Delta [in.gdt]");
    EXPECT_EQ(Shown(), QStringList({"1", "2", "3", "4"}));
    Spit(Path("out.gdt"), std::string(70, 'z'));
    SaveFile(ed, "out.gdt");
    EXPECT_EQ(Slurp(Path("out.gdt")), FileBytes(image) + "zzzzzz");
    AnswerBox(vbOK);
    OpenFile(ed, "short.gdt");
    EXPECT_EQ(Boxes().back().text, "FileOpen Error");
    EXPECT_EQ(Boxes().back().title, "KT-Tools");

    quillet_reset();
    Type(ed->txtLowSH, "300");
    Click(ed, "mnuSetPrinter");
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(Parameter(blocks[1]), "G_Delta_M");
    EXPECT_EQ(BlockWords(blocks[0]), (std::vector<int16_t>{300, 2, 3, 4, 0, 0, 0, 0}));
    EXPECT_EQ(BlockWords(blocks[1]), (std::vector<int16_t>{11, 12, 13, 14, 0, 0, 0, 0}));

    notice.act = [](int exchange) {
        if (exchange == 4) quillet_fail_next(1);
    };
    AnswerBox(vbOK);
    Click(ed, "mnuGetPrinter");
    EXPECT_EQ(Boxes().back().text, "Printer not responding");
    EXPECT_EQ(Plane(2), PrinterWords("G_Delta_C", 4));
    EXPECT_EQ(Plane(3), (std::vector<int16_t>{31, 32, 33, 34}));
    EXPECT_EQ(ed->windowTitle(), "G Delta [out.gdt]");
    notice.act = nullptr;
    Click(ed, "mnuGetPrinter");
    EXPECT_EQ(ed->windowTitle(), "G Delta [Printer]");
    QStringList printer;
    for (int16_t w : PrinterWords("G_Delta_Y", 4)) printer << QString::number(w);
    EXPECT_EQ(Shown(), printer);
}

}  // namespace
}  // namespace param_table_test
