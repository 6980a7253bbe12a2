#pragma once
// The fixture of every GUI test. Each test starts with a clean program: the
// emulated printers at their factory state, the colour data at its defaults,
// no printer list and no port, the settings store and the program folder in a
// temporary folder of the test's own (with the working folder beside them),
// an instant Sleep, and no window. Message boxes, file and print dialogs and
// modal dialogs never wait for a user: each one is recorded and answered from
// what the test queued. One that nothing was queued for fails the test.
#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <vector>

#include "shell/common_dialog.h"

class QDialog;

struct ShownBox {
    QString text;
    int buttons;
    QString title;
};

struct ShownFileDialog {
    CommonDialog::Kind kind;
    QString title;
    QString initDir;
    QString filter;
    int32_t flags;
};

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Message boxes: the next one is answered with `button` (vbOK, vbRetry, ...),
    // after `meanwhile` ran (what the user does before answering).
    void AnswerBox(int button, std::function<void()> meanwhile = {});
    const std::vector<ShownBox>& Boxes() const { return boxes_; }
    // The texts of the boxes shown so far.
    QStringList BoxTexts() const;

    // File dialogs: the next one chooses `path` (a name alone lands in the work folder).
    void ChooseFile(const QString& path);
    // The next file or print dialog is cancelled.
    void CancelDialog();
    // The next print dialog is confirmed.
    void ConfirmPrintDialog();
    const std::vector<ShownFileDialog>& FileDialogs() const { return fileDialogs_; }

    // Modal dialogs (frmPortSetting, About, ...): the next one is handed to `respond`
    // while shown; it closes the dialog as a user would.
    void RespondModal(std::function<void(QDialog&)> respond);
    int ModalCount() const { return modalCount_; }

    // The printer registry of the test (see platform/spooler): each entry is
    // {device name, port, work offline, bidirectional}.
    struct Printer {
        QString name;
        QString port;
        bool offline = false;
        bool bidi = true;
    };
    void InstallPrinters(const std::vector<Printer>& printers);

    // Runs the start procedure; true when the main window is up.
    bool StartProgram();

    // Durations passed to Sleep, in order.
    const std::vector<int>& Sleeps() const { return sleeps_; }

    QString SettingsFolder() const { return temp_.filePath("settings"); }
    QString ProgramDir() const { return temp_.filePath("program"); }
    QString WorkDir() const { return temp_.filePath("work"); }
    QString SettingsFile() const;

private:
    QTemporaryDir temp_;
    QString startDir_;
    std::vector<ShownBox> boxes_;
    std::deque<std::pair<int, std::function<void()>>> boxAnswers_;
    std::vector<ShownFileDialog> fileDialogs_;
    std::deque<std::function<bool(CommonDialog&)>> dialogAnswers_;
    std::deque<std::function<void(QDialog&)>> modalAnswers_;
    int modalCount_ = 0;
    std::vector<int> sleeps_;
};
