#pragma once

#include <functional>

// The one wait of the program. Tests install a handler that returns at once (and may record the
// waits); an empty handler restores the real sleep.
void Sleep(int ms);
void SetSleepHandler(std::function<void(int)> handler);
