// The frames of the program's windows, and titles that show whole: the printer
// choice, About and the splash with their fixed borders, message boxes wide enough for their
// titles, and the print dialog with its own title.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <memory>

#include "shell/child_windows.h"
#include "shell/common_dialog.h"
#include "shell/frm_main.h"
#include "shell/frm_splash.h"
#include "shell/msgbox.h"
#include "tests/support/gui_test.h"

namespace {

struct Border {
    Qt::WindowType kind;
    bool closeBox;
};

// What the window manager is asked for: the kind of window, a fixed size, nothing to minimise
// or maximise, and the close box where the window has one.
void ExpectBorder(const QWidget& window, Border border) {
    SCOPED_TRACE(window.objectName().toStdString());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, border.kind);
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(flags.testFlag(Qt::WindowCloseButtonHint), border.closeBox);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
}

class FramesTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(StartProgram());
    }
};

TEST_F(FramesTest, TopLevelWindowsHaveTheirFixedBorders) {
    // "Printer setting" is a tool window; About and the splash are fixed dialogs.
    InstallPrinters({{"Photo Printer", "EMU1:"}});
    RespondModal([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Printer setting");
        ExpectBorder(dialog, {Qt::Tool, true});
        dialog.reject();
    });
    MainForm->Item("mnuPortSetting")->trigger();

    RespondModal([](QDialog& dialog) {
        ExpectBorder(dialog, {Qt::Dialog, true});
        dialog.reject();
    });
    MainForm->Item("mnuHelpAbout")->trigger();

    frmSplash splash;
    ExpectBorder(splash, {Qt::Dialog, false});
    EXPECT_EQ(ModalCount(), 2);
}

// Every editor and dialog of the menus opens in a fixed frame: a title and a close box only, and a
// drag on the frame's corner leaves its size as it is.
TEST_F(FramesTest, EveryChildWindowHasAFixedFrame) {
    SetMsgBoxResponder([](const QString&, int, const QString&) { return vbOK; });
    QList<QMenu*> menus;
    for (QAction* top : MainForm->menuBar()->actions()) menus << top->menu();
    int windows = 0;
    for (QMenu* menu : menus) {
        for (QAction* item : menu->actions()) {
            if (!ChildWindows::FactoryOf(item->objectName())) continue;
            SCOPED_TRACE(item->objectName().toStdString());
            item->trigger();
            QApplication::processEvents();
            QMdiSubWindow* frame = MainForm->mdiArea->activeSubWindow();
            ASSERT_NE(frame, nullptr);
            const Qt::WindowFlags flags = frame->windowFlags();
            EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
            EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
            EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
            const QSize size = frame->size();
            const QPoint corner(frame->width() - 2, frame->height() - 2);
            QTest::mouseMove(frame, corner);  // the frame learns of the corner by hovering
            QTest::mousePress(frame, Qt::LeftButton, {}, corner);
            QTest::mouseMove(frame, corner + QPoint(40, 30));
            QTest::mouseRelease(frame, Qt::LeftButton, {}, corner + QPoint(40, 30));
            EXPECT_EQ(frame->size(), size);
            frame->close();
            QApplication::processEvents();
            ++windows;
        }
    }
    EXPECT_GT(windows, 30);
}

// A real box is shown (through the modal seam) and measured: a title as wide as the title
// bar's icon and three buttons leave room for, set bold.
TEST_F(FramesTest, AMessageBoxIsWideEnoughForItsTitle) {
    SetMsgBoxResponder({});
    for (const QString& title :
         {QString("KT-Tools"), QString("A title much longer than its text")}) {
        SCOPED_TRACE(title.toStdString());
        RespondModal([&title](QDialog& box) {
            EXPECT_EQ(box.windowTitle(), title);
            QFont bold = box.font();
            bold.setBold(true);
            QStyleOptionTitleBar option;
            option.initFrom(&box);
            const int bar = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &box);
            EXPECT_GE(box.width(), QFontMetrics(bold).horizontalAdvance(title) + 4 * bar);
            auto* buttons = box.findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            ASSERT_EQ(buttons->buttons().size(), 1);
            buttons->buttons().front()->click();
        });
        EXPECT_EQ(MsgBox("Error!", vbOKOnly, title), vbOK);
    }
}

// After the file dialog of Open, the print dialog is titled as a print dialog.
TEST_F(FramesTest, ThePrintDialogCarriesItsOwnTitle) {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(0xFF3060C0);
    ASSERT_TRUE(picture.save(WorkDir() + "/picture.bmp", "BMP"));
    ChooseFile("picture.bmp");
    MainForm->Item("mnuFileOpen")->trigger();
    QApplication::processEvents();
    ASSERT_EQ(FileDialogs().back().title, "Open");

    CommonDialog::SetScript({});
    QString title;
    RespondModal([&title](QDialog& dialog) {
        title = dialog.windowTitle();
        dialog.reject();
    });
    MainForm->Item("mnuFilePrint")->trigger();
    EXPECT_EQ(title, "Print");
}

}  // namespace
