// A printer whose port names a regular file, a pipe or a folder by a slip of the printer list: the
// window says the printer does not answer, at once, nothing reaches the file or the pipe, and the
// exchange trace says why. A link to a device line in the same place still reaches the printer.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "tests/fault_matrix/matrix_fixture.h"
#include "tests/fault_matrix/window_actions.h"
#include "tests/platform/quillet/pty_printer.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class PortNotADevice : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        fs::create_directories(folder);
        setenv("QUILLET_LOG", trace.c_str(), 1);
        // The printer list names a link; each case points it at what the port would name.
        fs::create_symlink(printer.Path(), port);
        InstallPrinters({{"Photo Printer", QString::fromStdString(port.string())}});
        ASSERT_TRUE(StartProgram());
        window = OpenWindow("mnuOptionSetupHeadRank");
        ASSERT_NE(window, nullptr);
        QTest::keyClicks(window->findChild<QLineEdit*>("Text1"), "4000");
    }
    void TearDown() override {
        unsetenv("QUILLET_LOG");
        MatrixTest::TearDown();
        fs::remove_all(folder);
    }
    void PointPortAt(const fs::path& target) {
        fs::remove(port);
        fs::create_symlink(target, port);
    }

    const fs::path folder =
        fs::path(::testing::TempDir()) / ("port_not_a_device_" + std::to_string(getpid()));
    const fs::path port = folder / "printer";
    const std::string trace = (folder / "trace.log").string();
    pty_test::PtyPrinter printer;
    QWidget* window = nullptr;
};

TEST_F(PortNotADevice, FailsAtOnceWithoutWritingAndTheTraceSaysWhy) {
    const std::string text(200, 'x');
    const fs::path file = folder / "slip.txt", pipe = folder / "pipe", dir = folder / "dir";
    std::ofstream(file, std::ios::binary) << text;
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(dir);
    // The other end of the pipe, to see whether anything was written into it.
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);

    const struct {
        fs::path target;
        const char* what;
    } cases[] = {{file, "a regular file"}, {pipe, "a pipe"}, {dir, "a folder"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PointPortAt(c.target);
        for (const char* name : {"frmSetupHeadRank_Setup", "frmSetupHeadRank_Get"}) {
            SCOPED_TRACE(name);
            const WindowAction& action = ActionOf(name);
            ExpectSeen(window, FaceOf(window), action.failed, [&] { action.act(*this, window); });
        }
        const std::string traced = Contents(trace);
        EXPECT_NE(traced.find(port.string() + " is " + c.what + ", not a printer device"),
                  std::string::npos)
            << traced;
    }
    EXPECT_EQ(Contents(file), text);
    char byte = 0;
    EXPECT_LE(read(reader, &byte, 1), 0) << "the pipe was written to";
    close(reader);

    // The link to the device line: the setting goes out whole, without a message.
    PointPortAt(printer.Path());
    const WindowAction& setup = ActionOf("frmSetupHeadRank_Setup");
    ExpectSeen(window, FaceOf(window), Showing({}), [&] { setup.act(*this, window); });
    const std::vector<uint8_t> sent = printer.Read(40);
    ASSERT_EQ(sent.size(), 40u);
    EXPECT_EQ(std::string(sent.begin(), sent.begin() + 24), "\x1bPMNT_WTHEAD_RANK       ");
    EXPECT_EQ(std::string(sent.begin() + 32, sent.begin() + 38), "HR4000");
}

}  // namespace
