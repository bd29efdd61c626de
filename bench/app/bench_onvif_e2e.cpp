// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// ONVIF devices through the whole program. Starts the application object and the main window
// the way main() does, with the ONVIF discovery service, offscreen, against 500 simulated ONVIF
// devices (and one of the program's own protocol) on loopback; measures how long after the window's start all of them are listed, and
// how long after the sign-in all of them are identified, while a 5 ms timer measures the GUI
// thread's longest gap between its ticks.
//
// Goals: 500 devices listed within 1 s of start, identified within 5 s of sign-in, the longest
// gap within 50 ms meanwhile. Everything stays on 127.0.0.0/8.
//
// Run from the build folder: VEXO_SCOPE=loopback bin/bench_onvif_e2e (built beside the program,
// whose skin, style and settings it loads; about half a minute).

#include "benchapplication.h"
#include "guithreadprobe.h"
#include "simulatorprocess.h"

#include <toolsapplication.h>
#include <vexotoolmainpage.h>

#include <deviceinfo.h>
#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <devicestore.h>
#include <onvifhandler.h>
#include <vexohandler.h>
#include <vexolibrary.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kDevices = 500;
constexpr int kOwnDevices = 1; // the simulator plays at least one device of the program's own protocol
constexpr double kListedTargetMs = 1000;
constexpr double kIdentifiedTargetMs = 5000;
constexpr double kGapTargetMs = 50;

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 2;
    auto app = startBenchApplication(QStringLiteral("bench_onvif_e2e"), dir, argc, argv);
    if (!app)
        return 2;

    SimulatorProcess simulator;
    if (!simulator.start({QStringLiteral("--count"), QString::number(kOwnDevices), QStringLiteral("--onvif"),
                          QString::number(kDevices), QStringLiteral("--seed"), QStringLiteral("2026"),
                          QStringLiteral("--test-mode")})
        || simulator.wsdPort() == 0) {
        std::printf("the simulator did not start\n");
        return 2;
    }
    qputenv("VEXO_PORT", QByteArray::number(simulator.port()));
    qputenv("VEXO_WSD_PORT", QByteArray::number(simulator.wsdPort()));
    const auto options = onvif::ClientOptions::fromEnvironment();
    if (!options)
        return 2;

    QElapsedTimer clock;
    clock.start();
    auto onvif = std::make_unique<VEXO::OnvifHandler>(*options);
    int identified = 0;
    QObject::connect(
        onvif.get(), &VEXO::OnvifHandler::signalDeviceOnline, app.get(),
        [&identified](const VEXO_DEVICE_INFO &record) { identified += isUnidentifiedOnvif(record) ? 0 : 1; });
    DeviceStore store;
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked());
    auto window = std::make_unique<VexoTool::VEXOToolMainPage>(&store, &discovery, onvif.get());
    apt::ToolsApplication::placeMainWindow(window.get());
    window->show();
    window->onMovePinButtion();
    VexoTool::DeviceInfoModel *model = window->deviceDisplayPage()->model();

    const GuiThreadProbe listing = probeGuiThread(
        clock, [model] { return model->rowCount() >= kDevices + kOwnDevices; }, 30000, 500);
    std::printf("ONVIF devices through the main window, %d simulated devices on loopback\n", kDevices);
    const QByteArray listingNote = QStringLiteral("longest gap %1 ms (GUI thread running %2 ms of it)")
                                       .arg(listing.longestGapMs, 0, 'f', 1)
                                       .arg(listing.busyInLongestGapMs, 0, 'f', 1)
                                       .toUtf8();
    bool ok = printFigure("ONVIF: 500 listed after the start", listing.reached ? listing.reachedAfterMs : -1,
                          kListedTargetMs, "ms", listingNote.constData());
    if (!listing.reached) {
        std::printf("only %d of %d devices listed\n", model->rowCount(), kDevices + kOwnDevices);
        return 2;
    }

    QElapsedTimer signIn;
    signIn.start();
    window->signInOnvif(QStringLiteral("admin"), QStringLiteral("Admin12345"));
    const GuiThreadProbe identifying = probeGuiThread(
        signIn, [&identified, model] { return identified >= kDevices && model->rowCount() == kDevices + kOwnDevices; },
        60000, 500);
    const QByteArray identifyingNote = QStringLiteral("longest gap %1 ms (GUI thread running %2 ms of it)")
                                           .arg(identifying.longestGapMs, 0, 'f', 1)
                                           .arg(identifying.busyInLongestGapMs, 0, 'f', 1)
                                           .toUtf8();
    ok = printFigure("ONVIF: 500 identified after the sign-in", identifying.reached ? identifying.reachedAfterMs : -1,
                     kIdentifiedTargetMs, "ms", identifyingNote.constData())
         && ok;
    if (!identifying.reached)
        std::printf("only %d of %d devices identified\n", identified, kDevices);
    const double gap = std::max(listing.longestGapMs, identifying.longestGapMs);
    ok = printFigure("ONVIF: longest GUI gap", gap, kGapTargetMs, "ms") && ok;
    discovery.stop();
    window.reset();
    onvif.reset();
    simulator.stop();
    app.reset();
    return ok ? 0 : 1;
}
