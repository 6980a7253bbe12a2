// The emulated printer's intake: blocks reassembled from the sends and checked, each then
// handed to the part of the printer that handles its command family; requests answered
// the same way. Scripted replies and the tables a test reads back live here too.
#include "platform/quillet/emulated_printer.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace quillet {

const Bytes& FactoryVersion() {
    static const Bytes version = [] {
        std::string text = "RN-EMU FACTORY";
        text.resize(32, ' ');
        return Bytes(text.begin(), text.end());
    }();
    return version;
}

bool Digits(const uint8_t* p, size_t n, int& value) {
    value = 0;
    for (size_t i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        value = value * 10 + (p[i] - '0');
    }
    return true;
}

std::string_view Format(char (&buf)[32], const char* pattern, int value) {
    const int n = std::snprintf(buf, sizeof buf, pattern, value);
    return std::string_view(buf, n < 0 ? 0 : std::min<size_t>(static_cast<size_t>(n), 31));
}

// ---- sends --------------------------------------------------------------------------

void EmulatedPrinter::DropPending(Outcome& outcome, const char* why) {
    if (!pending_.empty() && outcome.wantNotes)
        outcome.notes.push_back("an unfinished block of " + std::to_string(pending_.size()) +
                                " bytes was dropped (" + why + ")");
    ClearPending();
}

void EmulatedPrinter::ClearPending() {
    pending_.clear();  // keeps its storage for the next block
    pendingHeader_ = {};
    pendingLengthChecked_ = false;
}

void EmulatedPrinter::Send(const uint8_t* data, size_t n, Outcome& out) {
    if (n == 0) {
        if (out.wantNotes) out.notes.push_back("empty send, nothing to take");
        return;
    }
    // No parameter or length digit begins with ESC: a block still short of its header
    // when a new block starts was abandoned by its sender.
    if (!pending_.empty() && pending_.size() < kHeaderSize && data[0] == 0x1B)
        DropPending(out, "a new block began before its header was complete");

    // Whole blocks at the front of a send are taken where they lie; only an unfinished
    // block waits in pending_ for the sends that complete it.
    size_t taken = 0;
    if (pending_.empty()) {
        taken = TakeBlocks(data, n, out);
        if (out.ok && taken < n) pending_.assign(data + taken, data + n);
    } else {
        pending_.insert(pending_.end(), data, data + n);
        taken = TakeBlocks(pending_.data(), pending_.size(), out);
        if (out.ok)
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(taken));
    }
    if (!out.ok) {
        ClearPending();
        return;
    }
    if (!pending_.empty() && out.wantNotes)
        out.notes.push_back(
            pendingLengthChecked_
                ? "waiting for " +
                      std::to_string(kHeaderSize + pendingHeader_.length - pending_.size()) +
                      " more bytes of " + Describe(*pendingHeader_.rule)
                : "waiting for the rest of the block header");
}

// Takes every complete block at the front of bytes; returns how many bytes it took. The
// state of the block under way (its header, once checked) carries over to the next send.
// A malformed block clears out.ok and says why.
size_t EmulatedPrinter::TakeBlocks(const uint8_t* bytes, size_t n, Outcome& out) {
    size_t pos = 0;
    while (pos < n) {
        const uint8_t* b = bytes + pos;
        const size_t avail = n - pos;
        if (!pendingHeader_.rule) {
            if (b[0] != 0x1B || (avail >= 2 && b[1] != 'P')) {
                out.reason = "block does not begin with ESC \"P\"";
                out.ok = false;
                return pos;
            }
            if (avail < kCommandEnd) break;
            if (!CheckCommand(b, pendingHeader_, out.reason) ||
                !Admissible(*pendingHeader_.rule, out.reason)) {
                out.ok = false;
                return pos;
            }
        }
        if (!pendingLengthChecked_) {
            if (avail < kHeaderSize) break;
            if (!CheckLengthField(b, pendingHeader_, out.reason)) {
                out.ok = false;
                return pos;
            }
            pendingLengthChecked_ = true;
        }
        const size_t total = kHeaderSize + pendingHeader_.length;
        if (avail < total) break;
        if (!Apply(*pendingHeader_.rule, b + kHeaderSize, pendingHeader_.length, out.reason)) {
            out.ok = false;
            return pos;
        }
        if (out.accepted) out.accepted->emplace_back(b, b + total);
        pos += total;
        pendingHeader_ = {};
        pendingLengthChecked_ = false;
    }
    return pos;
}

bool EmulatedPrinter::Admissible(const CommandRule& rule, std::string& why) const {
    if (rule.request) {
        why = Describe(rule) + " is a request: it is answered only through a receive";
        return false;
    }
    if (rule.family == Family::Firmware && rule.parameter == "FLASH_PROGRAM" &&
        !settings_.updateMode) {
        why =
            "FW_UPD FLASH_PROGRAM refused: the printer is not in firmware update mode "
            "(FLASH_REWRITE first)";
        return false;
    }
    return true;
}

bool EmulatedPrinter::Apply(const CommandRule& rule, const uint8_t* data, uint32_t length,
                            std::string& why) {
    switch (rule.family) {
        case Family::Maintenance:
            return ApplyMaintenance(rule.parameter, data, length, why);
        case Family::Tables:
            return ApplyTable(rule, data, length);
        case Family::Firmware:
            return ApplyFirmware(rule, data, length);
        case Family::Modes:
            return ApplyMode(rule, data, length, why);
        case Family::Information:
            break;
    }
    why = "no handling for " + Describe(rule);
    return false;
}

// ---- receives -----------------------------------------------------------------------

Payload EmulatedPrinter::Receive(const uint8_t* data, size_t n, Outcome& out) {
    DropPending(out, "a request came");
    if (n < kHeaderSize) {
        out.ok = false;
        out.reason = "request of " + std::to_string(n) + " bytes is shorter than a block header";
        if (n >= kCommandEnd) {
            BlockHeader h;
            std::string why;
            if (!CheckCommand(data, h, why)) out.reason = why;
        }
        return {};
    }
    BlockHeader header;
    if (!CheckHeader(data, header, out.reason)) {
        out.ok = false;
        return {};
    }
    if (!header.rule->request) {
        out.ok = false;
        out.reason = Describe(*header.rule) + " gives no reply: it is sent, not requested";
        return {};
    }
    if (n != kHeaderSize + header.length) {
        out.ok = false;
        out.reason = "request " + Describe(*header.rule) + " has " +
                     std::to_string(n - kHeaderSize) + " bytes after its header; its length " +
                     "field says " + std::to_string(header.length);
        return {};
    }
    if (out.accepted) out.accepted->emplace_back(data, data + n);
    const auto scripted = scriptedReplies_.find(header.rule);
    if (scripted != scriptedReplies_.end()) {
        if (out.wantNotes) out.notes.push_back("scripted reply");
        return scripted->second;
    }
    return Answer(*header.rule);
}

Payload EmulatedPrinter::Answer(const CommandRule& rule) {
    switch (rule.family) {
        case Family::Information:
            return AnswerInformation(rule);
        case Family::Maintenance:
            return AnswerMaintenance(rule);
        case Family::Tables:
            return AnswerTable(rule);
        case Family::Firmware:
        case Family::Modes:
            break;
    }
    return {};
}

Payload EmulatedPrinter::Reply(std::initializer_list<std::string_view> pieces,
                               std::string_view end) {
    reply_.clear();
    for (std::string_view piece : pieces) reply_.insert(reply_.end(), piece.begin(), piece.end());
    reply_.insert(reply_.end(), end.begin(), end.end());
    return reply_;
}

Payload EmulatedPrinter::Reply(const Bytes& bytes, std::string_view end) {
    reply_.assign(bytes.begin(), bytes.end());
    reply_.insert(reply_.end(), end.begin(), end.end());
    return reply_;
}

Payload EmulatedPrinter::Tagged(const char* tag, Number key) {
    char digits[32];
    return Reply({tag, Format(digits, "%d", At(key))});
}

// ---- scripting ----------------------------------------------------------------------

bool EmulatedPrinter::SetSensor(int slot, int raw) {
    if (slot < 1 || slot > 13) return false;
    pinnedSensor_[static_cast<size_t>(slot - 1)] = (raw >= -99 && raw <= 999) ? raw : INT_MIN;
    return true;
}

void EmulatedPrinter::SetReply(const std::string& command, const std::string& parameter,
                               const Bytes* payload) {
    // Only a request the printer knows can be asked; a script for any other is never used.
    const CommandRule* rule = FindRule(command, parameter);
    if (!rule) return;
    if (payload) {
        scriptedReplies_[rule] = *payload;
    } else {
        scriptedReplies_.erase(rule);
    }
}

const Bytes* EmulatedPrinter::Table(const std::string& parameter) const {
    if (parameter == "Version") return &settings_.version;
    const auto it = tables_.find(parameter);
    return it == tables_.end() ? nullptr : &it->second;
}

}  // namespace quillet
