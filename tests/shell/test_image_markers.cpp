// The curve editors that show the colour engine's markers, and the strobe sum.
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "core/colour_data.h"
#include "core/engine_link.h"
#include "editors/curve/curve_table_editor.h"
#include "platform/trazo/trazo.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"
#include "tests/support/gui_test.h"

namespace {

class MarkerEditorTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(StartProgram());
        // E_Gamma rising by 40 a point: the engine's pairs are (40, 100), (0, 4), (255, 255)
        // and (400, 200); the strobe sums differ by plane.
        const int ranges[4][2] = {{400, 1000}, {0, 40}, {20000, 20000}, {4000, 2000}};
        for (int p = 0; p < PlaneCount; ++p) {
            for (int i = 0; i < CurvePoints; ++i) {
                ColorDataSet.E_Gamma(i, p) = static_cast<int16_t>(40 * i);
                ColorDataSet.STB_Gamma(i, p) = static_cast<int16_t>(p == 2 ? 0 : 1000 + 2000 * p);
            }
            ColorDataSet.EGammaRange(0, p) = static_cast<int16_t>(ranges[p][0]);
            ColorDataSet.EGammaRange(1, p) = static_cast<int16_t>(ranges[p][1]);
        }
    }
    void TearDown() override {
        JmEngine::UseLibrary("libJmEngine.so");
        GuiTest::TearDown();
    }
    CurveTableEditor* OpenEditor(const char* item) {
        return qobject_cast<CurveTableEditor*>(MainForm->OpenChild(item));
    }
    static std::vector<int> Markers(CurveTableEditor* e) {
        return {e->Trazo1->Marker(0), e->Trazo1->Marker(1), e->Trazo1->Marker(2)};
    }
    static QString SumText(CurveTableEditor* e) {
        return e->txtStbSum ? e->txtStbSum->text() : QString();
    }
    static QRadioButton* Button(CurveTableEditor* e, int plane) {
        return std::array{e->opbYellow, e->opbMagenta, e->opbCyan, e->opbOp}[plane];
    }
    const std::vector<std::vector<int>> planeMarkers = {
        {10, 25, 18}, {0, 1, 0}, {64, 64, 64}, {100, 50, 125}};
};

TEST_F(MarkerEditorTest, MarkersAndStrobeSumFollowThePlaneAndAllShowsPlaneZero) {
    for (const char* item :
         {"mnuCtlTemperatureCoefficient", "mnuCtlHumidityCoeffient", "mnuCtlStrobeGamma"}) {
        SCOPED_TRACE(item);
        CurveTableEditor* editor = OpenEditor(item);
        const bool strobe = std::string(item) == "mnuCtlStrobeGamma";
        ASSERT_EQ(editor->txtStbSum != nullptr, strobe);
        for (int p : {0, 2, 1, 3}) {
            QTest::mouseClick(Button(editor, p), Qt::LeftButton);
            EXPECT_EQ(Markers(editor), planeMarkers[p]) << "plane " << p;
            EXPECT_EQ(SumText(editor), strobe ? QString::number(StbSum[p]) : "");
        }
        AnswerBox(vbOK);
        QTest::mouseClick(editor->opbAll, Qt::LeftButton);
        EXPECT_EQ(Markers(editor), planeMarkers[0]);
        EXPECT_EQ(SumText(editor), strobe ? QString::number(StbSum[0]) : "");
    }
}

TEST_F(MarkerEditorTest, EveryCurveChangeAsksTheEngineAgain) {
    CurveTableEditor* editor = OpenEditor("mnuCtlStrobeGamma");
    QTest::mouseClick(editor->opbCyan, Qt::LeftButton);
    EXPECT_EQ(editor->txtStbSum->text(), "0");
    ColorDataSet.EGammaRange(0, 2) = 800;  // the pair becomes (80, 255)
    editor->Trazo1->setPointValue(100, 9000);
    emit editor->Trazo1->PointChanged(100);
    EXPECT_EQ(ColorDataSet.STB_Gamma(100, 2), 9000);
    EXPECT_GT(editor->txtStbSum->text().toInt(), 0);
    EXPECT_EQ(Markers(editor), (std::vector<int>{20, 64, 42}));
}

TEST_F(MarkerEditorTest, WithoutTheEngineTheEditorWorksAndSaysSoOnce) {
    JmEngine::UseLibrary("libJmEngineMissing.so");
    AnswerBox(vbOK);
    CurveTableEditor* editor = OpenEditor("mnuCtlStrobeGamma");
    EXPECT_TRUE(Boxes().at(0).text.contains("libJmEngineMissing.so"));
    EXPECT_EQ(editor->txtStbSum->text(), "8000");
    QTest::mouseClick(editor->opbCyan, Qt::LeftButton);
    editor->Trazo1->setPointValue(10, 5000);
    emit editor->Trazo1->PointChanged(10);
    EXPECT_EQ(ColorDataSet.STB_Gamma(10, 2), 5000);
    EXPECT_EQ(Boxes().size(), 1u);
}

}  // namespace
