// The sensor monitor's reading of a sensor record: its two conversion lists, its humidity table
// and the conversion of every slot.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/sensor_record.h"

using namespace SensorMonitor;

namespace {

// A record as the printer writes it: "Snn:ddd; " thirteen times, every reading 100 unless given.
std::string Record(const std::map<int, std::string>& readings = {}) {
    std::string record;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        char text[16];
        const auto given = readings.find(slot);
        std::snprintf(text, sizeof text, "S%02d:%3s; ", slot,
                      given == readings.end() ? "100" : given->second.c_str());
        record += text;
    }
    return record;
}

HumidTable Table() {
    HumidTable table;
    SetHumidTable1(table);
    SetHumidTable2(table);
    return table;
}

TEST(SensorRecord, ConversionListsHoldTheTellingEntries) {
    const struct {
        int r;
        const char* temperature;
        const char* humid;
    } rows[] = {
        {0, "-67.4 ", "5.0"},     {1, "-67.4 ", "5.0"},     {2, "-58.4 ", "5.0"},
        {49, "-0.5 ", "5.0"},     {50, "0.1 ", "5.0"},      {100, "23.0 ", "23.0"},
        {128, "34.8 ", "35.0"},   {200, "74.8 ", "75.0"},   {238, "129.8 ", "127.5"},
        {253, "269.9 ", "127.5"}, {254, "337.1 ", "127.5"}, {255, "337.1 ", "127.5"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(TmperatureTable()[row.r], row.temperature) << row.r;
        EXPECT_EQ(TmpTableHumid()[row.r], row.humid) << row.r;
    }
}

TEST(SensorRecord, EveryListEntryFollowsTheCurveAndItsForm) {
    const std::regex oneDecimalAndBlank("-?[0-9]+\\.[0-9] ");
    const std::regex oneDecimal("[0-9]+\\.[0-9]");
    double lastTemperature = -1e9, lastHumid = 0;
    for (int r = 0; r < 256; ++r) {
        const std::string& t = TmperatureTable()[r];
        const std::string& h = TmpTableHumid()[r];
        ASSERT_TRUE(std::regex_match(t, oneDecimalAndBlank)) << r << " '" << t << "'";
        ASSERT_TRUE(std::regex_match(h, oneDecimal)) << r << " '" << h << "'";
        const double temperature = LeadingNumber(t), humid = LeadingNumber(h);
        // The curve rises with the reading, the two ends repeat their neighbours.
        if (r == 0 || r == 255) {
            EXPECT_EQ(t, TmperatureTable()[r == 0 ? 1 : 254]);
        } else if (r > 1) {
            EXPECT_GT(temperature, lastTemperature) << r;
        }
        EXPECT_DOUBLE_EQ(humid * 2, std::round(humid * 2)) << r << " is a multiple of 0.5";
        EXPECT_GE(humid, 5.0) << r;
        EXPECT_LE(humid, 127.5) << r;
        EXPECT_GE(humid, lastHumid) << r;
        // Both lists read the same curve: the half-degree step is the nearest to the tenth.
        if (temperature > 5.25 && temperature < 127.25) {
            EXPECT_LE(std::abs(humid - temperature), 0.3) << r;
        }
        lastTemperature = temperature;
        lastHumid = humid;
    }
}

TEST(SensorRecord, HumidTableHoldsTheGivenRowsAndItsShape) {
    const HumidTable table = Table();
    const std::map<int, std::string> given = {
        {10, "10 10 10 10 10 10 10 10 10 10 10 10 10 11 11 11 11 11 11 10 10 10 10 10"},
        {20, "10 10 10 11 12 13 14 15 15 15 14 14 14 14 14 14 14 14 13 13 13 12 12 12"},
        {40, "21 21 21 21 21 21 21 21 21 21 20 20 20 20 20 20 20 20 19 19 19 18 18 18"},
        {60, "28 28 28 28 29 29 29 29 29 29 29 28 28 28 28 28 27 27 27 27 26 26 26 26"},
        {80, "38 38 38 38 39 39 39 39 39 39 39 39 39 38 38 38 38 38 38 38 38 38 37 37"},
        {100, "54 54 54 54 54 54 54 54 54 54 54 54 54 54 53 53 53 53 53 53 54 54 54 54"},
        {115, "70 70 70 69 69 69 69 69 69 68 68 68 68 68 68 68 68 68 67 68 68 68 68 68"},
        {130, "85 85 85 85 85 84 84 84 83 84 84 84 84 84 83 83 83 83 82 83 83 83 83 83"},
    };
    for (const auto& [h, text] : given) {
        std::string row;
        for (int c = 0; c < 24; ++c) row += (c ? " " : "") + std::to_string(table(c, h));
        EXPECT_EQ(row, text) << "row " << h;
    }
    const std::map<int, int> uniform = {{92, 47}, {97, 51}, {98, 52}, {137, 90}};
    for (const auto& [h, value] : uniform)
        for (int c = 0; c < 24; ++c) EXPECT_EQ(table(c, h), value) << c << ", " << h;

    for (int h = 10; h <= 137; ++h) {
        for (int c = 0; c < 24; ++c) {
            EXPECT_GE(table(c, h), 10) << c << ", " << h;
            EXPECT_LE(table(c, h), 90) << c << ", " << h;
            if (c > 0) {
                EXPECT_LE(std::abs(table(c, h) - table(c - 1, h)), 2) << c << ", " << h;
            }
            if (h > 10) {
                EXPECT_GE(table(c, h), table(c, h - 1)) << c << ", " << h;
                EXPECT_LE(table(c, h) - table(c, h - 1), 2) << c << ", " << h;
            }
        }
    }
    // The layout: element (c, h) is byte (h - 10) * 24 + c; each operation writes its columns,
    // column 12 with the same values.
    EXPECT_EQ(table.bytes.size(), 3072u);
    EXPECT_EQ(table.bytes[(20 - 10) * 24 + 3], 11);
    HumidTable first, second;
    SetHumidTable1(first);
    SetHumidTable2(second);
    for (int h = 10; h <= 137; ++h) {
        EXPECT_EQ(first(12, h), second(12, h)) << h;
        EXPECT_EQ(first(13, h), 0) << h;
        EXPECT_EQ(second(11, h), 0) << h;
    }
}

TEST(SensorRecord, EachSlotIsConvertedAsTheMonitorShowsIt) {
    const HumidTable table = Table();
    const struct {
        std::map<int, std::string> readings;
        Slot slot;
        const char* shown;
    } cases[] = {
        {{{1, "128"}}, HeadTemperature, "34.80"},
        {{{1, "0"}}, HeadTemperature, "-67.40"},
        {{{1, "1"}}, HeadTemperature, "-67.40"},
        {{{2, "254"}}, MediaTemperature, "337.10"},
        {{{2, "255"}}, MediaTemperature, "337.10"},
        {{{1, "  5"}}, HeadTemperature, "-45.20"},
        {{{1, "1.5"}}, HeadTemperature, "-58.40"},  // the index rounded halves to even: 2
        {{{12, "100"}}, HeadVoltage, "34.14"},
        {{{3, "255"}}, PaperMark, "3.30"},
        {{{5, "255"}}, RibbonC, "5.50"},
        {{{12, "255"}}, HeadVoltage, "40.56"},
        {{{3, "0"}}, PaperMark, "0.00"},
        {{{9, "0"}}, PaperOut, "0.00"},
        {{{12, "0"}}, HeadVoltage, "30.00"},
        {{{6, "51"}}, RibbonR, "1.10"},
        {{{7, "102"}}, PaperSize, "2.20"},
        {{{10, "25"}}, PaperEnd, "0.54"},
        {{{4, "17"}}, SensorVoltage4, "0.37"},
        {{{8, "034"}}, SensorVoltage8, "0.73"},
        {{{11, "3x"}}, SensorVoltage11, "0.06"},
    };
    for (const auto& c : cases) {
        SensorValues held;
        ASSERT_TRUE(ParseSensorData(Record(c.readings), table, held)) << c.shown;
        EXPECT_EQ(FormatDecimals(held.Value(c.slot), 2), c.shown) << "slot " << c.slot;
    }
}

TEST(SensorRecord, HumidityComesFromTheColumnOfSlotOneAndTheRowOfSlotThirteen) {
    const HumidTable table = Table();
    const struct {
        const char* slot1;
        const char* slot13;
        int humidity;
        int humidRaw;
    } cases[] = {
        {"200", "92", 47, 92},  // 75.0 degrees: t capped at 46, column 23
        {"100", "5", 10, 10},   // 23.0 degrees: column 11, the reading raised to row 10
        {"100", "200", 90, 137}, {"100", "60", 28, 60},  // column 11 of row 60
        {"128", "130", 83, 130},                         // 35.0 degrees: column 17
        {"200", "20", 12, 20},  // column 23 again, where the table's rows differ
        {"0", "20", 10, 20},    // 5.0 degrees: column 2
    };
    for (const auto& c : cases) {
        SensorValues held;
        ASSERT_TRUE(ParseSensorData(Record({{1, c.slot1}, {13, c.slot13}}), table, held));
        EXPECT_EQ(held.humidity, c.humidity) << c.slot1 << " " << c.slot13;
        EXPECT_EQ(held.HumidRaw, c.humidRaw) << c.slot1 << " " << c.slot13;
        EXPECT_EQ(held.HumidTempRaw, std::stoi(c.slot1));
        EXPECT_EQ(FormatDecimals(static_cast<double>(held.humidity), 1),
                  std::to_string(c.humidity) + ".0");
    }
}

TEST(SensorRecord, AShortRecordReadsItsMissingSlotsAsZero) {
    const HumidTable table = Table();
    const std::string whole = Record({{1, "128"}, {12, "255"}, {13, "137"}});
    ASSERT_EQ(whole.size(), 117u);
    const struct {
        std::size_t length;
        const char* head;
        const char* paperEnd;
        const char* headVoltage;
        int humidity;  // row 10 of the column slot 1 gives
    } cases[] = {
        {0, "-67.40", "0.00", "30.00", table(2, 10)},
        {4, "-67.40", "0.00", "30.00", table(2, 10)},
        {7, "34.80", "0.00", "30.00", table(17, 10)},
        {112, "34.80", "2.16", "40.56", table(17, 10)},
    };
    for (const auto& c : cases) {
        SensorValues held;
        ASSERT_TRUE(ParseSensorData(whole.substr(0, c.length), table, held)) << c.length;
        EXPECT_EQ(FormatDecimals(held.Value(HeadTemperature), 2), c.head) << c.length;
        EXPECT_EQ(FormatDecimals(held.Value(MediaTemperature), 2),
                  c.length < 16 ? "-67.40" : "23.00")
            << c.length;
        EXPECT_EQ(FormatDecimals(held.Value(PaperEnd), 2), c.paperEnd) << c.length;
        EXPECT_EQ(FormatDecimals(held.Value(HeadVoltage), 2), c.headVoltage) << c.length;
        EXPECT_EQ(held.HumidRaw, 10) << c.length;
        EXPECT_EQ(held.humidity, c.humidity) << c.length;
    }
    // Slot 13's digits end at character 115: cut there, the reading is whole.
    SensorValues held;
    ASSERT_TRUE(ParseSensorData(whole.substr(0, 115), table, held));
    EXPECT_EQ(held.HumidRaw, 137);
    ASSERT_TRUE(ParseSensorData(whole.substr(0, 114), table, held));
    EXPECT_EQ(held.HumidRaw, 13) << "the two digits that came";
}

TEST(SensorRecord, AReadingOutsideTheScaleStoresNothing) {
    const HumidTable table = Table();
    SensorValues before;
    ASSERT_TRUE(ParseSensorData(Record({{1, "128"}, {13, "92"}}), table, before));
    for (const auto& [slot, reading] :
         std::vector<std::pair<int, std::string>>{{1, "256"},
                                                  {4, "999"},
                                                  {7, "-1"},
                                                  {13, "-99"},
                                                  {12, "2e3"},
                                                  {2, "1e3"},
                                                  // Below the scale as read, though it rounds to 0.
                                                  {3, "-.4"},
                                                  {12, "-.4"},
                                                  {5, "-.1"}}) {
        SensorValues held = before;
        EXPECT_FALSE(ParseSensorData(Record({{slot, reading}}), table, held)) << slot;
        EXPECT_EQ(held.values, before.values) << slot;
        EXPECT_EQ(held.humidity, before.humidity) << slot;
        EXPECT_EQ(held.HumidRaw, 92) << slot;
        EXPECT_EQ(held.HumidTempRaw, 128) << slot;
    }
    EXPECT_THROW(ConvertTemperature(Record({{1, "-.4"}}), HeadTemperature), NumberOverflow);
    // The ends of the scale and a reading within it that is not whole are readings.
    SensorValues held;
    EXPECT_TRUE(
        ParseSensorData(Record({{1, "255"}, {2, "-0"}, {3, "0.4"}, {12, "-0"}}), table, held));
    EXPECT_EQ(FormatDecimals(held.Value(HeadVoltage), 2), "30.00");
}

}  // namespace
