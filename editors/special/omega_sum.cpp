#include "editors/special/omega_sum.h"

#include <cmath>

std::optional<int16_t> OmegaS(const OmegaCoefficients& k) {
    enum { A, B, C, D, E, F, G };
    const struct {
        int word;
        int sign;
    } steps[] = {{E, +1}, {B, -1}, {C, +1}, {D, -1}, {F, -1}, {G, -1}};
    int s = k[A];
    for (const auto& step : steps) {
        s += step.sign * k[step.word];
        if (s < INT16_MIN || s > INT16_MAX) return std::nullopt;
    }
    return static_cast<int16_t>(s);
}

double RoundTwoDecimals(double x) {
    // x · 100 is split into its rounded product and the exact rest, so that a product that only
    // looks half way (or only misses it) by the rounding of the multiplication is not taken for
    // one.
    const double t = x * 100;
    const double rest = std::fma(x, 100, -t);
    double whole = std::floor(t);
    const double fraction = t - whole;
    const bool up = fraction > 0.5 ||
                    (fraction == 0.5 && (rest > 0 || (rest == 0 && std::fmod(whole, 2) != 0)));
    if (up) whole += 1;
    return whole / 100;
}

std::optional<float> OmegaSumTotal(const OmegaCoefficients& k, int16_t divisor) {
    const auto s = OmegaS(k);
    if (!s || divisor == 0) return std::nullopt;
    return static_cast<float>(RoundTwoDecimals(static_cast<double>(*s) / divisor));
}
