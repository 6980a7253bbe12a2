#include "shell/frm_image_frame.h"

#include <QAction>
#include <QBuffer>
#include <QByteArray>
#include <QCloseEvent>
#include <QFile>
#include <QImageReader>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <optional>
#include <vector>

#include "core/paths.h"
#include "core/whole_files.h"
#include "shell/app_globals.h"
#include "shell/child_windows.h"
#include "shell/common_dialog.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"

namespace {

// A picture prints at the size it has on the screen, whose pictures are 96 dots an inch.
constexpr double ScreenDpi = 96.0;
// The largest picture file read: no bitmap or JPEG that fits the reader's memory limit is larger.
constexpr std::size_t MostPictureBytes = std::size_t{256} << 20;

MenuHandlerRegistration openHandler("mnuFileOpen", [] { mnuFileOpen_Click(); });
MenuHandlerRegistration saveAsHandler("mnuFileSaveAs", [] { mnuFileSaveAs_Click(); });
MenuHandlerRegistration printHandler("mnuFilePrint", [] { mnuFilePrint_Click(); });

// The items that work on the active image window.
void EnableImageItems(bool enabled) {
    if (MainForm == nullptr) return;
    MainForm->mnuFileSimulation->menuAction()->setEnabled(enabled);
    MainForm->mnuFileSaveAs->setEnabled(enabled);
    MainForm->mnuFilePrint->setEnabled(enabled);
}

Module1::PathParts Split(const QString& path) {
    Module1::PathParts parts;
    Module1::SplitPath(path.toStdString(), parts);
    return parts;
}

// Writes the picture as a bitmap file through the one save routine of user files, which replaces
// the old file only once the new one is whole and keeps its rules: a link is followed, and a
// target that is no regular file or has no write permission is left as it is.
bool SaveBitmap(const QImage& picture, const QString& path) {
    if (picture.isNull()) return false;
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "BMP")) return false;
    return ReplaceFileWhole(
        QFile::encodeName(path).toStdString(),
        std::string_view(bitmap.constData(), static_cast<std::size_t>(bitmap.size())));
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setObjectName("Picture1");
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void PictureBox::SetPicture(const QImage& picture) {
    SetPicture(picture, picture);
}

void PictureBox::SetPicture(const QImage& picture, const QImage& drawn) {
    picture_ = picture;
    image_ = drawn;
    resize(picture_.size());
    update();
    emit Change();
}

void PictureBox::Cls() {
    image_ = picture_;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

frmImageFrame::frmImageFrame() : Picture1(new PictureBox(this)) {
    setObjectName("frmImageFrame");
    connect(Picture1, &PictureBox::Change, this, &frmImageFrame::Picture1_Change);
    Form_Load();
}

void frmImageFrame::Form_Load() {
    Picture1->move(0, 0);
    FitPending = true;
}

void frmImageFrame::Picture1_Change() {
    if (!FitPending) return;
    FitOuterSize(Picture1->size());
    FitPending = false;
}

void frmImageFrame::FitOuterSize(QSize size) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        frame->resize(size);
        pendingFit_ = {};
    } else {
        resize(size);
        pendingFit_ = size;
    }
}

void frmImageFrame::Form_Activate() {
    EnableImageItems(true);
}

void frmImageFrame::Form_Deactivate() {
    EnableImageItems(false);
}

void frmImageFrame::Form_QueryUnload() {
    Picture1->Cls();
}

void frmImageFrame::Form_Unload() {
    EnableImageItems(false);
}

// The window learns of its activation from the child-window frame it lives in.
void frmImageFrame::FollowActivation() {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (frame == nullptr || followed_) return;
    followed_ = true;
    connect(frame, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                const bool was = before.testFlag(Qt::WindowActive);
                const bool is = now.testFlag(Qt::WindowActive);
                if (is && !was) Form_Activate();
                if (was && !is) Form_Deactivate();
            });
}

bool frmImageFrame::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange) FollowActivation();
    if (event->type() == QEvent::Show && pendingFit_.isValid()) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            frame->resize(pendingFit_);
            pendingFit_ = {};
        }
    }
    return QWidget::event(event);
}

void frmImageFrame::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    Form_Unload();
    event->accept();
}

bool LoadPicture(const QString& path, QImage& picture) {
    // Read through the one reader of user files, which takes regular files only: opening a named
    // pipe would wait for a writer for good.
    const std::optional<std::vector<uint8_t>> bytes =
        ReadWholeFile(QFile::encodeName(path).toStdString(), MostPictureBytes);
    if (!bytes) return false;
    QByteArray data(reinterpret_cast<const char*>(bytes->data()),
                    static_cast<qsizetype>(bytes->size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QImage read = reader.read();
    if (read.isNull()) return false;
    picture = std::move(read);
    return true;
}

frmImageFrame* ActiveImageFrame() {
    if (MainForm == nullptr) return nullptr;
    QMdiSubWindow* active = MainForm->mdiArea->activeSubWindow();
    return active ? qobject_cast<frmImageFrame*>(active->widget()) : nullptr;
}

void mnuFileOpen_Click() {
    CommonDialog& dialog = MainForm->CommonDialog1;
    if (!dialog.AskFile(CommonDialog::Kind::Open, QStringLiteral("Open"), LastImageDir,
                        QStringLiteral("*.bmp|*.bmp|*.jpg|*.jpg|")))
        return;
    const QString path = dialog.FileName;
    const Module1::PathParts parts = Split(path);

    // A picture that cannot be read gets no window rather than an empty one.
    const bool isPicture = parts.Ext == "bmp" || parts.Ext == "jpg";
    QImage picture;
    if (isPicture && !LoadPicture(path, picture)) {
        MsgBox(QStringLiteral("The picture cannot be read from %1.").arg(path), vbExclamation);
        return;
    }
    auto* window = new frmImageFrame;
    window->F_Name = path;
    if (isPicture) {
        window->Picture1->SetPicture(picture);
        window->setWindowTitle(QString::fromStdString(parts.Name));
    }
    MainForm->ShowChild(window);
    LastImageDir = QString::fromStdString(parts.Dir);
}

void mnuFileSaveAs_Click() {
    frmImageFrame* window = ActiveImageFrame();
    if (window == nullptr) return;
    CommonDialog& dialog = MainForm->CommonDialog1;
    if (!dialog.AskFile(CommonDialog::Kind::Save, QStringLiteral("Save"), LastImageDir,
                        QStringLiteral("*.bmp|*.bmp|")))
        return;
    const QString path = dialog.FileName;
    const Module1::PathParts parts = Split(path);

    if (parts.Ext == "bmp") {
        if (!SaveBitmap(window->Picture1->Picture(), path)) {
            MsgBox(QStringLiteral("The picture cannot be saved to %1.").arg(path), vbExclamation);
            return;
        }
    }
    // A "jpg" name is chosen through no filter of the dialog; JPEG files are not written,
    // and neither is any other kind of file.
    LastImageDir = QString::fromStdString(parts.Dir);
}

void mnuFilePrint_Click() {
    frmImageFrame* window = ActiveImageFrame();
    if (window == nullptr) return;
    CommonDialog& dialog = MainForm->CommonDialog1;
    // These flags stay with the shared dialog for the file dialogs that follow.
    dialog.Flags = cdlPDNoSelection | cdlPDDisablePrintToFile;
    dialog.CancelError = true;
    try {
        if (!dialog.ShowPrinter()) return;
    } catch (const CommonDialogCancelled&) {
        return;
    }

    QPrinter& printer = dialog.Printer();
    printer.setColorMode(QPrinter::Color);
    printer.setCopyCount(dialog.Copies);
    printer.setPageOrientation(dialog.Orientation == 2 ? QPageLayout::Landscape
                                                       : QPageLayout::Portrait);
    // (0, 0) is the corner of the printable area, so the whole picture lands on paper.
    printer.setFullPage(false);
    printer.setDocName(window->windowTitle().isEmpty() ? QStringLiteral("RN-Tools")
                                                       : window->windowTitle());

    QPainter painter;
    if (!painter.begin(&printer)) return;
    const double scale = printer.resolution() / ScreenDpi;
    painter.scale(scale, scale);
    painter.drawImage(0, 0, window->Picture1->Image());
    painter.end();
}
