#pragma once
// The program's start.

namespace Module1 {
// Shows the splash, pauses, makes and loads the main window and shows it.
// Returns false when the program ended during the start (nothing to run then).
bool Main();
}  // namespace Module1
