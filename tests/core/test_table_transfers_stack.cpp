#include <functional>
#include <string>
#include <vector>

#include "core/command_blocks.h"
#include "core/jm_stat.h"
#include "core/table_transfers.h"
#include "stack_fixture.h"

using namespace Module2;

namespace {

using TableTransfers = StackTest;

// The 23 tables: writer, reader, whether they take a plane, and how to change what they send.
struct TableCase {
    const char* name;
    std::function<bool(int)> write;
    std::function<bool(int)> read;
    bool perPlane;
    std::function<void()> change;  // changes every word the table sends, in every plane
};

void FlipCurve(CurveTable& t) {
    for (int16_t& w : t.Words) w = static_cast<int16_t>(static_cast<uint16_t>(w) ^ 0x8001);
}

void BumpParams(ParamTable& t, int used) {
    for (int p = 0; p < PlaneCount; ++p)
        for (int w = 0; w < used; ++w) t(w, p) = static_cast<int16_t>(t(w, p) + 1);
}

#define PLANE_ROUTINES(Table) \
    [](int p) { return Write##Table(p); }, [](int p) { return Read##Table(p); }, true
#define CURVE_CASE(Table, Field)                                             \
    TableCase {                                                              \
#Table, PLANE_ROUTINES(Table), [] { FlipCurve(ColorDataSet.Field); } \
    }
#define PARAM_CASE(Table, Field, used)                                              \
    TableCase {                                                                     \
#Table, PLANE_ROUTINES(Table), [] { BumpParams(ColorDataSet.Field, used); } \
    }

std::vector<TableCase> AllTables() {
    return {
        CURVE_CASE(HeadTempTable, HeadTemp),
        CURVE_CASE(MediaTempTable, MediaTemp),
        CURVE_CASE(TempCoefTable, TempCoef),
        CURVE_CASE(STBGammaTable, STB_Gamma),
        TableCase{"EGammaTable", PLANE_ROUTINES(EGammaTable),
                  [] {
                      FlipCurve(ColorDataSet.E_Gamma);
                      for (int16_t& w : ColorDataSet.EGammaRange.Words)
                          w = static_cast<int16_t>(w - 3);
                  }},
        CURVE_CASE(CGammaTable, C_Gamma),
        CURVE_CASE(CThetaTable, C_Theta),
        CURVE_CASE(CEpsilonTable, C_Epsilon),
        CURVE_CASE(GGammaTable, G_Gamma),
        CURVE_CASE(GThetaTable, G_Theta),
        CURVE_CASE(GEpsilonTable, G_Epsilon),
        CURVE_CASE(EEpsilonTable, E_Epsilon),
        PARAM_CASE(GSigmaTable, GSigmaParams, 3),
        PARAM_CASE(CSigmaTable, CSigmaParams, 3),
        CURVE_CASE(IGammaTable, I_Gamma),
        CURVE_CASE(IThetaTable, I_Theta),
        CURVE_CASE(IEpsilonTable, I_Epsilon),
        PARAM_CASE(GOmegaTable, GOmegaParams, 7),
        PARAM_CASE(GDeltaTable, GDeltaParams, 4),
        CURVE_CASE(MediaHumidityTable, MediaHumidity),
        CURVE_CASE(HumidityCoefTable, HumidityCoef),
        TableCase{"StartCmpData", [](int) { return WriteStartCmpData(); },
                  [](int) { return ReadStartCmpData(); }, false,
                  [] {
                      for (int16_t& w : ColorDataSet.StartCmpData.Words)
                          w = static_cast<int16_t>(w + 11);
                  }},
        TableCase{
            "PrintModeData", [](int) { return WritePrintModeData(); },
            [](int) { return ReadPrintModeData(); }, false,
            [] {
                PrintModeRecord& m = ColorDataSet.PrintModeData;
                m = {static_cast<int16_t>(m.MediaSelect + 1),
                     static_cast<int16_t>(m.PrintCycle + 1), static_cast<int16_t>(m.STBPitch + 1),
                     static_cast<int16_t>(m.STBCalcCoef + 1), static_cast<int16_t>(m.OPData + 1)};
            }},
    };
}

// A set unlike the defaults and unlike the printer's factory tables: every word differs between
// planes, control points scattered, negative words included.
void FillDistinctSet() {
    int k = 0;
    for (CurveTable* t : CurveTables(ColorDataSet)) {
        ++k;
        for (int p = 0; p < PlaneCount; ++p)
            for (int i = 0; i < CurvePoints; ++i) {
                ModuleDataPro::SetTableValue(
                    *t, p, i, static_cast<int16_t>((i * 37 + p * 1013 + k * 7) % 10001));
                ModuleDataPro::SetControlPoint(*t, p, i, (i + p + k) % 9 == 0);
            }
    }
    for (ParamTable* t : {&ColorDataSet.CSigmaParams, &ColorDataSet.GSigmaParams,
                          &ColorDataSet.GOmegaParams, &ColorDataSet.GDeltaParams})
        for (int16_t& w : t->Words) w = static_cast<int16_t>(++k * 13 - 500);
    for (int16_t& w : ColorDataSet.EGammaRange.Words) w = static_cast<int16_t>(++k * 101);
    for (std::size_t i = 0; i < ColorDataSet.StartCmpData.Words.size(); ++i)
        ColorDataSet.StartCmpData.Words[i] = static_cast<int16_t>(static_cast<int>(i % 21) - 10);
    ColorDataSet.PrintModeData = {2, 305, 42, 77, 200};
}

TEST_F(TableTransfers, EveryTableWrittenAndReadBackIsTheSame) {
    for (const TableCase& t : AllTables()) {
        SCOPED_TRACE(t.name);
        ModuleDataPro::InitColorData();
        FillDistinctSet();
        const std::vector<uint8_t> written = FileImage(ColorDataSet);
        const int planes = t.perPlane ? PlaneCount : 1;
        for (int p = 0; p < planes; ++p) ASSERT_TRUE(t.write(p)) << p;
        t.change();
        ASSERT_NE(FileImage(ColorDataSet), written);
        for (int p = 0; p < planes; ++p) ASSERT_TRUE(t.read(p)) << p;
        EXPECT_EQ(FileImage(ColorDataSet), written);
    }
}

TEST_F(TableTransfers, PlanesOutsideZeroToThreeAreRefusedBeforeAnything) {
    for (const TableCase& t : AllTables()) {
        if (!t.perPlane) continue;
        for (int plane : {4, -1, 5, 32767}) {
            EXPECT_FALSE(t.write(plane)) << t.name << " " << plane;
            EXPECT_FALSE(t.read(plane)) << t.name << " " << plane;
        }
    }
    EXPECT_EQ(quillet_received_count(), 0);
    EXPECT_TRUE(notice.calls.empty());
}

TEST_F(TableTransfers, EGammaWritesTheCurveThenItsLevels) {
    ASSERT_TRUE(WriteEGammaTable(PlaneOp));
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].size(), 544u);
    EXPECT_EQ(Text(blocks[0], 2, 30), "TBL_WTE_Gamma_OP      00000512");
    EXPECT_EQ(blocks[1].size(), 36u);
    EXPECT_EQ(Text(blocks[1], 2, 30), "TBL_WTE_Gamma_OP_SE   00000004");
    EXPECT_EQ(std::vector<uint8_t>(blocks[1].begin() + 32, blocks[1].end()),
              (std::vector<uint8_t>{0x07, 0xD0, 0x1F, 0x40}));
    EXPECT_EQ(notice.calls, (std::vector<std::string>{"SENDING!", "-", "SENDING!", "-"}));
}

TEST_F(TableTransfers, EGammaStopsAfterAFailedCurveBlock) {
    quillet_fail_next(1);
    EXPECT_FALSE(WriteEGammaTable(PlaneOp));
    EXPECT_EQ(quillet_received_count(), 1);
    EXPECT_EQ(quillet_block_count(), 0);
    EXPECT_EQ(notice.calls, (std::vector<std::string>{"SENDING!", "-"}));
}

TEST_F(TableTransfers, ReadingGSigmaChangesThreeWordsOfOnePlane) {
    const std::vector<uint8_t> before = FileImage(ColorDataSet);
    const ColorData old = ColorDataSet;
    ASSERT_TRUE(ReadGSigmaTable(PlaneMagenta));
    EXPECT_EQ(notice.calls, (std::vector<std::string>{"RECEIVING!", "-"}));
    ColorData expected = old;
    for (int w = 0; w < 3; ++w)
        expected.GSigmaParams(w, PlaneMagenta) = ColorDataSet.GSigmaParams(w, PlaneMagenta);
    EXPECT_EQ(FileImage(ColorDataSet), FileImage(expected));
    // The printer's factory sigma differs from ours, so the read did change something.
    EXPECT_NE(FileImage(ColorDataSet), before);
}

TEST_F(TableTransfers, PrintModeBlock) {
    ColorDataSet.PrintModeData = {1, 601, 300, 120, 255};
    ASSERT_TRUE(WritePrintModeData());
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 1u);
    ASSERT_EQ(blocks[0].size(), 48u);
    EXPECT_EQ(Text(blocks[0], 0, 32), "\x1bPTBL_WTPrintModeData   00000016");
    EXPECT_EQ(
        std::vector<uint8_t>(blocks[0].begin() + 32, blocks[0].end()),
        (std::vector<uint8_t>{0, 1, 0x02, 0x59, 0x01, 0x2C, 0, 120, 0, 255, 0, 0, 0, 0, 0, 0}));
}

TEST_F(TableTransfers, ShortAndEmptyRepliesAreRefused) {
    const struct {
        const char* what;
        int kind;
        int arg;
        std::function<bool()> read;
    } cases[] = {
        {"empty curve", QUILLET_REPLY_EMPTY, 0, [] { return ReadHeadTempTable(0); }},
        {"short curve", QUILLET_REPLY_SHORT, 511, [] { return ReadMediaHumidityTable(3); }},
        {"short sigma", QUILLET_REPLY_SHORT, 15, [] { return ReadCSigmaTable(2); }},
        {"empty omega", QUILLET_REPLY_EMPTY, 0, [] { return ReadGOmegaTable(1); }},
        {"short start cmp", QUILLET_REPLY_SHORT, 1999, [] { return ReadStartCmpData(); }},
        {"short print mode", QUILLET_REPLY_SHORT, 10, [] { return ReadPrintModeData(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ModuleDataPro::InitColorData();
        // A full reply first, so that the receive buffer holds bytes a short reply could reuse.
        ASSERT_TRUE(ReadIGammaTable(0));
        ModuleDataPro::InitColorData();
        const std::vector<uint8_t> before = FileImage(ColorDataSet);
        notice.calls.clear();
        quillet_fault_next_reply(c.kind, c.arg);
        EXPECT_FALSE(c.read());
        EXPECT_EQ(FileImage(ColorDataSet), before);
        EXPECT_EQ(notice.calls, (std::vector<std::string>{"RECEIVING!", "-"}));
    }
}

TEST_F(TableTransfers, EGammaReadKeepsTheCurveWhenItsLevelsAreShort) {
    const ColorData before = ColorDataSet;
    quillet_fault_next_reply(QUILLET_REPLY_SHORT, 512);  // the curve plane whole
    quillet_fault_next_reply(QUILLET_REPLY_SHORT, 3);    // its levels one byte short
    EXPECT_FALSE(ReadEGammaTable(PlaneYellow));
    ColorData expected = before;
    expected.E_Gamma = ColorDataSet.E_Gamma;
    EXPECT_EQ(FileImage(ColorDataSet), FileImage(expected));
    EXPECT_NE(FileImage(ColorDataSet), FileImage(before));
    EXPECT_EQ(notice.calls.size(), 4u);
}

TEST_F(TableTransfers, TheNoticeAroundEachExchange) {
    for (int p = 0; p < PlaneCount; ++p) ASSERT_TRUE(WriteHumidityCoefTable(p));
    EXPECT_EQ(notice.calls, (std::vector<std::string>{"SENDING!", "-", "SENDING!", "-", "SENDING!",
                                                      "-", "SENDING!", "-"}));
    notice.calls.clear();
    quillet_fail_next(2);
    EXPECT_FALSE(WriteHumidityCoefTable(0));
    EXPECT_FALSE(ReadHumidityCoefTable(0));
    EXPECT_EQ(notice.calls, (std::vector<std::string>{"SENDING!", "-", "RECEIVING!", "-"}));
    // The wrappers hand the library's results back unchanged.
    quillet_fail_next(1);
    EXPECT_EQ(
        JmStat::ReceiveCommand(PortHandle, SendBuffer.data(), 32, ReceiveBuffer.data(), 38000), -1);
}

}  // namespace
