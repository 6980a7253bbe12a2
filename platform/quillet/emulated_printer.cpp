#include "platform/quillet/emulated_printer.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>

namespace quillet {
namespace {

constexpr int kDrifting = INT_MIN;
constexpr uint8_t kCr = 0x0D;

const Bytes& FactoryVersion() {
    static const Bytes version = [] {
        std::string text = "RN-EMU FACTORY";
        text.resize(32, ' ');
        return Bytes(text.begin(), text.end());
    }();
    return version;
}

// The printer's numbers by setting key, with their factory values.
std::map<std::string, int> FactoryNumbers() {
    return {{"media", 301},        {"pqty", 350},       {"counter_life", 12846},
            {"counter_a", 1523},   {"counter_b", 87},   {"resolution_h", 300},
            {"resolution_v", 300}, {"free_buffer", 4},  {"media_counter", 250},
            {"media_id", 3},       {"head_rank", 4120}, {"heat_setting", 12},
            {"print_pos", 12},     {"cut_pos", -6},     {"cutter", 0},
            {"retention", 0}};
}

// Resting reading and slow swing of each sensor slot (raw 0..255), and the swing's
// period in seconds: head and media temperature, mark, sensor and ribbon voltages,
// paper sensors, head voltage, humidity.
struct SensorCurve {
    int rest;
    int swing;
    int period;
};
constexpr std::array<SensorCurve, 13> kSensorCurves = {{{100, 6, 90},
                                                        {96, 4, 120},
                                                        {180, 2, 45},
                                                        {150, 1, 60},
                                                        {120, 2, 70},
                                                        {118, 2, 80},
                                                        {200, 1, 50},
                                                        {60, 1, 65},
                                                        {40, 1, 75},
                                                        {45, 1, 85},
                                                        {90, 1, 95},
                                                        {100, 1, 40},
                                                        {92, 5, 150}}};

double SecondsRunning() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

bool Digits(const uint8_t* p, size_t n, int& value) {
    value = 0;
    for (size_t i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        value = value * 10 + (p[i] - '0');
    }
    return true;
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

std::string Format(const char* pattern, int value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, pattern, value);
    return buf;
}

std::string Hex8(uint32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(value));
    return buf;
}

// "PPA+012", "CPA-006": a tag, a sign and three digits.
std::string SignedSteps(const char* tag, int steps) {
    return std::string(tag) + (steps < 0 ? "-" : "+") + Format("%03d", std::abs(steps));
}

}  // namespace

EmulatedPrinter::EmulatedPrinter() : tables_(FactoryTables()) {
    settings_.numbers = FactoryNumbers();
    settings_.version = FactoryVersion();
    pinnedSensor_.fill(kDrifting);
}

// ---- sends --------------------------------------------------------------------------

void EmulatedPrinter::DropPending(Outcome& outcome, const char* why) {
    if (!pending_.empty())
        outcome.notes.push_back("an unfinished block of " + std::to_string(pending_.size()) +
                                " bytes was dropped (" + why + ")");
    ClearPending();
}

void EmulatedPrinter::ClearPending() {
    pending_.clear();
    pendingHeader_ = {};
    pendingLengthChecked_ = false;
}

Outcome EmulatedPrinter::Send(const uint8_t* data, size_t n) {
    Outcome out;
    if (n == 0) {
        out.notes.push_back("empty send, nothing to take");
        return out;
    }
    // No parameter or length digit begins with ESC: a block still short of its header
    // when a new block starts was abandoned by its sender.
    if (!pending_.empty() && pending_.size() < kHeaderSize && data[0] == 0x1B)
        DropPending(out, "a new block began before its header was complete");
    pending_.insert(pending_.end(), data, data + n);

    std::string why;
    const size_t taken = TakeBlocks(out, why);
    if (!out.ok) {
        out.reason = why;
        ClearPending();
        return out;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(taken));
    if (!pending_.empty())
        out.notes.push_back(
            pendingLengthChecked_
                ? "waiting for " +
                      std::to_string(kHeaderSize + pendingHeader_.length - pending_.size()) +
                      " more bytes of " + Describe(*pendingHeader_.rule)
                : "waiting for the rest of the block header");
    return out;
}

// Takes every complete block at the front of the pending bytes; returns how many
// bytes it took. A malformed block clears out.ok and says why.
size_t EmulatedPrinter::TakeBlocks(Outcome& out, std::string& why) {
    size_t pos = 0;
    while (pos < pending_.size()) {
        const uint8_t* b = pending_.data() + pos;
        const size_t avail = pending_.size() - pos;
        if (!pendingHeader_.rule) {
            if (b[0] != 0x1B || (avail >= 2 && b[1] != 'P')) {
                why = "block does not begin with ESC \"P\"";
                out.ok = false;
                return pos;
            }
            if (avail < kCommandEnd) break;
            if (!CheckCommand(b, pendingHeader_, why) || !Admissible(*pendingHeader_.rule, why)) {
                out.ok = false;
                return pos;
            }
        }
        if (!pendingLengthChecked_) {
            if (avail < kHeaderSize) break;
            if (!CheckLengthField(b, pendingHeader_, why)) {
                out.ok = false;
                return pos;
            }
            pendingLengthChecked_ = true;
        }
        const size_t total = kHeaderSize + pendingHeader_.length;
        if (avail < total) break;
        if (!Apply(*pendingHeader_.rule, b + kHeaderSize, pendingHeader_.length, why)) {
            out.ok = false;
            return pos;
        }
        out.accepted.emplace_back(b, b + total);
        pos += total;
        pendingHeader_ = {};
        pendingLengthChecked_ = false;
    }
    return pos;
}

bool EmulatedPrinter::Admissible(const CommandRule& rule, std::string& why) const {
    if (rule.request) {
        why = Describe(rule) + " is a request: it is answered only through a receive";
        return false;
    }
    if (rule.command == "FW_UPD" && rule.parameter == "FLASH_PROGRAM" && !settings_.updateMode) {
        why =
            "FW_UPD FLASH_PROGRAM refused: the printer is not in firmware update mode "
            "(FLASH_REWRITE first)";
        return false;
    }
    return true;
}

bool EmulatedPrinter::Apply(const CommandRule& rule, const uint8_t* data, uint32_t length,
                            std::string& why) {
    const std::string& c = rule.command;
    const std::string& p = rule.parameter;
    if (c == "MNT_WT") return ApplyMaintenance(p, data, length, why);
    if (c == "TBL_WT") {
        if (p == "Version") {
            settings_.version.assign(data, data + length);
        } else if (p == "CTRLD_UPDATE_KT") {
            TakeColourImage(data, tables_);
        } else {
            tables_[p].assign(data, data + length);
        }
        return true;
    }
    if (c == "TBL_CL") {
        tables_ = FactoryTables();
        settings_.version = FactoryVersion();
        return true;
    }
    if (c == "FW_UPD") {
        if (p == "FLASH_REWRITE") {
            settings_.updateMode = true;
            settings_.status = "FU1";
        } else if (length == 0) {
            settings_.status = "FU101";  // nothing to program: data error, still in the mode
        } else {
            settings_.imageLength = length;
            settings_.imageCrc = Crc32(data, length);
            settings_.updateMode = false;
            settings_.status = "0";
        }
        return true;
    }
    if (c == "CNTRL") {
        int mode = 0;
        if (!Digits(data, 8, mode)) {
            why = Describe(rule) + " takes its mode as 8 digits";
            return false;
        }
        Number(p == "CUTTER" ? "cutter" : "retention") = mode;
        return true;
    }
    why = "no handling for " + Describe(rule);
    return false;
}

// Maintenance writes, each in the one form the program composes.
bool EmulatedPrinter::ApplyMaintenance(const std::string& p, const uint8_t* d, uint32_t n,
                                       std::string& why) {
    int v = 0;
    auto refuse = [&](const char* form) {
        why = "MNT_WT " + p + " data is not " + form;
        return false;
    };
    auto restIs = [&](size_t from, std::initializer_list<uint8_t> bytes) {
        size_t i = from;
        for (uint8_t b : bytes)
            if (i >= n || d[i++] != b) return false;
        return i == n;
    };
    if (p == "COUNTER_CLEAR") {
        if (restIs(0, {'C', 'A', kCr, 0})) {
            Number("counter_a") = 0;
        } else if (restIs(0, {'C', 'B', kCr, 0})) {
            Number("counter_b") = 0;
        } else {
            return refuse("\"CA\" or \"CB\" followed by CR and NUL");
        }
        return true;
    }
    if (p == "MEDIA") {
        if (d[0] != 'M' || d[1] != 'T' || !Digits(d + 2, 5, v) || !restIs(7, {kCr}))
            return refuse("\"MT\", 5 digits and CR");
        Number("media") = v;
        return true;
    }
    if (p == "HEAD_RANK") {
        if (d[0] != 'H' || d[1] != 'R' || !Digits(d + 2, 4, v) || !restIs(6, {kCr, 0}))
            return refuse("\"HR\", 4 digits, CR and NUL");
        Number("head_rank") = v;
        return true;
    }
    if (p == "HEAT_SETTING") {
        if (d[0] != 'H' || d[1] != 'S' || !Digits(d + 2, 3, v) || !restIs(5, {kCr, 0, 0}))
            return refuse("\"HS\", 3 digits, CR and two NULs");
        if (v > 20) return refuse("a heat setting of 0..20");
        Number("heat_setting") = v;
        return true;
    }
    if (p == "RESOLUTION") {
        size_t digits = 0;
        while (digits < n && d[digits] >= '0' && d[digits] <= '9') ++digits;
        bool ok = digits > 0 && digits < n && d[digits] == kCr && Digits(d, digits, v) && v > 0;
        for (size_t i = digits + 1; ok && i < n; ++i) ok = d[i] == 0;
        if (!ok) return refuse("a resolution in digits, CR, then NULs");
        Number("resolution_v") = v;
        return true;
    }
    if (p == "PRINT_POS_ADJUST" || p == "CUT_POS_ADJUST") {
        const char* tag = p == "PRINT_POS_ADJUST" ? "PPA" : "CPA";
        if (std::memcmp(d, tag, 3) != 0 || (d[3] != '+' && d[3] != '-') || !Digits(d + 4, 3, v) ||
            !restIs(7, {kCr}))
            return refuse(p == "PRINT_POS_ADJUST" ? "\"PPA\", a sign, 3 digits and CR"
                                                  : "\"CPA\", a sign, 3 digits and CR");
        Number(p == "PRINT_POS_ADJUST" ? "print_pos" : "cut_pos") = d[3] == '-' ? -v : v;
        return true;
    }
    if (p == "PRINTER_ID_SET") {
        size_t len = 0;
        while (len < n && d[len] != kCr && d[len] != 0) ++len;
        for (size_t i = 0; i < len; ++i)
            if (d[i] < 0x20 || d[i] > 0x7E) return refuse("a printable serial number");
        if (len == 0) return refuse("a serial number (it is empty)");
        settings_.serial.assign(reinterpret_cast<const char*>(d), len);
        return true;
    }
    why = "no handling for MNT_WT " + p;
    return false;
}

// ---- receives -----------------------------------------------------------------------

Outcome EmulatedPrinter::Receive(const uint8_t* data, size_t n, Bytes& payload) {
    Outcome out;
    DropPending(out, "a request came");
    if (n < kHeaderSize) {
        out.ok = false;
        out.reason = "request of " + std::to_string(n) + " bytes is shorter than a block header";
        if (n >= kCommandEnd) {
            BlockHeader h;
            std::string why;
            if (!CheckCommand(data, h, why)) out.reason = why;
        }
        return out;
    }
    BlockHeader header;
    if (!CheckHeader(data, header, out.reason)) {
        out.ok = false;
        return out;
    }
    if (!header.rule->request) {
        out.ok = false;
        out.reason = Describe(*header.rule) + " gives no reply: it is sent, not requested";
        return out;
    }
    if (n != kHeaderSize + header.length) {
        out.ok = false;
        out.reason = "request " + Describe(*header.rule) + " has " +
                     std::to_string(n - kHeaderSize) + " bytes after its header; its length " +
                     "field says " + std::to_string(header.length);
        return out;
    }
    out.accepted.emplace_back(data, data + n);
    const auto scripted = scriptedReplies_.find({header.rule->command, header.rule->parameter});
    if (scripted != scriptedReplies_.end()) {
        payload = scripted->second;
        out.notes.push_back("scripted reply");
    } else {
        payload = Answer(*header.rule);
    }
    return out;
}

Bytes EmulatedPrinter::Answer(const CommandRule& rule) const {
    const std::string& c = rule.command;
    const std::string& p = rule.parameter;
    auto line = [](const std::string& s) { return Text(s + "\r"); };
    auto tagged = [&](const char* tag, const char* key) {
        return line(tag + std::to_string(Number(key)));
    };
    if (c == "STATUS") return line(settings_.status);
    if (c == "TBL_RD") {
        if (p == "Version") {
            // The fixed-width text may fill its field: a NUL ends it for the reader.
            Bytes text = settings_.version;
            text.push_back(0);
            return text;
        }
        return tables_.at(p);
    }
    if (c == "INFO") {
        if (p == "FVER") return Text(settings_.firmware + "\r\n");
        if (p == "SENSOR") return line(SensorRecord());
        if (p == "MEDIA") return line("MT" + Format("%05d", Number("media")));
        if (p == "PQTY") return tagged("PQTY", "pqty");
        if (p == "RESOLUTION_H") return tagged("RH", "resolution_h");
        if (p == "RESOLUTION_V") return tagged("RV", "resolution_v");
        if (p == "FREE_PBUFFER") return tagged("FPB", "free_buffer");
        if (p == "MLOT") return line("ML" + settings_.mediaLot);
        if (p == "MCOLOR") {
            Bytes b = {'M', 'C'};
            b.insert(b.end(), settings_.colourOffset.begin(), settings_.colourOffset.end());
            b.push_back(kCr);
            return b;
        }
        if (p == "MQTY") return tagged("MQTY", "media_counter");
        if (p == "SERIAL_NUMBER") return line(settings_.serial);
    }
    if (c == "MNT_RD") {
        if (p == "COUNTER_LIFE") return tagged("CL", "counter_life");
        if (p == "COUNTER_A") return tagged("CA", "counter_a");
        if (p == "COUNTER_B") return tagged("CB", "counter_b");
        if (p == "CTRLD_CHKSUM") return line(Hex8(TablesChecksum(tables_)));
        if (p == "MEDIA_ID_SET") return tagged("MDID", "media_id");
        if (p == "HEAD_RANK") return line("HR" + Format("%04d", Number("head_rank")));
        if (p == "HEAT_SETTING") return line("HS" + Format("%03d", Number("heat_setting")));
        if (p == "PRINT_POS_ADJUST") return line(SignedSteps("PPA", Number("print_pos")));
        if (p == "CUT_POS_ADJUST") return line(SignedSteps("CPA", Number("cut_pos")));
    }
    return {};
}

std::string EmulatedPrinter::SensorRecord() const {
    const double t = SecondsRunning();
    std::string record;
    for (size_t i = 0; i < kSensorCurves.size(); ++i) {
        int raw = pinnedSensor_[i];
        if (raw == kDrifting) {
            const SensorCurve& s = kSensorCurves[i];
            raw = s.rest + static_cast<int>(std::lround(
                               s.swing * std::sin(2 * std::numbers::pi * t / s.period + i)));
        }
        char slot[48];
        std::snprintf(slot, sizeof slot, "S%02zu:%03d; ", i + 1, raw);
        record += slot;
    }
    return record;
}

// ---- scripting ----------------------------------------------------------------------

bool EmulatedPrinter::SetSensor(int slot, int raw) {
    if (slot < 1 || slot > 13) return false;
    pinnedSensor_[static_cast<size_t>(slot - 1)] = (raw >= -99 && raw <= 999) ? raw : kDrifting;
    return true;
}

bool EmulatedPrinter::SetSetting(const std::string& key, const std::string& value) {
    int v = 0;
    if (const auto it = settings_.numbers.find(key); it != settings_.numbers.end()) {
        if (!ParseInt(value, v)) return false;
        it->second = v;
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
        settings_.version = Text(value);
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
    if (const auto it = settings_.numbers.find(key); it != settings_.numbers.end()) {
        value = std::to_string(it->second);
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

void EmulatedPrinter::SetReply(const std::string& command, const std::string& parameter,
                               const Bytes* payload) {
    if (payload) {
        scriptedReplies_[{command, parameter}] = *payload;
    } else {
        scriptedReplies_.erase({command, parameter});
    }
}

const Bytes* EmulatedPrinter::Table(const std::string& parameter) const {
    if (parameter == "Version") return &settings_.version;
    const auto it = tables_.find(parameter);
    return it == tables_.end() ? nullptr : &it->second;
}

}  // namespace quillet
