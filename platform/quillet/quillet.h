#pragma once
// The language monitor: the one door through which the system reaches a printer.
//
// A port name that begins with "EMU" addresses an emulated printer held in this
// process (one per port name); a port name that is an absolute path addresses a
// bidirectional printer device file. Every other name fails.

#include <cstdint>

#define QUILLET_EXPORT __attribute__((visibility("default")))

enum : uint32_t {
    IOCTL_MONITOR_SEND = 0x220038,     // hand a block to the printer; no output
    IOCTL_MONITOR_RECEIVE = 0x22003C,  // hand a request over, take back its framed reply
};

extern "C" {
// Returns nonzero on success. For a receive, the output holds the reply framed as
// 8 decimal length digits and the payload, and *returned counts those bytes.
QUILLET_EXPORT int MonitorIoControl(const char16_t* portName, uint32_t controlCode, const void* in,
                                    uint32_t inLength, void* out, uint32_t outSize,
                                    uint32_t* returned);
}
