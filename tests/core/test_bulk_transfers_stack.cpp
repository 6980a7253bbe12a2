#include <filesystem>
#include <string>
#include <vector>

#include "core/bulk_transfers.h"
#include "core/colour_data_file.h"
#include "core/command_blocks.h"
#include "core/errors.h"
#include "core/table_transfers.h"
#include "stack_fixture.h"
#include "temp_folder.h"

using namespace Module2;

namespace {

class BulkTransfers : public StackTest {
protected:
    TempFolder folder;
    void SetUp() override {
        StackTest::SetUp();
        SetProgramFolder(folder.Path().string());
    }
    void TearDown() override {
        SetProgramFolder("");
        StackTest::TearDown();
    }
};

TEST_F(BulkTransfers, WriteAllTablesSendsTheTableCommandFileInOneSend) {
    ModuleDataPro::SetTableValue(ColorDataSet.G_Gamma, PlaneCyan, 40, 1234);
    ModuleDataPro::SetControlPoint(ColorDataSet.G_Gamma, PlaneCyan, 40, true);
    ColorDataSet.GDeltaParams(3, PlaneOp) = -12;
    ColorDataSet.StartCmpData(2, 3, 4, 1) = 9;
    const std::vector<uint8_t> written = FileImage(ColorDataSet);

    ASSERT_TRUE(WriteAllTables());
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    const std::vector<uint8_t> temp = ReadBytes(folder.File("JmTbl.tmp"));
    ASSERT_EQ(temp.size(), 39936u);
    EXPECT_EQ(calls[0], temp);
    EXPECT_EQ(quillet_block_count(), 89);
    EXPECT_EQ(notice.calls, (std::vector<std::string>{"SENDING!", "-"}));

    // Each block is the one the per-table writer sends.
    quillet_reset();
    ASSERT_TRUE(WriteHeadTempTable(PlaneMagenta));
    ASSERT_TRUE(WriteStartCmpData());
    const auto single = Blocks();
    EXPECT_TRUE(std::equal(single[0].begin(), single[0].end(), temp.begin() + 144 + 544));
    EXPECT_TRUE(std::equal(single[1].begin(), single[1].end(), temp.begin() + 37904));

    // What the printer took reads back table by table.
    ASSERT_TRUE(WriteAllTables());
    ModuleDataPro::InitColorData();
    for (int p = 0; p < PlaneCount; ++p) {
        ASSERT_TRUE(ReadGGammaTable(p));
        ASSERT_TRUE(ReadGDeltaTable(p));
    }
    ASSERT_TRUE(ReadStartCmpData());
    EXPECT_EQ(FileImage(ColorDataSet), written);
}

TEST_F(BulkTransfers, WriteAllTablesWithoutAWritableFolderSendsNothing) {
    SetProgramFolder(folder.File("missing"));
    EXPECT_THROW(WriteAllTables(), FileWriteError);
    EXPECT_EQ(quillet_received_count(), 0);
    quillet_fail_next(1);
    SetProgramFolder(folder.Path().string());
    EXPECT_FALSE(WriteAllTables());
}

TEST_F(BulkTransfers, ColourDataFileIsSentPadded) {
    const std::string path = folder.File("demo_v2.ktd");
    ASSERT_TRUE(ColorDataFile::Write(path));
    ASSERT_TRUE(SendColorDataFile(path));
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(Text(calls[0], 0, 32), "\x1bPTBL_WTCTRLD_UPDATE_KT 00037124");
    ASSERT_EQ(calls[1].size(), 37124u);
    const std::vector<uint8_t> file = ReadBytes(path);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), calls[1].begin()));
    EXPECT_EQ(calls[1][37122], 0);
    EXPECT_EQ(calls[1][37123], 0);

    ASSERT_TRUE(WriteVersion("DEMO_V2.KTD"));
    EXPECT_EQ(ReadVersion(), "DEMO_V2.KTD" + std::string(21, ' '));

    // A refused header sends no data; a file too large (80,001 + 1 padding) or missing sends
    // nothing at all.
    quillet_reset();
    quillet_fail_next(1);
    EXPECT_FALSE(SendColorDataFile(path));
    EXPECT_EQ(quillet_received_count(), 1);
    WriteBytes(folder.File("huge.ktd"), std::vector<uint8_t>(80001, 1));
    EXPECT_THROW(SendColorDataFile(folder.File("huge.ktd")), FileError);
    EXPECT_THROW(SendColorDataFile(folder.File("missing.ktd")), FileError);
    EXPECT_EQ(quillet_received_count(), 1);
}

TEST_F(BulkTransfers, RomFilePaddingAndLimits) {
    const struct {
        std::size_t size;
        std::size_t sent;  // 0 from a non-empty file: refused as a file error
    } cases[] = {{0, 0}, {100, 104}, {31, 62}, {64, 64}, {10000000, 10000000}, {10000001, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        quillet_reset();
        waits.clear();
        const std::string path = folder.File("rom.s");
        std::vector<uint8_t> rom(c.size);
        for (std::size_t i = 0; i < rom.size(); ++i) rom[i] = static_cast<uint8_t>(i * 7 + 1);
        WriteBytes(path, rom);
        if (c.size > 0 && c.sent == 0) {
            EXPECT_THROW(UpdateFirmware(path), FileError);
            EXPECT_EQ(quillet_received_count(), 0);
            EXPECT_TRUE(waits.empty());
            continue;
        }
        ASSERT_TRUE(UpdateFirmware(path));
        const auto calls = Calls();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(Text(calls[0], 0, 32), "\x1bPFW_UPDFLASH_REWRITE           ");
        EXPECT_EQ(Text(calls[1], 0, 24), "\x1bPFW_UPDFLASH_PROGRAM   ");
        EXPECT_EQ(waits, (std::vector<int>{2000}));
        std::string digits = std::to_string(c.sent);
        digits.insert(0, 8 - digits.size(), '0');
        EXPECT_EQ(Text(calls[1], 24, 8), digits);
        ASSERT_EQ(calls[2].size(), c.sent);
        EXPECT_TRUE(std::equal(rom.begin(), rom.end(), calls[2].begin()));
        EXPECT_TRUE(std::all_of(calls[2].begin() + c.size, calls[2].end(),
                                [](uint8_t b) { return b == 0; }));
    }
}

TEST_F(BulkTransfers, FirmwareStopsAtTheFirstRefusal) {
    const std::string path = folder.File("rom.s");
    WriteBytes(path, std::vector<uint8_t>(40, 3));
    quillet_fail_next(1);
    EXPECT_FALSE(UpdateFirmware(path));
    EXPECT_EQ(quillet_received_count(), 1);
    EXPECT_TRUE(waits.empty()) << "no wait after a refused rewrite";

    quillet_reset();
    EXPECT_THROW(UpdateFirmware(folder.File("missing.s")), FileError);
    EXPECT_EQ(quillet_received_count(), 0);
}

TEST_F(BulkTransfers, ChecksumFollowsTheTables) {
    const std::string before = ReadChecksum();
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.find('\r'), std::string::npos);
    ModuleDataPro::SetTableValue(ColorDataSet.HeadTemp, PlaneYellow, 100, 1);
    ASSERT_TRUE(WriteHeadTempTable(PlaneYellow));
    EXPECT_NE(ReadChecksum(), before);
}

TEST_F(BulkTransfers, VersionAndChecksumTexts) {
    const auto reply = [](const char* command, const char* parameter, const std::string& bytes) {
        quillet_set_reply(Port, command, parameter,
                          reinterpret_cast<const unsigned char*>(bytes.data()),
                          static_cast<int>(bytes.size()));
    };
    // A longer earlier reply leaves bytes behind that must not show.
    ReceiveBuffer.fill('Z');
    reply("TBL_RD", "Version", std::string("V1.0\0junk", 9));
    EXPECT_EQ(ReadVersion(), "V1.0");
    reply("TBL_RD", "Version", "NOZERO");
    EXPECT_EQ(ReadVersion(), "NOZERO");
    reply("TBL_RD", "Version", "");
    EXPECT_EQ(ReadVersion(), "");

    reply("MNT_RD", "CTRLD_CHKSUM", "1A2B\r\n");
    EXPECT_EQ(ReadChecksum(), "1A2B");
    reply("MNT_RD", "CTRLD_CHKSUM", "77");
    EXPECT_EQ(ReadChecksum(), "77");
    reply("MNT_RD", "CTRLD_CHKSUM", "");
    EXPECT_EQ(ReadChecksum(), "");
    quillet_fail_next(2);
    EXPECT_EQ(ReadChecksum(), "");
    EXPECT_EQ(ReadVersion(), "");
    EXPECT_TRUE(notice.calls.empty()) << "the reads show no notice";
}

}  // namespace
