#include "core/maintenance_commands.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "core/command_blocks.h"
#include "core/exchange_guard.h"
#include "core/numbers.h"
#include "core/parvel_link.h"
#include "core/requests.h"
#include "core/status_queries.h"

namespace Module2 {

namespace {

constexpr int SettingField = 8;
constexpr int PrinterIdField = 32;

// One "MNT_WT" block: the header, then the field filled from the composed text (cut to the field;
// the rest of the field zero, so that no byte of an earlier block goes out with it).
bool WriteSetting(const char* parameter, const std::string& text, int field) {
    const ExchangeClaim claim;
    if (!claim) return false;
    const int16_t pos = BuildCommandHeader("MNT_WT", parameter, field);
    const std::string bytes = ToAnsi(text);
    std::fill_n(SendBuffer.begin() + pos, field, uint8_t{0});
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), field),
                SendBuffer.begin() + pos);
    try {
        return Parvel::JmSetCommand(PortHandle, SendBuffer.data(), pos + field) != 0;
    } catch (const Parvel::Unavailable&) {
        return false;
    }
}

std::string ReadSetting(const char* command, const char* parameter) {
    return ReplyText(Request(command, parameter), '\r');
}

bool WritePosition(const char* parameter, const char* tag, int16_t steps) {
    if (steps < -MaxPositionSteps || steps > MaxPositionSteps) return false;
    return WriteSetting(parameter, tag + FormatDigits(steps, 3, true) + "\r", SettingField);
}

}  // namespace

bool WriteMedia(int16_t code) {
    return WriteSetting("MEDIA", "MT" + FormatDigits(code, 5) + "\r", SettingField);
}

bool WriteHeadRank(int16_t rank) {
    return WriteSetting("HEAD_RANK", "HR" + FormatDigits(rank, 4) + std::string("\r\0", 2),
                        SettingField);
}

bool WritePrinterId(const std::string& text) {
    return WriteSetting("PRINTER_ID_SET", text + std::string("\r\0", 2), PrinterIdField);
}

bool WriteHeatSetting(int16_t setting) {
    return WriteSetting("HEAT_SETTING", "HS" + FormatDigits(setting, 3) + std::string("\r\0\0", 3),
                        SettingField);
}

bool WriteResolution(int16_t dpi) {
    return WriteSetting("RESOLUTION", FormatDigits(dpi, 3) + "\r", SettingField);
}

bool WritePrintPosAdjust(int16_t steps) {
    return WritePosition("PRINT_POS_ADJUST", "PPA", steps);
}

bool WriteCutPosAdjust(int16_t steps) {
    return WritePosition("CUT_POS_ADJUST", "CPA", steps);
}

std::string ReadSerialNumber() {
    return ReadSetting("INFO", "SERIAL_NUMBER");
}

std::string ReadHeadRank() {
    return ReadSetting("MNT_RD", "HEAD_RANK");
}

std::string ReadHeatSetting() {
    return ReadSetting("MNT_RD", "HEAT_SETTING");
}

std::string ReadPrintPosAdjust() {
    return ReadSetting("MNT_RD", "PRINT_POS_ADJUST");
}

std::string ReadCutPosAdjust() {
    return ReadSetting("MNT_RD", "CUT_POS_ADJUST");
}

std::string ReadSensorInfo() {
    // Cleared before the call, so that a short reply never shows what an earlier one left.
    std::array<char, Parvel::TextCapacity + 1> text{};
    int32_t n = -1;
    try {
        n = Parvel::JmPollSensorInfo(PortHandle, text.data());
    } catch (const Parvel::Unavailable&) {
        return "";
    }
    if (n < 0) return "";
    const std::size_t most =
        std::min<std::size_t>(static_cast<std::size_t>(n), Parvel::TextCapacity);
    return FromAnsi(std::string(text.data(), strnlen(text.data(), most)));
}

}  // namespace Module2
