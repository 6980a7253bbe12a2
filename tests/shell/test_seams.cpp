// The program's seams: message boxes, the dialog component, units, and the
// one catch of the event loop.
#include <QApplication>
#include <QEvent>
#include <QTest>

#include "core/colour_data.h"
#include "shell/common_dialog.h"
#include "shell/msgbox.h"
#include "shell/program_end.h"
#include "shell/ui_units.h"
#include "tests/support/gui_test.h"

namespace {

using SeamTest = GuiTest;

TEST(UiUnits, TwipsAndColours) {
    const std::pair<double, int> twips[] = {{0, 0},     {7, 0},      {8, 1},      {15, 1},
                                            {1000, 67}, {3900, 260}, {6500, 433}, {-1000, -67}};
    for (const auto& [in, px] : twips) EXPECT_EQ(TwipsToPx(in), px) << in;
    EXPECT_EQ(PxToTwips(67), 1005);

    const std::pair<uint32_t, QColor> colours[] = {
        {0x000000FF, QColor(255, 0, 0)},
        {0x00FF0000, QColor(0, 0, 255)},
        {0x0000C0C0, QColor(0xC0, 0xC0, 0)},
        {0x00FFFF00, QColor(0, 0xFF, 0xFF)},
    };
    for (const auto& [bgr, colour] : colours) EXPECT_EQ(BgrColor(bgr), colour) << bgr;
}

TEST_F(SeamTest, MessageBoxesCarryTheProgramsTitleUnlessGiven) {
    AnswerBox(vbNo);
    AnswerBox(vbOK);
    EXPECT_EQ(MsgBox("Replace all data?", vbYesNo + vbQuestion), vbNo);
    EXPECT_EQ(MsgBox("FileOpen Error", vbOKOnly, "KT-Tools"), vbOK);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].title, "RN-Tools");
    EXPECT_EQ(Boxes()[0].buttons, vbYesNo + vbQuestion);
    EXPECT_EQ(Boxes()[1].title, "KT-Tools");
}

TEST_F(SeamTest, DialogPropertiesAndFlagsStayBetweenUses) {
    CommonDialog dialog;
    dialog.Flags = cdlPDNoSelection | cdlPDDisablePrintToFile;
    ConfirmPrintDialog();
    EXPECT_TRUE(dialog.ShowPrinter());

    dialog.DialogTitle = "Open";
    dialog.InitDir = "/data";
    dialog.Filter = "*.ktd|*.ktd|";
    ChooseFile("set1.KTD");
    EXPECT_TRUE(dialog.ShowOpen());
    EXPECT_EQ(dialog.FileName, WorkDir() + "/set1.KTD");
    EXPECT_EQ(dialog.FileTitle, "set1.KTD");
    ASSERT_EQ(FileDialogs().size(), 2u);
    EXPECT_EQ(FileDialogs()[1].kind, CommonDialog::Kind::Open);
    EXPECT_EQ(FileDialogs()[1].title, "Open");
    EXPECT_EQ(FileDialogs()[1].initDir, "/data");
    EXPECT_EQ(FileDialogs()[1].flags, 0x80004);  // the print dialog's flags remain

    CancelDialog();
    EXPECT_FALSE(dialog.ShowSave());
    EXPECT_EQ(dialog.FileName, WorkDir() + "/set1.KTD");  // a cancel changes nothing

    dialog.CancelError = true;
    CancelDialog();
    try {
        dialog.ShowSave();
        ADD_FAILURE() << "no cancel error";
    } catch (const CommonDialogCancelled& cancelled) {
        EXPECT_EQ(cancelled.Number, 32755);
    }
}

// An exception that leaves an event handler is reported once, and the
// program and its colour data go on as they were.
TEST_F(SeamTest, AnUnexpectedFailureInAHandlerIsReportedAndTheDataKept) {
    class Faulty : public QObject {
    protected:
        bool event(QEvent* e) override {
            if (e->type() == QEvent::User) {
                throw std::runtime_error("grid out of step");
            }
            return QObject::event(e);
        }
    } faulty;
    ColorDataSet.ReservedWord = 7;
    AnswerBox(vbOK);
    QEvent event(QEvent::User);
    QApplication::sendEvent(&faulty, &event);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0].text.contains("grid out of step"));
    EXPECT_EQ(Boxes()[0].buttons, vbCritical);
    EXPECT_FALSE(Module1::ProgramEnded());
    EXPECT_EQ(ColorDataSet.ReservedWord, 7);
}

}  // namespace
