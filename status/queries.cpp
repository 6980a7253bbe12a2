// The typed getters: one fixed request block each, the reply read as a text, a
// number after a prefix, packed offsets, or the status word.

#include <algorithm>
#include <climits>
#include <cstring>

#include "status/parvel.h"
#include "status/transport.h"

namespace parvel {
namespace {

constexpr int RequestSize = 32;

// Sends the request and receives its payload at the start of ReplyBuffer.
// Returns the payload length, or -1 when the exchange failed.
int32_t Exchange(int32_t handle, const char* command, const char* parameter,
                 const char* lengthField, Wait wait = Wait::Full) {
    FormatBlockHeader(CommandBuffer, command, parameter, lengthField);
    return GetPayload(handle, CommandBuffer, RequestSize, ReplyBuffer, BufferSize, wait);
}

// Text getters: the reply read as a NUL-terminated text, which the cleared
// buffer guarantees. The copy skips the first `skip` characters and is cut to
// the caller's buffer; L is the length of the reply text as far as it reached
// the caller (skipped characters included), so the results never count
// characters that were not copied.
struct TextReply {
    bool ok;
    int32_t length;  // L
};

TextReply ReadText(int32_t handle, char* out, const char* command, const char* parameter,
                   const char* lengthField, size_t skip = 0, Wait wait = Wait::Full) {
    std::memset(ReplyBuffer, 0, sizeof ReplyBuffer);
    if (Exchange(handle, command, parameter, lengthField, wait) < 0) return {false, -1};
    const char* text = reinterpret_cast<const char*>(ReplyBuffer);
    const size_t whole = strnlen(text, sizeof ReplyBuffer);
    const size_t from = std::min(skip, whole);
    const size_t copied = std::min(whole - from, static_cast<size_t>(PARVEL_TEXT_CAPACITY - 1));
    if (out != nullptr) {
        std::memcpy(out, text + from, copied);
        out[copied] = '\0';
    }
    return {true, static_cast<int32_t>(from + copied)};
}

int32_t TextLengthLessOne(TextReply r) {
    return r.ok ? r.length - 1 : -1;
}

// A signed decimal number at text[0..n): white space before it, an optional
// sign, the digits up to the first character that is not one. Stays within
// the reply, so bytes of an older reply never join it.
bool ReadNumber(const unsigned char* text, int32_t n, int32_t* value) {
    int32_t i = 0;
    while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= n || text[i] < '0' || text[i] > '9') return false;
    int64_t v = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = std::min<int64_t>(v * 10 + (text[i] - '0'), int64_t{INT32_MAX} + 1);
    }
    v = negative ? -v : v;
    *value = static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    return true;
}

// The number after a fixed prefix of a reply of n bytes; false when the prefix
// does not match or no number follows it.
bool NumberAfter(const char* prefix, int32_t n, int32_t* value) {
    const int32_t p = static_cast<int32_t>(std::strlen(prefix));
    if (n < p || std::memcmp(ReplyBuffer, prefix, p) != 0) return false;
    return ReadNumber(ReplyBuffer + p, n - p, value);
}

// Numeric getters: 0 when the reply does not hold the number, -1 when the
// exchange failed.
int32_t ReadNumeric(int32_t handle, const char* command, const char* parameter,
                    const char* prefix) {
    const int32_t n = Exchange(handle, command, parameter, NoLength);
    if (n < 0) return -1;
    int32_t v = 0;
    NumberAfter(prefix, n, &v);
    return v;
}

constexpr int32_t StatusUnknown = INT32_MIN;  // 0x80000000

struct StatusRow {
    int32_t code;
    int32_t word;
};

constexpr StatusRow PlainStatus[] = {
    {0, 0x00010001},    {1, 0x00010002},    {2, 0x00010004},    {1100, 0x00010008},
    {1200, 0x00010010}, {500, 0x00010020},  {510, 0x00010040},  {1000, 0x00020001},
    {1300, 0x00020002}, {1400, 0x00020004}, {1500, 0x00020008}, {1600, 0x00020010},
    {1010, 0x00020020}, {2000, 0x00040001}, {2100, 0x00040002}, {2200, 0x00040004},
    {2300, 0x00040008}, {2400, 0x00040010}, {2500, 0x00040020}, {2600, 0x00040040},
    {2700, 0x00040080}, {2800, 0x00040100}, {2610, 0x00040200}, {3000, 0x00080001},
};

constexpr StatusRow FirmwareUpdateStatus[] = {
    {1, 0x00100001},   {2, 0x00100002},   {3, 0x00100004},
    {101, 0x00100008}, {200, 0x00100010}, {300, 0x00100020},
};

template <size_t N>
int32_t WordOf(const StatusRow (&table)[N], int32_t code) {
    for (const StatusRow& row : table) {
        if (row.code == code) return row.word;
    }
    return StatusUnknown;
}

}  // namespace
}  // namespace parvel

using namespace parvel;

extern "C" {

int32_t GetStatus(int32_t h) {
    const int32_t n = Exchange(h, "STATUS", "", NoLength);
    if (n < 0) return StatusUnknown;
    int32_t code = 0;
    // A reply without a readable number is not "Idle".
    if (n >= 2 && ReplyBuffer[0] == 'F' && ReplyBuffer[1] == 'U') {
        return NumberAfter("FU", n, &code) ? WordOf(FirmwareUpdateStatus, code) : StatusUnknown;
    }
    return ReadNumber(ReplyBuffer, n, &code) ? WordOf(PlainStatus, code) : StatusUnknown;
}

int32_t GetFirmwVersion(int32_t h, char* out) {
    return TextLengthLessOne(ReadText(h, out, "INFO", "FVER", NoLength));
}

int32_t GetSensorInfo(int32_t h, char* out) {
    return TextLengthLessOne(ReadText(h, out, "INFO", "SENSOR", NoLength));
}

int32_t JmPollSensorInfo(int32_t h, char* out) {
    return TextLengthLessOne(ReadText(h, out, "INFO", "SENSOR", NoLength, 0, Wait::Brief));
}

// The media text follows a two-character prefix that stays behind; the result
// still counts it.
int32_t GetMedia(int32_t h, char* out) {
    return TextLengthLessOne(ReadText(h, out, "INFO", "MEDIA", NoLength, 2));
}

int32_t GetSerialNo(int32_t h, char* out) {
    return TextLengthLessOne(ReadText(h, out, "INFO", "SERIAL_NUMBER", NoLength));
}

int32_t GetColorDataChecksum(int32_t h, char* out) {
    return TextLengthLessOne(ReadText(h, out, "MNT_RD", "CTRLD_CHKSUM", ZeroLength));
}

int32_t GetColorDataVersion(int32_t h, char* out) {
    const TextReply r = ReadText(h, out, "TBL_RD", "Version", ZeroLength);
    return r.ok ? r.length : -1;
}

int32_t GetMediaLotNo(int32_t h, char* out) {
    return ReadText(h, out, "INFO", "MLOT", NoLength).ok ? 20 : -1;
}

int32_t GetPQTY(int32_t h) {
    return ReadNumeric(h, "INFO", "PQTY", "PQTY");
}
int32_t GetCounterL(int32_t h) {
    return ReadNumeric(h, "MNT_RD", "COUNTER_LIFE", "CL");
}
int32_t GetCounterA(int32_t h) {
    return ReadNumeric(h, "MNT_RD", "COUNTER_A", "CA");
}
int32_t GetCounterB(int32_t h) {
    return ReadNumeric(h, "MNT_RD", "COUNTER_B", "CB");
}
int32_t GetResolutionH(int32_t h) {
    return ReadNumeric(h, "INFO", "RESOLUTION_H", "RH");
}
int32_t GetResolutionV(int32_t h) {
    return ReadNumeric(h, "INFO", "RESOLUTION_V", "RV");
}
int32_t GetFreeBuffer(int32_t h) {
    return ReadNumeric(h, "INFO", "FREE_PBUFFER", "FPB");
}
int32_t GetMediaCounter(int32_t h) {
    return ReadNumeric(h, "INFO", "MQTY", "MQTY");
}

// Unlike the other numeric getters, a reply without the number is a failure.
int32_t GetMediaIdSetInfo(int32_t h) {
    const int32_t n = Exchange(h, "MNT_RD", "MEDIA_ID_SET", ZeroLength);
    int32_t v = 0;
    return n >= 0 && NumberAfter("MDID", n, &v) ? v : -1;
}

// Payload bytes 2..5, each signed, packed high to low. Bytes the reply did not
// bring read as 0 rather than as an older reply's; the sum wraps as 32-bit.
int32_t GetMediaColorOffset(int32_t h) {
    const int32_t n = Exchange(h, "INFO", "MCOLOR", NoLength);
    if (n < 0) return -1;
    int64_t v = 0;
    for (int32_t i = 2; i < 6; ++i) {
        const int8_t b = i < n ? static_cast<int8_t>(ReplyBuffer[i]) : 0;
        v = v * 256 + b;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

// The Jm names of the getters are entries of their own that forward.
int32_t JmGetVersion(int32_t h, char* out) {
    return GetFirmwVersion(h, out);
}
int32_t JmGetSensorInfo(int32_t h, char* out) {
    return GetSensorInfo(h, out);
}
int32_t JmGetStatus(int32_t h) {
    return GetStatus(h);
}
int32_t JmGetMedia(int32_t h, char* out) {
    return GetMedia(h, out);
}
int32_t JmGetPQTY(int32_t h) {
    return GetPQTY(h);
}
int32_t JmGetCounterL(int32_t h) {
    return GetCounterL(h);
}
int32_t JmGetCounterA(int32_t h) {
    return GetCounterA(h);
}
int32_t JmGetCounterB(int32_t h) {
    return GetCounterB(h);
}
int32_t JmGetResolutionH(int32_t h) {
    return GetResolutionH(h);
}
int32_t JmGetResolutionV(int32_t h) {
    return GetResolutionV(h);
}
int32_t JmGetFreeBuffer(int32_t h) {
    return GetFreeBuffer(h);
}
int32_t JmGetMediaLotNo(int32_t h, char* out) {
    return GetMediaLotNo(h, out);
}
int32_t JmGetMediaCounter(int32_t h) {
    return GetMediaCounter(h);
}
int32_t JmGetMediaColorOffset(int32_t h) {
    return GetMediaColorOffset(h);
}
int32_t JmGetSerialNo(int32_t h, char* out) {
    return GetSerialNo(h, out);
}
int32_t JmGetColorDataVersion(int32_t h, char* out) {
    return GetColorDataVersion(h, out);
}
int32_t JmGetColorDataChecksum(int32_t h, char* out) {
    return GetColorDataChecksum(h, out);
}

}  // extern "C"
