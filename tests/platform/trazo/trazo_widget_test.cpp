#include "platform/trazo/trazo.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <functional>

namespace {

// A curve editor's control: 256 points over 0..10000, a straight rising line
// with nodes every 32 points.
class TrazoTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.resize(273, 273);
        w.setPointCount(256);
        w.setValueSpan(10001);
        w.setCurveMode(1);
        w.setCurveColor(0x0000C0C0);
        for (int i = 0; i < 256; ++i) w.setPointValue(i, std::round(i * 10000.0 / 255));
        w.BeginNodeUpdate();
        for (int i = 32; i < 256; i += 32) w.setNodeFlag(i, true);
        w.EndNodeUpdate();
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    }

    QPoint at(int point, double value) const {
        auto m = w.Mapping();
        return QPoint(std::lround(m.XOfPoint(point)), std::lround(m.YOfValue(value)));
    }
    QPoint onCurve(int point) const { return at(point, w.PointValue(point)); }
    int valueAt(QPoint p) const { return w.Mapping().ValueAtY(p.y()); }

    std::vector<float> values() const {
        std::vector<float> v;
        for (int i = 0; i < w.PointCount(); ++i) v.push_back(w.PointValue(i));
        return v;
    }
    std::vector<bool> flags() const {
        std::vector<bool> f;
        for (int i = 0; i < w.PointCount(); ++i) f.push_back(w.NodeFlag(i));
        return f;
    }

    // Press, move in a few steps, release.
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, from);
        for (int k = 1; k <= 4; ++k) QTest::mouseMove(&w, from + (to - from) * k / 4);
        QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, to);
    }

    Trazo w;
    QSignalSpy points{&w, &Trazo::PointChanged};
    QSignalSpy levels{&w, &Trazo::LevelChanged};
};

}  // namespace

TEST_F(TrazoTest, ProgramSettersRaiseNothingAndReadBack) {
    w.setCurveColor(0x00FF00FF);
    w.setPointValue(5, 12000);  // beyond the scale, kept as set
    w.setPointValue(6, 12.5f);
    w.setMarker(0, 40);
    w.setMarker(2, 50);
    w.setLevelLine(0, 2000);
    w.setLevelLine(1, 8000);
    w.BeginNodeUpdate();
    EXPECT_EQ(flags(), std::vector<bool>(256, false));
    w.setNodeFlag(3, true);
    w.setNodeFlag(200, true);
    w.EndNodeUpdate();
    w.setPointCount(257);
    w.setValueSpan(10000);
    w.setCurveMode(2);
    w.EndSigmaNodeUpdate();

    EXPECT_EQ(points.count(), 0);
    EXPECT_EQ(levels.count(), 0);
    EXPECT_EQ(w.PointValue(5), 12000);
    EXPECT_EQ(w.PointValue(6), 12.5f);
    EXPECT_EQ(w.PointValue(256), 0);
    std::vector<bool> expected(257, false);
    expected[3] = expected[200] = true;
    EXPECT_EQ(flags(), expected);
    EXPECT_EQ(w.Marker(0), 40);
    EXPECT_EQ(w.Marker(2), 50);
    EXPECT_EQ(w.LevelLine(1), 8000);
    EXPECT_EQ(w.PointValue(-1), 0);  // outside the points: nothing, no crash
    EXPECT_FALSE(w.NodeFlag(300));
}

// Each drag is one change, told once with the point where the node ended;
// nothing beyond two nodes either side of it moves.
TEST_F(TrazoTest, DragsChangeTheCurveOnceAndLocally) {
    struct Case {
        int fromPoint;
        double fromValue;  // < 0: on the curve
        int toPoint;
        double toValue;
        int moved;  // the point PointChanged names
    } cases[] = {
        {128, -1, 128, 2000, 128},    // a node, straight down
        {100, 9000, 100, 8000, 100},  // empty space: a new node
        {128, -1, 10, 5000, 97},      // held between its neighbours 96 and 160
        {255, -1, 200, 4000, 255},    // an end node only moves up and down
    };
    for (const Case& c : cases) {
        SetUp();
        points.clear();
        const auto before = values();
        const QPoint to = at(c.toPoint, c.toValue);
        drag(c.fromValue < 0 ? onCurve(c.fromPoint) : at(c.fromPoint, c.fromValue), to);

        ASSERT_EQ(points.count(), 1) << c.moved;
        EXPECT_EQ(points.at(0).at(0).toInt(), c.moved);
        EXPECT_EQ(levels.count(), 0);
        EXPECT_EQ(w.PointValue(c.moved), valueAt(to));
        EXPECT_EQ(w.NodeFlag(c.moved), c.moved != 255);
        if (c.moved != c.fromPoint) {
            EXPECT_FALSE(w.NodeFlag(c.fromPoint));
        }
        const auto after = values();
        const int lo = std::min(c.fromPoint, c.moved), hi = std::max(c.fromPoint, c.moved);
        for (int i = 0; i < 256; ++i) {
            if (i <= lo - 64 || i >= hi + 64) {
                EXPECT_EQ(after[i], before[i]) << "point " << i;
            }
            EXPECT_EQ(after[i], std::round(after[i])) << "point " << i;
        }
        EXPECT_NE(after, before);
    }
}

TEST_F(TrazoTest, NothingChangedRaisesNothing) {
    // A node whose value is the one its pixel stands for.
    const QPoint node = onCurve(96);
    w.setPointValue(96, valueAt(node));
    const auto before = values();
    QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, node);
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, node);
    QTest::mouseMove(&w, at(96, 500));
    QTest::mouseMove(&w, node);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, node);
    EXPECT_EQ(values(), before);
    // Down on an end node already at 0.
    QTest::keyClick(&w, Qt::Key_Home);
    QTest::keyClick(&w, Qt::Key_Down);
    EXPECT_EQ(points.count(), 0);
}

TEST_F(TrazoTest, EscRestoresTheCurveAndNodes) {
    const auto before = values();
    const auto nodesBefore = flags();
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, onCurve(160));
    QTest::mouseMove(&w, at(100, 300));
    QTest::mouseMove(&w, at(100, 200));
    EXPECT_NE(values(), before);
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, at(100, 200));
    EXPECT_EQ(values(), before);
    EXPECT_EQ(flags(), nodesBefore);
    EXPECT_EQ(points.count(), 0);
}

TEST_F(TrazoTest, UserRemovesInnerNodesOnly) {
    enum How { DeleteKey, RightClick, PullOff };
    for (How how : {DeleteKey, RightClick, PullOff}) {
        SetUp();
        points.clear();
        const QPoint node = onCurve(64);
        if (how == DeleteKey) {
            QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, node);
            QTest::keyClick(&w, Qt::Key_Delete);
        } else if (how == RightClick) {
            QTest::mouseClick(&w, Qt::RightButton, Qt::NoModifier, node);
        } else {
            drag(node, QPoint(node.x(), w.height() + 60));
        }
        EXPECT_FALSE(w.NodeFlag(64)) << how;
        ASSERT_EQ(points.count(), 1) << how;
        EXPECT_EQ(points.at(0).at(0).toInt(), 64);
        // The straight line stays straight without the node.
        EXPECT_NEAR(w.PointValue(64), 64 * 10000.0 / 255, 1) << how;

        points.clear();
        w.setNodeFlag(0, true);
        QTest::mouseClick(&w, Qt::RightButton, Qt::NoModifier, onCurve(0));
        QTest::keyClick(&w, Qt::Key_Home);
        QTest::keyClick(&w, Qt::Key_Delete);
        EXPECT_TRUE(w.NodeFlag(0));
        EXPECT_EQ(points.count(), 0);
    }
}

TEST_F(TrazoTest, KeysSelectStepAndInsert) {
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int point;  // the point PointChanged names, -1 for none
        int value;  // PointValue(point) afterwards
    } steps[] = {
        {Qt::Key_Home, Qt::NoModifier, -1, 0},     {Qt::Key_Up, Qt::NoModifier, 0, 1},
        {Qt::Key_Up, Qt::ShiftModifier, 0, 101},   {Qt::Key_Right, Qt::NoModifier, -1, 0},
        {Qt::Key_Down, Qt::NoModifier, 32, 1254},  {Qt::Key_End, Qt::NoModifier, -1, 0},
        {Qt::Key_Up, Qt::NoModifier, -1, 0},  // already at the top of the scale
        {Qt::Key_Left, Qt::NoModifier, -1, 0},     {Qt::Key_Down, Qt::ShiftModifier, 224, 8684},
        {Qt::Key_Insert, Qt::NoModifier, 239, -1},  // halfway to the last node
    };
    for (const Step& s : steps) {
        points.clear();
        QTest::keyClick(&w, s.key, s.mods);
        if (s.point < 0) {
            EXPECT_EQ(points.count(), 0) << s.key;
            continue;
        }
        ASSERT_EQ(points.count(), 1) << s.key;
        EXPECT_EQ(points.at(0).at(0).toInt(), s.point);
        EXPECT_TRUE(w.NodeFlag(s.point) || s.point == 0);
        if (s.value >= 0) {
            EXPECT_EQ(w.PointValue(s.point), s.value) << s.key;
        }
    }
}

TEST_F(TrazoTest, LevelDragRaisesOnlyLevelChanged) {
    w.setLevelLine(0, 2000);
    w.setLevelLine(1, 8000);
    const auto before = values();
    // Level line 1 far from any node, so the press takes the line.
    const QPoint from = at(16, 8000), to = at(16, 7000);
    drag(from, to);
    ASSERT_EQ(levels.count(), 1);
    EXPECT_EQ(levels.at(0).at(0).toInt(), 1);
    EXPECT_EQ(w.LevelLine(1), valueAt(to));
    EXPECT_EQ(w.LevelLine(0), 2000);
    EXPECT_EQ(points.count(), 0);
    EXPECT_EQ(values(), before);

    // Esc puts the line back and tells nothing.
    levels.clear();
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, at(16, 2000));
    QTest::mouseMove(&w, at(16, 5000));
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, at(16, 5000));
    EXPECT_EQ(w.LevelLine(0), 2000);
    EXPECT_EQ(levels.count(), 0);
}

// The sigma editors' weights: five nodes, moved up and down only.
TEST_F(TrazoTest, WeightsMoveVerticallyAndStay) {
    w.resize(273, 182);
    w.setPointCount(257);
    w.setValueSpan(10000);
    w.setCurveMode(2);
    w.BeginNodeUpdate();
    const int at5[] = {0, 64, 129, 192, 256};
    const float weights[] = {1000, 2000, 4000, 2000, 1000};
    for (int k = 0; k < 5; ++k) w.setPointValue(at5[k], weights[k]);
    for (int p : at5) w.setNodeFlag(p, true);
    w.EndSigmaNodeUpdate();
    const auto before = values();
    points.clear();

    drag(at(129, 500), at(100, 6000));  // taken by its bar, moved up only
    ASSERT_EQ(points.count(), 1);
    EXPECT_EQ(points.at(0).at(0).toInt(), 129);
    auto after = values();
    EXPECT_EQ(after[129], valueAt(at(100, 6000)));
    after[129] = before[129];
    EXPECT_EQ(after, before);  // nothing else moved, no curve between weights

    // No removal, no insertion.
    points.clear();
    QTest::mouseClick(&w, Qt::RightButton, Qt::NoModifier, onCurve(64));
    QTest::keyClick(&w, Qt::Key_Delete);
    QTest::keyClick(&w, Qt::Key_Insert);
    drag(at(30, 8000), at(30, 9000));
    drag(onCurve(192), QPoint(onCurve(192).x(), w.height() + 80));
    EXPECT_TRUE(w.NodeFlag(64));
    EXPECT_TRUE(w.NodeFlag(192));
    EXPECT_FALSE(w.NodeFlag(30));
    ASSERT_EQ(points.count(), 1);  // the pulled-down weight went to 0
    EXPECT_EQ(w.PointValue(192), 0);
}

// After a drag the readout on screen shows the point under the pointer and its value, as a
// move of the pointer to where it was let go shows them.
TEST_F(TrazoTest, AfterADragTheReadoutShowsTheValueUnderThePointer) {
    auto onScreen = [this] {
        QCoreApplication::processEvents();
        return w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    auto asShownAt = [this](QPoint p) {
        QTest::mouseMove(&w, p + QPoint(0, 1));  // the pointer comes back to where it was
        QTest::mouseMove(&w, p);
        return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const struct {
        QPoint from, to;
    } cases[] = {
        {onCurve(128), at(128, 2000)},  // straight down
        {onCurve(128), at(10, 5000)},   // the node stops at its neighbour, the pointer goes on
    };
    for (const auto& c : cases) {
        SetUp();
        QTest::mouseMove(&w, c.from);
        drag(c.from, c.to);
        const QImage shown = onScreen();
        EXPECT_TRUE(shown == asShownAt(c.to)) << c.to.x() << "," << c.to.y();
    }
}

// What the program or the user changes is redrawn, and only around it.
TEST(TrazoPainting, RedrawsOnlyWhatChanged) {
    struct Recorder : Trazo {
        QRegion painted;
        void paintEvent(QPaintEvent* e) override {
            painted += e->region();
            Trazo::paintEvent(e);
        }
    } w;
    w.resize(273, 273);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const auto m = w.Mapping();
    struct Case {
        std::function<void()> change;
        double x, y;  // a pixel that must be redrawn
    } cases[] = {
        {[&] { w.setPointValue(100, 5000); }, m.XOfPoint(100), m.YOfValue(5000)},
        {[&] { w.setNodeFlag(200, true); }, m.XOfPoint(200), m.YOfValue(0)},
        {[&] { w.setMarker(1, 30); }, m.XOfPoint(30), 100},
        {[&] { w.setLevelLine(0, 7000); }, 100, m.YOfValue(7000)},
    };
    for (const Case& c : cases) {
        QCoreApplication::processEvents();
        w.painted = QRegion();
        c.change();
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.painted.contains(QPoint(std::lround(c.x), std::lround(c.y))));
        // a column or a row, not the whole control
        EXPECT_LT(w.painted.boundingRect().width() * w.painted.boundingRect().height(),
                  273 * 273 / 4);
    }
}
