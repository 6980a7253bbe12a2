#include "shell/spin_button.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "core/numbers.h"

SpinButton::SpinButton(const char* name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setFocusPolicy(Qt::TabFocus);
    auto make = [this](const char* part, Qt::ArrowType arrow) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString(objectName()) + part);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);  // held down, it keeps stepping
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    UpButton = make("Up", Qt::UpArrow);
    DownButton = make("Down", Qt::DownArrow);
    connect(UpButton, &QToolButton::clicked, this, &SpinButton::Up);
    connect(DownButton, &QToolButton::clicked, this, &SpinButton::Down);
}

void SpinButton::SetRange(int min, int max) {
    min_ = std::min(min, max);
    max_ = std::max(min, max);
    value_ = std::clamp(value_, min_, max_);
}

void SpinButton::SetIncrement(int step) {
    step_ = std::max(1, step);
}

void SpinButton::SetValue(int value) {
    value_ = std::clamp(value, min_, max_);
}

void SpinButton::SetBuddy(QLineEdit* box) {
    buddy_ = box;
}

void SpinButton::Up() {
    Step(+1);
    emit UpClick();
}

void SpinButton::Down() {
    Step(-1);
    emit DownClick();
}

void SpinButton::Step(int direction) {
    const int before = value_;
    int from = value_;
    if (buddy_ != nullptr)
        from = RoundClamped(LeadingNumber(buddy_->text().toStdString()), min_, max_);
    // Reckoned wide, so that a step at the edge of the int range cannot overflow.
    const long long next = static_cast<long long>(from) + static_cast<long long>(direction) * step_;
    value_ = static_cast<int>(std::clamp<long long>(next, min_, max_));
    if (buddy_ != nullptr) buddy_->setText(QString::number(value_));
    if (value_ != before) emit Change();
}

void SpinButton::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    UpButton->setGeometry(0, 0, width(), half);
    DownButton->setGeometry(0, half, width(), height() - half);
}

void SpinButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up)
        Up();
    else if (event->key() == Qt::Key_Down)
        Down();
    else
        QWidget::keyPressEvent(event);
}
