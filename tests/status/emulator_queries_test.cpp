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

TEST_F(ParvelQueries, NumericGettersReadWhatThePrinterHolds) {
    const struct {
        int32_t (*getter)(int32_t);
        const char* key;
        const char* value;
        const char* command;
        const char* parameter;
        const char* length;
    } rows[] = {
        {GetPQTY, "pqty", "250", "INFO", "PQTY", ""},
        {JmGetPQTY, "pqty", "7", "INFO", "PQTY", ""},
        {GetCounterL, "counter_life", "123", "MNT_RD", "COUNTER_LIFE", ""},
        {JmGetCounterL, "counter_life", "98765", "MNT_RD", "COUNTER_LIFE", ""},
        {GetCounterA, "counter_a", "45", "MNT_RD", "COUNTER_A", ""},
        {JmGetCounterB, "counter_b", "6", "MNT_RD", "COUNTER_B", ""},
        {GetResolutionH, "resolution_h", "300", "INFO", "RESOLUTION_H", ""},
        {JmGetResolutionV, "resolution_v", "600", "INFO", "RESOLUTION_V", ""},
        {GetFreeBuffer, "free_buffer", "3", "INFO", "FREE_PBUFFER", ""},
        {JmGetMediaCounter, "media_counter", "112", "INFO", "MQTY", ""},
        {GetMediaIdSetInfo, "media_id", "12", "MNT_RD", "MEDIA_ID_SET", "00000000"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.parameter) + " " + row.value);
        ASSERT_TRUE(quillet_set_setting(Port, row.key, row.value));
        EXPECT_EQ(row.getter(handle), std::stoi(row.value));
        const Received r = ReceivedCall(-1);
        EXPECT_EQ(r.controlCode, Receive);
        EXPECT_EQ(r.bytes, Head(row.command, row.parameter, row.length));
    }
}

TEST_F(ParvelQueries, StatusWordOfThePrintersCode) {
    const struct {
        const char* code;
        int32_t word;
    } rows[] = {
        {"0", 0x00010001},    {"1010", 0x00020020}, {"FU101", 0x00100008},
        {"FU4", INT32_MIN},   {"4", INT32_MIN},     {"2610", 0x00040200},
        {"1300", 0x00020002}, {"FU1", 0x00100001},  {"3000", 0x00080001},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        quillet_set_status(Port, row.code);
        EXPECT_EQ(JmGetStatus(handle), row.word);
        EXPECT_EQ(ReceivedCall(-1).bytes, Head("STATUS", "", ""));
    }
    quillet_fail_next(1);
    EXPECT_EQ(GetStatus(handle), INT32_MIN);
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
    const struct {
        int32_t (*getter)(int32_t, char*);
        std::string text;
        int32_t result;
        const char* command;
        const char* parameter;
        const char* length;
    } rows[] = {
        {GetFirmwVersion, "V1.23\r\n", 6, "INFO", "FVER", ""},
        {JmGetVersion, "V1.23\r\n", 6, "INFO", "FVER", ""},
        {GetMedia, "00301\r", 7, "INFO", "MEDIA", ""},
        {JmGetMediaLotNo, "MLABCDEFGHIJKLMNOP\r", 20, "INFO", "MLOT", ""},
        {GetSerialNo, "SN000042\r", 8, "INFO", "SERIAL_NUMBER", ""},
        {JmGetSensorInfo, sensors + "\r", 117, "INFO", "SENSOR", ""},
        {GetColorDataVersion, "KTD01 V2.00     ", 16, "TBL_RD", "Version", "00000000"},
        {JmGetColorDataChecksum, checksum, 8, "MNT_RD", "CTRLD_CHKSUM", "00000000"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.parameter);
        std::vector<char> out(PARVEL_TEXT_CAPACITY, '#');
        EXPECT_EQ(row.getter(handle, out.data()), row.result);
        EXPECT_EQ(std::string(out.data()), row.text);
        const Received r = ReceivedCall(-1);
        EXPECT_EQ(r.controlCode, Receive);
        EXPECT_EQ(r.bytes, Head(row.command, row.parameter, row.length));
    }
}

TEST_F(ParvelQueries, ColourOffsetOfThePrinter) {
    ASSERT_TRUE(quillet_set_setting(Port, "colour_offset", "1,246,3,4"));
    EXPECT_EQ(JmGetMediaColorOffset(handle), ((1 * 256 - 10) * 256 + 3) * 256 + 4);
    EXPECT_EQ(ReceivedCall(-1).bytes, Head("INFO", "MCOLOR", ""));
}

TEST_F(ParvelCommands, CountersClearAndModesSetOnThePrinter) {
    ASSERT_TRUE(quillet_set_setting(Port, "counter_a", "45"));
    ASSERT_TRUE(quillet_set_setting(Port, "counter_b", "46"));
    EXPECT_EQ(JmSetClearCounterA(handle), 1);
    EXPECT_EQ(ReceivedCall(-1).bytes,
              Head("MNT_WT", "COUNTER_CLEAR", "00000004") + std::string("CA\r\0", 4));
    EXPECT_EQ(Setting("counter_a"), "0");
    EXPECT_EQ(Setting("counter_b"), "46");
    EXPECT_EQ(SetClearCounterB(handle), 1);
    EXPECT_EQ(Setting("counter_b"), "0");

    EXPECT_EQ(SetCutterMode(handle, 1), 1);
    EXPECT_EQ(ReceivedCall(-2).bytes, Head("CNTRL", "CUTTER", "00000008"));
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
    EXPECT_EQ(ReceivedCall(-1).bytes, Head("TBL_CL", "", "00000000"));
    EXPECT_EQ(quillet_block_count(), 2);
}

TEST_F(ParvelCommands, FirmwareUpdateRunsThroughItsStates) {
    const std::string image = "S00600004844521B";
    // Outside the update mode the printer refuses the image when its head arrives.
    EXPECT_EQ(SetFirmwDataWrite(handle, image.data(), 16), -1);
    EXPECT_EQ(quillet_received_count(), 1);

    EXPECT_EQ(JmSetFirmwUpdateMode(handle), 1);
    EXPECT_EQ(ReceivedCall(-1).bytes, Head("FW_UPD", "FLASH_REWRITE", ""));
    EXPECT_EQ(GetStatus(handle), 0x00100001);
    EXPECT_EQ(JmSetFirmwDataWrite(handle, image.data(), 16), 1);
    EXPECT_EQ(ReceivedCall(-3).bytes, Head("FW_UPD", "FLASH_PROGRAM", "").substr(0, 24));
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
