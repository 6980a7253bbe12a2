// The emulated printer's information replies and maintenance settings.

#include <gtest/gtest.h>

#include <regex>

#include "tests/platform/quillet/printer_link.h"

namespace quillet_test {
namespace {

TEST_F(Emulator, AnswersEveryInformationRequestAsAPrinterDoes) {
    struct Row {
        const char* command;
        const char* parameter;
        std::string reply;  // the factory answer
    };
    const std::vector<Row> rows = {
        {"INFO", "FVER", "EMU V1.20.07\r\n"},
        {"INFO", "MEDIA", "MT00301\r"},
        {"INFO", "PQTY", "PQTY350\r"},
        {"INFO", "RESOLUTION_H", "RH300\r"},
        {"INFO", "RESOLUTION_V", "RV300\r"},
        {"INFO", "FREE_PBUFFER", "FPB4\r"},
        {"INFO", "MLOT", "MLRB2611A0417K0093\r"},
        {"INFO", "MCOLOR", std::string("MC\x0A\x0C\x08\x0A\r")},
        {"INFO", "MQTY", "MQTY250\r"},
        {"INFO", "SERIAL_NUMBER", "RN12-0004711\r"},
        {"MNT_RD", "COUNTER_LIFE", "CL12846\r"},
        {"MNT_RD", "COUNTER_A", "CA1523\r"},
        {"MNT_RD", "COUNTER_B", "CB87\r"},
        {"MNT_RD", "MEDIA_ID_SET", "MDID3\r"},
        {"MNT_RD", "HEAD_RANK", "HR4120\r"},
        {"MNT_RD", "HEAT_SETTING", "HS012\r"},
        {"MNT_RD", "PRINT_POS_ADJUST", "PPA+012\r"},
        {"MNT_RD", "CUT_POS_ADJUST", "CPA-006\r"},
    };
    for (const auto& r : rows) EXPECT_EQ(Ask(r.command, r.parameter), r.reply) << r.parameter;

    // What the settings hold is what the printer answers.
    struct Scripted {
        const char* key;
        const char* value;
        const char* parameter;
        std::string reply;
    };
    const std::vector<Scripted> scripted = {
        {"media", "310", "MEDIA", "MT00310\r"},
        {"head_rank", "3600", "HEAD_RANK", "HR3600\r"},
        {"heat_setting", "0", "HEAT_SETTING", "HS000\r"},
        {"print_pos", "-118", "PRINT_POS_ADJUST", "PPA-118\r"},
        {"cut_pos", "0", "CUT_POS_ADJUST", "CPA+000\r"},
        {"colour_offset", "0,255,10,128", "MCOLOR", std::string("MC\x00\xFF\x0A\x80\r", 7)},
        {"counter_life", "0", "COUNTER_LIFE", "CL0\r"},
    };
    for (const auto& s : scripted) {
        ASSERT_EQ(quillet_set_setting(kPort, s.key, s.value), 1) << s.key;
        EXPECT_EQ(Setting(s.key), s.value);
        const bool info =
            std::string(s.parameter) == "MEDIA" || std::string(s.parameter) == "MCOLOR";
        EXPECT_EQ(Ask(info ? "INFO" : "MNT_RD", s.parameter), s.reply) << s.key;
    }
    for (const auto& [key, value] :
         std::vector<std::pair<const char*, const char*>>{{"media", "3x"},
                                                          {"colour_offset", "1,2,3"},
                                                          {"colour_offset", "1,2,3,256"},
                                                          {"update_mode", "2"},
                                                          {"no_such_key", "1"}}) {
        EXPECT_EQ(quillet_set_setting(kPort, key, value), 0) << key << "=" << value;
    }
    EXPECT_EQ(Setting("media"), "310");  // a refused value changes nothing
    EXPECT_EQ(Setting("no_such_key"), "<unknown>");

    // A scripted reply replaces the printer's own until it is taken back.
    const unsigned char odd[] = {'C', 'L', '1', '2', '3'};
    quillet_set_reply(kPort, "MNT_RD", "COUNTER_A", odd, 5);
    EXPECT_EQ(Ask("MNT_RD", "COUNTER_A"), "CL123");
    quillet_set_reply(kPort, "MNT_RD", "COUNTER_A", nullptr, 0);
    EXPECT_EQ(Ask("MNT_RD", "COUNTER_A"), "CA1523\r");
}

TEST_F(Emulator, GivesASensorRecordThatDriftsOnlySlowly) {
    const std::regex record(R"((S(\d\d):(-?\d{2,3}); ){13}\r)");
    const std::string first = Ask("INFO", "SENSOR");
    ASSERT_EQ(first.size(), 118u);
    EXPECT_TRUE(std::regex_match(first, record)) << first;
    for (int slot = 1; slot <= 13; ++slot) {
        const int raw = std::stoi(first.substr(9 * slot - 5, 3));
        EXPECT_TRUE(raw >= 0 && raw <= 255) << slot;
        EXPECT_EQ(std::stoi(first.substr(9 * slot - 8, 2)), slot);
    }
    // Within a moment no reading moves by more than one step.
    const std::string second = Ask("INFO", "SENSOR");
    for (int slot = 1; slot <= 13; ++slot)
        EXPECT_LE(std::abs(std::stoi(first.substr(9 * slot - 5, 3)) -
                           std::stoi(second.substr(9 * slot - 5, 3))),
                  1);

    EXPECT_EQ(quillet_set_sensor(kPort, 1, 128), 1);
    EXPECT_EQ(quillet_set_sensor(kPort, 13, 200), 1);
    EXPECT_EQ(quillet_set_sensor(kPort, 12, -5), 1);
    EXPECT_EQ(quillet_set_sensor(kPort, 14, 1), 0);
    EXPECT_EQ(quillet_set_sensor(kPort, 0, 1), 0);
    const std::string pinned = Ask("INFO", "SENSOR");
    EXPECT_EQ(pinned.substr(0, 9), "S01:128; ");
    EXPECT_EQ(pinned.substr(99, 9), "S12:-05; ");
    EXPECT_EQ(pinned.substr(108, 10), "S13:200; \r");
    quillet_set_sensor(kPort, 1, 5000);  // drifts again
    EXPECT_NE(Ask("INFO", "SENSOR").substr(0, 9), "S01:128; ");
}

TEST_F(Emulator, TakesMaintenanceWritesOnlyInTheirOwnForm) {
    using std::string;
    struct Row {
        const char* parameter;
        string data;
        bool taken;
        const char* key;
        string value;
    };
    const std::vector<Row> rows = {
        {"MEDIA", string("MT00210\r"), true, "media", "210"},
        {"MEDIA", string("MT0021A\r"), false, "media", "210"},
        {"HEAD_RANK", string("HR4000\r\0", 8), true, "head_rank", "4000"},
        {"HEAD_RANK", string("HR-400\r\0", 8), false, "head_rank", "4000"},
        {"HEAT_SETTING", string("HS007\r\0\0", 8), true, "heat_setting", "7"},
        {"HEAT_SETTING", string("HS021\r\0\0", 8), false, "heat_setting", "7"},
        {"RESOLUTION", string("600\r\0\0\0\0", 8), true, "resolution_v", "600"},
        {"RESOLUTION", string("600\0\0\0\0\0", 8), false, "resolution_v", "600"},
        {"PRINT_POS_ADJUST", string("PPA+012\r"), true, "print_pos", "12"},
        {"PRINT_POS_ADJUST", string("PPA-012\r"), true, "print_pos", "-12"},
        {"PRINT_POS_ADJUST", string("PPA+1234"), false, "print_pos", "-12"},
        {"CUT_POS_ADJUST", string("CPA-005\r"), true, "cut_pos", "-5"},
        {"CUT_POS_ADJUST", string("PPA-005\r"), false, "cut_pos", "-5"},
        {"PRINTER_ID_SET", string("SN-0000042\r\0", 12) + string(20, 'x'), true, "serial",
         "SN-0000042"},
        {"PRINTER_ID_SET", string(32, 'Q'), true, "serial", string(32, 'Q')},
        {"PRINTER_ID_SET", string("\r\0", 2) + string(30, ' '), false, "serial", string(32, 'Q')},
        {"COUNTER_CLEAR", string("CB\r\0", 4), true, "counter_b", "0"},
        {"COUNTER_CLEAR", string("CL\r\0", 4), false, "counter_life", "12846"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(string(r.parameter) + " " + r.data.substr(0, 7));
        EXPECT_EQ(Send(Block("MNT_WT", r.parameter, static_cast<long>(r.data.size()), Raw(r.data))),
                  r.taken);
        EXPECT_EQ(Setting(r.key), r.value);
    }
    EXPECT_EQ(Ask("INFO", "SERIAL_NUMBER"), string(32, 'Q') + "\r");
    EXPECT_EQ(Ask("MNT_RD", "COUNTER_B"), "CB0\r");
    EXPECT_EQ(Ask("MNT_RD", "COUNTER_A"), "CA1523\r");  // only the counter named is cleared

    for (const auto& [parameter, key] :
         {std::pair{"CUTTER", "cutter"}, {"RETENTION", "retention"}}) {
        EXPECT_TRUE(Send(Block("CNTRL", parameter, 8, Raw("00000002"))));
        EXPECT_EQ(Setting(key), "2");
        EXPECT_FALSE(Send(Block("CNTRL", parameter, 8, Raw("0000000x"))));
        EXPECT_EQ(Setting(key), "2");
    }
}

TEST_F(Emulator, UpdatesItsFirmwareThroughTheUpdateMode) {
    // An empty image: taken, but the printer reports a data error and stays in the mode.
    ASSERT_TRUE(Send(Block("FW_UPD", "FLASH_REWRITE", -1)));
    EXPECT_EQ(Ask("STATUS", ""), "FU1\r");
    ASSERT_TRUE(Send(Block("FW_UPD", "FLASH_PROGRAM", 0)));
    ASSERT_TRUE(Send(Bytes()));
    EXPECT_EQ(Ask("STATUS", ""), "FU101\r");
    EXPECT_EQ(Setting("update_mode"), "1");
    EXPECT_EQ(Setting("firmware_image_length"), "-1");

    const Bytes image(104, 0x5A);
    ASSERT_TRUE(Send(Block("FW_UPD", "FLASH_PROGRAM", 104)));
    ASSERT_TRUE(Send(image));
    EXPECT_EQ(Ask("STATUS", ""), "0\r");
    EXPECT_EQ(Setting("update_mode"), "0");
    EXPECT_EQ(Setting("firmware_image_length"), "104");
    EXPECT_EQ(Setting("firmware_image_crc").size(), 8u);
    // Out of the mode again: another image is refused at its header.
    EXPECT_FALSE(Send(Block("FW_UPD", "FLASH_PROGRAM", 104)));
}

}  // namespace
}  // namespace quillet_test
