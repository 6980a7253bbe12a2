#pragma once
// The transport's state as the getters and the commands of the library use it.

#include <cstdint>

#include "status/command_block.h"

namespace parvel {

// Where each export formats its command block.
extern unsigned char CommandBuffer[BufferSize];

// Where the getters receive a reply payload; one byte more than a payload can
// fill, so that a text read from it always finds a terminator.
extern unsigned char ReplyBuffer[BufferSize + 1];

}  // namespace parvel
