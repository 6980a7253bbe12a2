// The monitor's entry point, the registry of emulated printers and the control API.

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/quillet/device_port.h"
#include "platform/quillet/emulated_printer.h"
#include "platform/quillet/quillet.h"
#include "platform/quillet/quillet_control.h"
#include "platform/quillet/trace.h"

namespace quillet {
namespace {

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
    std::map<std::u16string, EmulatedPrinter> printers;
    int failNext = 0;
    int passBeforeFailing = 0;
    std::deque<ReplyFault> replyFaults;
    // The logs are for tests, which start with a reset: the program never resets,
    // so a long session (a firmware image is megabytes) keeps no copies.
    bool logging = false;
    std::vector<ReceivedCall> received;
    std::vector<Bytes> blocks;

    EmulatedPrinter& Printer(const std::u16string& port) {
        auto it = printers.find(port);
        if (it == printers.end()) it = printers.emplace(port, pattern).first;
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

Monitor& TheMonitor() {
    static Monitor* monitor = new Monitor;  // lives to the end of the process
    return *monitor;
}

std::string Utf8(const std::u16string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Digits8(size_t n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08zu", n);
    return buf;
}

// Frames the payload as the printer sends it, with the next scripted reply fault applied.
// Returns false when the fault makes the exchange fail.
bool Frame(Bytes payload, std::deque<ReplyFault>& faults, Bytes& framed, TraceEntry& entry) {
    size_t announced = payload.size();
    if (!faults.empty()) {
        const ReplyFault f = faults.front();
        faults.pop_front();
        const size_t arg = f.arg > 0 ? static_cast<size_t>(f.arg) : 0;
        switch (f.kind) {
            case QUILLET_REPLY_SHORT:
                if (arg < payload.size()) payload.resize(arg);
                announced = payload.size();
                entry.notes.push_back("fault: reply cut to " + std::to_string(arg) + " bytes");
                break;
            case QUILLET_REPLY_OVERSIZED:
                announced = payload.size() + arg;
                entry.notes.push_back("fault: header claims " + std::to_string(arg) +
                                      " bytes more than sent");
                break;
            case QUILLET_REPLY_UNTERMINATED:
                if (!payload.empty() && payload.back() == '\n') payload.pop_back();
                if (!payload.empty() && payload.back() == '\r') payload.pop_back();
                announced = payload.size();
                entry.notes.push_back("fault: reply without its CR");
                break;
            case QUILLET_REPLY_DELAY:
                entry.reason =
                    "reply came " + std::to_string(arg) + " ms past the timeout (scripted fault)";
                return false;
            case QUILLET_REPLY_EMPTY:
                payload.clear();
                announced = 0;
                entry.notes.push_back("fault: empty reply");
                break;
            default:
                entry.notes.push_back("fault kind " + std::to_string(f.kind) + " unknown, ignored");
                break;
        }
    }
    const std::string header = Digits8(announced);
    framed.assign(header.begin(), header.end());
    framed.insert(framed.end(), payload.begin(), payload.end());
    return true;
}

bool IsEmulated(const std::u16string& port) {
    return port.rfind(u"EMU", 0) == 0;
}

int Exchange(const char16_t* portName, uint32_t code, const uint8_t* in, uint32_t inLength,
             uint8_t* out, uint32_t outSize, uint32_t* returned) {
    if (returned) *returned = 0;
    Monitor& m = TheMonitor();
    std::unique_lock<std::mutex> guard(m.lock);
    // A device needs nothing of the monitor but the tests' logs and scripted failures;
    // without them it is reached at once, allocating nothing.
    if (IsDevicePath(portName) && !m.logging && m.failNext == 0) {
        guard.unlock();
        return DeviceExchange(portName, code, in, inLength, out, outSize, returned);
    }

    const std::u16string port = portName ? std::u16string(portName) : std::u16string();
    TraceEntry entry;
    entry.port = portName ? Utf8(port) : "(none)";
    entry.controlCode = code;
    entry.in = in;
    entry.inLength = in ? inLength : 0;
    if (m.logging) m.received.push_back({port, code, in ? Bytes(in, in + inLength) : Bytes()});

    auto finish = [&](bool ok) {
        entry.ok = ok;
        Trace(entry);
        return ok ? 1 : 0;
    };
    if (m.failNext > 0 && m.passBeforeFailing > 0) {
        --m.passBeforeFailing;
    } else if (m.failNext > 0) {
        --m.failNext;
        entry.reason = "scripted failure of this exchange";
        return finish(false);
    }
    if (IsDevicePath(portName)) {
        guard.unlock();  // a device can take seconds; the emulated printers need not wait
        return DeviceExchange(portName, code, in, inLength, out, outSize, returned);
    }
    if (!portName || port.empty()) {
        entry.reason = "no port name";
        return finish(false);
    }
    if (code != IOCTL_MONITOR_SEND && code != IOCTL_MONITOR_RECEIVE) {
        entry.reason = "unknown control code";
        return finish(false);
    }
    if (!in && inLength > 0) {
        entry.reason = "no input buffer for " + std::to_string(inLength) + " bytes";
        return finish(false);
    }
    if (code == IOCTL_MONITOR_RECEIVE && !out) {
        entry.reason = "no output buffer for the reply";
        return finish(false);
    }

    if (IsEmulated(port)) {
        EmulatedPrinter& printer = m.Printer(port);
        Outcome outcome;
        Bytes payload;
        if (code == IOCTL_MONITOR_SEND) {
            outcome = printer.Send(in, inLength);
        } else {
            outcome = printer.Receive(in, inLength, payload);
        }
        entry.notes = outcome.notes;
        if (m.logging)
            for (auto& block : outcome.accepted) m.blocks.push_back(std::move(block));
        if (!outcome.ok) {
            entry.reason = outcome.reason;
            return finish(false);
        }
        if (code == IOCTL_MONITOR_SEND) return finish(true);
        Bytes framed;
        if (!Frame(std::move(payload), m.replyFaults, framed, entry)) return finish(false);
        entry.reply = framed.data();
        entry.replyLength = framed.size();
        if (framed.size() > outSize) {
            entry.reason = "reply of " + std::to_string(framed.size()) +
                           " bytes does not fit the caller's " + std::to_string(outSize) +
                           "-byte buffer";
            return finish(false);
        }
        std::copy(framed.begin(), framed.end(), out);
        if (returned) *returned = static_cast<uint32_t>(framed.size());
        return finish(true);
    }

    entry.reason = "port name is neither an emulated printer (EMU...) nor an absolute device path";
    return finish(false);
}

// Runs a control call. Nothing crosses the C boundary: a fault inside (no memory for a
// printer, a setting or a log) makes the call give its failure value.
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

}  // namespace
}  // namespace quillet

using quillet::Bytes;
using quillet::EmulatedPrinter;
using quillet::Guarded;
using quillet::TheMonitor;

extern "C" {

int MonitorIoControl(const char16_t* portName, uint32_t controlCode, const void* in,
                     uint32_t inLength, void* out, uint32_t outSize, uint32_t* returned) {
    // A fault inside is a failed exchange.
    return Guarded(0, [&] {
        return quillet::Exchange(portName, controlCode, static_cast<const uint8_t*>(in), inLength,
                                 static_cast<uint8_t*>(out), outSize, returned);
    });
}

void quillet_reset(void) {
    Guarded([] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        m.pattern = EmulatedPrinter();
        m.printers.clear();
        m.failNext = 0;
        m.passBeforeFailing = 0;
        m.replyFaults.clear();
        m.received.clear();
        m.blocks.clear();
        m.logging = true;
    });
}

void quillet_set_status(const char16_t* port, const char* code) {
    Guarded([&] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        m.ForPort(port, [&](EmulatedPrinter& p) { p.SetSetting("status", code ? code : "0"); });
    });
}

void quillet_fail_next(int n) {
    Guarded([&] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        m.failNext = n > 0 ? n : 0;
        m.passBeforeFailing = 0;
    });
}

void quillet_fail_after(int pass, int n) {
    Guarded([&] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        m.failNext = n > 0 ? n : 0;
        m.passBeforeFailing = pass > 0 ? pass : 0;
    });
}

void quillet_fault_next_reply(int kind, int arg) {
    Guarded([&] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        m.replyFaults.push_back({kind, arg});
    });
}

int quillet_received_count(void) {
    return Guarded(0, [] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        return static_cast<int>(m.received.size());
    });
}

int quillet_received(int index, uint32_t* controlCode, unsigned char* buf, int bufSize,
                     char16_t* port, int portUnits) {
    return Guarded(-1, [&] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        if (index < 0 || static_cast<size_t>(index) >= m.received.size()) return -1;
        const auto& call = m.received[static_cast<size_t>(index)];
        if (controlCode) *controlCode = call.controlCode;
        if (buf && bufSize > 0)
            std::copy_n(call.bytes.begin(),
                        std::min(call.bytes.size(), static_cast<size_t>(bufSize)), buf);
        if (port && portUnits > 0) {
            const size_t n = std::min(call.port.size(), static_cast<size_t>(portUnits - 1));
            std::copy_n(call.port.begin(), n, port);
            port[n] = 0;
        }
        return static_cast<int>(call.bytes.size());
    });
}

int quillet_block_count(void) {
    return Guarded(0, [] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        return static_cast<int>(m.blocks.size());
    });
}

int quillet_block(int index, unsigned char* buf, int bufSize) {
    return Guarded(-1, [&] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        if (index < 0 || static_cast<size_t>(index) >= m.blocks.size()) return -1;
        const Bytes& block = m.blocks[static_cast<size_t>(index)];
        if (buf && bufSize > 0)
            std::copy_n(block.begin(), std::min(block.size(), static_cast<size_t>(bufSize)), buf);
        return static_cast<int>(block.size());
    });
}

int quillet_set_sensor(const char16_t* port, int slot, int raw) {
    if (slot < 1 || slot > 13) return 0;
    return Guarded(0, [&] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        m.ForPort(port, [&](EmulatedPrinter& p) { p.SetSensor(slot, raw); });
        return 1;
    });
}

int quillet_set_setting(const char16_t* port, const char* key, const char* value) {
    if (!key || !value) return 0;
    return Guarded(0, [&] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        // Checked on a copy first, so that a bad value changes no printer.
        EmulatedPrinter probe = m.pattern;
        if (!probe.SetSetting(key, value)) return 0;
        m.ForPort(port, [&](EmulatedPrinter& p) { p.SetSetting(key, value); });
        return 1;
    });
}

int quillet_get_setting(const char16_t* port, const char* key, char* out, int outSize) {
    if (!port || !key) return -1;
    return Guarded(-1, [&] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        std::string value;
        if (!m.Printer(port).GetSetting(key, value)) return -1;
        if (out && outSize > 0) {
            const size_t n = std::min(value.size(), static_cast<size_t>(outSize - 1));
            std::copy_n(value.begin(), n, out);
            out[n] = 0;
        }
        return static_cast<int>(value.size());
    });
}

void quillet_set_reply(const char16_t* port, const char* command, const char* parameter,
                       const unsigned char* payload, int length) {
    if (!command) return;
    Guarded([&] {
        const std::string c = command;
        const std::string p = parameter ? parameter : "";
        const Bytes bytes = payload ? Bytes(payload, payload + (length > 0 ? length : 0)) : Bytes();
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        m.ForPort(port, [&](EmulatedPrinter& printer) {
            printer.SetReply(c, p, payload ? &bytes : nullptr);
        });
    });
}

int quillet_table(const char16_t* port, const char* parameter, unsigned char* buf, int bufSize) {
    if (!port || !parameter) return -1;
    return Guarded(-1, [&] {
        auto& m = TheMonitor();
        const std::lock_guard<std::mutex> guard(m.lock);
        const Bytes* table = m.Printer(port).Table(parameter);
        if (!table) return -1;
        if (buf && bufSize > 0)
            std::copy_n(table->begin(), std::min(table->size(), static_cast<size_t>(bufSize)), buf);
        return static_cast<int>(table->size());
    });
}
}
