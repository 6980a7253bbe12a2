#include "core/runtime_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>

std::string ProgramFolder() {
    std::array<char, 4096> path{};
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return ".";
    std::string exe(path.data(), static_cast<size_t>(n));
    const auto slash = exe.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return exe.substr(0, slash);
}

void* LoadRuntimeLibrary(const char* fileName, std::string& why) {
    if (void* handle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL)) return handle;
    const char* first = dlerror();
    why = first ? first : "unknown reason";
    const std::string beside = ProgramFolder() + "/" + fileName;
    if (void* handle = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    return nullptr;
}
