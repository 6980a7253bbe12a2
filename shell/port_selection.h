#pragma once
// Choosing the printer whose port the program talks through.

#include <string>

// At start-up: scans, asks while no usable printer exists (Abort, Retry,
// Ignore), chooses (a dialog only for two or more) and registers the port.
// Throws ProgramEnd where the program ends; any other failure propagates to
// the main window's load.
void StartupPortSelection();

// From the File menu: scans, always lets the user choose, registers the
// port. Whatever goes wrong, a port the status library refuses included, the
// port in use is kept and the user told why; the program never ends here.
void MenuPortSelection();

// One line on standard error, "RN-Tools: " and the reason, beside a start-up message box that
// does not say why the program cannot go on.
void TellReason(const std::string& reason);
