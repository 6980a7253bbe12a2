#include "shell/modal.h"

#include <QDialog>
#include <utility>

namespace {
ModalResponder& Responder() {
    static ModalResponder responder;
    return responder;
}
}  // namespace

int ShowModal(QDialog& dialog) {
    if (!Responder()) return dialog.exec();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    Responder()(dialog);
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
}

void SetModalResponder(ModalResponder responder) {
    Responder() = std::move(responder);
}
