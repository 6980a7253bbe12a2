#pragma once
// The main window: a multiple-document parent whose menu bar opens every
// function of the program. Editors, dialogs and image windows live inside it
// as child windows (see shell/child_windows.h for how they plug in).
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>

#include "shell/common_dialog.h"
#include "shell/frm_information.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QTimer;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // The load: settings, shared globals, colour-data defaults, printer port.
    // Throws ProgramEnd where the program ends ("JM Printer is not installed."
    // for any failure, after telling the user).
    void MDIForm_Load();

    // What choosing a window item does: opens the item's window as a child,
    // or brings the open one to the front. Returns the window, or null when
    // no window is registered for the item.
    QWidget* OpenChild(const QString& menuItem);
    // Shows a window as a new modeless child and activates it.
    QMdiSubWindow* ShowChild(QWidget* window);

    // A menu item by its control name (null when there is none).
    QAction* Item(const QString& name) const;

    QMdiArea* mdiArea;
    QStatusBar* sbStatusBar;
    CommonDialog CommonDialog1;

    // The top menus; a menu's own enabled state is that of its menuAction().
    QMenu* mnuFile;
    QMenu* mnuFileSimulation;
    QMenu* mnuCtl;
    QMenu* mnuStatus;
    QMenu* mnuOption;
    QMenu* mnuWindow;
    QMenu* mnuHelp;

    QAction* mnuFileOpen;
    QAction* mnuFileSaveAs;
    QAction* mnuFilePrint;
    QAction* mnuPortSetting;
    QAction* mnuFileExit;
    QAction* mnuWindowCascade;
    QAction* mnuHelpContents;
    QAction* mnuHelpSearch;
    QAction* mnuHelpAbout;

    void mnuPortSetting_Click();
    void mnuFileExit_Click();
    void mnuWindowCascade_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void mnuHelpAbout_Click();
    // Refills the Window menu's list of child windows (done each time it opens).
    void mnuWindow_Refresh();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QMenu* AddMenu(const char* caption, const char* name);
    QAction* AddItem(QMenu* menu, const char* caption, const char* name, const char* shortcut = "");
    void AddItems(QMenu* menu, std::initializer_list<std::pair<const char*, const char*>> rows);
    void Hook(QAction* item, std::function<void()> handler);
    void HookRegistered(QAction* item);
    void BuildStatusBar();
    void MDIForm_Unload();
    void ReadPlacement();

    InformationNotice notice_;
    QHash<QString, QAction*> items_;
    QHash<QString, QPointer<QMdiSubWindow>> open_;
    QTimer* clock_ = nullptr;
    // The placement as read, in twips and in pixels: a value the window still
    // has is written back as it was read, so no rounding creeps in.
    std::array<float, 4> loadedTwips_{};
    std::array<int, 4> loadedPx_{};
};

extern frmMain* MainForm;
