#pragma once
// The program's immediate end (Abort at start-up, "Error!", a failed load):
// it runs no unload handler, so nothing is written to the settings store.
#include <functional>

// Thrown where the program ends; the start procedure or the handler that
// ran the code catches it and ends the program.
struct ProgramEnd {};

namespace Module1 {

// Ends at once: every window goes away without its unload and the event loop stops.
void EndProgram();
bool ProgramEnded();
// Tests start every case with a program that has not ended.
void ResetProgramEnd();

}  // namespace Module1

// Runs an event handler: a ProgramEnd ends the program; anything unexpected
// is reported and the colour data stays as it is.
void RunHandler(const std::function<void()>& handler);
void ReportUnexpected(const char* what);
