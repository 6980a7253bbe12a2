// The commands and transfers against the stand-in monitor: the pieces each one
// sends, in order, and its result.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/status/monitor_library.h"

using namespace standin_test;

namespace {

constexpr uint32_t Send = 0x220038;

using HandleFn = int32_t (*)(int32_t);
using DataFn = int32_t (*)(int32_t, const void*, int32_t);
using ModeFn = int32_t (*)(int32_t, int32_t);

using Commands = StandinFixture;

void ExpectAllSends() {
    for (int i = 0; i < CallCount(); ++i) EXPECT_EQ(Call(i).controlCode, Send) << "piece " << i;
}

TEST_F(Commands, SingleSendCommandsSendOneBlock) {
    const std::string clear = Block("MNT_WT", "COUNTER_CLEAR", "00000004");
    const struct {
        const char* plain;
        const char* jm;
        std::string block;
    } rows[] = {
        {"SetClearCounterA", "JmSetClearCounterA", clear + std::string("CA\r\0", 4)},
        {"SetClearCounterB", "JmSetClearCounterB", clear + std::string("CB\r\0", 4)},
        {"SetFirmwUpdateMode", "JmSetFirmwUpdateMode", Block("FW_UPD", "FLASH_REWRITE", "")},
        {"SetColorDataClear", "JmSetColorDataClear", Block("TBL_CL", "", "00000000")},
    };
    for (const auto& row : rows) {
        for (const char* name : {row.plain, row.jm}) {
            for (int result : {1, 0}) {
                SCOPED_TRACE(std::string(name) + (result ? " sent" : " failed"));
                Reset();
                Script(result, "");
                EXPECT_EQ(Bind<HandleFn>(name)(1), result);
                EXPECT_EQ(Pieces(), std::vector<std::string>{row.block});
                ExpectAllSends();
            }
        }
    }
    EXPECT_EQ(rows[0].block.size(), 36u);
}

TEST_F(Commands, TransfersSendHeadLengthAndTheCallersData) {
    const struct {
        const char* plain;
        const char* jm;
        std::string head;
    } rows[] = {
        {"SetFirmwDataWrite", "JmSetFirmwDataWrite",
         Block("FW_UPD", "FLASH_PROGRAM", "").substr(0, 24)},
        {"SetColorDataWrite", "JmSetColorDataWrite",
         Block("TBL_WT", "CTRLD_UPDATE_KT", "").substr(0, 24)},
    };
    const std::string data = "S0030000FC";
    for (const auto& row : rows) {
        for (const char* name : {row.plain, row.jm}) {
            SCOPED_TRACE(name);
            auto transfer = Bind<DataFn>(name);
            Reset();
            Script(1, "");
            Script(1, "");
            Script(5, "");
            EXPECT_EQ(transfer(1, data.data(), 10), 5);
            EXPECT_EQ(Pieces(), (std::vector<std::string>{row.head, "00000010", data}));
            ExpectAllSends();
            EXPECT_EQ(Call(2).in, data.data());  // straight from the caller's buffer

            // A failed piece before the data ends the transfer there.
            for (int failing = 0; failing < 3; ++failing) {
                Reset();
                for (int i = 0; i < 3; ++i) Script(i == failing ? 0 : 1, "");
                EXPECT_EQ(transfer(1, data.data(), 10), failing < 2 ? -1 : 0);
                EXPECT_EQ(CallCount(), failing + 1);
            }

            // A length that eight digits cannot carry sends nothing.
            Reset();
            EXPECT_EQ(transfer(1, data.data(), -1), -1);
            EXPECT_EQ(transfer(1, data.data(), 100'000'000), -1);
            EXPECT_EQ(CallCount(), 0);
        }
    }
}

TEST_F(Commands, ColourDataVersionSendsWholeSixteenByteUnits) {
    const std::string head = "\x1bPTBL_WT";
    const std::string parameter = "Version         ";
    const struct {
        int32_t length;
        std::string digits;
        int32_t padded;
    } rows[] = {
        {32, "00000032", 32}, {33, "00000048", 48}, {0, "00000000", 0},
        {1, "00000016", 16},  {16, "00000016", 16},
    };
    for (const char* name : {"SetColorDataVersion", "JmSetColorDataVersion"}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(row.length));
            // Exactly the caller's bytes, so a read past them is caught.
            std::vector<char> data(row.length);
            for (int32_t i = 0; i < row.length; ++i) data[i] = static_cast<char>('a' + i % 26);
            Reset();
            EXPECT_EQ(Bind<DataFn>(name)(1, data.data(), row.length), 1);
            std::string expected(data.begin(), data.end());
            expected.resize(row.padded, '\0');
            EXPECT_EQ(Pieces(), (std::vector<std::string>{head, parameter, row.digits, expected}));
            ExpectAllSends();
        }
    }
    auto version = Bind<DataFn>("SetColorDataVersion");
    const char data[16] = {};
    for (int failing = 0; failing < 4; ++failing) {
        Reset();
        for (int i = 0; i < 4; ++i) Script(i == failing ? 0 : 1, "");
        EXPECT_EQ(version(1, data, 16), failing < 3 ? -1 : 0);
        EXPECT_EQ(CallCount(), failing + 1);
    }
    Reset();
    EXPECT_EQ(version(1, data, -16), -1);
    EXPECT_EQ(CallCount(), 0);
}

TEST_F(Commands, ModeCommandsSendHeaderThenTheModeDigits) {
    const struct {
        const char* name;
        int32_t mode;
        std::string header;
        std::string digits;
    } rows[] = {
        {"SetCutterMode", 1, Block("CNTRL", "CUTTER", "00000008"), "00000001"},
        {"SetCutterMode", 0, Block("CNTRL", "CUTTER", "00000008"), "00000000"},
        {"SetRetentionMode", 4, Block("CNTRL", "RETENTION", "00000008"), "00000004"},
        {"SetRetentionMode", 99'999'999, Block("CNTRL", "RETENTION", "00000008"), "99999999"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " " + row.digits);
        Reset();
        Script(1, "");
        Script(3, "");
        EXPECT_EQ(Bind<ModeFn>(row.name)(1, row.mode), 3);
        EXPECT_EQ(Pieces(), (std::vector<std::string>{row.header, row.digits}));
        ExpectAllSends();
    }
    for (const char* name : {"SetCutterMode", "SetRetentionMode"}) {
        Reset();
        Script(0, "");
        EXPECT_EQ(Bind<ModeFn>(name)(1, 1), -1);
        EXPECT_EQ(CallCount(), 1);
        Reset();
        EXPECT_EQ(Bind<ModeFn>(name)(1, -1), -1);
        EXPECT_EQ(Bind<ModeFn>(name)(1, 100'000'000), -1);
        EXPECT_EQ(CallCount(), 0);
    }
}

}  // namespace
