#include <QDir>
#include <QFileInfo>

#include "core/curve_table_files.h"
#include "core/parvel_link.h"
#include "shell/app_globals.h"
#include "shell/msgbox.h"
#include "tests/editors/curve/curve_editor_fixture.h"
#include "tests/support/pipe_watchdog.h"

namespace {

using CurveEditorFiles = CurveEditorTest;
INSTANTIATE_TEST_SUITE_P(Editors, CurveEditorFiles,
                         ::testing::Values("frmMHumidity", "frmCEpsilon"));

TEST_P(CurveEditorFiles, BinaryFileRoundTripsAllPlanesWithNodes) {
    Open();
    Press(5, 0);
    Press(3, 1);
    Type("4321");
    const Words saved = TableWords(Table());
    ChooseFile(Path("a." + Ext()));
    Click("mnuFileSave");
    ASSERT_EQ(FileDialogs().size(), 1u);
    EXPECT_EQ(FileDialogs()[0].kind, CommonDialog::Kind::Save);
    EXPECT_EQ(FileDialogs()[0].title, "Save");
    EXPECT_EQ(FileDialogs()[0].filter, "*." + Ext() + "|*." + Ext() + "|*.txt|*.txt|");
    EXPECT_EQ(Slurp(Path("a." + Ext())).size(), 2048u);
    EXPECT_EQ(ed->windowTitle(), Caption(" [a." + Ext() + "]"));
    EXPECT_EQ(LastDir, WorkDir() + "/");

    ModuleDataPro::InitColorData();
    LastDir = "/elsewhere/";
    // The extension test reads the last three letters, whatever their case.
    ASSERT_TRUE(QFile::copy(Path("a." + Ext()), Path("TABLE." + Ext().toUpper())));
    ChooseFile(Path("TABLE." + Ext().toUpper()));
    Click("mnuFileOpen");
    EXPECT_EQ(FileDialogs().back().title, "Open");
    EXPECT_EQ(FileDialogs().back().initDir, "/elsewhere/");
    EXPECT_EQ(TableWords(Table()), saved);
    EXPECT_EQ(ed->TextMatrix(3, 1), "4321");
    EXPECT_EQ(ed->TextMatrix(5, 0), "4 *");
    EXPECT_EQ(LastDir, WorkDir() + "/");
    EXPECT_EQ(ed->windowTitle(), Caption(" [TABLE." + Ext().toUpper() + "]"));
}

TEST_P(CurveEditorFiles, TextFileRoundTripsValuesAndKeepsNodes) {
    Open();
    Press(3, 1);
    Type("4321");
    ChooseFile(Path("t.txt"));
    Click("mnuFileSave");
    const std::string text = Slurp(Path("t.txt"));
    EXPECT_EQ(text.substr(0, 17), " 0 , 0 , 0 , 0 \r\n");
    EXPECT_EQ(text.substr(38, 23), " 4321 , 78 , 78 , 78 \r\n");

    // Another editor reads it: its values change, its nodes stay.
    Open("frmHTemp");
    ModuleDataPro::SetControlPoint(Table(), PlaneMagenta, 2, true);
    ChooseFile(Path("t.txt"));
    Click("mnuFileOpen");
    EXPECT_EQ(Value(PlaneYellow, 2), 4321);
    EXPECT_EQ(Value(PlaneMagenta, 2), 78);
    EXPECT_TRUE(ModuleDataPro::IsControlPoint(Table(), PlaneMagenta, 2));
    EXPECT_TRUE(ModuleDataPro::IsControlPoint(Table(), PlaneYellow, 0));
    EXPECT_EQ(ed->TextMatrix(3, 1), "4321");
    EXPECT_EQ(ed->windowTitle(), "Head Temperature [t.txt]");
}

TEST_P(CurveEditorFiles, OtherNamesReadNothingButMoveTheFolder) {
    Open();
    QDir(WorkDir()).mkdir("sub");
    for (const QString name : {"x.dat", "noext"}) {
        Spit(Path("sub/" + name), std::string(2048, '\x11'));
        const Words before = TableWords(Table());
        LastDir = "/elsewhere/";
        ChooseFile(Path("sub/" + name));
        Click("mnuFileOpen");
        EXPECT_EQ(TableWords(Table()), before);
        EXPECT_EQ(LastDir, WorkDir() + "/sub/");
        EXPECT_EQ(ed->windowTitle(), Caption(" [" + name + "]"));

        LastDir = "/elsewhere/";
        ChooseFile(Path("sub/y" + name));
        Click("mnuFileSave");
        EXPECT_FALSE(QFileInfo::exists(Path("sub/y" + name)));
        EXPECT_EQ(LastDir, WorkDir() + "/sub/");
    }
    CancelDialog();
    Click("mnuFileOpen");
    CancelDialog();
    Click("mnuFileSave");
    EXPECT_EQ(LastDir, WorkDir() + "/sub/");
    EXPECT_EQ(ed->windowTitle(), Caption(" [ynoext]"));
}

TEST_P(CurveEditorFiles, AllWithABinaryOpenReplacesEveryPlane) {
    Open();
    Words image{};
    for (int k = 0; k < 1024; ++k) image[k] = static_cast<int16_t>(k);
    image[256 + 3] = static_cast<int16_t>(0x8000 | 7);
    std::string bytes;
    for (int16_t w : image) bytes += {char(w & 0xFF), char((w >> 8) & 0xFF)};
    Spit(Path("in." + Ext()), bytes + "more than the image");
    AnswerBox(vbOK);
    ed->opbAll->click();
    ChooseFile(Path("in." + Ext()));
    Click("mnuFileOpen");
    EXPECT_EQ(TableWords(Table()), image);
    EXPECT_EQ(ed->TextMatrix(2, 1), "1");
    EXPECT_EQ(ed->CurrentPlane, PlaneAll);
}

TEST_P(CurveEditorFiles, BadFilesSayFileOpenErrorAndChangeNothing) {
    Open();
    const std::string good = CurveTableTextFile::Format(TableWords(Table()));
    const struct {
        QString name;
        std::string bytes;
    } cases[] = {
        {"short." + Ext(), std::string(2047, '\x01')},
        {"missing." + Ext(), ""},
        {"half.txt", good.substr(0, good.size() / 2)},
        {"fraction.txt", " 1.5 ," + good.substr(5)},
        {"big.txt", good.substr(0, good.size() - 9) + "40000 \r\n"},
        {"pipe." + Ext(), ""},
        {"pipe.txt", ""},
    };
    // Named pipes: a reader that opened one would wait for a writer for good.
    const PipeWatchdog rawPipe(Path("pipe." + Ext()).toStdString());
    const PipeWatchdog textPipe(Path("pipe.txt").toStdString());
    for (const auto& c : cases) {
        if (!c.name.startsWith("missing") && !c.name.startsWith("pipe"))
            Spit(Path(c.name), c.bytes);
        const Words before = TableWords(Table());
        LastDir = "/elsewhere/";
        const std::size_t shown = Boxes().size();
        AnswerBox(vbOK);
        ChooseFile(Path(c.name));
        Click("mnuFileOpen");
        ASSERT_EQ(Boxes().size(), shown + 1) << c.name.toStdString();
        EXPECT_EQ(Boxes().back().text, "FileOpen Error");
        EXPECT_EQ(Boxes().back().buttons, vbOKOnly);
        EXPECT_EQ(Boxes().back().title, variant->errorTitle);
        EXPECT_EQ(TableWords(Table()), before) << c.name.toStdString();
        EXPECT_EQ(LastDir, "/elsewhere/");
        EXPECT_EQ(ed->windowTitle(), Caption());
    }
    EXPECT_FALSE(rawPipe.Fired() || textPipe.Fired()) << "Open waited on a pipe";
}

TEST_P(CurveEditorFiles, SaveThatCannotBeWrittenSaysSo) {
    Open();
    AnswerBox(vbOK);
    ChooseFile(Path("nowhere/t.txt"));
    Click("mnuFileSave");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "FileSave Error");
    EXPECT_EQ(Boxes()[0].title, variant->errorTitle);
    EXPECT_EQ(ed->windowTitle(), Caption());
}

TEST_P(CurveEditorFiles, SetupWritesFourPlanesAndStopsAtAFault) {
    Open();
    Press(3, 1);
    Type("1234");
    Press(6, 0);
    quillet_reset();
    Click("mnuSetPrinter");
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 4u);
    const std::string name =
        std::string(GetParam()) == "frmMHumidity" ? "MediaHumidity" : "C_Epsilon";
    const char* suffix[] = {"_Y", "_M", "_C", "_OP"};
    for (int p = 0; p < 4; ++p) {
        ASSERT_EQ(blocks[p].size(), 544u);
        EXPECT_EQ(std::string(blocks[p].begin() + 2, blocks[p].begin() + 8), "TBL_WT");
        EXPECT_EQ(Parameter(blocks[p]), name + suffix[p]);
        for (int i = 0; i < 256; ++i) {
            const auto wire =
                static_cast<uint16_t>(blocks[p][32 + 2 * i] << 8 | blocks[p][33 + 2 * i]);
            ASSERT_EQ(wire, static_cast<uint16_t>(Table().Words[p * 256 + i])) << p << " " << i;
        }
    }
    EXPECT_EQ(blocks[0][32 + 2 * 2], 1234 >> 8);
    EXPECT_EQ(blocks[0][32 + 2 * 5] & 0x80, 0x80);

    quillet_reset();
    FaultingNotice notice;
    notice.failAt = 3;
    SetBusyNotice(&notice);
    AnswerBox(vbOK);
    Click("mnuSetPrinter");
    SetBusyNotice(nullptr);
    EXPECT_EQ(Blocks().size(), 2u);
    EXPECT_EQ(notice.count, 3);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Printer not responding");
    EXPECT_EQ(Boxes()[0].buttons, vbOKOnly);
    EXPECT_EQ(Boxes()[0].title, "RN-Tools");
}

TEST_P(CurveEditorFiles, GetReadsFourPlanesAndNamesThePrinter) {
    Open();
    Spit(Path("a." + Ext()), std::string(2048, '\0'));
    ChooseFile(Path("a." + Ext()));
    Click("mnuFileOpen");

    quillet_fail_next(1);
    AnswerBox(vbOK);
    Click("mnuGetPrinter");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Printer not responding");
    EXPECT_EQ(ed->windowTitle(), Caption(" [a." + Ext() + "]"));

    Click("mnuGetPrinter");
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(ed->windowTitle(), Caption(" [Printer]"));
    EXPECT_NE(Value(PlaneOp, 128), 0);
    EXPECT_EQ(ed->TextMatrix(129, 1), QString::number(Value(PlaneYellow, 128)));
}

// Every window is on the menu and sends its own table under its own name.
using CurveEditorMenu = CurveEditorTest;
TEST_F(CurveEditorMenu, EachWindowOpensFromItsItemAndSendsItsOwnTable) {
    const char* names[] = {"HeadTemp", "MediaTemp", "TempCoef",      "STB_Gamma",
                           "C_Gamma",  "C_Theta",   "C_Epsilon",     "G_Gamma",
                           "G_Theta",  "G_Epsilon", "E_Epsilon",     "I_Gamma",
                           "I_Theta",  "I_Epsilon", "MediaHumidity", "HumidityCoef"};
    ASSERT_EQ(CurveEditorVariants().size(), 16u);
    for (std::size_t k = 0; k < 16; ++k) {
        const auto& v = CurveEditorVariants()[k];
        EXPECT_TRUE(MainForm->Item(v.menuItem)->isEnabled()) << v.window;
        Open(v.window);
        ASSERT_NE(ed, nullptr) << v.window;
        EXPECT_EQ(ed->objectName(), v.window);
        EXPECT_EQ(ed->windowTitle(), v.caption);
        Press(2, 1);
        Type(QString::number(k + 1));
        quillet_reset();
        Click("mnuSetPrinter");
        const auto blocks = Blocks();
        ASSERT_EQ(blocks.size(), 4u) << v.window;
        EXPECT_EQ(Parameter(blocks[0]), std::string(names[k]) + "_Y");
        EXPECT_EQ(blocks[0][35], k + 1) << v.window;
    }
}

}  // namespace
