// TBL_RD, TBL_WT and TBL_CL: the colour data the printer holds, its version text, and the
// whole colour-data image taken at once.
#include "platform/quillet/emulated_printer.h"

namespace quillet {

Payload EmulatedPrinter::AnswerTable(const CommandRule& rule) {
    // The fixed-width version text may fill its field: a NUL ends it for the reader.
    if (rule.parameter == "Version") return Reply(settings_.version, std::string_view("\0", 1));
    const auto it = tables_.find(rule.parameter);
    if (it == tables_.end()) return {};
    return it->second;  // as held: no copy of the table
}

// The catalogue has checked every length already; payloads are written over the ones held.
bool EmulatedPrinter::ApplyTable(const CommandRule& rule, const uint8_t* data, uint32_t length) {
    const std::string& p = rule.parameter;
    if (rule.command == "TBL_CL") {
        RestoreFactoryTables(tables_);
        const Bytes& version = FactoryVersion();
        settings_.version.assign(version.begin(), version.end());
    } else if (p == "Version") {
        settings_.version.assign(data, data + length);
    } else if (p == "CTRLD_UPDATE_KT") {
        TakeColourImage(data, tables_);
    } else {
        tables_[p].assign(data, data + length);
    }
    return true;
}

}  // namespace quillet
