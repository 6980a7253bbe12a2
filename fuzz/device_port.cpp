// The device port's reply framing: a printer on a pseudo-terminal answers each request with
// the bytes of the input, then falls silent or hangs up. The exchange succeeds only with a
// whole framed reply that fits, fails otherwise, and never hangs past its timeout.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_target.h"
#include "platform/quillet/quillet_control.h"

namespace {

constexpr int kTimeoutMs = 2000;
const std::string kRequest = std::string("\x1bP") + "TBL_RD" + "HeadTemp_Y      " + "        ";

std::u16string Utf16(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

// The printer's end of a fresh pseudo-terminal pair; the monitor opens the other end by
// its path.
struct Line {
    int master = -1;
    int slave = -1;  // held open, so that what is still unread can be seen
    std::string path;

    Line() {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
        path = ptsname(master);
        slave = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios tio{};
        if (slave >= 0 && tcgetattr(slave, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(slave, TCSANOW, &tio);
        }
    }
    ~Line() {
        if (slave >= 0) ::close(slave);
        if (master >= 0) ::close(master);
    }
    void HangUp() {
        if (master >= 0) ::close(master);
        master = -1;
    }
    size_t Unread() const {
        int n = 0;
        return ::ioctl(slave, FIONREAD, &n) == 0 && n > 0 ? static_cast<size_t>(n) : 0;
    }
};

// Reads the request off the line, answers it, and hangs up once the monitor has read all it
// will: a reply shorter than it announced would otherwise wait for the timeout.
void Answer(Line& line, std::string_view reply, const std::atomic<bool>& done) {
    std::string request;
    char buf[64];
    while (request.size() < kRequest.size() && !done) {
        pollfd p{line.master, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0) continue;
        const ssize_t n = ::read(line.master, buf, sizeof buf);
        if (n <= 0) return;
        request.append(buf, static_cast<size_t>(n));
    }
    size_t written = 0;
    while (written < reply.size() && !done) {
        const ssize_t n = ::write(line.master, reply.data() + written, reply.size() - written);
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    int quiet = 0;
    while (!done && quiet < 20) {
        std::this_thread::sleep_for(std::chrono::microseconds(100));
        quiet = line.Unread() == 0 ? quiet + 1 : 0;
    }
    if (!done) line.HangUp();
}

// 8 digits of length and the payload, as a printer frames its reply. (Each seed begins with
// the byte that picks the caller's buffer.)
std::string Framed(const std::string& payload) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08zu", payload.size());
    return digits + payload;
}

}  // namespace

std::vector<std::string> FuzzSeeds() {
    // Replies of the emulated printer, which frames them as a device does.
    std::vector<std::string> seeds;
    quillet_reset();
    for (const char* parameter : {"HeadTemp_Y     ", "Version        "}) {
        std::string request = kRequest;
        std::memcpy(&request[8], parameter, 15);
        std::vector<uint8_t> out(4096);
        uint32_t returned = 0;
        if (MonitorIoControl(u"EMU1", IOCTL_MONITOR_RECEIVE, request.data(), 32, out.data(), 4096,
                             &returned))
            seeds.push_back("\xff" + std::string(out.begin(), out.begin() + returned));
    }
    seeds.push_back("\x01" + Framed("0\r"));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool once = [] {
        setenv("RNTOOLS_PORT_TIMEOUT_MS", std::to_string(kTimeoutMs).c_str(), 1);
        return true;
    }();
    (void)once;
    // The first byte picks the caller's buffer: as small as the header, up to 4 KiB.
    FuzzInput input{data, size};
    const uint32_t outSize = 8 + input.Byte() * 16;
    const std::string_view reply = input.Rest();

    Line line;
    if (line.slave < 0) return 0;
    std::atomic<bool> done{false};
    std::thread printer([&] { Answer(line, reply, done); });
    std::vector<uint8_t> out(outSize, 0xEE);
    uint32_t returned = 0;
    const auto start = std::chrono::steady_clock::now();
    const int ok = MonitorIoControl(Utf16(line.path).c_str(), IOCTL_MONITOR_RECEIVE,
                                    kRequest.data(), 32, out.data(), outSize, &returned);
    const auto took = std::chrono::steady_clock::now() - start;
    done = true;
    printer.join();
    FUZZ_CHECK(took < std::chrono::milliseconds(kTimeoutMs + 500));
    if (ok) {
        // A whole framed reply: its header announces what follows, and it fits.
        FUZZ_CHECK(returned >= 8 && returned <= outSize && returned <= reply.size());
        FUZZ_CHECK(std::memcmp(out.data(), reply.data(), returned) == 0);
    } else {
        FUZZ_CHECK(returned == 0);
        for (uint8_t b : out) FUZZ_CHECK(b == 0xEE);
    }
    return 0;
}
