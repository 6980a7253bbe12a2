// The device-port round trip: a 32-byte request and an 8 + 544-byte reply (one table
// read), through the status library and the language monitor as the program makes it,
// against the same exchange written directly on the pseudo-terminal pair. One printer
// answers both on the master side; the two sides take turns exchange by exchange, and the
// ratio of each round is reported as a median with its minimum and maximum.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/parvel_link.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kRequest = 32;
constexpr size_t kPayload = 544;
constexpr size_t kReply = 8 + kPayload;
constexpr int kRounds = 101;
constexpr int kPerRound = 300;

bool ReadFull(int fd, unsigned char* data, size_t n) {
    size_t got = 0;
    while (got < n) {
        const ssize_t r = read(fd, data + got, n - got);
        if (r > 0) {
            got += static_cast<size_t>(r);
            continue;
        }
        if (r < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 5000) <= 0) return false;
            continue;
        }
        if (r < 0 && errno == EINTR) continue;
        return false;
    }
    return true;
}

// The printer: answers every 32-byte request with the table's reply until told to stop.
void Printer(int master, const std::atomic<bool>& stop) {
    unsigned char request[kRequest];
    std::string reply = "00000544" + std::string(kPayload, '\x5A');
    while (!stop) {
        if (!ReadFull(master, request, kRequest)) return;
        if (write(master, reply.data(), reply.size()) != static_cast<ssize_t>(reply.size())) return;
    }
}

// The same exchange written directly: the line opened and made raw once, a request
// written, the reply read whole.
struct Direct {
    int fd = -1;
    explicit Direct(const char* path) {
        fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios tio{};
        tcgetattr(fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    ~Direct() { close(fd); }
    bool Exchange(const unsigned char* request, unsigned char* reply) const {
        if (write(fd, request, kRequest) != static_cast<ssize_t>(kRequest)) return false;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 5000) <= 0) return false;
        return ReadFull(fd, reply, kReply);
    }
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void Print(const char* what, const std::vector<double>& v, const char* unit) {
    std::printf("  %-34s median %8.3f%s  (min %.3f, max %.3f)\n", what, Median(v), unit,
                *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()));
}

}  // namespace

int main() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("posix_openpt");
        return 1;
    }
    const std::string path = ptsname(master);
    const Direct direct(path.c_str());  // also holds the line up for the whole run
    std::atomic<bool> stop{false};
    std::thread printer(Printer, master, std::cref(stop));

    const std::u16string port(path.begin(), path.end());
    int32_t handle = 0;
    try {
        handle = Parvel::JmInitialize(port.c_str());
    } catch (const Parvel::Unavailable& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::string request = "\x1bPTBL_RD HeadTemp_Y";
    request.resize(kRequest, ' ');
    const auto* bytes = reinterpret_cast<const unsigned char*>(request.data());
    std::vector<unsigned char> reply(38000);

    auto stack = [&] {
        return Parvel::JmGetCommandEX(handle, bytes, kRequest, reply.data(), 38000) ==
               static_cast<int32_t>(kPayload);
    };
    auto directly = [&] { return direct.Exchange(bytes, reply.data()); };
    // One exchange timed, in microseconds; negative when it failed.
    auto timed = [](auto& exchange) {
        const auto start = Clock::now();
        if (!exchange()) return -1.0;
        return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    };

    for (int i = 0; i < 200; ++i) {  // both warm: the device opened, caches filled
        if (!stack() || !directly()) {
            std::fprintf(stderr, "the warm-up exchange failed\n");
            return 1;
        }
    }
    // Within a round the two sides take turns exchange by exchange, each going first every
    // other time, so that both meet the same load of the machine.
    std::vector<double> stackUs, directUs, ratios;
    for (int r = 0; r < kRounds; ++r) {
        double s = 0;
        double d = 0;
        for (int i = 0; i < kPerRound; ++i) {
            const bool stackFirst = (i + r) % 2 == 0;
            const double first = stackFirst ? timed(stack) : timed(directly);
            const double second = stackFirst ? timed(directly) : timed(stack);
            if (first < 0 || second < 0) {
                std::fprintf(stderr, "an exchange failed in round %d\n", r + 1);
                return 1;
            }
            s += stackFirst ? first : second;
            d += stackFirst ? second : first;
        }
        stackUs.push_back(s / kPerRound);
        directUs.push_back(d / kPerRound);
        ratios.push_back(s / d);
    }
    stop = true;
    directly();  // the printer answers it and then sees the stop
    printer.join();
    close(master);

    std::printf(
        "device-port round trip (32-byte request, 8 + 544-byte reply), %d rounds of %d "
        "exchanges a side, taking turns\n",
        kRounds, kPerRound);
    Print("directly on the pty pair", directUs, " us");
    Print("through parvel and libquillet", stackUs, " us");
    Print("ratio (parvel + libquillet / direct)", ratios, "x");
    std::printf("  target: ratio <= 1.2x\n");
    return 0;
}
