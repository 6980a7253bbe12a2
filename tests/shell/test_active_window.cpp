// The active child window and the keyboard focus across a printer transfer: the window that
// was active when the transfer began is active again afterwards, with the focus where it was,
// and the items that follow the active window do not change.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <functional>
#include <ostream>
#include <vector>

#include "platform/quillet/quillet_control.h"
#include "shell/frm_main.h"
#include "tests/support/gui_test.h"

namespace {

class ActiveWindowTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(StartProgram());
        MainForm->show();
        QApplication::setActiveWindow(MainForm);
        ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    }

    void OpenPicture() {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(0xFF3060C0);
        ASSERT_TRUE(picture.save(WorkDir() + "/picture.bmp", "BMP"));
        ChooseFile("picture.bmp");
        MainForm->Item("mnuFileOpen")->trigger();
        QApplication::processEvents();
    }

    // The state the user sees: the active child's window, the focused control and the three
    // items that follow an image window.
    struct Seen {
        QWidget* active;
        QWidget* focus;
        bool simulation, saveAs, print;
        bool operator==(const Seen&) const = default;
    };
    static Seen Now() {
        QMdiSubWindow* active = MainForm->mdiArea->activeSubWindow();
        return {active ? active->widget() : nullptr, QApplication::focusWidget(),
                MainForm->mnuFileSimulation->menuAction()->isEnabled(),
                MainForm->mnuFileSaveAs->isEnabled(), MainForm->mnuFilePrint->isEnabled()};
    }
};

// One case a row: the window opened first (the one the area would wrongly pick), the window the
// user works in, the control that has the focus there, and the transfer started from it.
struct Case {
    const char* name;
    const char* first;  // a menu item, or "picture" for an image window
    const char* window;
    const char* focus;
    std::function<void(QWidget& window)> transfer;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

void PressToolbar(QWidget& window, const char* key) {
    auto* toolbar = window.findChild<QToolBar*>("Toolbar1");
    ASSERT_NE(toolbar, nullptr);
    QAction* action = toolbar->findChild<QAction*>(key);
    ASSERT_NE(action, nullptr) << key;
    QTest::mouseClick(toolbar->widgetForAction(action), Qt::LeftButton);
}

const Case Cases[] = {
    {"CurveEditorSetup", "mnuCtlHeadTemperature", "mnuCtlMediaTemperature", "MSFlexGrid1",
     [](QWidget& w) { PressToolbar(w, "mnuSetPrinter"); }},
    {"CurveEditorGetBesidePicture", "picture", "mnuCtlMediaTemperature", "MSFlexGrid1",
     [](QWidget& w) { PressToolbar(w, "mnuGetPrinter"); }},
    {"SpecialEditorSetup", "picture", "mnuCtlG_Omega", "txtB",
     [](QWidget& w) { PressToolbar(w, "mnuSetPrinter"); }},
    {"SpecialEditorGet", "mnuCtlHeadTemperature", "mnuCtlG_Omega", "txtB",
     [](QWidget& w) { PressToolbar(w, "mnuGetPrinter"); }},
    // The whole set written from the main menu while a dialog is the active window.
    {"MaintenanceDialog", "picture", "mnuOptionMechanismAdjustment", "txtPrintPos",
     [](QWidget&) { MainForm->Item("mnuCtlWriteAll")->trigger(); }},
};

class ActiveWindowAfterTransfer : public ActiveWindowTest,
                                  public ::testing::WithParamInterface<Case> {};

TEST_P(ActiveWindowAfterTransfer, TheWindowThatStartedItIsActiveWithItsFocus) {
    const Case& c = GetParam();
    if (QString(c.first) == "picture") {
        OpenPicture();
    } else {
        MainForm->Item(c.first)->trigger();
    }
    QApplication::processEvents();
    MainForm->Item(c.window)->trigger();
    QApplication::processEvents();
    QWidget* window = MainForm->mdiArea->activeSubWindow()->widget();
    auto* focus = window->findChild<QWidget*>(c.focus);
    ASSERT_NE(focus, nullptr);
    focus->setFocus();
    QApplication::processEvents();
    const Seen before = Now();
    ASSERT_EQ(before.focus, focus);
    ASSERT_FALSE(before.print);

    // Every window the area activates meanwhile, and the items as each one became active.
    std::vector<std::pair<QString, Seen>> activated;
    const auto watch = QObject::connect(
        MainForm->mdiArea, &QMdiArea::subWindowActivated, MainForm->mdiArea, [&activated] {
            const Seen now = Now();
            activated.emplace_back(now.active ? now.active->objectName() : "", now);
        });
    const int blocks = quillet_block_count();
    c.transfer(*window);
    QApplication::processEvents();
    QObject::disconnect(watch);

    EXPECT_GT(quillet_block_count(), blocks);
    EXPECT_TRUE(Now() == before);
    EXPECT_EQ(QApplication::focusWidget(), focus);
    ASSERT_FALSE(activated.empty());
    for (const auto& [name, seen] : activated) {
        if (!name.isEmpty() && name != "frmInformation") {
            EXPECT_EQ(seen.active, window) << name.toStdString();
        }
        EXPECT_FALSE(seen.simulation || seen.saveAs || seen.print);
    }
}

INSTANTIATE_TEST_SUITE_P(, ActiveWindowAfterTransfer, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
