// The installed-printer registry read from printers.ini.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/spooler/printer_registry.h"

namespace {

class SpoolerTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string file;
    void SetUp() override {
        file = dir.filePath("printers.ini").toStdString();
        ::setenv("RNTOOLS_PRINTERS", file.c_str(), 1);
    }
    void TearDown() override { ::unsetenv("RNTOOLS_PRINTERS"); }
    void Write(const char* text) {
        QFile out(QString::fromStdString(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text);
    }
};

TEST_F(SpoolerTest, WithoutAFileOneEmulatedPrinterIsInstalled) {
    EXPECT_EQ(Spooler::RegistryFile(), file);
    EXPECT_EQ(Spooler::InstalledPrinters(), std::vector<std::string>{"Emulated Printer"});
    const auto info = Spooler::GetPrinter("Emulated Printer");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->PortName, "EMU1:");
    EXPECT_EQ(info->Attributes, Spooler::PRINTER_ATTRIBUTE_ENABLE_BIDI);
}

TEST_F(SpoolerTest, SectionsAreListedInFileOrderWithTheirAttributes) {
    Write(
        "; printers of the bench\n"
        "[Zeta]\nPort=EMU2:\nWorkOffline=1\n"
        "[Alpha Printer]\n  Port = /dev/usb/lp0 \nEnableBidi=no\n"
        "[Mid]\nport=EMU3:\nworkoffline=yes\nenablebidi=true\n"
        "[Zeta]\nEnableBidi=0\n");
    EXPECT_EQ(Spooler::InstalledPrinters(),
              (std::vector<std::string>{"Zeta", "Alpha Printer", "Mid"}));
    struct Case {
        const char* name;
        const char* port;
        uint32_t attributes;
    };
    const Case cases[] = {
        {"Zeta", "EMU2:", Spooler::PRINTER_ATTRIBUTE_WORK_OFFLINE},
        {"Alpha Printer", "/dev/usb/lp0", 0},
        {"Mid",
         "EMU3:", Spooler::PRINTER_ATTRIBUTE_WORK_OFFLINE | Spooler::PRINTER_ATTRIBUTE_ENABLE_BIDI},
    };
    for (const Case& c : cases) {
        const auto info = Spooler::GetPrinter(c.name);
        ASSERT_TRUE(info) << c.name;
        EXPECT_EQ(info->PortName, c.port) << c.name;
        EXPECT_EQ(info->Attributes, c.attributes) << c.name;
    }
    EXPECT_FALSE(Spooler::GetPrinter("Emulated Printer"));
}

TEST_F(SpoolerTest, AnEmptyFileInstallsNoPrinterAndAnUnreadableOneIsAnError) {
    Write("");
    EXPECT_TRUE(Spooler::InstalledPrinters().empty());
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder.ini")));
    ::setenv("RNTOOLS_PRINTERS", dir.filePath("folder.ini").toLocal8Bit().constData(), 1);
    EXPECT_THROW(Spooler::InstalledPrinters(), Spooler::RegistryError);
}

}  // namespace
