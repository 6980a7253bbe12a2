#include "core/status_queries.h"

#include <algorithm>
#include <cstddef>

#include "core/exchange_guard.h"
#include "core/parvel_link.h"

namespace Parvel {

namespace {

// An export's name as a template argument, so that every export has its own binding.
template <std::size_t N>
struct ExportName {
    constexpr ExportName(const char (&name)[N]) { std::copy_n(name, N, text); }
    char text[N];
};

// Binds the export at its first call and calls it, inside a claim of the printer.
template <ExportName Name, typename... Args>
int32_t Call(Args... args) {
    const ::ExchangeClaim claim;
    RequireClaim(claim);
    static auto* call = BindAs<int32_t(Args...)>(Name.text);
    return call(args...);
}

}  // namespace

int32_t JmGetStatus(int32_t h) {
    return Call<"JmGetStatus">(h);
}
int32_t JmGetVersion(int32_t h, char* out) {
    return Call<"JmGetVersion">(h, out);
}
int32_t JmGetSensorInfo(int32_t h, char* out) {
    return Call<"JmGetSensorInfo">(h, out);
}
int32_t JmPollSensorInfo(int32_t h, char* out) {
    const ::ExchangeClaim claim;
    RequireClaim(claim);
    using Getter = int32_t(int32_t, char*);
    static auto* call = [] {
        auto* poll = reinterpret_cast<Getter*>(Find("JmPollSensorInfo"));
        return poll != nullptr ? poll : BindAs<Getter>("JmGetSensorInfo");
    }();
    return call(h, out);
}
int32_t JmGetMedia(int32_t h, char* out) {
    return Call<"JmGetMedia">(h, out);
}
int32_t JmGetMediaLotNo(int32_t h, char* out) {
    return Call<"JmGetMediaLotNo">(h, out);
}
int32_t JmGetCounterL(int32_t h) {
    return Call<"JmGetCounterL">(h);
}
int32_t JmGetCounterA(int32_t h) {
    return Call<"JmGetCounterA">(h);
}
int32_t JmGetCounterB(int32_t h) {
    return Call<"JmGetCounterB">(h);
}
int32_t JmGetMediaCounter(int32_t h) {
    return Call<"JmGetMediaCounter">(h);
}
int32_t JmGetMediaColorOffset(int32_t h) {
    return Call<"JmGetMediaColorOffset">(h);
}
int32_t JmGetResolutionV(int32_t h) {
    return Call<"JmGetResolutionV">(h);
}
int32_t JmSetClearCounterA(int32_t h) {
    return Call<"JmSetClearCounterA">(h);
}
int32_t JmSetClearCounterB(int32_t h) {
    return Call<"JmSetClearCounterB">(h);
}

}  // namespace Parvel
