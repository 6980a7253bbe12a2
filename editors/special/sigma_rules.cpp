#include "editors/special/sigma_rules.h"

#include <cmath>
#include <utility>

namespace {

// What the free group gets: x rounded to a whole number, then halved toward zero.
double HalfTowardZero(double x) {
    return static_cast<double>(std::llround(x) / 2);
}

std::optional<int16_t> Fit(double x) {
    if (x < INT16_MIN || x > INT16_MAX) return std::nullopt;
    return static_cast<int16_t>(x);
}

// Twice an entry, as the 16-bit product the rules compare.
std::optional<int16_t> Twice(int16_t v) {
    return Fit(2.0 * v);
}

// The closing step of every rule: C takes what L and LL leave, and all three must fit.
std::optional<SigmaWeights> Close(double L, double LL) {
    const auto c = Fit(SigmaTotal - 2 * L - 2 * LL), l = Fit(L), ll = Fit(LL);
    if (!c || !l || !ll) return std::nullopt;
    return SigmaWeights{*c, *l, *ll};
}

}  // namespace

std::optional<SigmaWeights> ApplyCenter(SigmaWeights shown, SigmaGroup fixed, int16_t v) {
    double L = shown.L, LL = shown.LL;
    if (fixed == SigmaGroup::Side) {
        if (v > SigmaTotal - 2 * L) v = 0;
        LL = HalfTowardZero(SigmaTotal - 2 * L - v);
    } else {
        if (v > SigmaTotal - 2 * LL) v = 0;
        L = HalfTowardZero(SigmaTotal - 2 * LL - v);
    }
    return Close(L, LL);
}

namespace {

// L and LL entered alike: with C fixed the other pair takes up the rest, else the entry must fit
// beside the fixed pair. Gives the entered and the other pair's weight.
std::optional<std::pair<double, double>> ApplyPaired(int16_t c, double other, SigmaGroup fixed,
                                                     int16_t v) {
    const auto twice = Twice(v);
    if (!twice) return std::nullopt;
    if (fixed == SigmaGroup::Center) {
        if (*twice > SigmaTotal - c) v = 0;
        other = HalfTowardZero(SigmaTotal - c - 2.0 * v);
    } else if (*twice > SigmaTotal - 2 * other) {
        v = 0;
    }
    return std::pair<double, double>{v, other};
}

}  // namespace

std::optional<SigmaWeights> ApplySide(SigmaWeights shown, SigmaGroup fixed, int16_t v) {
    const auto applied = ApplyPaired(shown.C, shown.LL, fixed, v);
    if (!applied) return std::nullopt;
    return Close(applied->first, applied->second);
}

std::optional<SigmaWeights> ApplyOuter(SigmaWeights shown, SigmaGroup fixed, int16_t v) {
    const auto applied = ApplyPaired(shown.C, shown.L, fixed, v);
    if (!applied) return std::nullopt;
    return Close(applied->second, applied->first);
}
