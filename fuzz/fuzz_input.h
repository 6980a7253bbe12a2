#pragma once
// A fuzz input read front to back; past its end every read gives zeros and empty bytes, so
// that any input is a whole run.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct FuzzInput {
    const uint8_t* data = nullptr;
    size_t size = 0;

    bool empty() const { return size == 0; }
    uint8_t Byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    uint16_t Word() {
        const uint16_t lo = Byte();
        return static_cast<uint16_t>(lo | Byte() << 8);
    }
    std::string_view Bytes(size_t n) {
        if (n > size) n = size;
        const std::string_view taken(reinterpret_cast<const char*>(data), n);
        data += n;
        size -= n;
        return taken;
    }
    std::string_view Rest() { return Bytes(size); }
};

// The other way: a seed written as the reads above take it.
struct FuzzOutput {
    std::string bytes;
    FuzzOutput& Byte(unsigned v) {
        bytes += static_cast<char>(v & 0xFF);
        return *this;
    }
    FuzzOutput& Word(unsigned v) { return Byte(v).Byte(v >> 8); }
    FuzzOutput& Bytes(std::string_view b) {
        bytes += b;
        return *this;
    }
};
