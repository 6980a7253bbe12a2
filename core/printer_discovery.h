#pragma once
// The printers the program can serve: installed, online and bidirectional.
// The scan fills the list; the chosen printer's port is registered with the
// status library, whose handle every printer exchange passes first.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

constexpr int MaxUsablePrinters = 11;

// Device names found by the last scan, in scan order; entries from
// PrinterCount upwards are empty.
extern std::array<std::string, MaxUsablePrinters> PrinterNames;
extern int16_t PrinterCount;
// Index into PrinterNames of the printer in use.
extern int16_t SelectedPrinter;

// A printer that cannot be opened, more usable printers than the list holds,
// or a selection outside the list.
struct PrinterScanError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

namespace GetJmPort {
// The port name of the printer when it is usable, otherwise the empty text.
// Throws PrinterScanError when no printer of that name can be opened.
std::string GetPortName(const std::string& deviceName);
}  // namespace GetJmPort

// Fills PrinterNames and PrinterCount. On a failure (PrinterScanError, or the
// registry unreadable) the list of the previous scan stays as it was.
void ScanUsablePrinters();

// Why a scan finds no usable printer, in one line: the registry it read and
// each installed printer with what keeps it out of the list. Throws as the
// scan does when the registry cannot be read.
std::string PassedOverPrinters();

// Registers the port of PrinterNames[SelectedPrinter] with JmInitialize and
// returns the library's answer; PortHandle takes it when the library took the
// port (a handle >= 1) and is left as it was otherwise. Throws PrinterScanError
// when SelectedPrinter lies outside the last scan, and Parvel::Unavailable
// when the status library cannot be reached.
int32_t RegisterSelectedPrinter();

// Port names travel to the status library as UTF-16.
std::u16string ToUtf16(const std::string& utf8);
