#include "platform/quillet/command_block.h"

#include <vector>

#include "platform/quillet/colour_tables.h"

namespace quillet {
namespace {

constexpr uint32_t kMaxColourImage = 80000;  // the program's colour-data transfer buffer
constexpr uint32_t kMaxFirmwareImage = 10000000;
constexpr uint32_t kMaxVersionText = 256;

Family FamilyOf(std::string_view command) {
    if (command == "MNT_RD" || command == "MNT_WT") return Family::Maintenance;
    if (command.substr(0, 4) == "TBL_") return Family::Tables;
    if (command == "FW_UPD") return Family::Firmware;
    if (command == "CNTRL") return Family::Modes;
    return Family::Information;
}

CommandRule Rule(const char* command, const std::string& parameter, bool request,
                 uint32_t minLength, uint32_t maxLength, uint32_t multipleOf) {
    return {command, parameter, request, minLength, maxLength, multipleOf, FamilyOf(command)};
}
CommandRule Request(const char* command, const std::string& parameter) {
    return Rule(command, parameter, true, 0, 0, 1);
}
CommandRule Write(const char* command, const std::string& parameter, uint32_t exact) {
    return Rule(command, parameter, false, exact, exact, 1);
}

std::vector<CommandRule> BuildCatalogue() {
    std::vector<CommandRule> c;
    c.push_back(Request("STATUS", ""));
    for (const char* p : {"FVER", "SENSOR", "MEDIA", "PQTY", "RESOLUTION_H", "RESOLUTION_V",
                          "FREE_PBUFFER", "MLOT", "MCOLOR", "MQTY", "SERIAL_NUMBER"})
        c.push_back(Request("INFO", p));
    for (const char* p : {"COUNTER_LIFE", "COUNTER_A", "COUNTER_B", "CTRLD_CHKSUM", "MEDIA_ID_SET",
                          "HEAD_RANK", "HEAT_SETTING", "PRINT_POS_ADJUST", "CUT_POS_ADJUST"})
        c.push_back(Request("MNT_RD", p));
    c.push_back(Write("MNT_WT", "COUNTER_CLEAR", 4));
    c.push_back(Write("MNT_WT", "PRINTER_ID_SET", 32));
    for (const char* p :
         {"MEDIA", "HEAD_RANK", "HEAT_SETTING", "RESOLUTION", "PRINT_POS_ADJUST", "CUT_POS_ADJUST"})
        c.push_back(Write("MNT_WT", p, 8));
    for (const auto& t : TableParameters()) {
        c.push_back(Request("TBL_RD", t.name));
        c.push_back(Write("TBL_WT", t.name, t.size));
    }
    c.push_back(Request("TBL_RD", "Version"));
    c.push_back(Rule("TBL_WT", "Version", false, 0, kMaxVersionText, 16));
    c.push_back(Rule("TBL_WT", "CTRLD_UPDATE_KT", false, static_cast<uint32_t>(kColourImageSize),
                     kMaxColourImage, 1));
    c.push_back(Write("TBL_CL", "", 0));
    c.push_back(Write("FW_UPD", "FLASH_REWRITE", 0));
    c.push_back(Rule("FW_UPD", "FLASH_PROGRAM", false, 0, kMaxFirmwareImage, 1));
    c.push_back(Write("CNTRL", "CUTTER", 8));
    c.push_back(Write("CNTRL", "RETENTION", 8));
    return c;
}

const std::vector<CommandRule>& Catalogue() {
    static const std::vector<CommandRule> catalogue = BuildCatalogue();
    return catalogue;
}

// A field is its text followed by blanks only; a blank inside the text or a byte
// outside printable ASCII makes it malformed.
bool FieldWellFormed(const uint8_t* bytes, size_t width) {
    bool blanks = false;
    for (size_t i = 0; i < width; ++i) {
        const uint8_t b = bytes[i];
        if (b == ' ') {
            blanks = true;
        } else if (blanks || b < 0x21 || b > 0x7E) {
            return false;
        }
    }
    return true;
}

std::string Printable(const uint8_t* bytes, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t b = bytes[i];
        if (b >= 0x20 && b < 0x7F) {
            s += static_cast<char>(b);
        } else {
            static const char hex[] = "0123456789ABCDEF";
            s += "\\x";
            s += hex[b >> 4];
            s += hex[b & 15];
        }
    }
    return s;
}

}  // namespace

std::string_view TrimField(const uint8_t* bytes, size_t width) {
    size_t n = width;
    while (n > 0 && bytes[n - 1] == ' ') --n;
    return std::string_view(reinterpret_cast<const char*>(bytes), n);
}

const CommandRule* FindRule(std::string_view command, std::string_view parameter) {
    for (const auto& rule : Catalogue())
        if (rule.command == command && rule.parameter == parameter) return &rule;
    return nullptr;
}

std::string Describe(const CommandRule& rule) {
    return rule.parameter.empty() ? rule.command : rule.command + " " + rule.parameter;
}

bool CheckCommand(const uint8_t* bytes, BlockHeader& header, std::string& why) {
    if (bytes[0] != 0x1B || bytes[1] != 'P') {
        why = "block does not begin with ESC \"P\" (begins \"" + Printable(bytes, 2) + "\")";
        return false;
    }
    if (!FieldWellFormed(bytes + 2, 6)) {
        why = "command field \"" + Printable(bytes + 2, 6) + "\" is malformed";
        return false;
    }
    if (!FieldWellFormed(bytes + 8, 16)) {
        why = "parameter field \"" + Printable(bytes + 8, 16) + "\" is malformed";
        return false;
    }
    // Views of the fields: checking a block allocates nothing.
    const std::string_view command = TrimField(bytes + 2, 6);
    const std::string_view parameter = TrimField(bytes + 8, 16);
    bool commandKnown = false;
    for (const auto& rule : Catalogue()) {
        if (rule.command != command) continue;
        commandKnown = true;
        if (rule.parameter == parameter) {
            header.rule = &rule;
            return true;
        }
    }
    const std::string c(command), p(parameter);
    if (!commandKnown) {
        why = "unknown command \"" + c + "\"";
    } else if (p.empty()) {
        why = "command " + c + " needs a parameter";
    } else {
        why = "unknown parameter \"" + p + "\" for " + c;
    }
    return false;
}

bool CheckLengthField(const uint8_t* bytes, BlockHeader& header, std::string& why) {
    const CommandRule& rule = *header.rule;
    const uint8_t* field = bytes + kCommandEnd;
    bool allBlank = true;
    bool allDigits = true;
    uint32_t value = 0;
    for (size_t i = 0; i < 8; ++i) {
        if (field[i] != ' ') allBlank = false;
        if (field[i] < '0' || field[i] > '9') {
            allDigits = false;
        } else {
            value = value * 10 + static_cast<uint32_t>(field[i] - '0');
        }
    }
    if (!allBlank && !allDigits) {
        why = "length field \"" + Printable(field, 8) + "\" of " + Describe(rule) +
              " is neither 8 digits nor 8 blanks";
        return false;
    }
    if (allBlank) {
        if (rule.carriesData() && rule.minLength > 0) {
            why = "length field of " + Describe(rule) + " is blank but the block carries data";
            return false;
        }
        if (rule.carriesData()) {
            why = "length field of " + Describe(rule) + " must give the data length in digits";
            return false;
        }
        header.length = 0;
        return true;
    }
    if (value < rule.minLength || value > rule.maxLength || value % rule.multipleOf != 0) {
        std::string expected;
        if (!rule.carriesData()) {
            expected = "no data";
        } else if (rule.minLength == rule.maxLength) {
            expected = std::to_string(rule.minLength) + " bytes";
        } else {
            expected =
                std::to_string(rule.minLength) + ".." + std::to_string(rule.maxLength) + " bytes";
            if (rule.multipleOf > 1)
                expected += ", a multiple of " + std::to_string(rule.multipleOf);
        }
        why = "length field " + std::to_string(value) + " does not suit " + Describe(rule) +
              " (expects " + expected + ")";
        return false;
    }
    header.length = value;
    return true;
}

bool CheckHeader(const uint8_t* bytes, BlockHeader& header, std::string& why) {
    return CheckCommand(bytes, header, why) && CheckLengthField(bytes, header, why);
}

}  // namespace quillet
