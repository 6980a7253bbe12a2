#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/colour_data.h"
#include "core/engine_link.h"
#include "platform/engine/jm_engine.h"

namespace {

// Every test starts from the default data set and the real engine beside the tests.
class EngineLink : public ::testing::Test {
protected:
    void SetUp() override {
        JmEngine::UseLibrary("libJmEngine.so");
        ModuleDataPro::InitColorData();
    }
    void TearDown() override { JmEngine::UseLibrary("libJmEngine.so"); }
};

// E_Gamma rising by 40 a point: the start level 400 is reached at point 10, the end level 1000 at
// point 25; a plane whose range lies above the curve has no such points.
TEST_F(EngineLink, MarkersComeBackPerPlaneFromTheDataSetHandedOver) {
    for (int p = 0; p < PlaneCount; ++p)
        for (int i = 0; i < CurvePoints; ++i)
            ColorDataSet.E_Gamma(i, p) = static_cast<int16_t>(40 * i);
    const struct {
        int plane, start, end;
        int16_t a, b;
    } rows[] = {{0, 400, 1000, 40, 100},
                {1, 0, 40, 0, 4},
                {2, 20000, 20000, 255, 255},
                {3, 10160, 30000, 1016, 255}};
    for (const auto& row : rows) {
        ColorDataSet.EGammaRange(0, row.plane) = static_cast<int16_t>(row.start);
        ColorDataSet.EGammaRange(1, row.plane) = static_cast<int16_t>(row.end);
    }
    JmEngine::setDataTable(ColorDataSet);
    JmEngine::MarkerRecord record{};
    JmEngine::getiDataTable(record);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.plane);
        EXPECT_EQ(JmEngine::MarkerPair(record, row.plane), std::make_pair(row.a, row.b));
    }
    // What an editor asks: plane 0's pair (40, 100) puts the markers at 10, 25 and 18 (17.5).
    StbSum = {-1, -1, -1, -1};
    const JmEngine::CurveMarkers markers = JmEngine::AskMarkers(PlaneAll);
    EXPECT_EQ(std::vector<int>({markers.lo, markers.hi, markers.mid}),
              std::vector<int>({10, 25, 18}));
    EXPECT_GT(StbSum[3], 0);
}

// a / 4 and b / 4 halves to even, the third halfway between as a distance from the first.
TEST(CurveMarkers, StandAtAQuarterOfThePairAndHalfwayBetween) {
    const struct {
        int16_t a, b, lo, hi, mid;
    } rows[] = {{10, 14, 2, 4, 3},    {6, 22, 2, 6, 4},       {40, 52, 10, 13, 12},
                {80, 40, 20, 10, 25}, {255, 255, 64, 64, 64}, {0, 1020, 0, 255, 128},
                {-8, 8, -2, 2, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.a << ", " << row.b);
        for (int plane : {0, 1, 2, 3}) {
            JmEngine::MarkerRecord record{};
            const auto put = [&](int at, int16_t v) {
                record[at] = static_cast<uint8_t>(v & 0xFF);
                record[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
            };
            put(4 * plane, row.a);
            put(4 * plane + 2, row.b);
            const JmEngine::CurveMarkers m = JmEngine::MarkersOf(record, plane);
            EXPECT_EQ(std::vector<int>({m.lo, m.hi, m.mid}),
                      std::vector<int>({row.lo, row.hi, row.mid}));
            // "ALL" shows plane 0.
            const JmEngine::CurveMarkers all = JmEngine::MarkersOf(record, PlaneAll);
            EXPECT_EQ(all.lo, plane == 0 ? row.lo : 0);
        }
    }
}

TEST_F(EngineLink, StrobeSumsFollowTheStrobeGammaTable) {
    JmEngine::setDataTable(ColorDataSet);
    std::array<int32_t, 4> sums{};
    JmEngine::getStbSum(sums);
    const auto defaults = sums;
    for (int i = 0; i < CurvePoints; ++i) ColorDataSet.STB_Gamma(i, 2) = 0;
    JmEngine::setDataTable(ColorDataSet);
    JmEngine::getStbSum(sums);
    EXPECT_EQ(sums[2], 0);
    EXPECT_EQ(sums[0], defaults[0]);
    EXPECT_GT(defaults[0], 0);
}

TEST_F(EngineLink, AnImageFunctionDrawsIntoTheSurfaceFromThePicture) {
    // C_Gamma at zero everywhere takes every ink away: any picture becomes white.
    for (auto& word : ColorDataSet.C_Gamma.Words) word = 0;
    std::vector<uint32_t> picture = {0xFF000000, 0xFF123456, 0xFFFF0000, 0xFF00FF00};
    std::vector<uint32_t> surface(4, 0);
    JmBitmap in{picture.data(), 2, 2, 8};
    JmBitmap out{surface.data(), 2, 2, 8};
    JmEngine::setDataTable(ColorDataSet);
    JmEngine::RunImageFunction("cGammaDisp", out, in);
    EXPECT_EQ(surface, std::vector<uint32_t>(4, 0xFFFFFFFF));
    EXPECT_EQ(picture[1], 0xFF123456u);
}

TEST_F(EngineLink, WhatCannotBeFoundOrFailsIsReportedWithItsName) {
    std::vector<uint32_t> pixels(4, 0);
    JmBitmap picture{pixels.data(), 2, 2, 8};
    JmBitmap nowhere{nullptr, 2, 2, 8};
    JmEngine::setDataTable(ColorDataSet);
    try {
        JmEngine::RunImageFunction("noSuchSimulation", picture, picture);
        FAIL() << "an unknown function was called";
    } catch (const JmEngine::Unavailable& e) {
        EXPECT_NE(std::string(e.what()).find("noSuchSimulation"), std::string::npos);
    }
    EXPECT_THROW(JmEngine::RunImageFunction("pDataSim", nowhere, picture), JmEngine::Failed);

    JmEngine::UseLibrary("libJmEngineMissing.so");
    try {
        JmEngine::setDataTable(ColorDataSet);
        FAIL() << "a missing library was called";
    } catch (const JmEngine::Unavailable& e) {
        EXPECT_NE(std::string(e.what()).find("libJmEngineMissing.so"), std::string::npos);
    }
    JmEngine::UseLibrary("libJmEngine.so");
    EXPECT_NO_THROW(JmEngine::setDataTable(ColorDataSet));
}

}  // namespace
