#pragma once
// Loads libparvel.so by name, as the program does, and reaches the stand-in
// monitor that LD_LIBRARY_PATH put in front of the real one.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/status/block_text.h"
#include "tests/status/standin_monitor.h"

namespace standin_test {

// The library as loaded now; a reload unloads it first (running its detach)
// and checks that it really went.
void* Parvel();
void ReloadParvel();

// An export of the library by name, or null.
void* Export(const char* name);

template <class F>
F Bind(const char* name) {
    return reinterpret_cast<F>(Export(name));
}

// The loaded monitor (found without loading anything), and one of its functions.
void* Monitor();
void* MonitorFunction(const char* name);

// The stand-in's record and script, reached through the loaded monitor.
void Reset();
void Script(int result, const std::string& reply, int reportedCount = -1);
int CallCount();
const StandinCall& Call(int index);

// The bytes of each recorded call, in order.
std::vector<std::string> Pieces();

// A fresh library with one registered port, "EMU1", as handle 1.
class StandinFixture : public ::testing::Test {
protected:
    void SetUp() override;
};

using InitializeFn = int32_t (*)(const char16_t*);
using SetCommandFn = int32_t (*)(int32_t, const void*, int32_t);
using GetCommandFn = int32_t (*)(int32_t, const void*, int32_t, void*, int32_t, int32_t*);
using GetCommandEXFn = int32_t (*)(int32_t, const void*, int32_t, void*, int32_t);

}  // namespace standin_test
