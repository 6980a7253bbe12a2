#pragma once
// The clean start of every curve editor test, and the user's gestures on an
// editor: the program is started on its emulated printer and the editor is
// opened from the main menu.

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/busy_notice.h"
#include "core/colour_data.h"
#include "editors/curve/curve_editor_variants.h"
#include "editors/curve/curve_table_editor.h"
#include "platform/quillet/quillet_control.h"
#include "platform/trazo/trazo.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"
#include "tests/support/gui_test.h"

inline std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void Spit(const QString& path, const std::string& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

using Words = std::array<int16_t, 1024>;

inline Words TableWords(const CurveTable& t) {
    Words w;
    std::copy(t.Words.begin(), t.Words.end(), w.begin());
    return w;
}

// The complete blocks the emulated printer accepted, in order.
inline std::vector<std::vector<uint8_t>> Blocks() {
    std::vector<std::vector<uint8_t>> blocks;
    for (int i = 0; i < quillet_block_count(); ++i) {
        std::vector<uint8_t> b(static_cast<std::size_t>(quillet_block(i, nullptr, 0)));
        quillet_block(i, b.data(), static_cast<int>(b.size()));
        blocks.push_back(b);
    }
    return blocks;
}

// Sets a fault just before the given exchange, as the notice comes up for it.
struct FaultingNotice : BusyNotice {
    int count = 0;
    int failAt = 0;
    void Indication(const std::string&) override {
        if (++count == failAt) quillet_fail_next(1);
    }
    void Extinction() override {}
};

// The parameter field of a block, without its padding.
inline std::string Parameter(const std::vector<uint8_t>& block) {
    std::string p(block.begin() + 8, block.begin() + 24);
    return p.substr(0, p.find_last_not_of(' ') + 1);
}

class CurveEditorTest : public GuiTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(StartProgram());
    }

    CurveTableEditor& Open(const char* window = nullptr) {
        variant = FindCurveEditorVariant(window ? window : GetParam());
        ed = qobject_cast<CurveTableEditor*>(MainForm->OpenChild(variant->menuItem));
        QCoreApplication::processEvents();
        return *ed;
    }
    CurveTable& Table() { return variant->table(); }
    int16_t Value(int plane, int point) {
        return ModuleDataPro::GetTableValue(Table(), plane, point);
    }
    QString Path(const QString& name) { return QDir(WorkDir()).filePath(name); }
    QString Ext() const { return variant->extension; }
    QString Caption(const QString& tail = {}) const { return variant->caption + tail; }

    // A left press (or double-click) on a cell of the grid, rows numbered as
    // the design numbers them.
    void Press(int row, int col, bool dbl = false) {
        ed->SetTopRow(std::max(1, row - 3));
        const QRect cell = ed->MSFlexGrid1->visualItemRect(ed->MSFlexGrid1->item(row - 1, col));
        if (dbl)
            QTest::mouseDClick(ed->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        else
            QTest::mouseClick(ed->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // Types the text on the grid's current row (its first character opens the
    // in-cell editor) and presses Enter.
    void Type(const QString& text) {
        QTest::keyClick(ed->MSFlexGrid1, text.isEmpty() ? '\b' : text.at(0).toLatin1());
        if (text.size() > 1) QTest::keyClicks(ed->Text1, text.mid(1));
        QTest::keyClick(ed->Text1, Qt::Key_Return);
    }
    // A toolbar button, by its key.
    void Click(const char* key) { ed->Toolbar1->findChild<QAction*>(key)->trigger(); }

    const CurveEditorVariant* variant = nullptr;
    CurveTableEditor* ed = nullptr;
};
