#pragma once
// A printer reached through a bidirectional device file (/dev/usb/lp0, a serial
// line, ...). A send writes the block; a receive writes the request and reads the
// reply framed as 8 length digits and the payload. Every exchange is bounded by the
// port timeout: it never hangs, never reads past the framed length and never past the
// caller's output buffer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

inline constexpr int kDefaultPortTimeoutMs = 5000;
// The timeout of one exchange: RNTOOLS_PORT_TIMEOUT_MS when it holds a positive whole
// number of milliseconds, else kDefaultPortTimeoutMs.
int PortTimeoutMs();

struct DeviceResult {
    bool ok = false;
    std::string reason;
    std::vector<std::string> notes;
    size_t returned = 0;  // bytes of the framed reply placed in the output
};

DeviceResult DeviceSend(const std::string& path, const uint8_t* in, size_t inLength, int timeoutMs);
DeviceResult DeviceReceive(const std::string& path, const uint8_t* in, size_t inLength,
                           uint8_t* out, size_t outSize, int timeoutMs);

}  // namespace quillet
