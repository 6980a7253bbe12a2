#include "editors/curve/table_editor_parts.h"

#include <QAction>
#include <QRadioButton>
#include <QToolBar>

#include "editors/curve/curve_editor_icons.h"
#include "shell/app_globals.h"
#include "shell/common_dialog.h"
#include "shell/msgbox.h"
#include "shell/ui_units.h"

QToolBar* MakeTableToolbar(QWidget* window, double widthTwips,
                           std::function<void(const QString& key)> click) {
    auto* toolbar = new QToolBar(window);
    toolbar->setObjectName("Toolbar1");
    PlaceTwips(toolbar, 0, 0, widthTwips, 465);
    struct Button {
        const char* key;
        const char* tip;
        int image;
    };
    const Button buttons[] = {{"mnuFileOpen", "Open", 1},
                              {"mnuFileSave", "Save", 2},
                              {nullptr, nullptr, 0},
                              {"mnuSetPrinter", "Setup", 3},
                              {"mnuGetPrinter", "Get", 4}};
    for (const auto& b : buttons) {
        if (!b.key) {
            toolbar->addSeparator();
            continue;
        }
        QAction* a = toolbar->addAction(CurveEditorIcon(b.image), QString());
        a->setObjectName(b.key);
        a->setToolTip(b.tip);
        const QString key = b.key;
        QObject::connect(a, &QAction::triggered, window, [click, key] { click(key); });
    }
    return toolbar;
}

QToolBar* MakeTableToolbar(QWidget* window, double widthTwips, TableToolbarActions actions) {
    return MakeTableToolbar(window, widthTwips, [actions](const QString& key) {
        if (key == "mnuFileOpen")
            actions.OpenTableFile();
        else if (key == "mnuFileSave")
            actions.SaveTableFile();
        else if (key == "mnuSetPrinter")
            actions.WriteTableToPrinter();
        else if (key == "mnuGetPrinter")
            actions.ReadTableFromPrinter();
    });
}

PlaneButtons MakePlaneButtons(QWidget* frame, double left, const std::array<double, 5>& tops,
                              std::function<void(Plane)> select, std::function<void()> all) {
    auto make = [&](const char* name, const char* text, double top) {
        auto* b = new QRadioButton(text, frame);
        b->setObjectName(name);
        PlaceTwips(b, left, top, 975, 255);
        FitText(b, RoomToParentEdge(b));
        return b;
    };
    PlaneButtons p;
    p.opbYellow = make("opbYellow", "Yellow", tops[0]);
    p.opbMagenta = make("opbMagenta", "Magenta", tops[1]);
    p.opbCyan = make("opbCyan", "Cyan", tops[2]);
    p.opbOp = make("opbOp", "Op", tops[3]);
    p.opbAll = make("opbAll", "ALL", tops[4]);
    // The plane buttons read as one column: all take the face the longest needed.
    const std::array<QRadioButton*, 5> column{p.opbYellow, p.opbMagenta, p.opbCyan, p.opbOp,
                                              p.opbAll};
    QFont face = p.opbYellow->font();
    for (QRadioButton* b : column)
        if (b->font().pointSizeF() < face.pointSizeF()) face = b->font();
    for (QRadioButton* b : column) b->setFont(face);
    p.opbYellow->setChecked(true);
    for (int plane = PlaneYellow; plane <= PlaneOp; ++plane) {
        QObject::connect(column[plane], &QRadioButton::toggled, frame, [select, plane](bool on) {
            if (on) select(Plane(plane));
        });
    }
    QObject::connect(p.opbAll, &QRadioButton::toggled, frame, [all](bool on) {
        if (on) all();
    });
    return p;
}

QString TableFileFilter(const char* extension, bool withText) {
    const QString ext = QString::fromLatin1(extension);
    return "*." + ext + "|*." + ext + "|" + (withText ? "*.txt|*.txt|" : "");
}

bool AskTableFile(CommonDialog& dialog, bool save, const QString& filter, std::string& path,
                  Module1::PathParts& parts) {
    if (!dialog.AskFile(save ? CommonDialog::Kind::Save : CommonDialog::Kind::Open,
                        save ? "Save" : "Open", LastDir, filter))
        return false;
    path = dialog.FileName.toStdString();
    Module1::SplitPath(path, parts);
    return true;
}

void TableFileChosen(QWidget* window, const QString& caption, const Module1::PathParts& parts) {
    LastDir = QString::fromStdString(parts.Dir);
    window->setWindowTitle(caption + " [" + QString::fromStdString(parts.Name) + "]");
}

bool EachPlane(const std::function<bool(int16_t plane)>& transfer) {
    for (int16_t plane = 0; plane < PlaneCount; ++plane) {
        if (!transfer(plane)) {
            PrinterNotResponding();
            return false;
        }
    }
    return true;
}

