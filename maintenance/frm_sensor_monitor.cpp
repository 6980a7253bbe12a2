#include "maintenance/frm_sensor_monitor.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "core/exchange_guard.h"
#include "core/maintenance_commands.h"
#include "core/numbers.h"
#include "shell/child_windows.h"
#include "shell/ui_units.h"

using namespace SensorMonitor;

namespace {

ChildWindowRegistration registration("mnuOptionSensorMonitor", [] { return new frmSensorMonitor; });

constexpr int PollMs = 100;
// The polls of a printer that does not answer. Each waits for its reply only briefly (a fraction of
// a second) and holds the window meanwhile, so they are spaced out for the program to stay usable
// between them; the first answer brings back PollMs.
constexpr int SilentPollMs = 1000;

// Value fields and their units, in twips of their frame.
constexpr double FieldWidth = 735;
constexpr double FieldHeight = 255;
constexpr double UnitWidth = 195;

// The indicator's three pictures, 240 x 90 twips: a lamp with a darker rim.
QPixmap LedPicture(uint32_t lamp, uint32_t rim) {
    QPixmap picture(TwipsToPx(240), TwipsToPx(90));
    picture.fill(BgrColor(rim));
    QPainter painter(&picture);
    painter.fillRect(picture.rect().adjusted(1, 1, -1, -1), BgrColor(lamp));
    return picture;
}

}  // namespace

frmSensorMonitor::frmSensorMonitor() : FixedDialog("frmSensorMonitor", 5160, 4680) {
    setWindowTitle(QStringLiteral("Sensor monitor"));

    // Value fields: labels in the window's colour, the unit to their right.
    int labels = 0;
    auto caption = [&](QWidget* frame, const char* text, double left, double top, double width) {
        const std::string name = "Label" + std::to_string(++labels);
        return AddLabel(name.c_str(), QString::fromUtf8(text), left, top, width, FieldHeight,
                        frame);
    };
    auto field = [&](QWidget* frame, const char* name, double left, double top,
                     double width = FieldWidth) {
        QLabel* value = AddLabel(name, QString(), left, top, width, FieldHeight, frame);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return value;
    };
    auto unit = [&](QWidget* frame, const char* text, double left, double top) {
        return caption(frame, text, left, top, UnitWidth);
    };

    fraPaper = AddFrame("fraPaper", QStringLiteral("Paper"), 120, 120, 2655, 2775);
    // The indicator's picture sources lie under the frame, hidden.
    imgLED_RED = new QLabel(this);
    imgLED_GRN = new QLabel(this);
    imgLED_OFF = new QLabel(this);
    const struct {
        QLabel* image;
        const char* name;
        uint32_t lamp, rim;
    } sources[] = {{imgLED_RED, "imgLED_RED", 0x000000FF, 0x00000080},
                   {imgLED_GRN, "imgLED_GRN", 0x0000FF00, 0x00008000},
                   {imgLED_OFF, "imgLED_OFF", 0x00404040, 0x00202020}};
    for (const auto& source : sources) {
        source.image->setObjectName(source.name);
        source.image->setPixmap(LedPicture(source.lamp, source.rim));
        PlaceTwips(source.image, 240, 360, 240, 90);
        source.image->hide();
    }
    fraPaper->raise();

    const struct {
        const char* caption;
        QLabel** field;
        const char* name;
        double top;
    } paperRows[] = {{"End:", &labPaperEnd, "labPaperEnd", 300},
                     {"Size:", &labPaperSize, "labPaperSize", 960},
                     {"Out:", &labPaperJam, "labPaperJam", 1560},
                     {"PC Mark:", &labPaperMark, "labPaperMark", 2220}};
    for (const auto& row : paperRows) {
        caption(fraPaper, row.caption, 120, row.top, 1320);
        *row.field = field(fraPaper, row.name, 1560, row.top);
        unit(fraPaper, "V", 2355, row.top);
    }

    fraRibbon = AddFrame("fraRibbon", QStringLiteral("Ribbon"), 2940, 120, 1935, 1575);
    caption(fraRibbon, "C:", 120, 360, 600);
    labRibbonC = field(fraRibbon, "labRibbonC", 840, 360);
    unit(fraRibbon, "V", 1635, 360);
    caption(fraRibbon, "R:", 120, 960, 600);
    labRibbonR = field(fraRibbon, "labRibbonR", 840, 960);
    unit(fraRibbon, "V", 1635, 960);

    fraHumidity = AddFrame("fraHumidity", QStringLiteral("Humidity"), 2940, 1860, 1932, 552);
    labHumid = field(fraHumidity, "labHumid", 840, 240);
    unit(fraHumidity, "%", 1635, 240);

    // The doubled ampersand shows as one.
    fraHeadMedia = AddFrame("fraHeadMedia", QStringLiteral("Head && Media"), 120, 3000, 2895, 1515);
    const struct {
        const char* caption;
        QLabel** field;
        const char* name;
        double top;
        bool degrees;
    } headRows[] = {{"Head Temperature:", &labHeadTmperature, "labHeadTmperature", 300, true},
                    {"Media Temperature:", &labMediaTmperature, "labMediaTmperature", 720, true},
                    {"Head Voltage:", &labHeadVoltage, "labHeadVoltage", 1140, false}};
    QList<QLabel*> headCaptions;
    for (const auto& row : headRows) {
        // The longest captions of the window: their values stand a little further right.
        headCaptions << caption(fraHeadMedia, row.caption, 120, row.top, 1620);
        *row.field = field(fraHeadMedia, row.name, 1740, row.top, 660);
        if (row.degrees) {
            unit(fraHeadMedia, "°", 2430, row.top - 30);
            unit(fraHeadMedia, "C", 2520, row.top);
        } else {
            unit(fraHeadMedia, "V", 2430, row.top);
        }
    }
    OneFace(headCaptions);

    cmdStart = new QPushButton(QStringLiteral("Start"), this);
    cmdStart->setObjectName("cmdStart");
    PlaceTwips(cmdStart, 3540, 3660, 1335, 375);
    cmdStop = new QPushButton(QStringLiteral("Stop"), this);
    cmdStop->setObjectName("cmdStop");
    PlaceTwips(cmdStop, 3540, 4080, 1335, 375);
    connect(cmdStart, &QPushButton::clicked, this, &frmSensorMonitor::cmdStart_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmSensorMonitor::cmdStop_Click);

    imgLED_COM = new QLabel(this);
    imgLED_COM->setObjectName("imgLED_COM");
    PlaceTwips(imgLED_COM, 4620, 3420, 240, 90);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(PollMs);
    connect(Timer1, &QTimer::timeout, this, &frmSensorMonitor::Timer1_Timer);

    SetHumidTable1();
    SetHumidTable2();
    ShowSensorData();
    ShowLed(imgLED_OFF);
    cmdStop->setEnabled(false);
}

void frmSensorMonitor::SetHumidTable1() {
    SensorMonitor::SetHumidTable1(HumidTable);
}

void frmSensorMonitor::SetHumidTable2() {
    SensorMonitor::SetHumidTable2(HumidTable);
}

void frmSensorMonitor::cmdStart_Click() {
    cmdStart->setEnabled(false);
    cmdStop->setEnabled(true);
    Silent = false;
    Timer1->setInterval(PollMs);
    Timer1->start();
    cmdStop->setFocus();
}

void frmSensorMonitor::cmdStop_Click() {
    ShowLed(imgLED_OFF);
    Timer1->stop();
    cmdStart->setEnabled(true);
    cmdStop->setEnabled(false);
    cmdStart->setFocus();
}

void frmSensorMonitor::Timer1_Timer() {
    // A tick that comes while another exchange is under way waits for the next one; it is not a
    // missing record.
    if (PrinterBusy()) return;
    const std::string record = Module2::ReadSensorInfo();
    if (record.empty() != Silent) {
        Silent = record.empty();
        Timer1->setInterval(Silent ? SilentPollMs : PollMs);
    }
    if (record.empty() || !ParseSensorData(record, HumidTable, Held)) {
        ShowLed(imgLED_RED);
        return;
    }
    ShowSensorData();
    ShowLed(LedBlink ? imgLED_RED : imgLED_GRN);
    LedBlink = !LedBlink;
}

void frmSensorMonitor::ShowSensorData() {
    const struct {
        QLabel* field;
        Slot slot;
    } shown[] = {{labHeadTmperature, HeadTemperature},
                 {labMediaTmperature, MediaTemperature},
                 {labHeadVoltage, HeadVoltage},
                 {labPaperEnd, PaperEnd},
                 {labPaperSize, PaperSize},
                 {labPaperJam, PaperOut},
                 {labPaperMark, PaperMark},
                 {labRibbonC, RibbonC},
                 {labRibbonR, RibbonR}};
    for (const auto& s : shown)
        s.field->setText(QString::fromStdString(FormatDecimals(Held.Value(s.slot), 2)));
    labHumid->setText(
        QString::fromStdString(FormatDecimals(static_cast<double>(Held.humidity), 1)));
}

void frmSensorMonitor::ShowLed(const QLabel* source) {
    imgLED_COM->setPixmap(source->pixmap());
}

void frmSensorMonitor::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    FixedDialog::closeEvent(event);
}
