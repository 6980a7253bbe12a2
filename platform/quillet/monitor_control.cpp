// The control API of the emulated printers: reset, scripted faults and settings, and the
// logs of what they were given.
#include <algorithm>
#include <mutex>
#include <string>

#include "platform/quillet/monitor_state.h"
#include "platform/quillet/quillet_control.h"

using quillet::Bytes;
using quillet::EmulatedPrinter;
using quillet::Guarded;
using quillet::TheMonitor;

extern "C" {

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
