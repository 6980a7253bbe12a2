#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// How the sensor monitor reads the printer's sensor record: thirteen slots of nine characters,
// each holding a raw reading 0..255 in its 5th to 7th character, turned into temperatures,
// voltages and the relative humidity. Everything here is the window's own data and arithmetic,
// kept apart from the window so that it can be checked without one.
namespace SensorMonitor {

// The slots of the record, numbered as the record numbers them.
enum Slot : int16_t {
    HeadTemperature = 1,
    MediaTemperature = 2,
    PaperMark = 3,
    SensorVoltage4 = 4,
    RibbonC = 5,
    RibbonR = 6,
    PaperSize = 7,
    SensorVoltage8 = 8,
    PaperOut = 9,
    PaperEnd = 10,
    SensorVoltage11 = 11,
    HeadVoltage = 12,
    HumidityReading = 13,
};
inline constexpr int SlotCount = 13;
inline constexpr int SlotWidth = 9;

// The two conversion lists, indexed by the raw reading: the temperature in °C with one decimal and
// a blank ("-67.4 ") for the head and media temperatures, and the temperature in steps of 0.5,
// limited to 5.0..127.5 ("27.5"), that picks the humidity column.
using ConversionList = std::array<std::string, 256>;
const ConversionList& TmperatureTable();
const ConversionList& TmpTableHumid();

// Humidity in % by temperature column c (0..23, two whole degrees a column) and humidity reading h
// (10..137); element (c, h) is byte (h - 10) * 24 + c.
struct HumidTable {
    static constexpr int Columns = 24;
    static constexpr int FirstRow = 10;
    static constexpr int LastRow = 137;
    std::array<uint8_t, Columns*(LastRow - FirstRow + 1)> bytes{};

    uint8_t operator()(int c, int h) const {
        return bytes[static_cast<std::size_t>((h - FirstRow) * Columns + c)];
    }
};
// Each writes its columns of the table: 0 to 12, and 12 to 23.
void SetHumidTable1(HumidTable& table);
void SetHumidTable2(HumidTable& table);

// The leading number of the slot's three digit characters; 0 where the record is too short.
double SlotNumber(std::string_view record, int16_t slot);

// The slot's conversions, each a 32-bit float. The temperature's list index is the reading rounded
// halves to even; a reading outside 0..255 as it came, before rounding, has none (NumberOverflow).
float ConvertTemperature(std::string_view record, int16_t slot);
float ConvertMarkVoltage(std::string_view record, int16_t slot);
float ConvertSensorVoltage(std::string_view record, int16_t slot);
float ConvertHeadVoltage(std::string_view record, int16_t slot);

// What the monitor holds of the last record.
struct SensorValues {
    std::array<float, 12> values{};  // slots 1 to 12, converted
    uint8_t humidity = 0;            // %
    uint8_t HumidRaw = 0;            // slot 13 limited to 10..137
    uint8_t HumidTempRaw = 0;        // slot 1 as used for the humidity

    float Value(Slot slot) const { return values[static_cast<std::size_t>(slot - 1)]; }
};

// The humidity from slots 1 and 13; sets HumidTempRaw and HumidRaw on the way.
float ConvertHumidity(std::string_view record, const HumidTable& table, SensorValues& held);

// Converts every slot of the record into `held`. A slot whose reading lies outside 0..255 has no
// conversion: then nothing is stored and the result is false, as for a record that did not come.
bool ParseSensorData(std::string_view record, const HumidTable& table, SensorValues& held);

}  // namespace SensorMonitor
