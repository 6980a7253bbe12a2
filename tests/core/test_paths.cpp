// Splitting a chosen path and testing that a file exists.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "core/paths.h"
#include "tests/core/temp_folder.h"

namespace {

struct SplitCase {
    const char* path;
    const char* dir;
    const char* name;
    const char* ext;
};

TEST(SplitPath, SplitsAtTheLastSeparatorAndTakesTheLastThreeLetters) {
    const SplitCase cases[] = {
        {"/data/set1.KTD", "/data/", "set1.KTD", "ktd"},
        {"set1.ktd", "", "set1.ktd", "ktd"},
        {"/data/dataktd", "/data/", "dataktd", "ktd"},
        {"a.s", "", "a.s", "a.s"},
        {"/p/photo.jpeg", "/p/", "photo.jpeg", "peg"},
        {"/p/ab", "/p/", "ab", "ab"},
        {"/data/", "/data/", "", ""},
        {"//server/share/x.Bmp", "//server/share/", "x.Bmp", "bmp"},
        {"/d/Kurve.KÄT", "/d/", "Kurve.KÄT", "kÄt"},  // three characters, not three bytes
        {"", "", "", ""},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.path);
        Module1::PathParts parts{"old", "old", "old"};
        Module1::SplitPath(c.path, parts);
        EXPECT_EQ(parts.Dir, c.dir);
        EXPECT_EQ(parts.Name, c.name);
        EXPECT_EQ(parts.Ext, c.ext);
    }
}

TEST(FileExists, TrueExactlyForAnExistingRegularFile) {
    TempFolder folder;
    WriteBytes(folder.File("plain.ktd"), {1, 2, 3});
    WriteBytes(folder.File(".hidden"), {1});
    WriteBytes(folder.File("locked"), {1});
    ASSERT_EQ(::chmod(folder.File("locked").c_str(), 0444), 0);
    WriteBytes(folder.File("a*b"), {1});  // exists, but a wildcard name is never looked up
    // No file to read: opening the pipe would wait for a writer.
    ASSERT_EQ(::mkfifo(folder.File("pipe.ktd").c_str(), 0644), 0);
    ASSERT_EQ(::mknod(folder.File("node.ktd").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    std::filesystem::create_symlink(folder.File("plain.ktd"), folder.File("link.ktd"));

    struct Case {
        std::string path;
        bool exists;
    };
    const Case cases[] = {
        {"", false},
        {folder.File("plain.ktd"), true},
        {folder.File(".hidden"), true},
        {folder.File("locked"), true},
        {folder.File("missing.ktd"), false},
        {folder.Path().string(), false},
        {folder.File("a*b"), false},
        {folder.File("plain.kt?"), false},
        {folder.File("plain.ktd/inside"), false},
        {folder.File("pipe.ktd"), false},
        {folder.File("node.ktd"), false},
        {folder.File("link.ktd"), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Module1::FileExists(c.path), c.exists) << c.path;
    }
}

}  // namespace
