// The emulated printer's factory state and its settings by key, as the control API sets
// and reads them.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/quillet/emulated_printer.h"

namespace quillet {
namespace {

// The printer's numbers by setting key, with their factory values, in the order of Number.
struct NumberSetting {
    const char* key;
    int factory;
};
constexpr NumberSetting kNumbers[] = {
    {"media", 301},         {"pqty", 350},         {"counter_life", 12846}, {"counter_a", 1523},
    {"counter_b", 87},      {"resolution_h", 300}, {"resolution_v", 300},   {"free_buffer", 4},
    {"media_counter", 250}, {"media_id", 3},       {"head_rank", 4120},     {"heat_setting", 12},
    {"print_pos", 12},      {"cut_pos", -6},       {"cutter", 0},           {"retention", 0}};
static_assert(std::size(kNumbers) == static_cast<size_t>(Number::Count));

// The number of a key, or Number::Count for a key that is no number.
Number NumberOf(const std::string& key) {
    for (size_t i = 0; i < std::size(kNumbers); ++i)
        if (key == kNumbers[i].key) return static_cast<Number>(i);
    return Number::Count;
}

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

std::string Hex8(uint32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(value));
    return buf;
}

}  // namespace

EmulatedPrinter::EmulatedPrinter() : tables_(FactoryTables()) {
    for (size_t i = 0; i < std::size(kNumbers); ++i) settings_.numbers[i] = kNumbers[i].factory;
    settings_.version = FactoryVersion();
    pinnedSensor_.fill(INT_MIN);  // every slot drifts
}

bool EmulatedPrinter::SetSetting(const std::string& key, const std::string& value) {
    int v = 0;
    if (const Number n = NumberOf(key); n != Number::Count) {
        if (!ParseInt(value, v)) return false;
        At(n) = v;
        return true;
    }
    if (key == "status") {
        settings_.status = value;
    } else if (key == "firmware") {
        settings_.firmware = value;
    } else if (key == "media_lot") {
        settings_.mediaLot = value;
    } else if (key == "serial") {
        settings_.serial = value;
    } else if (key == "version") {
        settings_.version.assign(value.begin(), value.end());
    } else if (key == "update_mode") {
        if (value != "0" && value != "1") return false;
        settings_.updateMode = value == "1";
    } else if (key == "colour_offset") {
        std::array<uint8_t, 4> bytes{};
        size_t start = 0;
        for (size_t i = 0; i < 4; ++i) {
            const size_t comma = value.find(',', start);
            if ((i < 3) == (comma == std::string::npos)) return false;
            const std::string part = value.substr(start, comma - start);
            if (!ParseInt(part, v) || v < 0 || v > 255) return false;
            bytes[i] = static_cast<uint8_t>(v);
            start = comma + 1;
        }
        settings_.colourOffset = bytes;
    } else {
        return false;
    }
    return true;
}

bool EmulatedPrinter::GetSetting(const std::string& key, std::string& value) const {
    if (const Number n = NumberOf(key); n != Number::Count) {
        value = std::to_string(At(n));
    } else if (key == "status") {
        value = settings_.status;
    } else if (key == "firmware") {
        value = settings_.firmware;
    } else if (key == "media_lot") {
        value = settings_.mediaLot;
    } else if (key == "serial") {
        value = settings_.serial;
    } else if (key == "version") {
        value.assign(settings_.version.begin(), settings_.version.end());
    } else if (key == "update_mode") {
        value = settings_.updateMode ? "1" : "0";
    } else if (key == "colour_offset") {
        const auto& o = settings_.colourOffset;
        value = std::to_string(o[0]) + "," + std::to_string(o[1]) + "," + std::to_string(o[2]) +
                "," + std::to_string(o[3]);
    } else if (key == "checksum") {
        value = Hex8(TablesChecksum(tables_));
    } else if (key == "firmware_image_length") {
        value = std::to_string(settings_.imageLength);
    } else if (key == "firmware_image_crc") {
        value = Hex8(settings_.imageCrc);
    } else {
        return false;
    }
    return true;
}

}  // namespace quillet
