#include "shell/frm_information.h"

#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPalette>
#include <QVBoxLayout>
#include <cmath>

#include "shell/app_globals.h"
#include "shell/frm_main.h"
#include "shell/ui_units.h"

frmInformation::frmInformation() {
    setObjectName("frmInformation");
    setWindowTitle(QString());
    FixClientTwips(this, 3900, 420);
    QPalette white = palette();
    white.setColor(QPalette::Window, BgrColor(0x00FFFFFF));
    setPalette(white);
    setAutoFillBackground(true);

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, BgrColor(0x000000FF));
    red.setColor(QPalette::Window, BgrColor(0x00FFFFFF));
    Label1->setPalette(red);
    QFont gothic;
    gothic.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                        QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    gothic.setPointSize(12);
    Label1->setFont(gothic);
    Label1->move(TwipsToPx(1920), TwipsToPx(60));
}

namespace {

// The notice is painted and taken down while an exchange is under way; the user's clicks and keys
// wait in the queue until it is over, so that nothing the user does can start in between.
void ProcessPendingMessages() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

int CentredEdge(int outer, int own) {
    return outer / 2 - own / 2;
}

InformationNotice::~InformationNotice() {
    delete window_;
}

// Loading places the notice in the middle of the main window and shows it.
void InformationNotice::Load() {
    if (!MainForm) return;
    active_ = MainForm->mdiArea->activeSubWindow();
    hadActive_ = active_ != nullptr;
    focus_ = QApplication::focusWidget();
    form_ = new frmInformation;
    window_ = new QMdiSubWindow(nullptr, Qt::FramelessWindowHint);
    window_->setObjectName("frmInformationFrame");
    // The fixed single border: one line around the white client area.
    auto* border = new QFrame;
    border->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* layout = new QVBoxLayout(border);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form_);
    window_->setWidget(border);
    MainForm->mdiArea->addSubWindow(window_);
    window_->adjustSize();
    const auto twips = [](int px) { return static_cast<int>(std::lround(PxToTwips(px))); };
    const QRect outer = MainForm->frameGeometry();
    window_->move(TwipsToPx(CentredEdge(twips(outer.width()), twips(window_->width()))),
                  TwipsToPx(CentredEdge(twips(outer.height()), twips(window_->height()))));
    window_->show();
    window_->raise();
}

void InformationNotice::Indication(const std::string& text) {
    if (!window_) Load();
    if (form_) {
        form_->Label1->setText(QString::fromStdString(text));
        form_->Label1->adjustSize();
    }
    ProcessPendingMessages();
}

void InformationNotice::Extinction() {
    if (form_) form_->Label1->clear();
    if (window_ && MainForm) {
        QMdiArea* area = MainForm->mdiArea;
        // Handed back before the notice goes, so that no other window is activated meanwhile
        // (an image window would switch the menu items, a dialog move the focus).
        const bool handBack = !hadActive_ || active_;
        if (handBack) area->setActiveSubWindow(active_);
        area->removeSubWindow(window_);
        if (handBack && area->activeSubWindow() != active_) area->setActiveSubWindow(active_);
    }
    delete window_;
    window_ = nullptr;
    form_ = nullptr;
    if (focus_) focus_->setFocus(Qt::OtherFocusReason);
    focus_ = nullptr;
    active_ = nullptr;
    ProcessPendingMessages();
}
