#pragma once
// What every fuzz target defines beside LLVMFuzzerTestOneInput: its seeds, valid inputs made
// by the project's own code. `fuzz_<name> --write-seeds=DIR` writes them to DIR (the build
// does, after linking) and ends.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::vector<std::string> FuzzSeeds();

// A finding that is no crash: a promise of the code under test broken. Ends the run so that
// libFuzzer keeps the input.
[[noreturn]] void FuzzFinding(const char* what);
#define FUZZ_CHECK(condition) ((condition) ? (void)0 : FuzzFinding(__FILE__ ": " #condition))
