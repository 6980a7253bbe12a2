// The exchange trace that QUILLET_LOG asks for.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "tests/platform/quillet/printer_link.h"
#include "tests/platform/quillet/pty_printer.h"

namespace quillet_test {
namespace {

TEST_F(TracedEmulator, AppendsAReadableEntryForEveryExchange) {
    std::ofstream(path_) << "earlier line\n";
    ASSERT_TRUE(Send(Block("TBL_WT", "G_Delta_Y", 16, Bytes(16, 0x41))));
    quillet_set_status(kPort, "1010");
    EXPECT_EQ(Ask("STATUS", ""), "1010\r");
    EXPECT_FALSE(Send(Block("TBL_WT", "G_Delta_Q", 16, Bytes(16))));
    quillet_fail_next(1);
    EXPECT_FALSE(Send(Block("TBL_CL", "", 0)));
    EXPECT_FALSE(Send(Bytes(4), u"/nonexistent/lp0"));
    EXPECT_TRUE(Send(Raw("\x1BPTBL_WTG_Delta_M       ")));  // half a block
    EXPECT_TRUE(Send(Block("TBL_WT", "G_Delta_C", 16, Bytes(16))));

    const std::string log = TraceText();
    EXPECT_EQ(log.rfind("earlier line\n", 0), 0u);  // appended, not replaced
    const std::vector<std::string> expected = {
        R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}Z  port "EMU1"  0x220038 \(send\)  48 bytes in)",
        R"(000000  1B 50 54 42 4C 5F 57 54 47 5F 44 65 6C 74 61 5F  \|.PTBL_WTG_Delta_\|)",
        R"(000020  41 41 41 41)",
        R"(0x22003C \(receive\)  32 bytes in)",
        R"(reply, 13 bytes:\n    000000  30 30 30 30 30 30 30 35 31 30 31 30 0D +\|000000051010.\|)",
        R"(result: FAILED: unknown parameter "G_Delta_Q" for TBL_WT)",
        R"(result: FAILED: scripted failure of this exchange)",
        R"(port "/nonexistent/lp0"  0x220038 \(send\)  4 bytes in)",
        R"(result: FAILED: cannot open /nonexistent/lp0)",
        R"(note: waiting for the rest of the block header)",
        R"(note: an unfinished block of 24 bytes was dropped)",
    };
    for (const auto& pattern : expected)
        EXPECT_TRUE(std::regex_search(log, std::regex(pattern))) << pattern;
    size_t results = 0;
    for (size_t at = log.find("  result: "); at != std::string::npos;
         at = log.find("  result: ", at + 1))
        ++results;
    EXPECT_EQ(results, 7u);
}

TEST_F(TracedEmulator, CutsLongDumpsAndStaysSilentWithoutItsVariable) {
    unsetenv("QUILLET_LOG");
    Send(Block("TBL_WT", "PrintModeData", 16, Bytes(16)));
    EXPECT_FALSE(std::ifstream(path_).good());

    setenv("QUILLET_LOG", path_.c_str(), 1);
    ASSERT_TRUE(Send(Block("FW_UPD", "FLASH_REWRITE", -1)));
    ASSERT_TRUE(Send(Block("FW_UPD", "FLASH_PROGRAM", 10000, Bytes(10000, 0x55))));
    const std::string log = TraceText();
    EXPECT_NE(log.find("10032 bytes in"), std::string::npos);
    EXPECT_NE(log.find("5936 more bytes not shown"), std::string::npos);
    EXPECT_LT(log.size(), 40000u);
}

// Bytes a device sent, quoted in a reason, and a port name with a control character: the
// trace stays a text file, every byte outside printable ASCII written as \xNN.
TEST_F(TracedEmulator, EscapesEveryByteThatIsNotPrintable) {
    setenv("RNTOOLS_PORT_TIMEOUT_MS", "300", 1);
    pty_test::PtyPrinter printer;
    const Bytes request = Block("STATUS", "", -1);
    const std::string header(
        "\0\0\x1B"
        "AB\\\xFF\n",
        8);
    std::thread line([&] { printer.Answer(request.size(), header.data(), header.size()); });
    Bytes framed;
    EXPECT_FALSE(ReceiveFramed(request, framed, printer.Port()));
    line.join();
    EXPECT_TRUE(Send(Block("TBL_WT", "G_Delta_Y", 16, Bytes(16)), u"EMU\x07\\"));
    EXPECT_FALSE(ReceiveFramed(request, framed, u"/dev/zero"));
    unsetenv("RNTOOLS_PORT_TIMEOUT_MS");

    const std::string log = TraceText();
    const size_t unprintable = std::count_if(log.begin(), log.end(), [](char c) {
        return c != '\n' && (static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
                             static_cast<unsigned char>(c) >= 0x80);
    });
    EXPECT_EQ(unprintable, 0u);
    for (
        const std::string expected : {
            R"(result: FAILED: reply header "\x00\x00\x1BAB\\\xFF\x0A" is not a payload length)",
            R"(port "EMU\x07\\"  0x220038 (send))",
            R"(note: 65536 stale bytes dropped before the request)",
            R"(result: FAILED: the device never falls silent: 65536 bytes came before the request)",
        })
        EXPECT_NE(log.find(expected), std::string::npos) << expected;
}

// QUILLET_LOG naming a file that cannot be opened is said once on standard error; the
// exchanges go on untraced, and a file that can be opened is traced again.
TEST_F(TracedEmulator, AnUnopenableTraceIsSaidOnceAndTheExchangesGoOn) {
    const std::string missing = path_ + ".missing/trace.log";
    setenv("QUILLET_LOG", missing.c_str(), 1);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(Send(Block("TBL_WT", "G_Delta_Y", 16, Bytes(16))));
    EXPECT_EQ(Ask("TBL_RD", "G_Delta_Y"), std::string(16, '\0'));
    EXPECT_FALSE(Send(Bytes(4), u"/nonexistent/lp0"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "quillet: the exchange trace QUILLET_LOG=" + missing +
                  " cannot be opened (No such file or directory); going on without a trace\n");

    setenv("QUILLET_LOG", path_.c_str(), 1);
    EXPECT_TRUE(Send(Block("TBL_CL", "", 0)));
    EXPECT_EQ(LastResult(), "  result: OK");
}

}  // namespace
}  // namespace quillet_test
