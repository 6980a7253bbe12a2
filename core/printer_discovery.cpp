#include "core/printer_discovery.h"

#include <vector>

#include "core/parvel_link.h"
#include "platform/spooler/printer_registry.h"

std::array<std::string, MaxUsablePrinters> PrinterNames;
int16_t PrinterCount = 0;
int16_t SelectedPrinter = 0;

namespace {

bool WorksOffline(const Spooler::PrinterInfo5& info) {
    return (info.Attributes & Spooler::PRINTER_ATTRIBUTE_WORK_OFFLINE) != 0;
}

bool Bidirectional(const Spooler::PrinterInfo5& info) {
    return (info.Attributes & Spooler::PRINTER_ATTRIBUTE_ENABLE_BIDI) != 0;
}

}  // namespace

namespace GetJmPort {

std::string GetPortName(const std::string& deviceName) {
    const auto info = Spooler::GetPrinter(deviceName);
    if (!info) throw PrinterScanError("The printer \"" + deviceName + "\" cannot be opened.");
    if (WorksOffline(*info) || !Bidirectional(*info)) return {};
    // The name ends at its first NUL, as a C string would.
    return info->PortName.substr(0, info->PortName.find('\0'));
}

}  // namespace GetJmPort

void ScanUsablePrinters() {
    std::array<std::string, MaxUsablePrinters> found;
    int16_t count = 0;
    for (const std::string& device : Spooler::InstalledPrinters()) {
        if (GetJmPort::GetPortName(device).empty()) continue;
        if (count == MaxUsablePrinters) {
            throw PrinterScanError("More than 11 usable printers are installed.");
        }
        found[count++] = device;
    }
    PrinterNames = found;
    PrinterCount = count;
}

std::string PassedOverPrinters() {
    std::string line = "No usable printer in " + Spooler::RegistryFile() + ":";
    const std::vector<std::string> installed = Spooler::InstalledPrinters();
    if (installed.empty()) return line + " it lists no printer.";
    const char* separator = " ";
    for (const std::string& device : installed) {
        const auto info = Spooler::GetPrinter(device);
        if (!info) continue;
        const bool offline = WorksOffline(*info);
        const bool bidi = Bidirectional(*info);
        if (!offline && bidi) continue;
        line += separator + ("\"" + device + "\"");
        if (offline) line += " is set to work offline";
        if (offline && !bidi) line += " and";
        if (!bidi) line += " has no bidirectional support";
        separator = "; ";
    }
    return line + ".";
}

int32_t RegisterSelectedPrinter() {
    if (SelectedPrinter < 0 || SelectedPrinter >= PrinterCount) {
        throw PrinterScanError("No printer of the list is selected.");
    }
    const std::u16string port = ToUtf16(GetJmPort::GetPortName(PrinterNames[SelectedPrinter]));
    const int32_t handle = Parvel::JmInitialize(port.c_str());
    // A refused port leaves the port in use as it was.
    if (handle >= 1) PortHandle = handle;
    return handle;
}

std::u16string ToUtf16(const std::string& utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        ++i;
        for (; extra > 0 && i < utf8.size(); --extra, ++i) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}
