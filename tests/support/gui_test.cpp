#include "tests/support/gui_test.h"

#include <dlfcn.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTextStream>
#include <QWidget>

#include "core/bulk_transfers.h"
#include "core/colour_data.h"
#include "core/parvel_link.h"
#include "core/printer_discovery.h"
#include "core/sleep.h"
#include "shell/app_globals.h"
#include "shell/frm_main.h"
#include "shell/modal.h"
#include "shell/module1.h"
#include "shell/msgbox.h"
#include "shell/program_end.h"
#include "shell/settings.h"

namespace {

// The emulator's reset, when the test links the monitor.
void ResetEmulator() {
    using Reset = void (*)();
    if (auto reset = reinterpret_cast<Reset>(dlsym(RTLD_DEFAULT, "quillet_reset"))) reset();
}

void CloseAllWindows() {
    delete MainForm;
    MainForm = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->parentWidget()) delete window;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

void GuiTest::SetUp() {
    ASSERT_TRUE(temp_.isValid());
    for (const char* folder : {"settings", "program", "work"}) QDir(temp_.path()).mkpath(folder);
    startDir_ = QDir::currentPath();
    QDir::setCurrent(WorkDir());
    Settings::SetFolder(SettingsFolder());
    Module2::SetProgramFolder(ProgramDir().toStdString());
    qputenv("RNTOOLS_PRINTERS", temp_.filePath("printers.ini").toLocal8Bit());

    ResetEmulator();
    Module1::ResetProgramEnd();
    PortHandle = 0;
    PrinterNames = {};
    PrinterCount = 0;
    SelectedPrinter = 0;
    LastDir.clear();
    LastImageDir.clear();
    ModuleDataPro::InitColorData();

    SetSleepHandler([this](int ms) { sleeps_.push_back(ms); });
    SetMsgBoxResponder([this](const QString& text, int buttons, const QString& title) -> int {
        boxes_.push_back({text, buttons, title});
        if (boxAnswers_.empty()) {
            ADD_FAILURE() << "unexpected message box: " << text.toStdString();
            return vbCancel;
        }
        auto [answer, meanwhile] = std::move(boxAnswers_.front());
        boxAnswers_.pop_front();
        if (meanwhile) meanwhile();
        return answer;
    });
    CommonDialog::SetScript([this](CommonDialog& dialog, CommonDialog::Kind kind) {
        fileDialogs_.push_back(
            {kind, dialog.DialogTitle, dialog.InitDir, dialog.Filter, dialog.Flags});
        if (dialogAnswers_.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << dialog.DialogTitle.toStdString();
            return false;
        }
        auto answer = std::move(dialogAnswers_.front());
        dialogAnswers_.pop_front();
        return answer(dialog);
    });
    SetModalResponder([this](QDialog& dialog) {
        ++modalCount_;
        if (modalAnswers_.empty()) {
            ADD_FAILURE() << "unexpected modal dialog: " << dialog.objectName().toStdString();
            dialog.reject();
            return;
        }
        auto answer = std::move(modalAnswers_.front());
        modalAnswers_.pop_front();
        answer(dialog);
    });
}

void GuiTest::TearDown() {
    CloseAllWindows();
    SetMsgBoxResponder({});
    CommonDialog::SetScript({});
    SetModalResponder({});
    SetSleepHandler({});
    Settings::SetFolder({});
    Module2::SetProgramFolder({});
    qunsetenv("RNTOOLS_PRINTERS");
    QDir::setCurrent(startDir_);
    Module1::ResetProgramEnd();
    EXPECT_TRUE(boxAnswers_.empty()) << "answers queued for message boxes never shown";
    EXPECT_TRUE(dialogAnswers_.empty()) << "answers queued for dialogs never shown";
    EXPECT_TRUE(modalAnswers_.empty()) << "answers queued for modal dialogs never shown";
}

void GuiTest::AnswerBox(int button, std::function<void()> meanwhile) {
    boxAnswers_.emplace_back(button, std::move(meanwhile));
}

QStringList GuiTest::BoxTexts() const {
    QStringList texts;
    for (const ShownBox& box : boxes_) texts << box.text;
    return texts;
}

void GuiTest::ChooseFile(const QString& path) {
    const QString full = QDir(WorkDir()).absoluteFilePath(path);
    dialogAnswers_.push_back([full](CommonDialog& dialog) {
        dialog.FileName = full;
        return true;
    });
}

void GuiTest::CancelDialog() {
    dialogAnswers_.push_back([](CommonDialog&) { return false; });
}

void GuiTest::ConfirmPrintDialog() {
    dialogAnswers_.push_back([](CommonDialog&) { return true; });
}

void GuiTest::RespondModal(std::function<void(QDialog&)> respond) {
    modalAnswers_.push_back(std::move(respond));
}

void GuiTest::InstallPrinters(const std::vector<Printer>& printers) {
    QFile file(temp_.filePath("printers.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
    QTextStream out(&file);
    for (const Printer& p : printers) {
        out << '[' << p.name << "]\nPort=" << p.port << "\nWorkOffline=" << (p.offline ? 1 : 0)
            << "\nEnableBidi=" << (p.bidi ? 1 : 0) << "\n\n";
    }
}

bool GuiTest::StartProgram() {
    return Module1::Main();
}

QString GuiTest::SettingsFile() const {
    return Settings::File();
}
