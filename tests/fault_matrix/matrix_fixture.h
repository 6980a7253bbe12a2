#pragma once
// What every fault-matrix test shares: the program started on a printer port, a colour-data set
// whose planes all differ from one another, and what the user sees, the set and the printer hold,
// each taken whole before and after one printer action, so that a test can say what changed.
#include <QPalette>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/gui_test.h"

class QWidget;

// Everything a window shows, by control: "<objectName>.text", ".ink" (a box's text colour),
// ".picture", ".checked", ".enabled", ".index", and "(caption)" for the window's title. Controls
// that share a name are told apart by "#<n>" after it.
using Face = std::map<QString, QString>;
Face FaceOf(const QWidget* window);

// A control the action is expected to change, and what it shows then; the value may depend on the
// face before the action (another control's picture, say).
struct Change {
    QString key;
    std::function<QString(const Face& before)> value;
};
Change Shows(const char* control, const QString& text);
Change Titled(const QString& caption);
// The control shows the picture that `source` showed before the action.
Change Pictured(const char* control, const char* source);
// The box's text in the application's colour of that role, as it is when the check runs.
Change Inked(const char* control, QPalette::ColorRole role);
// The control shows the printer's setting of that key, as it is when the check runs.
Change ShowsSetting(const char* control, const char* key);
// A list's chosen item: its text and its index.
std::vector<Change> Chooses(const char* control, const QString& text, int index);

// What the user sees after an action: the message boxes in order, and the controls that change.
struct Seen {
    QStringList boxes;
    std::vector<Change> changes;
};
// "Printer not responding", and nothing else changes.
Seen NotResponding(std::vector<Change> changes = {});
// No message; the controls given change.
Seen Showing(std::vector<Change> changes);

// The colour-data set as the colour-data file holds it.
std::vector<uint8_t> SetImage();
// Every setting of the emulated printer "EMU1:" by key, its colour data as a checksum among them.
std::map<std::string, std::string> PrinterState();

// Gives every table of the set values that differ from plane to plane and from table to table,
// within what each editor shows without changing it.
void MakeDistinctSet();

// The program's printer exchanges wait this long for a reply in these tests; no action may take
// longer than one such wait.
inline constexpr int kPortTimeoutMs = 1000;

class MatrixTest : public GuiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the window of a menu item as the user does, with the main window active so that the
    // focus moves as it does for the user; the main window itself for an empty item.
    QWidget* OpenWindow(const char* menuItem);

    // Runs an action, answering the boxes it is expected to show, and checks what the user saw and
    // that it took less than one reply's wait. `face` is the window's face before it.
    void ExpectSeen(QWidget* window, const Face& before, const Seen& seen,
                    const std::function<void()>& action);

public:
    // For the action rows, which run inside a test.
    using GuiTest::ChooseFile;
    using GuiTest::WorkDir;
};
