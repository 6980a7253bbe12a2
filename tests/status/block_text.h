#pragma once
// The bytes of a command block's 32-byte head, as the tests expect them.

#include <string>

// ESC "P", command, parameter and length field, each padded with blanks.
inline std::string Block(const std::string& command, const std::string& parameter,
                         const std::string& length) {
    std::string b = "\x1bP" + command;
    b.resize(8, ' ');
    b += parameter;
    b.resize(24, ' ');
    b += length;
    b.resize(32, ' ');
    return b;
}
