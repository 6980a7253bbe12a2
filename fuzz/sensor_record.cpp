// The sensor monitor's reading of a sensor record, on any text: a slot reads the leading number of
// its three digit characters, or 0 where the record is too short; a record is taken whole when
// every slot reads 0..255 and else not at all; what is taken follows the record's conversions
// (temperatures from the lists, voltages in their ranges, a humidity from the table).
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/maintenance_commands.h"
#include "core/numbers.h"
#include "core/parvel_link.h"
#include "core/sensor_record.h"
#include "fuzz/fuzz_target.h"
#include "platform/quillet/quillet_control.h"

using namespace SensorMonitor;

namespace {

const HumidTable& Table() {
    static const HumidTable table = [] {
        HumidTable t;
        SetHumidTable1(t);
        SetHumidTable2(t);
        return t;
    }();
    return table;
}

bool Same(const SensorValues& a, const SensorValues& b) {
    return std::memcmp(a.values.data(), b.values.data(), sizeof a.values) == 0 &&
           a.humidity == b.humidity && a.HumidRaw == b.HumidRaw && a.HumidTempRaw == b.HumidTempRaw;
}

// A reading within 0..255 as it came, before any rounding.
bool Convertible(double number) {
    return number >= 0 && number <= 255;
}

}  // namespace

// Records as the emulated printer sends them: drifting, pinned at the ends of the scale, the
// readings the sensor monitor's worked cases use, and cut short.
std::vector<std::string> FuzzSeeds() {
    PortHandle = Parvel::JmInitialize(u"EMU1:");
    quillet_reset();
    std::vector<std::string> seeds{Module2::ReadSensorInfo()};
    const int pinned[][13] = {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                              {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255},
                              {200, 100, 255, 0, 255, 51, 102, 0, 0, 255, 0, 255, 92},
                              {128, 1, 254, 3, 4, 5, 6, 7, 8, 9, 10, 100, 200}};
    for (const auto& readings : pinned) {
        for (int slot = 1; slot <= SlotCount; ++slot)
            quillet_set_sensor(nullptr, slot, readings[slot - 1]);
        seeds.push_back(Module2::ReadSensorInfo());
    }
    seeds.push_back(seeds.back().substr(0, 60));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view record(reinterpret_cast<const char*>(data), size);

    bool whole = true;
    for (int16_t slot = 1; slot <= SlotCount; ++slot) {
        const double n = SlotNumber(record, slot);
        const std::size_t from = static_cast<std::size_t>(SlotWidth * slot - 5);
        if (from >= record.size()) {
            FUZZ_CHECK(n == 0);
        } else {
            FUZZ_CHECK(n == LeadingNumber(record.substr(from, 3)));
        }
        FUZZ_CHECK(std::isfinite(n));
        whole = whole && Convertible(n);
    }
    for (int16_t slot : {int16_t{0}, int16_t{-1}, int16_t{-32768}})
        FUZZ_CHECK(SlotNumber(record, slot) == 0);

    // Filled with what no record gives, so that a refused one is seen to leave it.
    SensorValues held;
    held.values.fill(-999.f);
    held.humidity = held.HumidRaw = held.HumidTempRaw = 0xA5;
    const SensorValues before = held;
    const bool taken = ParseSensorData(record, Table(), held);
    FUZZ_CHECK(taken == whole);
    if (!taken) {
        FUZZ_CHECK(Same(held, before));
        // The conversion that has no result says so, and only that one.
        for (int16_t slot = 1; slot <= 2; ++slot) {
            if (Convertible(SlotNumber(record, slot))) continue;
            try {
                ConvertTemperature(record, slot);
                FuzzFinding("a reading outside 0..255 converted to a temperature");
            } catch (const NumberOverflow&) {
            }
        }
        return 0;
    }

    // Temperatures are entries of the list, between its ends.
    for (int16_t slot : {HeadTemperature, MediaTemperature}) {
        const float t = held.Value(static_cast<Slot>(slot));
        const uint8_t raw = ToByte(SlotNumber(record, slot));
        FUZZ_CHECK(t == static_cast<float>(LeadingNumber(TmperatureTable()[raw])));
        FUZZ_CHECK(t >= -67.4f && t <= 337.1f);
    }
    // Voltages lie in the ranges their readings span (0..3.3, 0..5.5, 30..40.56 V).
    const auto within = [](float v, double perReading, double offset) {
        return v >= offset - 1e-4 && v <= offset + 255 * perReading + 1e-4;
    };
    FUZZ_CHECK(within(held.Value(PaperMark), 3.3 / 255, 0));
    for (int16_t slot = SensorVoltage4; slot <= SensorVoltage11; ++slot)
        FUZZ_CHECK(within(held.Value(static_cast<Slot>(slot)), 1.1 / 51, 0));
    FUZZ_CHECK(within(held.Value(HeadVoltage), 3.3 / 255 * 32 / 10, 30));
    // The humidity is an entry of the table, found by the two readings kept.
    FUZZ_CHECK(held.HumidTempRaw == ToByte(SlotNumber(record, HeadTemperature)));
    FUZZ_CHECK(held.HumidRaw >= HumidTable::FirstRow && held.HumidRaw <= HumidTable::LastRow);
    FUZZ_CHECK(held.humidity >= 10 && held.humidity <= 90);
    // The same record reads the same again.
    SensorValues again;
    FUZZ_CHECK(ParseSensorData(record, Table(), again) && Same(again, held));
    return 0;
}
