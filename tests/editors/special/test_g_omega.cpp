// The G Omega editor: its sum, the divisor, the coefficient boxes and their spin buttons, planes,
// file and printer.
#include <QLocale>
#include <QRadioButton>
#include <QToolButton>
#include <optional>

#include "core/numbers.h"
#include "editors/special/frm_g_omega.h"
#include "editors/special/omega_sum.h"
#include "shell/spin_button.h"
#include "tests/editors/special/param_table_fixture.h"

namespace param_table_test {
namespace {

TEST(OmegaSum, RoundsToTwoDecimalsHalfToEvenIn16BitSteps) {
    const struct {
        OmegaCoefficients k;  // A..G
        int16_t divisor;
        const char* shown;  // nullptr: no sum
    } cases[] = {
        {{8, 0, 0, 0, 0, 0, 0}, 16, "0.5"},
        {{1, 0, 1, 0, 0, 0, 0}, 16, "0.12"},  // 0.125, half way: to the even digit
        {{3, 0, 3, 0, 0, 0, 0}, 16, "0.38"},
        {{255, 255, 255, 255, 255, 255, 255}, 16, "-15.94"},
        {{0, 2, 0, 0, 0, 0, 0}, 16, "-0.12"},
        {{0, 0, 0, 0, 16, 0, 0}, 16, "1"},
        {{0, 0, 0, 0, 0, 0, 0}, -16, "0"},
        {{7, 0, 0, 0, 0, 0, 0}, 8, "0.88"},
        {{-1993, 0, 0, 0, 0, 0, 0}, 40, "-49.83"},  // the double lies beyond -49.825: no tie
        {{8, 0, 0, 0, 0, 0, 0}, 0, nullptr},
        {{32767, 10, 0, 0, 1, 0, 0},
         16,
         nullptr},  // A + E leaves 16 bits before − B brings it back
        {{-32768, 0, 0, 0, 0, 1, 0}, 1, nullptr},
        {{32767, 0, 0, 0, 0, 0, 0}, 1, "32767"},
    };
    QLocale::setDefault(QLocale(QLocale::German));  // "." whatever the locale
    for (const auto& c : cases) {
        const std::optional<float> sum = OmegaSumTotal(c.k, c.divisor);
        EXPECT_EQ(sum.has_value(), c.shown != nullptr) << c.k[0] << "/" << c.divisor;
        if (sum && c.shown) {
            EXPECT_EQ(SingleText(*sum), c.shown);
        }
    }
    QLocale::setDefault(QLocale::c());
    // Exactly half way is the double's own value: 0.285 lies below it, 1.125 on it.
    EXPECT_EQ(RoundTwoDecimals(0.285), 0.28);
    EXPECT_EQ(RoundTwoDecimals(1.125), 1.12);
    EXPECT_EQ(RoundTwoDecimals(-0.375), -0.38);
}

class GOmegaTest : public ParamTableTest {
protected:
    void SetUp() override {
        ParamTableTest::SetUp();
        for (int p = 0; p < 4; ++p) Table()(7, p) = 1234;  // not the editor's: never changed
        ed = OpenWindow<frmGOmega>("mnuCtlG_Omega");
    }
    void TearDown() override {
        for (int p = 0; p < 4; ++p) EXPECT_EQ(Table()(7, p), 1234) << p;
        ParamTableTest::TearDown();
    }
    static ParamTable& Table() { return ColorDataSet.GOmegaParams; }
    std::vector<int16_t> Plane(int p) {
        std::vector<int16_t> w;
        for (int k = 0; k < 7; ++k) w.push_back(Table()(k, p));
        return w;
    }
    frmGOmega* ed = nullptr;
};

TEST_F(GOmegaTest, NewWindowShowsYellowOverSixteen) {
    EXPECT_EQ(ed->windowTitle(), "G Omega");
    EXPECT_TRUE(ed->opbYellow->isChecked());
    EXPECT_EQ(ed->txtDivisor->text(), "16");
    EXPECT_EQ(ed->txtSumTotal->text(), "0.5");
    EXPECT_TRUE(ed->txtSumTotal->isReadOnly());
    EXPECT_EQ(ed->txtA->text(), "8");
    EXPECT_EQ(ed->txtG->text(), "0");
}

TEST_F(GOmegaTest, EveryKeystrokeIsStoredAndShownAsParsed) {
    const struct {
        QLineEdit* frmGOmega::*box;
        const char* typed;
        const char* shown;
        int word;
        int16_t stored;
    } cases[] = {
        {&frmGOmega::txtA, "1", "1", 0, 1},           {&frmGOmega::txtC, "1", "1", 2, 1},
        {&frmGOmega::txtD, "007", "7", 3, 7},         {&frmGOmega::txtE, "-", "0", 4, 0},
        {&frmGOmega::txtF, "12ab", "12", 5, 12},      {&frmGOmega::txtG, "-3", "3", 6, 3},
        {&frmGOmega::txtB, "40000", "4000", 1, 4000},  // the last digit does not fit: dropped
    };
    for (const auto& c : cases) {
        Type(ed->*c.box, c.typed);
        EXPECT_EQ((ed->*c.box)->text(), c.shown) << c.typed;
        EXPECT_EQ(Table()(c.word, 0), c.stored) << c.typed;
    }
    ed->txtG->setText("-3.5");  // pasted: the program's own change is stored as well
    EXPECT_EQ(ed->txtG->text(), "-4");
    EXPECT_EQ(Table()(6, 0), -4);
    // S = 1 + 0 − 4000 + 1 − 7 − 12 + 4 = −4013 over 16.
    EXPECT_EQ(ed->txtSumTotal->text(), "-250.81");
    for (QLineEdit* box : {ed->txtA, ed->txtB, ed->txtC, ed->txtD, ed->txtE, ed->txtF, ed->txtG})
        Type(box, "255");
    EXPECT_EQ(ed->txtSumTotal->text(), "-15.94");
    EXPECT_EQ(Plane(0), std::vector<int16_t>(7, 255));
}

TEST_F(GOmegaTest, DivisorIsTakenAtTheNextCoefficientChangeOnly) {
    Type(ed->txtDivisor, "8");
    EXPECT_EQ(ed->txtSumTotal->text(), "0.5");
    Type(ed->txtB, "1");  // S = 7, now over 8
    EXPECT_EQ(ed->txtSumTotal->text(), "0.88");
    // Opening a file shows the divisor last taken, not one merely typed.
    Spit(Path("a.gom"), FileBytes(WordsOf(Table())));
    Type(ed->txtDivisor, "4");
    OpenFile(ed, "a.gom");
    EXPECT_EQ(ed->txtDivisor->text(), "8");
    EXPECT_EQ(ed->txtSumTotal->text(), "0.88");
    // A divisor of 0 or beyond 16 bits, a sum beyond 16 bits: no sum, nothing escapes.
    Type(ed->txtDivisor, "0");
    Type(ed->txtB, "2");
    EXPECT_EQ(ed->txtSumTotal->text(), "");
    Type(ed->txtDivisor, "99999");
    Type(ed->txtB, "0");
    EXPECT_EQ(ed->txtDivisor->text(), "0");
    Type(ed->txtDivisor, "16");
    Type(ed->txtA, "32767");
    Type(ed->txtE, "1");
    EXPECT_EQ(ed->txtSumTotal->text(), "");
    EXPECT_EQ(Table()(4, 0), 1);
}

TEST_F(GOmegaTest, SpinButtonsBesideTheBoxTheyChange) {
    const struct {
        SpinButton* frmGOmega::*spin;
        QLineEdit* frmGOmega::*box;
        int word;
    } pairs[] = {{&frmGOmega::udA, &frmGOmega::txtA, 0},
                 {&frmGOmega::udF, &frmGOmega::txtE, 4},
                 {&frmGOmega::udE, &frmGOmega::txtF, 5},
                 {&frmGOmega::udG, &frmGOmega::txtG, 6}};
    for (const auto& p : pairs) {
        SpinButton* spin = ed->*p.spin;
        QLineEdit* box = ed->*p.box;
        EXPECT_EQ(spin->geometry().top(), box->geometry().top())
            << spin->objectName().toStdString();
        EXPECT_NEAR(spin->geometry().left(), box->geometry().right(), 2);
        const int16_t before = Table()(p.word, 0);
        QTest::mouseClick(spin->UpButton, Qt::LeftButton);
        EXPECT_EQ(Table()(p.word, 0), before + 1) << spin->objectName().toStdString();
        EXPECT_EQ(box->text(), QString::number(before + 1));
    }
    Type(ed->txtC, "300");
    QTest::mouseClick(ed->udC->UpButton, Qt::LeftButton);  // from the box's value within 0..255
    EXPECT_EQ(Table()(2, 0), 255);
}

TEST_F(GOmegaTest, PlanesStoreFirstAndAllCopiesTheShownPlane) {
    Type(ed->txtB, "5");
    Table()(1, 0) = 99;  // behind the window's back: the switch stores what is shown first
    ed->opbMagenta->click();
    EXPECT_EQ(Table()(1, 0), 5);
    EXPECT_EQ(ed->txtB->text(), "0");
    Type(ed->txtC, "9");

    AnswerBox(vbCancel);
    ed->opbAll->click();
    EXPECT_EQ(BoxTexts(), QStringList{"Replace all data?"});
    EXPECT_TRUE(ed->opbYellow->isChecked());
    EXPECT_EQ(ed->txtB->text(), "5");
    EXPECT_EQ(Table()(2, 1), 9);

    AnswerBox(vbOK);
    ed->opbAll->click();
    for (int p = 0; p < 4; ++p) EXPECT_EQ(Plane(p), (std::vector<int16_t>{8, 5, 0, 0, 0, 0, 0}));
    Type(ed->txtG, "3");
    for (int p = 0; p < 4; ++p) EXPECT_EQ(Table()(6, p), 3) << p;
    Table()(6, 3) = 77;
    ed->parentWidget()->close();  // closing stores what is shown
    EXPECT_EQ(Table()(6, 3), 3);
}

TEST_F(GOmegaTest, FileAndPrinter) {
    Words image = Distinct(11);
    for (int p = 0; p < 4; ++p) image[8 * p + 7] = 1234;
    Spit(Path("in.gom"), FileBytes(image) + "tail");
    OpenFile(ed, "in.gom");
    EXPECT_EQ(FileDialogs().back().filter, "*.gom|*.gom|");
    EXPECT_EQ(ed->windowTitle(), "G Omega [in.gom]");
    EXPECT_EQ(ed->txtA->text(), QString::number(image[0]));
    SaveFile(ed, "out.gom");
    EXPECT_EQ(Slurp(Path("out.gom")), FileBytes(image));

    quillet_reset();
    Type(ed->txtA, "21");
    Click(ed, "mnuSetPrinter");
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(Parameter(blocks[3]), "G_Omega_OP");
    auto sent = Plane(0);
    sent.push_back(0);  // word 7 is not sent
    EXPECT_EQ(BlockWords(blocks[0]), sent);

    notice.act = [](int exchange) {
        if (exchange == 2) quillet_fail_next(1);
    };
    AnswerBox(vbOK);
    Click(ed, "mnuGetPrinter");
    EXPECT_EQ(BoxTexts(), QStringList{"Printer not responding"});
    EXPECT_EQ(ed->windowTitle(), "G Omega [out.gom]");
    EXPECT_EQ(Plane(0), PrinterWords("G_Omega_Y", 7));
    EXPECT_EQ(ed->txtA->text(), "21");  // not shown again
    notice.act = nullptr;
    Click(ed, "mnuGetPrinter");
    EXPECT_EQ(ed->windowTitle(), "G Omega [Printer]");
    EXPECT_EQ(Plane(3), PrinterWords("G_Omega_OP", 7));
    EXPECT_EQ(ed->txtA->text(), QString::number(PrinterWords("G_Omega_Y", 1)[0]));
}

}  // namespace
}  // namespace param_table_test
