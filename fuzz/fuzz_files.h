#pragma once
// Fuzz input as a file the readers open by name: a memory file, named through /proc.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzFile {
public:
    FuzzFile() : fd_(memfd_create("fuzz-input", 0)) {}
    ~FuzzFile() { ::close(fd_); }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    // Holds exactly these bytes from now on; returns the file's name.
    std::string Hold(const uint8_t* data, size_t size) {
        (void)::ftruncate(fd_, 0);
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        return "/proc/self/fd/" + std::to_string(fd_);
    }

private:
    int fd_;
};
