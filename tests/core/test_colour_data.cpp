#include <gtest/gtest.h>

#include <cstring>

#include "core/colour_data.h"
#include "core/errors.h"

using namespace ModuleDataPro;

namespace {

class ColourData : public ::testing::Test {
protected:
    void SetUp() override { InitColorData(); }
};

TEST_F(ColourData, DefaultsOfEveryCurveTableAreTheRampWithEndNodes) {
    const struct {
        int point;
        int value;
    } ramp[] = {{0, 0},      {1, 39},     {2, 78},     {3, 117},    {64, 2500},
                {127, 4961}, {128, 5000}, {192, 7500}, {254, 9922}, {255, 9961}};
    for (CurveTable* table : CurveTables(ColorDataSet)) {
        for (int p = 0; p < PlaneCount; ++p) {
            for (const auto& r : ramp) EXPECT_EQ(GetTableValue(*table, p, r.point), r.value);
            for (int i = 0; i < CurvePoints; ++i)
                EXPECT_EQ(IsControlPoint(*table, p, i), i == 0 || i == 255) << i;
            EXPECT_EQ(static_cast<uint16_t>((*table)(0, p)), 0x8000);
            EXPECT_EQ(static_cast<uint16_t>((*table)(255, p)), 0xA6E9);
        }
    }
}

TEST_F(ColourData, DefaultsOfTheParameterTables) {
    const ColorData& d = ColorDataSet;
    for (int p = 0; p < PlaneCount; ++p) {
        EXPECT_EQ(GetEGammaStart(p), 2000);
        EXPECT_EQ(GetEGammaEnd(p), 8000);
        const int16_t sigma[8] = {4000, 2000, 1000, 0, 0, 0, 0, 0};
        const int16_t omega[8] = {8, 0, 0, 0, 0, 0, 0, 0};
        for (int w = 0; w < ParamWords; ++w) {
            EXPECT_EQ(d.CSigmaParams(w, p), sigma[w]);
            EXPECT_EQ(d.GSigmaParams(w, p), sigma[w]);
            EXPECT_EQ(d.GOmegaParams(w, p), omega[w]);
            EXPECT_EQ(d.GDeltaParams(w, p), 0);
        }
    }
    for (int16_t w : d.StartCmpData.Words) EXPECT_EQ(w, 0);
    EXPECT_EQ(d.PrintModeData.PrintCycle, 600);
}

TEST_F(ColourData, SettingAValueKeepsEachPlanesControlPoint) {
    CurveTable& t = ColorDataSet.HeadTemp;
    SetTableValue(t, PlaneYellow, 0, 5000);
    EXPECT_EQ(static_cast<uint16_t>(t(0, 0)), 0x9388);

    SetControlPoint(t, PlaneCyan, 10, true);
    SetTableValue(t, PlaneAll, 10, 1234);
    for (int p = 0; p < PlaneCount; ++p) {
        EXPECT_EQ(GetTableValue(t, p, 10), 1234);
        EXPECT_EQ(IsControlPoint(t, p, 10), p == PlaneCyan);
    }

    // A negative value is Or-ed in as its bit pattern and so sets the flag.
    SetTableValue(t, PlaneMagenta, 20, -1);
    EXPECT_TRUE(IsControlPoint(t, PlaneMagenta, 20));
    EXPECT_EQ(GetTableValue(t, PlaneMagenta, 20), 0x7FFF);
}

TEST_F(ColourData, PlaneAllReadsPlaneZeroAndWritesEveryPlane) {
    CurveTable& t = ColorDataSet.MediaTemp;
    SetTableValue(t, PlaneMagenta, 5, 222);
    SetControlPoint(t, PlaneYellow, 5, true);
    SetEGammaStart(PlaneOp, 300);
    SetEGammaEnd(PlaneCyan, 7000);
    EXPECT_EQ(GetTableValue(t, PlaneAll, 5), 195);
    EXPECT_TRUE(IsControlPoint(t, PlaneAll, 5));
    EXPECT_EQ(GetEGammaStart(PlaneAll), 2000);
    EXPECT_EQ(GetEGammaEnd(PlaneAll), 8000);

    SetEGammaStart(PlaneAll, 1500);
    SetEGammaEnd(PlaneAll, 8500);
    SetControlPoint(t, PlaneAll, 255, false);
    for (int p = 0; p < PlaneCount; ++p) {
        EXPECT_EQ(GetEGammaStart(p), 1500);
        EXPECT_EQ(GetEGammaEnd(p), 8500);
        EXPECT_EQ(t(255, p), 9961) << "flag cleared, value kept";
    }
}

TEST_F(ColourData, OutOfRangeIndicesThrowAndChangeNothing) {
    const std::vector<uint8_t> before = FileImage(ColorDataSet);
    CurveTable& t = ColorDataSet.HeadTemp;
    EXPECT_THROW(SetTableValue(t, 5, 0, 1), SubscriptOutOfRange);
    EXPECT_THROW(SetTableValue(t, -1, 0, 1), SubscriptOutOfRange);
    EXPECT_THROW(SetTableValue(t, PlaneAll, 256, 1), SubscriptOutOfRange);
    EXPECT_THROW(SetControlPoint(t, 0, -1, true), SubscriptOutOfRange);
    EXPECT_THROW(GetTableValue(t, 0, 256), SubscriptOutOfRange);
    EXPECT_THROW(IsControlPoint(t, 7, 0), SubscriptOutOfRange);
    EXPECT_THROW(SetEGammaEnd(9, 0), SubscriptOutOfRange);
    EXPECT_THROW(ColorDataSet.GOmegaParams(8, 0), SubscriptOutOfRange);
    EXPECT_THROW(ColorDataSet.StartCmpData(0, 5, 0, 0), SubscriptOutOfRange);
    EXPECT_EQ(FileImage(ColorDataSet), before);
}

TEST_F(ColourData, FileImageAfterStartUp) {
    const std::vector<uint8_t> image = FileImage(ColorDataSet);
    ASSERT_EQ(image.size(), 37122u);
    const uint8_t header[16] = {'K', 'T', 'D', '0', '1'};
    EXPECT_EQ(std::memcmp(image.data(), header, 16), 0);
    const std::vector<uint8_t> printMode(image.begin() + 37106, image.begin() + 37116);
    EXPECT_EQ(printMode, (std::vector<uint8_t>{0, 0, 0x58, 0x02, 0, 0, 0, 0, 0, 0}));
    // HeadTemp point 1 of plane Y, little-endian.
    EXPECT_EQ(image[0x20 + 2], 39);
    EXPECT_EQ(image[0x20 + 3], 0);
}

TEST_F(ColourData, EngineImagePutsTheTailTwoBytesLater) {
    ColorDataSet.ReservedTail = {1, 2, 3, 4, 5, 6};
    const std::vector<uint8_t> file = FileImage(ColorDataSet);
    const std::vector<uint8_t> engine = EngineImage(ColorDataSet);
    ASSERT_EQ(engine.size(), 37124u);
    EXPECT_TRUE(std::equal(file.begin(), file.begin() + 37116, engine.begin()));
    EXPECT_EQ(engine[37116], 0);
    EXPECT_EQ(engine[37117], 0);
    EXPECT_TRUE(std::equal(file.begin() + 37116, file.end(), engine.begin() + 37118));

    ColorData back{};
    ReadEngineImage(back, engine.data(), engine.size());
    EXPECT_EQ(FileImage(back), file);
    EXPECT_THROW(ReadEngineImage(back, engine.data(), 37122), SubscriptOutOfRange);
}

}  // namespace
