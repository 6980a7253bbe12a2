#pragma once
// The exchange trace: when QUILLET_LOG names a file, every exchange is appended to it
// in a form an engineer can read when a printer misbehaves.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

struct TraceEntry {
    std::string port;
    uint32_t controlCode = 0;
    const uint8_t* in = nullptr;
    size_t inLength = 0;
    const uint8_t* reply = nullptr;  // the framed reply handed back, if any
    size_t replyLength = 0;
    bool ok = false;
    std::string reason;  // why it failed
    std::vector<std::string> notes;
};

// Appends the entry to the file that QUILLET_LOG names; nothing when it is unset or empty.
// A file that cannot be opened is said once on standard error, and the exchanges go on
// without a trace.
void Trace(const TraceEntry& entry);

// Whether QUILLET_LOG asks for a trace, so that an exchange builds its entry only then.
bool TraceWanted();

// The entry as text (a time stamp line, the bytes in hex with their printable text,
// notes and the result); dumps longer than kTraceDumpLimit bytes are cut. The port, the
// notes and the reason may quote bytes a device sent: every byte that is not printable
// ASCII is written as \xNN (a backslash as \\), so the trace stays a text file.
inline constexpr size_t kTraceDumpLimit = 4096;
std::string FormatTrace(const TraceEntry& entry);

}  // namespace quillet
