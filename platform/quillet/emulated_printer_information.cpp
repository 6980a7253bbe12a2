// STATUS and INFO: the printer's state, identity, media and sensors.
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "platform/quillet/emulated_printer.h"

namespace quillet {
namespace {

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

}  // namespace

Payload EmulatedPrinter::AnswerInformation(const CommandRule& rule) {
    const std::string& p = rule.parameter;
    char digits[32];
    if (rule.command == "STATUS") return Reply({settings_.status});
    if (p == "FVER") return Reply({settings_.firmware}, "\r\n");
    if (p == "SENSOR") return Reply({SensorRecord()});
    if (p == "MEDIA") return Reply({"MT", Format(digits, "%05d", At(Number::Media))});
    if (p == "PQTY") return Tagged("PQTY", Number::Pqty);
    if (p == "RESOLUTION_H") return Tagged("RH", Number::ResolutionH);
    if (p == "RESOLUTION_V") return Tagged("RV", Number::ResolutionV);
    if (p == "FREE_PBUFFER") return Tagged("FPB", Number::FreeBuffer);
    if (p == "MLOT") return Reply({"ML", settings_.mediaLot});
    if (p == "MCOLOR") {
        const auto& o = settings_.colourOffset;
        const std::string_view offsets(reinterpret_cast<const char*>(o.data()), o.size());
        return Reply({"MC", offsets});
    }
    if (p == "MQTY") return Tagged("MQTY", Number::MediaCounter);
    if (p == "SERIAL_NUMBER") return Reply({settings_.serial});
    return {};
}

// Thirteen slots "Snn:ddd; ", pinned or drifting slowly about their rest.
std::string_view EmulatedPrinter::SensorRecord() {
    const double t = SecondsRunning();
    size_t used = 0;
    for (size_t i = 0; i < kSensorCurves.size(); ++i) {
        int raw = pinnedSensor_[i];
        if (raw == INT_MIN) {
            const SensorCurve& s = kSensorCurves[i];
            raw = s.rest + static_cast<int>(std::lround(
                               s.swing * std::sin(2 * std::numbers::pi * t / s.period + i)));
        }
        const int n =
            std::snprintf(scratch_ + used, sizeof scratch_ - used, "S%02zu:%03d; ", i + 1, raw);
        if (n > 0) used = std::min(used + static_cast<size_t>(n), sizeof scratch_ - 1);
    }
    return std::string_view(scratch_, used);
}

}  // namespace quillet
