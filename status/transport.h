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

}  // namespace parvel
