#include "core/engine_link.h"

#include <dlfcn.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "core/colour_data.h"
#include "core/numbers.h"
#include "core/runtime_library.h"

std::array<int32_t, 4> StbSum{};

namespace JmEngine {

namespace {

struct Binding {
    std::string fileName = "libJmEngine.so";
    void* library = nullptr;  // kept once loaded; a failed load is tried again at the next call
    std::map<std::string, void*, std::less<>> functions;
};

Binding& State() {
    static Binding binding;
    return binding;
}

void* Bind(const char* name) {
    Binding& state = State();
    if (auto found = state.functions.find(name); found != state.functions.end())
        return found->second;
    if (state.library == nullptr) {
        std::string why;
        state.library = LoadRuntimeLibrary(state.fileName.c_str(), why);
        if (state.library == nullptr)
            throw Unavailable("The colour engine " + state.fileName + " cannot be loaded (" + why +
                              ").");
    }
    void* address = dlsym(state.library, name);
    if (address == nullptr)
        throw Unavailable("The colour engine " + state.fileName + " has no function " + name + ".");
    state.functions.emplace(name, address);
    return address;
}

template <typename Signature>
Signature* BindAs(const char* name) {
    return reinterpret_cast<Signature*>(Bind(name));
}

void Check(int32_t result, const char* name) {
    if (result < 0)
        throw Failed("The colour engine's " + std::string(name) + " failed (error " +
                     std::to_string(result) + ").");
}

}  // namespace

void UseLibrary(const std::string& fileName) {
    Binding& state = State();
    // The old library stays loaded: the addresses handed out before may still be in use.
    state = Binding{};
    state.fileName = fileName;
}

void setDataTable(const ColorData& data) {
    const std::vector<uint8_t> image = EngineImage(data);
    Check(BindAs<int32_t(const void*)>("setDataTable")(image.data()), "setDataTable");
}

void getiDataTable(MarkerRecord& record) {
    MarkerRecord filled{};
    Check(BindAs<int32_t(void*)>("getiDataTable")(filled.data()), "getiDataTable");
    record = filled;
}

void getStbSum(std::array<int32_t, 4>& sums) {
    std::array<int32_t, 4> filled{};
    Check(BindAs<int32_t(int32_t*)>("getStbSum")(filled.data()), "getStbSum");
    sums = filled;
}

void RunImageFunction(const char* name, JmBitmap& surface, const JmBitmap& picture) {
    Check(BindAs<int32_t(JmBitmap*, const JmBitmap*)>(name)(&surface, &picture), name);
}

std::pair<int16_t, int16_t> MarkerPair(const MarkerRecord& record, int plane) {
    const auto word = [&](int at) {
        return static_cast<int16_t>(record[at] | (record[at + 1] << 8));
    };
    return {word(4 * plane), word(4 * plane + 2)};
}

CurveMarkers MarkersOf(const MarkerRecord& record, int plane) {
    const auto [a, b] = MarkerPair(record, plane == PlaneAll ? 0 : plane);
    const int16_t lo = ToInt16(a / 4.0);
    const int16_t hi = ToInt16(b / 4.0);
    // Halfway from the first marker towards the second, measured as a distance: with the second
    // below the first it lies above both.
    const int16_t mid = ToInt16(std::abs(hi - lo) / 2.0 + lo);
    return {lo, hi, mid};
}

CurveMarkers AskMarkers(int plane) {
    setDataTable(ColorDataSet);
    MarkerRecord record{};
    getiDataTable(record);
    getStbSum(StbSum);
    return MarkersOf(record, plane);
}

}  // namespace JmEngine
