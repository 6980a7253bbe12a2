#include "platform/quillet/exchange_call.h"

#include <cstdio>

namespace quillet {

bool CallFault(uint32_t code, const void* in, uint32_t inLength, const void* out, char* reason,
               size_t reasonSize) {
    if (code != IOCTL_MONITOR_SEND && !IsReceive(code)) {
        std::snprintf(reason, reasonSize, "unknown control code");
    } else if (!in && inLength > 0) {
        std::snprintf(reason, reasonSize, "no input buffer for %u bytes", inLength);
    } else if (IsReceive(code) && !out) {
        std::snprintf(reason, reasonSize, "no output buffer for the reply");
    } else {
        return false;
    }
    return true;
}

bool Utf8Of(const char16_t* name, char* text, size_t size) {
    size_t n = 0;
    auto put = [&](uint32_t byte) {
        if (n + 1 >= size) return false;
        text[n++] = static_cast<char>(byte);
        return true;
    };
    bool fits = size > 0;
    for (size_t i = 0; fits && name[i] != u'\0'; ++i) {
        uint32_t c = name[i];
        if (c >= 0xD800 && c < 0xDC00 && name[i + 1] >= 0xDC00 && name[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (name[++i] - 0xDC00);
        if (c < 0x80) {
            fits = put(c);
        } else if (c < 0x800) {
            fits = put(0xC0 | (c >> 6)) && put(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            fits = put(0xE0 | (c >> 12)) && put(0x80 | ((c >> 6) & 0x3F)) && put(0x80 | (c & 0x3F));
        } else {
            fits = put(0xF0 | (c >> 18)) && put(0x80 | ((c >> 12) & 0x3F)) &&
                   put(0x80 | ((c >> 6) & 0x3F)) && put(0x80 | (c & 0x3F));
        }
    }
    if (size > 0) text[n] = '\0';
    return fits;
}

}  // namespace quillet
