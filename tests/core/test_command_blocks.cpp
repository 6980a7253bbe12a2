#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/colour_data.h"
#include "core/command_blocks.h"
#include "core/errors.h"

using namespace Module2;

namespace {

std::string Sent(int from, int count) {
    return std::string(reinterpret_cast<const char*>(SendBuffer.data()) + from, count);
}

std::vector<uint8_t> SentBytes(int from, int count) {
    return std::vector<uint8_t>(SendBuffer.begin() + from, SendBuffer.begin() + from + count);
}

class CommandBlocks : public ::testing::Test {
protected:
    void SetUp() override {
        ModuleDataPro::InitColorData();
        SendBuffer.fill(0xAA);
        ReceiveBuffer.fill(0);
    }
};

TEST_F(CommandBlocks, Headers) {
    const struct {
        const char* command;
        const char* parameter;
        int32_t length;
        std::string expected;
    } cases[] = {
        {"TBL_WT", "HeadTemp_Y", 512, "\x1bPTBL_WTHeadTemp_Y      00000512"},
        {"TBL_RD", "MediaHumidity_OP", -1, "\x1bPTBL_RDMediaHumidity_OP        "},
        {"TBL_WT", "Version", 0, "\x1bPTBL_WTVersion         00000000"},
        {"CNTRL", "", 4, "\x1bPCNTRL                 00000004"},
        {"TOOLONGCMD", "PARAMETER_LONGER_THAN_16", 99999999, "\x1bPTOOLONPARAMETER_LONGER99999999"},
    };
    for (const auto& c : cases) {
        SendBuffer.fill(0xAA);
        EXPECT_EQ(BuildCommandHeader(c.command, c.parameter, c.length), 32);
        EXPECT_EQ(Sent(0, 32), c.expected) << c.parameter;
        EXPECT_EQ(SendBuffer[32], 0xAA) << "nothing past the header";
    }
}

TEST_F(CommandBlocks, DefaultCurvePlaneOnTheWire) {
    int16_t pos = BuildCommandHeader("TBL_WT", "HeadTemp_Y", 512);
    EXPECT_EQ(PutCurveColumn(pos, ColorDataSet.HeadTemp, PlaneYellow), 544);
    EXPECT_EQ(pos, 544);
    EXPECT_EQ(SentBytes(32, 6), (std::vector<uint8_t>{0x80, 0x00, 0x00, 0x27, 0x00, 0x4E}));
    EXPECT_EQ(SentBytes(32 + 510, 2), (std::vector<uint8_t>{0xA6, 0xE9}));
    EXPECT_EQ(SendBuffer[544], 0xAA);
}

TEST_F(CommandBlocks, WireWordsDecodeWithTheirFlag) {
    ReceiveBuffer[0] = 0xFF;
    ReceiveBuffer[1] = 0xFF;
    ReceiveBuffer[2] = 0x80;
    ReceiveBuffer[3] = 0x27;
    int16_t pos = 0;
    GetCurveColumn(pos, ColorDataSet.C_Gamma, PlaneMagenta);
    EXPECT_EQ(pos, 512);
    EXPECT_EQ(static_cast<uint16_t>(ColorDataSet.C_Gamma(0, PlaneMagenta)), 0xFFFF);
    EXPECT_EQ(ModuleDataPro::GetTableValue(ColorDataSet.C_Gamma, PlaneMagenta, 0), 0x7FFF);
    EXPECT_TRUE(ModuleDataPro::IsControlPoint(ColorDataSet.C_Gamma, PlaneMagenta, 0));
    EXPECT_EQ(ModuleDataPro::GetTableValue(ColorDataSet.C_Gamma, PlaneMagenta, 1), 39);
    EXPECT_TRUE(ModuleDataPro::IsControlPoint(ColorDataSet.C_Gamma, PlaneMagenta, 1));
    EXPECT_EQ(ColorDataSet.C_Gamma(0, PlaneYellow), static_cast<int16_t>(0x8000));
}

TEST_F(CommandBlocks, StartCmpDataTravelsPlaneFastest) {
    ColorDataSet.StartCmpData(1, 0, 0, 0) = 0x0102;
    ColorDataSet.StartCmpData(0, 1, 0, 0) = 0x0304;
    ColorDataSet.StartCmpData(0, 0, 1, 0) = 0x0506;
    ColorDataSet.StartCmpData(3, 4, 9, 4) = 0x0708;
    int16_t pos = 32;
    PutStartCmpData(pos);
    EXPECT_EQ(SentBytes(32 + 2 * 1, 2), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(SentBytes(32 + 2 * 4, 2), (std::vector<uint8_t>{3, 4}));
    EXPECT_EQ(SentBytes(32 + 2 * 20, 2), (std::vector<uint8_t>{5, 6}));
    EXPECT_EQ(SentBytes(32 + 2 * 999, 2), (std::vector<uint8_t>{7, 8}));
}

TEST_F(CommandBlocks, OmegaRoundTripKeepsTheUnsentWord) {
    for (int w = 0; w < 8; ++w) ColorDataSet.GOmegaParams(w, 1) = static_cast<int16_t>(w + 10);
    int16_t pos = 32;
    PutGOmega(pos, 1);
    std::copy(SendBuffer.begin() + 32, SendBuffer.begin() + 48, ReceiveBuffer.begin());
    for (int w = 0; w < 8; ++w) ColorDataSet.GOmegaParams(w, 1) = -7;
    pos = 0;
    GetGOmega(pos, 1);
    for (int w = 0; w < 7; ++w) EXPECT_EQ(ColorDataSet.GOmegaParams(w, 1), w + 10);
    EXPECT_EQ(ColorDataSet.GOmegaParams(7, 1), -7);
}

TEST_F(CommandBlocks, VersionText) {
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {"0123456789012345678901234567890123456789", "01234567890123456789012345678901"},
        {"", std::string(32, ' ')},
        {"DEMO_V2.KTD", "DEMO_V2.KTD" + std::string(21, ' ')},
        {"\xC3\xA9t\xE2\x82\xAC", "\xE9t?" + std::string(29, ' ')},  // é stays one byte, € is '?'
    };
    for (const auto& c : cases) {
        int16_t pos = 32;
        EXPECT_EQ(PutVersionText(pos, c.text), 64);
        EXPECT_EQ(Sent(32, 32), c.expected);
    }
    EXPECT_EQ(FromAnsi("\xE9t"), "\xC3\xA9t");
}

TEST_F(CommandBlocks, OutOfRangeIsAnErrorBeforeAnyWrite) {
    const auto sendBefore = SendBuffer;
    const ColorData dataBefore = ColorDataSet;
    // Each case: the position handed over, and the codec called with it.
    const struct {
        int16_t pos;
        int16_t (*call)(int16_t&);
    } cases[] = {
        {-2, [](int16_t& p) { return PutEGammaRange(p, 0); }},
        {32760, [](int16_t& p) { return PutGDelta(p, 0); }},
        {32300, [](int16_t& p) { return PutCurveColumn(p, ColorDataSet.HeadTemp, 0); }},
        {32, [](int16_t& p) { return PutCSigma(p, PlaneAll); }},
        {32, [](int16_t& p) { return PutCurveColumn(p, ColorDataSet.HeadTemp, -1); }},
        {32767, [](int16_t& p) { return GetPrintModeData(p); }},
        {0, [](int16_t& p) { return GetCurveColumn(p, ColorDataSet.HeadTemp, 4); }},
        {-1, [](int16_t& p) { return GetStartCmpData(p); }},
    };
    for (const auto& c : cases) {
        int16_t pos = c.pos;
        EXPECT_ANY_THROW(c.call(pos)) << c.pos;
        EXPECT_EQ(pos, c.pos);
    }
    int16_t p = 32767;
    EXPECT_THROW(PutVersionText(p, "x"), NumberOverflow);
    EXPECT_EQ(p, 32767);
    EXPECT_EQ(SendBuffer, sendBefore);
    EXPECT_EQ(FileImage(ColorDataSet), FileImage(dataBefore));
    // The last positions that still fit are accepted.
    p = 32767 - 16;
    EXPECT_EQ(PutGOmega(p, 0), 32767);
}

}  // namespace
