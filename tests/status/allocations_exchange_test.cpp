// Exchanges of the program with the emulated printer allocate nothing, through the real
// status library and the real monitor. A process of its own: it never resets the emulator,
// so the monitor keeps no logs, as in the program.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "status/parvel.h"
#include "tests/status/block_text.h"
#include "tests/status/monitor_allocations.h"

namespace {

using standin_test::Allocations;
using standin_test::CountAllocations;
using standin_test::CountsAnAllocation;

std::string Digits8(size_t n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08zu", n);
    return digits;
}

// A write block as the command layer builds it: header, then the data.
std::string WriteBlock(const std::string& parameter, const std::string& data,
                       const std::string& command = "TBL_WT") {
    return Block(command, parameter, Digits8(data.size())) + data;
}

struct Exchange {
    const char* what;
    std::function<bool()> run;  // true when the exchange succeeded
};

TEST(ExchangeAllocations, NoneOnAnyPathTheProgramTakes) {
    ASSERT_TRUE(CountsAnAllocation());
    const int32_t h = JmInitialize(u"EMU_ALLOCATIONS");
    ASSERT_GE(h, 1);
    static char text[PARVEL_TEXT_CAPACITY];
    static char reply[38001];
    auto send = [h](std::string block) {
        return [h, block] { return JmSetCommand(h, block.data(), int32_t(block.size())) != 0; };
    };
    auto ask = [h](std::string request) {
        return [h, request] {
            return JmGetCommandEX(h, request.data(), 32, reply, sizeof reply) >= 0;
        };
    };
    const std::string curve(512, '\x12');
    const std::string colourData(37122, '\0');
    const std::string version = "KTD01 V2.00" + std::string(21, ' ');
    const std::vector<Exchange> exchanges = {
        {"curve write", send(WriteBlock("HeadTemp_Y", curve))},
        {"curve read", ask(Block("TBL_RD", "HeadTemp_Y", ""))},
        {"long parameter read", ask(Block("TBL_RD", "MediaHumidity_OP", ""))},
        {"start compensation write", send(WriteBlock("StartCmpData", std::string(2000, '\1')))},
        {"start compensation read", ask(Block("TBL_RD", "StartCmpData", ""))},
        {"version write", send(WriteBlock("Version", version))},
        {"version read", ask(Block("TBL_RD", "Version", "00000000"))},
        {"media write", send(WriteBlock("MEDIA", "MT00301\r", "MNT_WT"))},
        {"print position write", send(WriteBlock("PRINT_POS_ADJUST", "PPA+012\r", "MNT_WT"))},
        {"print position read", ask(Block("MNT_RD", "PRINT_POS_ADJUST", ""))},
        {"head rank read", ask(Block("MNT_RD", "HEAD_RANK", ""))},
        {"status", [h] { return JmGetStatus(h) != PARVEL_STATUS_UNKNOWN; }},
        {"firmware", [h] { return JmGetVersion(h, text) >= 0; }},
        {"sensors", [h] { return JmGetSensorInfo(h, text) >= 0; }},
        {"media", [h] { return JmGetMedia(h, text) >= 0; }},
        {"media lot", [h] { return JmGetMediaLotNo(h, text) >= 0; }},
        {"serial", [h] { return JmGetSerialNo(h, text) >= 0; }},
        {"checksum", [h] { return JmGetColorDataChecksum(h, text) >= 0; }},
        {"colour data version", [h] { return JmGetColorDataVersion(h, text) >= 0; }},
        {"prints left", [h] { return JmGetPQTY(h) > 0; }},
        {"counter", [h] { return JmGetCounterL(h) > 0; }},
        {"resolution", [h] { return JmGetResolutionH(h) > 0; }},
        {"colour offset", [h] { return JmGetMediaColorOffset(h) != -1; }},
        {"media id", [h] { return GetMediaIdSetInfo(h) >= 0; }},
        {"counter clear", [h] { return JmSetClearCounterA(h) != 0; }},
        {"cutter mode", [h] { return SetCutterMode(h, 1) == 1; }},
        {"colour data in pieces",
         [h, &colourData] {
             return JmSetColorDataWrite(h, colourData.data(), int32_t(colourData.size())) == 1;
         }},
        {"version in pieces",
         [h, &version] { return JmSetColorDataVersion(h, version.data(), 20) == 1; }},
    };
    // The first exchange of each kind may give the printer's buffers their size.
    for (const Exchange& e : exchanges) ASSERT_TRUE(e.run()) << e.what;
    for (const Exchange& e : exchanges) {
        CountAllocations(true);
        const bool ok = e.run();
        CountAllocations(false);
        EXPECT_TRUE(ok) << e.what;
        EXPECT_EQ(Allocations(), 0) << e.what;
    }
}

}  // namespace
