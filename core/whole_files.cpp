#include "core/whole_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <limits>

namespace {

// The file a path finally names: symbolic links followed, also one whose file does not exist
// yet. Empty for a loop or a chain too long to be one the user made.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0) return {};
        std::string next(target, static_cast<std::size_t>(n));
        if (next.front() != '/') {
            const std::size_t slash = path.rfind('/');
            next = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + next;
        }
        path = std::move(next);
    }
    return {};
}

// Whether an existing file may be replaced. A file without any write permission is the user's
// way of keeping it; the check is made on the mode too, since the system lets an administrator
// write anything.
bool MayReplace(const std::string& path, struct stat& info, bool& exists) {
    exists = ::stat(path.c_str(), &info) == 0;
    if (!exists) return errno == ENOENT;
    if (!S_ISREG(info.st_mode)) return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::access(path.c_str(), W_OK) == 0;
}

bool WriteAll(int fd, const uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes head, then tail, to a new file beside `target` and renames it over the target.
bool WriteBeside(const std::string& target, const struct stat* old, std::span<const uint8_t> head,
                 std::span<const uint8_t> tail) {
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    // The new file keeps the permissions of the one it replaces.
    if (old != nullptr) ::fchmod(fd, old->st_mode & 07777);
    bool ok = WriteAll(fd, head.data(), head.size()) && WriteAll(fd, tail.data(), tail.size());
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

// The target a save writes, or empty when it must not be written.
std::string SaveTarget(const std::string& path, struct stat& old, bool& exists) {
    if (path.empty() || path.back() == '/') return {};
    std::string target = FollowLinks(path);
    if (target.empty() || !MayReplace(target, old, exists)) return {};
    return target;
}

}  // namespace

bool ReplaceFileWhole(const std::string& path, std::string_view bytes) {
    struct stat old {};
    bool exists = false;
    const std::string target = SaveTarget(path, old, exists);
    if (target.empty()) return false;
    const std::span<const uint8_t> head(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
    return WriteBeside(target, exists ? &old : nullptr, head, {});
}

bool ReplaceFileHead(const std::string& path, std::span<const uint8_t> bytes,
                     std::size_t maxExisting) {
    struct stat old {};
    bool exists = false;
    const std::string target = SaveTarget(path, old, exists);
    if (target.empty()) return false;
    std::vector<uint8_t> previous;
    if (exists) {
        std::optional<std::vector<uint8_t>> read = ReadWholeFile(target, maxExisting);
        if (!read) return false;
        previous = std::move(*read);
    }
    std::span<const uint8_t> tail;
    if (previous.size() > bytes.size())
        tail = std::span<const uint8_t>(previous).subspan(bytes.size());
    return WriteBeside(target, exists ? &old : nullptr, bytes, tail);
}

namespace {

// Opens a regular file for reading, or gives -1. The kind is looked at before the file is opened,
// and the opening never waits: opening a named pipe waits for a writer, and opening a device can
// do what the device does on an open. The opened file is checked again, in case the name was
// changed in between.
int OpenRegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads at most `limit` bytes; `refuseLonger` also refuses a file that holds more.
std::optional<std::vector<uint8_t>> ReadUpTo(const std::string& path, std::size_t limit,
                                             bool refuseLonger) {
    const int fd = OpenRegularFile(path);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size < 0 ||
        (refuseLonger && static_cast<std::uintmax_t>(info.st_size) > limit)) {
        ::close(fd);
        return std::nullopt;
    }
    // Read to the end rather than trusting the size, but never more than limit, and one byte
    // more to tell a longer file where a byte more can be counted.
    constexpr std::size_t noLimit = std::numeric_limits<std::size_t>::max();
    const std::size_t most = refuseLonger && limit < noLimit ? limit + 1 : limit;
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    std::vector<uint8_t> bytes(static_cast<std::size_t>(std::min<std::uintmax_t>(size, most)));
    std::size_t done = 0;
    bool ok = true;
    for (;;) {
        if (done == bytes.size()) {
            if (bytes.size() >= most) break;
            bytes.resize(bytes.size() + std::min<std::size_t>(most - bytes.size(), 4096));
        }
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (!ok || (refuseLonger && done > limit)) return std::nullopt;
    bytes.resize(done);
    return bytes;
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    return ReadUpTo(path, maxBytes, true);
}

std::optional<std::vector<uint8_t>> ReadFileHead(const std::string& path, std::size_t size) {
    std::optional<std::vector<uint8_t>> bytes = ReadUpTo(path, size, false);
    if (!bytes || bytes->size() < size) return std::nullopt;
    return bytes;
}

std::optional<std::vector<uint8_t>> ReadFileStart(const std::string& path, std::size_t maxBytes) {
    return ReadUpTo(path, maxBytes, false);
}
