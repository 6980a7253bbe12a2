#include "tests/status/emulator_fixture.h"

#include <vector>

namespace emulator_test {

Received ReceivedCall(int index) {
    const int count = quillet_received_count();
    if (index < 0) index += count;
    Received r;
    std::vector<unsigned char> buf(70000);
    char16_t port[64] = {};
    const int n =
        quillet_received(index, &r.controlCode, buf.data(), static_cast<int>(buf.size()), port, 64);
    if (n < 0) {
        ADD_FAILURE() << "the emulator received no call " << index << " (of " << count << ")";
        return r;
    }
    r.port = port;
    r.bytes.assign(buf.begin(), buf.begin() + std::min<size_t>(n, buf.size()));
    return r;
}

void Reply(const char* command, const char* parameter, const std::string& payload) {
    quillet_set_reply(Port, command, parameter,
                      reinterpret_cast<const unsigned char*>(payload.data()),
                      static_cast<int>(payload.size()));
}

std::string Setting(const char* key) {
    char out[512];
    const int n = quillet_get_setting(Port, key, out, sizeof out);
    EXPECT_GE(n, 0) << key;
    return n < 0 ? std::string() : std::string(out);
}

void EmulatorFixture::SetUp() {
    quillet_reset();
    handle = JmInitialize(Port);
    ASSERT_GE(handle, 1);
}

}  // namespace emulator_test
