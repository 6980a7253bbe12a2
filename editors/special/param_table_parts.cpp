#include "editors/special/param_table_parts.h"

#include <QFont>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <string>

#include "core/paths.h"
#include "core/record_files.h"
#include "editors/curve/table_editor_parts.h"
#include "shell/common_dialog.h"
#include "shell/msgbox.h"
#include "shell/ui_units.h"

bool OpenParamTableFile(QWidget* window, CommonDialog& dialog, const ParamTableFiling& filing) {
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(dialog, false, TableFileFilter(filing.extension, false), path, parts))
        return false;
    if (parts.Ext == filing.extension && !ParamTableFile::Read(path, filing.table)) {
        FileOpenError(filing.errorTitle);
        return false;
    }
    TableFileChosen(window, filing.caption, parts);
    return true;
}

void SaveParamTableFile(QWidget* window, CommonDialog& dialog, const ParamTableFiling& filing) {
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(dialog, true, TableFileFilter(filing.extension, false), path, parts)) return;
    if (parts.Ext == filing.extension && !ParamTableFile::Write(path, filing.table)) {
        FileSaveError(filing.errorTitle);
        return;
    }
    TableFileChosen(window, filing.caption, parts);
}

bool ReadPlanesFromPrinter(QWidget* window, const char* caption,
                           const std::function<bool(int16_t plane)>& read) {
    if (!EachPlane(read)) return false;
    window->setWindowTitle(QString(caption) + " [Printer]");
    return true;
}

bool ConfirmAllPlanes(QRadioButton* opbYellow) {
    if (MsgBox("Replace all data?", vbOKCancel) == vbOK) return true;
    opbYellow->setChecked(true);
    return false;
}

QLineEdit* MakeBox(QWidget* parent, const char* name, const QString& text, double left, double top,
                   double width, double height, const QFont& face) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setFont(face);
    PlaceTwips(box, left, top, width, height);
    return box;
}

QFont GothicFace() {
    QFont face(QStringLiteral("ＭＳ ゴシック"));
    face.setPointSizeF(11.25);
    return face;
}

QFont ProportionalGothicBoldFace() {
    QFont face(QStringLiteral("ＭＳ Ｐゴシック"));
    face.setPointSizeF(9.75);
    face.setBold(true);
    return face;
}

void FitColumn(std::initializer_list<QWidget*> labels) {
    QFont face;
    bool first = true;
    for (QWidget* label : labels) {
        FitText(label, label->width());
        if (first || label->font().pointSizeF() < face.pointSizeF()) face = label->font();
        first = false;
    }
    for (QWidget* label : labels) label->setFont(face);
}

QFrame* MakeLine(QWidget* parent, const char* name, double x1, double y1, double x2, double y2) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette colours = line->palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::WindowText));
    line->setPalette(colours);
    const int left = TwipsToPx(std::min(x1, x2)), top = TwipsToPx(std::min(y1, y2));
    line->setGeometry(left, top, TwipsToPx(std::max(x1, x2)) - left + 1,
                      TwipsToPx(std::max(y1, y2)) - top + 1);
    return line;
}
