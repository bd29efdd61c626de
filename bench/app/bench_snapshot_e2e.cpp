// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The list's snapshot view through the whole program. Starts the application object and the main
// window the way main() does, offscreen, against 500 simulated ONVIF cameras on loopback, signs
// in, switches the snapshot view on and scrolls the list from top to bottom a page at a time;
// after each scroll it measures how long until every camera row in view shows its thumbnail,
// while a 5 ms timer measures the GUI thread's longest gap between its ticks. It reports the
// peak memory the thumbnails added.
//
// Goals: the rows in view have their thumbnails within 2 s of each scroll, the longest gap
// within 50 ms. Everything stays on 127.0.0.0/8.
//
// Run from the build folder: VEXO_SCOPE=loopback bin/bench_snapshot_e2e (built beside the
// program, whose skin, style and settings it loads; about a minute).

#include "benchapplication.h"
#include "guithreadprobe.h"
#include "simulatorprocess.h"

#include <toolsapplication.h>
#include <vexotoolmainpage.h>

#include <devicedisplaypage.h>
#include <deviceinfo.h>
#include <deviceinfomodel.h>
#include <devicestore.h>
#include <onvifhandler.h>
#include <snapshotthumbnails.h>
#include <vexohandler.h>
#include <vexolibrary.h>

#include <QAction>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int kDevices = 500;
constexpr int kOwnDevices = 1;
constexpr double kThumbnailsTargetMs = 2000;
constexpr double kGapTargetMs = 50;

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 2;
    auto app = startBenchApplication(QStringLiteral("bench_snapshot_e2e"), dir, argc, argv);
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
    VexoTool::DeviceDisplayPage *page = window->deviceDisplayPage();
    VexoTool::DeviceInfoModel *model = page->model();

    if (!probeGuiThread([model] { return model->rowCount() >= kDevices + kOwnDevices; }, 30000, 0).reached) {
        std::printf("only %d of %d devices listed\n", model->rowCount(), kDevices + kOwnDevices);
        return 2;
    }
    window->signInOnvif(QStringLiteral("admin"), QStringLiteral("Admin12345"));
    if (!probeGuiThread([&identified] { return identified >= kDevices; }, 60000, 500).reached) {
        std::printf("only %d of %d devices identified\n", identified, kDevices);
        return 2;
    }

    resetPeakMemory();
    const double before = peakMemoryMb(); // what is in use now
    auto *view = page->findChild<QTreeView *>();
    auto *action = window->findChild<QAction *>(QStringLiteral("m_actionSnapshotView"));
    if (!view || !action)
        return 2;
    action->setChecked(true);
    VexoTool::SnapshotThumbnails *thumbnails = page->thumbnails();
    // Every camera row in view shows its thumbnail (or why it has none).
    const auto allShown = [view, page, thumbnails] {
        int shown = 0;
        for (QModelIndex index = view->indexAt(QPoint(1, 1));
             index.isValid() && view->visualRect(index).top() < view->viewport()->height();
             index = view->indexBelow(index)) {
            const DeviceInfo device = page->deviceInfoOfRow(page->viewModel()->mapToSource(index).row());
            if (thumbnails->source()->available(device) && !thumbnails->entry(device))
                return false;
            ++shown;
        }
        return shown > 0;
    };
    std::printf("The list's snapshot view through the main window, %d simulated cameras on loopback\n", kDevices);
    QScrollBar *scroll = view->verticalScrollBar();
    double slowest = 0;
    double longestGap = 0;
    int pages = 0;
    bool allReached = true;
    for (int value = 0;; value = std::min(scroll->maximum(), value + scroll->pageStep())) {
        QElapsedTimer clock;
        clock.start();
        scroll->setValue(value);
        const GuiThreadProbe probe = probeGuiThread(clock, allShown, 10000, 0);
        allReached = allReached && probe.reached;
        slowest = std::max(slowest, probe.reached ? probe.reachedAfterMs : 10000.0);
        longestGap = std::max(longestGap, probe.longestGapMs);
        ++pages;
        if (value >= scroll->maximum())
            break;
    }
    const QByteArray note
        = QStringLiteral("%1 pages, %2 thumbnails kept").arg(pages).arg(thumbnails->cachedCount()).toUtf8();
    bool ok = printFigure("Snapshot view: thumbnails in view after a scroll (slowest page)", allReached ? slowest : -1,
                          kThumbnailsTargetMs, "ms", note.constData());
    ok = printFigure("Snapshot view: longest GUI gap", longestGap, kGapTargetMs, "ms") && ok;
    std::printf("Snapshot view: peak memory added %.1f MB (%.1f MB before, thumbnails %.1f MB)\n",
                std::max(0.0, peakMemoryMb() - before), before, thumbnails->cachedBytes() / 1048576.0);
    discovery.stop();
    window.reset();
    onvif.reset();
    simulator.stop();
    app.reset();
    return ok ? 0 : 1;
}
