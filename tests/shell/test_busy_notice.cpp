// The busy notice around each printer exchange of the table transfers.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/table_transfers.h"
#include "platform/quillet/quillet_control.h"
#include "shell/frm_information.h"
#include "shell/frm_main.h"
#include "shell/ui_units.h"
#include "tests/support/gui_test.h"

namespace {

// Records each notice as painted: its text and where its window stood.
class NoticeSpy : public QObject {
public:
    struct Seen {
        QString text;
        QRect frame;
        QSize client;
    };
    std::vector<Seen> seen;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && object->objectName() == "Label1" &&
            object->parent() && object->parent()->objectName() == "frmInformation") {
            auto* label = static_cast<QLabel*>(object);
            QWidget* frame = label;
            while (frame && !qobject_cast<QMdiSubWindow*>(frame)) frame = frame->parentWidget();
            if (!frame) return false;
            if (!label->text().isEmpty() &&
                (seen.empty() || seen.back().text != label->text() || frame != lastFrame_)) {
                seen.push_back({label->text(), frame->geometry(), label->parentWidget()->size()});
                lastFrame_ = frame;
            }
        }
        return false;
    }

private:
    QWidget* lastFrame_ = nullptr;
};

class BusyNoticeTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(StartProgram());
        qApp->installEventFilter(&spy);
    }
    void TearDown() override {
        qApp->removeEventFilter(&spy);
        GuiTest::TearDown();
    }
    QStringList Texts() const {
        QStringList texts;
        for (const auto& s : spy.seen) texts << s.text;
        return texts;
    }
    bool NoticeLeft() const {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return !MainForm->findChildren<frmInformation*>().isEmpty();
    }
    NoticeSpy spy;
};

TEST(NoticePlace, BothHalvesAreTakenWhole) {
    const int cases[][3] = {{10001, 4001, 3000}, {6500, 3930, 1285}, {4000, 4000, 0}, {3, 5, -1}};
    for (const auto& c : cases) EXPECT_EQ(CentredEdge(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST_F(BusyNoticeTest, EachPlaneWrittenShowsSendingOnce) {
    for (int plane = 0; plane < 4; ++plane) ASSERT_TRUE(Module2::WriteHeadTempTable(plane));
    EXPECT_EQ(Texts(), QStringList({"SENDING!", "SENDING!", "SENDING!", "SENDING!"}));
    EXPECT_FALSE(NoticeLeft());

    ASSERT_TRUE(Module2::ReadHeadTempTable(2));
    EXPECT_EQ(Texts().last(), "RECEIVING!");
    EXPECT_FALSE(NoticeLeft());
}

TEST_F(BusyNoticeTest, TheNoticeStandsInTheMiddleOfTheMainWindow) {
    ASSERT_TRUE(Module2::WriteHeadTempTable(0));
    ASSERT_EQ(spy.seen.size(), 1u);
    const auto& notice = spy.seen[0];
    EXPECT_EQ(notice.client, QSize(TwipsToPx(3900), TwipsToPx(420)));
    const auto twips = [](int px) { return static_cast<int>(PxToTwips(px)); };
    const QSize outer = MainForm->frameGeometry().size();
    EXPECT_EQ(notice.frame.topLeft(),
              QPoint(TwipsToPx(CentredEdge(twips(outer.width()), twips(notice.frame.width()))),
                     TwipsToPx(CentredEdge(twips(outer.height()), twips(notice.frame.height())))));
}

TEST_F(BusyNoticeTest, AFailedExchangeLeavesNoNotice) {
    quillet_fail_next(1);
    EXPECT_FALSE(Module2::WriteHeadTempTable(1));
    EXPECT_EQ(Texts(), QStringList({"SENDING!"}));
    EXPECT_FALSE(NoticeLeft());
    EXPECT_TRUE(MainForm->mdiArea->subWindowList().isEmpty());
}

TEST_F(BusyNoticeTest, ARefusedPlaneShowsNoNotice) {
    EXPECT_FALSE(Module2::WriteHeadTempTable(4));
    EXPECT_FALSE(Module2::WriteHeadTempTable(-1));
    EXPECT_TRUE(spy.seen.empty());
}

}  // namespace
