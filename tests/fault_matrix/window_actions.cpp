#include "tests/fault_matrix/window_actions.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <string>
#include <tuple>

#include "core/colour_data_file.h"
#include "editors/curve/curve_editor_variants.h"
#include "editors/special/sigma_variants.h"
#include "maintenance/frm_sensor_monitor.h"
#include "platform/quillet/quillet_control.h"
#include "shell/frm_main.h"

namespace {

using Act = std::function<void(MatrixTest&, QWidget*)>;

// A toolbar button of a table editor, by its key, pressed with the mouse.
Act Toolbar(const char* key) {
    return [key](MatrixTest&, QWidget* window) {
        auto* toolbar = window->findChild<QToolBar*>("Toolbar1");
        ASSERT_NE(toolbar, nullptr);
        QAction* action = toolbar->findChild<QAction*>(key);
        ASSERT_NE(action, nullptr) << key;
        QTest::mouseClick(toolbar->widgetForAction(action), Qt::LeftButton);
    };
}

Act Button(const char* name) {
    return [name](MatrixTest&, QWidget* window) {
        auto* button = window->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    };
}

// A main-menu item; the file dialog it opens, if any, chooses the file of that name.
Act Menu(const char* item, const char* file = nullptr) {
    return [item, file](MatrixTest& test, QWidget*) {
        if (file) test.ChooseFile(file);
        MainForm->Item(item)->trigger();
    };
}

void SetPrinter(const char* key, const std::string& value) {
    ASSERT_EQ(quillet_set_setting(nullptr, key, value.c_str()), 1) << key;
}

// The table editors: the planes in turn, or one block for the tables without planes. A reply
// without a terminator is whole (a table has none), so the read goes through.
void AddTableEditor(std::vector<WindowAction>& rows, const std::string& window,
                    const char* menuItem, const QString& readCaption, int later) {
    rows.push_back({.name = window + "_Get",
                    .menuItem = menuItem,
                    .act = Toolbar("mnuGetPrinter"),
                    .reads = true,
                    .later = later,
                    .failed = NotResponding(),
                    .failedLater = NotResponding(),
                    .shortReply = NotResponding(),
                    .unterminated = Showing({Titled(readCaption)})});
    rows.push_back({.name = window + "_Setup",
                    .menuItem = menuItem,
                    .act = Toolbar("mnuSetPrinter"),
                    .later = later,
                    .failed = NotResponding(),
                    .failedLater = NotResponding()});
}

// The sensor readings the emulated printer gives while a sensor-monitor test runs, by slot, and
// what the monitor shows of them.
constexpr int kSensors[13] = {200, 100, 255, 0, 255, 51, 102, 0, 0, 255, 0, 255, 92};

std::vector<Change> SensorFields(const char* head, const char* media, const char* voltage,
                                 const char* end, const char* size, const char* out,
                                 const char* mark, const char* ribbonC, const char* ribbonR,
                                 const char* humidity) {
    return {Shows("labHeadTmperature", head),    Shows("labMediaTmperature", media),
            Shows("labHeadVoltage", voltage),    Shows("labPaperEnd", end),
            Shows("labPaperSize", size),         Shows("labPaperJam", out),
            Shows("labPaperMark", mark),         Shows("labRibbonC", ribbonC),
            Shows("labRibbonR", ribbonR),        Shows("labHumid", humidity),
            Pictured("imgLED_COM", "imgLED_GRN")};
}

// The counters as the emulated printer holds them: life, A, B.
std::vector<Change> Counters(const char* life, const char* a, const char* b) {
    return {Shows("labCounterL", life), Shows("labCounterA", a), Shows("labCounterB", b)};
}

std::vector<Change> Ribbon(const char* counter, std::vector<const char*> offsets) {
    return {Shows("txtRibbonCounter", counter),   Shows("txtRibbonLotNo", "RB2611A0417K0093"),
            Shows("txtOffsetYellow", offsets[0]), Shows("txtOffsetMagenta", offsets[1]),
            Shows("txtOffsetCyan", offsets[2]),   Shows("txtOffsetOP", offsets[3])};
}

const QString kVersion = QString("RN-EMU FACTORY").leftJustified(32, ' ');

std::vector<WindowAction> MakeRows() {
    std::vector<WindowAction> rows;

    // The curve editors and E Gamma: one class, a row each; the later failure is that of plane 2.
    // E gamma takes two blocks a plane: its later failure is that of plane 1's levels, after its
    // curve went through.
    for (const CurveEditorVariant& v : CurveEditorVariants())
        AddTableEditor(rows, v.window, v.menuItem, QString(v.caption) + " [Printer]", 2);
    const CurveEditorVariant& eGamma = EGammaEditorVariant();
    AddTableEditor(rows, eGamma.window, eGamma.menuItem, "E Gamma [Printer]", 3);
    for (const SigmaEditorVariant& v : SigmaEditorVariants())
        AddTableEditor(rows, v.window, v.menuItem, QString(v.caption) + " [Printer]", 2);
    AddTableEditor(rows, "frmGOmega", "mnuCtlG_Omega", "G Omega [Printer]", 2);
    AddTableEditor(rows, "frmGDelta", "mnuCtlG_Delta", "G Delta [Printer]", 2);
    AddTableEditor(rows, "frmPrintMode", "mnuCtlPrintMode", "PrintMode [Printer]", 0);
    AddTableEditor(rows, "frmStartCmpData", "mnuStartCmp", "Start Comp [Printer]", 0);

    // The status word: a failed read is "ERROR!" in the colour the text had; the status code the
    // printer holds ("0") is complete in its first byte.
    const Seen idle = Showing(
        {Shows("txtPrinterStatus", "Idle"), Inked("txtPrinterStatus", QPalette::ButtonText)});
    rows.push_back({.name = "frmPrinterStatus_Get",
                    .menuItem = "mnuPrinterStatus",
                    .act = Button("cmdGet"),
                    .reads = true,
                    .failed = Showing({Shows("txtPrinterStatus", "ERROR!")}),
                    .shortReply = idle,
                    .unterminated = idle});

    // The counters show every read as it comes, -1 for a failed one, 0 for a reply without its
    // number; they never show a message.
    rows.push_back({.name = "frmPrintSheetsCounter_Get",
                    .menuItem = "mnuOptionPrintSheetsCounter",
                    .act = Button("cmdGet"),
                    .reads = true,
                    .later = 1,
                    .failed = Showing(Counters("-1", "1523", "87")),
                    .failedLater = Showing(Counters("12846", "-1", "87")),
                    .shortReply = Showing(Counters("0", "1523", "87")),
                    .unterminated = Showing(Counters("12846", "1523", "87"))});
    // A clear the printer refuses changes nothing; the fresh read after it shows as a read does.
    // The counter is 0 already, so that a clear the printer takes changes nothing there either.
    for (const bool a : {true, false}) {
        const char* key = a ? "counter_a" : "counter_b";
        const char* label = a ? "labCounterA" : "labCounterB";
        rows.push_back({.name = std::string("frmPrintSheetsCounter_Clear") + (a ? "A" : "B"),
                        .menuItem = "mnuOptionPrintSheetsCounter",
                        .prime = [key](MatrixTest&, QWidget*) { SetPrinter(key, "0"); },
                        .act = Button(a ? "cmdClearA" : "cmdClearB"),
                        .reads = true,
                        .later = 1,
                        .failed = Showing({}),
                        .failedLater = Showing({Shows(label, "-1")}),
                        .shortReply = Showing({Shows(label, "0")}),
                        .unterminated = Showing({Shows(label, "0")}),
                        .replyIsLater = true});
    }

    // The ribbon: counter (50 below the printer's count), lot, offsets; no message either.
    rows.push_back({.name = "frmRibbonStatus_Get",
                    .menuItem = "mnuRibbonStatus",
                    .act = Button("cmdGet"),
                    .reads = true,
                    .later = 2,
                    .failed = Showing(Ribbon("-51", {"0", "2", "-2", "0"})),
                    .failedLater = Showing(Ribbon("200", {"-10", "-10", "-10", "245"})),
                    .shortReply = Showing(Ribbon("-50", {"0", "2", "-2", "0"})),
                    .unterminated = Showing(Ribbon("200", {"0", "2", "-2", "0"}))});

    // The firmware version is the reply less its last two characters (its CR LF): one byte is
    // an empty version, and a reply without its CR LF loses two characters of the version.
    rows.push_back({.name = "frmROMVersion_Get",
                    .menuItem = "mnuROMVersion",
                    .act = Button("cmdGet"),
                    .reads = true,
                    .failed = NotResponding(),
                    .shortReply = Showing({}),
                    .unterminated = Showing({Shows("txtROMVersion", "EMU V1.20.")})});
    // The colour data's version and checksum: the version reply ends with a NUL, which stays.
    rows.push_back(
        {.name = "frmChecksum_Get",
         .menuItem = "mnuVersionChk",
         .act = Button("Command1"),
         .reads = true,
         .later = 1,
         .failed = NotResponding(),
         .failedLater = NotResponding({Shows("Text1", kVersion)}),
         .shortReply = Showing({Shows("Text1", "R"), ShowsSetting("Text2", "checksum")}),
         .unterminated = Showing({Shows("Text1", kVersion), ShowsSetting("Text2", "checksum")})});
    // The serial number, read by the read dialog and by the setting dialog alike.
    for (const auto& [window, menuItem, get] :
         {std::tuple{"frmPrinterSerial", "mnuPrinterSerial", "Command1"},
          std::tuple{"frmSetupSerialNo", "mnuOptionSetupPSerial", "Command2"}})
        rows.push_back({.name = std::string(window) + "_Get",
                        .menuItem = menuItem,
                        .act = Button(get),
                        .reads = true,
                        .failed = NotResponding(),
                        .shortReply = Showing({Shows("Text1", "R")}),
                        .unterminated = Showing({Shows("Text1", "RN12-0004711")})});

    // The setting dialogs: a read without the expected prefix is a failure.
    rows.push_back({.name = "frmSetupMedium_Get",
                    .menuItem = "mnuOptionSetupMedium",
                    .act = Button("cmdGet"),
                    .reads = true,
                    .failed = NotResponding(),
                    .shortReply = Showing(Chooses("Combo1", "Nothing", 7)),
                    .unterminated = Showing(Chooses("Combo1", "6x4", 1))});
    rows.push_back({.name = "frmSetupHeadRank_Get",
                    .menuItem = "mnuOptionSetupHeadRank",
                    .act = Button("cmdGet"),
                    .reads = true,
                    .failed = NotResponding(),
                    .shortReply = NotResponding(),
                    .unterminated = Showing({Shows("Text1", "4120")})});
    rows.push_back({.name = "frmSetupHeatRank_Get",
                    .menuItem = "mnuOptionSetupHeatRank",
                    .act = Button("cmdGet"),
                    .reads = true,
                    .failed = NotResponding(),
                    .shortReply = NotResponding(),
                    .unterminated = Showing(Chooses("Combo1", "2", 8))});
    // Each Setup sends what a Get before it showed, which is what the printer holds.
    const struct {
        const char* window;
        const char* menuItem;
        const char* get;
        const char* setup;
    } setups[] = {{"frmSetupHeadRank", "mnuOptionSetupHeadRank", "cmdGet", "cmdSetup"},
                  {"frmSetupHeatRank", "mnuOptionSetupHeatRank", "cmdGet", "cmdSetup"},
                  {"frmSetupSerialNo", "mnuOptionSetupPSerial", "Command2", "Command1"},
                  {"frmSetupResolution", "mnuOptionSetupResolution", nullptr, "cmdSetup"}};
    for (const auto& s : setups) {
        rows.push_back({.name = std::string(s.window) + "_Setup",
                        .menuItem = s.menuItem,
                        .prime = s.get ? Button(s.get) : Act{},
                        .act = Button(s.setup),
                        .failed = NotResponding()});
    }

    // One poll of the sensor monitor: a failed one turns the indicator red and keeps the values.
    // The library counts a record one short, so a record of one byte is no record either.
    const Seen noRecord = Showing({Pictured("imgLED_COM", "imgLED_RED")});
    rows.push_back(
        {.name = "frmSensorMonitor_Tick",
         .menuItem = "mnuOptionSensorMonitor",
         .prime =
             [](MatrixTest&, QWidget*) {
                 for (int slot = 1; slot <= 13; ++slot)
                     ASSERT_EQ(quillet_set_sensor(nullptr, slot, kSensors[slot - 1]), 1);
             },
         .act = [](MatrixTest&,
                   QWidget* window) { qobject_cast<frmSensorMonitor*>(window)->Timer1_Timer(); },
         .reads = true,
         .failed = noRecord,
         .shortReply = noRecord,
         .unterminated = Showing(SensorFields("74.80", "23.00", "40.56", "5.50", "2.20", "0.00",
                                              "3.30", "5.50", "1.10", "47.0"))});

    // The mechanism adjustment: the resolution, then the print and the cutting position.
    rows.push_back(
        {.name = "frmMechanismAdjustment_Get",
         .menuItem = "mnuOptionMechanismAdjustment",
         .act = Button("cmdGet"),
         .reads = true,
         .later = 2,
         .failed = NotResponding(),
         .failedLater = NotResponding(),
         .shortReply = NotResponding(),
         .unterminated = Showing({Shows("txtPrintPos", "1.0"), Shows("txtCuttingPos", "-0.5")})});
    rows.push_back({.name = "frmMechanismAdjustment_Setup",
                    .menuItem = "mnuOptionMechanismAdjustment",
                    .prime = Button("cmdGet"),
                    .act = Button("cmdSetup"),
                    .reads = true,
                    .later = 2,
                    .failed = NotResponding(),
                    .failedLater = NotResponding(),
                    .shortReply = NotResponding(),
                    .unterminated = Showing({})});

    // The main window's transfers. The colour-data file sent is the set itself, under a name
    // whose version text the printer holds already.
    rows.push_back(
        {.name = "frmMain_WriteData",
         .menuItem = "",
         .prime =
             [](MatrixTest& test, QWidget*) {
                 ASSERT_TRUE(ColorDataFile::Write((test.WorkDir() + "/set.ktd").toStdString()));
                 SetPrinter("version", QString("SET.KTD").leftJustified(32, ' ').toStdString());
             },
         .act = Menu("mnuCtlWriteData", "set.ktd"),
         .later = 2,
         .failed = NotResponding(),
         .failedLater = NotResponding()});
    rows.push_back({.name = "frmMain_WriteAll",
                    .menuItem = "",
                    .act = Menu("mnuCtlWriteAll"),
                    .failed = NotResponding()});
    rows.push_back({.name = "frmMain_FlashRom",
                    .menuItem = "",
                    .prime =
                        [](MatrixTest& test, QWidget*) {
                            QFile rom(test.WorkDir() + "/rom.s");
                            ASSERT_TRUE(rom.open(QIODevice::WriteOnly));
                            rom.write(QByteArray(96, 'S'));
                        },
                    .act = Menu("mnuOptionFlashProgram", "rom.s"),
                    .later = 2,
                    .failed = NotResponding(),
                    .failedLater = NotResponding(),
                    // The first header puts the printer into its update mode, whatever follows.
                    .mayChange = {"status", "update_mode"}});
    return rows;
}

}  // namespace

const std::vector<WindowAction>& WindowActions() {
    static const std::vector<WindowAction> rows = MakeRows();
    return rows;
}

const WindowAction& ActionOf(const std::string& name) {
    for (const WindowAction& action : WindowActions())
        if (action.name == name) return action;
    ADD_FAILURE() << "no window action " << name;
    return WindowActions().front();
}
