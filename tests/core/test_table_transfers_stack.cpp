#include <string>
#include <vector>

#include "core/command_blocks.h"
#include "core/jm_stat.h"
#include "core/table_transfers.h"
#include "stack_fixture.h"

using namespace Module2;

namespace {

using TableTransfers = StackTest;

// The 23 tables: writer, reader, and whether they take a plane.
struct TableCase {
    const char* name;
    bool (*write)(int);
    bool (*read)(int);
    bool perPlane;
};

#define PLANE_CASE(Table)                       \
    TableCase {                                 \
#Table, Write##Table, Read##Table, true \
    }

// clang-format off
const TableCase AllTables[] = {
    PLANE_CASE(HeadTempTable), PLANE_CASE(MediaTempTable), PLANE_CASE(TempCoefTable),
    PLANE_CASE(STBGammaTable), PLANE_CASE(EGammaTable), PLANE_CASE(CGammaTable),
    PLANE_CASE(CThetaTable), PLANE_CASE(CEpsilonTable), PLANE_CASE(GGammaTable),
    PLANE_CASE(GThetaTable), PLANE_CASE(GEpsilonTable), PLANE_CASE(EEpsilonTable),
    PLANE_CASE(GSigmaTable), PLANE_CASE(CSigmaTable), PLANE_CASE(IGammaTable),
    PLANE_CASE(IThetaTable), PLANE_CASE(IEpsilonTable), PLANE_CASE(GOmegaTable),
    PLANE_CASE(GDeltaTable), PLANE_CASE(MediaHumidityTable), PLANE_CASE(HumidityCoefTable),
    {"StartCmpData", [](int) { return WriteStartCmpData(); }, [](int) { return ReadStartCmpData(); }, false},
    {"PrintModeData", [](int) { return WritePrintModeData(); }, [](int) { return ReadPrintModeData(); }, false},
};
// clang-format on

// A set unlike the defaults, the printer's factory tables and any other seed: every word differs
// between planes, control points scattered, negative words included.
void FillDistinctSet(int seed) {
    int k = seed * 1000;
    for (CurveTable* t : CurveTables(ColorDataSet))
        for (int16_t& w : t->Words) {
            ++k;
            w = static_cast<int16_t>((k * 37) % 10001 | (k % 9 == 0 ? 0x8000 : 0));
        }
    for (ParamTable* t : {&ColorDataSet.CSigmaParams, &ColorDataSet.GSigmaParams,
                          &ColorDataSet.GOmegaParams, &ColorDataSet.GDeltaParams})
        for (int16_t& w : t->Words) w = static_cast<int16_t>(++k * 13 - 500);
    for (int16_t& w : ColorDataSet.EGammaRange.Words) w = static_cast<int16_t>(++k * 11);
    for (int16_t& w : ColorDataSet.StartCmpData.Words) w = static_cast<int16_t>(++k % 21 - 10);
    ColorDataSet.PrintModeData = {static_cast<int16_t>(seed), 305, 42, 77, 200};
}

// Write every plane, put other data in memory, read every plane back: what the printer is sent
// again is byte for byte (control-point flags included) what it was sent first.
TEST_F(TableTransfers, EveryTableWrittenAndReadBackIsTheSame) {
    for (const TableCase& t : AllTables) {
        SCOPED_TRACE(t.name);
        quillet_reset();
        FillDistinctSet(1);
        const int planes = t.perPlane ? PlaneCount : 1;
        for (int p = 0; p < planes; ++p) ASSERT_TRUE(t.write(p)) << p;
        const auto written = Blocks();
        FillDistinctSet(2);
        for (int p = 0; p < planes; ++p) ASSERT_TRUE(t.read(p)) << p;
        quillet_reset();
        for (int p = 0; p < planes; ++p) ASSERT_TRUE(t.write(p)) << p;
        EXPECT_EQ(Blocks(), written);
    }
}

TEST_F(TableTransfers, PlanesOutsideZeroToThreeAreRefusedBeforeAnything) {
    for (const TableCase& t : AllTables) {
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
