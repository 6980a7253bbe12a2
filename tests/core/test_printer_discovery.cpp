// Which installed printers the program may use, and the list a scan leaves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "core/printer_discovery.h"
#include "tests/core/temp_folder.h"

namespace {

struct Installed {
    std::string name;
    std::string port;
    int offline;
    int bidi;
};

class DiscoveryTest : public ::testing::Test {
protected:
    TempFolder folder;
    void SetUp() override {
        ::setenv("RNTOOLS_PRINTERS", folder.File("printers.ini").c_str(), 1);
        PrinterNames = {};
        PrinterCount = 0;
        SelectedPrinter = 0;
    }
    void TearDown() override { ::unsetenv("RNTOOLS_PRINTERS"); }
    void Install(const std::vector<Installed>& printers) {
        std::ofstream out(folder.File("printers.ini"), std::ios::trunc);
        for (const Installed& p : printers) {
            out << "[" << p.name << "]\nPort=" << p.port << "\nWorkOffline=" << p.offline
                << "\nEnableBidi=" << p.bidi << "\n";
        }
    }
    std::vector<std::string> Listed() const {
        return {PrinterNames.begin(), PrinterNames.begin() + PrinterCount};
    }
};

TEST_F(DiscoveryTest, OnlyOnlineBidirectionalPrintersHaveAPort) {
    Install({{"online bidi", "EMU1:", 0, 1},
             {"offline bidi", "EMU2:", 1, 1},
             {"online one-way", "EMU3:", 0, 0},
             {"offline one-way", "EMU4:", 1, 0}});
    EXPECT_EQ(GetJmPort::GetPortName("online bidi"), "EMU1:");
    for (const char* unusable : {"offline bidi", "online one-way", "offline one-way"}) {
        EXPECT_EQ(GetJmPort::GetPortName(unusable), "") << unusable;
    }
    EXPECT_THROW(GetJmPort::GetPortName("not installed"), PrinterScanError);
}

// The line start-up writes beside its no-printer message.
TEST_F(DiscoveryTest, PassedOverPrintersNamesTheRegistryAndEachReason) {
    const std::string registry = folder.File("printers.ini");
    Install({{"Offline", "EMU1:", 1, 1}, {"One way", "EMU2:", 0, 0}, {"Neither", "EMU3:", 1, 0}});
    EXPECT_EQ(PassedOverPrinters(),
              "No usable printer in " + registry +
                  ": \"Offline\" is set to work offline; \"One way\" has no bidirectional "
                  "support; \"Neither\" is set to work offline and has no bidirectional support.");
    Install({});
    EXPECT_EQ(PassedOverPrinters(), "No usable printer in " + registry + ": it lists no printer.");
}

TEST_F(DiscoveryTest, WithoutARegistryTheEmulatedPrinterIsTheOne) {
    ScanUsablePrinters();
    EXPECT_EQ(Listed(), std::vector<std::string>{"Emulated Printer"});
    EXPECT_EQ(GetJmPort::GetPortName("Emulated Printer"), "EMU1:");
}

TEST_F(DiscoveryTest, ScanKeepsTheInstalledOrderAndLeavesNoStaleNames) {
    Install(
        {{"C", "EMU1:", 0, 1}, {"off", "EMU9:", 1, 1}, {"A", "EMU2:", 0, 1}, {"B", "EMU3:", 0, 1}});
    ScanUsablePrinters();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"C", "A", "B"}));

    Install({{"B", "EMU3:", 0, 1}});
    ScanUsablePrinters();
    EXPECT_EQ(Listed(), std::vector<std::string>{"B"});
    for (int i = 1; i < MaxUsablePrinters; ++i) EXPECT_EQ(PrinterNames[i], "") << i;

    Install({});
    ScanUsablePrinters();
    EXPECT_EQ(PrinterCount, 0);
    EXPECT_EQ(PrinterNames[0], "");
}

TEST_F(DiscoveryTest, ElevenFitTheTwelfthFailsAndKeepsTheLastList) {
    std::vector<Installed> printers;
    for (int i = 1; i <= 11; ++i) printers.push_back({"P" + std::to_string(i), "EMU1:", 0, 1});
    printers.push_back({"offline twelfth", "EMU1:", 1, 1});
    Install(printers);
    ScanUsablePrinters();
    EXPECT_EQ(PrinterCount, 11);
    EXPECT_EQ(PrinterNames[10], "P11");

    Install({{"first", "EMU1:", 0, 1}});
    ScanUsablePrinters();
    printers.back().offline = 0;
    Install(printers);
    EXPECT_THROW(ScanUsablePrinters(), PrinterScanError);
    EXPECT_EQ(Listed(), std::vector<std::string>{"first"});
}

TEST_F(DiscoveryTest, RegistrationRefusesAnIndexOutsideTheLastScan) {
    Install({{"A", "EMU1:", 0, 1}});
    ScanUsablePrinters();
    for (int16_t index : {int16_t{-1}, int16_t{1}, int16_t{11}}) {
        SelectedPrinter = index;
        EXPECT_THROW(RegisterSelectedPrinter(), PrinterScanError) << index;
    }
}

}  // namespace
