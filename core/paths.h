#pragma once
// Path and file routines every window that opens or saves a file shares.
#include <string>

namespace Module1 {

// A path split at its last "/": the folder with its separator, the rest, and
// the last three characters of the lower-cased rest. Callers compare Ext with
// three-letter extensions, so "dataktd" counts as "ktd" and "photo.jpeg" as "peg".
struct PathParts {
    std::string Dir;
    std::string Name;
    std::string Ext;
};

void SplitPath(const std::string& path, PathParts& parts);

// True exactly for an existing regular file (links followed): false for a
// folder, a named pipe or a device. An empty path, or one holding "*" or "?",
// is false without touching the file system.
bool FileExists(const std::string& path);

}  // namespace Module1
