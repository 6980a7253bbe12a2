// The spin-button control, bound to a box and with a value of its own.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "shell/spin_button.h"
#include "tests/support/gui_test.h"

namespace {

TEST(SpinButton, ABoundBoxStepsFromItsValueBroughtIntoRange) {
    struct Case {
        int min, max;
        const char* before;
        bool up;
        const char* after;
    };
    const Case cases[] = {
        {0, 255, "7", true, "8"},          {0, 255, "7", false, "6"},
        {0, 255, "255", true, "255"},      {0, 255, "0", false, "0"},
        {0, 255, "300", true, "255"},      {0, 255, "300", false, "254"},
        {0, 255, "-4", true, "1"},         {-10, 10, "12", true, "10"},
        {-10, 10, "12", false, "9"},       {-10, 10, "-10", false, "-10"},
        {-10, 10, "abc", true, "1"},       {-10, 10, "  3x", false, "2"},
        {-10, 10, "99999999", true, "10"},
    };
    for (const Case& c : cases) {
        QWidget window;
        auto* box = new QLineEdit(c.before, &window);
        auto* spin = new SpinButton("udA", &window);
        spin->SetRange(c.min, c.max);
        spin->SetBuddy(box);
        spin->resize(17, 25);
        QSignalSpy clicks(spin, c.up ? &SpinButton::UpClick : &SpinButton::DownClick);
        QTest::mouseClick(c.up ? spin->UpButton : spin->DownButton, Qt::LeftButton);
        EXPECT_EQ(box->text(), c.after) << c.before << (c.up ? " up" : " down");
        EXPECT_EQ(clicks.count(), 1);
    }
}

TEST(SpinButton, OwnValueChangesOnlyInsideItsRangeButEveryClickCounts) {
    SpinButton spin("UpDown1");
    spin.SetRange(0, 10);
    spin.SetValue(0);
    QSignalSpy changes(&spin, &SpinButton::Change);
    QSignalSpy downs(&spin, &SpinButton::DownClick);
    QSignalSpy ups(&spin, &SpinButton::UpClick);

    spin.Down();  // would leave the range: a click, but no change
    EXPECT_EQ(spin.Value(), 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(downs.count(), 1);

    for (int i = 0; i < 12; ++i) spin.Up();
    EXPECT_EQ(spin.Value(), 10);
    EXPECT_EQ(changes.count(), 10);
    EXPECT_EQ(ups.count(), 12);

    spin.SetValue(99);  // from code: brought into range, nothing raised
    EXPECT_EQ(spin.Value(), 10);
    EXPECT_EQ(changes.count(), 10);
}

TEST(SpinButton, ArrowKeysClickWhenItHasTheFocus) {
    QLineEdit box("5");
    SpinButton spin("udB");
    spin.SetRange(0, 255);
    spin.SetBuddy(&box);
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Down);
    EXPECT_EQ(box.text(), "6");
}

}  // namespace
