// A printer on a device line that goes away in the middle of an exchange, for one window of each
// family: the window says what the system says, gives up as soon as the line closes instead of
// waiting for the reply's timeout, and nothing changes because of the read that failed.
#include <unistd.h>

#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "core/busy_notice.h"
#include "core/colour_data.h"
#include "tests/fault_matrix/matrix_fixture.h"
#include "tests/fault_matrix/window_actions.h"
#include "tests/platform/quillet/pty_printer.h"

namespace {

using pty_test::PtyPrinter;

constexpr std::size_t kRequest = 32;  // a read request: the block header alone

// A reply as the printer frames it: 8 length digits, then the payload.
std::string Framed(const std::string& payload) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08zu", payload.size());
    return digits + payload;
}

// Words as the printer sends them, big-endian, then zero bytes up to `size`.
std::string BigEndian(const int16_t* words, std::size_t count, std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) {
        const auto w = static_cast<uint16_t>(words[i]);
        bytes += static_cast<char>(w >> 8);
        bytes += static_cast<char>(w & 0xFF);
    }
    bytes.resize(size, '\0');
    return bytes;
}

std::string CurvePlane(const CurveTable& table, int plane) {
    return BigEndian(&table.Words[static_cast<std::size_t>(plane * CurvePoints)], CurvePoints,
                     2 * CurvePoints);
}

const std::string kVersion = "PTY PRINTER SET 7" + std::string(15, ' ');

// How the printer on the line goes away.
enum class Peer {
    // It takes the request, sends part of its reply and closes the line.
    CutsItsReply,
    // It takes the first block sent and closes the line; the next send meets the closed line.
    TakesABlockAndCloses,
    // The line has closed before the action.
    HasClosed,
};

struct PeerCase {
    const char* name;
    const char* menuItem;
    const char* action;  // the fault matrix's row of the window's action
    Peer peer;
    // The replies to the requests before the one cut off, made when the case runs (the set's own
    // data, so that a read that went through changes nothing).
    std::function<std::vector<std::string>()> answers;
    std::size_t takes;     // bytes of the request or block the printer takes before it goes
    std::string cutReply;  // what comes of its reply before the line closes
    Seen seen;
    const char* typed = nullptr;  // typed into the window's Text1 before the action
};

void PrintTo(const PeerCase& c, std::ostream* out) {
    *out << c.name;
}

const std::vector<PeerCase>& PeerCases() {
    const auto none = [] { return std::vector<std::string>{}; };
    static const std::vector<PeerCase> cases = {
        {"CurveEditorGet", "mnuCtlHeadTemperature", "frmHTemp_Get", Peer::CutsItsReply,
         [] { return std::vector<std::string>{Framed(CurvePlane(ColorDataSet.HeadTemp, 0))}; },
         kRequest, "00000512" + CurvePlane(ColorDataSet.HeadTemp, 1).substr(0, 100),
         NotResponding()},
        {"CurveEditorSetup", "mnuCtlHeadTemperature", "frmHTemp_Setup", Peer::TakesABlockAndCloses,
         none, kRequest + 2 * CurvePoints, "", NotResponding()},
        {"SpecialEditorGet", "mnuCtlG_Omega", "frmGOmega_Get", Peer::CutsItsReply,
         [] {
             return std::vector<std::string>{
                 Framed(BigEndian(ColorDataSet.GOmegaParams.Words.data(), 7, 16))};
         },
         kRequest, "00000016" + std::string(6, '\0'), NotResponding()},
        {"SpecialEditorSetup", "mnuCtlG_Omega", "frmGOmega_Setup", Peer::TakesABlockAndCloses, none,
         kRequest + 16, "", NotResponding()},
        {"ReadDialogGet", "mnuVersionChk", "frmChecksum_Get", Peer::CutsItsReply,
         [] { return std::vector<std::string>{Framed(kVersion + '\0')}; }, kRequest, "000000091A2B",
         NotResponding({Shows("Text1", QString::fromStdString(kVersion))})},
        {"SettingDialogGet", "mnuOptionSetupHeadRank", "frmSetupHeadRank_Get", Peer::CutsItsReply,
         none, kRequest, "00000007HR4", NotResponding()},
        {"SettingDialogSetup", "mnuOptionSetupHeadRank", "frmSetupHeadRank_Setup", Peer::HasClosed,
         none, 0, "", NotResponding(), "4000"},
        {"SensorMonitorTick", "mnuOptionSensorMonitor", "frmSensorMonitor_Tick", Peer::CutsItsReply,
         none, kRequest, "00000118S01:100; S02:0", Showing({Pictured("imgLED_COM", "imgLED_RED")})},
        {"MechanismAdjustmentGet", "mnuOptionMechanismAdjustment", "frmMechanismAdjustment_Get",
         Peer::CutsItsReply, [] { return std::vector<std::string>{Framed("RV300\r")}; }, kRequest,
         "00000008PPA+0", NotResponding()},
        {"StatusDialogGet", "mnuPrinterStatus", "frmPrinterStatus_Get", Peer::CutsItsReply, none,
         kRequest, "00000002", Showing({Shows("txtPrinterStatus", "ERROR!")})},
    };
    return cases;
}

// Holds the second table exchange of a transfer until the printer has gone.
struct WaitForTheLine : BusyNotice {
    std::thread* line = nullptr;
    int exchanges = 0;
    void Indication(const std::string&) override {
        if (++exchanges == 2 && line->joinable()) line->join();
    }
    void Extinction() override {}
};

class ClosingPeer : public MatrixTest, public ::testing::WithParamInterface<PeerCase> {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        // One port name for every case of the process, pointed at each case's own line: the
        // status library keeps the names it was given for the whole run.
        const std::string port = pty_test::ByIdLink(Folder(), printer);
        InstallPrinters({{"Photo Printer", QString::fromStdString(port)}});
        ASSERT_TRUE(StartProgram());
        MakeDistinctSet();
    }
    void TearDown() override {
        SetBusyNotice(nullptr);
        MatrixTest::TearDown();
        std::filesystem::remove_all(Folder());
    }
    static std::string Folder() {
        return ::testing::TempDir() + "fault_matrix_" + std::to_string(getpid());
    }
    PtyPrinter printer;
};

TEST_P(ClosingPeer, TheWindowSaysSoAtOnceAndNothingChanges) {
    const PeerCase& c = GetParam();
    const WindowAction& action = ActionOf(c.action);
    QWidget* window = OpenWindow(c.menuItem);
    ASSERT_NE(window, nullptr);
    if (c.typed) QTest::keyClicks(window->findChild<QLineEdit*>("Text1"), c.typed);
    const Face face = FaceOf(window);
    const std::vector<uint8_t> set = SetImage();

    std::thread line;
    WaitForTheLine notice;
    switch (c.peer) {
        case Peer::HasClosed:
            printer.CloseLine();
            break;
        case Peer::TakesABlockAndCloses:
            notice.line = &line;
            SetBusyNotice(&notice);
            line = std::thread([this, takes = c.takes] {
                printer.Read(takes);
                printer.CloseLine();
            });
            break;
        case Peer::CutsItsReply:
            line = std::thread([this, answers = c.answers(), takes = c.takes, cut = c.cutReply] {
                for (const std::string& answer : answers)
                    printer.Answer(kRequest, answer.data(), answer.size());
                printer.Read(takes);
                printer.Write(cut);
                // A moment for the part sent to arrive before the line goes: closing drops what
                // is still on its way.
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                printer.CloseLine();
            });
            break;
    }
    ExpectSeen(window, face, c.seen, [&] { action.act(*this, window); });
    if (line.joinable()) line.join();

    const std::vector<uint8_t> after = SetImage();
    ASSERT_EQ(after.size(), set.size());
    EXPECT_TRUE(after == set) << "the colour-data set changed";
}

INSTANTIATE_TEST_SUITE_P(OneWindowAFamily, ClosingPeer, ::testing::ValuesIn(PeerCases()),
                         [](const ::testing::TestParamInfo<PeerCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
