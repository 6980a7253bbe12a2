#pragma once
// A printer reached through a bidirectional device file (/dev/usb/lp0, a serial line,
// /dev/serial/by-id/...). A send writes the block; a receive writes the request and
// reads the reply framed as 8 length digits and the payload. Every exchange is bounded
// by the port timeout (a brief receive by the brief wait): it never hangs, never reads
// past the framed length and never writes past the caller's output buffer; a failed one
// leaves that buffer as it was. Only a character device is a port: a regular file, a
// folder, a pipe or a socket named as one fails the exchange before a byte is written.
//
// The device stays open between exchanges, configured once, and is let go after a short
// idle time so that other programs can reach the printer between the tool's bursts. An
// exchange that finds the line hung up (the printer unplugged), and every failed one,
// opens the device afresh, so a printer plugged in again at the same path is found again.
// In its steady state an exchange allocates nothing.

#include <cstdint>

namespace quillet {

inline constexpr int kDefaultPortTimeoutMs = 5000;
// The timeout of one exchange: RNTOOLS_PORT_TIMEOUT_MS when it holds a positive whole
// number of milliseconds, else kDefaultPortTimeoutMs.
int PortTimeoutMs();

// The wait of a brief receive (a poll): kBriefWaitMs, or the port timeout when that is shorter.
inline constexpr int kBriefWaitMs = 300;
int BriefWaitMs();

// How long an open device may stay unused before it is closed.
inline constexpr int kDeviceIdleCloseMs = 500;
// Bytes that came before a request are a late answer to an earlier one and are dropped;
// a device that sends more than this before the request never falls silent, and the
// exchange fails without sending.
inline constexpr uint32_t kStaleByteLimit = 65536;

// True for a port name that addresses a device file: an absolute path.
inline bool IsDevicePath(const char16_t* portName) {
    return portName != nullptr && portName[0] == u'/';
}

// One MonitorIoControl call on a device port, its trace included; same contract.
int DeviceExchange(const char16_t* portName, uint32_t controlCode, const uint8_t* in,
                   uint32_t inLength, uint8_t* out, uint32_t outSize, uint32_t* returned);

}  // namespace quillet
