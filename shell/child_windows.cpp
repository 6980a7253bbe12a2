#include "shell/child_windows.h"

#include <QEvent>
#include <QHash>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <algorithm>
#include <utility>

#include "shell/ui_units.h"

namespace {

// Function statics: registrations run while the program's objects are
// initialised, in no fixed order.
QHash<QString, ChildWindowFactory>& Factories() {
    static QHash<QString, ChildWindowFactory> factories;
    return factories;
}

QHash<QString, MenuHandler>& Handlers() {
    static QHash<QString, MenuHandler> handlers;
    return handlers;
}

// Fixes the child frame as soon as the window is put into one, and unloads the window as it closes.
class FixedChildWatch : public QObject {
public:
    FixedChildWatch(QWidget* window, std::function<void()> unload)
        : QObject(window), window_(window), unload_(std::move(unload)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_) return false;
        if (event->type() == QEvent::ParentChange) {
            QMdiSubWindow* frame = FixChildFrame(window_);
            if (frame && frame->layout()) frame->layout()->setSizeConstraint(QLayout::SetFixedSize);
        } else if (event->type() == QEvent::Close && unload_) {
            std::exchange(unload_, nullptr)();
        }
        return false;
    }

private:
    QWidget* window_;
    std::function<void()> unload_;
};

}  // namespace

ChildWindowRegistration::ChildWindowRegistration(const char* menuItem, ChildWindowFactory make) {
    Factories().insert(QString::fromLatin1(menuItem), std::move(make));
}

MenuHandlerRegistration::MenuHandlerRegistration(const char* menuItem, MenuHandler handler) {
    Handlers().insert(QString::fromLatin1(menuItem), std::move(handler));
}

namespace ChildWindows {

ChildWindowFactory FactoryOf(const QString& menuItem) {
    return Factories().value(menuItem);
}

MenuHandler HandlerOf(const QString& menuItem) {
    return Handlers().value(menuItem);
}

namespace {

// The corner of the `index`th window of a cascade, one title bar down and right of the one before.
// The cascade starts again at the top left before it leaves the area.
QPoint CascadeCorner(const QMdiArea& area, const QMdiSubWindow& child, int index) {
    const QRect inside = area.viewport()->rect();
    QStyleOptionTitleBar option;
    option.initFrom(&child);
    const int step = child.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &child);
    const int fit = std::max(1, std::min(inside.width(), inside.height()) / 2 / std::max(1, step));
    const int at = (index % fit) * step;
    return {at, at};
}

bool Arranged(const QMdiSubWindow& child) {
    return child.isVisible() && !child.isMinimized();
}

}  // namespace

void Place(QMdiArea& area, QMdiSubWindow& child) {
    if (area.viewport()->rect().contains(child.geometry())) return;
    // The area's own placement puts a child wider or taller than the area partly at
    // negative coordinates, where no scroll bar reaches.
    int others = 0;
    for (const QMdiSubWindow* open : area.subWindowList()) {
        if (open != &child && Arranged(*open)) ++others;
    }
    child.move(CascadeCorner(area, child, others));
}

void FixedChildWindow(QWidget* window, std::function<void()> unload) {
    new FixedChildWatch(window, std::move(unload));
}

void Cascade(QMdiArea& area) {
    int index = 0;
    for (QMdiSubWindow* child : area.subWindowList(QMdiArea::StackingOrder)) {
        if (!Arranged(*child)) continue;
        if (child->isMaximized()) child->showNormal();
        child->move(CascadeCorner(area, *child, index++));
    }
}

}  // namespace ChildWindows
