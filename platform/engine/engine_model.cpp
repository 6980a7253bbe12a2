#include "platform/engine/engine_model.h"

#include <algorithm>

#include "platform/engine/jm_engine.h"

namespace jm {
namespace {

constexpr int kValueScale = 10000;  // an edited curve value runs 0..10000

int16_t Word(const unsigned char* set, std::size_t offset) {
    return static_cast<int16_t>(set[offset] | (set[offset + 1] << 8));
}

// Bits 0-14 of a curve word; bit 15 only marks a node of the edited curve.
int CurveValue(const unsigned char* set, int table, int point, int plane) {
    const std::size_t offset = static_cast<std::size_t>(table) + 2u * point + 512u * plane;
    return Word(set, offset) & 0x7FFF;
}

Lut CurveLut(const unsigned char* set, int table, int plane) {
    Lut lut{};
    for (int i = 0; i < 256; ++i) {
        const int scaled = (CurveValue(set, table, i, plane) * 255 + kValueScale / 2) / kValueScale;
        lut[i] = static_cast<uint8_t>(std::min(scaled, 255));
    }
    return lut;
}

// first, then second.
Lut Then(const Lut& first, const Lut& second) {
    Lut lut{};
    for (int i = 0; i < 256; ++i) lut[i] = second[first[i]];
    return lut;
}

int RoundDiv(int num, int den) {  // den > 0; halves away from zero
    return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
}

// d moves towards target(d) by weight(d)/255 of the way.
Lut Weighted(const Lut& target, const Lut& weight) {
    Lut lut{};
    for (int d = 0; d < 256; ++d) {
        const int moved = d + RoundDiv((target[d] - d) * weight[d], 255);
        lut[d] = static_cast<uint8_t>(std::clamp(moved, 0, 255));
    }
    return lut;
}

// E_Gamma energy of each level placed in the plane's E gamma range.
Lut EnergyWindow(const unsigned char* set, int plane) {
    const int start = Word(set, JM_OFF_EGAMMA_RANGE + 4 * plane);
    const int end = Word(set, JM_OFF_EGAMMA_RANGE + 4 * plane + 2);
    Lut lut{};
    for (int d = 0; d < 256; ++d) {
        const int e = CurveValue(set, JM_OFF_E_GAMMA, d, plane);
        int level;
        if (end <= start) {
            level = e >= start ? 255 : 0;
        } else {
            const int inside = std::clamp(e, start, end) - start;
            level = RoundDiv(inside * 255, end - start);
        }
        lut[d] = static_cast<uint8_t>(level);
    }
    return Then(lut, CurveLut(set, JM_OFF_E_EPSILON, plane));
}

// Every curve lookup of one ink plane that the image functions combine.
struct PlaneCurves {
    Lut cGamma, gGamma, iGamma, cChain, gChain, iChain, head, media, print, strobe;

    PlaneCurves(const unsigned char* set, int p) {
        auto lut = [&](int table) { return CurveLut(set, table, p); };
        auto chain = [&](int gamma, int theta, int epsilon) {
            return Then(Then(lut(gamma), lut(theta)), lut(epsilon));
        };
        cGamma = lut(JM_OFF_C_GAMMA);
        gGamma = lut(JM_OFF_G_GAMMA);
        iGamma = lut(JM_OFF_I_GAMMA);
        cChain = chain(JM_OFF_C_GAMMA, JM_OFF_C_THETA, JM_OFF_C_EPSILON);
        gChain = chain(JM_OFF_G_GAMMA, JM_OFF_G_THETA, JM_OFF_G_EPSILON);
        iChain = chain(JM_OFF_I_GAMMA, JM_OFF_I_THETA, JM_OFF_I_EPSILON);
        const Lut tempCoef = lut(JM_OFF_TEMP_COEF);
        head = Weighted(lut(JM_OFF_HEAD_TEMP), tempCoef);
        media = Weighted(lut(JM_OFF_MEDIA_TEMP), tempCoef);
        const Lut humid = Weighted(lut(JM_OFF_MEDIA_HUMIDITY), lut(JM_OFF_HUMIDITY_COEF));
        print = Then(Then(Then(cChain, gChain), iChain), head);
        print = Then(Then(Then(print, media), humid), EnergyWindow(set, p));
        strobe = Then(print, lut(JM_OFF_STB_GAMMA));
    }
};

// The pixel byte of an ink plane holds 255 - level; so does the drawn byte.
void FinishPointPlan(Plan& plan) {
    for (int p = 0; p < kInkPlanes; ++p) {
        const bool drawn = plan.output == Output::Colour || plan.output == Output::Grey ||
                           static_cast<int>(plan.output) - 1 == p;
        for (int byte = 0; byte < 256; ++byte) {
            const uint32_t level = plan.level[p][255 - byte];
            uint32_t value;
            if (plan.output == Output::Grey) {
                value = level;
            } else {
                value = (drawn ? 255u - level : 255u) << kChannelShift[p];
            }
            plan.channel[p][byte] = value;
        }
    }
}

void BuildMarkers(const unsigned char* set, Model& model) {
    for (int p = 0; p < 4; ++p) {
        for (int which = 0; which < 2; ++which) {
            const int level = Word(set, JM_OFF_EGAMMA_RANGE + 4 * p + 2 * which);
            int marker = 255;
            for (int i = 0; i < 256; ++i) {
                if (CurveValue(set, JM_OFF_E_GAMMA, i, p) >= level) {
                    marker = 4 * i;
                    break;
                }
            }
            model.markers[4 * p + 2 * which] = static_cast<unsigned char>(marker & 0xFF);
            model.markers[4 * p + 2 * which + 1] = static_cast<unsigned char>(marker >> 8);
        }
    }
}

void BuildStrobeSums(const unsigned char* set, Model& model) {
    const int64_t pitch = std::max<int16_t>(Word(set, JM_OFF_STB_PITCH), 0);
    for (int p = 0; p < 4; ++p) {
        int64_t sum = 0;
        for (int i = 0; i < 256; ++i) {
            sum += std::min(CurveValue(set, JM_OFF_STB_GAMMA, i, p), kValueScale);
        }
        model.stbSum[p] = static_cast<int32_t>((sum * (pitch + 2) + 240) / 480);
    }
}

}  // namespace

void BuildModel(const unsigned char* set, Model& model) {
    std::array<PlaneCurves, kInkPlanes> curves = {PlaneCurves(set, 0), PlaneCurves(set, 1),
                                                  PlaneCurves(set, 2)};
    auto every = [&](Lut PlaneCurves::*first, Lut PlaneCurves::*second = nullptr) {
        std::array<Lut, kInkPlanes> luts{};
        for (int p = 0; p < kInkPlanes; ++p) {
            luts[p] = second ? Then(curves[p].*first, curves[p].*second) : curves[p].*first;
        }
        return luts;
    };
    auto set_plan = [&](Function f, std::array<Lut, kInkPlanes> level, Output output,
                        Step step = Step::Point) {
        Plan& plan = model.plans[static_cast<int>(f)];
        plan.level = level;
        plan.output = output;
        plan.step = step;
        for (int p = 0; p < kInkPlanes; ++p) {
            for (int w = 0; w < 7; ++w)
                plan.omega[p][w] = Word(set, JM_OFF_G_OMEGA + 16 * p + 2 * w);
            for (int w = 0; w < 4; ++w)
                plan.delta[p][w] = Word(set, JM_OFF_G_DELTA + 16 * p + 2 * w);
        }
        if (step == Step::Point) FinishPointPlan(plan);
    };
    // A separation puts one plane's lookup in place and leaves the others at white.
    auto separation = [&](Function f, int plane, std::array<Lut, kInkPlanes> level) {
        set_plan(f, level, static_cast<Output>(1 + plane));
    };
    const auto cTemp = every(&PlaneCurves::cGamma, &PlaneCurves::head);
    const auto gTemp = every(&PlaneCurves::gGamma, &PlaneCurves::media);
    const auto iGamma = every(&PlaneCurves::iGamma);
    for (int p = 0; p < kInkPlanes; ++p) {
        separation(static_cast<Function>(static_cast<int>(Function::cGammaTempY) + p), p, cTemp);
        separation(static_cast<Function>(static_cast<int>(Function::gGammaTempY) + p), p, gTemp);
        separation(static_cast<Function>(static_cast<int>(Function::iGammaImpY) + p), p, iGamma);
    }
    set_plan(Function::cGammaDisp, every(&PlaneCurves::cGamma), Output::Colour);
    set_plan(Function::gGammaDisp, every(&PlaneCurves::gGamma), Output::Colour);
    set_plan(Function::cgGammaDisp, every(&PlaneCurves::cGamma, &PlaneCurves::gGamma),
             Output::Colour);
    set_plan(Function::ccgGammaDisp, every(&PlaneCurves::cChain, &PlaneCurves::gChain),
             Output::Colour);
    set_plan(Function::iGammaDisp, iGamma, Output::Colour);
    set_plan(Function::ciGammaDisp, every(&PlaneCurves::iChain), Output::Colour);
    const auto g = every(&PlaneCurves::gGamma);
    const auto cg = every(&PlaneCurves::cChain, &PlaneCurves::gGamma);
    set_plan(Function::oGammaDisp, g, Output::Colour, Step::Omega);
    set_plan(Function::coGammaDisp, cg, Output::Colour, Step::Omega);
    set_plan(Function::dGammaDisp, g, Output::Colour, Step::Delta);
    set_plan(Function::cdGammaDisp, cg, Output::Colour, Step::Delta);
    set_plan(Function::pDataSim, every(&PlaneCurves::print), Output::Colour);
    set_plan(Function::hDataSim, every(&PlaneCurves::strobe), Output::Grey);

    BuildMarkers(set, model);
    BuildStrobeSums(set, model);
}

}  // namespace jm
