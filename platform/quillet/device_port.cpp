#include "platform/quillet/device_port.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace quillet {
namespace {

using Clock = std::chrono::steady_clock;

// One open device for the length of one exchange; closed on every way out.
class Device {
public:
    Device(const std::string& path, int timeoutMs)
        : deadline_(Clock::now() + std::chrono::milliseconds(timeoutMs)) {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) {
            error_ = "cannot open " + path + ": " + std::strerror(errno);
            return;
        }
        // A serial or terminal line must pass every byte as it is: no echo, no line
        // editing, no CR/LF translation.
        termios tio{};
        if (::isatty(fd_) && ::tcgetattr(fd_, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~Device() {
        if (fd_ >= 0) ::close(fd_);
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    bool Open(std::string& why) const {
        if (fd_ < 0) why = error_;
        return fd_ >= 0;
    }

    // Bytes that arrived before the request (a late answer to an earlier one) belong to
    // no one: they are read and dropped. A line that never falls silent is given up at the
    // deadline like any other exchange.
    size_t Drain() {
        size_t dropped = 0;
        uint8_t scratch[512];
        while (Clock::now() < deadline_) {
            const ssize_t r = ::read(fd_, scratch, sizeof scratch);
            if (r <= 0) break;
            dropped += static_cast<size_t>(r);
        }
        return dropped;
    }

    bool WriteAll(const uint8_t* data, size_t n, std::string& why) {
        size_t done = 0;
        while (done < n) {
            const ssize_t w = ::write(fd_, data + done, n - done);
            if (w > 0) {
                done += static_cast<size_t>(w);
                continue;
            }
            if (w < 0 && errno == EINTR) continue;
            if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                why = std::string("write failed: ") + std::strerror(errno);
                return false;
            }
            if (!Wait(POLLOUT, why)) {
                why += " after writing " + std::to_string(done) + " of " + std::to_string(n) +
                       " bytes";
                return false;
            }
        }
        return true;
    }

    bool ReadExact(uint8_t* data, size_t n, std::string& why) {
        size_t done = 0;
        while (done < n) {
            const ssize_t r = ::read(fd_, data + done, n - done);
            if (r > 0) {
                done += static_cast<size_t>(r);
                continue;
            }
            if (r == 0 || errno == EIO) {
                why = "the printer closed the line";
            } else if (errno == EINTR) {
                continue;
            } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
                why = std::string("read failed: ") + std::strerror(errno);
            } else if (Wait(POLLIN, why)) {
                continue;
            }
            why += " after " + std::to_string(done) + " of " + std::to_string(n) + " bytes";
            return false;
        }
        return true;
    }

private:
    bool Wait(short events, std::string& why) {
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now())
                    .count();
            if (left <= 0) {
                why = "timed out";
                return false;
            }
            pollfd p{fd_, events, 0};
            const int r = ::poll(&p, 1, static_cast<int>(left));
            if (r < 0 && errno == EINTR) continue;
            if (r < 0) {
                why = std::string("poll failed: ") + std::strerror(errno);
                return false;
            }
            if (r == 0) continue;  // the deadline check above ends it
            if (p.revents & events) return true;
            why = "the printer closed the line";  // hang-up or error, nothing to read
            return false;
        }
    }

    int fd_ = -1;
    std::string error_;
    Clock::time_point deadline_;
};

// The reply header: its leading number (blanks skipped, an optional sign, digits).
bool ReplyLength(const uint8_t* header, long& n) {
    size_t i = 0;
    while (i < 8 && header[i] == ' ') ++i;
    bool negative = false;
    if (i < 8 && (header[i] == '+' || header[i] == '-')) negative = header[i++] == '-';
    if (i == 8 || header[i] < '0' || header[i] > '9') return false;
    n = 0;
    while (i < 8 && header[i] >= '0' && header[i] <= '9') n = n * 10 + (header[i++] - '0');
    if (negative) n = -n;
    return true;
}

}  // namespace

int PortTimeoutMs() {
    const char* text = std::getenv("RNTOOLS_PORT_TIMEOUT_MS");
    if (!text || !*text) return kDefaultPortTimeoutMs;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v <= 0 || v > INT_MAX) return kDefaultPortTimeoutMs;
    return static_cast<int>(v);
}

DeviceResult DeviceSend(const std::string& path, const uint8_t* in, size_t inLength,
                        int timeoutMs) {
    DeviceResult result;
    Device device(path, timeoutMs);
    result.ok = device.Open(result.reason) && device.WriteAll(in, inLength, result.reason);
    return result;
}

DeviceResult DeviceReceive(const std::string& path, const uint8_t* in, size_t inLength,
                           uint8_t* out, size_t outSize, int timeoutMs) {
    DeviceResult result;
    Device device(path, timeoutMs);
    if (!device.Open(result.reason)) return result;
    if (outSize < 8) {
        result.reason =
            "output buffer of " + std::to_string(outSize) + " bytes cannot hold a reply header";
        return result;
    }
    if (const size_t dropped = device.Drain())
        result.notes.push_back(std::to_string(dropped) + " stale bytes dropped before the request");
    if (!device.WriteAll(in, inLength, result.reason)) return result;
    // The reply is gathered aside and handed over only whole: a failed exchange leaves
    // the caller's buffer as it was.
    std::vector<uint8_t> reply(8);
    if (!device.ReadExact(reply.data(), 8, result.reason)) {
        result.reason = "reply header: " + result.reason;
        return result;
    }
    long n = 0;
    if (!ReplyLength(reply.data(), n) || n < 0) {
        result.reason = "reply header \"" + std::string(reply.begin(), reply.end()) +
                        "\" is not a payload length";
        return result;
    }
    if (static_cast<unsigned long>(n) > outSize - 8) {
        result.reason = "reply announces " + std::to_string(n) + " payload bytes; the output " +
                        "buffer holds " + std::to_string(outSize - 8);
        return result;
    }
    reply.resize(8 + static_cast<size_t>(n));
    if (!device.ReadExact(reply.data() + 8, static_cast<size_t>(n), result.reason)) {
        result.reason = "reply payload: " + result.reason;
        return result;
    }
    std::copy(reply.begin(), reply.end(), out);
    result.ok = true;
    result.returned = 8 + static_cast<size_t>(n);
    return result;
}

}  // namespace quillet
