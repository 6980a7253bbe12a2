#pragma once
// The printer's sensors, live: while it runs, the monitor polls the sensor
// record every 100 ms and shows head and media temperature, head voltage, the
// paper and ribbon sensor voltages and the relative humidity. The indicator
// blinks green and red while records arrive and turns red when one does not.
// A poll waits for its reply only briefly, and a printer that does not answer
// is polled once a second until it answers again.
#include "core/sensor_record.h"
#include "maintenance/fixed_dialog.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

class frmSensorMonitor : public FixedDialog {
    Q_OBJECT
public:
    frmSensorMonitor();

    // Each (re)writes its columns of the humidity table.
    void SetHumidTable1();
    void SetHumidTable2();

    void cmdStart_Click();
    void cmdStop_Click();
    void Timer1_Timer();

    QGroupBox* fraPaper;
    QGroupBox* fraRibbon;
    QGroupBox* fraHumidity;
    QGroupBox* fraHeadMedia;
    QLabel* labPaperEnd;
    QLabel* labPaperSize;
    QLabel* labPaperJam;
    QLabel* labPaperMark;
    QLabel* labRibbonC;
    QLabel* labRibbonR;
    QLabel* labHumid;
    QLabel* labHeadTmperature;
    QLabel* labMediaTmperature;
    QLabel* labHeadVoltage;
    QPushButton* cmdStart;
    QPushButton* cmdStop;
    QLabel* imgLED_COM;
    // Picture sources only, never seen: the indicator shows a copy of one.
    QLabel* imgLED_RED;
    QLabel* imgLED_GRN;
    QLabel* imgLED_OFF;
    QTimer* Timer1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowSensorData();
    void ShowLed(const QLabel* source);

    SensorMonitor::HumidTable HumidTable;
    SensorMonitor::SensorValues Held;
    bool LedBlink = false;
    // The last poll had no answer: the polls are spaced out until one has.
    bool Silent = false;
};
