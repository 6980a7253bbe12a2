// The installed-printer registry read from printers.ini.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <future>
#include <string>

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

TEST_F(SpoolerTest, AnEmptyFileInstallsNoPrinter) {
    Write("");
    EXPECT_TRUE(Spooler::InstalledPrinters().empty());
}

// Only a regular file is read. A named pipe is refused at once, without
// waiting for a writer that never comes; the error says why.
TEST_F(SpoolerTest, WhatIsNoRegularFileIsRefusedWithItsReason) {
    const std::string folder = dir.filePath("folder.ini").toStdString();
    const std::string pipe = dir.filePath("pipe.ini").toStdString();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    struct Case {
        std::string path;
        const char* why;
    };
    for (const Case& c : {Case{folder, "it is a folder"}, Case{pipe, "it is not a regular file"}}) {
        SCOPED_TRACE(c.path);
        ::setenv("RNTOOLS_PRINTERS", c.path.c_str(), 1);
        auto read = std::async(std::launch::async, [] {
            try {
                Spooler::InstalledPrinters();
            } catch (const Spooler::RegistryError& e) {
                return std::string(e.what());
            }
            return std::string("read");
        });
        if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            // A writer releases the blocked reader, so the test fails instead of hanging.
            const int writer = ::open(c.path.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) ::close(writer);
            read.wait();
            ADD_FAILURE() << "the read waited";
            continue;
        }
        EXPECT_EQ(read.get(), "The printer list " + c.path + " cannot be read: " + c.why + ".");
    }
}

}  // namespace
