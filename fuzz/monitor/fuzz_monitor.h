#pragma once
// The fuzzing monitor: a libquillet.so whose MonitorIoControl answers each exchange from the
// fuzz input, so that the status library and the command layer read replies no printer
// would give. An answer in the input: a byte of flags (bit 0 the exchange succeeds, bit 1
// the count reported exceeds the reply by the next byte), a word of reply length, the reply.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"

extern "C" {
// Answers come from this input from now on (none: every exchange fails).
__attribute__((visibility("default"))) void fuzz_monitor_feed(FuzzInput* input);
// While answers is set, every exchange goes to the emulated printer instead, and its
// answer is appended to answers as the input would give it: seeds from real exchanges.
__attribute__((visibility("default"))) void fuzz_monitor_record(std::string* answers);
}

// The input of a target behind this monitor: steps of [routine][a word of argument][the
// monitor's answers for that routine's exchanges], until the input ends.
struct FuzzStep {
    void (*run)(uint16_t arg);
};

inline void RunSteps(std::span<const FuzzStep> steps, const uint8_t* data, size_t size) {
    FuzzInput input{data, size};
    fuzz_monitor_feed(&input);
    while (!input.empty()) {
        const FuzzStep& step = steps[input.Byte() % steps.size()];
        step.run(input.Word());
    }
    fuzz_monitor_feed(nullptr);
}

// One seed a routine, its answers taken from the emulated printer, and one of them all.
inline std::vector<std::string> RecordSteps(std::span<const FuzzStep> steps,
                                            uint16_t (*argOf)(size_t step)) {
    std::vector<std::string> seeds;
    std::string all;
    for (size_t i = 0; i < steps.size(); ++i) {
        const uint16_t arg = argOf(i);
        std::string answers;
        fuzz_monitor_record(&answers);
        steps[i].run(arg);
        fuzz_monitor_record(nullptr);
        FuzzOutput seed;
        seed.Byte(static_cast<unsigned>(i)).Word(arg).Bytes(answers);
        seeds.push_back(seed.bytes);
        all += seed.bytes;
    }
    seeds.push_back(all);
    return seeds;
}
