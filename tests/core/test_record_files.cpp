#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <limits>

#include "core/curve_table_files.h"
#include "core/record_files.h"
#include "core/whole_files.h"
#include "tests/core/temp_folder.h"
#include "tests/support/pipe_watchdog.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(std::string_view text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

// The one save routine: what it does to each kind of target a user can point it at.
TEST(SaveRoutine, TargetsOfEveryKind) {
    TempFolder folder;
    const std::string other = folder.File("elsewhere");
    fs::create_directory(other);

    // A write-protected file is the user's way of keeping it, whoever runs the program.
    const std::string locked = folder.File("locked.csg");
    WriteBytes(locked, Bytes("keep me"));
    ::chmod(locked.c_str(), 0444);
    EXPECT_FALSE(ReplaceFileWhole(locked, "new"));
    EXPECT_FALSE(ReplaceFileHead(locked, Bytes("new")));
    EXPECT_EQ(ReadBytes(locked), Bytes("keep me"));

    // A link to a file in another folder: the file it names is replaced and the link stays.
    const std::string real = other + "/real.gsg";
    const std::string link = folder.File("link.gsg");
    WriteBytes(real, Bytes("old old old"));
    fs::create_symlink(real, link);
    ASSERT_TRUE(ReplaceFileWhole(link, "fresh"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), Bytes("fresh"));
    EXPECT_EQ(fs::directory_iterator(other)->path(), real) << "no temporary file left behind";

    // A relative link whose file does not exist yet: the file is made where the link points.
    const std::string dangling = folder.File("dangling.gom");
    fs::create_symlink("elsewhere/made.gom", dangling);
    ASSERT_TRUE(ReplaceFileWhole(dangling, "made"));
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(ReadBytes(other + "/made.gom"), Bytes("made"));

    // A folder that does not exist, a folder as target, a link loop.
    EXPECT_FALSE(ReplaceFileWhole(folder.File("missing/x.gdt"), "x"));
    EXPECT_FALSE(ReplaceFileWhole(other, "x"));
    fs::create_symlink(folder.File("loop2"), folder.File("loop1"));
    fs::create_symlink(folder.File("loop1"), folder.File("loop2"));
    EXPECT_FALSE(ReplaceFileWhole(folder.File("loop1"), "x"));

    // A device node (one the test makes, as /dev/null is made) and a named pipe, named directly
    // or through a link, stay what they are.
    const std::string node = folder.File("node");
    ASSERT_EQ(::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    const std::string pipe = folder.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    fs::create_symlink(node, folder.File("node.bmp"));
    for (const std::string& target : {node, pipe, folder.File("node.bmp")}) {
        EXPECT_FALSE(ReplaceFileWhole(target, "x")) << target;
        EXPECT_FALSE(ReplaceFileHead(target, Bytes("x"))) << target;
    }
    EXPECT_TRUE(fs::is_character_file(node));
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 9)
        << "no temporary file left behind";
}

// The readers take regular files only and refuse the rest at once: a named pipe would make them
// wait for a writer for good.
TEST(WholeFileReaders, RefuseAnythingButARegularFileWithoutWaiting) {
    TempFolder folder;
    PipeWatchdog pipe(folder.File("pipe.ktd"));
    const std::string node = folder.File("node.ktd");
    ASSERT_EQ(::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    fs::create_symlink(pipe.Path(), folder.File("link.ktd"));
    for (const std::string& path :
         {pipe.Path(), node, folder.File("link.ktd"), folder.Path().string()}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(ReadWholeFile(path, 100));
        EXPECT_FALSE(ReadFileHead(path, 0));
        EXPECT_FALSE(ReadFileStart(path, 100));
        PrintModeRecord record{};
        EXPECT_FALSE(PrintModeFile::Read(path, record));
        EXPECT_FALSE(PrintModeTextFile::Read(path, record));
        CurveTableValues values{};
        EXPECT_FALSE(CurveTableTextFile::Read(path, values));
    }
    EXPECT_FALSE(pipe.Fired()) << "a reader waited on the pipe";
}

// The largest limit means none: the file is read whole, not as an empty one.
TEST(WholeFileReaders, TheLargestLimitReadsTheWholeFile) {
    TempFolder folder;
    const std::string path = folder.File("t.adj");
    WriteBytes(path, Bytes("0123456789"));
    constexpr std::size_t noLimit = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(ReadWholeFile(path, noLimit), Bytes("0123456789"));
    EXPECT_EQ(ReadFileStart(path, noLimit), Bytes("0123456789"));
    EXPECT_EQ(ReadFileStart(path, 4), Bytes("0123"));
    ASSERT_TRUE(ReplaceFileHead(path, Bytes("ab"), noLimit));
    EXPECT_EQ(ReadBytes(path), Bytes("ab23456789"));
}

TEST(SaveRoutine, HeadKeepsALongerFilesTailAndWholeDoesNot) {
    TempFolder folder;
    const std::string path = folder.File("t.adj");
    WriteBytes(path, Bytes("0123456789ABCDEFGHIJ"));
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(ReplaceFileHead(path, Bytes("abcdefgh")));
    EXPECT_EQ(ReadBytes(path), Bytes("abcdefgh89ABCDEFGHIJ"));
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the replaced file keeps its permissions";

    ASSERT_TRUE(ReplaceFileHead(folder.File("new.adj"), Bytes("abc")));
    EXPECT_EQ(ReadBytes(folder.File("new.adj")), Bytes("abc"));
    ASSERT_TRUE(ReplaceFileWhole(path, "xy"));
    EXPECT_EQ(ReadBytes(path), Bytes("xy"));
}

TEST(RecordFiles, EachRecordRoundTripsAtItsSize) {
    TempFolder folder;
    ParamTable param{};
    for (std::size_t k = 0; k < param.Words.size(); ++k) param.Words[k] = int16_t(-300 * k + 7);
    CurveTable curve{};
    for (std::size_t k = 0; k < curve.Words.size(); ++k) curve.Words[k] = int16_t(k * 37 - 9000);
    EGammaRange levels{};
    for (std::size_t k = 0; k < levels.Words.size(); ++k) levels.Words[k] = int16_t(k - 5);
    PrintModeRecord mode{2, 602, 11, 739, -7};
    StartCmpData start{};
    for (std::size_t k = 0; k < start.Words.size(); ++k) start.Words[k] = int16_t(k % 21 - 10);

    ASSERT_TRUE(ParamTableFile::Write(folder.File("p"), param));
    ASSERT_TRUE(EGammaFile::Write(folder.File("e"), curve, levels));
    ASSERT_TRUE(PrintModeFile::Write(folder.File("m"), mode));
    ASSERT_TRUE(StartCmpDataFile::Write(folder.File("s"), start));
    ASSERT_TRUE(PositionAdjustFile::Write(folder.File("a"), 0.5f, -10.0f));
    EXPECT_EQ(fs::file_size(folder.File("p")), 64u);
    EXPECT_EQ(fs::file_size(folder.File("e")), 2064u);
    EXPECT_EQ(fs::file_size(folder.File("m")), 10u);
    EXPECT_EQ(fs::file_size(folder.File("s")), 2000u);
    EXPECT_EQ(fs::file_size(folder.File("a")), 8u);

    // Little-endian words in memory order; the levels after the curve; floats as IEEE singles.
    const auto e = ReadBytes(folder.File("e"));
    EXPECT_EQ(e[2048], uint8_t(-5 & 0xFF));
    EXPECT_EQ(e[2049], 0xFF);
    const auto m = ReadBytes(folder.File("m"));
    EXPECT_EQ(std::vector<uint8_t>(m.begin() + 2, m.begin() + 4),
              (std::vector<uint8_t>{0x5A, 0x02}));
    const auto a = ReadBytes(folder.File("a"));
    EXPECT_EQ(std::vector<uint8_t>(a.begin(), a.begin() + 4),
              (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x3F}));

    ParamTable param2{};
    CurveTable curve2{};
    EGammaRange levels2{};
    PrintModeRecord mode2{};
    StartCmpData start2{};
    float print = 0, cut = 0;
    ASSERT_TRUE(ParamTableFile::Read(folder.File("p"), param2));
    ASSERT_TRUE(EGammaFile::Read(folder.File("e"), curve2, levels2));
    ASSERT_TRUE(PrintModeFile::Read(folder.File("m"), mode2));
    ASSERT_TRUE(StartCmpDataFile::Read(folder.File("s"), start2));
    ASSERT_TRUE(PositionAdjustFile::Read(folder.File("a"), print, cut));
    EXPECT_EQ(param2.Words, param.Words);
    EXPECT_EQ(curve2.Words, curve.Words);
    EXPECT_EQ(levels2.Words, levels.Words);
    using Five = std::array<int16_t, 5>;
    EXPECT_EQ(std::bit_cast<Five>(mode2), std::bit_cast<Five>(mode));
    EXPECT_EQ(start2.Words, start.Words);
    EXPECT_EQ(print, 0.5f);
    EXPECT_EQ(cut, -10.0f);
}

TEST(RecordFiles, ShortMissingOrNotANumberChangesNothing) {
    TempFolder folder;
    WriteBytes(folder.File("short"), std::vector<uint8_t>(63, 0x11));
    ParamTable param{};
    param.Words.fill(42);
    EXPECT_FALSE(ParamTableFile::Read(folder.File("short"), param));
    EXPECT_FALSE(ParamTableFile::Read(folder.File("missing"), param));
    EXPECT_FALSE(ParamTableFile::Read(folder.Path().string(), param));
    for (int16_t w : param.Words) EXPECT_EQ(w, 42);

    // A longer file gives its first bytes.
    WriteBytes(folder.File("long"), std::vector<uint8_t>(100, 0x01));
    ASSERT_TRUE(ParamTableFile::Read(folder.File("long"), param));
    EXPECT_EQ(param.Words[31], 0x0101);

    float print = 1.5f, cut = -2.5f;
    ASSERT_TRUE(
        PositionAdjustFile::Write(folder.File("nan"), std::numeric_limits<float>::quiet_NaN(), 0));
    ASSERT_TRUE(PositionAdjustFile::Write(folder.File("inf"), 0, INFINITY));
    EXPECT_FALSE(PositionAdjustFile::Read(folder.File("nan"), print, cut));
    EXPECT_FALSE(PositionAdjustFile::Read(folder.File("inf"), print, cut));
    WriteBytes(folder.File("seven"), std::vector<uint8_t>(7, 0));
    EXPECT_FALSE(PositionAdjustFile::Read(folder.File("seven"), print, cut));
    EXPECT_EQ(print, 1.5f);
    EXPECT_EQ(cut, -2.5f);
}
