#pragma once
// The command block as the printer takes it: ESC "P", a 6-character command, a
// 16-character parameter (both blank-padded), 8 length digits (or 8 blanks when the
// block carries no data), then the data. Every block is checked strictly against
// the commands the printer knows; a refusal always says why.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

inline constexpr size_t kCommandEnd = 24;  // ESC, "P", command, parameter
inline constexpr size_t kHeaderSize = 32;  // ... and the length field

// The printer handles its commands by family, one part of it each.
enum class Family {
    Information,  // STATUS, INFO
    Maintenance,  // MNT_RD, MNT_WT
    Tables,       // TBL_RD, TBL_WT, TBL_CL
    Firmware,     // FW_UPD
    Modes,        // CNTRL
};

struct CommandRule {
    std::string command;    // without padding: "TBL_WT", "INFO", ...
    std::string parameter;  // without padding; empty for none
    bool request;           // answered through a receive, never taken by a plain send
    uint32_t minLength;     // data bytes; 0 and 0 = a block without data
    uint32_t maxLength;
    uint32_t multipleOf;  // the data length must be a multiple of this
    Family family;
    bool carriesData() const { return maxLength > 0; }
};

struct BlockHeader {
    const CommandRule* rule = nullptr;
    uint32_t length = 0;  // data bytes that follow the header
};

// Checks ESC "P", the command and the parameter (the first kCommandEnd bytes).
bool CheckCommand(const uint8_t* bytes, BlockHeader& header, std::string& why);
// Checks the length field (bytes 24..31) against the command found by CheckCommand.
bool CheckLengthField(const uint8_t* bytes, BlockHeader& header, std::string& why);
// Both checks on a whole 32-byte header.
bool CheckHeader(const uint8_t* bytes, BlockHeader& header, std::string& why);

// "COMMAND parameter" for traces and reasons.
std::string Describe(const CommandRule& rule);

// The command or parameter field without its padding blanks.
std::string_view TrimField(const uint8_t* bytes, size_t width);

// The rule of a command and parameter (both without padding), or null.
const CommandRule* FindRule(std::string_view command, std::string_view parameter);

}  // namespace quillet
