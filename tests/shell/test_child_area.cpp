// The child-window area of the main window at its default size: where new children
// open, and that a child larger than the area can be reached whole.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>

#include "shell/frm_main.h"
#include "tests/support/gui_test.h"

namespace {

class ChildAreaTest : public GuiTest {
protected:
    QMdiSubWindow* Open(const char* item) {
        MainForm->Item(item)->trigger();
        QApplication::processEvents();
        return MainForm->mdiArea->activeSubWindow();
    }
};

// A curve editor is wider than the area at the default size, the picture's window far
// larger: each opens with its caption inside the area, the next one at the next cascade
// position, and the area scrolls to every part of them.
TEST_F(ChildAreaTest, ChildrenOpenInsideTheAreaAndTheAreaScrollsToThem) {
    ASSERT_TRUE(StartProgram());
    QMdiArea* area = MainForm->mdiArea;
    QImage big(2000, 1500, QImage::Format_RGB32);
    big.fill(0xFF3060C0);
    ASSERT_TRUE(big.save(WorkDir() + "/big.jpg", "JPG"));

    QMdiSubWindow* editor = Open("mnuCtlHeadTemperature");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->pos(), QPoint(0, 0));
    ChooseFile("big.jpg");
    QMdiSubWindow* picture = Open("mnuFileOpen");
    ASSERT_NE(picture, editor);
    ASSERT_EQ(picture->size(), QSize(2000, 1500));
    QMdiSubWindow* second = Open("mnuCtlMediaTemperature");
    ASSERT_NE(second, picture);

    const QRect inside = area->viewport()->rect();
    ASSERT_LT(inside.width(), editor->width());  // the case the placement must handle
    QList<QPoint> corners;
    for (QMdiSubWindow* child : {editor, picture, second}) {
        SCOPED_TRACE(child->windowTitle().toStdString());
        EXPECT_TRUE(inside.contains(child->pos())) << child->x() << "," << child->y();
        EXPECT_FALSE(corners.contains(child->pos()));  // none hides another's caption
        corners << child->pos();
    }
    EXPECT_LT(editor->y(), picture->y());
    EXPECT_LT(picture->y(), second->y());

    for (QScrollBar* bar : {area->horizontalScrollBar(), area->verticalScrollBar()}) {
        EXPECT_TRUE(bar->isVisible());
        bar->setValue(bar->maximum());
    }
    QApplication::processEvents();
    const QRect end = picture->geometry();
    EXPECT_EQ(end.right(), inside.right());
    EXPECT_EQ(end.bottom(), inside.bottom());
}

}  // namespace

// Cascade arranges the windows that are not minimised, each one offset down and to the right of
// the one below it, at their own sizes; a minimised window stays where the user left it.
TEST_F(ChildAreaTest, CascadeLeavesMinimisedWindowsWhereTheyLie) {
    ASSERT_TRUE(StartProgram());
    QImage small(200, 150, QImage::Format_RGB32);
    small.fill(0xFF3060C0);
    ASSERT_TRUE(small.save(WorkDir() + "/small.jpg", "JPG"));
    ChooseFile("small.jpg");
    QMdiSubWindow* picture = Open("mnuFileOpen");
    QMdiSubWindow* head = Open("mnuCtlHeadTemperature");
    QMdiSubWindow* omega = Open("mnuCtlG_Omega");
    head->move(90, 70);
    omega->move(40, 30);
    picture->showMinimized();
    QApplication::processEvents();
    picture->move(150, 100);
    const QRect lying = picture->geometry();
    const QSize headSize = head->size(), omegaSize = omega->size();
    MainForm->mdiArea->setActiveSubWindow(head);

    MainForm->Item("mnuWindowCascade")->trigger();
    QApplication::processEvents();

    EXPECT_TRUE(picture->isMinimized());
    EXPECT_EQ(picture->geometry(), lying);
    // The one in front stays in front, last in the cascade.
    EXPECT_EQ(MainForm->mdiArea->activeSubWindow(), head);
    EXPECT_EQ(omega->pos(), QPoint(0, 0));
    EXPECT_GT(head->x(), omega->x());
    EXPECT_EQ(head->x(), head->y());
    EXPECT_EQ(head->size(), headSize);
    EXPECT_EQ(omega->size(), omegaSize);
}
