// The transport exports over the real monitor and an emulated printer.

#include <cstring>
#include <vector>

#include "tests/status/emulator_fixture.h"

using namespace emulator_test;

namespace {

using ParvelTransport = EmulatorFixture;

TEST_F(ParvelTransport, RegisteredPortsReachTheirOwnPrinter) {
    const int32_t second = JmInitialize(u"EMU2");
    ASSERT_GT(second, handle);
    EXPECT_EQ(JmInitialize(Port), handle);
    EXPECT_EQ(PortInitialize(u"EMU2"), second);
    quillet_set_status(u"EMU2", "1300");
    const std::string request = Block("STATUS", "", "");
    char out[16] = {};
    ASSERT_EQ(JmGetCommandEX(handle, request.data(), 32, out, sizeof out), 2);
    EXPECT_EQ(std::string(out, 2), "0\r");
    ASSERT_EQ(GetCommandEX(second, request.data(), 32, out, sizeof out), 5);
    EXPECT_EQ(std::string(out, 5), "1300\r");
    EXPECT_EQ(ReceivedCall(-1).port, u"EMU2");
    EXPECT_EQ(ReceivedCall(-2).port, u"EMU1");
}

TEST_F(ParvelTransport, TableWrittenInPiecesReadsBackIdentical) {
    const std::string read = Block("TBL_RD", "HeadTemp_Y", "00000000");
    std::vector<char> table(4096);
    const int32_t n = JmGetCommandEX(handle, read.data(), 32, table.data(), 4096);
    ASSERT_GT(n, 0);
    table.resize(n);
    table[0] ^= 0x01;  // a visible change

    char digits[9];
    std::snprintf(digits, sizeof digits, "%08d", n);
    const std::string head = Block("TBL_WT", "HeadTemp_Y", digits);
    ASSERT_NE(JmSetCommand(handle, head.data(), 24), 0);
    ASSERT_NE(SetCommand(handle, head.data() + 24, 8), 0);
    ASSERT_NE(JmSetCommand(handle, table.data(), n), 0);
    // The request and the written block, reassembled from its three pieces.
    ASSERT_EQ(quillet_block_count(), 2);
    std::vector<unsigned char> block(4200);
    ASSERT_EQ(quillet_block(1, block.data(), 4200), 32 + n);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 32 + n),
              head + std::string(table.begin(), table.end()));
    const Received data = ReceivedCall(-1);
    EXPECT_EQ(data.controlCode, Send);
    EXPECT_EQ(data.bytes, std::string(table.begin(), table.end()));

    std::vector<char> back(4096);
    ASSERT_EQ(JmGetCommandEX(handle, read.data(), 32, back.data(), 4096), n);
    EXPECT_TRUE(std::equal(table.begin(), table.end(), back.begin()));
    const Received request = ReceivedCall(-1);
    EXPECT_EQ(request.controlCode, Receive);
    EXPECT_EQ(request.bytes, read);
}

TEST_F(ParvelTransport, FaultsOfThePrinterNeverReachPastTheBuffers) {
    const std::string request = Block("INFO", "FVER", "");
    const std::string firmware = Setting("firmware") + "\r\n";
    struct Case {
        const char* what;
        int kind;  // 0: the exchange fails
        int arg;
        int32_t expect;
        std::string copied;
    } cases[] = {
        {"failed exchange", 0, 0, -1, ""},
        {"short reply", QUILLET_REPLY_SHORT, 3, 3, firmware.substr(0, 3)},
        {"oversized header", QUILLET_REPLY_OVERSIZED, 5, -1, ""},
        {"empty reply", QUILLET_REPLY_EMPTY, 0, 0, ""},
        {"delay past the timeout", QUILLET_REPLY_DELAY, 10, -1, ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        if (k.kind == 0) {
            quillet_fail_next(1);
        } else {
            quillet_fault_next_reply(k.kind, k.arg);
        }
        std::vector<char> out(64, '#');
        EXPECT_EQ(JmGetCommandEX(handle, request.data(), 32, out.data(), 63), k.expect);
        EXPECT_EQ(std::string(out.data(), k.copied.size()), k.copied);
        EXPECT_EQ(out[k.copied.size()], '#');
    }
    // A failed send and a failed raw receive.
    quillet_fail_next(2);
    EXPECT_EQ(JmSetCommand(handle, request.data(), 32), 0);
    char raw[8] = {'#'};
    int32_t received = -1;
    EXPECT_EQ(JmGetCommand(handle, request.data(), 32, raw, 7, &received), 0);
    EXPECT_EQ(received, 0);
    EXPECT_EQ(raw[0], 0);
}

TEST_F(ParvelTransport, RawReceiveKeepsTheHeaderAndEndsTheText) {
    const std::string request = Block("MNT_RD", "COUNTER_LIFE", "");
    ASSERT_TRUE(quillet_set_setting(Port, "counter_life", "123"));
    char out[64];
    std::memset(out, '#', sizeof out);
    int32_t received = 0;
    EXPECT_NE(JmGetCommand(handle, request.data(), 32, out, 63, &received), 0);
    EXPECT_EQ(received, 14);
    EXPECT_STREQ(out, "00000006CL123\r");
}

}  // namespace
