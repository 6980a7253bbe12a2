// The names libparvel.so exports, checked against its interface.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "tests/status/monitor_library.h"

using namespace standin_test;

namespace {

struct ExportRow {
    const char* plain;  // null: the Jm name has no plain twin
    const char* jm;
    bool oneEntry;  // both names are one address
};

const ExportRow Exports[] = {
    {"PortInitialize", "JmInitialize", true},
    {"SetCommand", "JmSetCommand", true},
    {nullptr, "JmGetCommand", false},
    {"GetCommandEX", "JmGetCommandEX", true},
};

TEST(Exports, EveryNameIsThereAndTwinsShareTheirEntry) {
    for (const ExportRow& row : Exports) {
        SCOPED_TRACE(row.jm);
        void* jm = Export(row.jm);
        EXPECT_NE(jm, nullptr);
        if (row.plain == nullptr) continue;
        void* plain = Export(row.plain);
        EXPECT_NE(plain, nullptr);
        if (row.oneEntry) {
            EXPECT_EQ(plain, jm);
        } else {
            EXPECT_NE(plain, jm);
        }
    }
}

// The dynamic symbol table as the binary tools read it, so that a name the
// interface does not have shows up too.
std::set<std::string> DefinedDynamicSymbols(const std::string& library) {
    const char* nm = std::getenv("PARVEL_NM");
    const std::string command = std::string(nm != nullptr && *nm != '\0' ? nm : "nm") +
                                " -D --defined-only '" + library + "'";
    std::set<std::string> names;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        char address[64], kind[8], name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, kind, name) == 3) names.insert(name);
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return names;
}

TEST(Exports, NothingElseIsExported) {
    Dl_info info{};
    ASSERT_NE(dladdr(Export("JmInitialize"), &info), 0);
    std::set<std::string> expected;
    for (const ExportRow& row : Exports) {
        expected.insert(row.jm);
        if (row.plain != nullptr) expected.insert(row.plain);
    }
    EXPECT_EQ(DefinedDynamicSymbols(info.dli_fname), expected);
}

}  // namespace
