#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/bulk_transfers.h"
#include "core/colour_data.h"
#include "core/colour_data_file.h"
#include "core/errors.h"
#include "temp_folder.h"

using namespace Module2;

namespace {

class BulkFiles : public ::testing::Test {
protected:
    TempFolder folder;
    void SetUp() override { ModuleDataPro::InitColorData(); }

    static std::string Text(const std::vector<uint8_t>& b, std::size_t from, std::size_t n) {
        return std::string(b.begin() + from, b.begin() + from + n);
    }
};

TEST_F(BulkFiles, TableCommandFileOfTheDefaults) {
    const std::string path = folder.File("set.ktt");
    WriteTableCommandFile(path);
    const std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), 39936u);
    EXPECT_EQ(Text(file, 0, 32), "\x1bPTBL_WTE_Gamma_Y_SE    00000004");
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 32, file.begin() + 36),
              (std::vector<uint8_t>{0x07, 0xD0, 0x1F, 0x40}));
    EXPECT_EQ(Text(file, 144, 32), "\x1bPTBL_WTHeadTemp_Y      00000512");
    EXPECT_EQ(file[176], 0x80);
    EXPECT_EQ(file[177], 0x00);

    // Every block in its place: the first of each table's four, and the planes in Y M C OP order.
    const struct {
        int offset;
        const char* parameter;
    } blocks[] = {
        {36, "E_Gamma_M_SE"},       {108, "E_Gamma_OP_SE"},
        {144 + 544, "HeadTemp_M"},  {2320, "MediaTemp_Y"},
        {4496, "TempCoef_Y"},       {6672, "STB_Gamma_Y"},
        {8848, "E_Gamma_Y"},        {11024, "C_Gamma_Y"},
        {13200, "C_Theta_Y"},       {15376, "C_Epsilon_Y"},
        {17552, "G_Gamma_Y"},       {19728, "G_Theta_Y"},
        {21904, "G_Epsilon_Y"},     {24080, "E_Epsilon_Y"},
        {26256, "I_Gamma_Y"},       {28432, "I_Theta_Y"},
        {30608, "I_Epsilon_Y"},     {32784, "C_Sigma_Y"},
        {32976, "G_Sigma_Y"},       {33168, "G_Omega_Y"},
        {33360, "G_Delta_Y"},       {33360 + 3 * 48, "G_Delta_OP"},
        {33552, "MediaHumidity_Y"}, {33552 + 3 * 544, "MediaHumidity_OP"},
        {35728, "HumidityCoef_Y"},  {37904, "StartCmpData"},
    };
    for (const auto& b : blocks) {
        std::string parameter = b.parameter;
        parameter.resize(16, ' ');
        EXPECT_EQ(Text(file, b.offset, 24), "\x1bPTBL_WT" + parameter) << b.parameter;
    }
    EXPECT_EQ(Text(file, 37904 + 24, 8), "00002000");
}

TEST_F(BulkFiles, TableCommandFileReplacesALongerFileWhole) {
    const std::string path = folder.File("old.ktt");
    WriteBytes(path, std::vector<uint8_t>(50000, 0xEE));
    WriteTableCommandFile(path);
    EXPECT_EQ(ReadBytes(path).size(), 39936u);
    // Only the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

    EXPECT_THROW(WriteTableCommandFile(folder.File("no/such/folder/x.ktt")), FileWriteError);
    EXPECT_THROW(WriteTableCommandFile(folder.Path().string() + "/"), FileWriteError);
}

TEST_F(BulkFiles, ColourDataFileSavedAfterStartUp) {
    const std::string path = folder.File("set.ktd");
    ASSERT_TRUE(ColorDataFile::Write(path));
    const std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), 37122u);
    EXPECT_EQ(Text(file, 0, 16), std::string("KTD01") + std::string(11, '\0'));
    EXPECT_EQ(file, FileImage(ColorDataSet));
}

TEST_F(BulkFiles, ColourDataFileRoundTripAndRefusals) {
    const std::string path = folder.File("set.ktd");
    ModuleDataPro::SetTableValue(ColorDataSet.G_Theta, PlaneOp, 9, 777);
    ColorDataSet.DataFileHeader = {'X', 'Y'};
    ColorDataSet.ReservedTail[5] = 9;
    const std::vector<uint8_t> saved = FileImage(ColorDataSet);
    ASSERT_TRUE(ColorDataFile::Write(path));

    ModuleDataPro::InitColorData();
    ASSERT_TRUE(ColorDataFile::Read(path));
    EXPECT_EQ(FileImage(ColorDataSet), saved);

    // Shorter, missing or a folder: refused, the set as it was.
    std::vector<uint8_t> shorter = saved;
    shorter.pop_back();
    ModuleDataPro::InitColorData();
    const std::vector<uint8_t> defaults = FileImage(ColorDataSet);
    WriteBytes(folder.File("short.ktd"), shorter);
    for (const std::string& bad :
         {folder.File("short.ktd"), folder.File("missing.ktd"), folder.Path().string()}) {
        EXPECT_FALSE(ColorDataFile::Read(bad)) << bad;
        EXPECT_EQ(FileImage(ColorDataSet), defaults);
    }

    // A longer file gives its first 37,122 bytes.
    std::vector<uint8_t> longer = saved;
    longer.resize(40000, 0x55);
    WriteBytes(folder.File("long.ktd"), longer);
    ASSERT_TRUE(ColorDataFile::Read(folder.File("long.ktd")));
    EXPECT_EQ(FileImage(ColorDataSet), saved);

    // Saving over a longer file leaves exactly the image; a save that cannot be written says so.
    ASSERT_TRUE(ColorDataFile::Write(folder.File("long.ktd")));
    EXPECT_EQ(ReadBytes(folder.File("long.ktd")).size(), 37122u);
    EXPECT_FALSE(ColorDataFile::Write(folder.File("none/x.ktd")));
}

}  // namespace
