// CNTRL: the cutter and retention modes, each given as 8 digits.
#include "platform/quillet/emulated_printer.h"

namespace quillet {

bool EmulatedPrinter::ApplyMode(const CommandRule& rule, const uint8_t* data, uint32_t,
                                std::string& why) {
    int mode = 0;
    if (!Digits(data, 8, mode)) {
        why = Describe(rule) + " takes its mode as 8 digits";
        return false;
    }
    At(rule.parameter == "CUTTER" ? Number::Cutter : Number::Retention) = mode;
    return true;
}

}  // namespace quillet
