// The exports that change something in the printer: single-send commands,
// transfers sent in pieces, and the mode commands.

#include <cstring>

#include "status/parvel.h"
#include "status/transport.h"

namespace parvel {
namespace {

constexpr int32_t HeadSize = 24;  // ESC "P", command and parameter
constexpr int32_t BlockHeaderSize = 32;

// The length digits and mode values of a transfer, apart from CommandBuffer,
// which may still hold a piece on its way.
char Digits[8];

int32_t SendCommandBuffer(int32_t h, int32_t length) {
    return JmSetCommand(h, CommandBuffer, length);
}

int32_t SendDigits(int32_t h, int32_t value) {
    FormatLength8(Digits, value);
    return JmSetCommand(h, Digits, sizeof Digits);
}

bool InLength8Range(int32_t v) {
    return v >= 0 && v <= MaxLength8;
}

int32_t ClearCounter(int32_t h, const char* counter) {
    FormatBlockHeader(CommandBuffer, "MNT_WT", "COUNTER_CLEAR", "00000004");
    CommandBuffer[32] = static_cast<unsigned char>(counter[0]);
    CommandBuffer[33] = static_cast<unsigned char>(counter[1]);
    CommandBuffer[34] = '\r';
    CommandBuffer[35] = '\0';
    return SendCommandBuffer(h, 36);
}

// Header, then the length digits, then the caller's data straight from its
// buffer. A length that eight digits cannot carry is refused before anything
// is sent.
int32_t Transfer(int32_t h, const char* command, const char* parameter, const void* data,
                 int32_t length) {
    if (!InLength8Range(length) || (data == nullptr && length > 0)) return -1;
    FormatBlockHeader(CommandBuffer, command, parameter, NoLength);
    if (SendCommandBuffer(h, HeadSize) == 0) return -1;
    if (SendDigits(h, length) == 0) return -1;
    return JmSetCommand(h, data, length);
}

int32_t SetMode(int32_t h, const char* parameter, int32_t mode) {
    if (!InLength8Range(mode)) return -1;
    FormatBlockHeader(CommandBuffer, "CNTRL", parameter, "00000008");
    if (SendCommandBuffer(h, BlockHeaderSize) == 0) return -1;
    return SendDigits(h, mode);
}

}  // namespace
}  // namespace parvel

using namespace parvel;

extern "C" {

int32_t SetClearCounterA(int32_t h) {
    return ClearCounter(h, "CA");
}
int32_t SetClearCounterB(int32_t h) {
    return ClearCounter(h, "CB");
}

int32_t SetFirmwUpdateMode(int32_t h) {
    FormatBlockHeader(CommandBuffer, "FW_UPD", "FLASH_REWRITE", NoLength);
    return SendCommandBuffer(h, BlockHeaderSize);
}

int32_t SetColorDataClear(int32_t h) {
    FormatBlockHeader(CommandBuffer, "TBL_CL", "", ZeroLength);
    return SendCommandBuffer(h, BlockHeaderSize);
}

int32_t SetFirmwDataWrite(int32_t h, const void* data, int32_t length) {
    return Transfer(h, "FW_UPD", "FLASH_PROGRAM", data, length);
}

int32_t SetColorDataWrite(int32_t h, const void* data, int32_t length) {
    return Transfer(h, "TBL_WT", "CTRLD_UPDATE_KT", data, length);
}

// The data travels in whole 16-byte units. Data that is not a whole number of
// units is padded with zero bytes in the library's own buffer, never read past
// the caller's.
int32_t SetColorDataVersion(int32_t h, const void* data, int32_t length) {
    if (!InLength8Range(length) || (data == nullptr && length > 0)) return -1;
    const int32_t p = length % 16 == 0 ? length : (length + 16) & ~15;
    if (!InLength8Range(p) || (p != length && p > BufferSize)) return -1;
    FormatBlockHeader(CommandBuffer, "TBL_WT", "Version", NoLength);
    if (JmSetCommand(h, CommandBuffer, 8) == 0) return -1;
    if (JmSetCommand(h, CommandBuffer + 8, 16) == 0) return -1;
    if (SendDigits(h, p) == 0) return -1;
    if (p == length) return JmSetCommand(h, data, p);
    // The head has gone; CommandBuffer is free to hold the padded data.
    std::memcpy(CommandBuffer, data, length);
    std::memset(CommandBuffer + length, 0, p - length);
    return SendCommandBuffer(h, p);
}

int32_t SetCutterMode(int32_t h, int32_t mode) {
    return SetMode(h, "CUTTER", mode);
}
int32_t SetRetentionMode(int32_t h, int32_t mode) {
    return SetMode(h, "RETENTION", mode);
}

// The Jm names of the commands are entries of their own that forward.
int32_t JmSetClearCounterA(int32_t h) {
    return SetClearCounterA(h);
}
int32_t JmSetClearCounterB(int32_t h) {
    return SetClearCounterB(h);
}
int32_t JmSetFirmwUpdateMode(int32_t h) {
    return SetFirmwUpdateMode(h);
}
int32_t JmSetFirmwDataWrite(int32_t h, const void* data, int32_t length) {
    return SetFirmwDataWrite(h, data, length);
}
int32_t JmSetColorDataWrite(int32_t h, const void* data, int32_t length) {
    return SetColorDataWrite(h, data, length);
}
int32_t JmSetColorDataVersion(int32_t h, const void* data, int32_t length) {
    return SetColorDataVersion(h, data, length);
}
int32_t JmSetColorDataClear(int32_t h) {
    return SetColorDataClear(h);
}

}  // extern "C"
