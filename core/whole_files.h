#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Files that the program reads or replaces whole: the one save routine of every user file.
//
// A save never writes into the old file: the bytes go to a new file beside the target, which is
// then renamed over it, so a failure never leaves half a file. A target that is a symbolic link
// is followed (the link stays, the file it names is replaced). A target that exists but may not be
// written (no write permission, not a regular file) is refused and left as it is, even for a user
// whom the system would let replace it.

// Replaces the file with the bytes; an older, longer file keeps no stale tail. False when the file
// cannot be written; the old file is then as it was.
bool ReplaceFileWhole(const std::string& path, std::string_view bytes);

// Replaces the first bytes of the file and keeps whatever a longer existing file holds after them,
// for the fixed-size records whose files are written over from their start and never shortened.
// Written whole all the same, through a new file and a rename. False as for ReplaceFileWhole, and
// when an existing file cannot be read or holds more than maxExisting bytes.
bool ReplaceFileHead(const std::string& path, std::span<const uint8_t> bytes,
                     std::size_t maxExisting = 64u << 20);

// The readers take regular files only (links followed): a named pipe, a device or a folder is
// refused at once and never opened, since opening a pipe waits for a writer.

// All bytes of a regular file, or nothing when it cannot be read or holds more than maxBytes
// (the largest size_t meaning no limit).
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::size_t maxBytes);

// The first `size` bytes of a regular file, or nothing when it cannot be read or is shorter.
std::optional<std::vector<uint8_t>> ReadFileHead(const std::string& path, std::size_t size);

// At most the first maxBytes bytes of a regular file (all of a shorter one), or nothing when it
// cannot be read.
std::optional<std::vector<uint8_t>> ReadFileStart(const std::string& path, std::size_t maxBytes);
