// The monitor's transport to the emulated printer: reassembly, strict refusal,
// scripted faults and the logs of what arrived.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/platform/quillet/printer_link.h"

namespace quillet_test {
namespace {

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// The block with another length field.
Bytes WithLength(Bytes block, const std::string& field) {
    std::copy(field.begin(), field.end(), block.begin() + 24);
    return block;
}

Bytes Pattern(size_t n, uint8_t seed) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(seed + i * 7);
    return b;
}

TEST_F(Emulator, ReassemblesABlockHandedOverInPieces) {
    struct Case {
        const char* name;
        std::vector<Bytes> pieces;
    };
    const Bytes version = Pattern(48, 0x41);
    const Bytes image = Pattern(100, 3);
    const std::vector<Case> cases = {
        {"version in four pieces",
         {Raw("\x1BPTBL_WT"), Raw("Version         "), Raw("00000048"), version}},
        {"firmware header, digits, data",
         {Block("FW_UPD", "FLASH_REWRITE", -1)}},  // enters the mode; checked below
        {"firmware image in three pieces",
         {Raw("\x1BPFW_UPDFLASH_PROGRAM   "), Raw("00000100"), image}},
        {"mode command, then its digits", {Block("CNTRL", "CUTTER", 8), Raw("00000001")}},
        {"data split across many sends",
         {Raw("\x1BP"), Raw("TBL_WTG_De"), Raw("lta_C" + std::string(7, ' ') + "0000"), Raw("0016"),
          Pattern(5, 1), Pattern(11, 9)}},
    };
    int blocks = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes whole;
        for (size_t i = 0; i < c.pieces.size(); ++i) {
            EXPECT_TRUE(Send(c.pieces[i])) << "piece " << i;
            whole.insert(whole.end(), c.pieces[i].begin(), c.pieces[i].end());
            EXPECT_EQ(quillet_block_count(), blocks + (i + 1 == c.pieces.size() ? 1 : 0));
        }
        Bytes got(whole.size() + 10);
        ASSERT_EQ(quillet_block(blocks++, got.data(), static_cast<int>(got.size())),
                  static_cast<int>(whole.size()));
        got.resize(whole.size());
        EXPECT_EQ(got, whole);
    }
    EXPECT_EQ(Setting("cutter"), "1");
    EXPECT_EQ(Setting("firmware_image_length"), "100");
    Bytes held(64);
    EXPECT_EQ(quillet_table(kPort, "Version", held.data(), 64), 48);
    held.resize(48);
    EXPECT_EQ(held, version);
}

TEST_F(Emulator, TakesSeveralBlocksInOneSendAndDropsAnAbandonedHeader) {
    const Bytes a = Pattern(16, 1), b = Pattern(16, 2), c = Pattern(4, 3);
    ASSERT_TRUE(
        Send(Concat({Block("TBL_WT", "G_Omega_Y", 16, a), Block("TBL_WT", "G_Omega_M", 16, b),
                     Block("TBL_WT", "E_Gamma_OP_SE", 4, c)})));
    EXPECT_EQ(quillet_block_count(), 3);
    Bytes payload;
    ASSERT_TRUE(Receive(Block("TBL_RD", "G_Omega_M", -1), payload));
    EXPECT_EQ(payload, b);

    // A header left unfinished is dropped when the next block begins.
    ASSERT_TRUE(Send(Raw("\x1BPTBL_WTG_Omega_C       ")));
    ASSERT_TRUE(Send(Block("TBL_WT", "G_Omega_OP", 16, a)));
    EXPECT_EQ(quillet_block_count(), 5);  // the three, the request, and this one
    ASSERT_TRUE(Receive(Block("TBL_RD", "G_Omega_OP", -1), payload));
    EXPECT_EQ(payload, a);
}

TEST_F(TracedEmulator, RefusesEveryMalformedBlockAndSaysWhy) {
    struct Case {
        const char* name;
        bool receive;
        Bytes bytes;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"no ESC", false, Raw("XPSTATUS                        "), "ESC"},
        {"ESC without P", false, Raw("\x1BQTBL_CL                00000000"), "ESC"},
        {"unknown command", false, Block("TBL_XX", "HeadTemp_Y", 512, Bytes(512)),
         "unknown command"},
        {"lower-case command", false, Block("tbl_wt", "HeadTemp_Y", 512, Bytes(512)),
         "unknown command"},
        {"unknown parameter", false, Block("TBL_WT", "HeadTemp_Q", 512, Bytes(512)),
         "unknown parameter"},
        {"blank inside parameter", false, Block("TBL_WT", "Head Temp_Y", 512, Bytes(512)),
         "malformed"},
        {"missing parameter", false, Block("TBL_WT", "", 512, Bytes(512)), "needs a parameter"},
        {"letter in length", false,
         WithLength(Block("TBL_WT", "HeadTemp_Y", 512, Bytes(512)), "0000051a"), "neither"},
        {"blanks inside digits", false,
         WithLength(Block("TBL_WT", "G_Omega_Y", 16, Bytes(16)), "    16  "), "neither"},
        {"curve with 511 bytes", false, Block("TBL_WT", "HeadTemp_Y", 511, Bytes(511)),
         "expects 512"},
        {"sigma with 18 bytes", false, Block("TBL_WT", "C_Sigma_M", 18, Bytes(18)), "expects 16"},
        {"range with 16 bytes", false, Block("TBL_WT", "E_Gamma_Y_SE", 16, Bytes(16)), "expects 4"},
        {"table write without length", false, Block("TBL_WT", "G_Delta_Y", -1), "blank"},
        {"request by plain send", false, Block("STATUS", "", -1), "request"},
        {"counter clear of C", false,
         Block("MNT_WT", "COUNTER_CLEAR", 4, Raw(std::string("CC\r\0", 4))), "\"CA\" or \"CB\""},
        {"version of 33 bytes", false, Block("TBL_WT", "Version", 33, Bytes(33)), "multiple of 16"},
        {"program outside update mode", false, Block("FW_UPD", "FLASH_PROGRAM", 4, Bytes(4)),
         "update mode"},
        {"short colour image", false, Block("TBL_WT", "CTRLD_UPDATE_KT", 100, Bytes(100)),
         "expects 37122"},
        {"data for a data-less command", false, Block("TBL_CL", "", 4, Bytes(4)),
         "expects no data"},
        {"write by receive", true, Block("TBL_WT", "G_Delta_Y", 16, Bytes(16)), "gives no reply"},
        {"request with data after it", true, Concat({Block("STATUS", "", -1), Raw("xx")}),
         "after its header"},
        {"request cut short", true, Raw("\x1BPSTATUS      "), "shorter"},
        {"request claiming data", true, Block("INFO", "FVER", 4, Bytes(4)), "expects no data"},
        {"unknown request", true, Block("INFO", "COLOUR", -1), "unknown parameter"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes payload;
        const bool ok = c.receive ? Receive(c.bytes, payload) : Send(c.bytes);
        EXPECT_FALSE(ok);
        EXPECT_NE(LastResult().find(c.reason), std::string::npos) << LastResult();
        EXPECT_EQ(quillet_block_count(), 0);
        // Nothing of the refused block lingers: the next good block is taken whole.
        EXPECT_TRUE(Send(Block("TBL_WT", "G_Delta_Y", 16, Pattern(16, 5))));
        EXPECT_EQ(quillet_block_count(), 1);
        quillet_reset();
    }
}

TEST_F(Emulator, ScriptedFailuresFailTheNextExchangesAndReachNoPrinter) {
    quillet_fail_next(2);
    EXPECT_FALSE(Send(Block("TBL_WT", "G_Delta_Y", 16, Pattern(16, 1))));
    Bytes payload;
    EXPECT_FALSE(Receive(Block("STATUS", "", -1), payload));
    EXPECT_EQ(quillet_block_count(), 0);
    EXPECT_EQ(quillet_received_count(), 2);
    ASSERT_TRUE(Receive(Block("TBL_RD", "G_Delta_Y", -1), payload));
    EXPECT_NE(payload, Pattern(16, 1));  // the failed write never arrived

    // In the middle of a sequence: two go through, the third fails, the fourth goes through.
    const int before = quillet_block_count();
    quillet_fail_after(2, 1);
    EXPECT_TRUE(Receive(Block("STATUS", "", -1), payload));
    EXPECT_TRUE(Send(Block("TBL_WT", "G_Delta_Y", 16, Pattern(16, 2))));
    EXPECT_FALSE(Send(Block("TBL_WT", "G_Delta_M", 16, Pattern(16, 3))));
    EXPECT_TRUE(Send(Block("TBL_WT", "G_Delta_C", 16, Pattern(16, 4))));
    EXPECT_EQ(quillet_block_count(), before + 3) << "the request and the two writes that went";
}

TEST_F(Emulator, ScriptedReplyFaultsShapeTheNextReplies) {
    quillet_set_status(kPort, "1010");
    struct Case {
        int kind, arg;
        bool ok;
        std::string framed;
    };
    const std::vector<Case> cases = {
        {0, 0, true, "000000051010\r"},
        {QUILLET_REPLY_SHORT, 2, true, "0000000210"},
        {QUILLET_REPLY_OVERSIZED, 7, true, "000000121010\r"},
        // A claim beyond what 8 digits can say stays 8 digits: the framing holds.
        {QUILLET_REPLY_OVERSIZED, 2000000000, true, "999999991010\r"},
        {QUILLET_REPLY_UNTERMINATED, 0, true, "000000041010"},
        {QUILLET_REPLY_DELAY, 100, false, ""},
        {QUILLET_REPLY_EMPTY, 0, true, "00000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        if (c.kind) quillet_fault_next_reply(c.kind, c.arg);
        // A send between does not use up the fault.
        ASSERT_TRUE(Send(Block("TBL_WT", "G_Delta_Y", 16, Bytes(16))));
        Bytes framed;
        EXPECT_EQ(ReceiveFramed(Block("STATUS", "", -1), framed), c.ok);
        if (c.ok) {
            EXPECT_EQ(Text(framed), c.framed);
        }
    }
    // Faults queue up, one a reply, and end with the queue.
    quillet_fault_next_reply(QUILLET_REPLY_EMPTY, 0);
    quillet_fault_next_reply(QUILLET_REPLY_UNTERMINATED, 0);
    EXPECT_EQ(Ask("STATUS", ""), "");
    EXPECT_EQ(Ask("STATUS", ""), "1010");
    EXPECT_EQ(Ask("STATUS", ""), "1010\r");
    // FVER ends with CR LF: both go.
    quillet_fault_next_reply(QUILLET_REPLY_UNTERMINATED, 0);
    EXPECT_EQ(Ask("INFO", "FVER"), "EMU V1.20.07");
}

TEST_F(Emulator, LogsEveryCallAndEveryAcceptedBlock) {
    const Bytes write = Block("TBL_WT", "G_Delta_M", 16, Pattern(16, 4));
    ASSERT_TRUE(Send(write, u"EMU_second"));
    EXPECT_FALSE(Send(Raw("junk")));
    EXPECT_EQ(Ask("STATUS", ""), "0\r");
    ASSERT_EQ(quillet_received_count(), 3);
    uint32_t code = 0;
    Bytes got(600);
    char16_t port[8];
    EXPECT_EQ(quillet_received(0, &code, got.data(), 600, port, 8), 48);
    EXPECT_EQ(Bytes(got.begin(), got.begin() + 48), write);
    EXPECT_EQ(std::u16string(port), u"EMU_sec");  // cut to the caller's room
    EXPECT_EQ(code, IOCTL_MONITOR_SEND);
    EXPECT_EQ(quillet_received(1, &code, got.data(), 2, port, 8), 4);
    EXPECT_EQ(Text(Bytes(got.begin(), got.begin() + 2)), "ju");
    EXPECT_EQ(quillet_received(2, &code, nullptr, 0, nullptr, 0), 32);
    EXPECT_EQ(code, IOCTL_MONITOR_RECEIVE);
    EXPECT_EQ(quillet_received(3, nullptr, nullptr, 0, nullptr, 0), -1);

    ASSERT_EQ(quillet_block_count(), 2);  // the write and the request, not the junk
    EXPECT_EQ(quillet_block(1, got.data(), 600), 32);
    EXPECT_EQ(quillet_block(2, got.data(), 600), -1);
    quillet_reset();
    EXPECT_EQ(quillet_received_count() + quillet_block_count(), 0);
}

// ctest runs every test in a process of its own: this one never resets, as the
// program never does, and a long session must not keep copies of what it sent.
TEST(EmulatorLogs, KeptOnlyFromTheFirstReset) {
    ASSERT_TRUE(Send(Block("TBL_WT", "G_Delta_Y", 16, Pattern(16, 1))));
    EXPECT_EQ(quillet_received_count() + quillet_block_count(), 0);
    quillet_reset();
    ASSERT_TRUE(Send(Block("TBL_WT", "G_Delta_Y", 16, Pattern(16, 1))));
    EXPECT_EQ(quillet_received_count(), 1);
    EXPECT_EQ(quillet_block_count(), 1);
}

TEST_F(Emulator, AddressesOnlyEmulatedPortsAndDevicePaths) {
    const Bytes write = Block("TBL_WT", "G_Delta_C", 16, Pattern(16, 8));
    ASSERT_TRUE(Send(write, u"EMU2"));
    Bytes one, two;
    ASSERT_TRUE(Receive(Block("TBL_RD", "G_Delta_C", -1), two, u"EMU2"));
    ASSERT_TRUE(Receive(Block("TBL_RD", "G_Delta_C", -1), one, u"EMU1"));
    EXPECT_NE(one, two);  // one printer per port name
    for (const char16_t* port : {u"emu1", u"LPT1:", u"", u"relative/dev", u"/nonexistent/lp0"})
        EXPECT_FALSE(Send(write, port));
    EXPECT_FALSE(Send(write, nullptr));

    const Bytes request = Block("STATUS", "", -1);
    uint32_t n = 77;
    unsigned char out[16];
    auto call = [&](uint32_t code, const void* in, void* o, uint32_t size) {
        return MonitorIoControl(kPort, code, in, 32, o, size, &n);
    };
    EXPECT_EQ(call(0x22004C, request.data(), out, 16), 0);
    EXPECT_EQ(call(IOCTL_MONITOR_RECEIVE, request.data(), nullptr, 0), 0);
    EXPECT_EQ(call(IOCTL_MONITOR_SEND, nullptr, nullptr, 0), 0);
    // A reply never goes past the caller's buffer: "000000020\r" needs 10 bytes.
    out[9] = 0xEE;
    EXPECT_EQ(call(IOCTL_MONITOR_RECEIVE, request.data(), out, 9), 0);
    EXPECT_EQ(out[9], 0xEE);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(call(IOCTL_MONITOR_RECEIVE, request.data(), out, 10), 1);
    EXPECT_EQ(n, 10u);
    // An empty send is taken as nothing.
    EXPECT_EQ(MonitorIoControl(kPort, IOCTL_MONITOR_SEND, nullptr, 0, nullptr, 0, nullptr), 1);
}

}  // namespace
}  // namespace quillet_test
