#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// What setDataTable keeps of a data set: for every image function the lookup
// tables that draw it, and the markers and strobe sums, all worked out once.
namespace jm {

using Lut = std::array<uint8_t, 256>;

// The image functions, in the order of their table in engineFunctions().
enum class Function : int {
    cGammaTempY,
    cGammaTempM,
    cGammaTempC,
    gGammaTempY,
    gGammaTempM,
    gGammaTempC,
    cGammaDisp,
    gGammaDisp,
    cgGammaDisp,
    ccgGammaDisp,
    iGammaImpY,
    iGammaImpM,
    iGammaImpC,
    iGammaDisp,
    ciGammaDisp,
    oGammaDisp,
    coGammaDisp,
    dGammaDisp,
    cdGammaDisp,
    pDataSim,
    hDataSim,
};
inline constexpr int kFunctionCount = 21;

// Ink planes of a picture, and the pixel byte each one is read from.
inline constexpr int kInkPlanes = 3;                                      // Y, M, C
inline constexpr std::array<int, kInkPlanes> kChannelShift = {0, 8, 16};  // blue, green, red

enum class Step { Point, Omega, Delta };
enum class Output { Colour, SeparationY, SeparationM, SeparationC, Grey };

// How one image function draws.
struct Plan {
    Step step = Step::Point;
    Output output = Output::Colour;
    // Per ink plane: the plane's ink level (0..255) -> its level after the curves.
    std::array<Lut, kInkPlanes> level{};
    // Point step: per ink plane, the pixel byte of that plane -> what is drawn
    // (Colour/Separation: the output byte already shifted into place; Grey:
    // the plane's strobe share s_p).
    std::array<std::array<uint32_t, 256>, kInkPlanes> channel{};
    // Per ink plane: kernel weights A..G, or LowSH, HightSH, L2HCoef, H2LCoef.
    std::array<std::array<int32_t, 7>, kInkPlanes> omega{};
    std::array<std::array<int32_t, 4>, kInkPlanes> delta{};
};

struct Model {
    std::array<Plan, kFunctionCount> plans;
    std::array<unsigned char, 16> markers{};
    std::array<int32_t, 4> stbSum{};
};

// Builds the model from a whole data set (JM_ENGINE_IMAGE_SIZE bytes).
void BuildModel(const unsigned char* dataSet, Model& model);

}  // namespace jm
