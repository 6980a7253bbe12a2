// The status library's reply framing and every typed and text getter, on replies from the
// fuzzing monitor: no reply may make it write past a buffer, leave a text unterminated, or
// report more than it delivered.
//
// Input: steps of exports, as RunSteps reads them; the word argument is a size.

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/monitor/fuzz_monitor.h"
#include "status/parvel.h"

namespace {

int32_t Handle() {
    static const int32_t handle = JmInitialize(u"EMU1");
    return handle;
}

using TextGetter = int32_t (*)(int32_t, char*);
using NumberGetter = int32_t (*)(int32_t);

// A text getter writes a terminated text of at most the capacity, or nothing.
void Text(TextGetter get) {
    char out[PARVEL_TEXT_CAPACITY];
    std::memset(out, 0x55, sizeof out);
    const int32_t n = get(Handle(), out);
    const bool untouched = std::all_of(out, out + sizeof out, [](char c) { return c == 0x55; });
    FUZZ_CHECK(untouched || std::memchr(out, 0, sizeof out) != nullptr);
    FUZZ_CHECK(n >= -1 && n <= PARVEL_TEXT_CAPACITY);
}

const std::string kRequest = std::string("\x1bP") + "TBL_RD" + "HeadTemp_Y      " + "        ";

// The raw reply: never more than the room given, always a terminator after it.
void RawReply(uint16_t size) {
    const int32_t outSize = size % 5000;
    auto out = std::make_unique<unsigned char[]>(static_cast<size_t>(outSize) + 1);
    int32_t received = -7;
    JmGetCommand(Handle(), kRequest.data(), 32, out.get(), outSize, &received);
    FUZZ_CHECK(received >= 0 && received <= outSize);
    FUZZ_CHECK(out[received] == 0);
}

// The payload: at most outSize bytes, or -1.
void Payload(uint16_t size) {
    const int32_t outSize = size % 5000;
    auto out = std::make_unique<unsigned char[]>(static_cast<size_t>(outSize));
    const int32_t n = JmGetCommandEX(Handle(), kRequest.data(), 32, out.get(), outSize);
    FUZZ_CHECK(n >= -1 && n <= outSize);
}

void Number(NumberGetter get) {
    get(Handle());
}

void Transfer(int32_t (*send)(int32_t, const void*, int32_t), uint16_t size) {
    const std::vector<unsigned char> data(size % 6000, 0xA5);
    send(Handle(), data.data(), static_cast<int32_t>(data.size()));
}

const FuzzStep kSteps[] = {
    {RawReply},
    {Payload},
    {[](uint16_t) { Text(JmGetVersion); }},
    {[](uint16_t) { Text(JmGetSensorInfo); }},
    {[](uint16_t) { Text(JmGetMedia); }},
    {[](uint16_t) { Text(JmGetMediaLotNo); }},
    {[](uint16_t) { Text(JmGetSerialNo); }},
    {[](uint16_t) { Text(JmGetColorDataVersion); }},
    {[](uint16_t) { Text(JmGetColorDataChecksum); }},
    {[](uint16_t) { Number(JmGetStatus); }},
    {[](uint16_t) { Number(JmGetPQTY); }},
    {[](uint16_t) { Number(JmGetCounterL); }},
    {[](uint16_t) { Number(JmGetCounterA); }},
    {[](uint16_t) { Number(JmGetCounterB); }},
    {[](uint16_t) { Number(JmGetResolutionH); }},
    {[](uint16_t) { Number(JmGetResolutionV); }},
    {[](uint16_t) { Number(JmGetFreeBuffer); }},
    {[](uint16_t) { Number(JmGetMediaCounter); }},
    {[](uint16_t) { Number(JmGetMediaColorOffset); }},
    {[](uint16_t) { Number(GetMediaIdSetInfo); }},
    {[](uint16_t) { Number(JmSetClearCounterA); }},
    {[](uint16_t) { Number(JmSetFirmwUpdateMode); }},
    {[](uint16_t) { Number(JmSetColorDataClear); }},
    {[](uint16_t size) { SetCutterMode(Handle(), size); }},
    {[](uint16_t size) { Transfer(JmSetColorDataWrite, size); }},
    {[](uint16_t size) { Transfer(JmSetColorDataVersion, size); }},
    {[](uint16_t size) { Transfer(JmSetFirmwDataWrite, size); }},
};

}  // namespace

std::vector<std::string> FuzzSeeds() {
    // Buffers and transfers of 64 bytes.
    return RecordSteps(kSteps, [](size_t) -> uint16_t { return 64; });
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RunSteps(kSteps, data, size);
    return 0;
}
