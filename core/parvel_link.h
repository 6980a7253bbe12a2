#pragma once

#include <cstdint>
#include <stdexcept>

class ExchangeClaim;

// The program's binding to the printer status library. The library is loaded by its file name
// ("libparvel.so", found by the dynamic loader, so LD_LIBRARY_PATH can put another in front) and
// each export is bound by name at its first call, as for a library the program did not build.
namespace Parvel {

// The library or one of its exports cannot be found; the start-up turns it into
// "JM Printer is not installed.".
struct Unavailable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A call made while another exchange is in progress (core/exchange_guard.h): refused before it
// reaches the library. Callers take it as they take a library that cannot be reached.
struct Busy : Unavailable {
    Busy() : Unavailable("another printer exchange is in progress") {}
};

// Throws Busy unless the claim was granted.
void RequireClaim(const ::ExchangeClaim& claim);

int32_t JmInitialize(const char16_t* portName);
// The two transport calls; each runs inside its own claim and throws Busy when it is refused.
int32_t JmSetCommand(int32_t handle, const void* data, int32_t length);
int32_t JmGetCommandEX(int32_t handle, const void* request, int32_t requestLength, void* out,
                       int32_t outSize);

// The address of any other export, for the typed calls; throws Unavailable.
void* Bind(const char* exportName);
// The same for an export that an older library may not have: null when it has not (the library
// itself missing still throws Unavailable).
void* Find(const char* exportName);

// An export as a typed function pointer: BindAs<int32_t(int32_t)>("JmGetStatus").
template <typename Signature>
Signature* BindAs(const char* exportName) {
    return reinterpret_cast<Signature*>(Bind(exportName));
}

}  // namespace Parvel

// The handle of the chosen printer's port; 0 until a port is registered.
extern int32_t PortHandle;
