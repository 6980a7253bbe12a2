// How long one poll of the sensor monitor holds the user-interface thread: the exchange with the
// emulated printer, the parsing and conversion of the record, and the fields and indicator set
// (then painted as the event loop paints them). Its polls come every 100 ms; one should take well
// under 1 ms.
//
// Then the monitor running against a printer that does not answer (a pseudo-terminal on which
// nothing comes back), with the port's own reply timeout: the longest time the event loop is held
// and its share of the run. Each poll waits only briefly, and the polls of a silent printer are
// spaced out; the longest block should stay under 500 ms.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "core/maintenance_commands.h"
#include "core/parvel_link.h"
#include "core/sensor_record.h"
#include "maintenance/frm_sensor_monitor.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs `step` `rounds` times and prints the median, the 99th percentile and the slowest round.
void Measure(const char* what, int rounds, const std::function<void()>& step) {
    std::vector<double> us;
    us.reserve(static_cast<std::size_t>(rounds));
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        step();
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(us.begin(), us.end());
    std::printf("%-40s median %7.1f us   p99 %7.1f us   max %7.1f us   (%d rounds)\n", what,
                us[us.size() / 2], us[us.size() * 99 / 100], us.back(), rounds);
}

// The monitor polling a silent printer for a few seconds, the event loop watched by a heartbeat.
bool SilentPrinter(frmSensorMonitor& form) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::fprintf(stderr, "no pseudo-terminal for the silent printer\n");
        return false;
    }
    const std::string path = ptsname(master);
    const int line = open(path.c_str(), O_RDWR | O_NOCTTY);  // keeps the line up
    PortHandle = Parvel::JmInitialize(std::u16string(path.begin(), path.end()).c_str());

    constexpr int RunMs = 6000;
    QElapsedTimer clock;
    qint64 last = 0, longest = 0, held = 0;
    QTimer heartbeat;
    heartbeat.setInterval(5);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        if (now - last > 20) held += now - last;
        last = now;
    });
    int polls = 0;
    QObject::connect(form.Timer1, &QTimer::timeout, [&] { ++polls; });
    clock.start();
    heartbeat.start();
    form.cmdStart_Click();
    QTimer::singleShot(RunMs, [&] { QCoreApplication::exit(); });
    QCoreApplication::exec();
    form.cmdStop_Click();
    heartbeat.stop();
    close(line);
    close(master);
    std::printf("silent printer, %d s with the port's reply timeout:\n", RunMs / 1000);
    std::printf("  %-44s %5lld ms  target < 500 ms: %s\n", "longest block of the event loop",
                static_cast<long long>(longest), longest < 500 ? "met" : "NOT MET");
    std::printf("  %-44s %5.1f %%  (%d polls)\n", "time the event loop was held",
                100.0 * static_cast<double>(held) / clock.elapsed(), polls);
    return longest < 500;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 5000;

    PortHandle = Parvel::JmInitialize(u"EMU1:");
    if (PortHandle < 1) {
        std::fprintf(stderr, "the emulated printer cannot be registered\n");
        return 1;
    }
    frmSensorMonitor form;
    form.show();
    QCoreApplication::processEvents();
    form.cmdStart_Click();
    form.Timer1->stop();  // the rounds below are the polls

    SensorMonitor::HumidTable table;
    SensorMonitor::SetHumidTable1(table);
    SensorMonitor::SetHumidTable2(table);
    SensorMonitor::SensorValues held;
    const std::string record = Module2::ReadSensorInfo();

    Measure("exchange (ReadSensorInfo)", rounds, [] { Module2::ReadSensorInfo(); });
    Measure("parse and convert (ParseSensorData)", rounds,
            [&] { SensorMonitor::ParseSensorData(record, table, held); });
    Measure("one poll (exchange, parse, show)", rounds, [&] { form.Timer1_Timer(); });
    // What the event loop then does: paint the fields whose text changed.
    Measure("one poll and the painting it causes", rounds, [&] {
        form.Timer1_Timer();
        QCoreApplication::processEvents();
    });
    Measure("whole window repainted (for scale)", rounds / 10, [&] { form.repaint(); });
    std::printf("last head temperature shown: %s\n", qPrintable(form.labHeadTmperature->text()));
    return SilentPrinter(form) ? 0 : 1;
}
