#include "tests/status/standin_monitor.h"

#include <algorithm>
#include <cstring>

namespace {

struct Answer {
    int result;
    unsigned char reply[4400];
    int replyLength;
    int reportedCount;
};

constexpr int MaxCalls = 64;
constexpr int MaxAnswers = 32;

StandinCall Calls[MaxCalls];
int CallCount = 0;
Answer Answers[MaxAnswers];
int AnswerCount = 0;
int NextAnswer = 0;

}  // namespace

extern "C" {

void standin_reset(void) {
    CallCount = 0;
    AnswerCount = 0;
    NextAnswer = 0;
}

void standin_script(int result, const void* reply, int replyLength, int reportedCount) {
    Answer& a = Answers[AnswerCount++ % MaxAnswers];
    a.result = result;
    a.replyLength = std::min<int>(replyLength, sizeof a.reply);
    if (a.replyLength > 0) std::memcpy(a.reply, reply, a.replyLength);
    a.reportedCount = reportedCount < 0 ? a.replyLength : reportedCount;
}

int standin_call_count(void) {
    return CallCount;
}

const StandinCall* standin_call(int index) {
    return index >= 0 && index < std::min(CallCount, MaxCalls) ? &Calls[index] : nullptr;
}

int MonitorIoControl(const char16_t* portName, uint32_t controlCode, const void* in,
                     uint32_t inLength, void* out, uint32_t outSize, uint32_t* returned) {
    if (CallCount < MaxCalls) {
        StandinCall& c = Calls[CallCount];
        int i = 0;
        for (; i < 255 && portName[i] != u'\0'; ++i) c.port[i] = portName[i];
        c.port[i] = u'\0';
        c.controlCode = controlCode;
        c.in = in;
        c.inLength = inLength;
        if (in != nullptr) std::memcpy(c.bytes, in, std::min<size_t>(inLength, sizeof c.bytes));
        c.out = out;
        c.outSize = outSize;
    }
    ++CallCount;
    if (NextAnswer >= AnswerCount) {
        *returned = 0;
        return 1;
    }
    const Answer& a = Answers[NextAnswer++ % MaxAnswers];
    uint32_t written = std::min<uint32_t>(a.replyLength, outSize);
    if (written > 0) std::memcpy(out, a.reply, written);
    *returned = a.reportedCount;
    return a.result;
}

}  // extern "C"
