#pragma once
// What the monitor keeps between calls, shared by its entry point (monitor.cpp) and its
// control API (monitor_control.cpp).

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/quillet/emulated_printer.h"

namespace quillet {

struct ReceivedCall {
    std::u16string port;
    uint32_t controlCode;
    Bytes bytes;
};

struct ReplyFault {
    int kind;
    int arg;
};

// Everything the monitor keeps, behind one lock: the emulated printers by port name,
// the template that a new port's printer starts from, the scripted faults and the logs.
struct Monitor {
    std::mutex lock;
    EmulatedPrinter pattern;
    // Found by a view of the caller's name: looking a printer up allocates nothing.
    std::map<std::u16string, EmulatedPrinter, std::less<>> printers;
    int failNext = 0;
    int passBeforeFailing = 0;  // exchanges that go through before failNext starts
    std::deque<ReplyFault> replyFaults;
    // The logs are for tests, which start with a reset: the program never resets,
    // so a long session (a firmware image is megabytes) keeps no copies.
    bool logging = false;
    std::vector<ReceivedCall> received;
    std::vector<Bytes> blocks;

    EmulatedPrinter& Printer(std::u16string_view port) {
        auto it = printers.find(port);
        if (it == printers.end()) it = printers.emplace(std::u16string(port), pattern).first;
        return it->second;
    }

    // Applies fn to the port's printer, or with a NULL port to every printer and to the
    // template of those still to come.
    template <typename Fn>
    void ForPort(const char16_t* port, Fn fn) {
        if (port) {
            fn(Printer(port));
            return;
        }
        fn(pattern);
        for (auto& [name, printer] : printers) fn(printer);
    }
};

Monitor& TheMonitor();

// Runs a call of the C interface. Nothing crosses the C boundary: a fault inside (no memory
// for a printer, a setting or a log) makes the call give its failure value.
template <typename Fn>
auto Guarded(decltype(std::declval<Fn>()()) failed, Fn fn) noexcept {
    try {
        return fn();
    } catch (...) {
        return failed;
    }
}

template <typename Fn>
void Guarded(Fn fn) noexcept {
    try {
        fn();
    } catch (...) {
    }
}

}  // namespace quillet
