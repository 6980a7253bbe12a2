// Every printer action of every window under every fault the emulated printer can script: the
// window says what the system says, it does not wait past a reply's timeout, and nothing the
// program or the printer holds changes because of a failed read. The program and the printer
// hold the same colour data, so that a read the printer answers changes nothing, while a read
// that took bytes which did not come (an older reply's) changes the set.
#include <QWidget>
#include <ostream>
#include <string>
#include <vector>

#include "core/bulk_transfers.h"
#include "core/table_transfers.h"
#include "platform/quillet/quillet_control.h"
#include "tests/fault_matrix/matrix_fixture.h"
#include "tests/fault_matrix/window_actions.h"

namespace {

enum class Case { Fails, FailsLater, Short, Unterminated };

struct Fault {
    const char* name;
    bool onReply;  // a fault of the printer's reply: only an action that reads meets it
    Case seenAs;
    void (*script)(const WindowAction& action);
};

// What the emulated printer can do wrong, each to the action's first exchange or reply unless
// said otherwise.
const Fault kFaults[] = {
    {"ExchangeFails", false, Case::Fails, [](const WindowAction&) { quillet_fail_next(1); }},
    {"LaterExchangeFails", false, Case::FailsLater,
     [](const WindowAction& a) { quillet_fail_after(a.later, 1); }},
    {"ShortReply", true, Case::Short,
     [](const WindowAction&) { quillet_fault_next_reply(QUILLET_REPLY_SHORT, 1); }},
    {"OversizedReply", true, Case::Fails,
     [](const WindowAction&) { quillet_fault_next_reply(QUILLET_REPLY_OVERSIZED, 16); }},
    {"UnterminatedReply", true, Case::Unterminated,
     [](const WindowAction&) { quillet_fault_next_reply(QUILLET_REPLY_UNTERMINATED, 0); }},
    {"ReplyPastTimeout", true, Case::Fails,
     [](const WindowAction&) { quillet_fault_next_reply(QUILLET_REPLY_DELAY, 1000); }},
};

struct Cell {
    const WindowAction* action;
    const Fault* fault;
};

void PrintTo(const Cell& cell, std::ostream* out) {
    *out << cell.action->name << ", " << cell.fault->name;
}

std::vector<Cell> Cells() {
    std::vector<Cell> cells;
    for (const WindowAction& action : WindowActions()) {
        for (const Fault& fault : kFaults) {
            if (fault.onReply && !action.reads) continue;
            if (fault.seenAs == Case::FailsLater && action.later == 0) continue;
            cells.push_back({&action, &fault});
        }
    }
    return cells;
}

const Seen& SeenOf(const Cell& cell) {
    const WindowAction& a = *cell.action;
    switch (cell.fault->seenAs) {
        case Case::Fails:
            return cell.fault->onReply && a.replyIsLater ? a.failedLater : a.failed;
        case Case::FailsLater:
            return a.failedLater;
        case Case::Short:
            return a.shortReply;
        case Case::Unterminated:
            return a.unterminated;
    }
    return a.failed;
}

class FaultMatrix : public MatrixTest, public ::testing::WithParamInterface<Cell> {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        ASSERT_TRUE(StartProgram());
        MakeDistinctSet();
        // The printer takes the same set: every table, and the print mode, which the whole
        // transfer leaves out.
        ASSERT_TRUE(Module2::WriteAllTables());
        ASSERT_TRUE(Module2::WritePrintModeData());
    }
};

TEST_P(FaultMatrix, TheWindowSaysSoWithinTheTimeoutAndNothingChanges) {
    const WindowAction& action = *GetParam().action;
    QWidget* window = OpenWindow(action.menuItem);
    ASSERT_NE(window, nullptr);
    if (action.prime) action.prime(*this, window);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(Boxes().empty()) << Boxes().front().text.toStdString();

    const Face face = FaceOf(window);
    const std::vector<uint8_t> set = SetImage();
    std::map<std::string, std::string> printer = PrinterState();

    GetParam().fault->script(action);
    ExpectSeen(window, face, SeenOf(GetParam()), [&] { action.act(*this, window); });

    const std::vector<uint8_t> after = SetImage();
    ASSERT_EQ(after.size(), set.size());
    EXPECT_TRUE(after == set) << "the colour-data set changed";
    std::map<std::string, std::string> now = PrinterState();
    for (const std::string& key : action.mayChange) printer[key] = now[key];
    EXPECT_EQ(now, printer) << "the printer's settings changed";
}

std::string CellName(const ::testing::TestParamInfo<Cell>& info) {
    return info.param.action->name + "_" + info.param.fault->name;
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, FaultMatrix, ::testing::ValuesIn(Cells()), CellName);

}  // namespace
