// The device-file port against a pseudo-terminal pair: the test plays the printer on
// the master side, the monitor talks to the slave side as to a printer device.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/quillet/device_port.h"
#include "tests/platform/quillet/printer_link.h"
#include "tests/platform/quillet/pty_printer.h"

namespace quillet_test {
namespace {

using Clock = std::chrono::steady_clock;

using pty_test::PtyPrinter;
using quillet::kDeviceIdleCloseMs;

class DevicePort : public Emulator {
protected:
    void SetUp() override {
        Emulator::SetUp();
        setenv("RNTOOLS_PORT_TIMEOUT_MS", "300", 1);
    }
    void TearDown() override {
        unsetenv("RNTOOLS_PORT_TIMEOUT_MS");
        Emulator::TearDown();
    }
    // One receive on the printer's line; out is prefilled with 0xEE to show what was written.
    int Exchange(PtyPrinter& printer, const Bytes& request, Bytes& out, uint32_t& returned,
                 std::chrono::milliseconds& took) {
        out.assign(out.size(), 0xEE);
        const auto start = Clock::now();
        const int ok = MonitorIoControl(printer.Port(), IOCTL_MONITOR_RECEIVE, request.data(),
                                        static_cast<uint32_t>(request.size()), out.data(),
                                        static_cast<uint32_t>(out.size()), &returned);
        took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        return ok;
    }
};

TEST_F(DevicePort, SendsBlocksAndReadsFramedReplies) {
    PtyPrinter printer;
    const Bytes block = Block("TBL_WT", "G_Delta_Y", 16, Bytes(16, 0x0D));
    Bytes seen;
    std::thread line([&] { seen = printer.Read(block.size()); });
    EXPECT_TRUE(Send(block, printer.Port()));
    line.join();
    EXPECT_EQ(seen, block);  // every byte as it is, CR included

    struct Case {
        const char* name;
        std::vector<std::string> replyPieces;
        uint32_t outSize;
        bool ok;
        std::string framed;  // what lands in the output
    };
    const std::vector<Case> cases = {
        {"whole reply", {"00000005HELLO"}, 64, true, "00000005HELLO"},
        {"reply in pieces", {"0000", "0004CA", "12"}, 64, true, "00000004CA12"},
        {"empty reply", {"00000000"}, 64, true, "00000000"},
        {"bytes past the framed length stay unread", {"00000002OKEXTRA"}, 64, true, "00000002OK"},
        {"reply larger than the output", {"00000060"}, 64, false, ""},
        {"header that is no length", {"ABCDEFGH"}, 64, false, ""},
        {"negative length", {"-0000005"}, 64, false, ""},
    };
    const Bytes request = Block("STATUS", "", -1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes asked;
        std::thread answer([&] {
            asked = printer.Read(request.size());
            for (const auto& piece : c.replyPieces) printer.Write(piece);
        });
        Bytes out(c.outSize);
        uint32_t returned = 99;
        std::chrono::milliseconds took{};
        EXPECT_EQ(Exchange(printer, request, out, returned, took), c.ok ? 1 : 0);
        answer.join();
        EXPECT_EQ(asked, request);
        EXPECT_EQ(returned, c.framed.size());
        EXPECT_EQ(std::string(out.begin(), out.begin() + c.framed.size()), c.framed);
        EXPECT_EQ(out[c.framed.size()], 0xEE);  // nothing written past the reply
    }
}

TEST_F(DevicePort, FailsWithinTheTimeoutAndDropsALateReply) {
    PtyPrinter printer;
    const Bytes request = Block("INFO", "FVER", -1);
    Bytes out(64);
    uint32_t returned = 0;
    std::chrono::milliseconds took{};

    // No answer at all, then a short one: both end at the timeout.
    for (const std::string& partial : {std::string(), std::string("00000010ABCD")}) {
        std::mutex m;
        std::condition_variable cv;
        bool over = false;
        std::thread silent([&] {
            printer.Read(request.size());
            printer.Write(partial);
            std::unique_lock<std::mutex> lock(m);
            cv.wait(lock, [&] { return over; });
        });
        EXPECT_EQ(Exchange(printer, request, out, returned, took), 0);
        {
            const std::lock_guard<std::mutex> lock(m);
            over = true;
        }
        cv.notify_one();
        silent.join();
        EXPECT_GE(took.count(), 290);
        EXPECT_LT(took.count(), 2000);
        EXPECT_EQ(returned, 0u);
    }

    // The answer that comes too late is not taken for the next request's reply.
    printer.Write("00000004LATE");
    std::thread answer([&] {
        printer.Read(request.size());
        printer.Write("00000002OK");
    });
    EXPECT_EQ(Exchange(printer, request, out, returned, took), 1);
    answer.join();
    EXPECT_EQ(std::string(out.begin(), out.begin() + returned), "00000002OK");
}

// A poll's brief receive on a printer that does not answer gives up at the brief wait; every other
// receive keeps the port timeout. The brief wait is the monitor's to say, and never longer than
// the port timeout.
TEST_F(DevicePort, ABriefReceiveGivesUpAtTheBriefWaitAndNoOtherDoes) {
    setenv("RNTOOLS_PORT_TIMEOUT_MS", "1000", 1);
    PtyPrinter printer;  // takes every request and never answers
    const Bytes request = Block("INFO", "SENSOR", -1);
    auto silent = [&](uint32_t code) {
        Bytes out(64);
        uint32_t returned = 7;
        const auto start = Clock::now();
        EXPECT_EQ(MonitorIoControl(printer.Port(), code, request.data(),
                                   static_cast<uint32_t>(request.size()), out.data(),
                                   static_cast<uint32_t>(out.size()), &returned),
                  0);
        EXPECT_EQ(returned, 0u);
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    };
    const auto brief = silent(IOCTL_MONITOR_RECEIVE_BRIEF);
    EXPECT_GE(brief, quillet::kBriefWaitMs - 10);
    EXPECT_LT(brief, 900);
    EXPECT_GE(silent(IOCTL_MONITOR_RECEIVE), 990);

    auto briefWait = [] {
        uint32_t ms = 0, returned = 0;
        EXPECT_EQ(
            MonitorIoControl(u"", IOCTL_MONITOR_BRIEF_WAIT, nullptr, 0, &ms, sizeof ms, &returned),
            1);
        EXPECT_EQ(returned, sizeof ms);
        return ms;
    };
    EXPECT_EQ(briefWait(), static_cast<uint32_t>(quillet::kBriefWaitMs));
    setenv("RNTOOLS_PORT_TIMEOUT_MS", "120", 1);
    EXPECT_EQ(briefWait(), 120u);
    EXPECT_LT(silent(IOCTL_MONITOR_RECEIVE_BRIEF), 900);
}

TEST_F(DevicePort, FailsAtOnceWhenThePrinterClosesTheLine) {
    setenv("RNTOOLS_PORT_TIMEOUT_MS", "5000", 1);
    PtyPrinter printer;
    const Bytes request = Block("STATUS", "", -1);
    std::thread hangUp([&] {
        printer.Read(request.size());
        printer.Write("0000");
        printer.CloseLine();
    });
    Bytes out(64);
    uint32_t returned = 0;
    std::chrono::milliseconds took{};
    EXPECT_EQ(Exchange(printer, request, out, returned, took), 0);
    hangUp.join();
    EXPECT_LT(took.count(), 2000);
    // The line is gone: sends fail too, and nothing waits.
    EXPECT_FALSE(Send(request, printer.Port()));
}

// The same path reaches the printer plugged in again: the line of the one kept open hung
// up, so the device is opened afresh, and the very next exchange after the replug works.
TEST_F(DevicePort, APrinterPluggedInAgainAtTheSamePathIsFoundAgain) {
    const std::string folder = ::testing::TempDir() + "replug_" + std::to_string(getpid());
    auto first = std::make_unique<PtyPrinter>();
    const std::string link = pty_test::ByIdLink(folder, *first);
    const std::u16string port(link.begin(), link.end());
    const Bytes request = Block("STATUS", "", -1);
    auto exchange = [&](PtyPrinter* printer, const std::string& reply) {
        std::thread line([&] {
            if (printer) printer->Answer(request.size(), reply.data(), reply.size());
        });
        Bytes out(64);
        uint32_t returned = 0;
        const int ok = MonitorIoControl(port.c_str(), IOCTL_MONITOR_RECEIVE, request.data(),
                                        static_cast<uint32_t>(request.size()), out.data(),
                                        static_cast<uint32_t>(out.size()), &returned);
        line.join();
        return ok ? std::string(out.begin(), out.begin() + returned) : "<failed>";
    };
    EXPECT_EQ(exchange(first.get(), "00000001A"), "00000001A");
    EXPECT_EQ(exchange(first.get(), "00000001B"), "00000001B");  // on the device kept open

    first->Unplug();
    EXPECT_EQ(exchange(nullptr, ""), "<failed>");  // nothing on the line now
    PtyPrinter second;
    pty_test::ByIdLink(folder, second);
    EXPECT_EQ(exchange(&second, "00000001C"), "00000001C");

    // Unplugged and plugged in again between two exchanges: no exchange fails.
    auto third = std::make_unique<PtyPrinter>();
    second.Unplug();
    pty_test::ByIdLink(folder, *third);
    EXPECT_EQ(exchange(third.get(), "00000001D"), "00000001D");
    std::filesystem::remove_all(folder);
}

// How many descriptors of this process are open on the path.
int OpenOn(const std::string& path) {
    int n = 0;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(fd.path(), error) == path) ++n;
    }
    return n;
}

// The device stays open while exchanges follow one another, so that each is not paid
// with an open and a configuration, and is let go when idle, for other programs.
TEST_F(DevicePort, TheDeviceStaysOpenBetweenExchangesAndIsLetGoWhenIdle) {
    PtyPrinter printer;
    const int held = OpenOn(printer.Path());  // the printer's own hold on its line
    const Bytes block = Block("TBL_CL", "", 0);
    for (int i = 0; i < 3; ++i) {
        std::thread line([&] { printer.Read(block.size()); });
        ASSERT_TRUE(Send(block, printer.Port()));
        line.join();
        EXPECT_EQ(OpenOn(printer.Path()), held + 1);
    }
    const auto idle = Clock::now();
    while (OpenOn(printer.Path()) > held && Clock::now() - idle < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto closedAfter = Clock::now() - idle;
    EXPECT_EQ(OpenOn(printer.Path()), held);
    EXPECT_GE(closedAfter, std::chrono::milliseconds(kDeviceIdleCloseMs - 50));
    // A loaded machine (the sanitizers, parallel tests) may wake the closer late.
    EXPECT_LT(closedAfter, std::chrono::milliseconds(kDeviceIdleCloseMs + 3000));
}

// A device that never stops sending (/dev/zero) is not read until the deadline: at most
// kStaleByteLimit bytes are dropped, then the exchange gives up without sending, long
// before its timeout and with little work.
TEST_F(DevicePort, ADeviceThatNeverFallsSilentIsGivenUpWithoutSpinning) {
    setenv("RNTOOLS_PORT_TIMEOUT_MS", "3000", 1);
    const Bytes request = Block("INFO", "FVER", -1);
    Bytes out(64, 0xEE);
    uint32_t returned = 7;
    timespec cpuStart{}, cpuEnd{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuStart);
    const auto start = Clock::now();
    EXPECT_EQ(MonitorIoControl(u"/dev/zero", IOCTL_MONITOR_RECEIVE, request.data(),
                               static_cast<uint32_t>(request.size()), out.data(),
                               static_cast<uint32_t>(out.size()), &returned),
              0);
    const auto took = Clock::now() - start;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuEnd);
    const double cpuMs =
        (cpuEnd.tv_sec - cpuStart.tv_sec) * 1e3 + (cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e6;
    EXPECT_LT(took, std::chrono::milliseconds(1000));
    EXPECT_LT(cpuMs, 200.0);
    EXPECT_EQ(returned, 0u);
    EXPECT_EQ(out, Bytes(64, 0xEE));
}

}  // namespace
}  // namespace quillet_test
