// The installed-printer registry (printers.ini) and the printer scan on any file: a file it
// cannot take is an error the start-up reports, never a crash; every printer it lists can
// be opened, and a scan keeps at most 11.
#include <cstdlib>
#include <string>
#include <vector>

#include "core/printer_discovery.h"
#include "fuzz/fuzz_files.h"
#include "fuzz/fuzz_target.h"
#include "platform/spooler/printer_registry.h"

namespace {

struct Installed {
    const char* name;
    const char* port;
    int workOffline;
    int enableBidi;
};

// A registry as the README describes it, one section a printer.
std::string Registry(std::initializer_list<Installed> printers) {
    std::string text = "; installed printers\n";
    for (const Installed& p : printers) {
        text += std::string("[") + p.name + "]\nPort=" + p.port +
                "\nWorkOffline=" + std::to_string(p.workOffline) +
                "\nEnableBidi=" + std::to_string(p.enableBidi) + "\n";
    }
    return text;
}

}  // namespace

std::vector<std::string> FuzzSeeds() {
    return {Registry({{"Photo Printer", "/dev/usb/lp0", 0, 1}}),
            Registry({{"Emulated Printer", "EMU1:", 0, 1},
                      {"Offline", "EMU2:", 1, 1},
                      {"One way", "EMU3:", 0, 0}})};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file;
    setenv("RNTOOLS_PRINTERS", file.Hold(data, size).c_str(), 1);
    try {
        for (const std::string& name : Spooler::InstalledPrinters()) {
            FUZZ_CHECK(Spooler::GetPrinter(name).has_value());
            ToUtf16(GetJmPort::GetPortName(name));
        }
        ScanUsablePrinters();
        FUZZ_CHECK(PrinterCount >= 0 && PrinterCount <= MaxUsablePrinters);
    } catch (const Spooler::RegistryError&) {
    } catch (const PrinterScanError&) {
    }
    return 0;
}
