#pragma once
// The items of the main menu's tree that open a window, in the tree's order.
#include <QAction>
#include <QList>
#include <QMenu>
#include <QMenuBar>

#include "shell/child_windows.h"
#include "shell/frm_main.h"

inline QList<QAction*> WindowItems() {
    QList<QAction*> items;
    QList<QMenu*> menus;
    for (QAction* top : MainForm->menuBar()->actions()) menus << top->menu();
    while (!menus.isEmpty()) {
        for (QAction* item : menus.takeFirst()->actions()) {
            if (item->menu()) menus << item->menu();
            if (ChildWindows::FactoryOf(item->objectName())) items << item;
        }
    }
    return items;
}
