#include "editors/special/print_mode_timing.h"

#include <cmath>

#include "core/numbers.h"

namespace PrintModeTiming {

int CycleIndex(int16_t printCycle) {
    return printCycle % 100;  // C++ keeps the dividend's sign, as the cycle's remainder needs
}

bool Is600Dpi(int16_t printCycle) {
    return std::floor(printCycle / 100.0) == 6;
}

bool ShowableIndex(int index) {
    return index >= -1 && index < static_cast<int>(CycleMicroseconds.size());
}

double FeedSpeed(int32_t cycleUs, bool at600Dpi) {
    const double c = at600Dpi ? cycleUs : static_cast<int32_t>(cycleUs * 334) / 600.0;
    return std::nearbyint(1000000.0 / c / 600.0 * 100.0) / 100.0;
}

int32_t TotalStrobeTime(int16_t pitch) {
    return ToInt32((static_cast<int64_t>(pitch) + 2) * 257 / 48.0);
}

int32_t MaxStrobeData(int16_t coefficient) {
    return ToInt32(coefficient * 128.0 / 100.0 + 7.0);
}

uint32_t MarginLamp(int32_t margin) {
    if (margin >= 30) return 0xFF0000;
    if (margin >= 16) return 0x00FFFF;
    return 0x0000FF;
}

}  // namespace PrintModeTiming
