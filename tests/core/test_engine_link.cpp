#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/colour_data.h"
#include "core/engine_link.h"
#include "platform/engine/jm_engine.h"

namespace {

std::vector<int> Points(const JmEngine::CurveMarkers& m) {
    return {m.lo, m.hi, m.mid};
}

class EngineLink : public ::testing::Test {
protected:
    void SetUp() override { ModuleDataPro::InitColorData(); }
    void TearDown() override { JmEngine::UseLibrary("libJmEngine.so"); }
};

// E_Gamma rising by 40 a point reaches a level L at point L / 40 (rounded up); a range above the
// curve is never reached.
TEST_F(EngineLink, TheEnginesPairsComeBackPerPlaneOfTheDataSetAsItStands) {
    for (int p = 0; p < PlaneCount; ++p)
        for (int i = 0; i < CurvePoints; ++i)
            ColorDataSet.E_Gamma(i, p) = static_cast<int16_t>(40 * i);
    const struct {
        int start, end;
        int16_t a, b;
    } rows[] = {
        {400, 1000, 40, 100}, {0, 40, 0, 4}, {20000, 20000, 255, 255}, {10160, 30000, 1016, 255}};
    for (int p = 0; p < PlaneCount; ++p) {
        ColorDataSet.EGammaRange(0, p) = static_cast<int16_t>(rows[p].start);
        ColorDataSet.EGammaRange(1, p) = static_cast<int16_t>(rows[p].end);
    }
    JmEngine::setDataTable(ColorDataSet);
    JmEngine::MarkerRecord record{};
    JmEngine::getiDataTable(record);
    for (int p = 0; p < PlaneCount; ++p)
        EXPECT_EQ(JmEngine::MarkerPair(record, p), std::make_pair(rows[p].a, rows[p].b)) << p;

    StbSum = {-1, -1, -1, -1};
    EXPECT_EQ(Points(JmEngine::AskMarkers(PlaneAll)), (std::vector<int>{10, 25, 18}));
    EXPECT_GT(StbSum[3], 0);
}

// a / 4 and b / 4 halves to even, the third halfway between as a distance from the first.
TEST(CurveMarkers, StandAtAQuarterOfThePairAndHalfwayBetween) {
    const struct {
        int16_t a, b;
        std::vector<int> markers;
    } rows[] = {{10, 14, {2, 4, 3}},    {6, 22, {2, 6, 4}},       {40, 52, {10, 13, 12}},
                {80, 40, {20, 10, 25}}, {255, 255, {64, 64, 64}}, {-8, 8, {-2, 2, 0}}};
    for (const auto& row : rows) {
        for (int plane : {0, 3, int{PlaneAll}}) {
            JmEngine::MarkerRecord record{};
            const int at = 4 * (plane == PlaneAll ? 0 : plane);
            record[at] = static_cast<uint8_t>(row.a & 0xFF);
            record[at + 1] = static_cast<uint8_t>((row.a >> 8) & 0xFF);
            record[at + 2] = static_cast<uint8_t>(row.b & 0xFF);
            record[at + 3] = static_cast<uint8_t>((row.b >> 8) & 0xFF);
            EXPECT_EQ(Points(JmEngine::MarkersOf(record, plane)), row.markers)
                << row.a << ", " << row.b << " plane " << plane;
        }
    }
}

TEST_F(EngineLink, WhatCannotBeFoundOrFailsIsReportedByName) {
    std::vector<uint32_t> pixels(4, 0);
    JmBitmap picture{pixels.data(), 2, 2, 8};
    JmBitmap nowhere{nullptr, 2, 2, 8};
    JmEngine::setDataTable(ColorDataSet);
    EXPECT_THROW(JmEngine::RunImageFunction("pDataSim", nowhere, picture), JmEngine::Failed);
    const auto reason = [&](const char* function) -> std::string {
        try {
            JmEngine::RunImageFunction(function, picture, picture);
        } catch (const JmEngine::Unavailable& e) {
            return e.what();
        }
        return {};
    };
    EXPECT_NE(reason("noSuchSimulation").find("noSuchSimulation"), std::string::npos);
    JmEngine::UseLibrary("libJmEngineMissing.so");
    EXPECT_NE(reason("pDataSim").find("libJmEngineMissing.so"), std::string::npos);
    JmEngine::UseLibrary("libJmEngine.so");
    EXPECT_EQ(reason("pDataSim"), "");
}

}  // namespace
