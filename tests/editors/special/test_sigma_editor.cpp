// The sigma editors, every test on both windows: the sum rule through the boxes and the curve,
// the FIXED groups, pending entries, planes, the table file and the printer.
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "editors/special/sigma_editor.h"
#include "editors/special/sigma_rules.h"
#include "editors/special/sigma_variants.h"
#include "platform/trazo/trazo.h"
#include "shell/app_globals.h"
#include "shell/msgbox.h"
#include "tests/editors/special/param_table_fixture.h"
#include "tests/support/pipe_watchdog.h"

namespace param_table_test {
namespace {

// The worked cases of the sum rule: the fixed group's check box, the box typed into, the entry,
// the weights before (C, L, LL) and after.
struct WorkedCase {
    const char* fix;
    const char* box;
    const char* entry;
    SigmaWeights before, after;
};
const WorkedCase kWorked[] = {
    {"chkL", "C", "4001", {4000, 2000, 1000}, {4002, 2000, 999}},
    {"chkL", "C", "7000", {4000, 2000, 1000}, {0, 2000, 3000}},
    {"chkLL", "C", "5000", {4000, 2000, 1000}, {5000, 1500, 1000}},
    {"chkC", "L", "2500", {4000, 2000, 1000}, {4000, 2500, 500}},
    {"chkC", "R", "3001", {4000, 2000, 1000}, {4000, 0, 3000}},
    {"chkLL", "L", "4500", {4000, 2000, 1000}, {8000, 0, 1000}},
    {"chkC", "L", "-500", {4000, 2000, 1000}, {4000, -500, 3500}},
    {"chkC", "LL", "1200", {4000, 2000, 1000}, {4000, 1800, 1200}},
    {"chkRR", "R", "2600", {4000, 2000, 1000}, {2800, 2600, 1000}},
    {"chkL", "RR", "1500", {4000, 2000, 1000}, {3000, 2000, 1500}},
    {"chkC", "L", "2000", {4001, 2000, 1000}, {4002, 2000, 999}},  // an odd fixed C moves up
};

SigmaGroup GroupOf(const char* check) {
    const std::string c = check;
    return c == "chkC" ? SigmaGroup::Center : c.size() == 4 ? SigmaGroup::Side : SigmaGroup::Outer;
}

TEST(SigmaRules, WorkedCasesAndWhatDoesNotFit) {
    for (const WorkedCase& c : kWorked) {
        const std::string box = c.box;
        const int16_t v = static_cast<int16_t>(std::stoi(c.entry));
        const auto rule = box == "C" ? ApplyCenter : box.size() == 1 ? ApplySide : ApplyOuter;
        const auto result = rule(c.before, GroupOf(c.fix), v);
        ASSERT_TRUE(result.has_value()) << c.fix << " " << c.box << " " << c.entry;
        EXPECT_EQ(*result, c.after) << c.fix << " " << c.box << " " << c.entry;
    }
    const SigmaWeights start{4000, 2000, 1000};
    EXPECT_FALSE(ApplySide(start, SigmaGroup::Center, 16384));  // twice the entry is beyond 16 bits
    EXPECT_FALSE(ApplyOuter(start, SigmaGroup::Side, -16385));
    EXPECT_EQ(ApplySide(start, SigmaGroup::Center, -16384), (SigmaWeights{4000, -16384, 19384}));
    // Half way: the entry fits, the outer weight it leaves does not.
    EXPECT_FALSE(ApplySide({-30000, 0, 0}, SigmaGroup::Center, -16000));
    EXPECT_EQ(ApplyCenter(start, SigmaGroup::Outer, -32768), (SigmaWeights{-32768, 20384, 1000}));
}

class SigmaEditorTest : public ParamTableTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        ParamTableTest::SetUp();
        variant = FindSigmaEditorVariant(GetParam());
        Open();
    }
    void Open() { ed = OpenWindow<SigmaEditor>(variant->menuItem); }
    ParamTable& Table() { return variant->table(); }
    SigmaWeights Stored(int plane) {
        return {Table()(0, plane), Table()(1, plane), Table()(2, plane)};
    }
    QLineEdit* Box(const QString& part) {
        return ed->findChild<QLineEdit*>(variant->boxPrefix + part);
    }
    QCheckBox* Check(const char* name) { return ed->findChild<QCheckBox*>(name); }
    void Fix(const char* check) { QTest::mouseClick(Check(check), Qt::LeftButton); }
    // The table's words of the plane shown again, as after a switch of planes.
    void Reshow() {
        ed->opbMagenta->click();
        ed->opbYellow->click();
    }
    static bool Red(const QLineEdit* box) {
        return box->palette().color(QPalette::Text) == QColor(255, 0, 0);
    }

    // Boxes LL, L, C, R, RR and the five nodes show the weights; plane Yellow holds them.
    void ExpectShown(const SigmaWeights& w, const std::string& why) {
        const int16_t shown[5] = {w.LL, w.L, w.C, w.L, w.LL};
        const char* parts[5] = {"LL", "L", "C", "R", "RR"};
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(Box(parts[k])->text(), QString::number(shown[k])) << why << " " << parts[k];
            EXPECT_EQ(ed->Trazo1->PointValue(SigmaEditor::kNodes[k]), shown[k]) << why << " node";
            EXPECT_TRUE(ed->Trazo1->NodeFlag(SigmaEditor::kNodes[k]));
        }
    }

    const SigmaEditorVariant* variant = nullptr;
    SigmaEditor* ed = nullptr;
};
INSTANTIATE_TEST_SUITE_P(Windows, SigmaEditorTest, ::testing::Values("frmGSigma", "frmCSigma"));

TEST_P(SigmaEditorTest, NewWindowShowsYellowWithTheCentreFixed) {
    EXPECT_EQ(ed->objectName(), GetParam());
    EXPECT_EQ(ed->windowTitle(), variant->caption);
    ExpectShown({4000, 2000, 1000}, "load");
    EXPECT_TRUE(ed->opbYellow->isChecked());
    EXPECT_EQ(ed->Trazo1->PointCount(), 257);
    EXPECT_EQ(ed->Trazo1->ValueSpan(), 10000);
    EXPECT_EQ(ed->Trazo1->CurveMode(), 2);
    EXPECT_EQ(ed->Trazo1->CurveColor(), static_cast<int32_t>(PlaneColor[0]));
    EXPECT_FALSE(ed->Trazo1->NodeFlag(128));
    const char* labels[5][2] = {
        {"Label1", "LL"}, {"Label4", "L"}, {"Label2", "C"}, {"Label5", "R"}, {"Label3", "RR"}};
    for (const auto& [label, part] : labels) {
        EXPECT_EQ(ed->findChild<QLabel*>(label)->text(), variant->boxPrefix + QString(part));
        EXPECT_EQ(Box(part)->isEnabled(), std::string(part) != "C") << part;
        EXPECT_EQ(Check(("chk" + std::string(part)).c_str())->isChecked(),
                  std::string(part) == "C");
    }
}

TEST_P(SigmaEditorTest, WorkedCasesThroughTheBoxes) {
    for (const WorkedCase& c : kWorked) {
        const std::string why = std::string(c.fix) + " " + c.box + " " + c.entry;
        Fix(c.fix);  // leaving the last row's box applies it once more, which changes nothing
        ModuleDataPro::InitColorData();
        Table()(0, 0) = c.before.C;
        Reshow();
        Type(Box(c.box), c.entry, true);
        ExpectShown(c.after, why);
        EXPECT_EQ(Stored(0), c.after) << why;
        EXPECT_EQ(Stored(1), (SigmaWeights{4000, 2000, 1000})) << why;
        EXPECT_EQ(c.after.C % 2, 0) << why;
        EXPECT_EQ(c.after.C + 2 * c.after.L + 2 * c.after.LL, 10000) << why;
        EXPECT_FALSE(Red(Box(c.box))) << why;
    }
}

TEST_P(SigmaEditorTest, FixedClicksKeepExactlyOneGroup) {
    const struct {
        const char* from;
        const char* click;
        const char* fixed;  // the boxes of the fixed group, checked and disabled
    } cases[] = {{"chkC", "chkRR", "LL RR"}, {"chkC", "chkL", "L R"}, {"chkL", "chkR", "L R"},
                 {"chkC", "chkC", "C"},      {"chkRR", "chkC", "C"},  {"chkLL", "chkLL", "LL RR"}};
    for (const auto& c : cases) {
        Fix(c.from);
        Fix(c.click);
        const QStringList fixed = QString(c.fixed).split(' ');
        for (const char* part : {"LL", "L", "C", "R", "RR"}) {
            const std::string chk = std::string("chk") + part;
            EXPECT_EQ(Check(chk.c_str())->isChecked(), fixed.contains(part)) << c.click << part;
            EXPECT_EQ(Box(part)->isEnabled(), !fixed.contains(part)) << c.click << part;
        }
    }
    // From the keyboard as with the mouse; a press released off the box changes nothing.
    Check("chkLL")->setFocus();
    QTest::keyClick(Check("chkLL"), Qt::Key_Space);
    EXPECT_TRUE(Check("chkRR")->isChecked());
    QTest::mousePress(Check("chkC"), Qt::LeftButton);
    QTest::mouseRelease(Check("chkC"), Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_FALSE(Check("chkC")->isChecked());
    EXPECT_FALSE(Box("LL")->isEnabled());
    EXPECT_EQ(Stored(0), (SigmaWeights{4000, 2000, 1000}));
}

TEST_P(SigmaEditorTest, TypingIsPendingUntilEnterOrLeavingTheBox) {
    Type(Box("L"), "2500");
    EXPECT_TRUE(Red(Box("L")));
    EXPECT_EQ(Stored(0), (SigmaWeights{4000, 2000, 1000}));
    QTest::keyClick(Box("L"), Qt::Key_Return);
    EXPECT_FALSE(Red(Box("L")));
    EXPECT_EQ(Box("L")->text(), "2500");  // Enter went into no box
    EXPECT_EQ(Stored(0), (SigmaWeights{4000, 2500, 500}));

    Type(Box("RR"), "700");
    QTest::mouseClick(Box("L"), Qt::LeftButton);  // leaving the box applies as Enter does
    EXPECT_FALSE(Red(Box("RR")));
    EXPECT_EQ(Stored(0), (SigmaWeights{4000, 2300, 700}));

    // Letters give 0 for the entry.
    Type(Box("L"), "abc", true);
    EXPECT_EQ(Stored(0), (SigmaWeights{4000, 0, 3000}));

    // Focus going to another window leaves the entry pending.
    Type(Box("LL"), "100");
    auto* other = OpenWindow<QWidget>("mnuCtlHeadTemperature");
    QTest::mouseClick(other->findChild<QAbstractScrollArea*>("MSFlexGrid1")->viewport(),
                      Qt::LeftButton);
    ASSERT_TRUE(other->isAncestorOf(QApplication::focusWidget()));
    EXPECT_TRUE(Red(Box("LL")));
    EXPECT_EQ(Stored(0), (SigmaWeights{4000, 0, 3000}));
}

TEST_P(SigmaEditorTest, EntriesThatDoNotFitChangeNothing) {
    Spit(Path("odd." + QString(variant->extension)),
         FileBytes({-30000, 0, 0, 0, 0, 0, 0, 0, 4000, 2000, 1000}));
    const struct {
        const char* file;  // opened first, or none
        const char* entry;
        bool enter;  // else the box is left for another
    } cases[] = {{nullptr, "20000", true},   {nullptr, "40000", true}, {nullptr, "20000", false},
                 {nullptr, "-99999", false}, {"odd", "-16000", true},  {"odd", "-16000", false}};
    for (const auto& c : cases) {
        if (c.file) OpenFile(ed, QString(c.file) + "." + variant->extension);
        QTest::mouseClick(Box("L"), Qt::LeftButton);  // leaving the last box applies it
        const Words before = WordsOf(Table());
        const QStringList shown = {Box("LL")->text(), Box("C")->text(), Box("R")->text()};
        Type(Box("L"), c.entry, c.enter);
        if (!c.enter) QTest::mouseClick(Box("LL"), Qt::LeftButton);
        EXPECT_EQ(WordsOf(Table()), before) << c.entry;
        EXPECT_EQ(QStringList({Box("LL")->text(), Box("C")->text(), Box("R")->text()}), shown);
        EXPECT_EQ(Box("L")->text(), c.entry);
        EXPECT_TRUE(Red(Box("L"))) << c.entry;
    }
}

TEST_P(SigmaEditorTest, NodesMovedOnTheCurve) {
    // The C node of the fixed group springs back; nothing is stored.
    ed->Trazo1->setFocus();
    QTest::keyClick(ed->Trazo1, Qt::Key_Home);
    QTest::keyClick(ed->Trazo1, Qt::Key_Right);
    QTest::keyClick(ed->Trazo1, Qt::Key_Right);
    QTest::keyClick(ed->Trazo1, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(ed->Trazo1->PointValue(129), 4000);
    EXPECT_EQ(Stored(0), (SigmaWeights{4000, 2000, 1000}));

    // LL with group L fixed: LL and RR follow, C is reckoned again.
    Fix("chkL");
    ed->Trazo1->setFocus();
    QTest::keyClick(ed->Trazo1, Qt::Key_Home);
    QTest::keyClick(ed->Trazo1, Qt::Key_Up, Qt::ShiftModifier);
    ExpectShown({3800, 2000, 1100}, "LL node");
    EXPECT_EQ(Stored(0), (SigmaWeights{3800, 2000, 1100}));
    ed->Trazo1->setPointValue(256, 1234.5f);  // a node value between whole numbers, half to even
    emit ed->Trazo1->PointChanged(256);
    EXPECT_EQ(Stored(0), (SigmaWeights{3532, 2000, 1234}));
}

TEST_P(SigmaEditorTest, AllAskedThenEveryPlaneOrYellow) {
    ed->opbCyan->click();
    Type(Box("L"), "2500", true);
    AnswerBox(vbCancel);
    ed->opbAll->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Replace all data?");
    EXPECT_EQ(Boxes()[0].buttons, vbOKCancel);
    EXPECT_EQ(Boxes()[0].title, "RN-Tools");
    EXPECT_TRUE(ed->opbYellow->isChecked());
    ExpectShown({4000, 2000, 1000}, "cancel");
    EXPECT_EQ(Stored(0), (SigmaWeights{4000, 2000, 1000}));

    ed->opbCyan->click();
    AnswerBox(vbOK);
    ed->opbAll->click();
    EXPECT_EQ(ed->Trazo1->CurveColor(), static_cast<int32_t>(PlaneColor[PlaneAll]));
    for (int p = 0; p < 4; ++p) EXPECT_EQ(Stored(p), (SigmaWeights{4000, 2500, 500})) << p;
    Type(Box("LL"), "1000", true);
    for (int p = 0; p < 4; ++p) EXPECT_EQ(Stored(p), (SigmaWeights{4000, 2000, 1000})) << p;
}

TEST_P(SigmaEditorTest, TableFilesByTheWindowsExtension) {
    const QString ext = variant->extension;
    const QString otherExt = std::string(GetParam()) == "frmGSigma" ? "csg" : "gsg";
    // The other window's file under this window's extension is read as this window's table.
    const Words other = Distinct(7);
    Spit(Path("other." + otherExt), FileBytes(other));
    ASSERT_TRUE(QFile::copy(Path("other." + otherExt), Path("OTHER." + ext.toUpper())));
    const Words before = WordsOf(Table());
    OpenFile(ed, "other." + otherExt);  // another extension: nothing read, folder and caption set
    EXPECT_EQ(WordsOf(Table()), before);
    EXPECT_EQ(ed->windowTitle(), variant->caption + QString(" [other.") + otherExt + "]");
    EXPECT_EQ(LastDir, WorkDir() + "/");
    OpenFile(ed, "OTHER." + ext.toUpper());
    EXPECT_EQ(WordsOf(Table()), other);
    EXPECT_EQ(FileDialogs().back().title, "Open");
    EXPECT_EQ(FileDialogs().back().filter, "*." + ext + "|*." + ext + "|");
    EXPECT_EQ(Box("C")->text(), QString::number(other[0]));

    // Saved back byte for byte, words 3..7 included; over a longer file its tail stays.
    Spit(Path("long." + ext), std::string(80, 'x'));
    SaveFile(ed, "long." + ext);
    EXPECT_EQ(FileDialogs().back().title, "Save");
    EXPECT_EQ(Slurp(Path("long." + ext)), FileBytes(other) + std::string(16, 'x'));
    EXPECT_EQ(ed->windowTitle(), variant->caption + QString(" [long.") + ext + "]");

    // Short, missing, unwritable: told under the window's title, nothing changed.
    Spit(Path("short." + ext), FileBytes(Distinct(1)).substr(0, 63));
    const struct {
        const char* name;
        bool save;
        const char* message;
    } bad[] = {{"short.", false, "FileOpen Error"},
               {"missing.", false, "FileOpen Error"},
               {"pipe.", false, "FileOpen Error"},
               {"nowhere/x.", true, "FileSave Error"}};
    // A reader that opened the pipe would wait for a writer for good.
    const PipeWatchdog pipe(Path("pipe." + ext).toStdString());
    for (const auto& b : bad) {
        LastDir = "/elsewhere/";
        AnswerBox(vbOK);
        b.save ? SaveFile(ed, b.name + ext) : OpenFile(ed, b.name + ext);
        EXPECT_EQ(Boxes().back().text, b.message);
        EXPECT_EQ(Boxes().back().title, variant->errorTitle);
        EXPECT_EQ(WordsOf(Table()), other);
        EXPECT_EQ(LastDir, "/elsewhere/");
        EXPECT_EQ(ed->windowTitle(), variant->caption + QString(" [long.") + ext + "]");
    }
    EXPECT_FALSE(pipe.Fired()) << "Open waited on a pipe";
}

TEST_P(SigmaEditorTest, SetupStoresTheBoxesAsTheyStandAndWritesFourPlanes) {
    const std::string name = std::string(GetParam()) == "frmGSigma" ? "G_Sigma" : "C_Sigma";
    Type(Box("LL"), "1e9x");                         // no number: its word stays
    Type(Box("L"), "2500");                          // pending, stored raw: the sum need not hold
    for (int p = 0; p < 4; ++p) Table()(5, p) = 77;  // words 3..7 are not sent
    quillet_reset();
    Click(ed, "mnuSetPrinter");
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 4u);
    const char* suffix[] = {"_Y", "_M", "_C", "_OP"};
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(Parameter(blocks[p]), name + suffix[p]);
        EXPECT_EQ(BlockWords(blocks[p]),
                  (std::vector<int16_t>{4000, static_cast<int16_t>(p ? 2000 : 2500), 1000, 0, 0, 0,
                                        0, 0}));
    }
    // Closing stores the same way.
    Type(Box("L"), "2600");
    ed->parentWidget()->close();
    EXPECT_EQ(Stored(0), (SigmaWeights{4000, 2600, 1000}));
}

TEST_P(SigmaEditorTest, GetStopsAtTheFirstFailureAndIgnoresFocusMeanwhile) {
    const std::string name = std::string(GetParam()) == "frmGSigma" ? "G_Sigma" : "C_Sigma";
    ed->opbCyan->click();
    Type(Box("L"), "2500");
    notice.act = [&](int exchange) {
        if (exchange == 1) QTest::mouseClick(Box("LL"), Qt::LeftButton);  // would apply
        if (exchange == 3) quillet_fail_next(1);
    };
    AnswerBox(vbOK);
    Click(ed, "mnuGetPrinter");
    ASSERT_EQ(BoxTexts(), QStringList{"Printer not responding"});
    for (int p = 0; p < 2; ++p) {
        const auto held = PrinterWords((name + (p ? "_M" : "_Y")).c_str(), 3);
        EXPECT_EQ(Stored(p), (SigmaWeights{held[0], held[1], held[2]}));
    }
    for (int p = 2; p < 4; ++p) EXPECT_EQ(Stored(p), (SigmaWeights{4000, 2000, 1000}));
    EXPECT_EQ(Box("L")->text(), "2500");
    EXPECT_EQ(ed->windowTitle(), variant->caption);

    notice.act = nullptr;
    Click(ed, "mnuGetPrinter");
    EXPECT_EQ(ed->windowTitle(), variant->caption + QString(" [Printer]"));
    const auto held = PrinterWords((name + "_C").c_str(), 3);
    ExpectShown({held[0], held[1], held[2]}, "got");
}

}  // namespace
}  // namespace param_table_test
