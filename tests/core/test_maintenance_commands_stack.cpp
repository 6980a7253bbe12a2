#include <cstring>
#include <string>
#include <vector>

#include "core/command_blocks.h"
#include "core/maintenance_commands.h"
#include "stack_fixture.h"

using namespace Module2;

namespace {

using MaintenanceCommands = StackTest;

std::vector<uint8_t> Block(const char* parameter, std::string data) {
    const std::string header = std::string("\x1bPMNT_WT") + parameter +
                               std::string(16 - std::strlen(parameter), ' ') +
                               (data.size() == 8 ? "00000008" : "00000032");
    const std::string all = header + data;
    return std::vector<uint8_t>(all.begin(), all.end());
}

TEST_F(MaintenanceCommands, EachWriteSendsItsBlockByteForByte) {
    using std::string_literals::operator""s;
    struct Case {
        bool (*send)();
        std::vector<uint8_t> block;
    };
    const Case cases[] = {
        {[] { return WriteHeadRank(4000); }, Block("HEAD_RANK", "HR4000\r\0"s)},
        {[] { return WriteHeatSetting(7); }, Block("HEAT_SETTING", "HS007\r\0\0"s)},
        {[] { return WritePrintPosAdjust(12); }, Block("PRINT_POS_ADJUST", "PPA+012\r")},
        {[] { return WritePrintPosAdjust(-12); }, Block("PRINT_POS_ADJUST", "PPA-012\r")},
        {[] { return WritePrintPosAdjust(0); }, Block("PRINT_POS_ADJUST", "PPA+000\r")},
        {[] { return WriteCutPosAdjust(-5); }, Block("CUT_POS_ADJUST", "CPA-005\r")},
        {[] { return WriteResolution(600); }, Block("RESOLUTION", "600\r\0\0\0\0"s)},
        {[] { return WriteMedia(310); }, Block("MEDIA", "MT00310\r")},
        {[] { return WritePrinterId("AB12345678"); },
         Block("PRINTER_ID_SET", "AB12345678\r"s + std::string(21, '\0'))},
    };
    for (const Case& c : cases) {
        quillet_reset();
        ASSERT_TRUE(c.send());
        const auto blocks = Blocks();
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(blocks[0].size(), c.block.size());
        EXPECT_EQ(blocks[0], c.block) << Text(c.block, 2, 22);
    }
    EXPECT_TRUE(notice.calls.empty()) << "maintenance commands show no busy notice";
}

TEST_F(MaintenanceCommands, WhatCannotBeSentIsNotSent) {
    // A printer id longer than its field loses its terminators; the block is still 64 bytes.
    const std::string id(40, 'X');
    ASSERT_TRUE(WritePrinterId(id));
    EXPECT_EQ(Blocks().back(), Block("PRINTER_ID_SET", std::string(32, 'X')));
    // A shorter one after it: the rest of its field is zeros, nothing of the longer id.
    using std::string_literals::operator""s;
    ASSERT_TRUE(WritePrinterId("AB1234"));
    EXPECT_EQ(Blocks().back(), Block("PRINTER_ID_SET", "AB1234\r"s + std::string(25, '\0')));

    // A step count beyond three digits would corrupt the field: refused before any exchange.
    quillet_reset();
    EXPECT_FALSE(WritePrintPosAdjust(1000));
    EXPECT_FALSE(WriteCutPosAdjust(-1000));
    EXPECT_EQ(quillet_received_count(), 0);

    quillet_fail_next(1);
    EXPECT_FALSE(WriteHeadRank(4000));
}

TEST_F(MaintenanceCommands, ReadsTakeTheTextUpToTheCr) {
    auto reply = [](const char* command, const char* parameter, const std::string& payload) {
        quillet_set_reply(Port, command, parameter,
                          reinterpret_cast<const unsigned char*>(payload.data()),
                          static_cast<int>(payload.size()));
    };
    reply("MNT_RD", "HEAD_RANK", "HR4000\r");
    EXPECT_EQ(ReadHeadRank(), "HR4000");
    // A longer reply, then one without its CR: this reply's text only, nothing of the last.
    reply("INFO", "SERIAL_NUMBER", "SERIAL-0123456789\r");
    EXPECT_EQ(ReadSerialNumber(), "SERIAL-0123456789");
    reply("MNT_RD", "HEAT_SETTING", "HS012");
    EXPECT_EQ(ReadHeatSetting(), "HS012");
    reply("MNT_RD", "PRINT_POS_ADJUST", "");
    EXPECT_EQ(ReadPrintPosAdjust(), "");

    quillet_fail_next(1);
    EXPECT_EQ(ReadCutPosAdjust(), "");
    quillet_fail_next(1);
    EXPECT_EQ(ReadSensorInfo(), "");

    // The printer's own answers, from its settings.
    quillet_reset();
    ASSERT_TRUE(WriteCutPosAdjust(-5));
    EXPECT_EQ(ReadCutPosAdjust(), "CPA-005");
    EXPECT_FALSE(ReadSensorInfo().empty());
}

}  // namespace
