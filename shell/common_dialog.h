#pragma once
// The file and print dialog component of the main window and the editors.
// Its properties keep their values between uses, Flags included: a handler
// that sets flags for the print dialog leaves them for the next file dialog.
// Tests script what the user chooses through SetScript; no dialog is shown then.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

// Flags of the file dialogs.
enum : int32_t {
    cdlOFNReadOnly = 0x1,
    cdlOFNOverwritePrompt = 0x2,
    cdlOFNHideReadOnly = 0x4,
    cdlOFNNoChangeDir = 0x8,
    cdlOFNPathMustExist = 0x800,
    cdlOFNFileMustExist = 0x1000,
    cdlOFNExplorer = 0x80000,
};
// Flags of the print dialog.
enum : int32_t {
    cdlPDNoSelection = 0x4,
    cdlPDDisablePrintToFile = 0x80000,
};

// Cancel on a dialog whose CancelError is set; Number is the runtime's error 32755.
struct CommonDialogCancelled {
    int Number = 32755;
};

class CommonDialog {
public:
    enum class Kind { Open, Save, Printer };
    // Answers a dialog instead of the user: sets what the user would choose
    // (FileName, FilterIndex, Copies, Orientation) and returns false for Cancel.
    using Script = std::function<bool(CommonDialog& dialog, Kind kind)>;

    explicit CommonDialog(QWidget* owner = nullptr);
    ~CommonDialog();
    CommonDialog(const CommonDialog&) = delete;
    CommonDialog& operator=(const CommonDialog&) = delete;

    QString DialogTitle;
    QString InitDir;
    QString FileName;   // full path of the chosen file
    QString FileTitle;  // its name without the folder
    // Pairs "description|pattern" joined by "|"; patterns are separated by ";".
    QString Filter;
    int FilterIndex = 1;  // 1-based
    int32_t Flags = 0;
    bool CancelError = false;
    int Copies = 1;
    int Orientation = 1;  // 1 portrait, 2 landscape

    // Each returns true when the user chose; false (or CommonDialogCancelled
    // thrown, when CancelError is set) when the dialog was cancelled.
    bool ShowOpen();
    bool ShowSave();
    bool ShowPrinter();

    // The file dialog as every file command asks it: this title, folder and
    // filter, no file name, Flags as an earlier use left them. True when the
    // user chose a file; Cancel is false, never an error.
    bool AskFile(Kind kind, const QString& title, const QString& initDir, const QString& filter);

    // The printer the print dialog set up.
    QPrinter& Printer();

    static void SetScript(Script script);

private:
    bool ShowFile(Kind kind);
    bool Finish(bool chosen);

    QWidget* owner_;
    std::unique_ptr<QPrinter> printer_;
};
