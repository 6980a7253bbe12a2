// One printer exchange at a time: whatever runs while the busy notice lets events through cannot
// start a printer call, and the transfer under way reaches the printer exactly as it would alone.
#include <functional>
#include <string>
#include <vector>

#include "core/bulk_transfers.h"
#include "core/colour_data_file.h"
#include "core/exchange_guard.h"
#include "core/maintenance_commands.h"
#include "core/status_queries.h"
#include "core/table_transfers.h"
#include "stack_fixture.h"
#include "temp_folder.h"

using namespace Module2;

namespace {

// A notice that runs `meanwhile` each time it comes and goes, as the events it lets through would.
struct InterferingNotice : BusyNotice {
    std::function<void()> meanwhile;
    void Indication(const std::string&) override { meanwhile(); }
    void Extinction() override { meanwhile(); }
};

// Every kind of printer call a window or the sensor monitor's timer makes: true when it was
// refused, with nothing sent.
struct Intruder {
    const char* name;
    std::function<bool()> refused;
};

bool Throws(int32_t (*getter)(int32_t)) {
    try {
        getter(PortHandle);
        return false;
    } catch (const Parvel::Busy&) {
        return true;
    }
}

std::vector<Intruder> Intruders(const std::string& dataFile) {
    return {
        {"sensor record", [] { return ReadSensorInfo().empty(); }},
        {"head rank read", [] { return ReadHeadRank().empty(); }},
        {"head rank write", [] { return !WriteHeadRank(4000); }},
        {"print position write", [] { return !WritePrintPosAdjust(12); }},
        {"status word", [] { return Throws(Parvel::JmGetStatus); }},
        {"vertical resolution", [] { return Throws(Parvel::JmGetResolutionV); }},
        {"table write", [] { return !WriteHeadTempTable(PlaneCyan); }},
        {"table read", [] { return !ReadMediaTempTable(PlaneYellow); }},
        {"version read", [] { return ReadVersion().empty(); }},
        {"version write", [] { return !WriteVersion("INTRUDER"); }},
        {"colour-data file", [dataFile] { return !SendColorDataFile(dataFile); }},
        {"all tables", [] { return !WriteAllTables(); }},
    };
}

class OneExchange : public StackTest {
protected:
    TempFolder folder;
    InterferingNotice interfering;

    void SetUp() override {
        StackTest::SetUp();
        SetProgramFolder(folder.Path().string());
        ModuleDataPro::SetTableValue(ColorDataSet.HeadTemp, PlaneMagenta, 7, 4321);
        ASSERT_TRUE(ColorDataFile::Write(folder.File("set.ktd")));
        WriteBytes(folder.File("rom.s"), std::vector<uint8_t>(1000, 0x5A));
    }
    void TearDown() override {
        SetProgramFolder("");
        StackTest::TearDown();
    }
};

TEST_F(OneExchange, NothingStartsInsideATransferAndEachReachesThePrinterAsAlone) {
    const std::string dataFile = folder.File("set.ktd");
    const std::string romFile = folder.File("rom.s");
    struct Transfer {
        const char* name;
        std::function<bool()> run;
    };
    const Transfer transfers[] = {
        {"table write", [] { return WriteHeadTempTable(PlaneMagenta); }},
        {"table read", [] { return ReadHeadTempTable(PlaneMagenta); }},
        {"E gamma write", [] { return WriteEGammaTable(PlaneOp); }},
        {"version", [] { return WriteVersion("SET.KTD"); }},
        {"colour-data file", [&] { return SendColorDataFile(dataFile); }},
        {"firmware", [&] { return UpdateFirmware(romFile); }},
        {"all tables", [] { return WriteAllTables(); }},
    };
    const std::vector<Intruder> intruders = Intruders(dataFile);
    for (const Transfer& transfer : transfers) {
        // Alone, with the plain notice: what the printer gets and what the table holds after.
        quillet_reset();
        ModuleDataPro::InitColorData();
        ASSERT_TRUE(transfer.run()) << transfer.name;
        const auto aloneCalls = Calls();
        const auto aloneBlocks = Blocks();
        const CurveTable aloneTable = ColorDataSet.HeadTemp;

        // The same with every intruder trying at each point the notice lets events through.
        quillet_reset();
        ModuleDataPro::InitColorData();
        int tries = 0;
        interfering.meanwhile = [&] {
            EXPECT_TRUE(PrinterBusy()) << transfer.name;
            for (const Intruder& intruder : intruders) {
                EXPECT_TRUE(intruder.refused()) << intruder.name << " inside " << transfer.name;
                ++tries;
            }
        };
        SetBusyNotice(&interfering);
        const bool sent = transfer.run();
        SetBusyNotice(&notice);
        EXPECT_TRUE(sent) << transfer.name;
        EXPECT_GT(tries, 0) << transfer.name;
        EXPECT_EQ(Calls(), aloneCalls) << transfer.name;
        EXPECT_EQ(Blocks(), aloneBlocks) << transfer.name;
        EXPECT_EQ(ColorDataSet.HeadTemp.Words, aloneTable.Words) << transfer.name;
        EXPECT_FALSE(PrinterBusy()) << transfer.name;
    }

    // Outside a transfer every one of them runs again.
    quillet_reset();
    EXPECT_EQ(ReadHeadRank(), "HR4120");
    EXPECT_EQ(Parvel::JmGetResolutionV(PortHandle), 300);
    EXPECT_TRUE(WriteHeadTempTable(PlaneCyan));
    EXPECT_FALSE(ReadSensorInfo().empty());
}

TEST_F(OneExchange, ATransferInPiecesHoldsThePrinterFromItsFirstPieceToItsLast) {
    // A claim taken by the work itself is granted again (its next piece); one taken from events
    // it lets run is not, until those events are over.
    const ExchangeClaim transfer;
    ASSERT_TRUE(transfer);
    EXPECT_FALSE(PrinterBusy());
    {
        const ExchangeClaim nextPiece;
        EXPECT_TRUE(nextPiece);
    }
    {
        const EventsDuringExchange events;
        EXPECT_TRUE(PrinterBusy());
        const ExchangeClaim intruder;
        EXPECT_FALSE(intruder);
        EXPECT_EQ(ReadHeadRank(), "");
    }
    EXPECT_FALSE(PrinterBusy());
    EXPECT_EQ(ReadHeadRank(), "HR4120");
    EXPECT_EQ(quillet_received_count(), 1) << "the refused read sent nothing";
}

}  // namespace
