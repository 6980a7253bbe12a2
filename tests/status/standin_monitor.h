#pragma once
// A stand-in language monitor for the status library's tests: it records every
// MonitorIoControl call and answers from a script. Static storage only, so it
// adds no allocation of its own to what the tests count.

#include <cstdint>

struct StandinCall {
    char16_t port[256];  // the longest name the library takes, and its terminator
    uint32_t controlCode;
    const void* in;
    uint32_t inLength;
    unsigned char bytes[8192];  // the first bytes of in
    void* out;
    uint32_t outSize;
};

extern "C" {
// Forgets every call and every scripted answer.
void standin_reset(void);
// The next call answers with this entry, the one after with the next, and so
// on; past the script a call succeeds with no reply. The reply is written up to
// the output size; reportedCount < 0 reports the reply's length.
void standin_script(int result, const void* reply, int replyLength, int reportedCount);
int standin_call_count(void);
const StandinCall* standin_call(int index);
}
