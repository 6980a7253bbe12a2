#pragma once
// The transport's state as the getters and the commands of the library use it.

#include <cstdint>

#include "status/command_block.h"

namespace parvel {

// Where each export formats its command block.
extern unsigned char CommandBuffer[BufferSize];

// Where the getters receive a reply payload. A payload fills at most
// BufferSize - HeaderSize bytes of it, so once cleared it always holds a
// terminator after the payload.
extern unsigned char ReplyBuffer[BufferSize];

// How long a request may wait for its reply: the monitor's full reply timeout, or, for a poll
// that must not hold its caller while the printer is silent, the monitor's brief wait when it
// offers one (the full timeout otherwise).
enum class Wait { Full, Brief };

// JmGetCommandEX with the wait chosen.
int32_t GetPayload(int32_t handle, const void* request, int32_t requestLength, void* out,
                   int32_t outSize, Wait wait);

}  // namespace parvel
