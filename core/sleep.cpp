#include "core/sleep.h"

#include <chrono>
#include <thread>

namespace {
std::function<void(int)>& Handler() {
    static std::function<void(int)> handler;
    return handler;
}
}  // namespace

void Sleep(int ms) {
    if (Handler()) {
        Handler()(ms);
        return;
    }
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SetSleepHandler(std::function<void(int)> handler) {
    Handler() = std::move(handler);
}
