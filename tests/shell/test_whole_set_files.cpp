// The commands on the whole colour-data set, chosen from the menu: their
// dialogs and LastDir, the question before an open, the files they write and
// read, what the emulated printer receives and what the user is told.
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <string>
#include <vector>

#include "core/bulk_transfers.h"
#include "core/colour_data.h"
#include "core/table_transfers.h"
#include "platform/quillet/quillet_control.h"
#include "shell/app_globals.h"
#include "shell/child_windows.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"
#include "tests/support/gui_test.h"
#include "tests/support/pipe_watchdog.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Kind = CommonDialog::Kind;

const QString FileOpenError = "FileOpen Error";
const QString FileSaveError = "FileSave Error";
const QString NotResponding = "Printer not responding";

// An editor that stores what it shows as it closes.
int stores = 0;
class StoringWindow : public QLabel {
public:
    StoringWindow() { setWindowTitle("Storing"); }

protected:
    void closeEvent(QCloseEvent* event) override {
        ColorDataSet.GDeltaParams(0, PlaneYellow) = 77;
        ++stores;
        event->accept();
    }
};
ChildWindowRegistration storing("testStoringWindow", [] { return new StoringWindow; });

Bytes ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

void WriteBytes(const QString& path, const Bytes& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

std::string Text(const Bytes& bytes, std::size_t from, std::size_t n) {
    return std::string(bytes.begin() + from, bytes.begin() + from + n);
}

// Several tables of different kinds away from their defaults.
void ChangeTables() {
    ModuleDataPro::SetTableValue(ColorDataSet.HeadTemp, PlaneMagenta, 10, 321);
    ModuleDataPro::SetControlPoint(ColorDataSet.HeadTemp, PlaneMagenta, 10, true);
    ModuleDataPro::SetTableValue(ColorDataSet.HumidityCoef, PlaneOp, 255, -5);
    ModuleDataPro::SetEGammaEnd(PlaneCyan, 7000);
    ColorDataSet.CSigmaParams(2, PlaneYellow) = 123;
    ColorDataSet.GDeltaParams(3, PlaneOp) = -12;
    ColorDataSet.StartCmpData(2, 3, 4, 1) = 9;
}

class WholeSetTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        stores = 0;
        ASSERT_TRUE(StartProgram());
        quillet_reset();  // what the start-up exchanged is not part of any case
        LastDir = Dir("start");
    }
    QString Dir(const QString& name) {
        QDir(WorkDir()).mkpath(name);
        return WorkDir() + "/" + name + "/";
    }
    QString Path(const QString& name) { return WorkDir() + "/" + name; }
    void Choose(const char* item) { MainForm->Item(item)->trigger(); }
    static std::vector<Bytes> Calls() {
        std::vector<Bytes> calls;
        for (int i = 0; i < quillet_received_count(); ++i) {
            uint32_t code = 0;
            char16_t port[16];
            Bytes bytes(static_cast<std::size_t>(quillet_received(i, &code, nullptr, 0, port, 16)));
            quillet_received(i, &code, bytes.data(), static_cast<int>(bytes.size()), port, 16);
            calls.push_back(bytes);
        }
        return calls;
    }
};

TEST_F(WholeSetTest, EachDialogOpensInLastDirAndCancelDoesNothing) {
    const struct {
        const char* item;
        Kind kind;
        const char* title;
        const char* filter;
    } rows[] = {{"mnuCtlOpenData", Kind::Open, "Open data", "*.ktd|*.ktd|"},
                {"mnuCtlSaveData", Kind::Save, "Save data", "*.ktd|*.ktd|"},
                {"mnuCtlWriteData", Kind::Open, "Write data", "*.ktd|*.ktd|"},
                {"mnuCtlSaveData2", Kind::Save, "Save data", "*.ktt|*.ktt|"},
                {"mnuOptionFlashProgram", Kind::Open, "ROM Data", "*.s|*.s|"}};
    // Flags are left as an earlier use (the image Print) set them.
    MainForm->CommonDialog1.Flags = cdlPDNoSelection;
    MainForm->CommonDialog1.CancelError = true;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].item);
        EXPECT_TRUE(MainForm->Item(rows[i].item)->isEnabled());
        CancelDialog();
        Choose(rows[i].item);
        ASSERT_EQ(FileDialogs().size(), i + 1);
        const ShownFileDialog& shown = FileDialogs().back();
        EXPECT_EQ(shown.kind, rows[i].kind);
        EXPECT_EQ(shown.title, rows[i].title);
        EXPECT_EQ(shown.filter, rows[i].filter);
        EXPECT_EQ(shown.initDir, Dir("start"));
        EXPECT_EQ(shown.flags, cdlPDNoSelection);
        EXPECT_EQ(LastDir, Dir("start"));
    }
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(quillet_received_count(), 0);
    EXPECT_TRUE(QDir(WorkDir()).entryList(QDir::Files).isEmpty());
}

TEST_F(WholeSetTest, ANameWithoutItsExtensionTouchesNothingButMovesLastDir) {
    ChangeTables();
    const Bytes changed = FileImage(ColorDataSet);
    ModuleDataPro::InitColorData();
    WriteBytes(Dir("other") + "set.txt", changed);
    const struct {
        const char* item;
        const char* name;
    } rows[] = {{"mnuCtlOpenData", "other/set.txt"},
                {"mnuCtlSaveData", "other/saved.kt"},
                {"mnuCtlSaveData2", "other/tables.ktd"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.item);
        LastDir = Dir("start");
        ChooseFile(row.name);
        Choose(row.item);
        EXPECT_EQ(LastDir, Dir("other"));
    }
    EXPECT_NE(FileImage(ColorDataSet), changed);
    EXPECT_EQ(QDir(Dir("other")).entryList(QDir::Files), QStringList{"set.txt"});
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(WholeSetTest, OpenAsksOnlyWhenOtherWindowsAreOpenAndClosesThemFirst) {
    WriteBytes(Path("set.ktd"), FileImage(ColorDataSet));
    const auto children = [] { return MainForm->mdiArea->subWindowList().size(); };

    CancelDialog();  // only the main window: straight to the dialog
    Choose("mnuCtlOpenData");
    EXPECT_TRUE(Boxes().empty());

    MainForm->OpenChild("testStoringWindow");
    AnswerBox(vbCancel);  // nothing closed, no dialog
    Choose("mnuCtlOpenData");
    EXPECT_EQ(FileDialogs().size(), 1u);
    EXPECT_EQ(children(), 1);
    EXPECT_EQ(stores, 0);

    AnswerBox(vbOK);  // closed even though the dialog is cancelled next
    CancelDialog();
    Choose("mnuCtlOpenData");
    EXPECT_EQ(children(), 0);
    EXPECT_EQ(stores, 1);
    EXPECT_EQ(ColorDataSet.GDeltaParams(0, PlaneYellow), 77);

    MainForm->OpenChild("testStoringWindow");
    AnswerBox(vbOK);  // the window stores before the file is read: the file wins
    ChooseFile("set.ktd");
    Choose("mnuCtlOpenData");
    EXPECT_EQ(stores, 2);
    EXPECT_EQ(FileImage(ColorDataSet), ReadBytes(Path("set.ktd")));
    ASSERT_EQ(Boxes().size(), 3u);
    for (const ShownBox& box : Boxes()) {
        EXPECT_EQ(box.text, "To reflect data, all windows are closed.");
        EXPECT_EQ(box.buttons, vbOKCancel);
        EXPECT_EQ(box.title, "RN-Tools");
    }
}

TEST_F(WholeSetTest, SaveThenOpenGivesBackEveryByte) {
    WriteBytes(Path("set.ktd"), Bytes(50000, 0xEE));  // an older, longer file
    ChooseFile("set.ktd");
    Choose("mnuCtlSaveData");
    Bytes saved = ReadBytes(Path("set.ktd"));
    ASSERT_EQ(saved.size(), 37122u);
    EXPECT_EQ(Text(saved, 0, 16), std::string("KTD01\0\0\0\0\0\0\0\0\0\0\0", 16));
    EXPECT_EQ(LastDir, WorkDir() + "/");

    ChangeTables();
    const Bytes changed = FileImage(ColorDataSet);
    ChooseFile("set.ktd");
    Choose("mnuCtlSaveData");
    EXPECT_EQ(ReadBytes(Path("set.ktd")), changed);
    ModuleDataPro::InitColorData();
    LastDir = Dir("start");
    ChooseFile("set.ktd");
    Choose("mnuCtlOpenData");
    EXPECT_EQ(FileImage(ColorDataSet), changed);
    EXPECT_EQ(LastDir, WorkDir() + "/");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(WholeSetTest, OpenTakesAnyContentAndRefusesWhatCannotBeReadWhole) {
    Bytes any(40000);
    for (std::size_t i = 0; i < any.size(); ++i) any[i] = static_cast<uint8_t>(i * 13 + 5);
    const Bytes first(any.begin(), any.begin() + 37122);
    WriteBytes(Path("exact.ktd"), first);
    WriteBytes(Path("longer.KTD"), any);
    WriteBytes(Path("short.ktd"), Bytes(any.begin(), any.begin() + 37121));
    QDir(WorkDir()).mkpath("folder.ktd");
    PipeWatchdog pipe(Path("pipe.ktd").toStdString());
    const struct {
        const char* name;
        bool loads;
    } rows[] = {{"exact.ktd", true},    {"longer.KTD", true},  {"short.ktd", false},
                {"missing.ktd", false}, {"folder.ktd", false}, {"pipe.ktd", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ModuleDataPro::InitColorData();
        const Bytes before = FileImage(ColorDataSet);
        LastDir = Dir("start");
        if (!row.loads) AnswerBox(vbOK);
        ChooseFile(row.name);
        Choose("mnuCtlOpenData");
        EXPECT_EQ(FileImage(ColorDataSet), row.loads ? first : before);
        EXPECT_EQ(LastDir, row.loads ? WorkDir() + "/" : Dir("start"));
    }
    ASSERT_EQ(Boxes().size(), 4u);
    for (const ShownBox& box : Boxes()) {
        EXPECT_EQ(box.text, FileOpenError);
        EXPECT_EQ(box.title, "KT-Tools");
    }
    EXPECT_FALSE(pipe.Fired()) << "Open All data waited on a pipe";
}

TEST_F(WholeSetTest, WriteAllDataSendsTheVersionThenTheFileOfAnyName) {
    ChooseFile("demo_v2.ktd");
    Choose("mnuCtlSaveData");
    WriteBytes(Path("notes.txt"), Bytes(37130, 0x41));  // not a set, sent as it is
    const struct {
        const char* name;
        std::string version;
        std::size_t sent;
    } rows[] = {{"demo_v2.ktd", "DEMO_V2.KTD", 37124}, {"notes.txt", "NOTES.TXT", 37140}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        quillet_reset();
        LastDir = Dir("start");
        ChooseFile(row.name);
        Choose("mnuCtlWriteData");
        const std::vector<Bytes> calls = Calls();
        ASSERT_EQ(calls.size(), 3u);
        const std::string version = row.version + std::string(32 - row.version.size(), ' ');
        EXPECT_EQ(Text(calls[0], 0, 64), "\x1bPTBL_WTVersion         00000032" + version);
        std::string digits = std::to_string(row.sent);
        digits.insert(0, 8 - digits.size(), '0');
        EXPECT_EQ(Text(calls[1], 0, 32), "\x1bPTBL_WTCTRLD_UPDATE_KT " + digits);
        const Bytes file = ReadBytes(Path(row.name));
        ASSERT_EQ(calls[2].size(), row.sent);
        EXPECT_TRUE(std::equal(file.begin(), file.end(), calls[2].begin()));
        EXPECT_TRUE(std::all_of(calls[2].begin() + static_cast<std::ptrdiff_t>(file.size()),
                                calls[2].end(), [](uint8_t b) { return b == 0; }));
        EXPECT_EQ(LastDir, WorkDir() + "/");
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(WholeSetTest, TableCommandFileFromTheDefaultsReplacesALongerFile) {
    WriteBytes(Path("tables.ktt"), Bytes(50000, 0xEE));
    ChooseFile("tables.ktt");
    Choose("mnuCtlSaveData2");
    const Bytes file = ReadBytes(Path("tables.ktt"));
    ASSERT_EQ(file.size(), 39936u);
    EXPECT_EQ(Text(file, 0, 36), "\x1bPTBL_WTE_Gamma_Y_SE    00000004\x07\xD0\x1F\x40");
    EXPECT_EQ(Text(file, 144, 34), std::string("\x1bPTBL_WTHeadTemp_Y      00000512\x80\x00", 34));
    EXPECT_EQ(LastDir, WorkDir() + "/");
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(quillet_received_count(), 0);
}

TEST_F(WholeSetTest, WriteToPrinterSendsEveryTableThatReadsBackAndMovesTheChecksum) {
    Choose("mnuCtlWriteAll");
    const std::string defaults = Module2::ReadChecksum();
    ChangeTables();
    const Bytes written = FileImage(ColorDataSet);
    quillet_reset();
    Choose("mnuCtlWriteAll");
    const std::vector<Bytes> calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], ReadBytes(ProgramDir() + "/JmTbl.tmp"));
    EXPECT_EQ(calls[0].size(), 39936u);
    EXPECT_EQ(quillet_block_count(), 89);
    EXPECT_FALSE(defaults.empty());
    EXPECT_NE(Module2::ReadChecksum(), defaults);

    using namespace Module2;
    ModuleDataPro::InitColorData();
    for (auto read :
         {ReadHeadTempTable,    ReadMediaTempTable, ReadTempCoefTable, ReadSTBGammaTable,
          ReadEGammaTable,      ReadCGammaTable,    ReadCThetaTable,   ReadCEpsilonTable,
          ReadGGammaTable,      ReadGThetaTable,    ReadGEpsilonTable, ReadEEpsilonTable,
          ReadGSigmaTable,      ReadCSigmaTable,    ReadIGammaTable,   ReadIThetaTable,
          ReadIEpsilonTable,    ReadGOmegaTable,    ReadGDeltaTable,   ReadMediaHumidityTable,
          ReadHumidityCoefTable}) {
        for (int plane = 0; plane < PlaneCount; ++plane) ASSERT_TRUE(read(plane));
    }
    ASSERT_TRUE(ReadStartCmpData());
    EXPECT_EQ(FileImage(ColorDataSet), written);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(WholeSetTest, EmptyRomFileRewritesWaitsAndProgramsNothing) {
    WriteBytes(Path("empty.s"), {});
    ChooseFile("empty.s");
    Choose("mnuOptionFlashProgram");
    const std::vector<Bytes> calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(Text(calls[0], 0, 32), "\x1bPFW_UPDFLASH_REWRITE           ");
    EXPECT_EQ(Text(calls[1], 0, 32), "\x1bPFW_UPDFLASH_PROGRAM   00000000");
    EXPECT_TRUE(calls[2].empty());
    EXPECT_EQ(Sleeps().back(), 2000);
    EXPECT_EQ(LastDir, WorkDir() + "/");
    EXPECT_TRUE(Boxes().empty());
}

// A file that cannot be used sends nothing and says "FileOpen Error", one that
// cannot be written "FileSave Error"; a printer that does not answer is told
// apart. LastDir moves only when the file was fine.
TEST_F(WholeSetTest, FailuresAreReportedAndSendNothingOfABadFile) {
    WriteBytes(Path("set.ktd"), FileImage(ColorDataSet));
    WriteBytes(Path("huge.ktd"), Bytes(80001, 1));
    // Shorter than the set's file image: no colour-data file, as Open All data finds.
    WriteBytes(Path("empty.ktd"), {});
    WriteBytes(Path("short.ktd"), Bytes(37121, 1));
    WriteBytes(Path("rom.s"), Bytes(40, 3));
    PipeWatchdog pipeKtd(Path("pipe.ktd").toStdString());
    PipeWatchdog pipeRom(Path("pipe.s").toStdString());
    const struct {
        const char* item;
        const char* name;  // nullptr: no dialog
        int failNext;
        bool badFolder;
        QString box;
        int received;
    } rows[] = {
        {"mnuCtlWriteData", "missing.ktd", 0, false, FileOpenError, 0},
        {"mnuCtlWriteData", "huge.ktd", 0, false, FileOpenError, 0},
        {"mnuCtlWriteData", "empty.ktd", 0, false, FileOpenError, 0},
        {"mnuCtlWriteData", "short.ktd", 0, false, FileOpenError, 0},
        {"mnuCtlWriteData", "pipe.ktd", 0, false, FileOpenError, 0},
        {"mnuCtlWriteData", "set.ktd", 1, false, NotResponding, 1},
        {"mnuCtlSaveData", "none/set.ktd", 0, false, FileSaveError, 0},
        {"mnuCtlSaveData2", "none/tables.ktt", 0, false, FileSaveError, 0},
        {"mnuCtlWriteAll", nullptr, 1, false, NotResponding, 1},
        {"mnuCtlWriteAll", nullptr, 0, true, FileSaveError, 0},
        {"mnuOptionFlashProgram", "missing.s", 0, false, FileOpenError, 0},
        {"mnuOptionFlashProgram", "pipe.s", 0, false, FileOpenError, 0},
        {"mnuOptionFlashProgram", "rom.s", 1, false, NotResponding, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.item) + " " + (row.name ? row.name : ""));
        quillet_reset();
        LastDir = Dir("start");
        const std::size_t boxes = Boxes().size();
        const std::size_t sleeps = Sleeps().size();
        if (row.name) ChooseFile(row.name);
        Module2::SetProgramFolder((row.badFolder ? Path("none") : ProgramDir()).toStdString());
        quillet_fail_next(row.failNext);
        AnswerBox(vbOK);
        Choose(row.item);
        ASSERT_EQ(Boxes().size(), boxes + 1);
        EXPECT_EQ(Boxes().back().text, row.box);
        EXPECT_EQ(Boxes().back().buttons, vbOKOnly);
        EXPECT_EQ(Boxes().back().title, row.box == NotResponding ? "RN-Tools" : "KT-Tools");
        EXPECT_EQ(quillet_received_count(), row.received);
        EXPECT_EQ(Sleeps().size(), sleeps) << "no wait after a refused transfer";
        const bool fileFine = row.box == NotResponding && row.name;
        EXPECT_EQ(LastDir, fileFine ? WorkDir() + "/" : Dir("start"));
    }
    EXPECT_FALSE(QFileInfo::exists(Path("none")));
    EXPECT_FALSE(pipeKtd.Fired() || pipeRom.Fired()) << "a transfer waited on a pipe";
}

}  // namespace
