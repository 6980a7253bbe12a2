#pragma once
// The clean start of a maintenance dialog test: the program runs on its
// emulated printer, the dialog is opened from the main menu, and the test
// sets what the printer holds or answers and reads back what it was sent.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <ostream>
#include <string>

#include "platform/quillet/quillet_control.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"
#include "tests/status/block_text.h"
#include "tests/support/gui_test.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class MaintenanceTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(StartProgram());
    }

    // Opens the dialog of a menu item as the user does; the main window is
    // the active window, so that focus moves as it does for the user.
    template <typename Window>
    Window* Open(const char* menuItem) {
        MainForm->show();
        QApplication::setActiveWindow(MainForm);
        EXPECT_TRUE(QTest::qWaitForWindowActive(MainForm));
        auto* window = qobject_cast<Window*>(MainForm->OpenChild(menuItem));
        EXPECT_NE(window, nullptr) << menuItem;
        QCoreApplication::processEvents();
        return window;
    }

    // What the printer holds, by the emulator's setting key.
    static void Set(const char* key, const char* value) {
        ASSERT_EQ(quillet_set_setting(nullptr, key, value), 1) << key << "=" << value;
    }
    static std::string Setting(const char* key) {
        char text[256] = {};
        quillet_get_setting(PortName(), key, text, sizeof text);
        return text;
    }
    // From now on the printer answers the request with exactly these bytes.
    static void Reply(const char* command, const char* parameter, const std::string& payload) {
        quillet_set_reply(nullptr, command, parameter,
                          reinterpret_cast<const unsigned char*>(payload.data()),
                          static_cast<int>(payload.size()));
    }

    // The blocks the printer took (writes and requests alike).
    static int BlockCount() { return quillet_block_count(); }
    static std::string BlockAt(int index) {
        std::string bytes(static_cast<std::size_t>(quillet_block(index, nullptr, 0)), '\0');
        quillet_block(index, reinterpret_cast<unsigned char*>(bytes.data()),
                      static_cast<int>(bytes.size()));
        return bytes;
    }
    static std::string LastBlock() { return BlockAt(BlockCount() - 1); }

    // A maintenance write as the printer must receive it.
    static std::string Write(const std::string& parameter, const std::string& data) {
        char length[9];
        std::snprintf(length, sizeof length, "%08zu", data.size());
        return Block("MNT_WT", parameter, length) + data;
    }

    static const char16_t* PortName() { return u"EMU1:"; }
};
