#pragma once
// Every message box of the program goes through MsgBox. Tests install a
// responder that sees each box and answers it instead of the user.
#include <QString>
#include <functional>

enum : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

enum : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// The program's title, on every box whose title is not given.
inline const QString AppTitle = QStringLiteral("RN-Tools");

// Shows text with the buttons and icon of `buttons`; returns the button chosen.
// An empty title gives "RN-Tools".
int MsgBox(const QString& text, int buttons = vbOKOnly, const QString& title = {});

// The two failures every window reports in the same words: a file that could
// not be read or written whole (under the window's own title), and a printer
// that did not answer.
void FileOpenError(const QString& title);
// A table file that could not be written, likewise.
void FileSaveError(const QString& title);
void PrinterNotResponding();

using MsgBoxResponder = std::function<int(const QString& text, int buttons, const QString& title)>;
// While a responder is set it answers every box (it gets the title as shown);
// an empty one brings the real boxes back.
void SetMsgBoxResponder(MsgBoxResponder responder);
