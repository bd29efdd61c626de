// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// Departures through the whole program. Starts the application object and the main window the
// way main() does (settings, skin, style, languages, the window wiring the discovery service
// over the linked discovery library to the device list), offscreen, against 10,000 simulated
// devices on loopback. Then K of them go silent at once, as when a switch restarts, and the
// benchmark measures how long the GUI thread's event loop is blocked at worst until the list
// shows them gone: a 5 ms timer runs meanwhile and the longest gap between its ticks is the
// figure. The devices come back, and the next K go. Last, the peak memory of the process with
// 10,000 devices listed.
//
// Goals: the longest gap while 1,000 of 10,000 go offline within 100 ms, while 5,000 go within
// 300 ms; each K runs five times and the worst run counts. Peak memory within 100 MB.
//
// The library's time-outs are shortened so that a run takes seconds (VEXO_INQUIRY_INTERVAL_MS
// 1000, VEXO_OFFLINE_TIMEOUT_MS 5000 unless set). Everything stays on 127.0.0.1.
//
// Run from the build folder: VEXO_SCOPE=loopback bin/bench_departure_e2e (built beside the
// program, whose skin, style and settings it loads; about a minute).

#include "benchapplication.h"
#include "guithreadprobe.h"
#include "simulatorprocess.h"

#include <toolsapplication.h>
#include <vexotoolmainpage.h>

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <devicestore.h>
#include <vexohandler.h>
#include <vexolibrary.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>

namespace {

constexpr int kDevices = 10000;
constexpr int kRuns = 5;
constexpr double kMemoryGoalMb = 100;
constexpr int kReplySpreadMs = 300; // devices answer an inquiry within this, as on a real segment

struct Outage
{
    int count;
    double targetMs;
};
constexpr Outage kOutages[] = {{1000, 100.0}, {5000, 300.0}};

// Sends one console command per serial number at once and waits for all the answers.
bool commandAll(SimulatorProcess &simulator, const char *command, const QStringList &serials)
{
    QByteArray lines;
    for (const QString &serial : serials)
        lines += command + (' ' + serial.toLatin1()) + '\n';
    QProcess &process = simulator.process();
    process.write(lines);
    int answered = 0;
    const QDeadlineTimer deadline(60000);
    while (answered < serials.size() && !deadline.hasExpired()) {
        if (!process.canReadLine() && !process.waitForReadyRead(1000))
            continue;
        while (process.canReadLine()) {
            const QByteArray line = process.readLine().trimmed();
            if (line != "ok") {
                std::printf("the simulator answered \"%s\" to %s\n", line.constData(), command);
                return false;
            }
            ++answered;
        }
    }
    return answered == serials.size();
}

} // namespace

int main(int argc, char *argv[])
{
    setDefaultEnv("VEXO_INQUIRY_INTERVAL_MS", "1000");
    setDefaultEnv("VEXO_OFFLINE_TIMEOUT_MS", "5000");
    QTemporaryDir dir;
    if (!dir.isValid())
        return 2;
    auto app = startBenchApplication(QStringLiteral("bench_departure_e2e"), dir, argc, argv);
    if (!app)
        return 2;

    SimulatorProcess simulator;
    if (!simulator.start({QStringLiteral("--count"), QString::number(kDevices), QStringLiteral("--seed"),
                          QStringLiteral("2026"), QStringLiteral("--reply-spread-ms"),
                          QString::number(kReplySpreadMs)})) {
        std::printf("the simulator did not start\n");
        return 2;
    }
    QStringList serials;
    for (const QString &line : simulator.command(QStringLiteral("list"))) {
        if (line != QLatin1String("ok"))
            serials.append(line.section(QLatin1Char(' '), 0, 0));
    }
    if (serials.size() != kDevices) {
        std::printf("the simulator lists %lld devices\n", qlonglong(serials.size()));
        return 2;
    }
    qputenv("VEXO_PORT", QByteArray::number(simulator.port()));

    QElapsedTimer timer;
    timer.start();
    DeviceStore store;
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked());
    auto window = std::make_unique<VexoTool::VEXOToolMainPage>(&store, &discovery);
    apt::ToolsApplication::placeMainWindow(window.get());
    window->show();
    window->onMovePinButtion();
    VexoTool::DeviceInfoModel *model = window->deviceDisplayPage()->model();
    const auto rowsAre = [model](int rows) {
        return [model, rows] {
            return model->rowCount() == rows;
        };
    };

    const GuiThreadProbe listing = probeGuiThread(rowsAre(kDevices), 120000, 2000);
    if (!listing.reached) {
        std::printf("only %d of %d devices listed\n", model->rowCount(), kDevices);
        return 2;
    }
    std::printf(
        "departures through the main window, %d devices on loopback, inquiry every %s ms, offline after %s ms\n",
        kDevices, qgetenv("VEXO_INQUIRY_INTERVAL_MS").constData(), qgetenv("VEXO_OFFLINE_TIMEOUT_MS").constData());
    std::printf("%-44s %9.1f ms (longest gap %.1f ms)\n", "10,000 devices listed after", listing.reachedAfterMs,
                listing.longestGapMs);

    // The steady state: inquiries answered, nothing changes.
    const GuiThreadProbe quiet = probeGuiThread([] { return false; }, 2500, 0);
    std::printf("%-44s %9.1f ms\n", "longest gap, nothing changing", quiet.longestGapMs);

    std::mt19937 random(20260102);
    bool ok = true;
    bool reliable = model->rowCount() == kDevices;
    for (const Outage &outage : kOutages) {
        double worst = 0;
        double busyInWorst = 0;
        QList<double> gaps;
        double slowestShown = 0;
        for (int run = 0; run < kRuns && reliable; ++run) {
            QStringList gone = serials;
            std::shuffle(gone.begin(), gone.end(), random);
            gone.resize(outage.count);
            if (!commandAll(simulator, "vanish", gone))
                return 2;
            // At most: a device missing its answers under load would go as well, and show here.
            const GuiThreadProbe departure = probeGuiThread(
                [model, left = kDevices - outage.count] { return model->rowCount() <= left; }, 60000, 1000);
            reliable = reliable && departure.reached && model->rowCount() == kDevices - outage.count;
            if (departure.longestGapMs > worst)
                busyInWorst = departure.busyInLongestGapMs;
            worst = std::max(worst, departure.longestGapMs);
            slowestShown = std::max(slowestShown, departure.reachedAfterMs);
            gaps.append(departure.longestGapMs);

            if (!commandAll(simulator, "start", gone))
                return 2;
            reliable = reliable && probeGuiThread(rowsAre(kDevices), 60000, 1500).reached;
        }
        QStringList runs;
        for (const double gap : gaps)
            runs.append(QString::number(gap, 'f', 1));
        const QByteArray what = QStringLiteral("program: %1 of 10,000 leave, longest gap").arg(outage.count).toUtf8();
        const QByteArray note
            = QStringLiteral("runs: %1; GUI thread running %2 ms of the worst; all shown within %3 ms")
                  .arg(runs.join(QStringLiteral(", ")))
                  .arg(busyInWorst, 0, 'f', 1)
                  .arg(slowestShown, 0, 'f', 0)
                  .toUtf8();
        ok = printFigure(what.constData(), worst, outage.targetMs, "ms", note.constData()) && ok;
    }
    ok = printFigure("program: peak memory with 10,000 (VmHWM)", peakMemoryMb(), kMemoryGoalMb, "MB") && ok;
    if (!reliable)
        std::printf("the list did not follow the simulator (devices missed or left over): figures not valid\n");

    discovery.stop();
    window.reset();
    simulator.stop();
    app.reset();
    return ok && reliable ? 0 : 1;
}
