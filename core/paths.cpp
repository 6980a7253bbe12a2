#include "core/paths.h"

#include <filesystem>
#include <system_error>

namespace Module1 {
namespace {

// Start of the last n characters of a UTF-8 text (continuation bytes belong
// to the character before them).
std::size_t LastCharacters(const std::string& text, int n) {
    std::size_t at = text.size();
    while (n > 0 && at > 0) {
        --at;
        while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
        --n;
    }
    return at;
}

}  // namespace

void SplitPath(const std::string& path, PathParts& parts) {
    const std::size_t slash = path.rfind('/');
    const std::size_t k = slash == std::string::npos ? 0 : slash + 1;
    parts.Dir = path.substr(0, k);
    parts.Name = path.substr(k);
    std::string ext = parts.Name.substr(LastCharacters(parts.Name, 3));
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    parts.Ext = ext;
}

bool FileExists(const std::string& path) {
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    // A named pipe or a device is no file to read: opening one can wait for good.
    return !ec && std::filesystem::is_regular_file(status);
}

}  // namespace Module1
