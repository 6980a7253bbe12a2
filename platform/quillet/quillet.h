#pragma once
// The language monitor: the one door through which the system reaches a printer.
//
// A port name that begins with "EMU" addresses an emulated printer held in this
// process (one per port name); a port name that is an absolute path addresses a
// bidirectional printer device file (a character device, or a link to one). Every
// other name fails.

#include <cstdint>

#define QUILLET_EXPORT __attribute__((visibility("default")))

enum : uint32_t {
    IOCTL_MONITOR_SEND = 0x220038,     // hand a block to the printer; no output
    IOCTL_MONITOR_RECEIVE = 0x22003C,  // hand a request over, take back its framed reply
    // As a receive, but the whole exchange waits at most the brief wait: for a poll, which must
    // not hold its caller for a full reply timeout when the printer is silent.
    IOCTL_MONITOR_RECEIVE_BRIEF = 0x220040,
    // Asks for the brief wait: out receives it in milliseconds as an unsigned 32-bit value and
    // *returned is 4. No printer is reached. A monitor without brief receives fails it.
    IOCTL_MONITOR_BRIEF_WAIT = 0x220044,
};

extern "C" {
// Returns nonzero on success. For a receive, the output holds the reply framed as
// 8 decimal length digits and the payload, and *returned counts those bytes.
QUILLET_EXPORT int MonitorIoControl(const char16_t* portName, uint32_t controlCode, const void* in,
                                    uint32_t inLength, void* out, uint32_t outSize,
                                    uint32_t* returned);
}
