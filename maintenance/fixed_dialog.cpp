#include "maintenance/fixed_dialog.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

#include "shell/child_windows.h"
#include "shell/ui_units.h"

FixedDialog::FixedDialog(const char* name, double clientWidth, double clientHeight) {
    setObjectName(QString::fromLatin1(name));
    FixClientTwips(this, clientWidth, clientHeight);
    ChildWindows::FixedChildWindow(this);
}

bool FixedDialog::event(QEvent* e) {
    if (e->type() == QEvent::ParentChange && !followed_) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            followed_ = true;
            connect(frame, &QMdiSubWindow::windowStateChanged, this,
                    [this](Qt::WindowStates before, Qt::WindowStates now) {
                        if (now.testFlag(Qt::WindowActive) && !before.testFlag(Qt::WindowActive))
                            Form_Activate();
                    });
        }
    }
    return QWidget::event(e);
}

QLabel* FixedDialog::AddLabel(const char* name, const QString& text, double left, double top,
                              double width, double height, QWidget* frame) {
    auto* label = InDialogInk(new QLabel(text, frame != nullptr ? frame : this), frame);
    label->setObjectName(QString::fromLatin1(name));
    PlaceTwips(label, left, top, width, height);
    // Widening would run into the control beside it.
    FitText(label, label->width());
    return label;
}

void FixedDialog::KeepDialogInk(QWidget* control) const {
    // Set explicitly: inherited, they would be the frame's blue.
    QPalette ink = control->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        ink.setColor(role, palette().color(role));
    control->setPalette(ink);
}

QLabel* FixedDialog::AddAutoLabel(const char* name, const QString& text, double left, double top,
                                  double room, QWidget* frame) {
    return PlaceAutoLabel(InDialogInk(new QLabel(text, frame != nullptr ? frame : this), frame),
                          name, left, top, room);
}

QLabel* PlaceAutoLabel(QLabel* label, const char* name, double left, double top, double room) {
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(TwipsToPx(left), TwipsToPx(top), 0, label->sizeHint().height());
    FitText(label, TwipsToPx(room));
    return label;
}

QPushButton* FixedDialog::AddButton(const char* name, const QString& caption, double left,
                                    double top, double width, double height) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    PlaceTwips(button, left, top, width, height);
    return button;
}

QLineEdit* FixedDialog::AddTextBox(const char* name, double left, double top, double width,
                                   double height, const QString& widest, QWidget* frame) {
    auto* box = InDialogInk(new QLineEdit(frame != nullptr ? frame : this), frame);
    box->setObjectName(QString::fromLatin1(name));
    PlaceTwips(box, left, top, width, height);
    ShowWhole(box, widest);
    return box;
}

QGroupBox* FixedDialog::AddFrame(const char* name, const QString& caption, double left, double top,
                                 double width, double height) {
    auto* frame = new QGroupBox(caption, this);
    frame->setObjectName(QString::fromLatin1(name));
    PlaceTwips(frame, left, top, width, height);
    // Styles draw a frame's caption in its window-text or in its text colour.
    QPalette blue = frame->palette();
    blue.setColor(QPalette::WindowText, BgrColor(0x00FF0000));
    blue.setColor(QPalette::Text, BgrColor(0x00FF0000));
    frame->setPalette(blue);
    return frame;
}

void FixedDialog::OneFace(const QList<QLabel*>& labels) {
    if (labels.isEmpty()) return;
    QFont smallest = labels.front()->font();
    for (const QLabel* label : labels)
        if (label->font().pointSizeF() < smallest.pointSizeF()) smallest = label->font();
    for (QLabel* label : labels) label->setFont(smallest);
}
