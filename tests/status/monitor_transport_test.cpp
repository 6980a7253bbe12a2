// The transport of libparvel.so against a stand-in monitor that LD_LIBRARY_PATH
// put in front: what reaches the monitor for each export, and what comes back.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "status/parvel.h"
#include "tests/status/monitor_allocations.h"
#include "tests/status/monitor_library.h"

using namespace standin_test;

namespace {

constexpr uint32_t Send = 0x220038;
constexpr uint32_t Receive = 0x22003C;

std::u16string PortOf(const StandinCall& c) {
    return c.port;
}

std::string BytesOf(const StandinCall& c) {
    return std::string(reinterpret_cast<const char*>(c.bytes), c.inLength);
}

class Transport : public ::testing::Test {
protected:
    void SetUp() override {
        ReloadParvel();  // an empty port table for every test
        Reset();
        init = Bind<InitializeFn>("JmInitialize");
        set = Bind<SetCommandFn>("JmSetCommand");
        get = Bind<GetCommandFn>("JmGetCommand");
        getEx = Bind<GetCommandEXFn>("JmGetCommandEX");
        ASSERT_TRUE(init && set && get && getEx);
    }

    InitializeFn init = nullptr;
    SetCommandFn set = nullptr;
    GetCommandFn get = nullptr;
    GetCommandEXFn getEx = nullptr;
};

TEST(StandinMonitor, IsTheMonitorInFront) {
    ASSERT_NE(Monitor(), nullptr) << "libparvel.so loaded without a monitor";
    Dl_info info{};
    ASSERT_NE(dladdr(MonitorFunction("MonitorIoControl"), &info), 0);
    EXPECT_NE(std::string(info.dli_fname).find("/standin/"), std::string::npos) << info.dli_fname;
}

TEST_F(Transport, PortNamesGetTheirSlotInOrder) {
    EXPECT_EQ(init(u"EMU1"), 1);
    EXPECT_EQ(init(u"EMU2"), 2);
    EXPECT_EQ(init(u"EMU1"), 1);
    // Two names differing only in case are two ports.
    EXPECT_EQ(init(u"emu1"), 3);
    EXPECT_EQ(Bind<InitializeFn>("PortInitialize")(u"EMU2"), 2);

    // Each handle reaches its own port; the fourth slot is still unused.
    const std::u16string ports[] = {u"EMU1", u"EMU2", u"emu1"};
    for (int h = 1; h <= 3; ++h) ASSERT_EQ(set(h, "x", 1), 1);
    EXPECT_EQ(set(4, "x", 1), 0);
    ASSERT_EQ(CallCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(PortOf(Call(i)), ports[i]);
}

// A slot holds a device path of 255 code units: the path a device keeps across
// replugging is long (/dev/serial/by-id/...).
TEST_F(Transport, PortTableNeverOverflows) {
    const std::u16string byId = u"/dev/serial/by-id/usb-Photo_Printer_0123456789-if00-port0";
    std::u16string longest = u"/dev/";
    longest.resize(255, u'a');
    EXPECT_EQ(init(longest.c_str()), 1);
    EXPECT_EQ(init((longest + u"b").c_str()), -1);
    EXPECT_EQ(init(nullptr), -1);
    EXPECT_EQ(init(byId.c_str()), 2);
    for (int i = 3; i <= 10; ++i) {
        EXPECT_EQ(init((u"/dev/usb/lp" + std::u16string(1, u'0' + i - 3)).c_str()), i);
    }
    EXPECT_EQ(init(u"EMU11"), -1);
    EXPECT_EQ(init(u"/dev/usb/lp3"), 6);
    EXPECT_EQ(init(byId.c_str()), 2);
    EXPECT_EQ(set(11, "x", 1), 0);
    EXPECT_EQ(set(1, "x", 1), 1);
    EXPECT_EQ(set(2, "x", 1), 1);
    EXPECT_EQ(set(10, "x", 1), 1);
    ASSERT_EQ(CallCount(), 3);
    EXPECT_EQ(PortOf(Call(0)), longest);
    EXPECT_EQ(PortOf(Call(1)), byId);
    EXPECT_EQ(PortOf(Call(2)), u"/dev/usb/lp7");
}

TEST_F(Transport, DetachAndAttachStartTheTableAgain) {
    ASSERT_EQ(init(u"EMU1"), 1);
    ASSERT_EQ(init(u"EMU2"), 2);
    ReloadParvel();
    init = Bind<InitializeFn>("JmInitialize");
    EXPECT_EQ(init(u"EMU2"), 1);
}

TEST_F(Transport, SetCommandHandsTheBlockOverUnchanged) {
    ASSERT_EQ(init(u"EMU1"), 1);
    const std::string status = Block("STATUS", "", "");
    const char* block = status.data();
    for (int result : {1, 0, 7}) {
        Reset();
        Script(result, "");
        EXPECT_EQ(set(1, block, 32), result);
        ASSERT_EQ(CallCount(), 1);
        const StandinCall& c = Call(0);
        EXPECT_EQ(PortOf(c), u"EMU1");
        EXPECT_EQ(c.controlCode, Send);
        EXPECT_EQ(c.in, block);
        EXPECT_EQ(BytesOf(c), std::string(block, 32));
        EXPECT_EQ(c.out, nullptr);
        EXPECT_EQ(c.outSize, 0u);
    }
}

// A poll of the sensor record asks the monitor once for its brief wait and makes brief receives
// where the monitor answers with one; a monitor that fails the question, or answers it without a
// wait, gets ordinary receives, as every other request always does.
TEST_F(Transport, APollWaitsBrieflyOnlyWhereTheMonitorOffersIt) {
    constexpr uint32_t BriefWait = 0x220044, BriefReceive = 0x220040;
    const uint32_t ms = 300;
    const struct {
        const char* name;
        int result;
        std::string answer;
        uint32_t pollCode;
    } cases[] = {
        {"offered", 1, std::string(reinterpret_cast<const char*>(&ms), sizeof ms), BriefReceive},
        {"answered without a wait", 1, "", Receive},
        {"question failed", 0, "", Receive},
    };
    using TextFn = int32_t (*)(int32_t, char*);
    const std::string record = "00000004S01\r";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReloadParvel();  // the question is asked once a load
        Reset();
        auto poll = Bind<TextFn>("JmPollSensorInfo");
        auto read = Bind<TextFn>("JmGetSensorInfo");
        ASSERT_TRUE(poll && read);
        ASSERT_EQ(Bind<InitializeFn>("JmInitialize")(u"EMU1"), 1);
        Script(c.result, c.answer);
        for (int i = 0; i < 3; ++i) Script(1, record);
        char text[PARVEL_TEXT_CAPACITY] = {};
        EXPECT_EQ(poll(1, text), 3);
        EXPECT_STREQ(text, "S01\r");
        EXPECT_EQ(poll(1, text), 3);
        EXPECT_EQ(read(1, text), 3);
        ASSERT_EQ(CallCount(), 4);
        EXPECT_EQ(Call(0).controlCode, BriefWait);
        EXPECT_EQ(Call(0).inLength, 0u);
        EXPECT_EQ(Call(0).outSize, sizeof ms);
        EXPECT_EQ(Call(1).controlCode, c.pollCode);
        EXPECT_EQ(Call(2).controlCode, c.pollCode);
        EXPECT_EQ(Call(3).controlCode, Receive);
        for (int i = 1; i < 4; ++i) EXPECT_EQ(BytesOf(Call(i)), Block("INFO", "SENSOR", ""));
    }
}

TEST_F(Transport, GetCommandReceivesIntoTheCallersBufferAndEndsIt) {
    ASSERT_EQ(init(u"EMU1"), 1);
    const std::string request = Block("INFO", "FVER", "");
    struct Case {
        int result;
        std::string reply;
        int reported;  // -1: the reply's length
        int32_t expectReceived;
    };
    const Case cases[] = {
        {1, "00000003abc", -1, 11},
        {0, "", -1, 0},                    // failed, no bytes: out[0] becomes 0
        {0, "0000", -1, 4},                // failed with bytes: the terminator follows them
        {1, "0123456789abcdef", 200, 16},  // a count past the buffer stops at its end
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.reply);
        Reset();
        Script(k.result, k.reply, k.reported);
        std::vector<unsigned char> out(17, 0xEE);  // output size 16 plus the terminator
        int32_t received = -5;
        EXPECT_EQ(get(1, request.data(), 32, out.data(), 16, &received), k.result);
        EXPECT_EQ(received, k.expectReceived);
        EXPECT_EQ(out[received], 0);
        EXPECT_EQ(std::string(out.begin(), out.begin() + received), k.reply.substr(0, received));
        ASSERT_EQ(CallCount(), 1);
        const StandinCall& c = Call(0);
        EXPECT_EQ(c.controlCode, Receive);
        EXPECT_EQ(c.in, request.data());
        EXPECT_EQ(BytesOf(c), request);
        EXPECT_EQ(c.out, out.data());
        EXPECT_EQ(c.outSize, 16u);
    }
}

TEST_F(Transport, GetCommandEXCopiesThePayloadAndNothingMore) {
    ASSERT_EQ(init(u"EMU1"), 1);
    ASSERT_EQ(init(u"EMU2"), 2);
    const std::string request = Block("TBL_RD", "HeadTemp_Y", "00000000");
    const std::string full(4088, 'q');
    struct Case {
        const char* what;
        int result;
        std::string reply;
        int32_t outSize;
        int32_t expect;
    };
    const Case cases[] = {
        {"five bytes", 1, "00000005HELLO", 100, 5},
        {"empty payload", 1, "00000000", 100, 0},
        {"blanks before the number", 1, "       3abc", 100, 3},
        {"a sign before the number", 1, "+0000002xy", 100, 2},
        {"no number in the header", 1, "ABCDEFGHxyz", 100, 0},
        {"the largest payload", 1, "00004088" + full, 4088, 4088},
        {"exactly the caller's size", 1, "00000005HELLO", 5, 5},
        {"failed exchange", 0, "00000005HELLO", 100, -1},
        {"negative length", 1, "-0000001x", 100, -1},
        {"more than arrived", 1, "00000010HELLO", 100, -1},
        {"more than a reply can carry", 1, "00004089" + full + "q", 5000, -1},
        {"more than the caller's size", 1, "00000005HELLO", 4, -1},
        {"shorter than its header", 1, "0000", 100, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Reset();
        Script(k.result, k.reply);
        std::vector<unsigned char> out(k.outSize + 1, 0xEE);
        EXPECT_EQ(getEx(2, request.data(), 32, out.data(), k.outSize), k.expect);
        const size_t copied = k.expect > 0 ? k.expect : 0;
        EXPECT_EQ(std::string(out.begin(), out.begin() + copied),
                  k.reply.size() > 8 ? k.reply.substr(8, copied) : "");
        for (size_t i = copied; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << "byte " << i;
        ASSERT_EQ(CallCount(), 1);
        const StandinCall& c = Call(0);
        EXPECT_EQ(PortOf(c), u"EMU2");
        EXPECT_EQ(c.controlCode, Receive);
        EXPECT_EQ(BytesOf(c), request);
        EXPECT_NE(c.out, out.data());
        EXPECT_EQ(c.outSize, 4096u);
    }
}

TEST_F(Transport, ShortReplyNeverReadsAnOlderReplysHeader) {
    ASSERT_EQ(init(u"EMU1"), 1);
    char out[16] = {};
    Script(1, "00000005HELLO");
    ASSERT_EQ(getEx(1, "r", 1, out, sizeof out), 5);
    Script(1, "00");
    EXPECT_EQ(getEx(1, "r", 1, out, sizeof out), 0);
}

TEST_F(Transport, HandleOrLengthOutsideTheRangeFailsWithoutTheMonitor) {
    ASSERT_EQ(init(u"EMU1"), 1);
    ASSERT_EQ(init(u"EMU2"), 2);
    for (int32_t h : {0, -1, 3, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(h);
        unsigned char out[8];
        std::memset(out, 0xEE, sizeof out);
        int32_t received = -5;
        EXPECT_EQ(set(h, "x", 1), 0);
        EXPECT_EQ(getEx(h, "x", 1, out, 7), -1);
        EXPECT_EQ(out[0], 0xEE);
        EXPECT_EQ(get(h, "x", 1, out, 7, &received), 0);
        EXPECT_EQ(received, 0);
        EXPECT_EQ(out[0], 0);
    }
    unsigned char out[8];
    int32_t received = -5;
    EXPECT_EQ(set(1, "x", -1), 0);
    EXPECT_EQ(get(1, "x", -1, out, 7, &received), 0);
    out[0] = 0xEE;
    EXPECT_EQ(get(1, "x", 1, out, -1, &received), 0);  // no room even for the terminator
    EXPECT_EQ(out[0], 0xEE);
    EXPECT_EQ(getEx(1, "x", -1, out, 7), -1);
    EXPECT_EQ(CallCount(), 0);
}

TEST_F(Transport, NoExportAllocates) {
    ASSERT_TRUE(CountsAnAllocation());

    // Binding may allocate in the loader; calling may not.
    using HandleFn = int32_t (*)(int32_t);
    using TextFn = int32_t (*)(int32_t, char*);
    using DataFn = int32_t (*)(int32_t, const void*, int32_t);
    const auto counterL = Bind<HandleFn>("GetCounterL");
    const auto status = Bind<HandleFn>("JmGetStatus");
    const auto media = Bind<TextFn>("JmGetMedia");
    const auto firmware = Bind<TextFn>("GetFirmwVersion");
    const auto offset = Bind<HandleFn>("GetMediaColorOffset");
    const auto mediaId = Bind<HandleFn>("GetMediaIdSetInfo");
    const auto clearA = Bind<HandleFn>("JmSetClearCounterA");
    const auto version = Bind<DataFn>("SetColorDataVersion");
    const auto firmwareWrite = Bind<DataFn>("JmSetFirmwDataWrite");
    const auto cutter = Bind<int32_t (*)(int32_t, int32_t)>("SetCutterMode");

    char out[64];
    char text[255];
    const char data[20] = {};
    int32_t received = 0;
    Script(1, "");
    Script(1, "00000005HELLO");
    Script(1, "00000003abc");
    Script(0, "");
    Script(1, "-0000001");
    Script(1, "00000004CL12");
    Script(1, "00000004FU12");
    Script(1, "00000008MT00301\r");
    const std::u16string tooLong(256, u'x');
    CountAllocations(true);
    init(u"EMU1");
    init(u"EMU2");
    init(u"EMU1");
    init(tooLong.c_str());
    set(1, "x", 1);
    getEx(1, "x", 1, out, sizeof out);
    get(2, "x", 1, out, sizeof out - 1, &received);
    getEx(1, "x", 1, out, sizeof out);
    getEx(1, "x", 1, out, sizeof out);
    getEx(9, "x", 1, out, sizeof out);
    counterL(1);
    status(1);
    media(1, text);
    firmware(1, text);
    offset(1);
    mediaId(1);
    clearA(1);
    version(1, data, 20);
    firmwareWrite(1, data, 20);
    cutter(1, 1);
    CountAllocations(false);
    EXPECT_EQ(CallCount(), 5 + 6 + 1 + 4 + 3 + 2);
    EXPECT_EQ(Allocations(), 0);
}

}  // namespace
