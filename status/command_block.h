#pragma once
// The library's own inner routines, shared by the transport, the getters and
// the commands. Nothing here is exported.

#include <cstdint>

namespace parvel {

// Control codes of MonitorIoControl.
constexpr uint32_t IoctlMonitorSend = 0x220038;
constexpr uint32_t IoctlMonitorReceive = 0x22003C;
// A receive that waits at most the monitor's brief wait, and the question of that wait (the
// answer: 4 bytes, the wait in milliseconds). A monitor without them fails the question.
constexpr uint32_t IoctlMonitorReceiveBrief = 0x220040;
constexpr uint32_t IoctlMonitorBriefWait = 0x220044;

// Every exchange of the library fits this size; a raw reply of at most this
// many bytes carries at most BufferSize - 8 payload bytes.
constexpr int BufferSize = 4096;
constexpr int HeaderSize = 8;

// The largest value that eight decimal digits can carry: the bound of a length
// field and of a mode value.
constexpr int32_t MaxLength8 = 99'999'999;

// Length fields of a block that carries no data.
constexpr const char* NoLength = "        ";
constexpr const char* ZeroLength = "00000000";

// Formats the 32 bytes ESC "P", command and parameter padded with blanks to 6
// and 16, and the eight characters of the length field, at destination.
void FormatBlockHeader(unsigned char* destination, const char* command, const char* parameter,
                       const char* lengthField);

// Writes v as exactly eight ASCII decimal digits with leading zeros, without a
// terminator. v must lie in 0..MaxLength8.
void FormatLength8(char* destination, int32_t v);

}  // namespace parvel
