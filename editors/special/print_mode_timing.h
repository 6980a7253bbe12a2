#pragma once
// The strobe-timing arithmetic of the print mode editor: what a print cycle, a resolution, a
// strobe pitch and a strobe calculate coefficient give, and how the editor writes the results.
#include <array>
#include <cstdint>
#include <optional>

namespace PrintModeTiming {

// The print cycles the editor offers, in microseconds, by list index.
inline constexpr std::array<int32_t, 3> CycleMicroseconds{750, 1100, 1347};

// The list index a PrintCycle names: its remainder by 100, with the sign of the dividend.
int CycleIndex(int16_t printCycle);
// True when a PrintCycle names 600 dpi (its hundreds, taken down, are 6); otherwise 334 dpi.
bool Is600Dpi(int16_t printCycle);
// True for a list index the editor's lists can hold: a shown item (0..2) or none (-1).
bool ShowableIndex(int index);

// The feed speed in inches a second for a cycle in microseconds, rounded to two decimals, halves
// to even. At 334 dpi the cycle is first taken as cycle x 334 / 600.
double FeedSpeed(int32_t cycleUs, bool at600Dpi);

// (pitch + 2) x 257 / 48, rounded half to even.
int32_t TotalStrobeTime(int16_t pitch);
// coefficient x 128 / 100 + 7, rounded half to even.
int32_t MaxStrobeData(int16_t coefficient);

// The lamp by the margin left in the cycle: blue at 30 or more, yellow from 16 to 29, red at 15
// or less (0x00BBGGRR).
uint32_t MarginLamp(int32_t margin);

}  // namespace PrintModeTiming
