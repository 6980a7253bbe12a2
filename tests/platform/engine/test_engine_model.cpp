// The engine's model, worked out by hand on 2 x 2 pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/platform/engine/engine_test_support.h"

namespace {

// White, black, 0x123456 (Y 169, M 203, C 237) and a half-transparent red
// (Y 255, M 255, C 0).
const std::vector<uint32_t> kPicture = {0xFFFFFFFF, 0xFF000000, 0xFF123456, 0x80FF0000};

std::vector<uint32_t> Draw(ImageFunction f, const TestSet& set, std::vector<uint32_t> px, int w = 2,
                           int h = 2) {
    set.Hand();
    TestPicture picture(w, h, std::move(px));
    TestPicture surface(w, h, {}, 1);
    JmBitmap s = surface.Bitmap(), p = picture.Bitmap();
    EXPECT_EQ(f(&s, &p), JM_OK);
    for (int y = 0; y < h; ++y) EXPECT_EQ(surface.At(w, y), 0xDEADBEEFu) << "past the row";
    return surface.Rows();
}

// Plane Y inverted (255 - i), plane M fixed at 5000 (looks up as 128, the
// half rounded up), plane C unchanged: written into one table of a chain whose
// other tables map i to i, every function of that chain draws the same.
TestSet WithTestCurves(int table) {
    TestSet set;
    set.Curve(table, 0, [](int i) { return TestSet::Level(255 - i); });
    set.Curve(table, 1, [](int) { return 5000; });
    return set;
}

// Y' = 255 - Y, M' = 128, C' = C drawn in colour, as separations, or nothing
// changed when the table is not in the function's chain.
const std::vector<uint32_t> kColour = {0xFFFF7F00, 0xFF007FFF, 0xFF127FA9, 0x80FF7FFF};
const std::vector<uint32_t> kSepY = {0xFFFFFF00, 0xFFFFFFFF, 0xFFFFFFA9, 0x80FFFFFF};
const std::vector<uint32_t> kSepM = {0xFFFF7FFF, 0xFFFF7FFF, 0xFFFF7FFF, 0x80FF7FFF};
const std::vector<uint32_t> kSepC = {0xFFFFFFFF, 0xFF00FFFF, 0xFF12FFFF, 0x80FFFFFF};

TEST(EngineModel, EachFunctionDrawsItsChainOfTables) {
    const struct {
        ImageFunction f;
        int table;
        const std::vector<uint32_t>& expected;
    } cases[] = {
        {cGammaDisp, JM_OFF_C_GAMMA, kColour},     {gGammaDisp, JM_OFF_G_GAMMA, kColour},
        {cgGammaDisp, JM_OFF_C_GAMMA, kColour},    {cgGammaDisp, JM_OFF_G_GAMMA, kColour},
        {ccgGammaDisp, JM_OFF_C_EPSILON, kColour}, {ccgGammaDisp, JM_OFF_G_THETA, kColour},
        {iGammaDisp, JM_OFF_I_GAMMA, kColour},     {ciGammaDisp, JM_OFF_I_THETA, kColour},
        {ciGammaDisp, JM_OFF_I_EPSILON, kColour},  {oGammaDisp, JM_OFF_G_GAMMA, kColour},
        {coGammaDisp, JM_OFF_C_THETA, kColour},    {dGammaDisp, JM_OFF_G_GAMMA, kColour},
        {cdGammaDisp, JM_OFF_C_GAMMA, kColour},    {pDataSim, JM_OFF_E_EPSILON, kColour},
        {pDataSim, JM_OFF_G_EPSILON, kColour},     {pDataSim, JM_OFF_I_GAMMA, kColour},
        {cGammaTempY, JM_OFF_C_GAMMA, kSepY},      {cGammaTempM, JM_OFF_C_GAMMA, kSepM},
        {cGammaTempC, JM_OFF_C_GAMMA, kSepC},      {gGammaTempY, JM_OFF_G_GAMMA, kSepY},
        {gGammaTempM, JM_OFF_G_GAMMA, kSepM},      {gGammaTempC, JM_OFF_G_GAMMA, kSepC},
        {iGammaImpY, JM_OFF_I_GAMMA, kSepY},       {iGammaImpM, JM_OFF_I_GAMMA, kSepM},
        {iGammaImpC, JM_OFF_I_GAMMA, kSepC},       {cGammaTempY, JM_OFF_HEAD_TEMP, kSepY},
        {gGammaTempM, JM_OFF_MEDIA_TEMP, kSepM},   {cGammaDisp, JM_OFF_G_GAMMA, kPicture},
        {gGammaDisp, JM_OFF_C_GAMMA, kPicture},    {iGammaDisp, JM_OFF_I_THETA, kPicture},
        {oGammaDisp, JM_OFF_C_GAMMA, kPicture},    {pDataSim, JM_OFF_STB_GAMMA, kPicture},
    };
    int row = 0;
    for (const auto& c : cases) {
        TestSet set = WithTestCurves(c.table);
        for (int p = 0; p < 2; ++p) {  // temperature tables act in full
            set.Curve(JM_OFF_TEMP_COEF, p, [](int) { return 10000; });
        }
        EXPECT_EQ(Draw(c.f, set, kPicture), c.expected) << "row " << row++;
    }
}

TEST(EngineModel, TemperatureCoefficientWeighsTheCorrection) {
    // Temperature table 0 at every level, coefficient 5000 (128 of 255): level
    // d goes to d - round(d * 128 / 255): 255 -> 127, 169 -> 84.
    const std::pair<ImageFunction, int> cases[] = {{cGammaTempY, JM_OFF_HEAD_TEMP},
                                                   {gGammaTempY, JM_OFF_MEDIA_TEMP}};
    for (auto [f, table] : cases) {
        TestSet set;
        set.Curve(table, 0, [](int) { return 0; });
        set.Curve(JM_OFF_TEMP_COEF, 0, [](int) { return 5000; });
        EXPECT_EQ(Draw(f, set, kPicture),
                  (std::vector<uint32_t>{0xFFFFFFFF, 0xFFFFFF80, 0xFFFFFFAB, 0x80FFFF80}));
    }
}

TEST(EngineModel, PrintDataPlacesEnergyInTheEGammaRange) {
    // Plane Y, range 2000..6000: levels 40, 60, 86, 200 have energies 1569,
    // 2353, 3373, 7843 and print as 0, 23, 88, 255.
    TestSet set;
    set.Range(0, 2000, 6000);
    EXPECT_EQ(Draw(pDataSim, set, {0xFFFFFFD7, 0xFFFFFFC3, 0xFFFFFFA9, 0xFFFFFF37}),
              (std::vector<uint32_t>{0xFFFFFFFF, 0xFFFFFFE8, 0xFFFFFFA7, 0xFFFFFF00}));
    // An end at or below the start makes a hard step at the start.
    set.Range(0, 3000, 3000);
    EXPECT_EQ(Draw(pDataSim, set, {0xFFFFFFD7, 0xFFFFFFC3, 0xFFFFFFA9, 0xFFFFFF37}),
              (std::vector<uint32_t>{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFF00, 0xFFFFFF00}));
}

TEST(EngineModel, OmegaKernelWeighsTheNeighbours) {
    // Y: E 8 + G 8 (itself and the pixel below); M: D 16 (the pixel to the
    // left); C: B 32, E -16 (twice the pixel above less itself, clamped).
    TestSet set;
    set.Param(JM_OFF_G_OMEGA, 0, {0, 0, 0, 0, 8, 0, 8});
    set.Param(JM_OFF_G_OMEGA, 1, {0, 0, 0, 16, 0, 0, 0});
    set.Param(JM_OFF_G_OMEGA, 2, {0, 32, 0, 0, -16, 0, 0});
    // Levels (Y, M, C): (0, 10, 50) (100, 20, 60) / (51, 30, 200) (255, 40, 10).
    const std::vector<uint32_t> picture = {0xFFCDF5FF, 0xFFC3EB9B, 0xFF37E1CC, 0xFFF5D700};
    // (26, 10, 50) (178, 10, 60) / (51, 30, 0) (255, 30, 110).
    EXPECT_EQ(Draw(oGammaDisp, set, picture),
              (std::vector<uint32_t>{0xFFCDF5E5, 0xFFC3F54D, 0xFFFFE1CC, 0xFF91E100}));
}

TEST(EngineModel, DeltaRaisesAfterColdAndLowersAfterHotLines) {
    // Y: LowSH 50, HightSH 200, L2HCoef 30, H2LCoef 40. Levels 40 220 / 210 45:
    // 210 under a cold 40 gains 30, 45 under a hot 220 loses 40; the top row
    // has no line before it.
    TestSet set;
    set.Param(JM_OFF_G_DELTA, 0, {50, 200, 30, 40});
    EXPECT_EQ(Draw(dGammaDisp, set, {0xFFFFFFD7, 0xFFFFFF23, 0xFFFFFF2D, 0xFFFFFFD2}),
              (std::vector<uint32_t>{0xFFFFFFD7, 0xFFFFFF23, 0xFFFFFF0F, 0xFFFFFFFA}));
}

TEST(EngineModel, HeadDataIsTheMeanStrobeAsGrey) {
    // STB_Gamma of plane Y switches nothing on; M and C map i to i.
    TestSet set;
    set.Curve(JM_OFF_STB_GAMMA, 0, [](int) { return 0; });
    EXPECT_EQ(Draw(hDataSim, set, kPicture),
              (std::vector<uint32_t>{0xFFFFFFFF, 0xFF555555, 0xFF6C6C6C, 0x80AAAAAA}));
}

TEST(EngineModel, CurveValuesScaleToLevelsAndIgnoreTheNodeFlag) {
    // value -> level: 5000 -> 128 (half up), 9961 -> 254, 10000 -> 255,
    // 20000 -> 255 (clamped), 0x8000 | 5000 -> 128 (node flag masked off).
    const std::pair<int, uint32_t> cases[] = {{5000, 0xFFFFFF7F},          {9961, 0xFFFFFF01},
                                              {10000, 0xFFFFFF00},         {20000, 0xFFFFFF00},
                                              {0x8000 | 5000, 0xFFFFFF7F}, {0, 0xFFFFFFFF}};
    for (auto [value, pixel] : cases) {
        TestSet set;
        set.Curve(JM_OFF_C_GAMMA, 0, [v = value](int) { return v; });
        EXPECT_EQ(Draw(cGammaDisp, set, {0xFFFFFFFF}, 1, 1), std::vector<uint32_t>{pixel}) << value;
    }
}

// Markers: E_Gamma value 100 x i, so level L is first reached at point ceil(L / 100).
struct MarkerCase {
    int start, end;
    int a, b;
    int lo, hi, mid;  // what the editors show: a / 4, b / 4 and their midpoint
};

int EditorRound(double v) {
    return static_cast<int>(std::nearbyint(v));
}  // halves to even

TEST(EngineMarkers, FirstPointsReachingTheRangeTimesFour) {
    const MarkerCase cases[] = {
        {200, 400, 8, 16, 2, 4, 3},       {200, 600, 8, 24, 2, 6, 4},
        {0, 25500, 0, 1020, 0, 255, 128}, {150, 30000, 8, 255, 2, 64, 33},
        {-5, 25501, 0, 255, 0, 64, 32},   {200, 250, 8, 12, 2, 3, 2},
    };
    for (const MarkerCase& c : cases) {
        TestSet set;
        for (int p = 0; p < 4; ++p) {  // point 2 also carries the node flag
            set.Curve(JM_OFF_E_GAMMA, p, [](int i) { return 100 * i | (i == 2 ? 0x8000 : 0); });
        }
        set.Range(2, c.start, c.end);
        set.Hand();
        unsigned char record[20];
        std::fill(std::begin(record), std::end(record), 0xEE);
        ASSERT_EQ(getiDataTable(record), JM_OK);
        const int a = static_cast<int16_t>(record[8] | record[9] << 8);
        const int b = static_cast<int16_t>(record[10] | record[11] << 8);
        EXPECT_EQ(a, c.a) << c.start;
        EXPECT_EQ(b, c.b) << c.end;
        const int lo = EditorRound(a / 4.0), hi = EditorRound(b / 4.0);
        EXPECT_EQ((std::vector<int>{lo, hi, EditorRound(std::abs(hi - lo) / 2.0 + lo)}),
                  (std::vector<int>{c.lo, c.hi, c.mid}));
        // The planes left at 0..10000 reach 10000 at point 100; 16 bytes only.
        EXPECT_EQ((std::vector<int>(record, record + 4)), (std::vector<int>{0, 0, 0x90, 0x01}));
        EXPECT_EQ(record[16], 0xEE);
    }
}

TEST(EngineStrobeSum, TotalStrobeTimeFromTheCurveAndThePitch) {
    struct Case {
        std::function<int(int)> curve;
        int pitch;
        int32_t ns;
    };
    const Case cases[] = {
        {[](int i) { return i * 10001 / 256; }, 0, 5313},  // the default ramp: 1,275,000
        {[](int i) { return i * 10001 / 256; }, 22, 63750},
        {[](int i) { return i * 10001 / 256; }, -7, 5313},  // a negative pitch counts as 0
        {[](int) { return 0x7FFF; }, 0, 10667},             // values above 10000 count as 10000
        {[](int) { return 0; }, 500, 0},
    };
    for (const Case& c : cases) {
        TestSet set;
        set.Curve(JM_OFF_STB_GAMMA, 3, c.curve);
        set.Word(JM_OFF_STB_PITCH, c.pitch);
        set.Hand();
        int32_t sums[5] = {0, 0, 0, 0, -1};
        ASSERT_EQ(getStbSum(sums), JM_OK);
        EXPECT_EQ(sums[3], c.ns) << c.pitch;
        EXPECT_EQ(sums[4], -1);
    }
}

}  // namespace
