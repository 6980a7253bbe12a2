#pragma once
// Helpers of the monitor's tests: blocks built as the system builds them, and
// exchanges through the real entry point.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/quillet/quillet_control.h"

namespace quillet_test {

using Bytes = std::vector<uint8_t>;

inline const char16_t* const kPort = u"EMU1";

inline Bytes Raw(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// ESC "P", the command and parameter blank-padded, the length as 8 digits (or 8
// blanks for a negative length), then the data.
inline Bytes Block(const std::string& command, const std::string& parameter, long length,
                   const Bytes& data = {}) {
    std::string head = "\x1BP" + (command + std::string(6, ' ')).substr(0, 6) +
                       (parameter + std::string(16, ' ')).substr(0, 16);
    if (length < 0) {
        head += std::string(8, ' ');
    } else {
        char digits[32];
        std::snprintf(digits, sizeof digits, "%08ld", length);
        head += digits;
    }
    Bytes block = Raw(head);
    block.insert(block.end(), data.begin(), data.end());
    return block;
}

inline bool Send(const Bytes& bytes, const char16_t* port = kPort) {
    return MonitorIoControl(port, IOCTL_MONITOR_SEND, bytes.data(),
                            static_cast<uint32_t>(bytes.size()), nullptr, 0, nullptr) != 0;
}

// The framed reply (8 length digits + payload), or false.
inline bool ReceiveFramed(const Bytes& request, Bytes& framed, const char16_t* port = kPort,
                          uint32_t outSize = 4096) {
    Bytes out(outSize);
    uint32_t returned = 12345;
    const int ok =
        MonitorIoControl(port, IOCTL_MONITOR_RECEIVE, request.data(),
                         static_cast<uint32_t>(request.size()), out.data(), outSize, &returned);
    if (!ok) return false;
    out.resize(returned);
    framed = out;
    return true;
}

// The payload of a request's reply, after checking its framing.
inline bool Receive(const Bytes& request, Bytes& payload, const char16_t* port = kPort) {
    Bytes framed;
    if (!ReceiveFramed(request, framed, port)) return false;
    EXPECT_GE(framed.size(), 8u);
    const std::string digits(framed.begin(), framed.begin() + 8);
    EXPECT_EQ(std::stoul(digits), framed.size() - 8) << digits;
    payload.assign(framed.begin() + 8, framed.end());
    return true;
}

inline std::string Text(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

// The reply text of a request without data.
inline std::string Ask(const std::string& command, const std::string& parameter,
                       const char16_t* port = kPort) {
    Bytes payload;
    if (!Receive(Block(command, parameter, -1), payload, port)) return "<failed>";
    return Text(payload);
}

inline std::string Setting(const char* key, const char16_t* port = kPort) {
    char buf[256];
    if (quillet_get_setting(port, key, buf, sizeof buf) < 0) return "<unknown>";
    return buf;
}

class Emulator : public ::testing::Test {
protected:
    void SetUp() override { quillet_reset(); }
    void TearDown() override { quillet_reset(); }
};

// An emulator whose exchanges are traced to a file of the test's own.
class TracedEmulator : public Emulator {
protected:
    void SetUp() override {
        Emulator::SetUp();
        // Tests may run side by side in several processes: one file each.
        path_ = ::testing::TempDir() + "quillet_trace_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                std::to_string(getpid()) + ".log";
        std::remove(path_.c_str());
        setenv("QUILLET_LOG", path_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("QUILLET_LOG");
        std::remove(path_.c_str());
        Emulator::TearDown();
    }
    std::string TraceText() const {
        std::ifstream in(path_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The last "result:" line of the trace.
    std::string LastResult() const {
        std::istringstream in(TraceText());
        std::string line, last;
        while (std::getline(in, line))
            if (line.rfind("  result: ", 0) == 0) last = line;
        return last;
    }
    std::string path_;
};

}  // namespace quillet_test
