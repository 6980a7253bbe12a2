#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/curve_table_files.h"

namespace fs = std::filesystem;

namespace {

using Words = std::array<int16_t, 1024>;

// The start-up contents of a curve table: a ramp, nodes at both ends.
Words DefaultRamp() {
    Words w{};
    for (int k = 0; k < 1024; ++k) w[k] = static_cast<int16_t>(k % 256 * 10001 / 256);
    for (int p = 0; p < 4; ++p) {
        w[p * 256] |= int16_t(0x8000);
        w[p * 256 + 255] |= int16_t(0x8000);
    }
    return w;
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Spit(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string Lines(int count, const std::string& line) {
    std::string s;
    while (count-- > 0) s += line;
    return s;
}

class CurveTableFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir =
            fs::temp_directory_path() /
            ("ctf_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::size_t Entries() const {
        return std::distance(fs::directory_iterator(dir), fs::directory_iterator());
    }
    fs::path dir;
};

TEST_F(CurveTableFiles, BinaryImageIsTheTableLittleEndianPlaneAfterPlane) {
    Words w = DefaultRamp();
    w[256 + 7] = 0x1234;  // plane 1, point 7
    ASSERT_TRUE(CurveTableFile::Write((dir / "t.mhm").string(), w));
    const std::string bytes = Slurp(dir / "t.mhm");
    ASSERT_EQ(bytes.size(), 2048u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x80\x27\x00", 4));  // 0x8000, 39
    EXPECT_EQ(bytes.substr(510, 2), "\xE9\xA6");                        // 9961 | 0x8000
    EXPECT_EQ(bytes.substr(512 + 14, 2), "\x34\x12");
    Words back{};
    ASSERT_TRUE(CurveTableFile::Read((dir / "t.mhm").string(), back));
    EXPECT_EQ(back, w);
    EXPECT_EQ(Entries(), 1u);

    // Only the first 2,048 bytes count; fewer, or no file, change nothing.
    Spit(dir / "long", std::string(2048, '\x01') + "tail");
    Spit(dir / "short", std::string(2047, '\x01'));
    ASSERT_TRUE(CurveTableFile::Read((dir / "long").string(), back));
    for (int16_t v : back) ASSERT_EQ(v, 0x0101);
    for (const char* name : {"short", "missing", ""}) {
        Words t = w;
        EXPECT_FALSE(CurveTableFile::Read((dir / name).string(), t)) << name;
        EXPECT_EQ(t, w) << name;
    }
}

TEST_F(CurveTableFiles, TextFormOfDefaultsDropsFlagsAndEndsEachLineWithCrLf) {
    const std::string text = CurveTableTextFile::Format(DefaultRamp());
    EXPECT_EQ(text.substr(0, 17), " 0 , 0 , 0 , 0 \r\n");
    EXPECT_EQ(text.substr(17, 21), " 39 , 39 , 39 , 39 \r\n");
    EXPECT_EQ(text.substr(text.size() - 29), " 9961 , 9961 , 9961 , 9961 \r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 256);
    Words planes{};
    for (int p = 0; p < 4; ++p) planes[p * 256 + 1] = static_cast<int16_t>(10 * (p + 1));
    EXPECT_EQ(CurveTableTextFile::Format(planes).substr(17, 21), " 10 , 20 , 30 , 40 \r\n");
}

TEST_F(CurveTableFiles, TextParseTakesThe1024FirstWholeNumbers) {
    const std::string tail = Lines(255, "1,2,3,4\r\n");
    const struct {
        const char* what;
        std::string text;
        std::array<int16_t, 4> point0;
    } cases[] = {
        {"as written", " 5 , 6 , 7 , 8 \r\n" + tail, {5, 6, 7, 8}},
        {"LF only", "5,6,7,8\n" + Lines(255, "1,2,3,4\n"), {5, 6, 7, 8}},
        {"CR only", "5,6,7,8\r" + Lines(255, "1,2,3,4\r"), {5, 6, 7, 8}},
        {"tabs, signs, limits", "\t+5\t,-1,32767, -32768\r\n" + tail, {5, -1, 32767, -32768}},
        {"whole in other notation", "5e0,6.0,+7, 8 \r\n" + tail, {5, 6, 7, 8}},
        {"line ends between numbers", "5\r\n6\r\n7,8\r\n" + tail, {5, 6, 7, 8}},
        {"blank lines skipped", "\r\n  \r\n5,6,7,8\r\n\r\n" + tail, {5, 6, 7, 8}},
        {"more than 1024 numbers", "5,6,7,8\r\n" + tail + "9,x,,\r\n", {5, 6, 7, 8}},
        {"no final line end", "5,6,7,8\r\n" + tail.substr(0, tail.size() - 2), {5, 6, 7, 8}},
    };
    for (const auto& c : cases) {
        CurveTableValues v{};
        ASSERT_TRUE(CurveTableTextFile::Parse(c.text, v)) << c.what;
        for (int p = 0; p < 4; ++p) {
            EXPECT_EQ(v[p * 256], c.point0[p]) << c.what << " plane " << p;
            EXPECT_EQ(v[p * 256 + 255], p + 1) << c.what << " plane " << p;
        }
    }
    const struct {
        const char* what;
        std::string text;
    } refused[] = {
        {"1,023 numbers", "5,6,7\r\n" + tail},     {"empty text", ""},
        {"fraction", "5.5,6,7,8\r\n" + tail},      {"letters", "abc,6,7,8\r\n" + tail},
        {"hex", "&H10,6,7,8\r\n" + tail},          {"split digits", "1 2,6,7,8\r\n" + tail},
        {"empty field", "5,,6,7,8\r\n" + tail},    {"trailing comma", "5,6,7,8,\r\n" + tail},
        {"above 32767", "32768,6,7,8\r\n" + tail}, {"below -32768", "-32769,6,7,8\r\n" + tail},
        {"two signs", "+-5,6,7,8\r\n" + tail},     {"sign alone", "-,6,7,8\r\n" + tail},
    };
    for (const auto& c : refused) {
        CurveTableValues v{};
        EXPECT_FALSE(CurveTableTextFile::Parse(c.text, v)) << c.what;
    }
}

TEST_F(CurveTableFiles, WriteThatCannotCompleteLeavesOldFileAndNoLitter) {
    const Words w = DefaultRamp();
    Spit(dir / "keep.mhm", "old");
    fs::create_directory(dir / "sub.mhm");
    for (const fs::path& target : {dir / "nowhere" / "t.mhm", dir / "sub.mhm", dir / ""}) {
        EXPECT_FALSE(CurveTableFile::Write(target.string(), w)) << target;
        EXPECT_FALSE(CurveTableTextFile::Write(target.string(), w)) << target;
    }
    EXPECT_EQ(Slurp(dir / "keep.mhm"), "old");
    EXPECT_EQ(Entries(), 2u);

    // A file replaced keeps its permissions.
    fs::permissions(dir / "keep.mhm", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(CurveTableTextFile::Write((dir / "keep.mhm").string(), w));
    EXPECT_EQ(Slurp(dir / "keep.mhm"), CurveTableTextFile::Format(w));
    EXPECT_EQ(fs::status(dir / "keep.mhm").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(CurveTableFiles, PrintModeTextIsFiveSignedLinesReadWithTheSameRules) {
    const PrintModeRecord record{0, 600, -5, 32767, -32768};
    const std::string text = " 0 \r\n 600 \r\n-5 \r\n 32767 \r\n-32768 \r\n";
    EXPECT_EQ(PrintModeTextFile::Format(record), text);
    const std::string path = (dir / "p.txt").string();
    ASSERT_TRUE(PrintModeTextFile::Write(path, record));
    EXPECT_EQ(Slurp(path), text);
    PrintModeRecord back{};
    ASSERT_TRUE(PrintModeTextFile::Read(path, back));
    EXPECT_EQ(PrintModeTextFile::Format(back), text);

    // Five numbers however they are separated; what follows them is not read.
    ASSERT_TRUE(PrintModeTextFile::Parse("1,302\n\n 7 \r\n8\r9, x", back));
    EXPECT_EQ(PrintModeTextFile::Format(back), PrintModeTextFile::Format({1, 302, 7, 8, 9}));
    for (const char* refused : {"1\r\n2\r\n3\r\n4\r\n", "1,2,3,4,40000", "1,2,3.5,4,5", ""}) {
        PrintModeRecord r = record;
        EXPECT_FALSE(PrintModeTextFile::Parse(refused, r)) << refused;
        EXPECT_EQ(PrintModeTextFile::Format(r), text) << refused;
    }
    EXPECT_FALSE(PrintModeTextFile::Read((dir / "missing.txt").string(), back));
}

}  // namespace
