#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/curve_table_files.h"

namespace fs = std::filesystem;

namespace {

using Words = std::array<int16_t, 1024>;

// The start-up contents of a curve table: a ramp, nodes at both ends.
Words DefaultRamp() {
    Words w{};
    for (int p = 0; p < 4; ++p) {
        for (int i = 0; i < 256; ++i) w[p * 256 + i] = static_cast<int16_t>(i * 10001 / 256);
        w[p * 256] = static_cast<int16_t>(w[p * 256] | 0x8000);
        w[p * 256 + 255] = static_cast<int16_t>(w[p * 256 + 255] | 0x8000);
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
    for (int i = 0; i < count; ++i) s += line;
    return s;
}

class CurveTableFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("ctf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
        return names;
    }
    fs::path dir_;
};

TEST_F(CurveTableFiles, BinaryImageIsTheTableLittleEndianPlaneAfterPlane) {
    Words w = DefaultRamp();
    w[256 + 7] = 0x1234;  // plane 1, point 7
    auto path = (dir_ / "t.mhm").string();
    ASSERT_TRUE(CurveTableFile::Write(path, w));
    std::string bytes = Slurp(path);
    ASSERT_EQ(bytes.size(), 2048u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x80\x27\x00", 4));  // 0x8000, 39
    EXPECT_EQ(bytes.substr(510, 2), std::string("\xE9\xA6", 2));        // 9961 | 0x8000
    EXPECT_EQ(bytes.substr(512 + 14, 2), std::string("\x34\x12", 2));

    Words back{};
    ASSERT_TRUE(CurveTableFile::Read(path, back));
    EXPECT_EQ(back, w);
    EXPECT_EQ(Entries(), std::vector<std::string>{"t.mhm"});
}

TEST_F(CurveTableFiles, BinaryReadTakesFirst2048BytesAndRefusesLessOrNothing) {
    Words w = DefaultRamp();
    auto longer = dir_ / "long.mhm";
    Spit(longer, std::string(2048, '\x01') + std::string(100, '\x7F'));
    ASSERT_TRUE(CurveTableFile::Read(longer.string(), w));
    for (int16_t v : w) ASSERT_EQ(v, 0x0101);

    const Words before = DefaultRamp();
    struct Case {
        const char* what;
        fs::path path;
    } cases[] = {{"2047 bytes", dir_ / "short.mhm"},
                 {"empty", dir_ / "empty.mhm"},
                 {"missing", dir_ / "missing.mhm"},
                 {"folder", dir_}};
    Spit(dir_ / "short.mhm", std::string(2047, '\x01'));
    Spit(dir_ / "empty.mhm", "");
    for (const auto& c : cases) {
        Words t = before;
        EXPECT_FALSE(CurveTableFile::Read(c.path.string(), t)) << c.what;
        EXPECT_EQ(t, before) << c.what;
    }
}

TEST_F(CurveTableFiles, TextFormOfDefaultsDropsFlagsAndEndsEachLineWithCrLf) {
    std::string text = CurveTableTextFile::Format(DefaultRamp());
    std::string zeros = " 0 , 0 , 0 , 0 \r\n";
    ASSERT_EQ(zeros.size(), 17u);
    EXPECT_EQ(text.substr(0, 17), zeros);
    EXPECT_EQ(text.substr(17, 21), " 39 , 39 , 39 , 39 \r\n");
    const std::string last = " 9961 , 9961 , 9961 , 9961 \r\n";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
    std::size_t lines = 0;
    for (std::size_t k = 0; k + 1 < text.size(); ++k)
        lines += text[k] == '\r' && text[k + 1] == '\n';
    EXPECT_EQ(lines, 256u);

    Words planes{};
    for (int p = 0; p < 4; ++p) planes[p * 256 + 1] = static_cast<int16_t>(10 * (p + 1));
    EXPECT_EQ(CurveTableTextFile::Format(planes).substr(17, 21), " 10 , 20 , 30 , 40 \r\n");
}

TEST_F(CurveTableFiles, TextParseAcceptsWhatTheFormAllows) {
    const std::string tail = Lines(255, "1,2,3,4\r\n");
    struct Case {
        const char* what;
        std::string text;
        std::array<int16_t, 4> point0;
    } cases[] = {
        {"as written", " 5 , 6 , 7 , 8 \r\n" + tail, {5, 6, 7, 8}},
        {"LF only", "5,6,7,8\n" + Lines(255, "1,2,3,4\n"), {5, 6, 7, 8}},
        {"CR only", "5,6,7,8\r" + Lines(255, "1,2,3,4\r"), {5, 6, 7, 8}},
        {"tabs, signs, limits", "\t+5\t,-1,32767, -32768\r\n" + tail, {5, -1, 32767, -32768}},
        {"whole values in other notation", "5e0,6.0,+7, 8 \r\n" + tail, {5, 6, 7, 8}},
        {"line ends between numbers", "5\r\n6\r\n7,8\r\n" + tail, {5, 6, 7, 8}},
        {"blank lines skipped", "\r\n  \r\n5,6,7,8\r\n\r\n" + tail, {5, 6, 7, 8}},
        {"more than 1024 numbers", "5,6,7,8\r\n" + tail + "9,9,9,x,,\r\n", {5, 6, 7, 8}},
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
}

TEST_F(CurveTableFiles, TextParseRefusesWhatIsNotAWholeNumberInRange) {
    const std::string tail = Lines(255, "1,2,3,4\r\n");
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"1,023 numbers", "5,6,7\r\n" + tail},
        {"empty text", ""},
        {"fraction", "5.5,6,7,8\r\n" + tail},
        {"letters", "abc,6,7,8\r\n" + tail},
        {"hex", "&H10,6,7,8\r\n" + tail},
        {"digits split by a blank", "1 2,6,7,8\r\n" + tail},
        {"empty field", "5,,6,7,8\r\n" + tail},
        {"trailing comma", "5,6,7,8,\r\n" + tail},
        {"above 32767", "32768,6,7,8\r\n" + tail},
        {"below -32768", "-32769,6,7,8\r\n" + tail},
        {"two signs", "+-5,6,7,8\r\n" + tail},
        {"sign alone", "-,6,7,8\r\n" + tail},
    };
    for (const auto& c : cases) {
        CurveTableValues v{};
        EXPECT_FALSE(CurveTableTextFile::Parse(c.text, v)) << c.what;
    }
}

TEST_F(CurveTableFiles, TextFileRoundTripsValuesWithoutFlags) {
    Words w = DefaultRamp();
    w[3 * 256 + 100] = 10000;
    auto path = (dir_ / "t.txt").string();
    ASSERT_TRUE(CurveTableTextFile::Write(path, w));
    EXPECT_EQ(Slurp(path), CurveTableTextFile::Format(w));
    CurveTableValues v{};
    ASSERT_TRUE(CurveTableTextFile::Read(path, v));
    for (std::size_t k = 0; k < w.size(); ++k) ASSERT_EQ(v[k], w[k] & 0x7FFF) << k;

    EXPECT_FALSE(CurveTableTextFile::Read((dir_ / "none.txt").string(), v));
    EXPECT_EQ(Entries(), std::vector<std::string>{"t.txt"});
}

TEST_F(CurveTableFiles, WriteThatCannotCompleteLeavesOldFileAndNoLitter) {
    const Words w = DefaultRamp();
    auto existing = dir_ / "keep.mhm";
    Spit(existing, "old");
    fs::create_directory(dir_ / "sub.mhm");
    struct Case {
        const char* what;
        fs::path path;
    } cases[] = {{"missing folder", dir_ / "nowhere" / "t.mhm"},
                 {"target is a folder", dir_ / "sub.mhm"},
                 {"ends with a separator", dir_.string() + "/"}};
    for (const auto& c : cases) {
        EXPECT_FALSE(CurveTableFile::Write(c.path.string(), w)) << c.what;
        EXPECT_FALSE(CurveTableTextFile::Write(c.path.string(), w)) << c.what;
    }
    EXPECT_EQ(Slurp(existing), "old");
    auto names = Entries();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"keep.mhm", "sub.mhm"}));

    fs::permissions(existing, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(CurveTableFile::Write(existing.string(), w));
    EXPECT_EQ(Slurp(existing).size(), 2048u);
    EXPECT_EQ(fs::status(existing).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
