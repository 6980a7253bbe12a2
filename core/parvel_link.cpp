#include "core/parvel_link.h"

#include "core/exchange_guard.h"
#include "core/runtime_library.h"

#include <dlfcn.h>

#include <string>

int32_t PortHandle = 0;

namespace Parvel {

namespace {

void* Library() {
    // Kept once loaded; a failed load is tried again at the next call.
    static void* handle = nullptr;
    if (handle == nullptr) {
        std::string why;
        handle = LoadRuntimeLibrary("libparvel.so", why);
        if (handle == nullptr) throw Unavailable("libparvel.so cannot be loaded: " + why);
    }
    return handle;
}

}  // namespace

void* Find(const char* exportName) {
    void* library = Library();
    dlerror();
    return dlsym(library, exportName);
}

void* Bind(const char* exportName) {
    void* address = Find(exportName);
    if (address == nullptr)
        throw Unavailable(std::string("libparvel.so has no export ") + exportName);
    return address;
}

void RequireClaim(const ::ExchangeClaim& claim) {
    if (!claim) throw Busy();
}

int32_t JmInitialize(const char16_t* portName) {
    static auto* call = BindAs<int32_t(const char16_t*)>("JmInitialize");
    return call(portName);
}

int32_t JmSetCommand(int32_t handle, const void* data, int32_t length) {
    const ::ExchangeClaim claim;
    RequireClaim(claim);
    static auto* call = BindAs<int32_t(int32_t, const void*, int32_t)>("JmSetCommand");
    return call(handle, data, length);
}

int32_t JmGetCommandEX(int32_t handle, const void* request, int32_t requestLength, void* out,
                       int32_t outSize) {
    const ::ExchangeClaim claim;
    RequireClaim(claim);
    static auto* call =
        BindAs<int32_t(int32_t, const void*, int32_t, void*, int32_t)>("JmGetCommandEX");
    return call(handle, request, requestLength, out, outSize);
}

}  // namespace Parvel
