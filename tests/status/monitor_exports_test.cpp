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
    const char* plain;  // null: no plain name
    const char* jm;     // null: no Jm name
    bool oneEntry;      // both names are one address
};

const ExportRow Exports[] = {
    {"PortInitialize", "JmInitialize", true},
    {"GetFirmwVersion", "JmGetVersion", false},
    {"GetSensorInfo", "JmGetSensorInfo", false},
    {"GetStatus", "JmGetStatus", false},
    {"GetMedia", "JmGetMedia", false},
    {"GetPQTY", "JmGetPQTY", false},
    {"GetCounterL", "JmGetCounterL", false},
    {"GetCounterA", "JmGetCounterA", false},
    {"GetCounterB", "JmGetCounterB", false},
    {"SetClearCounterA", "JmSetClearCounterA", false},
    {"SetClearCounterB", "JmSetClearCounterB", false},
    {"GetResolutionH", "JmGetResolutionH", false},
    {"GetResolutionV", "JmGetResolutionV", false},
    {"GetFreeBuffer", "JmGetFreeBuffer", false},
    {"GetMediaLotNo", "JmGetMediaLotNo", false},
    {"GetMediaCounter", "JmGetMediaCounter", false},
    {"GetMediaColorOffset", "JmGetMediaColorOffset", false},
    {"SetFirmwUpdateMode", "JmSetFirmwUpdateMode", false},
    {"SetFirmwDataWrite", "JmSetFirmwDataWrite", false},
    {"GetSerialNo", "JmGetSerialNo", false},
    {"SetColorDataWrite", "JmSetColorDataWrite", false},
    {"SetColorDataVersion", "JmSetColorDataVersion", false},
    {"GetColorDataVersion", "JmGetColorDataVersion", false},
    {"SetColorDataClear", "JmSetColorDataClear", false},
    {"GetColorDataChecksum", "JmGetColorDataChecksum", false},
    {"SetCutterMode", nullptr, false},
    {"GetMediaIdSetInfo", nullptr, false},
    {"SetRetentionMode", nullptr, false},
    {"SetCommand", "JmSetCommand", true},
    {nullptr, "JmGetCommand", false},
    {"GetCommandEX", "JmGetCommandEX", true},
    {nullptr, "JmPollSensorInfo", false},
};

TEST(Exports, EveryNameIsThereAndTwinsShareTheirEntry) {
    for (const ExportRow& row : Exports) {
        SCOPED_TRACE(row.jm != nullptr ? row.jm : row.plain);
        void* jm = row.jm != nullptr ? Export(row.jm) : nullptr;
        void* plain = row.plain != nullptr ? Export(row.plain) : nullptr;
        EXPECT_EQ(jm != nullptr, row.jm != nullptr);
        EXPECT_EQ(plain != nullptr, row.plain != nullptr);
        if (jm == nullptr || plain == nullptr) continue;
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
        if (row.jm != nullptr) expected.insert(row.jm);
        if (row.plain != nullptr) expected.insert(row.plain);
    }
    EXPECT_EQ(DefinedDynamicSymbols(info.dli_fname), expected);
}

}  // namespace
