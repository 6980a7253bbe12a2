// "Port setting(&R)..." of the File menu: a fresh scan, always the dialog,
// and the port in use kept whenever no new one can be registered.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <thread>

#include "core/bulk_transfers.h"
#include "core/parvel_link.h"
#include "core/printer_discovery.h"
#include "shell/frm_main.h"
#include "shell/frm_port_setting.h"
#include "shell/msgbox.h"
#include "shell/program_end.h"
#include "tests/platform/quillet/pty_printer.h"
#include "tests/support/gui_test.h"

namespace {

using pty_test::PtyPrinter;

const QString NoPrinter = "A usable printer is not connected or the power is not on.";
const QString Kept = "\nThe printer port in use is kept.";

class PortSettingTest : public GuiTest {
protected:
    // Starts on `printers` with the printer `pick` (a dialog for two or more).
    void Start(const std::vector<Printer>& printers, int pick) {
        InstallPrinters(printers);
        if (printers.size() > 1) Respond(pick, true);
        ASSERT_TRUE(StartProgram());
        startHandle = PortHandle;
        ASSERT_GE(startHandle, 1);
    }
    // The next dialog records its list, selects `index` and closes with OK
    // or with its close box.
    void Respond(int index, bool ok) {
        RespondModal([this, index, ok](QDialog& dialog) {
            auto& form = static_cast<frmPortSetting&>(dialog);
            listed.clear();
            for (int i = 0; i < form.Combo1->count(); ++i) listed << form.Combo1->itemText(i);
            firstSelected = form.Combo1->currentIndex() == 0;
            form.Combo1->setCurrentIndex(index);
            if (ok) {
                QTest::mouseClick(form.Command1, Qt::LeftButton);
            } else {
                form.close();
            }
        });
    }
    void ChoosePortSetting() { MainForm->mnuPortSetting->trigger(); }

    int32_t startHandle = 0;
    QStringList listed;
    bool firstSelected = false;
};

TEST_F(PortSettingTest, TheDialogComesEvenForOnePrinter) {
    Start({{"Only", "EMU1:"}}, 0);
    EXPECT_EQ(ModalCount(), 0);
    Respond(0, true);
    ChoosePortSetting();
    EXPECT_EQ(ModalCount(), 1);
    EXPECT_EQ(listed, QStringList{"Only"});
    EXPECT_TRUE(firstSelected);
    EXPECT_EQ(PortHandle, startHandle);  // the same port keeps its handle
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(PortSettingTest, ARescanShowsOnlyTheNamesFoundNow) {
    Start({{"A", "EMU1:"}, {"B", "EMU2:"}, {"C", "EMU3:"}}, 0);
    InstallPrinters({{"C", "EMU3:"}, {"A", "EMU1:", true, true}});
    Respond(0, true);
    ChoosePortSetting();
    EXPECT_EQ(listed, QStringList{"C"});
    EXPECT_EQ(SelectedPrinter, 0);
    EXPECT_NE(PortHandle, startHandle);
}

TEST_F(PortSettingTest, NoUsablePrinterKeepsEverything) {
    Start({{"A", "EMU1:"}, {"B", "EMU2:"}}, 1);
    InstallPrinters({{"A", "EMU1:", false, false}});
    AnswerBox(vbOK);
    ChoosePortSetting();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, NoPrinter);
    EXPECT_EQ(Boxes()[0].buttons, vbOKOnly);
    EXPECT_EQ(Boxes()[0].title, "RN-Tools");
    EXPECT_EQ(ModalCount(), 1);  // only the one at start
    EXPECT_EQ(SelectedPrinter, 1);
    EXPECT_EQ(PortHandle, startHandle);
}

// Closed with its close box, the dialog leaves the index chosen before, which
// then picks from the new list; where the new list is too short for it, the
// port in use stays.
TEST_F(PortSettingTest, ClosingTheDialogKeepsTheIndexChosenBefore) {
    struct Case {
        std::vector<Printer> now;
        bool newPort;
    };
    const Case cases[] = {
        {{{"X", "EMU7:"}, {"Y", "EMU8:"}}, true},  // index 1 is "Y" now
        {{{"X", "EMU7:"}}, false},                 // index 1 lies beyond the list
    };
    Start({{"A", "EMU1:"}, {"B", "EMU2:"}}, 1);
    for (const Case& c : cases) {
        const int32_t before = PortHandle;
        InstallPrinters(c.now);
        Respond(0, false);
        if (!c.newPort) AnswerBox(vbOK);
        ChoosePortSetting();
        EXPECT_EQ(SelectedPrinter, 1);
        if (c.newPort) {
            EXPECT_NE(PortHandle, before);
        } else {
            EXPECT_EQ(PortHandle, before);
            EXPECT_EQ(Boxes().back().text, "No printer of the list is selected." + Kept);
        }
    }
}

TEST_F(PortSettingTest, TooManyPrintersKeepThePortAndTheList) {
    Start({{"A", "EMU1:"}}, 0);
    std::vector<Printer> many;
    for (int i = 1; i <= 12; ++i) many.push_back({QString("P%1").arg(i), "EMU1:"});
    InstallPrinters(many);
    AnswerBox(vbOK);
    ChoosePortSetting();
    EXPECT_EQ(BoxTexts(), QStringList{"More than 11 usable printers are installed." + Kept});
    EXPECT_EQ(ModalCount(), 0);
    EXPECT_EQ(PrinterCount, 1);
    EXPECT_EQ(PrinterNames[0], "A");
    EXPECT_EQ(PortHandle, startHandle);
}

// A printer on the kind of device path Linux keeps across replugging, far
// longer than the 19 characters the port table once held, becomes the port in
// use: the next exchange reaches it.
TEST_F(PortSettingTest, ALongDevicePathBecomesThePortInUse) {
    Start({{"A", "EMU1:"}}, 0);
    PtyPrinter printer;
    const QString link =
        QString::fromStdString(pty_test::ByIdLink(WorkDir().toStdString(), printer));
    ASSERT_GT(link.size(), 60);
    InstallPrinters({{"Photo Printer", link}});
    Respond(0, true);
    ChoosePortSetting();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(Module1::ProgramEnded());
    EXPECT_GT(PortHandle, startHandle);

    std::thread line([&] { printer.Answer(32, "00000004V1.0", 12); });
    EXPECT_EQ(Module2::ReadVersion(), "V1.0");
    line.join();
}

// A port the status library refuses never ends the program from the menu: the
// user is told why and the port in use stays, with its printer.
TEST_F(PortSettingTest, ARefusedPortSaysWhyAndKeepsThePortInUse) {
    Start({{"A", "EMU1:"}, {"B", "EMU2:"}}, 1);
    const auto refused = [this](const QString& printer, const QString& port, const QString& why) {
        SCOPED_TRACE(printer.toStdString());
        const int32_t before = PortHandle;
        const int16_t selected = SelectedPrinter;
        InstallPrinters({{printer, port}});
        Respond(0, true);
        AnswerBox(vbOK);
        ChoosePortSetting();
        EXPECT_FALSE(Module1::ProgramEnded());
        EXPECT_EQ(Boxes().back().text, why + Kept);
        EXPECT_EQ(Boxes().back().title, "RN-Tools");
        EXPECT_EQ(PortHandle, before);
        EXPECT_EQ(SelectedPrinter, selected);
    };
    const QString longest = "/dev/" + QString(250, 'x');
    refused("Long", longest + "y",
            "The port name of \"Long\" has 256 characters; the status library takes port "
            "names of at most 255.");

    // Every new port takes the next slot; with the last slot taken, one more is refused.
    InstallPrinters({{"Longest", longest}});
    Respond(0, true);
    ChoosePortSetting();
    ASSERT_EQ(Boxes().size(), 1u);
    for (int32_t slot = PortHandle + 1; slot <= 10; ++slot) {
        InstallPrinters({{"Next", QString("EMU%1:").arg(100 + slot)}});
        Respond(0, true);
        ChoosePortSetting();
        ASSERT_EQ(PortHandle, slot);
    }
    refused("Eleventh", "EMU99:",
            "The status library holds no more than 10 printer ports; the port of "
            "\"Eleventh\" would be one more.");
    EXPECT_EQ(Boxes().size(), 2u);
}

}  // namespace
