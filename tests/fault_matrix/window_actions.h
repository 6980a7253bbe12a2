#pragma once
// Every printer action of every window that talks to the printer, and what the user sees when the
// emulated printer fails it. The faults come down to four cases as a window meets them: the
// exchange fails (the printer does not answer, its reply overruns what it announced or comes after
// the timeout), a later exchange of the action fails, the reply is cut short, or it comes without
// its terminator.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/fault_matrix/matrix_fixture.h"

class QWidget;

struct WindowAction {
    std::string name;           // the window and the action: "frmHTemp_Get"
    const char* menuItem = "";  // the menu item that opens the window; "" for the main window
    // Makes the window show what its action starts from (a value read before, say).
    std::function<void(MatrixTest&, QWidget*)> prime = {};
    std::function<void(MatrixTest&, QWidget*)> act = {};
    bool reads = false;  // a reply comes: the reply faults apply
    int later = 0;       // exchanges that go through before the later one fails; 0 for none
    Seen failed = {};
    Seen failedLater = {};
    Seen shortReply = {};
    Seen unterminated = {};
    // When the first exchange is a send, a reply that fails is the later exchange's failure.
    bool replyIsLater = false;
    // Printer settings that the action's sends may change whatever the fault.
    std::vector<std::string> mayChange = {};
};

const std::vector<WindowAction>& WindowActions();
// The row of that name; a test that names no row fails.
const WindowAction& ActionOf(const std::string& name);
