#pragma once
// The sum rule of the sigma tables: per plane a symmetric five-point weight set LL, L, C, R, RR
// whose weights add up to 10000 (C + 2·L + 2·LL). An entry for one weight is taken up by the group
// that is not fixed, and C is always reckoned last, so that after any rule the sum holds and C is
// even. Pure functions: the sigma editors run them on what their boxes show.
#include <cstdint>
#include <optional>

struct SigmaWeights {
    int16_t C;   // the centre weight
    int16_t L;   // each inner side weight (L = R)
    int16_t LL;  // each outer side weight (LL = RR)
    bool operator==(const SigmaWeights&) const = default;
};

// The group the FIXED check boxes hold: {C}, {L, R} or {LL, RR}.
enum class SigmaGroup { Center, Side, Outer };

inline constexpr int SigmaTotal = 10000;

// A new C (ApplyCenter), L (ApplySide) or LL (ApplyOuter), entered while `fixed` is the fixed
// group, over the weights as shown. An entry beyond what the fixed group leaves becomes 0; the free
// group takes up the rest, halved toward zero where it is shared by two points. Only upper bounds
// are tested: negative entries pass as long as every weight fits.
// Empty when twice an L or LL entry, or one of the three weights, does not fit 16 bits: then
// nothing is to be stored at all.
std::optional<SigmaWeights> ApplyCenter(SigmaWeights shown, SigmaGroup fixed, int16_t v);
std::optional<SigmaWeights> ApplySide(SigmaWeights shown, SigmaGroup fixed, int16_t v);
std::optional<SigmaWeights> ApplyOuter(SigmaWeights shown, SigmaGroup fixed, int16_t v);
