// The three curve editors that show the colour engine's markers, and the
// strobe sum of the strobe gamma editor.
#include <QGroupBox>
#include <QLabel>
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
        JmEngine::UseLibrary("libJmEngine.so");
        ASSERT_TRUE(StartProgram());
        // E_Gamma rises by 40 a point, so the engine's pair of a plane is four times the points
        // where the curve reaches the plane's start and end levels.
        for (int p = 0; p < PlaneCount; ++p)
            for (int i = 0; i < CurvePoints; ++i)
                ColorDataSet.E_Gamma(i, p) = static_cast<int16_t>(40 * i);
        const int ranges[4][2] = {{400, 1000}, {0, 40}, {20000, 20000}, {4000, 2000}};
        for (int p = 0; p < PlaneCount; ++p) {
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
    static std::vector<int> Markers(CurveTableEditor* editor) {
        return {editor->Trazo1->Marker(0), editor->Trazo1->Marker(1), editor->Trazo1->Marker(2)};
    }
    // The markers of each plane's pair: (40, 100), (0, 4), (255, 255), (400, 200).
    const std::vector<std::vector<int>> planeMarkers = {
        {10, 25, 18}, {0, 1, 0}, {64, 64, 64}, {100, 50, 125}};
};

TEST_F(MarkerEditorTest, MarkersFollowThePlaneAndAllShowsPlaneZero) {
    for (const char* item :
         {"mnuCtlTemperatureCoefficient", "mnuCtlHumidityCoeffient", "mnuCtlStrobeGamma"}) {
        SCOPED_TRACE(item);
        CurveTableEditor* editor = OpenEditor(item);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(Markers(editor), planeMarkers[0]);
        QRadioButton* buttons[] = {editor->opbYellow, editor->opbMagenta, editor->opbCyan,
                                   editor->opbOp};
        for (int p : {2, 1, 3, 0, 2}) {
            QTest::mouseClick(buttons[p], Qt::LeftButton);
            EXPECT_EQ(Markers(editor), planeMarkers[p]) << "plane " << p;
        }
        AnswerBox(vbOK);
        QTest::mouseClick(editor->opbAll, Qt::LeftButton);
        ASSERT_EQ(editor->CurrentPlane, PlaneAll);
        EXPECT_EQ(Markers(editor), planeMarkers[0]);
    }
    // An editor without markers asks nothing of the engine.
    JmEngine::UseLibrary("libJmEngineMissing.so");
    EXPECT_NE(OpenEditor("mnuCtlHeadTemperature"), nullptr);
    EXPECT_EQ(Boxes().size(), 3u);  // the three "Replace all data?"
}

TEST_F(MarkerEditorTest, StrobeSumFollowsThePlaneAndEveryChangeOfTheCurve) {
    for (int i = 0; i < CurvePoints; ++i) {
        ColorDataSet.STB_Gamma(i, 0) = 1000;
        ColorDataSet.STB_Gamma(i, 1) = 3000;
        ColorDataSet.STB_Gamma(i, 2) = 0;
        ColorDataSet.STB_Gamma(i, 3) = 10000;
    }
    CurveTableEditor* editor = OpenEditor("mnuCtlStrobeGamma");
    ASSERT_NE(editor->txtStbSum, nullptr);
    EXPECT_EQ(editor->txtStbSum->parentWidget(), editor->Frame1);
    EXPECT_EQ(editor->findChild<QLabel*>("Label1")->text(), "nS");
    EXPECT_EQ(OpenEditor("mnuCtlTemperatureCoefficient")->findChild<QLineEdit*>("txtStbSum"),
              nullptr);
    MainForm->OpenChild("mnuCtlStrobeGamma");

    QRadioButton* buttons[] = {editor->opbYellow, editor->opbMagenta, editor->opbCyan,
                               editor->opbOp};
    QStringList shown;
    for (int p : {1, 2, 3, 0}) {
        QTest::mouseClick(buttons[p], Qt::LeftButton);
        EXPECT_EQ(editor->txtStbSum->text(), QString::number(StbSum[p]));
        shown << editor->txtStbSum->text();
    }
    EXPECT_EQ(shown[1], "0");
    EXPECT_EQ(shown.removeDuplicates(), 0);
    EXPECT_GT(shown[2].toInt(), shown[0].toInt());
    EXPECT_GT(shown[0].toInt(), shown[3].toInt());

    // A change on the curve is stored and the engine asked again at once.
    const QString before = editor->txtStbSum->text();
    editor->Trazo1->setPointValue(100, 9000);
    emit editor->Trazo1->PointChanged(100);
    EXPECT_EQ(ColorDataSet.STB_Gamma(100, 0), 9000);
    EXPECT_GT(editor->txtStbSum->text().toInt(), before.toInt());
    EXPECT_EQ(editor->txtStbSum->text(), QString::number(StbSum[0]));

    // The markers follow the E gamma range as it stands at that moment.
    ColorDataSet.EGammaRange(0, 0) = 800;
    editor->Trazo1->setPointValue(100, 9001);
    emit editor->Trazo1->PointChanged(100);
    EXPECT_EQ(Markers(editor), (std::vector<int>{20, 25, 22}));  // pair (80, 100); 22.5 to even
}

TEST_F(MarkerEditorTest, WithoutTheEngineTheEditorWorksAndSaysSoOnce) {
    JmEngine::UseLibrary("libJmEngineMissing.so");
    AnswerBox(vbOK);
    CurveTableEditor* editor = OpenEditor("mnuCtlStrobeGamma");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0].text.contains("libJmEngineMissing.so"));
    EXPECT_EQ(editor->txtStbSum->text(), "8000");
    QTest::mouseClick(editor->opbCyan, Qt::LeftButton);
    editor->Trazo1->setPointValue(10, 5000);
    emit editor->Trazo1->PointChanged(10);
    EXPECT_EQ(ColorDataSet.STB_Gamma(10, 2), 5000);
    EXPECT_EQ(Boxes().size(), 1u);

    JmEngine::UseLibrary("libJmEngine.so");
    QTest::mouseClick(editor->opbYellow, Qt::LeftButton);
    EXPECT_EQ(Markers(editor), planeMarkers[0]);
    EXPECT_EQ(editor->txtStbSum->text(), QString::number(StbSum[0]));
}

}  // namespace
