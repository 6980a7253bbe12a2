// The main menu: every item as the design gives it, what is enabled, the
// Window list and how child windows are opened.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <iostream>

#include "shell/app_globals.h"
#include "shell/child_windows.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"
#include "tests/shell/window_items.h"
#include "tests/support/gui_test.h"

namespace {

// A window kind that counts its loads and unloads.
struct Counts {
    int loads = 0;
    int unloads = 0;
};
Counts first, second;

class CountingWindow : public QLabel {
public:
    CountingWindow(const QString& caption, Counts& counts) : QLabel(caption), counts_(counts) {
        setWindowTitle(caption);
        ++counts_.loads;
    }
    ~CountingWindow() override { ++counts_.unloads; }

private:
    Counts& counts_;
};

ChildWindowRegistration firstRegistration("testFirstWindow",
                                          [] { return new CountingWindow("First", first); });
ChildWindowRegistration secondRegistration("testSecondWindow",
                                           [] { return new CountingWindow("Second", second); });

// One row a menu entry: "caption|control|shortcut", "-" for a separator line.
const std::vector<std::pair<QString, QStringList>> MenuTree = {
    {"File(&F)|mnuFile",
     {"Open(&O)...|mnuFileOpen|Ctrl+O", "SaveAs(&A)...|mnuFileSaveAs|Ctrl+S", "-",
      "Print(&P)...|mnuFilePrint|Ctrl+P", "-", "Port setting(&R)...|mnuPortSetting|Ctrl+R", "-",
      "Exit(&X)|mnuFileExit|Ctrl+X"}},
    {"Simulation(&S)|mnuFileSimulation",
     {"ceramicTemp Yellow",
      "ceramicTemp Magenta",
      "ceramicTemp Cyan",
      "-",
      "glazeTemp Yellow",
      "glazeTemp Magenta",
      "glazeTemp Cyan",
      "-",
      "ceramicGamma",
      "glazeGamma",
      "ceramic glazeGamma",
      "Comp. ceramic glazeGamma",
      "-",
      "energyImp Yellow",
      "energyImp Magenta",
      "energyImp Cyan",
      "-",
      "energy Gamma",
      "Comp. energy Gamma",
      "-",
      "omega Gamma",
      "Comp. omega Gamma",
      "delta Gamma",
      "Comp. delta Gamma",
      "-",
      "print data simulation",
      "head data simulation",
      "-",
      "Original image"}},
    {"Control Data(&C)|mnuCtl",
     {"Head Temperature|mnuCtlHeadTemperature",
      "Media Temperature|mnuCtlMediaTemperature",
      "Temperature Coefficient|mnuCtlTemperatureCoefficient",
      "-",
      "Humidity Coeffient|mnuCtlHumidityCoeffient",
      "-",
      "Media Humidity|mnuCtlMediaHumidity",
      "Strobe Gamma|mnuCtlStrobeGamma",
      "E Gamma|mnuCtlE_Gamma",
      "-",
      "C Gamma|mnuCtlC_Gamma",
      "C Theta|mnuCtlC_Theta",
      "C Epsilon|mnuCtlC_Epsilon",
      "G Gamma|mnuCtlG_Gamma1",
      "G Theta|mnuCtlG_Theta1",
      "G Epsilon|mnuCtlG_Epsilon",
      "E Epsilon|mnuCtlE_Epsilon",
      "C Sigma|mnuCtlC_Sigma",
      "G Sigma|mnuCtlG_Sigma",
      "I Gamma|mnuCtlI_Gamma",
      "I Theta|mnuCtlI_Theta",
      "I Epsilon|mnuCtlI_Epsilon",
      "-",
      "G Omega|mnuCtlG_Omega",
      "G Delta|mnuCtlG_Delta",
      "-",
      "Start Cmp|mnuStartCmp",
      "-",
      "Print Mode...|mnuCtlPrintMode",
      "-",
      "Open All data...|mnuCtlOpenData",
      "Save All data...|mnuCtlSaveData",
      "Write All data... (*.KTD)|mnuCtlWriteData",
      "-",
      "KTD Version Check|mnuVersionChk",
      "Write to File...|mnuCtlSaveData2",
      "Write to Printer...|mnuCtlWriteAll"}},
    {"Status(&T)|mnuStatus",
     {"Printer Status(&S)...|mnuPrinterStatus", "ROM Version(&V)...|mnuROMVersion",
      "Ribbon Status(&R)...|mnuRibbonStatus",
      "Print Sheets Counter(&P)...|mnuOptionPrintSheetsCounter",
      "Printer Serial No(&N)...|mnuPrinterSerial"}},
    {"Option(&O)|mnuOption",
     {"Setup of Media(&M)...|mnuOptionSetupMedium",
      "Setup of HeadRank(&R)...|mnuOptionSetupHeadRank",
      "Setup of HeatRank(&H)...|mnuOptionSetupHeatRank",
      "Setup of Printer Serial No|mnuOptionSetupPSerial",
      "Setup of Resolution(&L)...|mnuOptionSetupResolution",
      "Mechanism Adjustment(&A)...|mnuOptionMechanismAdjustment", "-",
      "Sensor Monitor(&S)...|mnuOptionSensorMonitor", "-",
      "Flash rom writer(&F)...|mnuOptionFlashProgram"}},
    {"Window(&W)|mnuWindow", {"Cascade(&C)|mnuWindowCascade"}},
    {"Help(&H)|mnuHelp",
     {"Contents (&C)|mnuHelpContents", "Keyword (&K)...|mnuHelpSearch", "-",
      "About(&A)|mnuHelpAbout"}},
};

// Compares an entry with its row; a row without a control name (the
// simulations) checks the caption only.
void ExpectEntry(QAction* action, const QString& row) {
    SCOPED_TRACE(row.toStdString());
    if (row == "-") {
        EXPECT_TRUE(action->isSeparator());
        return;
    }
    const QStringList fields = row.split('|');
    EXPECT_FALSE(action->isSeparator());
    EXPECT_EQ(action->text(), fields[0]);
    if (fields.size() > 1) {
        EXPECT_EQ(action->objectName(), fields[1]);
    }
    EXPECT_EQ(action->shortcut().toString(), fields.size() > 2 ? fields[2] : QString());
}

class MenuTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        first = {};
        second = {};
        ASSERT_TRUE(StartProgram());
    }
    QList<QMdiSubWindow*> Children() const { return MainForm->mdiArea->subWindowList(); }
    QStringList WindowList() {
        emit MainForm->mnuWindow->aboutToShow();
        QStringList listed;
        for (QAction* item : MainForm->mnuWindow->actions()) {
            if (item->objectName() == "mnuWindowList") {
                listed << (item->isChecked() ? "*" : "") + item->text();
            }
        }
        return listed;
    }
};

TEST_F(MenuTest, TreeMatchesTheDesignItemForItem) {
    const QList<QAction*> top = MainForm->menuBar()->actions();
    ASSERT_EQ(top.size(), static_cast<qsizetype>(MenuTree.size()));
    for (std::size_t m = 0; m < MenuTree.size(); ++m) {
        const auto& [title, rows] = MenuTree[m];
        QMenu* menu = top[m]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title() + "|" + menu->objectName(), title);
        const QList<QAction*> entries = menu->actions();
        ASSERT_EQ(entries.size(), rows.size()) << title.toStdString();
        for (qsizetype i = 0; i < rows.size(); ++i) ExpectEntry(entries[i], rows[i]);
    }
}

TEST_F(MenuTest, ItemsStartEnabledExceptTheImageItemsAndHiddenHelp) {
    EXPECT_FALSE(MainForm->mnuFileSimulation->menuAction()->isEnabled());
    EXPECT_FALSE(MainForm->mnuFileSaveAs->isEnabled());
    EXPECT_FALSE(MainForm->mnuFilePrint->isEnabled());
    for (QAction* hidden : {MainForm->mnuHelpContents, MainForm->mnuHelpSearch}) {
        EXPECT_FALSE(hidden->isVisible());
        EXPECT_FALSE(hidden->isEnabled());
    }
    for (QAction* ready : {MainForm->mnuPortSetting, MainForm->mnuFileExit,
                           MainForm->mnuWindowCascade, MainForm->mnuHelpAbout}) {
        EXPECT_TRUE(ready->isVisible() && ready->isEnabled()) << ready->objectName().toStdString();
    }
    // A window item is available exactly when its window is part of the program.
    for (QMenu* menu : {MainForm->mnuCtl, MainForm->mnuStatus, MainForm->mnuOption}) {
        for (QAction* item : menu->actions()) {
            if (item->isSeparator()) continue;
            const QString name = item->objectName();
            const bool built = ChildWindows::FactoryOf(name) != nullptr ||
                               ChildWindows::HandlerOf(name) != nullptr;
            EXPECT_EQ(item->isEnabled(), built) << name.toStdString();
        }
    }
}

TEST_F(MenuTest, AWindowChosenTwiceIsOneWindowInFront) {
    QWidget* a = MainForm->OpenChild("testFirstWindow");
    QWidget* b = MainForm->OpenChild("testSecondWindow");
    EXPECT_EQ(MainForm->mdiArea->activeSubWindow()->widget(), b);
    EXPECT_EQ(MainForm->OpenChild("testFirstWindow"), a);
    EXPECT_EQ(first.loads, 1);
    EXPECT_EQ(Children().size(), 2);
    EXPECT_EQ(MainForm->mdiArea->activeSubWindow()->widget(), a);
    EXPECT_EQ(MainForm->mdiArea->subWindowList(QMdiArea::StackingOrder).last()->widget(), a);
}

TEST_F(MenuTest, AClosedWindowLoadsAfresh) {
    MainForm->OpenChild("testFirstWindow");
    MainForm->mdiArea->activeSubWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(first.unloads, 1);
    EXPECT_TRUE(Children().isEmpty());
    MainForm->OpenChild("testFirstWindow");
    EXPECT_EQ(first.loads, 2);
    EXPECT_EQ(Children().size(), 1);
}

TEST_F(MenuTest, WindowMenuListsTheChildrenAndActivatesTheChosenOne) {
    EXPECT_TRUE(WindowList().isEmpty());
    QWidget* a = MainForm->OpenChild("testFirstWindow");
    MainForm->OpenChild("testSecondWindow");
    EXPECT_EQ(WindowList(), QStringList({"First", "*Second"}));
    for (QAction* item : MainForm->mnuWindow->actions()) {
        if (item->text() == "First") item->trigger();
    }
    EXPECT_EQ(MainForm->mdiArea->activeSubWindow()->widget(), a);
    EXPECT_EQ(WindowList(), QStringList({"*First", "Second"}));
}

TEST_F(MenuTest, ExitClosesTheChildrenThenSavesTheSettings) {
    MainForm->OpenChild("testFirstWindow");
    QApplication::setActiveWindow(MainForm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    QTest::keyClick(MainForm, Qt::Key_X, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_EQ(first.unloads, 1);
    EXPECT_TRUE(QFileInfo::exists(SettingsFile()));
}

// The answer that leaves things as they are: the last button of the set.
int LeavingAnswer(int buttons) {
    switch (buttons & 7) {
        case vbOKCancel:
        case vbYesNoCancel:
        case vbRetryCancel:
            return vbCancel;
        case vbAbortRetryIgnore:
            return vbIgnore;
        case vbYesNo:
            return vbNo;
        default:
            return vbOK;
    }
}

// Every item of the tree that has a window opens it, through the menu as the
// user chooses it. A message box that a window's load shows is answered; any
// other box is a fault.
TEST_F(MenuTest, EveryWindowItemOfTheTreeOpensItsWindow) {
    QString loading;
    QStringList loadBoxes;
    SetMsgBoxResponder([&](const QString& text, int buttons, const QString&) -> int {
        if (loading.isEmpty()) {
            ADD_FAILURE() << "message box outside a window's load: " << text.toStdString();
            return vbCancel;
        }
        loadBoxes << loading + ": " + text;
        return LeavingAnswer(buttons);
    });

    const QList<QAction*> items = WindowItems();
    ASSERT_FALSE(items.isEmpty());

    QSet<QWidget*> windows;
    for (QAction* item : items) {
        const QString name = item->objectName();
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(item->isEnabled());
        loading = name;
        item->trigger();
        loading.clear();
        QCoreApplication::processEvents();
        QMdiSubWindow* active = MainForm->mdiArea->activeSubWindow();
        ASSERT_NE(active, nullptr);
        QWidget* window = active->widget();
        EXPECT_TRUE(active->isVisible());
        EXPECT_FALSE(window->objectName().isEmpty());
        EXPECT_FALSE(windows.contains(window)) << "a window of its own";
        windows.insert(window);
    }
    EXPECT_EQ(Children().size(), items.size());
    if (!loadBoxes.isEmpty()) std::cout << loadBoxes.join('\n').toStdString() << '\n';
}

}  // namespace
