// MNT_RD and MNT_WT: counters, media id, head and heat rank, resolution, the position
// adjustments, the serial number and the checksum of the colour data held.
#include <cstdlib>
#include <cstring>

#include "platform/quillet/emulated_printer.h"

namespace quillet {
namespace {

constexpr uint8_t kCr = 0x0D;

}  // namespace

Payload EmulatedPrinter::AnswerMaintenance(const CommandRule& rule) {
    const std::string& p = rule.parameter;
    char digits[32];
    if (p == "COUNTER_LIFE") return Tagged("CL", Number::CounterLife);
    if (p == "COUNTER_A") return Tagged("CA", Number::CounterA);
    if (p == "COUNTER_B") return Tagged("CB", Number::CounterB);
    if (p == "CTRLD_CHKSUM") {
        std::snprintf(digits, sizeof digits, "%08X",
                      static_cast<unsigned>(TablesChecksum(tables_)));
        return Reply({digits});
    }
    if (p == "MEDIA_ID_SET") return Tagged("MDID", Number::MediaId);
    if (p == "HEAD_RANK") return Reply({"HR", Format(digits, "%04d", At(Number::HeadRank))});
    if (p == "HEAT_SETTING") return Reply({"HS", Format(digits, "%03d", At(Number::HeatSetting))});
    if (p == "PRINT_POS_ADJUST" || p == "CUT_POS_ADJUST") {
        // "PPA+012", "CPA-006": a tag, a sign and three digits.
        const int steps = At(p == "PRINT_POS_ADJUST" ? Number::PrintPos : Number::CutPos);
        return Reply({p == "PRINT_POS_ADJUST" ? "PPA" : "CPA", steps < 0 ? "-" : "+",
                      Format(digits, "%03d", std::abs(steps))});
    }
    return {};
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
            At(Number::CounterA) = 0;
        } else if (restIs(0, {'C', 'B', kCr, 0})) {
            At(Number::CounterB) = 0;
        } else {
            return refuse("\"CA\" or \"CB\" followed by CR and NUL");
        }
        return true;
    }
    if (p == "MEDIA") {
        if (d[0] != 'M' || d[1] != 'T' || !Digits(d + 2, 5, v) || !restIs(7, {kCr}))
            return refuse("\"MT\", 5 digits and CR");
        At(Number::Media) = v;
        return true;
    }
    if (p == "HEAD_RANK") {
        if (d[0] != 'H' || d[1] != 'R' || !Digits(d + 2, 4, v) || !restIs(6, {kCr, 0}))
            return refuse("\"HR\", 4 digits, CR and NUL");
        At(Number::HeadRank) = v;
        return true;
    }
    if (p == "HEAT_SETTING") {
        if (d[0] != 'H' || d[1] != 'S' || !Digits(d + 2, 3, v) || !restIs(5, {kCr, 0, 0}))
            return refuse("\"HS\", 3 digits, CR and two NULs");
        if (v > 20) return refuse("a heat setting of 0..20");
        At(Number::HeatSetting) = v;
        return true;
    }
    if (p == "RESOLUTION") {
        size_t digits = 0;
        while (digits < n && d[digits] >= '0' && d[digits] <= '9') ++digits;
        bool ok = digits > 0 && digits < n && d[digits] == kCr && Digits(d, digits, v) && v > 0;
        for (size_t i = digits + 1; ok && i < n; ++i) ok = d[i] == 0;
        if (!ok) return refuse("a resolution in digits, CR, then NULs");
        At(Number::ResolutionV) = v;
        return true;
    }
    if (p == "PRINT_POS_ADJUST" || p == "CUT_POS_ADJUST") {
        const char* tag = p == "PRINT_POS_ADJUST" ? "PPA" : "CPA";
        if (std::memcmp(d, tag, 3) != 0 || (d[3] != '+' && d[3] != '-') || !Digits(d + 4, 3, v) ||
            !restIs(7, {kCr}))
            return refuse(p == "PRINT_POS_ADJUST" ? "\"PPA\", a sign, 3 digits and CR"
                                                  : "\"CPA\", a sign, 3 digits and CR");
        At(p == "PRINT_POS_ADJUST" ? Number::PrintPos : Number::CutPos) = d[3] == '-' ? -v : v;
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

}  // namespace quillet
