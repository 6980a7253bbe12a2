#include "tests/editors/curve/curve_editor_fixture.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

INSTANTIATE_TEST_SUITE_P(Editors, CurveEditorTest,
                         ::testing::Values("frmMHumidity", "frmCEpsilon"));

TEST_P(CurveEditorTest, LoadShowsPlaneZeroWithHeaderCurrent) {
    Open();
    EXPECT_EQ(ed->windowTitle(), variant->caption);
    EXPECT_EQ(ed->objectName(), GetParam());
    EXPECT_EQ(ed->TextMatrix(0, 0), "  Num");
    EXPECT_EQ(ed->TextMatrix(0, 1), "Coef.");
    EXPECT_EQ(ed->MSFlexGrid1->rowCount() + 1, 257);
    EXPECT_EQ(ed->TextMatrix(1, 0), "0 *");
    EXPECT_EQ(ed->TextMatrix(2, 0), "1  ");
    EXPECT_EQ(ed->TextMatrix(2, 1), "39");
    EXPECT_EQ(ed->TextMatrix(256, 1), "9961");
    EXPECT_EQ(ed->Row(), 0);
    EXPECT_TRUE(ed->opbYellow->isChecked());
    EXPECT_EQ(ed->Trazo1->PointValue(255), 9961.0f);
    EXPECT_TRUE(ed->Trazo1->NodeFlag(255));
    EXPECT_FALSE(ed->Trazo1->NodeFlag(1));
    EXPECT_EQ(ed->Trazo1->CurveColor(), 0x0000C0C0);
}

TEST_P(CurveEditorTest, EnterStoresTheEntryRoundedAndLimited) {
    Open();
    const struct {
        const char* typed;
        int16_t stored;
    } cases[] = {{"12.5", 12}, {"13.5", 14},   {"-7", 0},      {"10001", 10000}, {"abc", 0},
                 {"", 0},      {"&H100", 256}, {"1 2 3", 123}, {"99999", 10000}, {"&O17", 15}};
    for (const auto& c : cases) {
        Press(5, 1);
        Type(c.typed);
        EXPECT_EQ(Value(PlaneYellow, 4), c.stored) << c.typed;
        EXPECT_EQ(ed->TextMatrix(5, 1), QString::number(c.stored)) << c.typed;
        EXPECT_EQ(ed->Row(), 6) << c.typed;
        EXPECT_TRUE(ed->Text1->isHidden());
    }
    EXPECT_EQ(Value(PlaneMagenta, 4), 156);  // other planes untouched
}

TEST_P(CurveEditorTest, EnterMovesDownAndScrollsAtTheSeventeenthRow) {
    Open();
    const struct {
        int top, row, rowAfter, topAfter;
    } cases[] = {{1, 17, 18, 18}, {1, 16, 17, 1}, {100, 116, 117, 117}, {241, 256, 256, 241}};
    for (const auto& c : cases) {
        Press(c.row, 1);
        ed->SetTopRow(c.top);
        ASSERT_EQ(ed->TopRow(), c.top);
        Type("77");
        EXPECT_EQ(Value(PlaneYellow, c.row - 1), 77);
        EXPECT_EQ(ed->Row(), c.rowAfter) << c.row;
        EXPECT_EQ(ed->TopRow(), c.topAfter) << c.row;
        EXPECT_EQ(ed->Col(), c.rowAfter != c.row ? 1 : 0);
    }
}

TEST_P(CurveEditorTest, CurveChangeFillsGridAndTableAndShowsThePoint) {
    Open();
    Press(4, 0);
    Press(101, 0);
    ed->Trazo1->setFocus();
    QTest::keyClick(ed->Trazo1, Qt::Key_Home);
    QTest::keyClick(ed->Trazo1, Qt::Key_Right);
    QTest::keyClick(ed->Trazo1, Qt::Key_Up);
    EXPECT_EQ(Value(PlaneYellow, 3), 118);
    EXPECT_EQ(ed->TextMatrix(4, 1), "118");
    EXPECT_EQ(ed->Row(), 4);
    EXPECT_EQ(ed->TopRow(), 1);

    QTest::keyClick(ed->Trazo1, Qt::Key_Right);
    QTest::keyClick(ed->Trazo1, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Value(PlaneYellow, 100), 4006);
    EXPECT_EQ(ed->Row(), 101);
    EXPECT_EQ(ed->TopRow(), 93);
    EXPECT_TRUE(ModuleDataPro::IsControlPoint(Table(), PlaneYellow, 100));

    // The grid takes the floor of each curve value.
    ed->Trazo1->setPointValue(10, 55.9f);
    emit ed->Trazo1->PointChanged(10);
    EXPECT_EQ(Value(PlaneYellow, 10), 55);
    EXPECT_EQ(ed->TextMatrix(11, 1), "55");
}

TEST_P(CurveEditorTest, AllAskedThenCopiesOrFallsBackToYellow) {
    Open();
    ed->opbCyan->click();
    Press(3, 1);
    Type("500");
    Press(8, 0);  // point 7 becomes a node of cyan

    AnswerBox(vbCancel);
    ed->opbAll->click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "Replace all data?");
    EXPECT_EQ(Boxes()[0].buttons, vbOKCancel);
    EXPECT_EQ(Boxes()[0].title, "RN-Tools");
    EXPECT_TRUE(ed->opbYellow->isChecked());
    EXPECT_EQ(ed->CurrentPlane, PlaneYellow);
    EXPECT_EQ(ed->TextMatrix(3, 1), "78");

    ed->opbCyan->click();
    AnswerBox(vbOK);
    ed->opbAll->click();
    EXPECT_EQ(ed->CurrentPlane, PlaneAll);
    EXPECT_EQ(ed->Trazo1->CurveColor(), 0x000000FF);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(Value(p, 2), 500) << p;
        EXPECT_TRUE(ModuleDataPro::IsControlPoint(Table(), p, 7)) << p;
    }
    // While ALL stays selected, commits and curve changes reach every plane.
    Press(10, 1);
    Type("9");
    for (int p = 0; p < 4; ++p) EXPECT_EQ(Value(p, 9), 9) << p;
    ed->Trazo1->setFocus();
    QTest::keyClick(ed->Trazo1, Qt::Key_Home);
    QTest::keyClick(ed->Trazo1, Qt::Key_Right);
    QTest::keyClick(ed->Trazo1, Qt::Key_Up);
    ed->opbMagenta->click();
    EXPECT_EQ(Value(PlaneYellow, 7), 274);
    for (int i = 0; i < 256; ++i) {
        for (int p = 1; p < 4; ++p) ASSERT_EQ(Value(p, i), Value(PlaneYellow, i)) << p << " " << i;
    }
}

TEST_P(CurveEditorTest, PressInColumnZeroTogglesThePointOfThatRow) {
    Open();
    Press(5, 0);
    EXPECT_EQ(ed->TextMatrix(5, 0), "4 *");
    EXPECT_TRUE(ed->Trazo1->NodeFlag(4));
    EXPECT_TRUE(ModuleDataPro::IsControlPoint(Table(), PlaneYellow, 4));
    Press(5, 0);
    EXPECT_EQ(ed->TextMatrix(5, 0), "4  ");
    EXPECT_FALSE(ed->Trazo1->NodeFlag(4));
    EXPECT_FALSE(ModuleDataPro::IsControlPoint(Table(), PlaneYellow, 4));
    EXPECT_EQ(Value(PlaneYellow, 4), 156);

    // A press drops an open editor without storing it.
    Press(6, 1);
    QTest::keyClick(ed->MSFlexGrid1, '3');
    ASSERT_TRUE(ed->Text1->isVisible());
    Press(9, 1);
    EXPECT_TRUE(ed->Text1->isHidden());
    EXPECT_EQ(Value(PlaneYellow, 5), 195);
}

TEST_P(CurveEditorTest, NoEditorWhileTheHeaderRowIsCurrent) {
    Open();
    QTest::keyClick(ed->MSFlexGrid1, '5');
    QTest::mouseDClick(ed->MSFlexGrid1->horizontalHeader()->viewport(), Qt::LeftButton, {},
                       QPoint(10, 5));
    EXPECT_TRUE(ed->Text1->isHidden());
    EXPECT_EQ(ed->Row(), 0);

    Press(7, 1, true);
    EXPECT_TRUE(ed->Text1->isVisible());
    EXPECT_EQ(ed->Text1->text(), "234");
    EXPECT_EQ(ed->Text1->selectedText(), "234");
}

TEST_P(CurveEditorTest, ClosingStoresNodesSetOnTheCurve) {
    Open();
    ed->Trazo1->setNodeFlag(9, true);
    ed->parentWidget()->close();
    EXPECT_TRUE(ModuleDataPro::IsControlPoint(Table(), PlaneYellow, 9));
}

}  // namespace
