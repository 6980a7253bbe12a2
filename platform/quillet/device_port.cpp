#include "platform/quillet/device_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/quillet/exchange_call.h"
#include "platform/quillet/quillet.h"
#include "platform/quillet/trace.h"

namespace quillet {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kHeader = 8;
constexpr int kKeptDevices = 8;

// A text in fixed storage: an exchange's failure reason, built without allocating. It may
// hold any byte a device sent; the trace escapes what is not printable.
class Text {
public:
    void Add(const void* bytes, size_t n) {
        n = std::min(n, sizeof text_ - length_);
        std::memcpy(text_ + length_, bytes, n);
        length_ += n;
    }
    void Add(const char* s) { Add(s, std::strlen(s)); }
    __attribute__((format(printf, 2, 3))) void Format(const char* format, ...) {
        va_list args;
        va_start(args, format);
        const int n = std::vsnprintf(text_ + length_, sizeof text_ - length_, format, args);
        va_end(args);
        if (n > 0) length_ = std::min(sizeof text_ - 1, length_ + static_cast<size_t>(n));
    }
    std::string String() const { return std::string(text_, length_); }

private:
    char text_[512];
    size_t length_ = 0;
};

struct Outcome {
    Text reason;
    uint32_t dropped = 0;   // stale bytes read and dropped before the request
    bool reopened = false;  // the line had hung up and the device was opened afresh
    size_t returned = 0;    // bytes of the framed reply placed in the output
};

// A device kept open between exchanges.
struct OpenDevice {
    char path[PATH_MAX] = {};
    int fd = -1;
    Clock::time_point lastUse;
    // The reply is gathered here and handed over only whole. It grows to the largest reply
    // seen and is kept, so that a steady run of exchanges allocates nothing.
    std::vector<uint8_t> reply;
};

// Every open device, behind one lock. Exchanges with devices take turns: the program makes
// one at a time anyway, and two at once on one line would mix their bytes.
struct Devices {
    std::mutex lock;
    std::condition_variable opened;
    OpenDevice kept[kKeptDevices];
    bool closerStarted = false;
};

Devices& TheDevices() {
    static Devices* devices = new Devices;  // lives to the end of the process, as its closer
    return *devices;
}

void Close(OpenDevice& device) {
    if (device.fd >= 0) ::close(device.fd);
    device.fd = -1;
    device.path[0] = '\0';
}

// Lets go of devices unused for kDeviceIdleCloseMs. It wakes only when an open device may
// have fallen idle, never for an exchange.
void CloseIdleDevices(Devices& devices) {
    std::unique_lock<std::mutex> guard(devices.lock);
    for (;;) {
        const auto now = Clock::now();
        auto next = Clock::time_point::max();
        for (OpenDevice& device : devices.kept) {
            if (device.fd < 0) continue;
            const auto due = device.lastUse + std::chrono::milliseconds(kDeviceIdleCloseMs);
            if (due <= now) {
                Close(device);
            } else {
                next = std::min(next, due);
            }
        }
        if (next == Clock::time_point::max()) {
            devices.opened.wait(guard);
        } else {
            devices.opened.wait_until(guard, next);
        }
    }
}

// What a port that is not a character device is, for the trace.
const char* NotADevice(mode_t mode) {
    if (S_ISREG(mode)) return "a regular file";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISBLK(mode)) return "a block device";
    return "not a character device";
}

// Opens the device into a free place, or into the place of the device longest unused.
OpenDevice* Open(Devices& devices, const char* path, Outcome& o) {
    OpenDevice* place = &devices.kept[0];
    for (OpenDevice& device : devices.kept) {
        if (device.fd < 0) {
            place = &device;
            break;
        }
        if (device.lastUse < place->lastUse) place = &device;
    }
    Close(*place);
    // Opened without waiting (a pipe with no one at its other end would hold the open), and
    // taken only when it is a device: a regular file, a folder or a pipe named as the port by
    // mistake would otherwise take the printer's blocks and report them sent.
    const int fd = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0) {
        const int error = errno;
        // A folder or a socket cannot even be opened so; say what it is rather than why not.
        if (::stat(path, &st) == 0 && !S_ISCHR(st.st_mode)) {
            o.reason.Format("%s is %s, not a printer device; nothing was sent", path,
                            NotADevice(st.st_mode));
        } else {
            o.reason.Format("cannot open %s: %s", path, std::strerror(error));
        }
        return nullptr;
    }
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
        o.reason.Format("%s is %s, not a printer device; nothing was sent", path,
                        NotADevice(st.st_mode));
        ::close(fd);
        return nullptr;
    }
    // A serial or terminal line must pass every byte as it is: no echo, no line editing,
    // no CR/LF translation.
    termios tio{};
    if (::isatty(fd) && ::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    place->fd = fd;
    std::strcpy(place->path, path);
    place->lastUse = Clock::now();
    if (!devices.closerStarted) {
        devices.closerStarted = true;
        std::thread(CloseIdleDevices, std::ref(devices)).detach();
    }
    devices.opened.notify_one();
    return place;
}

// Bytes that arrived before the request (a late answer to an earlier one) belong to no
// one: they are read and dropped, up to kStaleByteLimit.
bool DropStale(int fd, Outcome& o) {
    uint8_t scratch[4096];
    for (;;) {
        const uint32_t room = kStaleByteLimit - o.dropped;
        if (room == 0) {
            o.reason.Format(
                "the device never falls silent: %u bytes came before the request, which was "
                "not sent",
                o.dropped);
            return false;
        }
        const ssize_t r = ::read(fd, scratch, std::min<size_t>(sizeof scratch, room));
        if (r > 0) {
            o.dropped += static_cast<uint32_t>(r);
        } else if (r == 0 || errno != EINTR) {
            return true;  // nothing more now; a dead line shows in what follows
        }
    }
}

// The device ready for an exchange: the one kept open, unless its line hung up (the
// printer was unplugged), else opened afresh; what it sent before the request dropped.
OpenDevice* Ready(Devices& devices, const char* path, Outcome& o) {
    for (OpenDevice& device : devices.kept) {
        if (device.fd < 0 || std::strcmp(device.path, path) != 0) continue;
        pollfd p{device.fd, POLLIN, 0};
        if (::poll(&p, 1, 0) < 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            Close(device);
            o.reopened = true;
            break;
        }
        if ((p.revents & POLLIN) != 0 && !DropStale(device.fd, o)) {
            Close(device);
            return nullptr;
        }
        return &device;
    }
    OpenDevice* device = Open(devices, path, o);
    if (device && !DropStale(device->fd, o)) {
        Close(*device);
        return nullptr;
    }
    return device;
}

// Waits until the device can take or give bytes; false with the cause at the deadline or
// when the line is gone.
bool Wait(int fd, short events, Clock::time_point deadline, const char*& cause) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            cause = "timed out";
            return false;
        }
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            cause = std::strerror(errno);
            return false;
        }
        if (r == 0) continue;  // the deadline check above ends it
        if (p.revents & events) return true;
        cause = "the printer closed the line";  // hang-up or error, nothing to read
        return false;
    }
}

bool WriteAll(int fd, const uint8_t* data, size_t n, Clock::time_point deadline, Outcome& o) {
    size_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(fd, data + done, n - done);
        if (w > 0) {
            done += static_cast<size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            o.reason.Format("write failed: %s", std::strerror(errno));
            return false;
        }
        const char* cause = nullptr;
        if (!Wait(fd, POLLOUT, deadline, cause)) {
            o.reason.Format("%s after writing %zu of %zu bytes", cause, done, n);
            return false;
        }
    }
    return true;
}

// Reads exactly n bytes. The header of a reply is waited for before it is read, since it
// cannot have come the moment the request went out; the payload mostly came with it.
bool ReadExact(int fd, uint8_t* data, size_t n, Clock::time_point deadline, bool waitFirst,
               const char* what, Outcome& o) {
    size_t done = 0;
    const char* cause = nullptr;
    bool wait = waitFirst;
    while (done < n) {
        if (wait && !Wait(fd, POLLIN, deadline, cause)) break;
        wait = true;
        const ssize_t r = ::read(fd, data + done, n - done);
        if (r > 0) {
            done += static_cast<size_t>(r);
        } else if (r == 0 || errno == EIO) {
            cause = "the printer closed the line";
            break;
        } else if (errno == EINTR) {
            wait = false;
        } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
            cause = std::strerror(errno);
            break;
        }
    }
    if (done == n) return true;
    o.reason.Format("%s: %s after %zu of %zu bytes", what, cause, done, n);
    return false;
}

// The reply header: its leading number (blanks skipped, an optional sign, digits).
bool ReplyLength(const uint8_t* header, long& n) {
    size_t i = 0;
    while (i < kHeader && header[i] == ' ') ++i;
    bool negative = false;
    if (i < kHeader && (header[i] == '+' || header[i] == '-')) negative = header[i++] == '-';
    if (i == kHeader || header[i] < '0' || header[i] > '9') return false;
    n = 0;
    while (i < kHeader && header[i] >= '0' && header[i] <= '9') n = n * 10 + (header[i++] - '0');
    if (negative) n = -n;
    return true;
}

bool Receive(OpenDevice& device, uint8_t* out, uint32_t outSize, Clock::time_point deadline,
             Outcome& o) {
    uint8_t header[kHeader];
    if (!ReadExact(device.fd, header, kHeader, deadline, true, "reply header", o)) return false;
    long n = 0;
    if (!ReplyLength(header, n) || n < 0) {
        o.reason.Add("reply header \"");
        o.reason.Add(header, kHeader);
        o.reason.Add("\" is not a payload length");
        return false;
    }
    if (static_cast<unsigned long>(n) > outSize - kHeader) {
        o.reason.Format("reply announces %ld payload bytes; the output buffer holds %u", n,
                        outSize - static_cast<uint32_t>(kHeader));
        return false;
    }
    const auto length = static_cast<size_t>(n);
    if (device.reply.size() < length) device.reply.resize(length);
    if (!ReadExact(device.fd, device.reply.data(), length, deadline, false, "reply payload", o))
        return false;
    std::memcpy(out, header, kHeader);
    if (length > 0) std::memcpy(out + kHeader, device.reply.data(), length);
    o.returned = kHeader + length;
    return true;
}

bool Exchange(const char* path, uint32_t code, const uint8_t* in, uint32_t inLength, uint8_t* out,
              uint32_t outSize, Outcome& o) {
    char fault[96];
    if (CallFault(code, in, inLength, out, fault, sizeof fault)) {
        o.reason.Add(fault);
        return false;
    }
    const bool receive = code != IOCTL_MONITOR_SEND;
    if (receive && outSize < kHeader) {
        o.reason.Format("output buffer of %u bytes cannot hold a reply header", outSize);
        return false;
    }
    const int wait = code == IOCTL_MONITOR_RECEIVE_BRIEF ? BriefWaitMs() : PortTimeoutMs();
    const auto deadline = Clock::now() + std::chrono::milliseconds(wait);
    Devices& devices = TheDevices();
    const std::lock_guard<std::mutex> guard(devices.lock);
    OpenDevice* device = Ready(devices, path, o);
    if (!device) return false;
    const bool ok = WriteAll(device->fd, in, inLength, deadline, o) &&
                    (!receive || Receive(*device, out, outSize, deadline, o));
    // After a failure nothing of the line is trusted: the next exchange opens the device
    // afresh, as it would after a replug.
    if (ok) {
        device->lastUse = Clock::now();
    } else {
        Close(*device);
    }
    return ok;
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

int BriefWaitMs() {
    return std::min(kBriefWaitMs, PortTimeoutMs());
}

int DeviceExchange(const char16_t* portName, uint32_t controlCode, const uint8_t* in,
                   uint32_t inLength, uint8_t* out, uint32_t outSize, uint32_t* returned) {
    if (returned) *returned = 0;
    Outcome o;
    char path[PATH_MAX];
    bool ok = false;
    if (!Utf8Of(portName, path, sizeof path)) {
        path[0] = '\0';
        o.reason.Format("the device path is longer than %d bytes", PATH_MAX - 1);
    } else {
        ok = Exchange(path, controlCode, in, inLength, out, outSize, o);
    }
    const bool receive = IsReceive(controlCode);
    if (ok && receive && returned) *returned = static_cast<uint32_t>(o.returned);

    if (TraceWanted()) {
        TraceEntry entry;
        entry.port = path;
        entry.controlCode = controlCode;
        entry.in = in;
        entry.inLength = in ? inLength : 0;
        if (ok && receive) {
            entry.reply = out;
            entry.replyLength = o.returned;
        }
        if (o.reopened) entry.notes.push_back("the line had hung up; the device was opened afresh");
        if (o.dropped > 0)
            entry.notes.push_back(std::to_string(o.dropped) +
                                  " stale bytes dropped before the request");
        entry.ok = ok;
        entry.reason = o.reason.String();
        Trace(entry);
    }
    return ok ? 1 : 0;
}

}  // namespace quillet
