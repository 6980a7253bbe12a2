// Every read and setting dialog as its design gives it: name, title, client
// size, each control's name and caption, labels whole and clear of the
// controls beside them, the fixed frame, and the focus on "Get" where the
// dialog gives it there.
#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "shell/ui_units.h"
#include "tests/maintenance/maintenance_fixture.h"

namespace {

struct Design {
    const char* menuItem;
    const char* window;
    const char* title;
    double width, height;  // client area, twips
    // Every control by its design name, with its caption after "=" where it has one.
    const char* controls;
};

const Design Designs[] = {
    {"mnuOptionPrintSheetsCounter", "frmPrintSheetsCounter", "Print sheets counter", 3540, 2160,
     "Label1=Life counter:|labCounterL|Label2=Counter A:|labCounterA|cmdClearA=Clear A|"
     "Label3=Counter B:|labCounterB|cmdClearB=Clear B|cmdGet=Get"},
    {"mnuRibbonStatus", "frmRibbonStatus", "Ribbon Status", 3885, 3555,
     "Label1=Ribbon Counter:|txtRibbonCounter|Label2=Ribbon Lot No:|txtRibbonLotNo|"
     "Frame1=Offset|Label3=Yellowr:|txtOffsetYellow|Label4=Magenta:|txtOffsetMagenta|"
     "Label5=Cyan:|txtOffsetCyan|Label6=OP:|txtOffsetOP|cmdGet=Get"},
    {"mnuROMVersion", "frmROMVersion", "ROM Version", 5460, 1215,
     "Label1=ROM Version:|txtROMVersion|cmdGet=Get"},
    {"mnuVersionChk", "frmChecksum", "KTD Checksum", 4935, 1995,
     "Label1=KTD Version|Text1|Label2=KTD Checksum|Text2|Command1=Get"},
    {"mnuPrinterSerial", "frmPrinterSerial", "Printer Serial No", 5505, 1515,
     "Label1=Get Printer Serial No|Text1|Command1=Get"},
    {"mnuOptionSetupMedium", "frmSetupMedium", "Setup media", 3240, 1875,
     "Label1=Media:|Combo1|cmdGet=Get"},
    {"mnuOptionSetupHeadRank", "frmSetupHeadRank", "Setup headRank", 3240, 1875,
     "Label1=HeadRank:|Text1|cmdGet=Get|cmdSetup=Setup"},
    {"mnuOptionSetupHeatRank", "frmSetupHeatRank", "Setup HeatRank", 3240, 1875,
     "Label1=HeatRank:|Combo1=0|cmdGet=Get|cmdSetup=Setup"},
    {"mnuOptionSetupPSerial", "frmSetupSerialNo", "Printer Set Serial No", 5505, 1725,
     "Label1=Printer Serial No|Text1|Command2=Get|Command1=Setup"},
    {"mnuOptionSetupResolution", "frmSetupResolution", "", 3330, 2130,
     "Label1=Resolution|Text1=300|UpDown1|cmdSetup=Setup"},
};

void PrintTo(const Design& design, std::ostream* out) {
    *out << design.window;
}

QString TextOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* box = qobject_cast<QLineEdit*>(w)) return box->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(w)) return frame->title();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
    return {};
}

class LayoutTest : public MaintenanceTest, public ::testing::WithParamInterface<Design> {};

TEST_P(LayoutTest, DialogIsAsDesigned) {
    const Design& d = GetParam();
    QWidget* form = Open<QWidget>(d.menuItem);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->objectName(), d.window);
    EXPECT_EQ(form->windowTitle(), d.title);
    EXPECT_EQ(form->size(), QSize(TwipsToPx(d.width), TwipsToPx(d.height)));
    const Qt::WindowFlags frame = MainForm->mdiArea->activeSubWindow()->windowFlags();
    EXPECT_FALSE(frame & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(frame & Qt::WindowCloseButtonHint);

    for (const QString& control : QString(d.controls).split('|')) {
        SCOPED_TRACE(control.toStdString());
        const QStringList parts = control.split('=');
        auto* w = form->findChild<QWidget*>(parts[0]);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(TextOf(w), parts.value(1));
        auto* label = qobject_cast<QLabel*>(w);
        if (!label || label->text().isEmpty()) continue;
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
            << "the label's text is not cut";
        for (QWidget* other :
             w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != w) {
                EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                    << "runs into " << other->objectName().toStdString();
            }
        }
    }
    EXPECT_EQ(quillet_received_count(), 0) << "opening reads nothing";
}

INSTANTIATE_TEST_SUITE_P(ReadAndSettingDialogs, LayoutTest, ::testing::ValuesIn(Designs),
                         [](const auto& info) { return std::string(info.param.window); });

// The dialogs whose "Get" is cmdGet give it the focus whenever they become
// the active window, also after another window was active in between.
TEST_F(MaintenanceTest, GetHasTheFocusEachTimeTheDialogIsActivated) {
    for (const char* item : {"mnuOptionPrintSheetsCounter", "mnuOptionSetupMedium",
                             "mnuOptionSetupHeadRank", "mnuOptionSetupHeatRank"}) {
        SCOPED_TRACE(item);
        QWidget* form = Open<QWidget>(item);
        auto* get = form->findChild<QWidget*>("cmdGet");
        EXPECT_TRUE(get->hasFocus());
        // The user moves on within the dialog, then to another window and back.
        QWidget* other = form->findChild<QWidget*>("cmdClearA");
        if (!other) other = form->findChild<QWidget*>("Combo1");
        if (!other) other = form->findChild<QWidget*>("Text1");
        QTest::mouseClick(other, Qt::LeftButton);
        EXPECT_FALSE(get->hasFocus());
        Open<QWidget>("mnuOptionSetupResolution");
        EXPECT_FALSE(get->hasFocus());
        MainForm->OpenChild(item);
        QCoreApplication::processEvents();
        EXPECT_TRUE(get->hasFocus());
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
}

}  // namespace
