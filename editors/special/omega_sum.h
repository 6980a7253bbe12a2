#pragma once
// The sum the G Omega editor shows beside its coefficients: S = A + E − B + C − D − F − G over a
// divisor, to two decimals. Pure functions, so that the window and its tests reckon it alike.
#include <array>
#include <cstdint>
#include <optional>

// The coefficients A..G of one plane, words 0..6 of the table.
using OmegaCoefficients = std::array<int16_t, 7>;

// S, taken left to right (A + E first, then − B, + C, − D, − F, − G) in signed 16-bit steps; empty
// when a step leaves the 16-bit range.
std::optional<int16_t> OmegaS(const OmegaCoefficients& k);

// x rounded to two decimals, a value exactly half way going to the even last digit (0.125 gives
// 0.12, 0.375 gives 0.38). "Exactly" is the double's own value, not its nearest decimal.
double RoundTwoDecimals(double x);

// Round(S / divisor, 2) as a single-precision number; empty for a zero divisor or an S that does
// not fit 16 bits.
std::optional<float> OmegaSumTotal(const OmegaCoefficients& k, int16_t divisor);
