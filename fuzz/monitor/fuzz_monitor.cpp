#include "fuzz/monitor/fuzz_monitor.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/quillet/quillet.h"

// The emulated printer's entry point, compiled into this library under this name.
extern "C" int EmulatorIoControl(const char16_t* portName, uint32_t controlCode, const void* in,
                                 uint32_t inLength, void* out, uint32_t outSize,
                                 uint32_t* returned);

namespace {
FuzzInput* Input = nullptr;
std::string* Recorded = nullptr;
}  // namespace

extern "C" {

void fuzz_monitor_feed(FuzzInput* input) {
    Input = input;
}

void fuzz_monitor_record(std::string* answers) {
    Recorded = answers;
}

QUILLET_EXPORT int MonitorIoControl(const char16_t* portName, uint32_t controlCode, const void* in,
                                    uint32_t inLength, void* out, uint32_t outSize,
                                    uint32_t* returned) {
    if (Recorded) {
        uint32_t count = 0;
        const int ok = EmulatorIoControl(portName, controlCode, in, inLength, out, outSize, &count);
        if (returned) *returned = count;
        const size_t n = ok && out ? count : 0;
        FuzzOutput answer;
        answer.Byte(ok ? 1 : 0).Word(static_cast<unsigned>(n));
        answer.Bytes(std::string_view(static_cast<const char*>(out), n));
        *Recorded += answer.bytes;
        return ok;
    }
    if (returned) *returned = 0;
    if (!Input) return 0;
    const uint8_t flags = Input->Byte();
    const std::string_view reply = Input->Bytes(Input->Word());
    uint32_t reported = static_cast<uint32_t>(reply.size());
    if (flags & 2) reported += Input->Byte();
    if (out && outSize > 0 && controlCode == IOCTL_MONITOR_RECEIVE) {
        std::memcpy(out, reply.data(), std::min<size_t>(reply.size(), outSize));
    } else {
        reported = 0;
    }
    if (returned) *returned = reported;
    return flags & 1;
}
}
