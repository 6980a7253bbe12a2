// The monitor's entry point: each exchange handed to its emulated printer or device, the
// reply framed straight into the caller's buffer, and the exchange traced.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/quillet/device_port.h"
#include "platform/quillet/exchange_call.h"
#include "platform/quillet/monitor_state.h"
#include "platform/quillet/quillet.h"
#include "platform/quillet/quillet_control.h"
#include "platform/quillet/trace.h"

namespace quillet {

Monitor& TheMonitor() {
    static Monitor* monitor = new Monitor;  // lives to the end of the process
    return *monitor;
}

namespace {

// The port name for the trace; port views the whole of the NUL-terminated name.
std::string Utf8(std::u16string_view port) {
    std::string text(3 * port.size() + 1, '\0');  // a code unit takes at most 3 bytes
    Utf8Of(port.data(), text.data(), text.size());
    text.resize(std::strlen(text.c_str()));
    return text;
}

constexpr size_t kFrameHeader = 8;
constexpr size_t kMaxAnnounced = 99999999;  // what 8 digits can say

// Shapes the payload as the next scripted reply fault says: what is sent, and the length the
// header announces. Returns false when the fault makes the exchange fail.
bool ApplyFault(Payload& payload, size_t& announced, std::deque<ReplyFault>& faults,
                TraceEntry& entry, bool notes) {
    announced = payload.size();
    if (faults.empty()) return true;
    const ReplyFault f = faults.front();
    faults.pop_front();
    const size_t arg = f.arg > 0 ? static_cast<size_t>(f.arg) : 0;
    switch (f.kind) {
        case QUILLET_REPLY_SHORT:
            if (arg < payload.size()) payload = payload.first(arg);
            announced = payload.size();
            if (notes)
                entry.notes.push_back("fault: reply cut to " + std::to_string(arg) + " bytes");
            break;
        case QUILLET_REPLY_OVERSIZED:
            announced = payload.size() + arg;
            if (notes)
                entry.notes.push_back("fault: header claims " + std::to_string(arg) +
                                      " bytes more than sent");
            break;
        case QUILLET_REPLY_UNTERMINATED:
            if (!payload.empty() && payload.back() == '\n')
                payload = payload.first(payload.size() - 1);
            if (!payload.empty() && payload.back() == '\r')
                payload = payload.first(payload.size() - 1);
            announced = payload.size();
            if (notes) entry.notes.push_back("fault: reply without its CR");
            break;
        case QUILLET_REPLY_DELAY:
            entry.reason =
                "reply came " + std::to_string(arg) + " ms past the timeout (scripted fault)";
            return false;
        case QUILLET_REPLY_EMPTY:
            payload = {};
            announced = 0;
            if (notes) entry.notes.push_back("fault: empty reply");
            break;
        default:
            if (notes)
                entry.notes.push_back("fault kind " + std::to_string(f.kind) + " unknown, ignored");
            break;
    }
    return true;
}

// Frames the payload into out as the printer sends it: 8 length digits, then the bytes.
// A reply that does not fit leaves out as it was.
bool Frame(Payload payload, std::deque<ReplyFault>& faults, uint8_t* out, uint32_t outSize,
           uint32_t* returned, TraceEntry& entry, bool notes) {
    size_t announced = 0;
    if (!ApplyFault(payload, announced, faults, entry, notes)) return false;
    const size_t framed = kFrameHeader + payload.size();
    if (framed > outSize) {
        entry.reason = "reply of " + std::to_string(framed) + " bytes does not fit the caller's " +
                       std::to_string(outSize) + "-byte buffer";
        return false;
    }
    char digits[24];
    std::snprintf(digits, sizeof digits, "%08zu", std::min(announced, kMaxAnnounced));
    std::memcpy(out, digits, kFrameHeader);
    if (!payload.empty()) std::memmove(out + kFrameHeader, payload.data(), payload.size());
    entry.reply = out;
    entry.replyLength = framed;
    if (returned) *returned = static_cast<uint32_t>(framed);
    return true;
}

bool IsEmulated(std::u16string_view port) {
    return port.substr(0, 3) == u"EMU";
}

// The brief wait, for a caller that asks before it polls. No printer is reached, so the
// question is neither logged nor traced as an exchange.
int AnswerBriefWait(uint8_t* out, uint32_t outSize, uint32_t* returned) {
    const auto wait = static_cast<uint32_t>(BriefWaitMs());
    if (!out || outSize < sizeof wait) return 0;
    std::memcpy(out, &wait, sizeof wait);
    if (returned) *returned = sizeof wait;
    return 1;
}

int Exchange(const char16_t* portName, uint32_t code, const uint8_t* in, uint32_t inLength,
             uint8_t* out, uint32_t outSize, uint32_t* returned) {
    if (returned) *returned = 0;
    if (code == IOCTL_MONITOR_BRIEF_WAIT) return AnswerBriefWait(out, outSize, returned);
    Monitor& m = TheMonitor();
    std::unique_lock<std::mutex> guard(m.lock);
    // A device needs nothing of the monitor but the tests' logs and scripted failures;
    // without them it is reached at once, allocating nothing.
    if (IsDevicePath(portName) && !m.logging && m.failNext == 0) {
        guard.unlock();
        return DeviceExchange(portName, code, in, inLength, out, outSize, returned);
    }

    const std::u16string_view port = portName ? std::u16string_view(portName) : u"";
    // The entry's texts are written only for a trace that is on: an exchange the program
    // makes while nobody traces allocates nothing.
    const bool tracing = TraceWanted();
    TraceEntry entry;
    if (tracing) entry.port = portName ? Utf8(port) : "(none)";
    entry.controlCode = code;
    entry.in = in;
    entry.inLength = in ? inLength : 0;
    if (m.logging)
        m.received.push_back({std::u16string(port), code, in ? Bytes(in, in + inLength) : Bytes()});

    auto finish = [&](bool ok) {
        entry.ok = ok;
        if (tracing) Trace(entry);
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
    char fault[96];
    if (CallFault(code, in, inLength, out, fault, sizeof fault)) {
        entry.reason = fault;
        return finish(false);
    }

    if (IsEmulated(port)) {
        EmulatedPrinter& printer = m.Printer(port);
        Outcome outcome;
        outcome.wantNotes = tracing;
        outcome.accepted = m.logging ? &m.blocks : nullptr;
        Payload payload;
        if (code == IOCTL_MONITOR_SEND) {
            printer.Send(in, inLength, outcome);
        } else {
            payload = printer.Receive(in, inLength, outcome);
        }
        entry.notes = std::move(outcome.notes);
        if (!outcome.ok) {
            entry.reason = std::move(outcome.reason);
            return finish(false);
        }
        if (code == IOCTL_MONITOR_SEND) return finish(true);
        return finish(Frame(payload, m.replyFaults, out, outSize, returned, entry, tracing));
    }

    entry.reason = "port name is neither an emulated printer (EMU...) nor an absolute device path";
    return finish(false);
}

}  // namespace
}  // namespace quillet

extern "C" {

int MonitorIoControl(const char16_t* portName, uint32_t controlCode, const void* in,
                     uint32_t inLength, void* out, uint32_t outSize, uint32_t* returned) {
    // A fault inside is a failed exchange.
    return quillet::Guarded(0, [&] {
        return quillet::Exchange(portName, controlCode, static_cast<const uint8_t*>(in), inLength,
                                 static_cast<uint8_t*>(out), outSize, returned);
    });
}
}
