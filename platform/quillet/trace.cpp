#include "platform/quillet/trace.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

#include "platform/quillet/quillet.h"

namespace quillet {
namespace {

std::string TimeStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<int>(millis));
    return buf;
}

void Dump(std::string& text, const uint8_t* bytes, size_t n) {
    const size_t shown = n < kTraceDumpLimit ? n : kTraceDumpLimit;
    char buf[32];
    for (size_t row = 0; row < shown; row += 16) {
        std::snprintf(buf, sizeof buf, "    %06zX ", row);
        text += buf;
        std::string printable;
        for (size_t i = row; i < row + 16; ++i) {
            if (i < shown) {
                std::snprintf(buf, sizeof buf, " %02X", bytes[i]);
                text += buf;
                printable +=
                    (bytes[i] >= 0x20 && bytes[i] < 0x7F) ? static_cast<char>(bytes[i]) : '.';
            } else {
                text += "   ";
            }
        }
        text += "  |" + printable + "|\n";
    }
    if (shown < n) text += "    ... " + std::to_string(n - shown) + " more bytes not shown\n";
}

std::string Escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\\') {
            out += "\\\\";
        } else if (b >= 0x20 && b < 0x7F) {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    return out;
}

const char* CodeName(uint32_t code) {
    switch (code) {
        case IOCTL_MONITOR_SEND:
            return "send";
        case IOCTL_MONITOR_RECEIVE:
            return "receive";
        case IOCTL_MONITOR_RECEIVE_BRIEF:
            return "brief receive";
        default:
            return "unknown control code";
    }
}

}  // namespace

std::string FormatTrace(const TraceEntry& e) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%06X", static_cast<unsigned>(e.controlCode));
    std::string text = TimeStamp() + "  port \"" + Escaped(e.port) + "\"  " + code + " (" +
                       CodeName(e.controlCode) + ")  " + std::to_string(e.inLength) + " bytes in\n";
    Dump(text, e.in, e.inLength);
    if (e.reply) {
        text += "  reply, " + std::to_string(e.replyLength) + " bytes:\n";
        Dump(text, e.reply, e.replyLength);
    }
    for (const auto& note : e.notes) text += "  note: " + Escaped(note) + "\n";
    text += e.ok ? "  result: OK\n" : "  result: FAILED: " + Escaped(e.reason) + "\n";
    return text;
}

void Trace(const TraceEntry& entry) {
    const char* path = std::getenv("QUILLET_LOG");
    if (!path || !*path) return;
    static std::mutex lock;
    // The file last found unopenable: said once, then no trace while the variable names it.
    static std::string refused;
    const std::lock_guard<std::mutex> guard(lock);
    if (refused == path) return;
    FILE* f = std::fopen(path, "a");
    if (!f) {
        refused = path;
        std::fprintf(stderr,
                     "quillet: the exchange trace QUILLET_LOG=%s cannot be opened (%s); "
                     "going on without a trace\n",
                     path, std::strerror(errno));
        return;
    }
    refused.clear();
    const std::string text = FormatTrace(entry);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

bool TraceWanted() {
    const char* path = std::getenv("QUILLET_LOG");
    return path && *path;
}

}  // namespace quillet
