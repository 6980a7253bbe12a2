// Every box of every window shows the widest value of its field whole, from its first
// character, and keeps clear of the controls beside it.
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QTest>

#include "platform/quillet/quillet_control.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"
#include "tests/shell/window_items.h"
#include "tests/support/gui_test.h"

namespace {

// The widest text of each field: a window's boxes by a pattern of their names.
struct Field {
    const char* window;  // pattern of window names
    const char* boxes;   // pattern of box names
    const char* widest;
};

const Field Fields[] = {
    {"frm[GC]Sigma", "[GC]Sigma(LL|L|C|R|RR)", "-32768"},
    // Coefficients as far as their spin buttons go, and the sum those give at divisor 16.
    {"frmGOmega", "txt[A-G]", "255"},
    {"frmGOmega", "txtDivisor", "-32768"},
    {"frmGOmega", "txtSumTotal", "-63.75"},
    {"frmGDelta", "txt.*", "255"},
    {"frmPrintMode", "txtSTBpitch|txtSTBCalcCoef", "-32768"},
    {"frmPrintMode", "txtOPData", "255"},
    {"frmStartCmpData", "txt.*", "-10"},
    {"frmMechanismAdjustment", "txt.*", "-10.0"},
    {"frmRibbonStatus", "txtRibbonCounter", "-2147483648"},
    {"frmRibbonStatus", "txtRibbonLotNo", "ML0123456789ABCD"},
    {"frmRibbonStatus", "txtOffset.*", "245"},
    {"frmROMVersion", "txtROMVersion", "V1.23.45A"},
    {"frmChecksum", "Text1", "DEMO_V2.KTD_0123456789012345678"},
    {"frmChecksum", "Text2", "FFFFFFFF"},
    {"frmPrinterSerial|frmSetupSerialNo", "Text1", "012345678901234567890123456789"},
    {"frmSetupHeadRank", "Text1", "9999"},
    {"frmSetupResolution", "Text1", "600"},
    {"frmPrinterStatus", "txtPrinterStatus", "Pinch Roller Position Error"},
    // The curve editors' cell entry holds a table value; the strobe sum and the levels too.
    {"frm.*", "Text1|txtStbSum|txtSP|txtEP", "-32768"},
};

bool Matches(const char* pattern, const QString& name) {
    return QRegularExpression(QRegularExpression::anchoredPattern(QString::fromLatin1(pattern)))
        .match(name)
        .hasMatch();
}

const Field* FieldOf(const QWidget* window, const QLineEdit* box) {
    for (const Field& f : Fields) {
        if (Matches(f.window, window->objectName()) &&
            Matches(f.boxes, box->objectName().section('(', 0, 0)))
            return &f;
    }
    return nullptr;
}

int CaretX(QLineEdit* box) {
    return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
}

class BoxWidthTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(StartProgram());
    }
};

TEST_F(BoxWidthTest, EveryBoxShowsTheWidestValueOfItsFieldWhole) {
    SetMsgBoxResponder([](const QString&, int, const QString&) { return vbOK; });
    const QList<QAction*> items = WindowItems();
    MainForm->show();
    int walked = 0;
    for (QAction* item : items) {
        item->trigger();
        QCoreApplication::processEvents();
        QWidget* window = MainForm->mdiArea->activeSubWindow()->widget();
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
            if (box->parentWidget()->inherits("QComboBox")) continue;  // the list's own entry
            const QString name = window->objectName() + "." + box->objectName();
            SCOPED_TRACE(name.toStdString());
            const Field* field = FieldOf(window, box);
            ASSERT_NE(field, nullptr) << "a box without a field";
            const bool hidden = box->isHidden();
            box->show();  // the grid's cell entry shows only while a cell is edited
            box->setText(QString::fromLatin1(field->widest));
            box->setCursorPosition(box->text().size());
            box->grab();  // lays the line out with the caret at its end
            box->setCursorPosition(0);
            const int atEnd = CaretX(box);
            box->grab();  // and with the caret at its start
            EXPECT_EQ(atEnd, CaretX(box)) << "scrolled by " << CaretX(box) - atEnd << " px";
            EXPECT_GE(box->font().pointSizeF(), 6.0);
            for (QWidget* other :
                 box->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                // A spin button stands on its box's last pixel, as the designs place it.
                if (other != box && other->x() > box->x() && !other->isHidden()) {
                    EXPECT_FALSE(
                        box->geometry().adjusted(0, 0, -1, 0).intersects(other->geometry()))
                        << "runs into " << other->objectName().toStdString();
                }
            }
            if (hidden) box->hide();
            ++walked;
        }
    }
    EXPECT_GT(walked, 100);
}

// A text wider than its box, as the printer may send it, shows its start.
TEST_F(BoxWidthTest, ATextWiderThanItsBoxShowsItsStart) {
    MainForm->show();
    QWidget* window = MainForm->OpenChild("mnuROMVersion");
    QCoreApplication::processEvents();
    auto* box = window->findChild<QLineEdit*>("txtROMVersion");
    ASSERT_NE(box, nullptr);
    const std::string version = "EMU " + std::string(80, '7') + " end";
    ASSERT_EQ(quillet_set_setting(nullptr, "firmware", version.c_str()), 1);
    QTest::mouseClick(window->findChild<QWidget*>("cmdGet"), Qt::LeftButton);
    ASSERT_EQ(box->text().toStdString(), version);
    box->grab();
    const int shown = CaretX(box);
    box->setCursorPosition(0);
    box->grab();
    EXPECT_EQ(shown, CaretX(box)) << "the start is scrolled out";
}

}  // namespace
