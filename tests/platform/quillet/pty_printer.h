#pragma once
// A pseudo-terminal pair playing a printer on a device path: the test holds the master
// side, the monitor opens the slave side as it would a printer device. Shared by the
// monitor's, the status library's and the windows' tests and by the benchmark.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pty_test {

class PtyPrinter {
public:
    PtyPrinter() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(master_, 0);
        EXPECT_EQ(grantpt(master_), 0);
        EXPECT_EQ(unlockpt(master_), 0);
        path_ = ptsname(master_);
        port_.assign(path_.begin(), path_.end());
        // Held open for the printer's life, so the line stays up between exchanges and
        // keeps the raw mode set here.
        holder_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
        termios tio{};
        tcgetattr(holder_, &tio);
        cfmakeraw(&tio);
        tcsetattr(holder_, TCSANOW, &tio);
    }
    ~PtyPrinter() { Unplug(); }
    PtyPrinter(const PtyPrinter&) = delete;
    PtyPrinter& operator=(const PtyPrinter&) = delete;

    // The slave side's path, and the same as a port name.
    const std::string& Path() const { return path_; }
    const char16_t* Port() const { return port_.c_str(); }

    // What the monitor wrote, n bytes, within the time given.
    std::vector<uint8_t> Read(size_t n,
                              std::chrono::milliseconds within = std::chrono::seconds(2)) {
        std::vector<uint8_t> got;
        const auto end = std::chrono::steady_clock::now() + within;
        while (got.size() < n && std::chrono::steady_clock::now() < end) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            uint8_t buf[4096];
            const ssize_t r = read(master_, buf, std::min(sizeof buf, n - got.size()));
            if (r <= 0) break;
            got.insert(got.end(), buf, buf + r);
        }
        return got;
    }
    void Write(const std::string& s) { Write(s.data(), s.size()); }
    void Write(const void* data, size_t n) {
        EXPECT_EQ(write(master_, data, n), static_cast<ssize_t>(n));
    }

    // One exchange as the printer plays it: takes a request of requestLength bytes and
    // answers with the reply. No allocation, so it can run while allocations are counted.
    bool Answer(size_t requestLength, const void* reply, size_t replyLength) {
        uint8_t buf[4096];
        size_t got = 0;
        while (got < requestLength) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0) return false;
            const ssize_t r = read(master_, buf, std::min(sizeof buf, requestLength - got));
            if (r <= 0) return false;
            got += static_cast<size_t>(r);
        }
        return write(master_, reply, replyLength) == static_cast<ssize_t>(replyLength);
    }

    // The printer closes its end of the line; the slave side stays open.
    void CloseLine() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }
    // The printer goes away altogether, as an unplugged device does.
    void Unplug() {
        CloseLine();
        if (holder_ >= 0) close(holder_);
        holder_ = -1;
    }

private:
    int master_ = -1;
    int holder_ = -1;
    std::string path_;
    std::u16string port_;
};

// A link to the printer's line under folder, named as Linux names a device that keeps its
// name across replugging; pointed again at another printer when one exists there.
inline std::string ByIdLink(const std::string& folder, const PtyPrinter& printer) {
    const std::filesystem::path dir = std::filesystem::path(folder) / "serial" / "by-id";
    std::filesystem::create_directories(dir);
    const std::filesystem::path link = dir / "usb-Photo_Printer_RN-0001-if00";
    std::filesystem::remove(link);
    std::filesystem::create_symlink(printer.Path(), link);
    return link.string();
}

}  // namespace pty_test
