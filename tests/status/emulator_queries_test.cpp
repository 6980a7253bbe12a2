// Every getter and command through the real monitor to an emulated printer:
// the request arrives byte for byte, and the printer's answer reads as what it
// holds.

#include <cstring>
#include <vector>

#include "tests/status/emulator_fixture.h"

using namespace emulator_test;

namespace {

using ParvelQueries = EmulatorFixture;
using ParvelCommands = EmulatorFixture;

constexpr int32_t Unknown = INT32_MIN;

TEST_F(ParvelQueries, NumericGettersReadWhatThePrinterHolds) {
    const struct {
        int32_t (*plain)(int32_t);
        int32_t (*jm)(int32_t);
        const char* key;
        const char* value;
        const char* command;
        const char* parameter;
        const char* length;
    } rows[] = {
        {GetPQTY, JmGetPQTY, "pqty", "250", "INFO", "PQTY", ""},
        {GetCounterL, JmGetCounterL, "counter_life", "123", "MNT_RD", "COUNTER_LIFE", ""},
        {GetCounterA, JmGetCounterA, "counter_a", "45", "MNT_RD", "COUNTER_A", ""},
        {GetCounterB, JmGetCounterB, "counter_b", "6", "MNT_RD", "COUNTER_B", ""},
        {GetResolutionH, JmGetResolutionH, "resolution_h", "300", "INFO", "RESOLUTION_H", ""},
        {GetResolutionV, JmGetResolutionV, "resolution_v", "600", "INFO", "RESOLUTION_V", ""},
        {GetFreeBuffer, JmGetFreeBuffer, "free_buffer", "3", "INFO", "FREE_PBUFFER", ""},
        {GetMediaCounter, JmGetMediaCounter, "media_counter", "112", "INFO", "MQTY", ""},
        {GetMediaIdSetInfo, nullptr, "media_id", "12", "MNT_RD", "MEDIA_ID_SET", "00000000"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.parameter) + " " + row.value);
        ASSERT_TRUE(quillet_set_setting(Port, row.key, row.value));
        for (auto getter : {row.plain, row.jm}) {
            if (getter == nullptr) continue;
            EXPECT_EQ(getter(handle), std::stoi(row.value));
            const Received r = ReceivedCall(-1);
            EXPECT_EQ(r.controlCode, Receive);
            EXPECT_EQ(r.bytes, Block(row.command, row.parameter, row.length));
        }
        quillet_fail_next(1);
        EXPECT_EQ(row.plain(handle), -1);
    }
}

TEST_F(ParvelQueries, NumericRepliesReadByPrefix) {
    const struct {
        int32_t (*getter)(int32_t);
        const char* parameter;
        std::string reply;
        int32_t value;
    } rows[] = {
        {GetCounterL, "COUNTER_LIFE", "CL123\r", 123},
        {GetCounterA, "COUNTER_A", "CL123\r", 0},  // another counter's prefix
        {GetCounterB, "COUNTER_B", "CB  42\r", 42},
        {GetCounterB, "COUNTER_B", "CB-5\r", -5},
        {GetCounterB, "COUNTER_B", "CB\r", 0},
        {GetCounterB, "COUNTER_B", "cb5\r", 0},
        {GetCounterL, "COUNTER_LIFE", "CL99999999999\r", INT32_MAX},
        {GetMediaIdSetInfo, "MEDIA_ID_SET", "MDID0\r", 0},
        {GetMediaIdSetInfo, "MEDIA_ID_SET", "MDID\r", -1},  // no number read
        {GetMediaIdSetInfo, "MEDIA_ID_SET", "XX12\r", -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.parameter) + " " + row.reply);
        Reply("MNT_RD", row.parameter, row.reply);
        EXPECT_EQ(row.getter(handle), row.value);
    }
    // The number stops where the reply does, whatever the buffer held before.
    Reply("MNT_RD", "COUNTER_A", "CA1234\r");
    ASSERT_EQ(GetCounterA(handle), 1234);
    Reply("MNT_RD", "COUNTER_A", "CA5");
    EXPECT_EQ(GetCounterA(handle), 5);
}

TEST_F(ParvelQueries, StatusWordOfThePrintersCode) {
    const struct {
        const char* code;
        int32_t word;
    } rows[] = {
        {"0", 0x00010001},     {"1", 0x00010002},     {"2", 0x00010004},    {"1100", 0x00010008},
        {"1200", 0x00010010},  {"500", 0x00010020},   {"510", 0x00010040},  {"1000", 0x00020001},
        {"1300", 0x00020002},  {"1400", 0x00020004},  {"1500", 0x00020008}, {"1600", 0x00020010},
        {"1010", 0x00020020},  {"2000", 0x00040001},  {"2100", 0x00040002}, {"2200", 0x00040004},
        {"2300", 0x00040008},  {"2400", 0x00040010},  {"2500", 0x00040020}, {"2600", 0x00040040},
        {"2700", 0x00040080},  {"2800", 0x00040100},  {"2610", 0x00040200}, {"3000", 0x00080001},
        {"FU1", 0x00100001},   {"FU2", 0x00100002},   {"FU3", 0x00100004},  {"FU101", 0x00100008},
        {"FU200", 0x00100010}, {"FU300", 0x00100020}, {"FU4", Unknown},     {"4", Unknown},
        {"FU0", Unknown},      {"FU1000", Unknown},   {"-1", Unknown},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        quillet_set_status(Port, row.code);
        EXPECT_EQ(JmGetStatus(handle), row.word);
        EXPECT_EQ(ReceivedCall(-1).bytes, Block("STATUS", "", ""));
    }
    // No readable number is not "Idle".
    for (const char* reply : {"", "\r", "FU\r", "Idle\r"}) {
        Reply("STATUS", "", reply);
        EXPECT_EQ(GetStatus(handle), Unknown) << reply;
    }
    // A short reply never takes digits of the reply before it.
    Reply("STATUS", "", "1100");
    ASSERT_EQ(GetStatus(handle), 0x00010008);
    Reply("STATUS", "", "1");
    EXPECT_EQ(GetStatus(handle), 0x00010002);
    quillet_fail_next(1);
    EXPECT_EQ(GetStatus(handle), Unknown);
}

TEST_F(ParvelQueries, TextGettersReadWhatThePrinterHolds) {
    ASSERT_TRUE(quillet_set_setting(Port, "firmware", "V1.23"));
    ASSERT_TRUE(quillet_set_setting(Port, "media", "301"));
    ASSERT_TRUE(quillet_set_setting(Port, "media_lot", "ABCDEFGHIJKLMNOP"));
    ASSERT_TRUE(quillet_set_setting(Port, "serial", "SN000042"));
    ASSERT_TRUE(quillet_set_setting(Port, "version", "KTD01 V2.00     "));
    std::string sensors;
    for (int slot = 1; slot <= 13; ++slot) {
        ASSERT_TRUE(quillet_set_sensor(Port, slot, 100 + slot));
        char s[16];
        std::snprintf(s, sizeof s, "S%02d:%03d; ", slot, 100 + slot);
        sensors += s;
    }
    const std::string checksum = Setting("checksum") + "\r";
    using TextFn = int32_t (*)(int32_t, char*);
    const struct {
        TextFn plain;
        TextFn jm;
        std::string text;
        int32_t result;
        const char* command;
        const char* parameter;
        const char* length;
    } rows[] = {
        {GetFirmwVersion, JmGetVersion, "V1.23\r\n", 6, "INFO", "FVER", ""},
        {GetMedia, JmGetMedia, "00301\r", 7, "INFO", "MEDIA", ""},
        {GetMediaLotNo, JmGetMediaLotNo, "MLABCDEFGHIJKLMNOP\r", 20, "INFO", "MLOT", ""},
        {GetSerialNo, JmGetSerialNo, "SN000042\r", 8, "INFO", "SERIAL_NUMBER", ""},
        {GetSensorInfo, JmGetSensorInfo, sensors + "\r", 117, "INFO", "SENSOR", ""},
        {GetColorDataVersion, JmGetColorDataVersion, "KTD01 V2.00     ", 16, "TBL_RD", "Version",
         "00000000"},
        {GetColorDataChecksum, JmGetColorDataChecksum, checksum, 8, "MNT_RD", "CTRLD_CHKSUM",
         "00000000"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.parameter);
        for (TextFn getter : {row.plain, row.jm}) {
            std::vector<char> out(PARVEL_TEXT_CAPACITY, '#');
            EXPECT_EQ(getter(handle, out.data()), row.result);
            EXPECT_EQ(std::string(out.data()), row.text);
            const Received r = ReceivedCall(-1);
            EXPECT_EQ(r.controlCode, Receive);
            EXPECT_EQ(r.bytes, Block(row.command, row.parameter, row.length));
        }
        char kept[PARVEL_TEXT_CAPACITY] = "kept";
        quillet_fail_next(1);
        EXPECT_EQ(row.plain(handle, kept), -1);
        EXPECT_STREQ(kept, "kept");
    }
}

TEST_F(ParvelQueries, TextRepliesCutAndCounted) {
    const struct {
        int32_t (*getter)(int32_t, char*);
        const char* parameter;
        std::string reply;
        std::string copied;
        int32_t result;
    } rows[] = {
        {GetFirmwVersion, "FVER", "ABCDE\r\n", "ABCDE\r\n", 6},
        {GetColorDataVersion, "Version", "ABCDE\r\n", "ABCDE\r\n", 7},
        {GetMediaLotNo, "MLOT", "ABCDE\r\n", "ABCDE\r\n", 20},
        {GetMedia, "MEDIA", "MT00301\r", "00301\r", 7},
        {GetMedia, "MEDIA", "MT", "", 1},
        {GetFirmwVersion, "FVER", "", "", -1},  // as a failure
        {GetColorDataVersion, "Version", "", "", 0},
        {GetMediaLotNo, "MLOT", "", "", 20},
        {GetFirmwVersion, "FVER", std::string("AB\0CD\r", 6), "AB", 1},
        // Longer than the caller's buffer: cut, terminated, counted as cut.
        {GetSensorInfo, "SENSOR", std::string(300, 's'), std::string(254, 's'), 253},
        {GetColorDataVersion, "Version", std::string(300, 'v'), std::string(254, 'v'), 254},
        {GetMedia, "MEDIA", "MT" + std::string(300, 'm'), std::string(254, 'm'), 255},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.parameter) + " " + row.reply.substr(0, 12));
        Reply(std::string(row.parameter) == "Version" ? "TBL_RD" : "INFO", row.parameter,
              row.reply);
        std::vector<char> out(PARVEL_TEXT_CAPACITY, '#');  // exactly the promised size
        EXPECT_EQ(row.getter(handle, out.data()), row.result);
        EXPECT_EQ(std::string(out.data()), row.copied);
    }
    // The reply before leaves nothing behind a shorter one.
    char out[PARVEL_TEXT_CAPACITY];
    Reply("INFO", "FVER", "LONGER TEXT\r");
    ASSERT_EQ(GetFirmwVersion(handle, out), 11);
    Reply("INFO", "FVER", "XY");
    EXPECT_EQ(GetFirmwVersion(handle, out), 1);
    EXPECT_STREQ(out, "XY");
}

TEST_F(ParvelQueries, ColourOffsetPacksFourSignedBytes) {
    ASSERT_TRUE(quillet_set_setting(Port, "colour_offset", "1,246,3,4"));
    EXPECT_EQ(JmGetMediaColorOffset(handle), ((1 * 256 - 10) * 256 + 3) * 256 + 4);
    EXPECT_EQ(ReceivedCall(-1).bytes, Block("INFO", "MCOLOR", ""));
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
    for (const auto& row : rows) {
        Reply("INFO", "MCOLOR", row.reply);
        EXPECT_EQ(GetMediaColorOffset(handle), row.value);
    }
    quillet_fail_next(1);
    EXPECT_EQ(GetMediaColorOffset(handle), -1);
}

TEST_F(ParvelCommands, CountersClearAndModesSetOnThePrinter) {
    ASSERT_TRUE(quillet_set_setting(Port, "counter_a", "45"));
    ASSERT_TRUE(quillet_set_setting(Port, "counter_b", "46"));
    EXPECT_EQ(JmSetClearCounterA(handle), 1);
    EXPECT_EQ(ReceivedCall(-1).bytes,
              Block("MNT_WT", "COUNTER_CLEAR", "00000004") + std::string("CA\r\0", 4));
    EXPECT_EQ(Setting("counter_a"), "0");
    EXPECT_EQ(Setting("counter_b"), "46");
    EXPECT_EQ(SetClearCounterB(handle), 1);
    EXPECT_EQ(Setting("counter_b"), "0");

    EXPECT_EQ(SetCutterMode(handle, 1), 1);
    EXPECT_EQ(ReceivedCall(-2).bytes, Block("CNTRL", "CUTTER", "00000008"));
    EXPECT_EQ(ReceivedCall(-1).bytes, "00000001");
    EXPECT_EQ(Setting("cutter"), "1");
    EXPECT_EQ(SetRetentionMode(handle, 2), 1);
    EXPECT_EQ(Setting("retention"), "2");
    EXPECT_EQ(quillet_block_count(), 4);
}

TEST_F(ParvelCommands, ColourDataVersionAndClearReachThePrinter) {
    const std::string version = "KTD01 V3.10 2026 X";  // 18 bytes: padded to 32
    EXPECT_EQ(JmSetColorDataVersion(handle, version.data(), 18), 1);
    std::string padded = version;
    padded.resize(32, '\0');
    EXPECT_EQ(Setting("version").size(), 18u);  // the setting reads as a text
    unsigned char held[64];
    ASSERT_EQ(quillet_table(Port, "Version", held, sizeof held), 32);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(held), 32), padded);
    EXPECT_EQ(ReceivedCall(-2).bytes, "00000032");

    EXPECT_EQ(SetColorDataClear(handle), 1);
    EXPECT_EQ(ReceivedCall(-1).bytes, Block("TBL_CL", "", "00000000"));
    EXPECT_EQ(quillet_block_count(), 2);
}

TEST_F(ParvelCommands, FirmwareUpdateRunsThroughItsStates) {
    const std::string image = "S00600004844521B";
    // Outside the update mode the printer refuses the image when its head arrives.
    EXPECT_EQ(SetFirmwDataWrite(handle, image.data(), 16), -1);
    EXPECT_EQ(quillet_received_count(), 1);

    EXPECT_EQ(JmSetFirmwUpdateMode(handle), 1);
    EXPECT_EQ(ReceivedCall(-1).bytes, Block("FW_UPD", "FLASH_REWRITE", ""));
    EXPECT_EQ(GetStatus(handle), 0x00100001);
    EXPECT_EQ(JmSetFirmwDataWrite(handle, image.data(), 16), 1);
    EXPECT_EQ(ReceivedCall(-3).bytes, Block("FW_UPD", "FLASH_PROGRAM", "").substr(0, 24));
    EXPECT_EQ(ReceivedCall(-2).bytes, "00000016");
    EXPECT_EQ(Setting("firmware_image_length"), "16");
    EXPECT_EQ(GetStatus(handle), 0x00010001);

    // A failed first piece sends nothing more.
    quillet_reset();
    quillet_fail_next(1);
    EXPECT_EQ(SetFirmwDataWrite(handle, image.data(), 16), -1);
    EXPECT_EQ(quillet_received_count(), 1);
}

}  // namespace
