#include <gtest/gtest.h>

#include <vector>

#include "core/parvel_link.h"
#include "core/sleep.h"

namespace {

TEST(Seams, SleepGoesThroughTheInstalledHandler) {
    std::vector<int> waits;
    SetSleepHandler([&](int ms) { waits.push_back(ms); });
    Sleep(2000);
    Sleep(0);
    SetSleepHandler({});
    Sleep(1);  // the real wait, briefly
    EXPECT_EQ(waits, (std::vector<int>{2000, 0}));
}

TEST(Seams, AMissingExportIsUnavailable) {
    EXPECT_THROW(Parvel::Bind("JmNoSuchExport"), Parvel::Unavailable);
}

}  // namespace
