// The sensor monitor: opened from the Option menu, it polls the emulated printer's sensor record
// while it runs, shows the converted readings and blinks its indicator; a poll that comes while a
// transfer holds the printer does nothing; a printer on a device line that does not answer leaves
// the program usable.
#include <QAction>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/colour_data.h"
#include "core/colour_data_file.h"
#include "core/exchange_guard.h"
#include "maintenance/frm_printer_status.h"
#include "maintenance/frm_sensor_monitor.h"
#include "platform/quillet/quillet_control.h"
#include "shell/frm_main.h"
#include "shell/ui_units.h"
#include "tests/platform/quillet/pty_printer.h"
#include "tests/support/gui_test.h"

namespace {

const char16_t* const Port = u"EMU1:";

std::vector<uint8_t> Call(int index) {
    uint32_t code = 0;
    char16_t port[32];
    std::vector<uint8_t> bytes(static_cast<std::size_t>(
        std::max(0, quillet_received(index, &code, nullptr, 0, port, 32))));
    quillet_received(index, &code, bytes.data(), static_cast<int>(bytes.size()), port, 32);
    return bytes;
}

std::string Head(const std::vector<uint8_t>& bytes, std::size_t n = 24) {
    return std::string(bytes.begin(), bytes.begin() + std::min(n, bytes.size()));
}

const std::string SensorRequest = "\x1bPINFO  SENSOR";

class SensorMonitorTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        InstallPrinters({{"JM Printer", "EMU1:"}});
        ASSERT_TRUE(StartProgram());
        for (int slot = 1; slot <= 13; ++slot) quillet_set_sensor(Port, slot, 100);
        form = qobject_cast<frmSensorMonitor*>(MainForm->OpenChild("mnuOptionSensorMonitor"));
        ASSERT_NE(form, nullptr);
    }

    // What the fields show, by name.
    std::map<QString, QString> Fields() const {
        std::map<QString, QString> shown;
        for (QLabel* field : form->findChildren<QLabel*>())
            if (field->objectName().startsWith("lab")) shown[field->objectName()] = field->text();
        return shown;
    }
    QString Field(const char* name) const { return form->findChild<QLabel*>(name)->text(); }

    // Which picture the indicator shows: "red", "green", "dark".
    QString Led() const {
        const QImage shown = form->imgLED_COM->pixmap().toImage();
        if (shown == form->imgLED_RED->pixmap().toImage()) return "red";
        if (shown == form->imgLED_GRN->pixmap().toImage()) return "green";
        if (shown == form->imgLED_OFF->pixmap().toImage()) return "dark";
        return "none";
    }

    // One poll of the running monitor, as its timer makes it.
    void Tick() {
        ASSERT_TRUE(form->Timer1->isActive());
        form->Timer1_Timer();
    }

    int SensorRequests() const {
        int n = 0;
        for (int i = 0; i < quillet_received_count(); ++i) n += Head(Call(i), 14) == SensorRequest;
        return n;
    }

    frmSensorMonitor* form = nullptr;
};

TEST_F(SensorMonitorTest, OpensFromTheOptionMenuWithItsDesign) {
    EXPECT_TRUE(MainForm->Item("mnuOptionSensorMonitor")->isEnabled());
    EXPECT_EQ(form->objectName(), "frmSensorMonitor");
    EXPECT_EQ(form->windowTitle(), "Sensor monitor");
    EXPECT_EQ(form->size(), QSize(TwipsToPx(5160), TwipsToPx(4680)));
    const Qt::WindowFlags frame = MainForm->mdiArea->activeSubWindow()->windowFlags();
    EXPECT_FALSE(frame & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    const struct {
        QGroupBox* box;
        const char* title;
        QRect twips;
    } frames[] = {{form->fraPaper, "Paper", {120, 120, 2655, 2775}},
                  {form->fraRibbon, "Ribbon", {2940, 120, 1935, 1575}},
                  {form->fraHumidity, "Humidity", {2940, 1860, 1932, 552}},
                  {form->fraHeadMedia, "Head && Media", {120, 3000, 2895, 1515}}};
    for (const auto& f : frames) {
        EXPECT_EQ(f.box->title(), f.title);
        EXPECT_EQ(f.box->geometry(), QRect(TwipsToPx(f.twips.x()), TwipsToPx(f.twips.y()),
                                           TwipsToPx(f.twips.width()), TwipsToPx(f.twips.height())))
            << f.title;
        EXPECT_EQ(f.box->palette().color(QPalette::WindowText), QColor(0, 0, 255)) << f.title;
    }

    // Each field in its frame with its caption to the left and its unit to the right, on its row;
    // every text whole.
    const struct {
        QLabel* field;
        QGroupBox* frame;
        const char* caption;
        const char* unit;
    } rows[] = {
        {form->labPaperEnd, form->fraPaper, "End:", "V"},
        {form->labPaperSize, form->fraPaper, "Size:", "V"},
        {form->labPaperJam, form->fraPaper, "Out:", "V"},
        {form->labPaperMark, form->fraPaper, "PC Mark:", "V"},
        {form->labRibbonC, form->fraRibbon, "C:", "V"},
        {form->labRibbonR, form->fraRibbon, "R:", "V"},
        {form->labHumid, form->fraHumidity, nullptr, "%"},
        {form->labHeadTmperature, form->fraHeadMedia, "Head Temperature:", "C"},
        {form->labMediaTmperature, form->fraHeadMedia, "Media Temperature:", "C"},
        {form->labHeadVoltage, form->fraHeadMedia, "Head Voltage:", "V"},
    };
    for (const auto& row : rows) {
        const QString name = row.field->objectName();
        EXPECT_EQ(row.field->parentWidget(), row.frame) << name.toStdString();
        EXPECT_EQ(row.field->text(), name == "labHumid" ? "0.0" : "0.00") << name.toStdString();
        bool captionSeen = row.caption == nullptr, unitSeen = false;
        for (QLabel* label : row.frame->findChildren<QLabel*>()) {
            if (label->y() != row.field->y()) continue;
            if (label->text() == row.caption) {
                captionSeen = true;
                EXPECT_LE(label->geometry().right(), row.field->x()) << name.toStdString();
            }
            if (label->text() == row.unit) {
                unitSeen = true;
                EXPECT_GE(label->x(), row.field->geometry().right()) << name.toStdString();
            }
        }
        EXPECT_TRUE(captionSeen && unitSeen) << name.toStdString();
    }
    EXPECT_EQ(form->labPaperEnd->pos(), QPoint(TwipsToPx(1560), TwipsToPx(300)));
    EXPECT_EQ(form->labPaperMark->pos(), QPoint(TwipsToPx(1560), TwipsToPx(2220)));
    for (QLabel* label : form->findChildren<QLabel*>()) {
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
        if (label->parentWidget() != form) {
            EXPECT_NE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255))
                << "only the frame captions are blue: " << label->text().toStdString();
        }
    }

    EXPECT_EQ(form->cmdStart->geometry(),
              QRect(TwipsToPx(3540), TwipsToPx(3660), TwipsToPx(1335), TwipsToPx(375)));
    EXPECT_EQ(form->cmdStop->geometry(),
              QRect(TwipsToPx(3540), TwipsToPx(4080), TwipsToPx(1335), TwipsToPx(375)));
    EXPECT_EQ(form->imgLED_COM->geometry(),
              QRect(TwipsToPx(4620), TwipsToPx(3420), TwipsToPx(240), TwipsToPx(90)));
    EXPECT_EQ(Led(), "dark");
    EXPECT_FALSE(form->imgLED_RED->isVisible());
    EXPECT_TRUE(form->cmdStart->isEnabled());
    EXPECT_FALSE(form->cmdStop->isEnabled());
    EXPECT_EQ(form->Timer1->interval(), 100);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(quillet_received_count(), 0) << "opening reads nothing";
}

TEST_F(SensorMonitorTest, StartPollsEveryHundredMillisecondsUntilStop) {
    QTest::mouseClick(form->cmdStart, Qt::LeftButton);
    EXPECT_FALSE(form->cmdStart->isEnabled());
    EXPECT_TRUE(form->cmdStop->isEnabled());
    EXPECT_EQ(form->focusWidget(), form->cmdStop);
    EXPECT_EQ(quillet_received_count(), 0) << "the first poll comes one interval later";
    QTRY_VERIFY_WITH_TIMEOUT(SensorRequests() >= 2, 3000);
    EXPECT_EQ(Field("labHeadVoltage"), "34.14");

    QTest::mouseClick(form->cmdStop, Qt::LeftButton);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(Led(), "dark");
    EXPECT_TRUE(form->cmdStart->isEnabled());
    EXPECT_FALSE(form->cmdStop->isEnabled());
    EXPECT_EQ(form->focusWidget(), form->cmdStart);
    EXPECT_EQ(Field("labHeadVoltage"), "34.14") << "the values stay on display";
    for (int i = 0; i < quillet_received_count(); ++i)
        EXPECT_EQ(Call(i).size(), 32u) << "one request a poll, nothing else";

    QTest::mouseClick(form->cmdStart, Qt::LeftButton);
    MainForm->mdiArea->activeSubWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int polls = SensorRequests();
    QTest::qWait(250);
    EXPECT_EQ(SensorRequests(), polls) << "closing ends the polling";
}

TEST_F(SensorMonitorTest, EachReadingShowsInItsField) {
    QTest::mouseClick(form->cmdStart, Qt::LeftButton);
    Tick();
    const std::map<QString, QString> rest = {
        {"labHeadTmperature", "23.00"}, {"labMediaTmperature", "23.00"},
        {"labHeadVoltage", "34.14"},    {"labPaperEnd", "2.16"},
        {"labPaperSize", "2.16"},       {"labPaperJam", "2.16"},
        {"labPaperMark", "1.29"},       {"labRibbonC", "2.16"},
        {"labRibbonR", "2.16"},         {"labHumid", "54.0"}};
    EXPECT_EQ(Fields(), rest);

    const struct {
        std::map<int, int> readings;
        std::map<QString, QString> shown;
    } cases[] = {
        {{{1, 128}}, {{"labHeadTmperature", "34.80"}, {"labHumid", "53.0"}}},
        {{{1, 0}}, {{"labHeadTmperature", "-67.40"}}},
        {{{1, 1}}, {{"labHeadTmperature", "-67.40"}}},
        {{{2, 254}}, {{"labMediaTmperature", "337.10"}}},
        {{{2, 255}}, {{"labMediaTmperature", "337.10"}}},
        {{{12, 255}, {3, 255}, {10, 255}},
         {{"labHeadVoltage", "40.56"}, {"labPaperMark", "3.30"}, {"labPaperEnd", "5.50"}}},
        {{{12, 0}, {9, 0}, {7, 51}},
         {{"labHeadVoltage", "30.00"}, {"labPaperJam", "0.00"}, {"labPaperSize", "1.10"}}},
        {{{5, 17}, {6, 204}}, {{"labRibbonC", "0.37"}, {"labRibbonR", "4.40"}}},
        {{{1, 200}, {13, 92}}, {{"labHeadTmperature", "74.80"}, {"labHumid", "47.0"}}},
        {{{1, 100}, {13, 5}}, {{"labHumid", "10.0"}}},
        {{{13, 200}}, {{"labHumid", "90.0"}}},
        {{{4, 0}, {8, 255}, {11, 7}}, {}},  // readings no field shows
    };
    for (const auto& c : cases) {
        for (int slot = 1; slot <= 13; ++slot) quillet_set_sensor(Port, slot, 100);
        for (const auto& [slot, raw] : c.readings) quillet_set_sensor(Port, slot, raw);
        Tick();
        std::map<QString, QString> expected = rest;
        for (const auto& [field, text] : c.shown) expected[field] = text;
        EXPECT_EQ(Fields(), expected) << c.readings.begin()->first;
    }
}

TEST_F(SensorMonitorTest, TheIndicatorBlinksWhileRecordsComeAndTurnsRedWhenNot) {
    QTest::mouseClick(form->cmdStart, Qt::LeftButton);
    Tick();
    EXPECT_EQ(Led(), "green") << "the first good record after opening";
    Tick();
    EXPECT_EQ(Led(), "red");
    Tick();
    EXPECT_EQ(Led(), "green");

    // No record, and one with a reading off the scale: red, every field as it was, the blinking
    // goes on from where it stood.
    quillet_set_sensor(Port, 1, 128);
    Tick();
    EXPECT_EQ(Led(), "red");
    const auto shown = Fields();
    quillet_set_sensor(Port, 1, 100);
    quillet_fail_next(1);
    Tick();
    EXPECT_EQ(Led(), "red");
    EXPECT_EQ(Fields(), shown);
    quillet_set_sensor(Port, 7, 999);
    Tick();
    EXPECT_EQ(Led(), "red");
    quillet_set_sensor(Port, 7, -5);
    Tick();
    EXPECT_EQ(Led(), "red");
    EXPECT_EQ(Fields(), shown);
    EXPECT_TRUE(BoxTexts().isEmpty()) << "no message";
    quillet_set_sensor(Port, 7, 100);
    Tick();
    EXPECT_EQ(Led(), "green");
    EXPECT_EQ(Field("labHeadTmperature"), "23.00");

    // Stop and Start again keep it.
    QTest::mouseClick(form->cmdStop, Qt::LeftButton);
    EXPECT_EQ(Led(), "dark");
    QTest::mouseClick(form->cmdStart, Qt::LeftButton);
    Tick();
    EXPECT_EQ(Led(), "red");
}

TEST_F(SensorMonitorTest, ARecordTooShortReadsItsMissingSlotsAsZero) {
    QTest::mouseClick(form->cmdStart, Qt::LeftButton);
    const std::string shortRecord = "S01:";
    quillet_set_reply(Port, "INFO", "SENSOR",
                      reinterpret_cast<const unsigned char*>(shortRecord.data()),
                      static_cast<int>(shortRecord.size()));
    Tick();
    EXPECT_EQ(Led(), "green");
    EXPECT_EQ(Fields(), (std::map<QString, QString>{{"labHeadTmperature", "-67.40"},
                                                    {"labMediaTmperature", "-67.40"},
                                                    {"labHeadVoltage", "30.00"},
                                                    {"labPaperEnd", "0.00"},
                                                    {"labPaperSize", "0.00"},
                                                    {"labPaperJam", "0.00"},
                                                    {"labPaperMark", "0.00"},
                                                    {"labRibbonC", "0.00"},
                                                    {"labRibbonR", "0.00"},
                                                    {"labHumid", "10.0"}}));
}

// A poll and a click forced while the notice of a transfer in pieces is up, between the header
// of the colour-data file and its data: neither reaches the printer, and the transfer arrives
// whole.
TEST_F(SensorMonitorTest, NothingGetsBetweenTheHeaderAndTheDataOfATransfer) {
    ModuleDataPro::SetTableValue(ColorDataSet.HeadTemp, PlaneMagenta, 7, 4321);
    const QString file = QDir(WorkDir()).filePath("set.ktd");
    ASSERT_TRUE(ColorDataFile::Write(file.toStdString()));
    std::ifstream in(file.toStdString(), std::ios::binary);
    const std::vector<uint8_t> image{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(image.size(), 37122u);

    auto* status = qobject_cast<frmPrinterStatus*>(MainForm->OpenChild("mnuPrinterStatus"));
    ASSERT_NE(status, nullptr);
    QTest::mouseClick(form->cmdStart, Qt::LeftButton);
    form->Timer1->setInterval(0);  // due at every turn of the event loop, the notice's included
    int busyTicks = 0;
    QString ledWhileBusy;
    QObject::connect(form->Timer1, &QTimer::timeout, form, [&] {
        if (PrinterBusy()) ++busyTicks;
    });
    bool clicked = false;
    QTimer forcer;
    forcer.setInterval(0);
    QObject::connect(&forcer, &QTimer::timeout, [&] {
        const int n = quillet_received_count();
        if (clicked || n == 0 || Head(Call(n - 1), 23) != "\x1bPTBL_WTCTRLD_UPDATE_KT") return;
        ASSERT_TRUE(PrinterBusy()) << "the notice of the header is up";
        ledWhileBusy = Led();
        QTest::mouseClick(status->cmdGet, Qt::LeftButton);
        clicked = true;
    });
    forcer.start();
    QTRY_VERIFY(SensorRequests() >= 1);
    const int before = quillet_received_count();
    const int blocksBefore = quillet_block_count();
    const QString ledBefore = Led();

    ChooseFile(file);
    MainForm->Item("mnuCtlWriteData")->trigger();
    forcer.stop();
    form->Timer1->stop();
    EXPECT_TRUE(clicked);
    EXPECT_GT(busyTicks, 0);
    EXPECT_EQ(ledWhileBusy, ledBefore) << "a poll that waits changes nothing";
    EXPECT_EQ(Led(), ledBefore);
    EXPECT_TRUE(BoxTexts().isEmpty()) << "the transfer went through";
    EXPECT_EQ(status->txtPrinterStatus->text(), "ERROR!")
        << "the click could not reach the printer";

    // The transfer's three sends follow each other, and the printer took both blocks whole.
    ASSERT_GE(quillet_received_count(), before + 3);
    const std::vector<uint8_t> version = Call(before), header = Call(before + 1),
                               data = Call(before + 2);
    EXPECT_EQ(Head(version), "\x1bPTBL_WTVersion         ");
    EXPECT_EQ(Head(header, 32), "\x1bPTBL_WTCTRLD_UPDATE_KT 00037124");
    EXPECT_EQ(data.size(), image.size() + image.size() % 32);
    ASSERT_EQ(quillet_block_count(), blocksBefore + 2);
    std::vector<uint8_t> block(
        static_cast<std::size_t>(quillet_block(blocksBefore + 1, nullptr, 0)));
    quillet_block(blocksBefore + 1, block.data(), static_cast<int>(block.size()));
    ASSERT_EQ(block.size(), 32 + data.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), block.begin() + 32));
    unsigned char plane[512];
    ASSERT_EQ(quillet_table(Port, "HeadTemp_M", plane, sizeof plane), 512);
    EXPECT_EQ(plane[14] << 8 | plane[15], 4321) << "the printer took the set";

    // Afterwards both work again.
    QTest::mouseClick(status->cmdGet, Qt::LeftButton);
    EXPECT_EQ(status->txtPrinterStatus->text(), "Idle");
    form->Timer1->start();
    const int polls = SensorRequests();
    QTRY_VERIFY(SensorRequests() > polls);
}

}  // namespace

// A printer that does not answer, on a device line: the window stays usable while the monitor
// polls it, Stop acts at once, the indicator is red, and as soon as the printer answers the polls
// come every 100 ms again. Every exchange here is a poll: each waits only briefly, whatever the
// port timeout, which is long enough here that a poll waiting it would show.
class SilentPrinterTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        qputenv("RNTOOLS_PORT_TIMEOUT_MS", "2000");
        InstallPrinters({{"JM Printer", QString::fromStdString(printer.Path())}});
        ASSERT_TRUE(StartProgram());
        form = qobject_cast<frmSensorMonitor*>(MainForm->OpenChild("mnuOptionSensorMonitor"));
        ASSERT_NE(form, nullptr);
        heartbeat.setInterval(10);
        QObject::connect(&heartbeat, &QTimer::timeout, [this] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
            ++beats;
        });
    }
    void TearDown() override {
        qunsetenv("RNTOOLS_PORT_TIMEOUT_MS");
        GuiTest::TearDown();
    }
    // The event loop's longest block from now on, as a heartbeat every 10 ms sees it.
    void Watch() {
        clock.start();
        last = 0;
        longest = 0;
        beats = 0;
        heartbeat.start();
    }
    QString Led() const {
        const QImage shown = form->imgLED_COM->pixmap().toImage();
        if (shown == form->imgLED_RED->pixmap().toImage()) return "red";
        if (shown == form->imgLED_GRN->pixmap().toImage()) return "green";
        return shown == form->imgLED_OFF->pixmap().toImage() ? "dark" : "none";
    }
    // The polls that reached the line since the last look.
    int Polls() {
        return static_cast<int>(printer.Read(4096, std::chrono::milliseconds(50)).size()) / 32;
    }

    pty_test::PtyPrinter printer;
    frmSensorMonitor* form = nullptr;
    QTimer heartbeat;
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    int beats = 0;
};

TEST_F(SilentPrinterTest, TheProgramStaysUsableAndPollsApaceAgainOnceThePrinterAnswers) {
    // Stop is clicked while the second poll waits for its reply.
    qint64 stopDue = -1, stopLate = -1;
    int polls = 0;
    QObject::connect(form->Timer1, &QTimer::timeout, form, [&] {
        if (++polls != 1) return;
        stopDue = clock.elapsed() + form->Timer1->interval() + 100;
        QTimer::singleShot(form->Timer1->interval() + 100, form, [&] {
            stopLate = clock.elapsed() - stopDue;
            QTest::mouseClick(form->cmdStop, Qt::LeftButton);
        });
    });
    Watch();
    QTest::mouseClick(form->cmdStart, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!form->Timer1->isActive(), 5000);
    const qint64 ran = clock.elapsed();
    EXPECT_EQ(polls, 2);
    EXPECT_EQ(Polls(), 2);
    EXPECT_GE(stopLate, 0);
    EXPECT_LT(stopLate, 500) << "Stop waited for the poll";
    EXPECT_LT(longest, 500) << "the event loop was held";
    EXPECT_GT(beats * 10, ran / 3) << "the window was busy most of the time";
    EXPECT_EQ(Led(), "dark");
    EXPECT_TRUE(form->cmdStart->isEnabled());

    // The first poll after Start finds the printer silent still; then it answers.
    QTest::mouseClick(form->cmdStart, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(Led(), QString("red"), 2000);
    Polls();
    std::string record;
    for (int slot = 1; slot <= 13; ++slot)
        record += QString::asprintf("S%02d:100; ", slot).toStdString();
    const std::string reply = "00000118" + record + "\r";
    std::atomic<bool> answering{true};
    std::atomic<int> answered{0};
    std::thread line([&] {
        while (answering) {
            if (printer.Read(32, std::chrono::milliseconds(50)).size() < 32) continue;
            printer.Write(reply);
            ++answered;
        }
    });
    QTRY_COMPARE_WITH_TIMEOUT(Led(), QString("green"), 2500);
    EXPECT_EQ(form->labHeadVoltage->text(), "34.14");
    const int before = answered;
    QTest::qWait(1000);
    EXPECT_GE(answered - before, 5) << "the polls did not come every 100 ms again";
    QTest::mouseClick(form->cmdStop, Qt::LeftButton);
    answering = false;
    line.join();
}
