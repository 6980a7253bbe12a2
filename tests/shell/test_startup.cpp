// The start of the program: splash, settings, printer choice, the end of a
// start that fails, and what closing the main window keeps.
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <thread>

#include "core/bulk_transfers.h"
#include "core/colour_data.h"
#include "core/parvel_link.h"
#include "core/printer_discovery.h"
#include "shell/app_globals.h"
#include "shell/frm_main.h"
#include "shell/frm_port_setting.h"
#include "shell/frm_splash.h"
#include "shell/msgbox.h"
#include "shell/program_end.h"
#include "shell/ui_units.h"
#include "tests/platform/quillet/pty_printer.h"
#include "tests/support/gui_test.h"

namespace {

const QString NoPrinter = "A usable printer is not connected or the power is not on.";
const QString NotInstalled = "JM Printer is not installed.";

class StartupTest : public GuiTest {
protected:
    QSettings Store() { return QSettings(SettingsFile(), QSettings::IniFormat); }
    void Store(const QString& key, const QString& value) {
        QSettings store(SettingsFile(), QSettings::IniFormat);
        store.setValue(key, value);
    }
    QString Stored(const QString& key) {
        QSettings store(SettingsFile(), QSettings::IniFormat);
        return store.value(key).toString();
    }
    bool SettingsWritten() { return QFileInfo::exists(SettingsFile()); }

    // The port-setting dialog: checks its list, then picks `index` with OK.
    void PickPrinter(const QStringList& expected, int index) {
        RespondModal([expected, index](QDialog& dialog) {
            auto* form = qobject_cast<frmPortSetting*>(&dialog);
            ASSERT_NE(form, nullptr);
            QStringList listed;
            for (int i = 0; i < form->Combo1->count(); ++i) listed << form->Combo1->itemText(i);
            EXPECT_EQ(listed, expected);
            EXPECT_EQ(form->Combo1->currentIndex(), 0);
            form->Combo1->setCurrentIndex(index);
            QTest::mouseClick(form->Command1, Qt::LeftButton);
        });
    }
};

TEST_F(StartupTest, EmptySettingsOpenTheMainWindowWithTheDefaults) {
    ASSERT_TRUE(StartProgram());
    ASSERT_NE(MainForm, nullptr);
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_EQ(MainForm->windowTitle(), "  RN-Tools");
    EXPECT_EQ(Sleeps(), std::vector<int>{1000});
    EXPECT_EQ(MainForm->pos(), QPoint(TwipsToPx(1000), TwipsToPx(1000)));
    // As wide as the design's default, or as the menu bar where that needs more (see below).
    const int width = std::max(TwipsToPx(6500), MainForm->menuBar()->sizeHint().width());
    EXPECT_EQ(MainForm->size(), QSize(width, TwipsToPx(6500)));
    EXPECT_TRUE(LastImageDir.isEmpty());
    EXPECT_EQ(LastDir, ProgramDir());
    EXPECT_EQ(QDir::currentPath(), ProgramDir());
    EXPECT_EQ(HelpFile, ProgramDir() + "/KT-ToolsHelp_E.CHM");
    EXPECT_EQ(PlaneColor, (std::array<uint32_t, 5>{0xC0C0, 0xFF00FF, 0xFFFF00, 0xC0C0C0, 0xFF}));
    EXPECT_EQ(PlaneSuffix, (std::array<std::string, 5>{"_Y", "_M", "_C", "_OP", ""}));
    EXPECT_EQ(ColorDataSet.ReservedWord, 0);
    EXPECT_GE(PortHandle, 1);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(ModalCount(), 0);  // one printer: no dialog

    MainForm->close();
    for (const char* key : {"MainLeft", "MainTop"}) {
        EXPECT_EQ(Stored(QString("Settings/") + key), "1000") << key;
    }
    EXPECT_EQ(Stored("Settings/MainWidth").toDouble(), PxToTwips(width));
    EXPECT_EQ(Stored("Settings/MainHeight"), "6500");
    EXPECT_EQ(Stored("Path/Path1"), "");
    EXPECT_EQ(Stored("Path/Path2"), ProgramDir());
}

// Whether every top menu stands in the menu bar itself, none folded behind its overflow button.
bool EveryMenuInSight() {
    QMenuBar* bar = MainForm->menuBar();
    auto* overflow = bar->findChild<QToolButton*>("qt_menubar_ext_button");
    bool inSight = overflow == nullptr || !overflow->isVisible();
    for (QAction* menu : bar->actions()) {
        const QRect place = bar->actionGeometry(menu);
        inSight = inSight && !place.isEmpty() && bar->rect().contains(place);
    }
    return inSight;
}

// The first window shows every menu; a placement the user left is kept as it is, even one too
// narrow for them.
TEST_F(StartupTest, TheFirstWindowShowsEveryMenuAndASavedWidthIsKept) {
    ASSERT_TRUE(StartProgram());
    QCoreApplication::processEvents();
    EXPECT_TRUE(EveryMenuInSight());
    EXPECT_GE(MainForm->width(), TwipsToPx(6500));
    MainForm->close();
    delete MainForm;
    MainForm = nullptr;

    Store("Settings/MainWidth", "6500");
    ASSERT_TRUE(StartProgram());
    QCoreApplication::processEvents();
    EXPECT_EQ(MainForm->width(), TwipsToPx(6500));
    MainForm->close();
    EXPECT_EQ(Stored("Settings/MainWidth"), "6500");
}

TEST_F(StartupTest, PlacementAndFoldersRoundTrip) {
    Store("Settings/MainLeft", "1234.5");
    Store("Settings/MainTop", " 300 ");
    Store("Settings/MainWidth", "9000");
    Store("Settings/MainHeight", "7500");
    Store("Path/Path1", "/pictures");
    Store("Path/Path2", "/data, sets");
    ASSERT_TRUE(StartProgram());
    EXPECT_EQ(MainForm->pos(), QPoint(82, 20));
    EXPECT_EQ(MainForm->size(), QSize(600, 500));
    EXPECT_EQ(LastImageDir, "/pictures");
    EXPECT_EQ(LastDir, "/data, sets");

    MainForm->move(100, 20);
    LastDir = "/elsewhere";
    MainForm->close();
    EXPECT_EQ(Stored("Settings/MainLeft"), "1500");  // moved: what the window has now
    EXPECT_EQ(Stored("Settings/MainTop"), "300");    // unchanged: as it was read
    EXPECT_EQ(Stored("Settings/MainWidth"), "9000");
    EXPECT_EQ(Stored("Path/Path2"), "/elsewhere");
    EXPECT_EQ(Stored("Path/Path1"), "/pictures");
}

TEST_F(StartupTest, MinimisedCloseKeepsThePlacementAndWritesTheFolders) {
    Store("Settings/MainLeft", "2000");
    ASSERT_TRUE(StartProgram());
    MainForm->showMinimized();
    ASSERT_TRUE(MainForm->isMinimized());
    LastImageDir = "/images";
    MainForm->close();
    QSettings store(SettingsFile(), QSettings::IniFormat);
    EXPECT_EQ(store.allKeys().size(), 3);
    EXPECT_EQ(Stored("Settings/MainLeft"), "2000");
    EXPECT_EQ(Stored("Path/Path1"), "/images");
    EXPECT_EQ(Stored("Path/Path2"), ProgramDir());
}

TEST_F(StartupTest, StoredPlacementThatIsNoNumberEndsTheStart) {
    for (const char* bad : {"abc", "", "12abc", "1e400"}) {
        SCOPED_TRACE(bad);
        Store("Settings/MainLeft", bad);
        AnswerBox(vbOK);
        EXPECT_FALSE(StartProgram());
        EXPECT_EQ(MainForm, nullptr);
        EXPECT_TRUE(Module1::ProgramEnded());
        ASSERT_FALSE(Boxes().empty());
        EXPECT_EQ(Boxes().back().text, NotInstalled);
        EXPECT_EQ(Boxes().back().buttons, vbOKOnly);
        EXPECT_EQ(Boxes().back().title, "RN-Tools");
        EXPECT_EQ(Stored("Settings/MainLeft"), bad);  // nothing written over it
        Module1::ResetProgramEnd();
    }
}

TEST_F(StartupTest, NoUsablePrinterAsksUntilAnswered) {
    InstallPrinters({{"Offline", "EMU1:", true, true}, {"No bidi", "EMU2:", false, false}});

    AnswerBox(vbRetry);
    AnswerBox(vbRetry);
    AnswerBox(vbIgnore);
    ASSERT_TRUE(StartProgram());
    EXPECT_EQ(BoxTexts(), QStringList({NoPrinter, NoPrinter, NoPrinter}));
    EXPECT_EQ(Boxes().front().buttons, vbAbortRetryIgnore);
    EXPECT_EQ(Boxes().front().title, "RN-Tools");
    EXPECT_EQ(PortHandle, 0);
    EXPECT_TRUE(MainForm->isVisible());
}

TEST_F(StartupTest, RetryFindsAPrinterSwitchedOnMeanwhile) {
    InstallPrinters({{"Emulated Printer", "EMU1:", true, true}});
    AnswerBox(vbRetry, [this] { InstallPrinters({{"Emulated Printer", "EMU1:", false, true}}); });
    ASSERT_TRUE(StartProgram());
    EXPECT_EQ(BoxTexts(), QStringList({NoPrinter}));
    EXPECT_EQ(PrinterCount, 1);
    EXPECT_GE(PortHandle, 1);
}

TEST_F(StartupTest, AbortEndsTheStartWritingNothing) {
    InstallPrinters({});
    AnswerBox(vbAbort);
    EXPECT_FALSE(StartProgram());
    EXPECT_TRUE(Module1::ProgramEnded());
    EXPECT_EQ(MainForm, nullptr);
    EXPECT_EQ(PortHandle, 0);
    EXPECT_FALSE(SettingsWritten());
}

TEST_F(StartupTest, TwoOrMorePrintersAreChosenInTheDialog) {
    InstallPrinters({{"First", "EMU1:"},
                     {"Offline", "EMU2:", true, true},
                     {"Second", "EMU3:"},
                     {"No bidi", "EMU4:", false, false},
                     {"Third", "EMU5:"}});
    PickPrinter({"First", "Second", "Third"}, 1);
    ASSERT_TRUE(StartProgram());
    EXPECT_EQ(ModalCount(), 1);
    EXPECT_EQ(SelectedPrinter, 1);
    EXPECT_GE(PortHandle, 1);
}

TEST_F(StartupTest, ClosingTheDialogAtStartUsesTheFirstPrinter) {
    InstallPrinters({{"First", "EMU1:"}, {"Second", "EMU2:"}});
    RespondModal([](QDialog& dialog) {
        auto& form = static_cast<frmPortSetting&>(dialog);
        form.Combo1->setCurrentIndex(1);
        form.close();
    });
    ASSERT_TRUE(StartProgram());
    EXPECT_EQ(SelectedPrinter, 0);
    EXPECT_GE(PortHandle, 1);
}

TEST_F(StartupTest, TwelveUsablePrintersEndTheStart) {
    std::vector<Printer> printers;
    for (int i = 1; i <= 12; ++i)
        printers.push_back({QString("P%1").arg(i), QString("EMU%1:").arg(i)});
    InstallPrinters(printers);
    AnswerBox(vbOK);
    EXPECT_FALSE(StartProgram());
    EXPECT_EQ(BoxTexts(), QStringList({NotInstalled}));
    EXPECT_FALSE(SettingsWritten());
}

// A port name of up to 255 characters is registered at start-up; a device on
// such a path is talked to. A longer name ends the start with "Error!", as a
// refused registration always did there.
TEST_F(StartupTest, PortNamesUpTo255CharactersAreRegistered) {
    pty_test::PtyPrinter printer;
    const QString link =
        QString::fromStdString(pty_test::ByIdLink(WorkDir().toStdString(), printer));
    const QString longest = "/dev/" + QString(250, 'x');
    struct Case {
        QString port;
        bool starts;
    };
    for (const Case& c : {Case{link, true}, Case{longest, true}, Case{longest + "y", false}}) {
        SCOPED_TRACE(c.port.size());
        InstallPrinters({{"Photo Printer", c.port}});
        if (!c.starts) AnswerBox(vbOK);
        EXPECT_EQ(StartProgram(), c.starts);
        EXPECT_EQ(Module1::ProgramEnded(), !c.starts);
        if (!c.starts) {
            EXPECT_EQ(BoxTexts(), QStringList{"Error!"});
            EXPECT_EQ(Boxes().back().title, "RN-Tools");
            EXPECT_FALSE(SettingsWritten());
            continue;
        }
        EXPECT_TRUE(Boxes().empty());
        EXPECT_GE(PortHandle, 1);
        if (c.port == link) {
            std::thread line([&] { printer.Answer(32, "00000004V1.0", 12); });
            EXPECT_EQ(Module2::ReadVersion(), "V1.0");
            line.join();
        }
        MainForm->close();
        delete MainForm;
        QFile::remove(SettingsFile());
    }
}

TEST_F(StartupTest, SplashAndAboutShowTitleAndVersion) {
    frmSplash splash;
    EXPECT_EQ(splash.lblProductName->text(), "RN-Tools");
    EXPECT_EQ(splash.lblVersion->text(), "Version 1.0.0");
    EXPECT_EQ(splash.size(), QSize(TwipsToPx(5310), TwipsToPx(2205)));

    ASSERT_TRUE(StartProgram());
    RespondModal([](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLabel*>("lblTitle")->text(), "RN-Tools");
        EXPECT_EQ(dialog.findChild<QLabel*>("lblVersion")->text(), "Version 1.0.0");
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(dialog.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    });
    MainForm->mnuHelpAbout->trigger();
    EXPECT_EQ(ModalCount(), 1);
}

// The program's start in a process of its own, with one of the libraries it
// loads taken away.
TEST_F(StartupTest, MissingStatusLibraryOrMonitorEndsTheStart) {
    const QString bin = QCoreApplication::applicationDirPath();
    struct Case {
        const char* present;  // the one library left beside the program
    };
    for (const Case& c : {Case{"libquillet.so"}, Case{"libparvel.so"}, Case{nullptr}}) {
        SCOPED_TRACE(c.present ? c.present : "none");
        QTemporaryDir dir;
        ASSERT_TRUE(QFile::copy(bin + "/startup_probe", dir.filePath("startup_probe")));
        if (c.present) {
            ASSERT_TRUE(QFile::copy(bin + "/" + c.present, dir.filePath(c.present)));
        }
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("LD_LIBRARY_PATH");
        env.insert("RNTOOLS_PRINTERS", dir.filePath("none.ini"));
        probe.setProcessEnvironment(env);
        probe.start(dir.filePath("startup_probe"), {dir.filePath("settings")});
        ASSERT_TRUE(probe.waitForFinished(60000));
        const QString out = QString::fromLocal8Bit(probe.readAllStandardOutput());
        EXPECT_EQ(out, "box [RN-Tools] JM Printer is not installed.\nprogram ended\n")
            << probe.readAllStandardError().toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("settings/RN-Tools.ini")));
    }
}

}  // namespace
