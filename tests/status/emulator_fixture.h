#pragma once
// Tests through libparvel.so and the real monitor to an emulated printer.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/quillet/quillet_control.h"
#include "status/parvel.h"
#include "tests/status/block_text.h"

namespace emulator_test {

constexpr const char16_t* Port = u"EMU1";
constexpr uint32_t Send = 0x220038;
constexpr uint32_t Receive = 0x22003C;

struct Received {
    uint32_t controlCode = 0;
    std::u16string port;
    std::string bytes;
};

// Call `index` of the emulator's received log; a negative index counts from
// the end.
Received ReceivedCall(int index);

// From now on the printer answers this request with exactly this payload.
void Reply(const char* command, const char* parameter, const std::string& payload);

std::string Setting(const char* key);

// Every emulated printer at its factory state, and the port registered.
class EmulatorFixture : public ::testing::Test {
protected:
    void SetUp() override;
    int32_t handle = 0;
};

}  // namespace emulator_test
