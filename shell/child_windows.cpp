#include "shell/child_windows.h"

#include <QHash>
#include <utility>

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

}  // namespace ChildWindows
