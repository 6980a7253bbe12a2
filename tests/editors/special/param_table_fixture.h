#pragma once
// What the tests of the sigma, G omega and G delta windows share: the program started on its
// emulated printer, a window opened from its menu item, its toolbar, typing into its boxes, the
// table's words, the blocks the printer was sent and its own tables, and a notice that lets a
// test act (or make an exchange fail) while a transfer runs.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/busy_notice.h"
#include "core/colour_data.h"
#include "platform/quillet/quillet_control.h"
#include "shell/frm_main.h"
#include "tests/editors/curve/curve_editor_fixture.h"  // Slurp, Spit, Blocks
#include "tests/support/gui_test.h"

namespace param_table_test {

using Words = std::array<int16_t, 32>;  // a ParamTable, plane after plane

inline Words WordsOf(const ParamTable& table) {
    Words w;
    std::copy(table.Words.begin(), table.Words.end(), w.begin());
    return w;
}

// The 64-byte file image of the words, little-endian.
inline std::string FileBytes(const Words& words) {
    std::string bytes;
    for (int16_t w : words) bytes += {char(w & 0xFF), char((w >> 8) & 0xFF)};
    return bytes;
}

// Distinct words in every place, each plane's words 3..7 included.
inline Words Distinct(int16_t base) {
    Words w;
    for (int k = 0; k < 32; ++k) w[k] = static_cast<int16_t>(base + 37 * k - 500);
    return w;
}

inline std::string Parameter(const std::vector<uint8_t>& block) {
    std::string p(block.begin() + 8, block.begin() + 24);
    return p.substr(0, p.find_last_not_of(' ') + 1);
}

// The big-endian words of a block's data or of a reply payload.
inline std::vector<int16_t> WireWords(const uint8_t* data, std::size_t bytes) {
    std::vector<int16_t> words;
    for (std::size_t i = 0; i + 1 < bytes; i += 2)
        words.push_back(static_cast<int16_t>(data[i] << 8 | data[i + 1]));
    return words;
}
inline std::vector<int16_t> BlockWords(const std::vector<uint8_t>& block) {
    return WireWords(block.data() + 32, block.size() - 32);
}

// The first `count` words the emulated printer holds for a table parameter ("G_Omega_Y").
inline std::vector<int16_t> PrinterWords(const char* parameter, int count) {
    unsigned char held[64] = {};
    const int length = quillet_table(u"EMU1:", parameter, held, sizeof held);
    EXPECT_GE(length, 2 * count) << parameter;
    auto words = WireWords(held, static_cast<std::size_t>(std::max(0, length)));
    words.resize(static_cast<std::size_t>(count));
    return words;
}

// The busy notice of a test: `act` runs as each exchange is announced (1, 2, ...).
struct ActingNotice : BusyNotice {
    std::function<void(int exchange)> act;
    int count = 0;
    void Indication(const std::string&) override {
        if (act) act(++count);
    }
    void Extinction() override {}
};

class ParamTableTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(StartProgram());
        SetBusyNotice(&notice);
    }
    void TearDown() override {
        SetBusyNotice(nullptr);
        GuiTest::TearDown();
    }

    template <class Window>
    Window* OpenWindow(const char* menuItem) {
        EXPECT_TRUE(MainForm->Item(menuItem)->isEnabled()) << menuItem;
        auto* window = qobject_cast<Window*>(MainForm->OpenChild(menuItem));
        QApplication::processEvents();
        return window;
    }
    QString Path(const QString& name) const { return QDir(WorkDir()).filePath(name); }

    // A toolbar button, by its key.
    static void Click(QWidget* window, const char* key) {
        window->findChild<QToolBar*>("Toolbar1")->findChild<QAction*>(key)->trigger();
    }
    // The user takes the box, types over its text, and (with enter) presses Enter.
    static void Type(QLineEdit* box, const QString& text, bool enter = false) {
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, text);
        if (enter) QTest::keyClick(box, Qt::Key_Return);
    }

    // The answers of the file dialogs that open and save, in turn.
    void OpenFile(QWidget* window, const QString& name) {
        ChooseFile(Path(name));
        Click(window, "mnuFileOpen");
    }
    void SaveFile(QWidget* window, const QString& name) {
        ChooseFile(Path(name));
        Click(window, "mnuFileSave");
    }

    ActingNotice notice;
};

}  // namespace param_table_test
