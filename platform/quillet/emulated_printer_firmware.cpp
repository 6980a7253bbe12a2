// FW_UPD: the firmware update mode and the image programmed in it.
#include "platform/quillet/emulated_printer.h"

namespace quillet {

bool EmulatedPrinter::ApplyFirmware(const CommandRule& rule, const uint8_t* data, uint32_t length) {
    if (rule.parameter == "FLASH_REWRITE") {
        settings_.updateMode = true;
        settings_.status = "FU1";
    } else if (length == 0) {
        settings_.status = "FU101";  // nothing to program: data error, still in the mode
    } else {
        settings_.imageLength = length;
        settings_.imageCrc = Crc32(data, length);
        settings_.updateMode = false;
        settings_.status = "0";
    }
    return true;
}

}  // namespace quillet
