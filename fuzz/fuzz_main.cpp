// The part every fuzz target shares: writing its seeds when asked, and reporting a finding.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "fuzz/fuzz_target.h"

void FuzzFinding(const char* what) {
    std::fprintf(stderr, "FINDING: %s\n", what);
    std::abort();
}

// libFuzzer calls this before it reads its own flags.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    constexpr const char* kFlag = "--write-seeds=";
    for (int i = 1; i < *argc; ++i) {
        const char* arg = (*argv)[i];
        if (std::strncmp(arg, kFlag, std::strlen(kFlag)) != 0) continue;
        const std::string folder = arg + std::strlen(kFlag);
        int n = 0;
        for (const std::string& seed : FuzzSeeds()) {
            char name[32];
            std::snprintf(name, sizeof name, "/seed_%03d", n++);
            std::ofstream out(folder + name, std::ios::binary);
            out.write(seed.data(), static_cast<std::streamsize>(seed.size()));
            if (!out) {
                std::fprintf(stderr, "cannot write %s%s\n", folder.c_str(), name);
                std::exit(1);
            }
        }
        std::printf("%d seeds in %s\n", n, folder.c_str());
        std::exit(0);
    }
    return 0;
}
