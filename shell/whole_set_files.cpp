#include "shell/whole_set_files.h"

#include <QCoreApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <optional>
#include <string>

#include "core/bulk_transfers.h"
#include "core/colour_data_file.h"
#include "core/errors.h"
#include "core/paths.h"
#include "shell/app_globals.h"
#include "shell/child_windows.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"

namespace WholeSetFiles {
namespace {

const QString ReflectQuestion = QStringLiteral("To reflect data, all windows are closed.");
const QString FileErrorTitle = QStringLiteral("KT-Tools");

const QString DataFilter = QStringLiteral("*.ktd|*.ktd|");
const QString TableFilter = QStringLiteral("*.ktt|*.ktt|");
const QString RomFilter = QStringLiteral("*.s|*.s|");

// A transfer's result as the user sees it: a success says nothing.
void Report(bool sent) {
    if (!sent) PrinterNotResponding();
}

// A file the user chose: its path as the file system takes it, the parts of
// that path and its folder as LastDir keeps it.
struct ChosenFile {
    std::string path;
    Module1::PathParts parts;
    QString folder;
    QString title;
};

using Ask = CommonDialog::Kind;

// Shows the main window's file dialog in LastDir; nothing when the user cancelled.
std::optional<ChosenFile> AskFile(Ask kind, const QString& title, const QString& filter) {
    CommonDialog& dialog = MainForm->CommonDialog1;
    if (!dialog.AskFile(kind, title, LastDir, filter)) return std::nullopt;
    ChosenFile file;
    file.path = QFile::encodeName(dialog.FileName).toStdString();
    Module1::SplitPath(file.path, file.parts);
    file.folder = QFile::decodeName(QByteArray::fromStdString(file.parts.Dir));
    file.title = dialog.FileTitle;
    return file;
}

QList<QMdiSubWindow*> OtherWindows() {
    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* child : MainForm->mdiArea->subWindowList()) {
        if (!child->isHidden()) open << child;
    }
    return open;
}

// Closes every window but the main window, each storing what it shows as it
// goes. False when one of them stays open: the set it shows is then kept.
bool CloseOtherWindows() {
    MainForm->mdiArea->closeAllSubWindows();
    // A window's unload finishes with its deletion; it must not store into the
    // set after the new one was read.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return OtherWindows().isEmpty();
}

}  // namespace

void mnuCtlOpenData_Click() {
    if (!OtherWindows().isEmpty()) {
        if (MsgBox(ReflectQuestion, vbOKCancel, AppTitle) != vbOK) return;
        if (!CloseOtherWindows()) return;
    }
    const std::optional<ChosenFile> file =
        AskFile(Ask::Open, QStringLiteral("Open data"), DataFilter);
    if (!file) return;
    if (file->parts.Ext != "ktd") {
        LastDir = file->folder;
        return;
    }
    // A file that cannot be read whole (a short one among them) leaves the set as it was.
    if (!Module1::FileExists(file->path) || !ColorDataFile::Read(file->path)) {
        FileOpenError(FileErrorTitle);
        return;
    }
    LastDir = file->folder;
}

void mnuCtlSaveData_Click() {
    const std::optional<ChosenFile> file =
        AskFile(Ask::Save, QStringLiteral("Save data"), DataFilter);
    if (!file) return;
    if (file->parts.Ext == "ktd" && !ColorDataFile::Write(file->path)) {
        FileSaveError(FileErrorTitle);
        return;
    }
    LastDir = file->folder;
}

void mnuCtlWriteData_Click() {
    const std::optional<ChosenFile> file =
        AskFile(Ask::Open, QStringLiteral("Write data"), DataFilter);
    if (!file) return;
    try {
        // The file is checked first, so that a printer never gets a version
        // text without the data it names.
        Module2::CheckColorDataFile(file->path);
        const bool sent = Module2::WriteVersion(file->title.toUpper().toStdString()) &&
                          Module2::SendColorDataFile(file->path);
        LastDir = file->folder;
        Report(sent);
    } catch (const FileError&) {
        FileOpenError(FileErrorTitle);
    }
}

void mnuCtlSaveData2_Click() {
    const std::optional<ChosenFile> file =
        AskFile(Ask::Save, QStringLiteral("Save data"), TableFilter);
    if (!file) return;
    if (file->parts.Ext == "ktt") {
        try {
            Module2::WriteTableCommandFile(file->path);
        } catch (const FileError&) {
            FileSaveError(FileErrorTitle);
            return;
        }
    }
    LastDir = file->folder;
}

void mnuCtlWriteAll_Click() {
    try {
        Report(Module2::WriteAllTables());
    } catch (const FileWriteError&) {
        FileSaveError(FileErrorTitle);
    } catch (const FileError&) {
        FileOpenError(FileErrorTitle);
    }
}

void mnuOptionFlashProgram_Click() {
    const std::optional<ChosenFile> file =
        AskFile(Ask::Open, QStringLiteral("ROM Data"), RomFilter);
    if (!file) return;
    try {
        const bool sent = Module2::UpdateFirmware(file->path);
        LastDir = file->folder;
        Report(sent);
    } catch (const FileError&) {
        FileOpenError(FileErrorTitle);
    }
}

namespace {

const MenuHandlerRegistration openData("mnuCtlOpenData", mnuCtlOpenData_Click);
const MenuHandlerRegistration saveData("mnuCtlSaveData", mnuCtlSaveData_Click);
const MenuHandlerRegistration writeData("mnuCtlWriteData", mnuCtlWriteData_Click);
const MenuHandlerRegistration saveTables("mnuCtlSaveData2", mnuCtlSaveData2_Click);
const MenuHandlerRegistration writeAll("mnuCtlWriteAll", mnuCtlWriteAll_Click);
const MenuHandlerRegistration flashProgram("mnuOptionFlashProgram", mnuOptionFlashProgram_Click);

}  // namespace

}  // namespace WholeSetFiles
