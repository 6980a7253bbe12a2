#include "shell/box_entry.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

EntryEnd EndOfEntry(const QEvent* event, const QObject* box, const QWidget* window) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent*>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter ? EntryEnd::EnterKey : EntryEnd::None;
    }
    if (event->type() != QEvent::FocusOut ||
        static_cast<const QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
        return EntryEnd::None;
    return window == nullptr || LeftForAnotherControl(window, box) ? EntryEnd::Left
                                                                   : EntryEnd::None;
}

bool LeftForAnotherControl(const QWidget* window, const QObject* box) {
    // The focus has already moved on when its loss is told.
    const QWidget* next = QApplication::focusWidget();
    return next && next != box && window->isAncestorOf(next);
}
