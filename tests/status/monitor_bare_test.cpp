// libparvel.so in front of a monitor that has no MonitorIoControl (run with
// that monitor in front only).

#include <gtest/gtest.h>

#include <cstring>

#include "tests/status/monitor_library.h"

using namespace standin_test;

namespace {

TEST(BareMonitor, LoadsAndFailsEveryExchange) {
    ASSERT_NE(MonitorFunction("standin_bare_monitor"), nullptr) << "not the bare monitor in front";
    ASSERT_EQ(MonitorFunction("MonitorIoControl"), nullptr);

    auto init = Bind<InitializeFn>("JmInitialize");
    ASSERT_NE(init, nullptr);
    ASSERT_EQ(init(u"EMU1"), 1);

    unsigned char out[8];
    std::memset(out, 0xEE, sizeof out);
    int32_t received = -5;
    EXPECT_EQ(Bind<SetCommandFn>("JmSetCommand")(1, "x", 1), 0);
    EXPECT_EQ(Bind<GetCommandEXFn>("JmGetCommandEX")(1, "x", 1, out, 7), -1);
    EXPECT_EQ(out[0], 0xEE);
    EXPECT_EQ(Bind<GetCommandFn>("JmGetCommand")(1, "x", 1, out, 7, &received), 0);
    EXPECT_EQ(received, 0);
    EXPECT_EQ(out[0], 0);
}

}  // namespace
