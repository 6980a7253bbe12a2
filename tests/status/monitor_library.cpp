#include "tests/status/monitor_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace standin_test {
namespace {

void* Module = nullptr;

void* Load() {
    void* m = dlopen("libparvel.so", RTLD_NOW | RTLD_LOCAL);
    if (m == nullptr) ADD_FAILURE() << "libparvel.so does not load: " << dlerror();
    return m;
}

template <class F>
F MonitorBind(const char* name) {
    F f = reinterpret_cast<F>(MonitorFunction(name));
    if (f == nullptr)
        ADD_FAILURE() << "the monitor in front is not the stand-in (no " << name << ")";
    return f;
}

}  // namespace

void* Parvel() {
    if (Module == nullptr) Module = Load();
    return Module;
}

void ReloadParvel() {
    if (Module != nullptr) {
        dlclose(Module);
        Module = nullptr;
        void* still = dlopen("libparvel.so", RTLD_NOW | RTLD_NOLOAD);
        if (still != nullptr) {
            dlclose(still);
            ADD_FAILURE() << "libparvel.so stayed loaded after its last reference went";
        }
    }
    Module = Load();
}

void* Export(const char* name) {
    void* m = Parvel();
    return m == nullptr ? nullptr : dlsym(m, name);
}

void* Monitor() {
    Parvel();
    void* m = dlopen("libquillet.so", RTLD_NOW | RTLD_NOLOAD);
    if (m != nullptr) dlclose(m);  // the library keeps its own reference
    return m;
}

void* MonitorFunction(const char* name) {
    void* m = Monitor();
    return m == nullptr ? nullptr : dlsym(m, name);
}

void Reset() {
    if (auto f = MonitorBind<void (*)()>("standin_reset")) f();
}

void Script(int result, const std::string& reply, int reportedCount) {
    if (auto f = MonitorBind<void (*)(int, const void*, int, int)>("standin_script")) {
        f(result, reply.data(), static_cast<int>(reply.size()), reportedCount);
    }
}

int CallCount() {
    auto f = MonitorBind<int (*)()>("standin_call_count");
    return f == nullptr ? -1 : f();
}

const StandinCall& Call(int index) {
    static const StandinCall none{};
    auto f = MonitorBind<const StandinCall* (*)(int)>("standin_call");
    const StandinCall* c = f == nullptr ? nullptr : f(index);
    if (c == nullptr) ADD_FAILURE() << "no call " << index << " was recorded";
    return c == nullptr ? none : *c;
}

std::vector<std::string> Pieces() {
    std::vector<std::string> pieces;
    for (int i = 0; i < CallCount(); ++i) {
        const StandinCall& c = Call(i);
        pieces.emplace_back(reinterpret_cast<const char*>(c.bytes), c.inLength);
    }
    return pieces;
}

void StandinFixture::SetUp() {
    ReloadParvel();
    Reset();
    auto init = Bind<InitializeFn>("JmInitialize");
    ASSERT_NE(init, nullptr);
    ASSERT_EQ(init(u"EMU1"), 1);
}

}  // namespace standin_test
