#pragma once
// What every table editor window has alike: the toolbar (Open, Save, Setup, Get), the plane
// buttons, the table-file dialog and the plane-by-plane printer loop. The curve editors, the
// special table editors and their variants build these parts through here.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/colour_data.h"
#include "core/paths.h"

class CommonDialog;
class QObject;
class QRadioButton;
class QToolBar;
class QWidget;

// Toolbar1 at the top of the window (twips): "Open", "Save", a gap, "Setup", "Get", each button's
// objectName its key ("mnuFileOpen", "mnuFileSave", "mnuSetPrinter", "mnuGetPrinter"); a press
// calls click(key).
QToolBar* MakeTableToolbar(QWidget* window, double widthTwips,
                           std::function<void(const QString& key)> click);

// The procedures the four keys run, and the toolbar that runs them by the pressed button's key.
struct TableToolbarActions {
    std::function<void()> OpenTableFile;
    std::function<void()> SaveTableFile;
    std::function<void()> WriteTableToPrinter;
    std::function<void()> ReadTableFromPrinter;
};
QToolBar* MakeTableToolbar(QWidget* window, double widthTwips, TableToolbarActions actions);
// The toolbar of an editor whose procedures bear those names.
template <class Editor>
QToolBar* MakeTableToolbar(Editor* editor, double widthTwips) {
    return MakeTableToolbar(editor, widthTwips,
                            TableToolbarActions{[editor] { editor->OpenTableFile(); },
                                                [editor] { editor->SaveTableFile(); },
                                                [editor] { editor->WriteTableToPrinter(); },
                                                [editor] { editor->ReadTableFromPrinter(); }});
}

// The five plane buttons of a plane frame, in the order Y, M, C, OP, ALL.
struct PlaneButtons {
    QRadioButton* opbYellow = nullptr;
    QRadioButton* opbMagenta = nullptr;
    QRadioButton* opbCyan = nullptr;
    QRadioButton* opbOp = nullptr;
    QRadioButton* opbAll = nullptr;
};

// Places the buttons in the frame at `left` and the five tops (twips), 975 × 255 each, all in the
// face the longest caption needs, Yellow selected. A button's handler runs when it becomes the
// selected one, by a click or from code: select(plane) for Y..OP, all() for ALL.
PlaneButtons MakePlaneButtons(QWidget* frame, double left, const std::array<double, 5>& tops,
                              std::function<void(Plane)> select, std::function<void()> all);

// The file dialog of the table editors: title "Open" or "Save", folder LastDir, the filter given.
// False when cancelled; else the chosen path and its parts.
bool AskTableFile(CommonDialog& dialog, bool save, const QString& filter, std::string& path,
                  Module1::PathParts& parts);
// "*.ext|*.ext|", and with the text form "*.ext|*.ext|*.txt|*.txt|".
QString TableFileFilter(const char* extension, bool withText);
// After a file dialog that returned a name: LastDir is its folder and the caption names the file.
void TableFileChosen(QWidget* window, const QString& caption, const Module1::PathParts& parts);

// Runs a plane transfer for the four planes in turn, stopping at the first the printer does not
// answer; false (after "Printer not responding") when one failed.
bool EachPlane(const std::function<bool(int16_t plane)>& transfer);

