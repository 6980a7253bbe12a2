#pragma once
// What the sigma, G omega and G delta windows have alike beyond the table editors' toolbar and
// plane buttons: the 64-byte table file under the window's own extension, their text boxes and
// lines, and the fixed frame inside the main window.
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>

#include "core/colour_data.h"

class CommonDialog;
class QFont;
class QFrame;
class QLineEdit;
class QRadioButton;
class QWidget;

// Which window files which table.
struct ParamTableFiling {
    const char* caption;     // design caption, the base of " [file]"
    const char* extension;   // three lower-case letters
    const char* errorTitle;  // title of "FileOpen Error" and "FileSave Error"
    ParamTable& table;
};

// "Open": a name with the window's extension is read whole into the table (all planes, all eight
// words); another name reads nothing. True when a name was chosen and nothing failed: LastDir and
// the caption then name it, and the window shows the table again. A missing, unreadable or short
// file says "FileOpen Error" and leaves table, caption and LastDir as they were.
bool OpenParamTableFile(QWidget* window, CommonDialog& dialog, const ParamTableFiling& filing);

// "Save": the table over the head of a file with the window's extension (a longer file keeps its
// tail); another name writes nothing. A file that cannot be written says "FileSave Error" and
// leaves caption and LastDir as they were.
void SaveParamTableFile(QWidget* window, CommonDialog& dialog, const ParamTableFiling& filing);

// "Get" of the four planes in turn; true when all were read, and the caption then says
// " [Printer]". At the first failure "Printer not responding", the caption as it was.
bool ReadPlanesFromPrinter(QWidget* window, const char* caption,
                           const std::function<bool(int16_t plane)>& read);

// "Replace all data?": true for OK. Cancel selects the Yellow button instead, whose handler then
// shows plane Yellow.
bool ConfirmAllPlanes(QRadioButton* opbYellow);

// A text box placed in twips, in the design's face.
QLineEdit* MakeBox(QWidget* parent, const char* name, const QString& text, double left, double top,
                   double width, double height, const QFont& face);
// The design's Japanese Gothic faces: "ＭＳ ゴシック" 11.25 pt and "ＭＳ Ｐゴシック" 9.75 pt bold.
QFont GothicFace();
QFont ProportionalGothicBoldFace();

// Labels placed one under another: each text fits its label (FitText, no widening), and all take
// the face the longest needed, so that the column reads as one.
void FitColumn(std::initializer_list<QWidget*> labels);

// A straight line of the window text's colour from (x1, y1) to (x2, y2), twips; horizontal or
// vertical.
QFrame* MakeLine(QWidget* parent, const char* name, double x1, double y1, double x2, double y2);
