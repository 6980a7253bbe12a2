#pragma once
// How the windows of the program plug into the main menu. An editor or
// dialog registers, next to its class, the menu item that opens it:
//
//   static ChildWindowRegistration registration("mnuCtlHeadTemperature",
//                                               [] { return new frmHTemp; });
//
// The main window then opens it as a modeless child, at most one at a time,
// and brings the open one to the front when the item is chosen again. An item
// with work of its own (a file command, a simulation) registers its handler:
//
//   static MenuHandlerRegistration handler("mnuCtlOpenData", [] { ... });
//
// Items that nothing registered stay in the menu, disabled.
#include <QString>
#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// Makes the window (its load runs in the constructor); the main window owns it.
using ChildWindowFactory = std::function<QWidget*()>;
using MenuHandler = std::function<void()>;

struct ChildWindowRegistration {
    ChildWindowRegistration(const char* menuItem, ChildWindowFactory make);
};

struct MenuHandlerRegistration {
    MenuHandlerRegistration(const char* menuItem, MenuHandler handler);
};

namespace ChildWindows {
// What was registered for a menu item; empty when nothing was.
ChildWindowFactory FactoryOf(const QString& menuItem);
MenuHandler HandlerOf(const QString& menuItem);

// Where a child just shown in the area opens: where the area put it when it lies wholly
// inside, else at the next cascade position (the top left for the first), so that its
// caption and close box are never out of reach. The area scrolls to the rest of it.
void Place(QMdiArea& area, QMdiSubWindow& child);

// A window with a fixed border: inside the main window its child frame keeps the window's size,
// with a title and a close box only (nothing to minimise, maximise or size), and `unload` (when
// given) runs once, as the window closes. Called once, from the window's constructor.
void FixedChildWindow(QWidget* window, std::function<void()> unload = {});

// Window > Cascade: the children that are not minimised, from the back to the front, each at the
// next cascade position and at its own size; a minimised child stays where it lies. Which child
// is in front and active does not change.
void Cascade(QMdiArea& area);
}  // namespace ChildWindows
