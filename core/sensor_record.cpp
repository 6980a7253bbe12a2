#include "core/sensor_record.h"

#include <algorithm>
#include <cmath>

#include "core/errors.h"
#include "core/numbers.h"

namespace SensorMonitor {

namespace {

// The thermistor curve of the head and media sensors, for a reading 1..254: its resistance in
// kilo-ohms and from that the temperature in °C.
double CurveTemperature(int r) {
    const double resistance = 6.98 * (255 - r) / r;
    return 1 / (1.0 / 298 + std::log(resistance / 10) / 3435) - 273;
}

// The two ends of the scale read as the nearest reading the curve holds.
double ListTemperature(int r) {
    return CurveTemperature(std::clamp(r, 1, 254));
}

// The reading as it came, before any rounding: "-.4" is no reading of the scale, though it rounds
// to 0, and the voltages are taken from it unrounded.
bool Convertible(double number) {
    return number >= 0 && number <= 255;
}

}  // namespace

const ConversionList& TmperatureTable() {
    static const ConversionList list = [] {
        ConversionList entries;
        for (int r = 0; r < 256; ++r) entries[r] = FormatDecimals(ListTemperature(r), 1) + " ";
        return entries;
    }();
    return list;
}

const ConversionList& TmpTableHumid() {
    static const ConversionList list = [] {
        ConversionList entries;
        for (int r = 0; r < 256; ++r) {
            const double halves = std::round(ListTemperature(r) * 2) / 2;
            entries[r] = FormatDecimals(std::clamp(halves, 5.0, 127.5), 1);
        }
        entries[0] = "5.0";
        entries[255] = "127.5";
        return entries;
    }();
    return list;
}

double SlotNumber(std::string_view record, int16_t slot) {
    const std::size_t from = static_cast<std::size_t>(SlotWidth * slot - 5);
    if (slot < 1 || from >= record.size()) return 0;
    return LeadingNumber(record.substr(from, 3));
}

float ConvertTemperature(std::string_view record, int16_t slot) {
    const double reading = SlotNumber(record, slot);
    if (!Convertible(reading))
        throw NumberOverflow("a reading of " + FormatDecimals(reading, 2) + " is off the scale");
    const uint8_t raw = ToByte(reading);
    return static_cast<float>(LeadingNumber(TmperatureTable()[raw]));
}

float ConvertMarkVoltage(std::string_view record, int16_t slot) {
    return static_cast<float>(SlotNumber(record, slot) * 3.3 / 255);
}

float ConvertSensorVoltage(std::string_view record, int16_t slot) {
    return static_cast<float>(SlotNumber(record, slot) * 1.1 / 51);
}

float ConvertHeadVoltage(std::string_view record, int16_t slot) {
    return static_cast<float>(SlotNumber(record, slot) * 3.3 / 255 * 32 / 10 + 30);
}

float ConvertHumidity(std::string_view record, const HumidTable& table, SensorValues& held) {
    held.HumidTempRaw = ToByte(SlotNumber(record, HeadTemperature));
    const auto degrees =
        static_cast<uint8_t>(std::trunc(LeadingNumber(TmpTableHumid()[held.HumidTempRaw])));
    const uint8_t t = std::min<uint8_t>(degrees, 46);
    held.HumidRaw = std::clamp<uint8_t>(ToByte(SlotNumber(record, HumidityReading)),
                                        HumidTable::FirstRow, HumidTable::LastRow);
    return table(t / 2, held.HumidRaw);
}

bool ParseSensorData(std::string_view record, const HumidTable& table, SensorValues& held) {
    for (int16_t slot = 1; slot <= SlotCount; ++slot)
        if (!Convertible(SlotNumber(record, slot))) return false;

    using Conversion = float (*)(std::string_view, int16_t);
    static constexpr Conversion conversions[12] = {
        ConvertTemperature,   ConvertTemperature,   ConvertMarkVoltage,   ConvertSensorVoltage,
        ConvertSensorVoltage, ConvertSensorVoltage, ConvertSensorVoltage, ConvertSensorVoltage,
        ConvertSensorVoltage, ConvertSensorVoltage, ConvertSensorVoltage, ConvertHeadVoltage};
    for (int16_t slot = 1; slot <= 12; ++slot)
        held.values[static_cast<std::size_t>(slot - 1)] = conversions[slot - 1](record, slot);
    held.humidity = static_cast<uint8_t>(ConvertHumidity(record, table, held));
    return true;
}

}  // namespace SensorMonitor
