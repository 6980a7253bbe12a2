#include "shell/common_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <utility>

#include "shell/modal.h"

namespace {

CommonDialog::Script& CurrentScript() {
    static CommonDialog::Script script;
    return script;
}

// "Data (*.ktd)|*.ktd|All|*.*" → {"Data (*.ktd) (*.ktd)", "All (*.*)"}: Qt reads the
// patterns from the last parentheses.
QStringList NameFilters(const QString& filter) {
    QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.trimmed());
    }
    return filters;
}

}  // namespace

CommonDialog::CommonDialog(QWidget* owner) : owner_(owner) {}

CommonDialog::~CommonDialog() = default;

void CommonDialog::SetScript(Script script) {
    CurrentScript() = std::move(script);
}

QPrinter& CommonDialog::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>();
    return *printer_;
}

bool CommonDialog::Finish(bool chosen) {
    if (!chosen && CancelError) throw CommonDialogCancelled{};
    return chosen;
}

bool CommonDialog::ShowOpen() {
    return ShowFile(Kind::Open);
}

bool CommonDialog::ShowSave() {
    return ShowFile(Kind::Save);
}

bool CommonDialog::AskFile(Kind kind, const QString& title, const QString& initDir,
                           const QString& filter) {
    DialogTitle = title;
    InitDir = initDir;
    FileName.clear();
    Filter = filter;
    CancelError = false;
    return ShowFile(kind) && !FileName.isEmpty();
}

bool CommonDialog::ShowFile(Kind kind) {
    bool chosen = false;
    if (CurrentScript()) {
        chosen = CurrentScript()(*this, kind);
    } else {
        QFileDialog dialog(owner_, DialogTitle, InitDir);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        const QStringList filters = NameFilters(Filter);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            if (FilterIndex >= 1 && FilterIndex <= filters.size()) {
                dialog.selectNameFilter(filters[FilterIndex - 1]);
            }
        }
        if (kind == Kind::Save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Flags & cdlOFNOverwritePrompt));
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode((Flags & cdlOFNFileMustExist) ? QFileDialog::ExistingFile
                                                             : QFileDialog::AnyFile);
        }
        if (!FileName.isEmpty()) dialog.selectFile(FileName);
        chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
        if (chosen) {
            FileName = dialog.selectedFiles().first();
            const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
            if (index >= 0) FilterIndex = static_cast<int>(index) + 1;
        }
    }
    if (chosen) FileTitle = QFileInfo(FileName).fileName();
    return Finish(chosen);
}

bool CommonDialog::ShowPrinter() {
    bool chosen = false;
    if (CurrentScript()) {
        chosen = CurrentScript()(*this, Kind::Printer);
    } else {
        // The print dialog carries its own title: DialogTitle belongs to the file dialogs, and
        // the last one's would show here.
        QPrintDialog dialog(&Printer(), owner_);
        QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
        options.setFlag(QAbstractPrintDialog::PrintSelection, !(Flags & cdlPDNoSelection));
        options.setFlag(QAbstractPrintDialog::PrintToFile, !(Flags & cdlPDDisablePrintToFile));
        dialog.setOptions(options);
        chosen = ShowModal(dialog) == QDialog::Accepted;
    }
    if (chosen && !CurrentScript()) {
        Copies = Printer().copyCount();
        Orientation = Printer().pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    }
    return Finish(chosen);
}
