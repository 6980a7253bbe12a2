#pragma once
// The program's one spin-button control: an up and a down button with a range and a step, either
// with a value of its own or bound to a plain text box (its buddy). The box stays an ordinary text
// box, so that a typed value beyond the range is kept as typed; only a click brings it into range.
//
// A click always raises UpClick or DownClick, also at the end of the range. With a buddy, the step
// starts from the box's leading number brought into the range, and the result is written into the
// box (300 and up in 0..255 gives 255). Without one, the control's own value moves within the
// range. Change follows whenever the value the click gives differs from what it was before.
#include <QWidget>

class QLineEdit;
class QToolButton;

class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(const char* name, QWidget* parent = nullptr);

    void SetRange(int min, int max);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetIncrement(int step);
    int Increment() const { return step_; }
    // The control's own value; set from code it is brought into the range and raises nothing.
    int Value() const { return value_; }
    void SetValue(int value);
    // The box whose text each click steps; null for none.
    void SetBuddy(QLineEdit* box);
    QLineEdit* Buddy() const { return buddy_; }

    // A click of either button, as the user makes it.
    void Up();
    void Down();

    QToolButton* UpButton = nullptr;
    QToolButton* DownButton = nullptr;

signals:
    void UpClick();
    void DownClick();
    void Change();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Step(int direction);

    int min_ = 0;
    int max_ = 10;
    int step_ = 1;
    int value_ = 0;
    QLineEdit* buddy_ = nullptr;
};
