#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Files that the program reads or replaces whole.

// Writes the bytes to a new file beside the target and renames it over the target, so that a
// failure never leaves half a file and an older, longer file keeps no stale tail. False when the
// file cannot be written; the old file is then as it was.
bool ReplaceFileWhole(const std::string& path, std::string_view bytes);

// All bytes of a regular file, or nothing when it cannot be read or holds more than maxBytes.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::size_t maxBytes);
