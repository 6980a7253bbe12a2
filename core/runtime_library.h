#pragma once

#include <string>

// Loads one of the libraries the program reaches only at run time (libparvel.so,
// libJmEngine.so) by its file name. The loader's own search comes first, so that
// LD_LIBRARY_PATH can put another library in front; then the program folder.
// The second step is not redundant with the program's $ORIGIN run path: a
// sanitizer or other interposer that wraps dlopen makes itself the caller, and
// the loader then searches the wrapper's path instead of the program's.
// Returns the handle, or nullptr with the loader's reason in `why`.
void* LoadRuntimeLibrary(const char* fileName, std::string& why);

// The folder of the running executable, without a trailing separator.
std::string ProgramFolder();
