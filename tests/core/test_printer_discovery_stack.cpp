// Registering the chosen printer's port with the status library.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "core/parvel_link.h"
#include "core/printer_discovery.h"
#include "tests/core/temp_folder.h"

namespace {

TEST(PortRegistration, TheChosenPrintersPortGetsAHandleThatStays) {
    TempFolder folder;
    ::setenv("RNTOOLS_PRINTERS", folder.File("printers.ini").c_str(), 1);
    std::ofstream(folder.File("printers.ini"))
        << "[One]\nPort=EMU_DISC1:\n[Two]\nPort=EMU_DISC2:\n";
    ScanUsablePrinters();
    ASSERT_EQ(PrinterCount, 2);

    SelectedPrinter = 0;
    const int32_t first = RegisterSelectedPrinter();
    EXPECT_GE(first, 1);
    EXPECT_EQ(PortHandle, first);
    SelectedPrinter = 1;
    const int32_t second = RegisterSelectedPrinter();
    EXPECT_NE(second, first);
    SelectedPrinter = 0;
    EXPECT_EQ(RegisterSelectedPrinter(), first);  // the same port keeps its handle
    ::unsetenv("RNTOOLS_PRINTERS");
    PortHandle = 0;
}

}  // namespace
