#include "maintenance/fixed_dialog.h"

#include <QEvent>
#include <QLabel>
#include <QMdiSubWindow>

#include "shell/ui_units.h"

FixedDialog::FixedDialog(const char* name, double clientWidth, double clientHeight) {
    setObjectName(QString::fromLatin1(name));
    FixClientTwips(this, clientWidth, clientHeight);
}

bool FixedDialog::event(QEvent* e) {
    if (e->type() == QEvent::ParentChange) {
        if (QMdiSubWindow* frame = FixChildFrame(this))
            frame->setOption(QMdiSubWindow::RubberBandResize, false);
    }
    return QWidget::event(e);
}

QLabel* FixedDialog::AddLabel(const char* name, const QString& text, double left, double top,
                              double width, double height) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    PlaceTwips(label, left, top, width, height);
    // Widening would run into the control beside it.
    FitText(label, label->width());
    return label;
}
