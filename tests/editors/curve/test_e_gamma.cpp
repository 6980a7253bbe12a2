#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cmath>

#include "core/curve_table_files.h"
#include "shell/app_globals.h"
#include "tests/editors/curve/curve_editor_fixture.h"

namespace {

class EGammaEditor : public CurveEditorTest {
protected:
    void SetUp() override {
        CurveEditorTest::SetUp();
        Open("frmEGamma");
        MainForm->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    }
    int16_t Start(int plane) const { return ColorDataSet.EGammaRange(0, plane); }
    int16_t End(int plane) const { return ColorDataSet.EGammaRange(1, plane); }
    QPoint OnCurve(int point, double value) const {
        const auto m = ed->Trazo1->Mapping();
        return QPoint(std::lround(m.XOfPoint(point)), std::lround(m.YOfValue(value)));
    }
    // The file image the editor writes: the curve's words, then start and end of each plane.
    std::string Image() const {
        std::string bytes;
        auto put = [&](int16_t w) { bytes += {char(w & 0xFF), char((w >> 8) & 0xFF)}; };
        for (int16_t w : ColorDataSet.E_Gamma.Words) put(w);
        for (int16_t w : ColorDataSet.EGammaRange.Words) put(w);
        return bytes;
    }
};

TEST_F(EGammaEditor, OpensWithTheLevelsOfPlaneZeroOnBoxesAndLines) {
    EXPECT_TRUE(MainForm->Item("mnuCtlE_Gamma")->isEnabled());
    EXPECT_EQ(ed->objectName(), "frmEGamma");
    EXPECT_EQ(ed->windowTitle(), "E Gamma");
    EXPECT_EQ(ed->txtSP->text(), "2000");
    EXPECT_EQ(ed->txtEP->text(), "8000");
    EXPECT_EQ(ed->Trazo1->LevelLine(0), 2000);
    EXPECT_EQ(ed->Trazo1->LevelLine(1), 8000);
    EXPECT_EQ(ed->txtSP->palette().color(QPalette::Text), QColor(0, 0, 0xFF));
    EXPECT_EQ(ed->txtEP->palette().color(QPalette::Text), QColor(0, 0xC0, 0));
    auto* sp = ed->Frame1->findChild<QLabel*>("Label1");
    auto* ep = ed->Frame1->findChild<QLabel*>("Label2");
    ASSERT_TRUE(sp && ep);
    EXPECT_EQ(sp->text(), "SP");
    EXPECT_EQ(ep->text(), "EP");
    EXPECT_EQ(sp->palette().color(QPalette::Window), QColor(0, 0, 0xFF));
    EXPECT_EQ(ep->palette().color(QPalette::Window), QColor(0, 0xC0, 0));
    EXPECT_EQ(sp->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(ed->TextMatrix(2, 1), "39");  // the curve editor's grid, as in the others
}

TEST_F(EGammaEditor, ABoxMovesItsLineWithinTheScaleAndStoresTheLevelAsWritten) {
    const struct {
        const char* text;
        int16_t line, stored;
    } cases[] = {
        {"12000", 10000, 12000}, {"-5", 0, -5},
        {"7000", 7000, 7000},    {"", 0, 0},
        {"abc", 0, 0},           {"12.5x", 12, 12},
        {" 30", 30, 30},         {"40000", 10000, 10000},
        {"-40000", 0, 0},        {"1e9", 10000, 10000},
    };
    for (int which = 0; which < 2; ++which) {
        QLineEdit* box = which == 0 ? ed->txtSP : ed->txtEP;
        for (const auto& c : cases) {
            box->setText(c.text);  // as a paste would
            EXPECT_EQ(box->text(), c.text);
            EXPECT_EQ(box->cursorPosition(), box->text().size());
            EXPECT_EQ(ed->Trazo1->LevelLine(which), c.line) << which << " " << c.text;
            EXPECT_EQ(ColorDataSet.EGammaRange(which, PlaneYellow), c.stored) << c.text;
            EXPECT_EQ(ColorDataSet.EGammaRange(which, PlaneMagenta), which == 0 ? 2000 : 8000);
        }
    }
    // Storing the grid reads the boxes by the same rule.
    ed->txtSP->setText("40000");
    ed->txtEP->setText("-5");
    ed->opbCyan->click();
    EXPECT_EQ(Start(PlaneYellow), 10000);
    EXPECT_EQ(End(PlaneYellow), -5);
}

TEST_F(EGammaEditor, ATypedLevelIsStoredAsTypedUntilTheBoxIsLeft) {
    ed->txtSP->setFocus();
    ASSERT_TRUE(ed->txtSP->hasFocus());
    ed->txtSP->selectAll();
    QTest::keyClicks(ed->txtSP, "12000");
    EXPECT_EQ(ed->txtSP->text(), "12000");
    EXPECT_EQ(ed->Trazo1->LevelLine(0), 10000);
    EXPECT_EQ(Start(PlaneYellow), 12000);

    // Setup takes the box as it stands: the printer gets 12000.
    quillet_reset();
    Click("mnuSetPrinter");
    ASSERT_TRUE(ed->txtSP->hasFocus());
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 8u);
    EXPECT_EQ(blocks[1][32] << 8 | blocks[1][33], 12000);

    ed->MSFlexGrid1->setFocus();
    EXPECT_EQ(ed->txtSP->text(), "10000");
    EXPECT_EQ(Start(PlaneYellow), 10000);
    EXPECT_EQ(ed->Trazo1->LevelLine(0), 10000);
}

TEST_F(EGammaEditor, LevelBoxesTakeDigitsOnly) {
    QLineEdit* box = ed->txtEP;
    box->setFocus();
    box->end(false);
    for (auto key : {Qt::Key_Backspace, Qt::Key_Minus, Qt::Key_A, Qt::Key_Period, Qt::Key_Return,
                     Qt::Key_Escape, Qt::Key_Space})
        QTest::keyClick(box, key);
    // Backspace with a modifier too: with Ctrl it would take the whole number at once.
    for (auto modifier : {Qt::ControlModifier, Qt::ShiftModifier, Qt::AltModifier})
        QTest::keyClick(box, Qt::Key_Backspace, modifier);
    EXPECT_EQ(box->text(), "8000");
    EXPECT_EQ(End(PlaneYellow), 8000);
    QTest::keyClick(box, Qt::Key_5);
    EXPECT_EQ(box->text(), "80005");
    EXPECT_EQ(End(PlaneYellow), 10000);  // beyond 16 bits: the top of the scale
    EXPECT_EQ(ed->Trazo1->LevelLine(1), 10000);

    // Delete and the arrows are no typing; after each change the caret is at the end again.
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), "0005");
    EXPECT_EQ(box->cursorPosition(), 4);
    EXPECT_EQ(End(PlaneYellow), 5);
    // Emptied, the box gives 0.
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), "");
    EXPECT_EQ(End(PlaneYellow), 0);
    EXPECT_EQ(ed->Trazo1->LevelLine(1), 0);
}

TEST_F(EGammaEditor, DraggingALevelLineWritesItsBoxAndTheLevel) {
    ed->Trazo1->setFocus();
    const QPoint from = OnCurve(16, 8000), to = OnCurve(16, 7000);
    QTest::mousePress(ed->Trazo1, Qt::LeftButton, Qt::NoModifier, from);
    for (int k = 1; k <= 4; ++k) QTest::mouseMove(ed->Trazo1, from + (to - from) * k / 4);
    QTest::mouseRelease(ed->Trazo1, Qt::LeftButton, Qt::NoModifier, to);
    const int16_t line = ed->Trazo1->LevelLine(1);
    EXPECT_NEAR(line, 7000, 50);
    EXPECT_EQ(ed->txtEP->text(), QString::number(line));
    EXPECT_EQ(End(PlaneYellow), line);
    EXPECT_EQ(Start(PlaneYellow), 2000);

    // What the control tells of a line moved to exactly 7000 at the start, and of no line.
    ed->Trazo1->setLevelLine(0, 7000);
    emit ed->Trazo1->LevelChanged(0);
    EXPECT_EQ(ed->txtSP->text(), "7000");
    EXPECT_EQ(Start(PlaneYellow), 7000);
    emit ed->Trazo1->LevelChanged(2);
    EXPECT_EQ(ed->txtSP->text(), "7000");
    EXPECT_EQ(ed->txtEP->text(), QString::number(line));
}

TEST_F(EGammaEditor, PlanesAndAllShowAndStoreTheirOwnLevels) {
    ModuleDataPro::SetEGammaStart(PlaneMagenta, 1500);
    ModuleDataPro::SetEGammaEnd(PlaneMagenta, 9000);
    ed->txtSP->setText("2100");
    ed->opbMagenta->click();
    EXPECT_EQ(Start(PlaneYellow), 2100);
    EXPECT_EQ(ed->txtSP->text(), "1500");
    EXPECT_EQ(ed->txtEP->text(), "9000");
    EXPECT_EQ(ed->Trazo1->LevelLine(0), 1500);
    EXPECT_EQ(ed->Trazo1->LevelLine(1), 9000);

    AnswerBox(vbOK);
    ed->opbAll->click();
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(Start(p), 1500) << p;
        EXPECT_EQ(End(p), 9000) << p;
    }
    ed->txtEP->setText("8500");
    for (int p = 0; p < 4; ++p) EXPECT_EQ(End(p), 8500) << p;

    // Closing stores what the boxes show.
    ed->opbCyan->click();
    ed->txtSP->setText("321");
    ed->parentWidget()->close();
    EXPECT_EQ(Start(PlaneCyan), 321);
}

TEST_F(EGammaEditor, BinaryFileIsTheCurveThenTheLevelsOfEachPlane) {
    for (int p = 0; p < 4; ++p) {
        ModuleDataPro::SetEGammaStart(p, static_cast<int16_t>(1000 + p));
        ModuleDataPro::SetEGammaEnd(p, static_cast<int16_t>(9000 + p));
    }
    ModuleDataPro::SetTableValue(Table(), PlaneCyan, 7, 4321);
    ed->txtSP->setText("1111");  // on show, so saved
    ChooseFile(Path("e.ega"));
    Click("mnuFileSave");
    EXPECT_EQ(FileDialogs().back().filter, "*.ega|*.ega|*.txt|*.txt|");
    const std::string saved = Slurp(Path("e.ega"));
    ASSERT_EQ(saved.size(), 2064u);
    EXPECT_EQ(saved, Image());
    // Plane 0 as its boxes show it: 1111 and 8000.
    EXPECT_EQ(saved.substr(2048, 4), std::string("\x57\x04\x40\x1F", 4));
    EXPECT_EQ(ed->windowTitle(), "E Gamma [e.ega]");

    // A start of -5 is shown as it is, with the line at the foot of the scale.
    std::string edited = saved;
    edited[2048] = char(0xFB);
    edited[2049] = char(0xFF);
    edited[2 * (2 * 256 + 7)] = 0;  // cyan point 7 := 4096
    edited[2 * (2 * 256 + 7) + 1] = 0x10;
    Spit(Path("minus.ega"), edited + "tail");
    ModuleDataPro::InitColorData();
    ChooseFile(Path("minus.ega"));
    Click("mnuFileOpen");
    EXPECT_EQ(ed->txtSP->text(), "-5");
    EXPECT_EQ(ed->Trazo1->LevelLine(0), 0);
    EXPECT_EQ(Start(PlaneYellow), -5);
    EXPECT_EQ(End(PlaneOp), 9003);
    EXPECT_EQ(Value(PlaneCyan, 7), 0x1000);
    EXPECT_EQ(Image(), edited);
    EXPECT_EQ(ed->windowTitle(), "E Gamma [minus.ega]");
}

TEST_F(EGammaEditor, TextFileCarriesTheCurveAndNoLevels) {
    ChooseFile(Path("e.txt"));
    Click("mnuFileSave");
    EXPECT_EQ(Slurp(Path("e.txt")), CurveTableTextFile::Format(TableWords(Table())));

    Words other{};
    for (int k = 0; k < 1024; ++k) other[k] = static_cast<int16_t>(k * 7);
    Spit(Path("other.txt"), CurveTableTextFile::Format(other));
    const EGammaRange levels = ColorDataSet.EGammaRange;
    ChooseFile(Path("other.txt"));
    Click("mnuFileOpen");
    EXPECT_EQ(Value(PlaneOp, 255), 1023 * 7);
    EXPECT_EQ(Value(PlaneMagenta, 3), (256 + 3) * 7);
    EXPECT_TRUE(ModuleDataPro::IsControlPoint(Table(), PlaneYellow, 255));
    EXPECT_EQ(ColorDataSet.EGammaRange.Words, levels.Words);
    EXPECT_EQ(ed->TextMatrix(4, 1), "21");
}

TEST_F(EGammaEditor, ShortMissingOrUnwritableFilesChangeNothing) {
    Spit(Path("short.ega"), Image().substr(0, 2063));
    for (const QString name : {"short.ega", "missing.ega"}) {
        const std::string before = Image();
        LastDir = "/elsewhere/";
        AnswerBox(vbOK);
        ChooseFile(Path(name));
        Click("mnuFileOpen");
        EXPECT_EQ(Boxes().back().text, "FileOpen Error");
        EXPECT_EQ(Boxes().back().title, "KT-Tools");
        EXPECT_EQ(Image(), before);
        EXPECT_EQ(LastDir, "/elsewhere/");
        EXPECT_EQ(ed->windowTitle(), "E Gamma");
    }
    AnswerBox(vbOK);
    ChooseFile(Path("nowhere/e.ega"));
    Click("mnuFileSave");
    EXPECT_EQ(Boxes().back().text, "FileSave Error");
    EXPECT_EQ(LastDir, "/elsewhere/");
    EXPECT_EQ(ed->windowTitle(), "E Gamma");
}

TEST_F(EGammaEditor, SetupSendsEachPlanesCurveThenItsLevels) {
    ModuleDataPro::SetEGammaStart(PlaneOp, 1234);
    quillet_reset();
    Click("mnuSetPrinter");
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 8u);
    const char* suffix[] = {"_Y", "_M", "_C", "_OP"};
    for (int p = 0; p < 4; ++p) {
        const auto& curve = blocks[2 * p];
        const auto& levels = blocks[2 * p + 1];
        EXPECT_EQ(Parameter(curve), std::string("E_Gamma") + suffix[p]);
        ASSERT_EQ(curve.size(), 32u + 512u);
        EXPECT_EQ(curve[32 + 2 * 255] << 8 | curve[33 + 2 * 255], 0x8000 | 9961);
        EXPECT_EQ(Parameter(levels), std::string("E_Gamma") + suffix[p] + "_SE");
        ASSERT_EQ(levels.size(), 32u + 4u);
        EXPECT_EQ(levels[32] << 8 | levels[33], p == 3 ? 1234 : 2000);
        EXPECT_EQ(levels[34] << 8 | levels[35], 8000);
    }

    // The curve of plane 2 fails: planes 0 and 1 went whole, plane 2's levels not at all.
    quillet_reset();
    FaultingNotice notice;
    notice.failAt = 5;
    SetBusyNotice(&notice);
    AnswerBox(vbOK);
    Click("mnuSetPrinter");
    SetBusyNotice(nullptr);
    ASSERT_EQ(Blocks().size(), 4u);
    EXPECT_EQ(Parameter(Blocks()[3]), "E_Gamma_M_SE");
    EXPECT_EQ(notice.count, 5);
    EXPECT_EQ(BoxTexts(), QStringList{"Printer not responding"});
}

TEST_F(EGammaEditor, GetReadsCurvesAndLevelsAndStopsAtAFault) {
    // The levels block of plane 2 fails: planes 0, 1 and the curve of 2 are in, nothing shown.
    FaultingNotice notice;
    notice.failAt = 6;
    SetBusyNotice(&notice);
    AnswerBox(vbOK);
    Click("mnuGetPrinter");
    SetBusyNotice(nullptr);
    EXPECT_EQ(BoxTexts(), QStringList{"Printer not responding"});
    EXPECT_EQ(Start(PlaneMagenta), 1850);
    EXPECT_EQ(Start(PlaneCyan), 2000);
    EXPECT_EQ(ed->windowTitle(), "E Gamma");
    EXPECT_EQ(ed->txtSP->text(), "2000");

    // The emulator's levels are 1800 + 50 p and 8200 - 50 p.
    Click("mnuGetPrinter");
    EXPECT_EQ(ed->windowTitle(), "E Gamma [Printer]");
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(Start(p), 1800 + 50 * p);
        EXPECT_EQ(End(p), 8200 - 50 * p);
    }
    EXPECT_EQ(ed->txtSP->text(), "1800");
    EXPECT_EQ(ed->txtEP->text(), "8200");
    EXPECT_EQ(ed->Trazo1->LevelLine(0), 1800);
    EXPECT_EQ(ed->TextMatrix(129, 1), QString::number(Value(PlaneYellow, 128)));
}

}  // namespace
