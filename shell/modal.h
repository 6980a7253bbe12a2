#pragma once
// Every modal dialog of the program is shown through ShowModal. Tests install
// a responder that gets the dialog shown (not modal) and closes it as the
// user would, by clicking its buttons or its close box.
#include <functional>

class QDialog;

// Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
int ShowModal(QDialog& dialog);

using ModalResponder = std::function<void(QDialog& dialog)>;
// An empty responder brings the real modal loop back.
void SetModalResponder(ModalResponder responder);
