// The mechanism adjustment: the print and cutting positions read from the emulated printer in
// millimetres, edited, written back in dots and kept in ".adj" files.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <bit>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "maintenance/frm_mechanism_adjustment.h"
#include "platform/quillet/quillet_control.h"
#include "shell/app_globals.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"
#include "shell/spin_button.h"
#include "shell/ui_units.h"
#include "tests/support/gui_test.h"
#include "tests/support/pipe_watchdog.h"

namespace {

const char16_t* const Port = u"EMU1:";
const QColor Blue(0, 0, 255);
const QColor Black(0, 0, 0);

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Spit(const QString& path, const std::string& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

// The file's 8 bytes for two values, little-endian singles.
std::string AdjBytes(float print, float cut) {
    std::string bytes(8, '\0');
    const uint32_t bits[2] = {std::bit_cast<uint32_t>(print), std::bit_cast<uint32_t>(cut)};
    for (int k = 0; k < 8; ++k) bytes[k] = static_cast<char>(bits[k / 4] >> (8 * (k % 4)));
    return bytes;
}

class MechanismAdjustmentTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        InstallPrinters({{"JM Printer", "EMU1:"}});
        ASSERT_TRUE(StartProgram());
        MainForm->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
        MainForm->Item("mnuOptionMechanismAdjustment")->trigger();
        form =
            qobject_cast<frmMechanismAdjustment*>(MainForm->mdiArea->activeSubWindow()->widget());
        ASSERT_NE(form, nullptr);
        QCoreApplication::processEvents();
    }

    // What the printer answers: its vertical resolution and the two position replies (null: the
    // printer's own from its settings).
    void Printer(int dpi, const char* print = nullptr, const char* cut = nullptr) {
        quillet_set_setting(Port, "resolution_v", std::to_string(dpi).c_str());
        const std::pair<const char*, const char*> replies[] = {{"PRINT_POS_ADJUST", print},
                                                               {"CUT_POS_ADJUST", cut}};
        for (const auto& [parameter, text] : replies) {
            const std::string payload = text ? std::string(text) + "\r" : "";
            quillet_set_reply(
                Port, "MNT_RD", parameter,
                text ? reinterpret_cast<const unsigned char*>(payload.data()) : nullptr,
                static_cast<int>(payload.size()));
        }
    }

    // The user types into a box and leaves it with Enter (or not at all).
    void Type(QLineEdit* box, const QString& text, bool enter = true) {
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, text);
        if (enter) QTest::keyClick(box, Qt::Key_Return);
    }
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void Up(SpinButton* spin, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::mouseClick(spin->UpButton, Qt::LeftButton);
    }
    void Down(SpinButton* spin, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::mouseClick(spin->DownButton, Qt::LeftButton);
    }

    QString Positions() const {
        return form->txtPrintPos->text() + " " + form->txtCuttingPos->text();
    }

    // The held values, as Save writes them.
    std::string Held() {
        const QString path = QDir(WorkDir()).filePath("held.adj");
        QFile::remove(path);
        const QString lastDir = LastDir;
        ChooseFile(path);
        Click(form->cmdSave);
        LastDir = lastDir;
        return Slurp(path);
    }

    // The position writes the printer took, as their data texts ("PPA+012").
    std::vector<std::string> Writes() const {
        std::vector<std::string> writes;
        for (int i = 0; i < quillet_block_count(); ++i) {
            char block[64] = {};
            const int n = quillet_block(i, reinterpret_cast<unsigned char*>(block), sizeof block);
            if (n == 40 && std::string(block + 2, 6) == "MNT_WT")
                writes.emplace_back(block + 32, 7);
        }
        return writes;
    }

    int Shown() const {
        const QImage picture = form->Picture1->pixmap().toImage();
        for (int k = 0; k < 3; ++k)
            if (picture == form->ImageList1[k].toImage()) return k + 1;
        return 0;
    }

    frmMechanismAdjustment* form = nullptr;
};

TEST_F(MechanismAdjustmentTest, OpensFromTheOptionMenuWithItsDesign) {
    EXPECT_TRUE(MainForm->Item("mnuOptionMechanismAdjustment")->isEnabled());
    EXPECT_EQ(form->windowTitle(), "Mechanism adjustment");
    EXPECT_EQ(form->size(), QSize(TwipsToPx(5700), TwipsToPx(3450)));
    auto twips = [](int l, int t, int w, int h) {
        return QRect(TwipsToPx(l), TwipsToPx(t), TwipsToPx(w), TwipsToPx(h));
    };
    EXPECT_EQ(form->Picture1->geometry(), twips(120, 120, 3495, 2235));
    EXPECT_EQ(form->txtPrintPos->geometry(), twips(2340, 2520, 855, 315));
    EXPECT_EQ(form->udPrintPos->geometry(), twips(3240, 2460, 255, 435));
    EXPECT_EQ(form->txtCuttingPos->geometry(), twips(2340, 3000, 855, 315));
    EXPECT_EQ(form->udCuttingPos->geometry(), twips(3240, 2940, 255, 435));
    EXPECT_EQ(form->fraFile->geometry(), twips(4020, 900, 1575, 1155));
    EXPECT_EQ(form->fraPrinter->geometry(), twips(4020, 2220, 1575, 1155));
    EXPECT_EQ(form->Label1->pos(), QPoint(TwipsToPx(120), TwipsToPx(2580)));
    EXPECT_EQ(form->Label2->pos(), QPoint(TwipsToPx(120), TwipsToPx(3060)));
    EXPECT_EQ(form->Label1->text(), "Print position adjustment:");
    EXPECT_EQ(form->Label2->text(), "Cutting position adjustment:");
    EXPECT_EQ(form->Label1->font(), form->Label2->font());
    for (QGroupBox* frame : {form->fraFile, form->fraPrinter})
        EXPECT_EQ(frame->palette().color(QPalette::WindowText), Blue);
    EXPECT_EQ(form->fraFile->title(), "File");
    EXPECT_EQ(form->fraPrinter->title(), "Printer");
    // The buttons one above the other in their frames.
    EXPECT_EQ(form->cmdOpen->parentWidget(), form->fraFile);
    EXPECT_LT(form->cmdOpen->geometry().bottom(), form->cmdSave->y());
    EXPECT_EQ(form->cmdGet->parentWidget(), form->fraPrinter);
    EXPECT_LT(form->cmdGet->geometry().bottom(), form->cmdSetup->y());
    int units = 0;
    for (QLabel* label : form->findChildren<QLabel*>()) {
        if (label->text() == "mm") {
            ++units;
            EXPECT_EQ(label->x(), TwipsToPx(3600));
        }
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
    }
    EXPECT_EQ(units, 2);
    EXPECT_EQ(form->udPrintPos->Min(), 0);
    EXPECT_EQ(form->udPrintPos->Max(), 10);
    EXPECT_EQ(form->udPrintPos->Increment(), 1);

    // Tab order: the two boxes with their buttons, then Open, Save, Get, Setup.
    const std::vector<QWidget*> order = {form->txtPrintPos,  form->udPrintPos, form->txtCuttingPos,
                                         form->udCuttingPos, form->cmdOpen,    form->cmdSave,
                                         form->cmdGet,       form->cmdSetup};
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget* next = order[i - 1]->nextInFocusChain();
        while (next != order[i] && !(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i]) << order[i]->objectName().toStdString();
    }

    // At load: both 0.0, the focus on "Get", the bare strip, both captions black.
    EXPECT_EQ(Positions(), "0.0 0.0");
    EXPECT_EQ(QApplication::focusWidget(), form->cmdGet);
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(form->Label1->palette().color(QPalette::WindowText), Black);
    EXPECT_EQ(form->Label2->palette().color(QPalette::WindowText), Black);
    for (const QPixmap& picture : form->ImageList1) EXPECT_EQ(picture.size(), QSize(233, 149));
    EXPECT_NE(form->ImageList1[0].toImage(), form->ImageList1[1].toImage());
    EXPECT_NE(form->ImageList1[1].toImage(), form->ImageList1[2].toImage());
    EXPECT_EQ(quillet_received_count(), 0) << "opening reads nothing";
}

TEST_F(MechanismAdjustmentTest, TheGuideShowsWhatIsBeingEdited) {
    const struct {
        std::function<void()> gesture;
        int picture;
        QColor label1, label2;
        const char* what;
    } cases[] = {
        {[&] { QTest::mouseClick(form->txtPrintPos, Qt::LeftButton); }, 2, Blue, Black,
         "print box"},
        {[&] { Click(form->cmdOpen); }, 1, Black, Black, "Open"},
        {[&] { QTest::mouseClick(form->txtCuttingPos, Qt::LeftButton); }, 3, Black, Blue,
         "cutting box"},
        {[&] { Click(form->cmdGet); }, 1, Black, Black, "Get"},
        {[&] { Up(form->udPrintPos); }, 2, Blue, Black, "print up"},
        {[&] { Click(form->cmdSetup); }, 1, Black, Black, "Setup"},
        {[&] { Down(form->udCuttingPos); }, 3, Black, Blue, "cutting down"},
        {[&] { Click(form->cmdSave); }, 1, Black, Black, "Save"},
    };
    CancelDialog();  // Open
    CancelDialog();  // Save
    for (const auto& c : cases) {
        c.gesture();
        EXPECT_EQ(Shown(), c.picture) << c.what;
        EXPECT_EQ(form->Label1->palette().color(QPalette::WindowText), c.label1) << c.what;
        EXPECT_EQ(form->Label2->palette().color(QPalette::WindowText), c.label2) << c.what;
    }

    // Back to the window from another: the focus goes to "Get", the bare strip shows.
    QTest::mouseClick(form->txtPrintPos, Qt::LeftButton);
    EXPECT_EQ(Shown(), 2);
    MainForm->Item("mnuPrinterStatus")->trigger();
    MainForm->Item("mnuOptionMechanismAdjustment")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), form->cmdGet);
    EXPECT_EQ(Shown(), 1);
}

TEST_F(MechanismAdjustmentTest, ATypedValueIsLimitedAndShownWithOneDecimal) {
    const struct {
        const char* typed;
        const char* shown;
        float held;
    } cases[] = {
        {"12", "10.0", 10.0f},    {"-25", "-10.0", -10.0f}, {"abc", "0.0", 0.0f},
        {"7.04", "7.0", 7.04f},   {"1e999", "10.0", 10.0f}, {"  3.25mm", "3.3", 3.25f},
        {"-0.04", "0.0", -0.04f}, {"9.95", "10.0", 9.95f},
    };
    for (const auto& c : cases) {
        Type(form->txtPrintPos, c.typed);
        EXPECT_EQ(form->txtPrintPos->text(), c.shown) << c.typed;
        Type(form->txtCuttingPos, c.typed);
        EXPECT_EQ(form->txtCuttingPos->text(), c.shown) << c.typed;
        EXPECT_EQ(Held(), AdjBytes(c.held, c.held)) << c.typed << ": the typed digits are kept";
    }

    // A value typed and left for a button counts without Enter.
    Printer(600);
    Type(form->txtPrintPos, "7.04", false);
    Click(form->cmdSetup);
    EXPECT_EQ(form->txtPrintPos->text(), "7.0");
    ASSERT_FALSE(Writes().empty());
    EXPECT_EQ(Writes().front(), "PPA+166") << "7.04 mm, where 7.0 would give 165";
}

TEST_F(MechanismAdjustmentTest, UpAndDownStepByATenthUpToTheLimits) {
    Up(form->udPrintPos);
    EXPECT_EQ(form->txtPrintPos->text(), "0.1");
    Up(form->udPrintPos, 99);
    EXPECT_EQ(form->txtPrintPos->text(), "10.0");
    float tenths = 0;
    for (int i = 0; i < 100; ++i) tenths = static_cast<float>(tenths + 0.1);
    EXPECT_EQ(Held(), AdjBytes(tenths, 0)) << "held as 10.000002";
    Up(form->udPrintPos);
    EXPECT_EQ(Held(), AdjBytes(tenths, 0)) << "no step at the limit";

    // From a typed 9.95 the step is taken and passes the limit; then no more.
    Type(form->txtCuttingPos, "9.95", false);
    Up(form->udCuttingPos);
    EXPECT_EQ(form->txtCuttingPos->text(), "10.1");
    const float past = static_cast<float>(9.95f + 0.1);
    EXPECT_EQ(Held(), AdjBytes(tenths, past));
    Up(form->udCuttingPos);
    EXPECT_EQ(form->txtCuttingPos->text(), "10.1");
    EXPECT_EQ(Held(), AdjBytes(tenths, past));

    Type(form->txtCuttingPos, "-9.95");
    Down(form->udCuttingPos, 2);
    EXPECT_EQ(form->txtCuttingPos->text(), "-10.1");
    Down(form->udPrintPos, 3);
    EXPECT_EQ(form->txtPrintPos->text(), "9.7");
    EXPECT_TRUE(BoxTexts().isEmpty());
}

TEST_F(MechanismAdjustmentTest, GetReadsBothPositionsInMillimetres) {
    const struct {
        int dpi;
        const char* print;
        const char* cut;
        const char* shown;
    } cases[] = {
        {600, "PPA+012", "CPA-005", "0.5 -0.2"},     {300, "PPA+012", "CPA-118", "1.0 -10.0"},
        {600, "PPA", "CPA+000", "0.0 0.0"},          {300, "PPA-999", "CPA+999", "-84.6 84.6"},
        {600, "PPA+006", "CPA-006", "0.3 -0.3"},     {300, "PPA 12", "CPA+1x3", "1.0 0.1"},
        {1200, "PPA+235XYZ", "CPA-048", "5.0 -1.0"},
    };
    for (const auto& c : cases) {
        Printer(c.dpi, c.print, c.cut);
        const int before = quillet_received_count();
        Click(form->cmdGet);
        EXPECT_EQ(Positions(), c.shown) << c.print << " " << c.cut << " at " << c.dpi;
        EXPECT_EQ(quillet_received_count(), before + 3) << "resolution, print, cut";
    }
    EXPECT_TRUE(BoxTexts().isEmpty());
    // 600 dpi, 6 steps = 0.254 mm: held as the rounded 0.3, not the exact value.
    Printer(600, "PPA+006", "CPA-006");
    Click(form->cmdGet);
    EXPECT_EQ(Held(), AdjBytes(0.3f, -0.3f));
}

TEST_F(MechanismAdjustmentTest, AFailedGetChangesNothing) {
    const std::string unreadable = "RVabc\r";
    const struct {
        const char* what;
        std::function<void()> fault;
    } cases[] = {
        {"no resolution", [] { quillet_fail_next(1); }},
        {"a resolution that does not read",
         [&] {
             quillet_set_reply(Port, "INFO", "RESOLUTION_V",
                               reinterpret_cast<const unsigned char*>(unreadable.data()),
                               static_cast<int>(unreadable.size()));
         }},
        {"no print reply", [] { quillet_fail_after(1, 1); }},
        {"a print reply without its tag", [&] { Printer(600, "XPA+012", "CPA-005"); }},
        {"no cutting reply", [] { quillet_fail_after(2, 1); }},
        {"only the cutting reply without its tag", [&] { Printer(600, "PPA+024", "+005"); }},
        {"an empty cutting reply", [&] { Printer(600, "PPA+024", ""); }},
    };
    for (const auto& c : cases) {
        quillet_set_reply(Port, "INFO", "RESOLUTION_V", nullptr, 0);
        Printer(600, "PPA+012", "CPA-005");
        Click(form->cmdGet);
        ASSERT_EQ(Positions(), "0.5 -0.2");
        const std::size_t shown = BoxTexts().size();
        c.fault();
        AnswerBox(vbOK);
        Click(form->cmdGet);
        ASSERT_EQ(BoxTexts().size(), shown + 1) << c.what;
        EXPECT_EQ(BoxTexts().back(), "Printer not responding") << c.what;
        EXPECT_EQ(Positions(), "0.5 -0.2") << c.what;
        EXPECT_EQ(Held(), AdjBytes(0.5f, -0.2f)) << c.what;
    }
}

TEST_F(MechanismAdjustmentTest, SetupSendsBothPositionsInDots) {
    const struct {
        int dpi;
        const char* print;
        const char* cut;
        std::vector<std::string> sent;
    } cases[] = {
        {600, "0.5", "-10.0", {"PPA+012", "CPA-236"}},
        {600, "7.04", "0", {"PPA+166", "CPA+000"}},
        {300, "-0.5", "10", {"PPA-006", "CPA+118"}},
        {1200, "0.05", "-0.1", {"PPA+002", "CPA-005"}},  // 2.36 and -4.72 steps
    };
    for (const auto& c : cases) {
        Printer(c.dpi);
        Type(form->txtPrintPos, c.print);
        Type(form->txtCuttingPos, c.cut);
        quillet_reset();
        Printer(c.dpi);
        Click(form->cmdSetup);
        EXPECT_EQ(Writes(), c.sent) << c.print << " " << c.cut << " at " << c.dpi;
        EXPECT_EQ(quillet_received_count(), 3) << "resolution, print, cut";
        char position[16] = {};
        quillet_get_setting(Port, "print_pos", position, sizeof position);
        EXPECT_EQ(std::to_string(std::stoi(c.sent[0].substr(3))), position);
    }
    EXPECT_TRUE(BoxTexts().isEmpty()) << "a good Setup shows nothing";
}

TEST_F(MechanismAdjustmentTest, AFailedSetupSaysSoAndSendsNoMoreThanBefore) {
    const std::string unreadable = "RVabc\r";
    const struct {
        const char* what;
        int dpi;
        std::function<void()> fault;
        std::vector<std::string> sent;
    } cases[] = {
        {"no resolution", 600, [] { quillet_fail_next(1); }, {}},
        {"a resolution that does not read",
         600,
         [&] {
             quillet_set_reply(Port, "INFO", "RESOLUTION_V",
                               reinterpret_cast<const unsigned char*>(unreadable.data()),
                               static_cast<int>(unreadable.size()));
         },
         {}},
        {"the print position not taken", 600, [] { quillet_fail_after(1, 1); }, {}},
        {"the cutting position not taken", 600, [] { quillet_fail_after(2, 1); }, {"PPA+118"}},
        {"more steps than the field holds", 2560, [] {}, {}},  // 5 mm: 504 steps, 10 mm: 1008
    };
    Type(form->txtPrintPos, "5");
    Type(form->txtCuttingPos, "10");
    for (const auto& c : cases) {
        quillet_reset();
        Printer(c.dpi);
        c.fault();
        AnswerBox(vbOK);
        Click(form->cmdSetup);
        EXPECT_EQ(BoxTexts().back(), "Printer not responding") << c.what;
        EXPECT_EQ(Writes(), c.sent) << c.what;
        EXPECT_EQ(Positions(), "5.0 10.0") << c.what;
    }
    EXPECT_EQ(BoxTexts().size(), std::size(cases));
}

TEST_F(MechanismAdjustmentTest, SaveWritesTheHeldValuesIntoAnAdjFile) {
    Type(form->txtPrintPos, "7.04");
    Type(form->txtCuttingPos, "-0.25");
    const QString folder = QDir(WorkDir()).filePath("positions");
    QDir().mkpath(folder);

    ChooseFile(folder + "/pos.adj");
    Click(form->cmdSave);
    EXPECT_EQ(Slurp(folder + "/pos.adj"), AdjBytes(7.04f, -0.25f));
    ASSERT_FALSE(FileDialogs().empty());
    EXPECT_EQ(FileDialogs().back().kind, CommonDialog::Kind::Save);
    EXPECT_EQ(FileDialogs().back().title, "Save");
    EXPECT_EQ(FileDialogs().back().filter, "*.adj|*.adj|");
    EXPECT_EQ(LastDir, folder + "/");

    // Over a longer file: its first 8 bytes replaced, its length kept.
    const std::string longer(20, 'x');
    Spit(folder + "/long.adj", longer);
    ChooseFile(folder + "/long.adj");
    Click(form->cmdSave);
    EXPECT_EQ(Slurp(folder + "/long.adj"), AdjBytes(7.04f, -0.25f) + longer.substr(8));

    // Another ending writes nothing, but the folder is taken over.
    ChooseFile(WorkDir() + "/pos.txt");
    Click(form->cmdSave);
    EXPECT_FALSE(QFile::exists(WorkDir() + "/pos.txt"));
    EXPECT_EQ(LastDir, WorkDir() + "/");

    // A file that cannot be written says so; the folder stays.
    ChooseFile(folder + "/missing/pos.adj");
    AnswerBox(vbOK);
    Click(form->cmdSave);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "FileSave Error");
    EXPECT_EQ(Boxes()[0].title, "JM-Tools");
    EXPECT_EQ(LastDir, WorkDir() + "/");

    CancelDialog();
    Click(form->cmdSave);
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(MechanismAdjustmentTest, OpenReadsAnAdjFileAndRefusesWhatItCannotUse) {
    const QString folder = QDir(WorkDir()).filePath("positions");
    QDir().mkpath(folder);
    Spit(folder + "/POS.ADJ", AdjBytes(0.25f, -3.5f));
    ChooseFile(folder + "/POS.ADJ");
    Click(form->cmdOpen);
    EXPECT_EQ(Positions(), "0.3 -3.5");
    EXPECT_EQ(Held(), AdjBytes(0.25f, -3.5f));
    EXPECT_EQ(LastDir, folder + "/");
    EXPECT_EQ(FileDialogs().front().title, "Open");
    EXPECT_EQ(FileDialogs().front().filter, "*.adj|*.adj|");

    // Values beyond what the window edits are held to its limits.
    Spit(WorkDir() + "/far.adj", AdjBytes(25.0f, -300.0f) + "tail");
    ChooseFile(WorkDir() + "/far.adj");
    Click(form->cmdOpen);
    EXPECT_EQ(Positions(), "10.0 -10.0");
    EXPECT_EQ(Held(), AdjBytes(10.0f, -10.0f));
    EXPECT_EQ(LastDir, WorkDir() + "/");

    // A missing file, a short one and one that holds no numbers: "FileOpen Error", nothing
    // changes, not even the folder.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Spit(folder + "/short.adj", AdjBytes(1, 1).substr(0, 7));
    Spit(folder + "/nan.adj", AdjBytes(1, nan));
    Spit(folder + "/inf.adj", AdjBytes(std::numeric_limits<float>::infinity(), 1));
    // A reader that opened the pipe would wait for a writer for good.
    const PipeWatchdog pipe((folder + "/pipe.adj").toStdString());
    for (const char* name : {"none.adj", "short.adj", "nan.adj", "inf.adj", "pipe.adj"}) {
        ChooseFile(folder + "/" + name);
        AnswerBox(vbOK);
        Click(form->cmdOpen);
        EXPECT_EQ(Boxes().back().text, "FileOpen Error") << name;
        EXPECT_EQ(Boxes().back().title, "JM-Tools") << name;
        EXPECT_EQ(Held(), AdjBytes(10.0f, -10.0f)) << name;
        EXPECT_EQ(LastDir, WorkDir() + "/") << name;
    }
    EXPECT_FALSE(pipe.Fired()) << "Open waited on a pipe";

    // Another ending reads nothing: the folder is taken over and the boxes show the held values.
    form->txtCuttingPos->setText("typed, never entered");
    Spit(folder + "/pos.dat", AdjBytes(1, 1));
    ChooseFile(folder + "/pos.dat");
    Click(form->cmdOpen);
    EXPECT_EQ(Positions(), "10.0 -10.0");
    EXPECT_EQ(LastDir, folder + "/");
    EXPECT_EQ(Boxes().size(), 5u);
}

}  // namespace
