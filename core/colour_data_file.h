#pragma once

#include <string>

// The colour-data file (".ktd"): exactly the 37,122-byte file image of the set.
namespace ColorDataFile {

// Replaces the set with the file's first 37,122 bytes. False, and the set as it was, when the file
// cannot be read or is shorter.
bool Read(const std::string& path);

// Replaces the file whole with the set's image; false when it cannot be written (an old file is
// then left as it was).
bool Write(const std::string& path);

}  // namespace ColorDataFile
