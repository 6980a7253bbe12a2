#include "shell/msgbox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <utility>
#include <vector>

#include "shell/modal.h"

namespace {

MsgBoxResponder& Responder() {
    static MsgBoxResponder responder;
    return responder;
}

struct ButtonSet {
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;  // in display order
    int closeResult;  // what the close box answers; 0 = the box has none
};

ButtonSet ButtonsOf(int kind) {
    using B = QMessageBox;
    switch (kind) {
        case vbOKCancel:
            return {{{B::Ok, vbOK}, {B::Cancel, vbCancel}}, vbCancel};
        case vbAbortRetryIgnore:
            return {{{B::Abort, vbAbort}, {B::Retry, vbRetry}, {B::Ignore, vbIgnore}}, 0};
        case vbYesNoCancel:
            return {{{B::Yes, vbYes}, {B::No, vbNo}, {B::Cancel, vbCancel}}, vbCancel};
        case vbYesNo:
            return {{{B::Yes, vbYes}, {B::No, vbNo}}, 0};
        case vbRetryCancel:
            return {{{B::Retry, vbRetry}, {B::Cancel, vbCancel}}, vbCancel};
        default:
            return {{{B::Ok, vbOK}}, vbOK};
    }
}

QMessageBox::Icon IconOf(int icon) {
    switch (icon) {
        case vbCritical:
            return QMessageBox::Critical;
        case vbQuestion:
            return QMessageBox::Question;
        case vbExclamation:
            return QMessageBox::Warning;
        case vbInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// The width a window needs for its whole title to show in a title bar beside the bar's icon and
// three buttons, each as wide as the bar is high.
int TitleWidth(const QWidget& window) {
    QFont bold = window.font();
    bold.setBold(true);
    QStyleOptionTitleBar option;
    option.initFrom(&window);
    const int bar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &window);
    return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + 4 * bar;
}

// A box without a cancelling button (Abort, Retry, Ignore; Yes, No) has no
// close box: Escape and closing the window do not answer it.
class Box : public QMessageBox {
public:
    Box(Icon icon, const QString& title, const QString& text, bool closable)
        : QMessageBox(icon, title, text, NoButton, QApplication::activeWindow()),
          closable_(closable) {}

protected:
    // A window manager cuts a title that its title bar has no room for ("KT-Tools" to "K..."):
    // the box is made at least as wide as its title beside the title bar's icon and buttons.
    void showEvent(QShowEvent* event) override {
        auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("qt_msgbox_buttonbox"));
        if (buttons != nullptr && layout() != nullptr) {
            layout()->activate();
            const int missing = TitleWidth(*this) - layout()->totalMinimumSize().width();
            if (missing > 0) buttons->setMinimumWidth(buttons->minimumSizeHint().width() + missing);
        }
        QMessageBox::showEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (!closable_ && event->key() == Qt::Key_Escape) return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (closable_) {
            QMessageBox::closeEvent(event);
        } else {
            event->ignore();
        }
    }

private:
    bool closable_;
};

}  // namespace

int MsgBox(const QString& text, int buttons, const QString& title) {
    const QString shownTitle = title.isEmpty() ? AppTitle : title;
    if (Responder()) return Responder()(text, buttons, shownTitle);

    const ButtonSet set = ButtonsOf(buttons & 0x0F);
    Box box(IconOf(buttons & 0x70), shownTitle, text, set.closeResult != 0);
    std::vector<std::pair<QAbstractButton*, int>> made;
    for (const auto& [standard, result] : set.buttons)
        made.emplace_back(box.addButton(standard), result);
    const std::size_t preferred = (buttons & vbDefaultButton3)   ? 2
                                  : (buttons & vbDefaultButton2) ? 1
                                                                 : 0;
    const std::size_t chosenDefault = preferred < made.size() ? preferred : 0;
    box.setDefaultButton(static_cast<QPushButton*>(made[chosenDefault].first));
    if (set.closeResult != 0) {
        for (const auto& [button, result] : made) {
            if (result == set.closeResult) box.setEscapeButton(button);
        }
    }
    ShowModal(box);
    for (const auto& [button, result] : made) {
        if (box.clickedButton() == button) return result;
    }
    return set.closeResult != 0 ? set.closeResult : made[chosenDefault].second;
}

void FileOpenError(const QString& title) {
    MsgBox(QStringLiteral("FileOpen Error"), vbOKOnly, title);
}

void FileSaveError(const QString& title) {
    MsgBox(QStringLiteral("FileSave Error"), vbOKOnly, title);
}

void PrinterNotResponding() {
    MsgBox(QStringLiteral("Printer not responding"), vbOKOnly);
}

void SetMsgBoxResponder(MsgBoxResponder responder) {
    Responder() = std::move(responder);
}
