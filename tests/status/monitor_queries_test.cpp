// The getters against the stand-in monitor: the request each one sends, and
// what each reply reads as.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "status/parvel.h"
#include "tests/status/monitor_library.h"

using namespace standin_test;

namespace {

constexpr uint32_t Receive = 0x22003C;
constexpr int32_t Unknown = INT32_MIN;

using HandleFn = int32_t (*)(int32_t);
using TextFn = int32_t (*)(int32_t, char*);

std::string Framed(const std::string& payload) {
    char header[9];
    std::snprintf(header, sizeof header, "%08zu", payload.size());
    return header + payload;
}

using Queries = StandinFixture;

// Each getter under each of its names sends its one fixed block.
TEST_F(Queries, EveryGetterSendsItsRequestBlock) {
    const struct {
        const char* plain;
        const char* jm;
        bool text;
        const char* command;
        const char* parameter;
        const char* length;
    } rows[] = {
        {"GetStatus", "JmGetStatus", false, "STATUS", "", ""},
        {"GetFirmwVersion", "JmGetVersion", true, "INFO", "FVER", ""},
        {"GetSensorInfo", "JmGetSensorInfo", true, "INFO", "SENSOR", ""},
        {"GetMedia", "JmGetMedia", true, "INFO", "MEDIA", ""},
        {"GetPQTY", "JmGetPQTY", false, "INFO", "PQTY", ""},
        {"GetCounterL", "JmGetCounterL", false, "MNT_RD", "COUNTER_LIFE", ""},
        {"GetCounterA", "JmGetCounterA", false, "MNT_RD", "COUNTER_A", ""},
        {"GetCounterB", "JmGetCounterB", false, "MNT_RD", "COUNTER_B", ""},
        {"GetResolutionH", "JmGetResolutionH", false, "INFO", "RESOLUTION_H", ""},
        {"GetResolutionV", "JmGetResolutionV", false, "INFO", "RESOLUTION_V", ""},
        {"GetFreeBuffer", "JmGetFreeBuffer", false, "INFO", "FREE_PBUFFER", ""},
        {"GetMediaLotNo", "JmGetMediaLotNo", true, "INFO", "MLOT", ""},
        {"GetMediaColorOffset", "JmGetMediaColorOffset", false, "INFO", "MCOLOR", ""},
        {"GetMediaCounter", "JmGetMediaCounter", false, "INFO", "MQTY", ""},
        {"GetSerialNo", "JmGetSerialNo", true, "INFO", "SERIAL_NUMBER", ""},
        {"GetColorDataVersion", "JmGetColorDataVersion", true, "TBL_RD", "Version", "00000000"},
        {"GetColorDataChecksum", "JmGetColorDataChecksum", true, "MNT_RD", "CTRLD_CHKSUM",
         "00000000"},
        {"GetMediaIdSetInfo", nullptr, false, "MNT_RD", "MEDIA_ID_SET", "00000000"},
    };
    for (const auto& row : rows) {
        for (const char* name : {row.plain, row.jm}) {
            if (name == nullptr) continue;
            SCOPED_TRACE(name);
            Reset();
            Script(1, Framed("0\r"));
            char out[PARVEL_TEXT_CAPACITY];
            if (row.text) {
                auto f = Bind<TextFn>(name);
                ASSERT_NE(f, nullptr);
                f(1, out);
            } else {
                auto f = Bind<HandleFn>(name);
                ASSERT_NE(f, nullptr);
                f(1);
            }
            ASSERT_EQ(CallCount(), 1);
            EXPECT_EQ(Call(0).controlCode, Receive);
            EXPECT_EQ(Call(0).outSize, 4096u);
            EXPECT_EQ(Pieces()[0], Block(row.command, row.parameter, row.length));
        }
    }
}

TEST_F(Queries, StatusCodesMapToTheirWords) {
    const struct {
        std::string reply;
        int32_t word;
    } rows[] = {
        {"0\r", 0x00010001},
        {"1\r", 0x00010002},
        {"2\r", 0x00010004},
        {"1100\r", 0x00010008},
        {"1200\r", 0x00010010},
        {"500\r", 0x00010020},
        {"510\r", 0x00010040},
        {"1000\r", 0x00020001},
        {"1300\r", 0x00020002},
        {"1400\r", 0x00020004},
        {"1500\r", 0x00020008},
        {"1600\r", 0x00020010},
        {"1010\r", 0x00020020},
        {"2000\r", 0x00040001},
        {"2100\r", 0x00040002},
        {"2200\r", 0x00040004},
        {"2300\r", 0x00040008},
        {"2400\r", 0x00040010},
        {"2500\r", 0x00040020},
        {"2600\r", 0x00040040},
        {"2700\r", 0x00040080},
        {"2800\r", 0x00040100},
        {"2610\r", 0x00040200},
        {"3000\r", 0x00080001},
        {"FU1\r", 0x00100001},
        {"FU2\r", 0x00100002},
        {"FU3\r", 0x00100004},
        {"FU101\r", 0x00100008},
        {"FU200\r", 0x00100010},
        {"FU300\r", 0x00100020},
        {"FU4\r", Unknown},
        {"4\r", Unknown},
        {"FU0\r", Unknown},
        {"FU1000\r", Unknown},
        {"-1\r", Unknown},
        {"1010", 0x00020020},
        {" 1300\r", 0x00020002},
        // No readable number is not "Idle".
        {"", Unknown},
        {"\r", Unknown},
        {"FU\r", Unknown},
        {"Idle\r", Unknown},
    };
    auto getStatus = Bind<HandleFn>("GetStatus");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reply);
        Script(1, Framed(row.reply));
        EXPECT_EQ(getStatus(1), row.word);
    }
    Script(0, Framed("0\r"));
    EXPECT_EQ(getStatus(1), Unknown);
    // A short reply never takes digits of the reply before it.
    Script(1, Framed("1100"));
    Script(1, Framed("1"));
    getStatus(1);
    EXPECT_EQ(getStatus(1), 0x00010002);
}

TEST_F(Queries, NumericGettersReadTheNumberAfterTheirPrefix) {
    const struct {
        const char* getter;
        std::string reply;
        int32_t value;
    } rows[] = {
        {"GetCounterL", "CL123\r", 123},
        {"GetCounterA", "CL123\r", 0},  // another counter's prefix
        {"GetCounterA", "CA7\r", 7},
        {"GetCounterB", "CB  42\r", 42},
        {"GetCounterB", "CB-5\r", -5},
        {"GetCounterB", "CB\r", 0},
        {"GetCounterB", "cb5\r", 0},
        {"GetPQTY", "PQTY250\r", 250},
        {"GetResolutionH", "RH300\r", 300},
        {"GetResolutionV", "RV600\r", 600},
        {"GetFreeBuffer", "FPB3\r", 3},
        {"GetMediaCounter", "MQTY112\r", 112},
        {"GetMediaCounter", "MQT112\r", 0},
        {"GetCounterL", "CL99999999999\r", INT32_MAX},
        {"GetMediaIdSetInfo", "MDID12\r", 12},
        {"GetMediaIdSetInfo", "MDID0\r", 0},
        {"GetMediaIdSetInfo", "MDID\r", -1},  // no number read
        {"GetMediaIdSetInfo", "XX12\r", -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.getter) + " " + row.reply);
        Script(1, Framed(row.reply));
        EXPECT_EQ(Bind<HandleFn>(row.getter)(1), row.value);
    }
    for (const char* getter : {"GetCounterL", "GetMediaCounter", "GetMediaIdSetInfo"}) {
        Script(0, Framed("CL1\r"));
        EXPECT_EQ(Bind<HandleFn>(getter)(1), -1) << getter;
    }
    // The number stops where the reply does, whatever the buffer held before.
    auto counterA = Bind<HandleFn>("GetCounterA");
    Script(1, Framed("CA1234\r"));
    Script(1, Framed("CA5"));
    ASSERT_EQ(counterA(1), 1234);
    EXPECT_EQ(counterA(1), 5);
}

TEST_F(Queries, TextGettersCopyTheReplyWithItsTerminator) {
    const struct {
        const char* getter;
        std::string reply;
        std::string copied;
        int32_t result;
    } rows[] = {
        {"GetFirmwVersion", "V1.23\r\n", "V1.23\r\n", 6},
        {"GetColorDataVersion", "V1.23\r\n", "V1.23\r\n", 7},
        {"GetMediaLotNo", "V1.23\r\n", "V1.23\r\n", 20},
        {"GetSerialNo", "V1.23\r\n", "V1.23\r\n", 6},
        {"GetColorDataChecksum", "V1.23\r\n", "V1.23\r\n", 6},
        {"GetSensorInfo", "V1.23\r\n", "V1.23\r\n", 6},
        {"GetMedia", "MT00301\r", "00301\r", 7},
        {"GetMedia", "MT", "", 1},
        {"GetFirmwVersion", "", "", -1},  // as a failure
        {"GetColorDataVersion", "", "", 0},
        {"GetMediaLotNo", "", "", 20},
        {"GetFirmwVersion", std::string("AB\0CD\r", 6), "AB", 1},
        // Longer than the caller's buffer: cut, terminated, counted as cut.
        {"GetSensorInfo", std::string(300, 's'), std::string(254, 's'), 253},
        {"GetColorDataVersion", std::string(300, 'v'), std::string(254, 'v'), 254},
        {"GetMedia", "MT" + std::string(300, 'm'), std::string(254, 'm'), 255},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.getter) + " " + row.reply.substr(0, 12));
        Script(1, Framed(row.reply));
        std::vector<char> out(PARVEL_TEXT_CAPACITY, '#');
        EXPECT_EQ(Bind<TextFn>(row.getter)(1, out.data()), row.result);
        EXPECT_EQ(std::string(out.data()), row.copied);
    }
}

TEST_F(Queries, TextGettersClearTheOlderReplyAndKeepOutOnFailure) {
    auto version = Bind<TextFn>("GetFirmwVersion");
    char out[PARVEL_TEXT_CAPACITY];
    Script(1, Framed("LONGER TEXT\r"));
    Script(1, Framed("XY"));
    ASSERT_EQ(version(1, out), 11);
    EXPECT_EQ(version(1, out), 1);
    EXPECT_STREQ(out, "XY");
    for (const char* getter :
         {"GetFirmwVersion", "GetMedia", "GetMediaLotNo", "GetColorDataVersion", "JmGetSerialNo"}) {
        std::strcpy(out, "kept");
        Script(0, Framed("V1\r"));
        EXPECT_EQ(Bind<TextFn>(getter)(1, out), -1) << getter;
        EXPECT_STREQ(out, "kept") << getter;
    }
}

TEST_F(Queries, ColourOffsetPacksFourSignedBytes) {
    const struct {
        std::string reply;
        int32_t value;
    } rows[] = {
        {std::string("MC\x01\x02\x03\x04\r", 7), 0x01020304},
        {std::string("MC\x00\x00\x01\xF6\r", 7), 256 - 10},
        {std::string("MC\xF6\x00\x00\x00\r", 7), -10 * 16777216},
        {std::string("MC\xFF\xFF\xFF\xFF", 6), ((-1 * 256 - 1) * 256 - 1) * 256 - 1},
        {std::string("MC\x80\x80\x80\x80", 6), static_cast<int32_t>(0x7F7F7F80)},  // wraps
        {std::string("MC\x05", 3), 0x05000000},  // missing bytes read as 0
    };
    auto offset = Bind<HandleFn>("GetMediaColorOffset");
    for (const auto& row : rows) {
        Script(1, Framed(row.reply));
        EXPECT_EQ(offset(1), row.value);
    }
    Script(0, Framed(rows[0].reply));
    EXPECT_EQ(offset(1), -1);
}

}  // namespace
