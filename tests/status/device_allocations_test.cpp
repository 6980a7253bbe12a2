// Exchanges with a printer device, through the real libparvel.so and libquillet.so to a
// pseudo-terminal playing the printer, counted for heap allocations. A process of its own
// that never resets the emulator: the emulator keeps its test logs only from a reset on.

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "status/parvel.h"
#include "tests/platform/quillet/pty_printer.h"
#include "tests/status/block_text.h"
#include "tests/status/monitor_allocations.h"

namespace {

using standin_test::Allocations;
using standin_test::CountAllocations;
using standin_test::CountsAnAllocation;

TEST(DeviceAllocations, ASteadyRunOfDeviceExchangesAllocatesNothing) {
    ASSERT_TRUE(CountsAnAllocation());

    pty_test::PtyPrinter printer;
    const std::string link = pty_test::ByIdLink(
        ::testing::TempDir() + "device_allocations_" + std::to_string(getpid()), printer);
    const std::u16string port(link.begin(), link.end());
    const int32_t handle = JmInitialize(port.c_str());
    ASSERT_GE(handle, 1);

    // A table read: a 32-byte request and an 8 + 544-byte reply; a table write: one send.
    const std::string request = Block("TBL_RD", "HeadTemp_Y", "");
    const std::string reply = "00000544" + std::string(544, '\x5A');
    const std::string write = Block("TBL_WT", "G_Delta_Y", "00000016") + std::string(16, '\0');
    constexpr int kWarm = 3;
    constexpr int kCounted = 50;
    std::atomic<int> answered{0};
    std::thread line([&] {
        for (int i = 0; i < kWarm + kCounted; ++i) {
            if (!printer.Answer(request.size(), reply.data(), reply.size())) return;
            if (!printer.Answer(write.size(), "", 0)) return;
            ++answered;
        }
    });
    unsigned char out[4096];
    int reads = 0;
    int writes = 0;
    auto exchange = [&] {
        if (JmGetCommandEX(handle, request.data(), 32, out, sizeof out) == 544) ++reads;
        if (JmSetCommand(handle, write.data(), static_cast<int32_t>(write.size())) != 0) ++writes;
    };
    for (int i = 0; i < kWarm; ++i) exchange();  // the device opened, its reply buffer grown
    CountAllocations(true);
    for (int i = 0; i < kCounted; ++i) exchange();
    CountAllocations(false);
    line.join();
    EXPECT_EQ(answered, kWarm + kCounted);
    EXPECT_EQ(reads, kWarm + kCounted);
    EXPECT_EQ(writes, kWarm + kCounted);
    EXPECT_EQ(std::memcmp(out, reply.data() + 8, 544), 0);
    EXPECT_EQ(Allocations(), 0);
}

}  // namespace
