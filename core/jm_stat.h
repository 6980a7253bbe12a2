#pragma once

#include <cstdint>

// The two transport calls of the status library with the busy notice around each exchange:
// "SENDING!" / "RECEIVING!" before, cleared after, whatever the result. The library's result is
// returned unchanged; when the library cannot be loaded at all, or another exchange is in progress
// (core/exchange_guard.h), the exchange fails (0 / -1).
namespace JmStat {

int32_t SendCommand(int32_t port, const void* data, int32_t length);
int32_t ReceiveCommand(int32_t port, const void* request, int32_t requestLength, void* out,
                       int32_t outSize);

}  // namespace JmStat
