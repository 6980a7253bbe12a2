#pragma once
// What the emulated printers and the device port both make of a MonitorIoControl call before
// they act on it: whether its arguments can be taken at all, and the port name as UTF-8.
// Neither allocates, so that a device exchange in its steady state allocates nothing.

#include <cstddef>
#include <cstdint>

#include "platform/quillet/quillet.h"

namespace quillet {

// Whether the control code asks for a reply.
inline bool IsReceive(uint32_t code) {
    return code == IOCTL_MONITOR_RECEIVE || code == IOCTL_MONITOR_RECEIVE_BRIEF;
}

// Why a call cannot be made as given (an unknown control code, input bytes without a buffer, a
// receive without an output buffer), written into reason; false when the call is sound.
bool CallFault(uint32_t code, const void* in, uint32_t inLength, const void* out, char* reason,
               size_t reasonSize);

// The UTF-8 of a NUL-terminated UTF-16 name into text (a lone surrogate is taken as it is);
// false when it does not fit with its terminator, and text then holds as much as fitted.
bool Utf8Of(const char16_t* name, char* text, size_t size);

}  // namespace quillet
