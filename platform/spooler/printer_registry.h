#pragma once
// The installed-printer registry that stands in for the platform's print
// spooler. Each section of printers.ini is one installed printer:
//
//   [Device name]
//   Port=EMU1:          (a port of the language monitor: "EMU..." or a device path)
//   WorkOffline=0       (attribute 0x400)
//   EnableBidi=1        (attribute 0x800)
//
// The file sits in the user's configuration folder for RN-Tools; the
// environment variable RNTOOLS_PRINTERS names another. Without a file exactly
// one printer is installed: "Emulated Printer" on "EMU1:", online and
// bidirectional, so a machine without hardware talks to the emulated printer.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace Spooler {

constexpr uint32_t PRINTER_ATTRIBUTE_WORK_OFFLINE = 0x400;
constexpr uint32_t PRINTER_ATTRIBUTE_ENABLE_BIDI = 0x800;

// The two fields of a printer's level-5 record the program reads, with its name.
struct PrinterInfo5 {
    std::string PrinterName;
    std::string PortName;
    uint32_t Attributes = 0;
};

// A registry file that exists but cannot be read.
struct RegistryError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The file the registry is read from (it need not exist).
std::string RegistryFile();

// Device names of the installed printers, in the order the registry lists them.
std::vector<std::string> InstalledPrinters();

// The level-5 record of the printer with that device name; nothing when no
// such printer is installed (opening it fails).
std::optional<PrinterInfo5> GetPrinter(const std::string& deviceName);

}  // namespace Spooler
