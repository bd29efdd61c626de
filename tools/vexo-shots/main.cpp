// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
//
// vexo-shots OUTDIR: starts simulated devices on loopback, opens the main window as the program
// does, and saves a screenshot of the window and of each dialog it can show into OUTDIR.
// Run it under a virtual X server; the screen is grabbed as the window system shows it.

#include "toolsapplication.h"
#include "vexotoolmainpage.h"

#include <aboutdialog.h>
#include <devicedisplaypage.h>
#include <deviceinfo.h>
#include <deviceinfomodel.h>
#include <devicemodifypage.h>
#include <devicemodifyresultpage.h>
#include <devicesinfosavepage.h>
#include <devicestore.h>
#include <journal.h>
#include <journalpagemodel.h>
#include <journalrecords.h>
#include <journalwindow.h>
#include <multistatelineedit.h>
#include <onvifhandler.h>
#include <linkmessagebox.h>
#include <menu.h>
#include <onvifchanger.h>
#include <pinbutton.h>
#include <plandialog.h>
#include <resetpassworddialog.h>
#include <resetpasswordwidget.h>
#include <snapshotpainter.h>
#include <snapshotsource.h>
#include <restorepassworddialog.h>
#include <subnetreach.h>
#include <warningdialog.h>
#include <vexohandler.h>
#include <windowtitle.h>

#include <QAbstractButton>
#include <QAbstractProxyModel>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QCheckBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QStandardItem>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <QUdpSocket>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

QString s_outDir;
// The panel beside the list, for the close-ups of shots without a dialog.
QPointer<QWidget> s_panel;
// The names of the panel's buttons seen in the shots and of the menu's entries, for the manual's
// test: each must be named in the manual of the language.
QStringList s_names;

void noteName(QString text)
{
    text.remove(u'&');
    text = text.trimmed();
    if (!text.isEmpty() && !s_names.contains(text))
        s_names.append(text);
}

void notePanelButtons()
{
    if (!s_panel || !s_panel->isVisible())
        return;
    for (const QPushButton *button : s_panel->findChildren<QPushButton *>()) {
        // Dialogs the panel opens are windows of their own.
        if (button->isVisible() && button->window() == s_panel->window())
            noteName(button->text());
    }
}

void noteMenu(const QMenu *menu)
{
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        noteName(action->text());
        if (action->menu())
            noteMenu(action->menu());
    }
}

void writeNames()
{
    QFile file(s_outDir + QStringLiteral("/program-names.txt"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        file.write(s_names.join(u'\n').toUtf8() + '\n');
    else
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
}

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Rows of one colour at the bottom (empty panel, its frame) go.
QImage withoutEmptyBottom(const QImage &image)
{
    int bottom = image.height();
    while (bottom > 1) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(bottom - 1));
        // The outermost pixels are the frame's edge, in colours of their own.
        const int edge = std::min(4, image.width() / 4);
        const QRgb *first = row + edge;
        if (!std::all_of(first, row + image.width() - edge, [first](QRgb pixel) { return pixel == *first; }))
            break;
        --bottom;
    }
    return image.copy(0, 0, image.width(), std::min(image.height(), bottom + 12));
}

// NAME.png is the whole screen; NAME-close.png the dialog in front or, without one, the panel,
// large enough to read in the user manual.
void shoot(const QString &name)
{
    notePanelButtons();
    const QString path = s_outDir + QLatin1Char('/') + name + QStringLiteral(".png");
    const QImage screen
        = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (screen.save(path))
        std::printf("%s\n", qPrintable(path));
    else
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    QRect area;
    if (QWidget *modal = QApplication::activeModalWidget())
        area = modal->frameGeometry();
    else if (s_panel && s_panel->isVisible())
        area = QRect(s_panel->mapToGlobal(QPoint(0, 0)), s_panel->size());
    area = area.intersected(screen.rect());
    if (!area.isEmpty())
        withoutEmptyBottom(screen.copy(area)).save(s_outDir + QLatin1Char('/') + name + QStringLiteral("-close.png"));
}

// NAME.png is only @p area of the screen (global coordinates), for the parts of a window that a
// whole-window picture would shrink below reading size in the manual.
void shootArea(const QString &name, const QRect &area)
{
    const QImage screen
        = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const QRect inside = area.intersected(screen.rect());
    const QString path = s_outDir + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!inside.isEmpty() && screen.copy(inside).save(path))
        std::printf("%s\n", qPrintable(path));
    else
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// The top left of @p widget, at most @p size: the part a reader needs, at full size.
QRect topLeftOf(const QWidget *widget, const QSize &size)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size().boundedTo(size));
}

// The visible tool tip, if any.
QWidget *visibleToolTip()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->inherits("QTipLabel"))
            return widget;
    }
    return nullptr;
}

// The menu entry that switches the batch operations on and off: the checkable entry of the
// title bar's menu. Null while the program has none.
QAction *batchOperationsAction(VexoTool::VEXOToolMainPage &window)
{
    for (QAction *action : window.aboutMenu()->actions()) {
        if (action->isCheckable())
            return action;
    }
    return nullptr;
}

// start() runs a modal dialog; meanwhile the screen is shot and finish() ends the dialog.
void shootModal(const QString &name, const std::function<void()> &start, const std::function<void(QWidget *)> &finish)
{
    QTimer::singleShot(700, [name, finish] {
        shoot(name);
        if (QWidget *modal = QApplication::activeModalWidget())
            finish(modal);
    });
    start();
}

void clickChild(QWidget *parent, const char *objectName)
{
    if (auto *button = parent->findChild<QAbstractButton *>(QLatin1String(objectName)))
        button->click();
    else
        parent->close();
}

QString translated(const char *context, const char *text)
{
    return QCoreApplication::translate(context, text);
}

void setField(QWidget *parent, const char *objectName, const QString &text)
{
    if (auto *field = parent->findChild<QLineEdit *>(QLatin1String(objectName)))
        field->setText(text);
}

// The first listed device that @p wanted accepts, else an empty record.
template<typename Wanted>
VEXO_DEVICE_INFO deviceWhere(Wanted wanted)
{
    QVector<VEXO_DEVICE_INFO> records;
    DeviceStore::instance()->copyAll(records);
    for (const VEXO_DEVICE_INFO &record : std::as_const(records)) {
        if (!record.inactive && wanted(record))
            return record;
    }
    return VEXO_DEVICE_INFO{};
}

// The reset dialog of @p record through its steps: the QR code, a refused confirmation, a typed key
// with the strength meter.
void shootResetDialog(QWidget *window, const QString &name, const VEXO_DEVICE_INFO &record)
{
    const bool newFormat = record.keyFormatFlags & VEXO_KEYFMT_NEW;
    VexoTool::ResetPasswordDialog dialog(*VEXO::VexoHandler::instance(), window, fieldText(record.serialNumber),
                                         fieldText(record.deviceTypeText), newFormat,
                                         record.capabilityFlags & VEXO_CAP_RESET_IPC);
    QTimer::singleShot(700, [&] {
        shoot(name + QStringLiteral("-1-open"));
        clickChild(&dialog, "m_btnQRcode");
        pause(300);
        shoot(name + QStringLiteral("-2-qr-code"));
        QTimer::singleShot(400, [name] { shoot(name + QStringLiteral("-3-no-key")); });
        clickChild(&dialog, "btnConfirm");
        setField(&dialog, "m_lineEditFilePath",
                 newFormat ? QStringLiteral("RK2.3q0Yb1…") : QStringLiteral("/home/installer/reset.xml"));
        setField(&dialog, "m_lineEditNewPassword", QStringLiteral("Abcd1234"));
        setField(&dialog, "m_lineEditConfirmPassword", QStringLiteral("Abcd1234"));
        pause(300);
        shoot(name + QStringLiteral("-4-filled"));
        dialog.reject();
    });
    dialog.exec();
}

// An ONVIF device as the ONVIF service lists it: identified (serial number, MAC, settings) or,
// without a MAC, known only by its endpoint reference and the address it announced.
VEXO_DEVICE_INFO onvifRecord(const QByteArray &serialOrEndpoint, const QByteArray &mac, const QByteArray &model,
                             const QByteArray &ipv4)
{
    VEXO_DEVICE_INFO record{};
    setFieldText(record.leadText, OnvifLeadText);
    setFieldText(record.serialNumber, serialOrEndpoint);
    setFieldText(record.macAddress, mac);
    setFieldText(record.ipv4Address, ipv4);
    record.httpPort = 80;
    if (!mac.isEmpty()) {
        setFieldText(record.deviceTypeText, model);
        setFieldText(record.ipv4SubnetMask, "255.255.255.0");
        setFieldText(record.ipv4Gateway, ipv4.left(ipv4.lastIndexOf('.') + 1) + '1');
        setFieldText(record.softwareVersion, "2.4.1");
        record.capabilityFlags = VEXO_CAP_DHCP;
        record.extendedInfoValid = 0;
    }
    return record;
}

// Stands in for the ONVIF client: every change is accepted and needs a restart, so that the panel
// asks its question. Nothing goes on the network.
class RestartingChanger final : public VexoTool::OnvifChanger
{
public:
    VexoTool::OnvifOutcome setNetParams(const VexoTool::OnvifTarget &, const DeviceNetParam &) override
    {
        return {true, true, {}, {}};
    }
    VexoTool::OnvifOutcome reboot(const VexoTool::OnvifTarget &) override { return {true, false, {}, {}}; }
};

// Ticks the one row of @p record in the list (single selection: the others are unticked).
// What the ONVIF rows' cameras "see": the simulator's pictures of them, without any network.
class PaintedSnapshots final : public VexoTool::SnapshotSource
{
public:
    bool available(const DeviceInfo &device) const override
    {
        return !device.strMAC.isEmpty()
               && (device.protocol == DeviceProtocol::Onvif || device.strDeviceType.contains(QLatin1String("ONVIF")));
    }
    void take(const DeviceInfo &device, QSize scaledTo, QObject *context, const Callback &done) override
    {
        OnvifDeviceState state;
        state.serial = device.strSerialNumber;
        state.model = device.strDeviceType;
        state.ipv4 = device.strIPv4Address;
        onvif::Snapshot snapshot;
        snapshot.image = SnapshotPainter::paint(state);
        snapshot.size = snapshot.image.size();
        if (scaledTo.isValid())
            snapshot.image = snapshot.image.scaled(scaledTo, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        snapshot.format = onvif::ImageCheck::Format::Jpeg;
        snapshot.takenAt = QDateTime::currentDateTimeUtc();
        snapshot.elapsedMs = 180;
        onvif::SnapshotOutcome outcome;
        outcome.snapshot = snapshot;
        QTimer::singleShot(50, context, [done, outcome] { done(outcome); });
    }
};

void tickOnly(VexoTool::DeviceInfoModel *model, const VEXO_DEVICE_INFO &record)
{
    for (int row = 0; row < model->rowCount(); ++row)
        model->setCheckState(row, Qt::Unchecked);
    const int row = model->rowOf(fieldText(record.serialNumber), fieldText(record.macAddress));
    if (row >= 0)
        model->setCheckState(row, Qt::Checked);
    pause(300);
}

} // namespace

int main(int argc, char *argv[])
{
    // The simulated devices and the program talk over loopback only.
    qputenv("VEXO_SCOPE", "loopback");
    // The batch key export writes into the home folder: one of this run's own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());

    // An instance key of its own per run: a second run (another build's manual) must not stop at
    // "already running", and the program running beside it must not either.
    apt::ToolsApplication app(QStringLiteral("400VEXOToolShots-%1").arg(QCoreApplication::applicationPid()), argc,
                              argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vexo-shots OUTDIR\n");
        return 2;
    }
    s_outDir = args.at(1);
    QDir().mkpath(s_outDir);
    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath() + QStringLiteral("/plugins"));
    if (!app.initialize())
        return 1;

    QProcess simulator;
    simulator.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vexo-devsim"),
                    {QStringLiteral("--scope"), QStringLiteral("loopback"), QStringLiteral("--port"),
                     QStringLiteral("0"), QStringLiteral("--count"), QStringLiteral("24"), QStringLiteral("--seed"),
                     QStringLiteral("2026"), QStringLiteral("--test-mode"),
                     // Slow enough answers that a batch's progress can be seen.
                     QStringLiteral("--delay-ms"), QStringLiteral("150")});
    QByteArray line;
    const QDeadlineTimer ready(10000);
    while (!line.startsWith("ready") && !ready.hasExpired() && simulator.waitForReadyRead(1000))
        line = simulator.readLine().trimmed();
    if (!line.startsWith("ready ")) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }
    qputenv("VEXO_PORT", line.mid(6));

    // The ONVIF service as the program has it (its menu entry shows), probing a free loopback
    // port where nothing answers: the pictures show the simulator's devices alone.
    {
        QUdpSocket freePort;
        freePort.bind(QHostAddress::LocalHost, 0);
        qputenv("VEXO_WSD_PORT", QByteArray::number(freePort.localPort()));
    }
    const auto onvifOptions = onvif::ClientOptions::fromEnvironment();
    std::unique_ptr<VEXO::OnvifHandler> onvif
        = onvifOptions ? std::make_unique<VEXO::OnvifHandler>(*onvifOptions) : nullptr;

    AboutDialog::setUrlOpener([](const QUrl &) { return false; });
    // A journal of this run's own, which the window writes into and shows.
    VexoTool::JournalSettings journalSettings;
    journalSettings.databasePath = home.filePath(QStringLiteral("journal.sqlite"));
    VexoTool::Journal journal(journalSettings);
    VexoTool::VEXOToolMainPage window(DeviceStore::instance(), VEXO::VexoHandler::instance(), onvif.get());
    const apt::MainWindowGeometry geometry
        = apt::ToolsApplication::mainWindowGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.resize(geometry.size);
    window.move(geometry.position.value_or(QPoint(0, 0)));
    window.show();
    window.onMovePinButtion();

    VexoTool::DeviceInfoModel *model = window.deviceDisplayPage()->model();
    const QDeadlineTimer listed(10000);
    while (model->rowCount() < 24 && !listed.hasExpired())
        pause(100);
    pause(300);
    shoot(QStringLiteral("01-main-window"));
    shootArea(QStringLiteral("01-main-window-list"), topLeftOf(&window, QSize(760, 420)));
    {
        // The pin button on the panel's edge, with a little of the list and the panel around it.
        const auto *pin = window.findChild<aptui::PinButton *>();
        const QWidget *panel = window.deviceModifyPage();
        const QPoint centre = pin && pin->isVisible() && !pin->size().isEmpty()
                                  ? pin->mapToGlobal(pin->rect().center())
                                  : panel->mapToGlobal(QPoint(0, panel->height() / 2));
        shootArea(QStringLiteral("01-pin-button"), QRect(centre - QPoint(230, 110), QSize(460, 220)));
    }

    // A range typed in a form the filter does not read: the hint under the box.
    if (auto *filter = window.deviceDisplayPage()->findChild<QLineEdit *>(QStringLiteral("m_lineEditFilter"))) {
        filter->setText(QStringLiteral("198.51.100.4-11"));
        pause(300);
        shootArea(QStringLiteral("02m-filter-hint"), topLeftOf(window.deviceDisplayPage(), QSize(760, 200)));
        filter->clear();
        pause(200);
    }

    // One device checked, as an installer would before changing it.
    model->setCheckState(2, Qt::Checked);
    pause(200);
    shoot(QStringLiteral("02-device-checked"));

    // The tool tip of a cell too narrow for its text.
    if (auto *table = window.deviceDisplayPage()->findChild<QTreeView *>(QStringLiteral("m_tableViewVexo"))) {
        const int column = model->columnOf(VexoTool::DeviceInfoModel::ColumnSoftVersion);
        const QRect cell = table->visualRect(table->model()->index(4, column));
        QHelpEvent help(QEvent::ToolTip, cell.center(), table->viewport()->mapToGlobal(cell.center()));
        QCoreApplication::sendEvent(table->viewport(), &help);
        pause(500);
        shoot(QStringLiteral("02-device-checked-tool-tip"));
        QRect area(table->viewport()->mapToGlobal(cell.topLeft()), cell.size());
        if (const QWidget *tip = visibleToolTip())
            area = area.united(tip->frameGeometry());
        shootArea(QStringLiteral("02-tool-tip"), area.adjusted(-260, -70, 60, 30));
        QToolTip::hideText();
    }

    // The modify panel in each of its views.
    VexoTool::DeviceModifyPage *panel = window.deviceModifyPage();
    s_panel = panel;
    VexoTool::DeviceDisplayPage *list = window.deviceDisplayPage();
    QVector<DeviceInfo> activated;
    QVector<DeviceInfo> inactive;
    for (int row = 0; row < model->rowCount(); ++row) {
        const DeviceInfo info = list->deviceInfoOfRow(row);
        VEXO_DEVICE_INFO record{};
        DeviceStore::instance()->get(info.strSerialNumber, info.strMAC, record);
        (record.inactive ? inactive : activated).append(info);
    }
    model->setCheckState(2, Qt::Unchecked);
    pause(200);
    shoot(QStringLiteral("02a-panel-no-device"));
    panel->onCurrentSelectionChange(ModifySingle, {activated.value(0)});
    pause(200);
    shootModal(
        QStringLiteral("02b-panel-admin-password-missing"),
        [panel] { panel->findChild<QPushButton *>(QStringLiteral("m_btnModify"))->click(); },
        [](QWidget *modal) { modal->close(); });
    shoot(QStringLiteral("02c-panel-single-modify-marked"));
    panel->onCurrentSelectionChange(ModifyBatch, activated.mid(0, 3));
    pause(200);
    shoot(QStringLiteral("02d-panel-batch-modify"));
    panel->findChild<QCheckBox *>(QStringLiteral("m_checkBoxBatchDHCP"))->click();
    pause(200);
    shoot(QStringLiteral("02e-panel-batch-modify-dhcp"));
    panel->onCurrentSelectionChange(ActivateSingle, {inactive.value(0)});
    panel->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditNewPassword"))
        ->setText(QStringLiteral("Abcd1234"));
    pause(200);
    shoot(QStringLiteral("02f-panel-activate-single"));
    panel->onCurrentSelectionChange(ActivateBatch, inactive.mid(0, 2));
    panel->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditNewPassword"))
        ->setText(QStringLiteral("Abcd1234!x"));
    pause(200);
    shoot(QStringLiteral("02g-panel-activate-batch"));
    panel->onCurrentSelectionChange(ActivateMixed, {activated.value(0), inactive.value(0)});
    pause(200);
    shoot(QStringLiteral("02h-panel-mixed"));
    QVector<DeviceInfo> outcome = activated.mid(0, 4);
    for (int j = 0; j < outcome.size(); ++j)
        outcome[j].strResult
            = j == 2 ? QStringLiteral("Error2009:device deny") : translated("VexoTool::DeviceModifyPage", "Succeed");
    for (const bool activation : {false, true}) {
        shootModal(
            QStringLiteral("02%1-result-list-%2")
                .arg(activation ? QLatin1Char('j') : QLatin1Char('i'))
                .arg(activation ? QStringLiteral("activation") : QStringLiteral("modification")),
            [&outcome, activation] {
                VexoTool::DeviceModifyResultPage resultList;
                if (activation)
                    resultList.setOperation(VexoTool::DeviceModifyResultPage::Operation::Activation);
                resultList.setDevices(outcome);
                resultList.exec();
            },
            [](QWidget *modal) { modal->close(); });
    }
    // A batch activation: its progress, then its result list.
    panel->onCurrentSelectionChange(ActivateBatch, inactive.mid(0, 3));
    panel->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditNewPassword"))
        ->setText(QStringLiteral("Abcd1234!x"));
    panel->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditConfirmPassword"))
        ->setText(QStringLiteral("Abcd1234!x"));
    shootModal(
        QStringLiteral("02k-batch-progress"),
        [panel] { panel->findChild<QPushButton *>(QStringLiteral("m_btnActive"))->click(); },
        [](QWidget *) {
            auto *closer = new QTimer;
            QObject::connect(closer, &QTimer::timeout, closer, [closer] {
                if (auto *list = qobject_cast<VexoTool::DeviceModifyResultPage *>(QApplication::activeModalWidget())) {
                    shoot(QStringLiteral("02l-batch-result-list"));
                    list->close();
                    closer->deleteLater();
                }
            });
            closer->start(300);
        });
    panel->onCurrentSelectionChange(ModifySingle, {});
    pause(200);

    // The about menu opens at the cursor, over the title bar's menu button.
    QCursor::setPos(window.mapToGlobal(QPoint(window.width() - 120, 16)));
    window.OnBtnSystemMenu();
    pause(500);
    shoot(QStringLiteral("03-about-menu"));
    const auto menuArea = [&window] {
        const QRect titleBarEnd(window.mapToGlobal(QPoint(window.width() - 240, 0)), QSize(240, 34));
        return window.aboutMenu()->frameGeometry().united(titleBarEnd).adjusted(-16, 0, 0, 16);
    };
    shootArea(QStringLiteral("03-title-bar-menu"), menuArea());
    window.aboutMenu()->close();
    pause(200);

    // Batch operations: switched on in the menu, several rows ticked, the list's batch buttons.
    QAction *batchOperations = batchOperationsAction(window);
    if (!batchOperations)
        std::fprintf(stderr, "the menu has no batch operations entry: the batch shots show the list as it is\n");
    else if (!batchOperations->isChecked())
        batchOperations->trigger();
    pause(300);
    window.OnBtnSystemMenu();
    pause(500);
    shootArea(QStringLiteral("21-batch-menu"), menuArea());
    window.aboutMenu()->close();
    pause(200);
    {
        int ticked = 0;
        for (int row = 0; row < model->rowCount() && ticked < 3; ++row) {
            VEXO_DEVICE_INFO record{};
            const DeviceInfo info = list->deviceInfoOfRow(row);
            if (DeviceStore::instance()->get(info.strSerialNumber, info.strMAC, record) && !record.inactive) {
                model->setCheckState(row, Qt::Checked);
                ++ticked;
            }
        }
        pause(400);
        shoot(QStringLiteral("22-batch-ticked"));
        shootArea(QStringLiteral("22-batch-list"), topLeftOf(list, QSize(700, 250)));
        QRect buttons;
        for (const char *name :
             {"m_btnConfigReset", "m_btnExportDeviceInfo", "m_btnRefreshDeviceInfo", "m_btnConfigExportFile"}) {
            const auto *button = list->findChild<QPushButton *>(QLatin1String(name));
            if (button && button->isVisible())
                buttons |= QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
        }
        // The bar above the list (the device count, the buttons) and the header row below it.
        if (!buttons.isEmpty()) {
            const QPoint listTopLeft = list->mapToGlobal(QPoint(0, 0));
            shootArea(QStringLiteral("22-batch-buttons"),
                      QRect(listTopLeft, QPoint(buttons.right() + 12, buttons.bottom() + 60)));
        }
        // Export Keys of the ticked devices: the message that counts them and names the folder.
        auto *closer = new QTimer;
        QObject::connect(closer, &QTimer::timeout, closer, [closer] {
            if (auto *message = qobject_cast<aptui::LinkMessageBox *>(QApplication::activeModalWidget())) {
                pause(300);
                shoot(QStringLiteral("25-export-keys-message"));
                message->close();
                closer->deleteLater();
            }
        });
        closer->start(200);
        list->onConfigExportFile();
        for (int row = 0; row < model->rowCount(); ++row)
            model->setCheckState(row, Qt::Unchecked);
    }
    {
        // "Apply plan" with a plan for the first listed devices: two new addresses, an address
        // another device keeps, a device that is not listed.
        QVector<VEXO_DEVICE_INFO> records;
        DeviceStore::instance()->copyAll(records);
        QTemporaryDir planFolder;
        const QString planPath = planFolder.filePath(QStringLiteral("site-plan.csv"));
        QByteArray plan("serial,ipv4,mask,gateway,dhcp\n");
        for (int i = 0; i < 3 && i + 3 < records.size(); ++i) {
            const VEXO_DEVICE_INFO &source = i == 2 ? records.at(3) : records.at(i);
            const QByteArray address(source.ipv4Address);
            const QByteArray planned
                = i == 2 ? address : address.left(address.lastIndexOf('.') + 1) + QByteArray::number(201 + i);
            plan += QByteArray(records.at(i).serialNumber) + ',' + planned + ',' + source.ipv4SubnetMask + ','
                    + source.ipv4Gateway + ",off\n";
        }
        plan += "VX-NOT-LISTED-0001,192.0.2.50,255.255.255.0,192.0.2.1,off\n";
        QFile planFile(planPath);
        if (planFile.open(QIODevice::WriteOnly))
            planFile.write(plan);
        planFile.close();
        shootModal(
            QStringLiteral("24-apply-plan"),
            [&window, &planPath] {
                VexoTool::PlanDialog dialog(*DeviceStore::instance(), *VEXO::VexoHandler::instance(), &window);
                dialog.loadPlan(planPath);
                dialog.exec();
            },
            [](QWidget *modal) { modal->close(); });
    }
    if (batchOperations && batchOperations->isChecked())
        batchOperations->trigger();
    pause(300);
    {
        // The journal window over a few days of work on the listed devices, one change failed.
        QVector<VEXO_DEVICE_INFO> records;
        DeviceStore::instance()->copyAll(records);
        const QList<VexoTool::JournalFlow> flows{
            VexoTool::JournalFlow::Activation,         VexoTool::JournalFlow::NetworkChange,
            VexoTool::JournalFlow::BatchNetworkChange, VexoTool::JournalFlow::PlanApply,
            VexoTool::JournalFlow::PasswordReset,      VexoTool::JournalFlow::BatchNetworkChange};
        for (int i = 0; i < flows.size() && i < records.size(); ++i) {
            const VEXO_DEVICE_INFO &record = records.at(i);
            VexoTool::JournalValues after = VexoTool::journalValuesOf(record);
            const QString address = after.ipv4Address;
            after.ipv4Address = address.left(address.lastIndexOf(u'.') + 1) + QString::number(101 + i);
            const bool failed = i == 4;
            VexoTool::writeJournalEntry(&journal, flows.at(i), record, after, !failed,
                                        failed ? translated("VexoTool::JournalRecords", "Error %1").arg(2009)
                                               : QString());
        }
        journal.flush();
        window.setJournal(&journal);
        window.openJournal();
        pause(700);
        // The window reads the journal on a thread of its own: the picture waits for the rows.
        for (int waited = 0; window.journalWindow() && window.journalWindow()->model()->isBusy() && waited < 3000;
             waited += 50)
            pause(50);
        if (QWidget *journalWindow = window.journalWindow()) {
            shootArea(QStringLiteral("25-journal-window"), journalWindow->frameGeometry());
            journalWindow->close();
        }
        pause(300);
    }

    shootModal(
        QStringLiteral("04-exit-question"), [&window] { window.close(); },
        [](QWidget *modal) { clickChild(modal, "btnCancel"); });

    shootModal(
        QStringLiteral("05-no-user-manual"),
        [&window] {
            QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &f1);
        },
        [](QWidget *modal) { modal->close(); });

    const QPoint warningAt = window.mapToGlobal(QPoint(window.width() / 2 - 155, window.height() / 2 - 60));
    // Messages the program shows, so each screenshot is in the language of its run.
    const QString warnings[]
        = {translated("VexoTool::DeviceModifyPage", "Succeed"), translated("AboutDialog", "No user manual found."),
           translated("VexoTool::VEXOToolMainPage", "Initialization failed.")};
    for (int kind = 0; kind < 3; ++kind) {
        shootModal(
            QStringLiteral("%1-warning-kind-%2").arg(6 + kind, 2, 10, QLatin1Char('0')).arg(kind),
            [&] { VexoTool::WarningDialog::showWarning(warningAt, kind, warnings[kind], &window); },
            [](QWidget *modal) { modal->close(); });
    }

    shootModal(
        QStringLiteral("09-already-running"),
        [] {
            apt::ToolsApplication::showStartupMessage(translated("apt::ToolsApplication", "VEXO is already running."),
                                                      false);
        },
        [](QWidget *modal) { modal->close(); });
    shootModal(
        QStringLiteral("10-small-screen-question"),
        [] {
            apt::ToolsApplication::showStartupMessage(
                translated("apt::ToolsApplication",
                           "Display resolution less than 1024*768,are you sure to start the program?"),
                true);
        },
        [](QWidget *modal) { clickChild(modal, "btnCancel"); });
    shootModal(
        QStringLiteral("11-initialization-failed"),
        [] {
            apt::ToolsApplication::showStartupMessage(
                translated("VexoTool::VEXOToolMainPage", "Initialization failed."), false);
        },
        [](QWidget *modal) { modal->close(); });

    // Password recovery: the reset dialog of each key scheme, the restore dialog, the batch password dialog.
    const VEXO_DEVICE_INFO newer = deviceWhere([](const VEXO_DEVICE_INFO &r) {
        return (r.capabilityFlags & VEXO_CAP_KEY_RESET) && (r.keyFormatFlags & VEXO_KEYFMT_NEW)
               && (r.capabilityFlags & VEXO_CAP_RESET_IPC);
    });
    const VEXO_DEVICE_INFO older = deviceWhere([](const VEXO_DEVICE_INFO &r) {
        return (r.capabilityFlags & VEXO_CAP_KEY_RESET) && !(r.keyFormatFlags & VEXO_KEYFMT_NEW);
    });
    const VEXO_DEVICE_INFO restorable
        = deviceWhere([](const VEXO_DEVICE_INFO &r) { return !(r.capabilityFlags & VEXO_CAP_KEY_RESET); });
    shootResetDialog(&window, QStringLiteral("12-reset-newer"), newer);
    shootResetDialog(&window, QStringLiteral("13-reset-older"), older);

    {
        VexoTool::RestorePasswordDialog dialog(*VEXO::VexoHandler::instance(), &window,
                                               fieldText(restorable.serialNumber),
                                               fieldText(restorable.deviceTypeText));
        QTimer::singleShot(700, [&dialog] {
            shoot(QStringLiteral("14-restore-1-open"));
            QTimer::singleShot(400, [] { shoot(QStringLiteral("14-restore-2-no-code")); });
            clickChild(&dialog, "btnConfirm");
            setField(&dialog, "m_lineEditSecurityCode", QStringLiteral("WRONGCODE0000000"));
            QTimer::singleShot(900, [] { shoot(QStringLiteral("14-restore-3-refused")); });
            clickChild(&dialog, "btnConfirm");
            dialog.reject();
        });
        dialog.exec();
    }
    {
        VexoTool::ResetPasswordWidget dialog(&window);
        QTimer::singleShot(700, [&dialog] {
            shoot(QStringLiteral("15-batch-password-1-open"));
            setField(&dialog, "m_lineEditNewPassword", QStringLiteral("abcdEFGH"));
            setField(&dialog, "m_lineEditConfirmPassword", QStringLiteral("abcdEFGH"));
            pause(200);
            shoot(QStringLiteral("15-batch-password-2-filled"));
            QTimer::singleShot(400, [] { shoot(QStringLiteral("15-batch-password-3-no-folder")); });
            clickChild(&dialog, "btnConfirm");
            dialog.reject();
        });
        dialog.exec();
    }

    // The same dialogs as an installer reaches them: a checked row and the panel's Forget Password.
    const std::pair<QString, VEXO_DEVICE_INFO> forgotten[]
        = {{QStringLiteral("16-forget-password-reset"), newer},
           {QStringLiteral("17-forget-password-restore"), restorable}};
    for (const auto &[shotName, record] : forgotten) {
        const int row = model->rowOf(fieldText(record.serialNumber), fieldText(record.macAddress));
        if (row < 0)
            continue;
        for (int other = 0; other < model->rowCount(); ++other)
            model->setCheckState(other, Qt::Unchecked);
        model->setCheckState(row, Qt::Checked);
        pause(200);
        shootModal(
            shotName, [panel] { panel->findChild<QPushButton *>(QStringLiteral("m_btnLostPassword"))->click(); },
            [](QWidget *modal) { clickChild(modal, "btnCancel"); });
    }

    // The export dialog as it opens, with the message of a missing file name, and with the field marked.
    shootModal(
        QStringLiteral("18-export-dialog"), [&window] { window.deviceDisplayPage()->onSaveDeviceInfoToExcel(); },
        [](QWidget *modal) {
            QTimer::singleShot(700, [] {
                shoot(QStringLiteral("19-export-no-file-name"));
                if (QWidget *message = QApplication::activeModalWidget())
                    message->close();
            });
            clickChild(modal, "btnConfirm");
            pause(300);
            shoot(QStringLiteral("20-export-field-marked"));
            modal->close();
        });

    // Last, as it changes a device for good: one that cannot prove its maker, with its mark and tool tip.
    if (auto *table = list->findChild<QTreeView *>(QStringLiteral("m_tableViewVexo"))) {
        for (int row = 0; row < model->rowCount(); ++row)
            model->setCheckState(row, Qt::Unchecked);
        const QModelIndex shown
            = table->model()->index(3, model->columnOf(VexoTool::DeviceInfoModel::ColumnDeviceType));
        // The table shows the rows sorted; the page counts them in the model's order.
        const auto *sorted = qobject_cast<const QAbstractProxyModel *>(table->model());
        const QString serial
            = list->deviceInfoOfRow(sorted ? sorted->mapToSource(shown).row() : shown.row()).strSerialNumber;
        simulator.readAll();
        simulator.write(QStringLiteral("set %1 certificate missing\n").arg(serial).toLatin1());
        simulator.waitForBytesWritten(1000);
        pause(1500);
        if (!simulator.readAll().contains("ok"))
            std::fprintf(stderr, "the simulator did not take the certificate of %s away\n", qPrintable(serial));
        const QRect cell = table->visualRect(shown);
        QHelpEvent help(QEvent::ToolTip, cell.center(), table->viewport()->mapToGlobal(cell.center()));
        QCoreApplication::sendEvent(table->viewport(), &help);
        pause(500);
        QRect area(table->viewport()->mapToGlobal(QPoint(0, cell.top())), QSize(620, cell.height()));
        if (const QWidget *tip = visibleToolTip())
            area = area.united(tip->frameGeometry());
        shootArea(QStringLiteral("23-unverified-device"), area.adjusted(0, -70, 20, 20));
        QToolTip::hideText();
    }

    // ONVIF devices beside the device protocol's: records handed to the list as the ONVIF service
    // hands them, a stand-in client and a site adapter for the panel. Nothing goes on the network.
    {
        const QByteArray site("198.51.100.");
        const auto hostOf = [&site](const VEXO_DEVICE_INFO &record) {
            const QByteArray address(record.ipv4Address);
            return address.startsWith(site) ? address.mid(site.size()).toInt() : 0;
        };
        VEXO_DEVICE_INFO companion{}; // the site's last fixed address, a device that answers ONVIF as well
        {
            QVector<VEXO_DEVICE_INFO> records;
            DeviceStore::instance()->copyAll(records);
            for (const VEXO_DEVICE_INFO &record : std::as_const(records)) {
                if (!record.inactive && !record.dhcpEnabled && hostOf(record) > hostOf(companion)
                    && hostOf(record) < 90)
                    companion = record;
            }
        }
        const int last = qMax(hostOf(companion), 10);
        const auto siteAddress = [&site](int host) {
            return site + QByteArray::number(host);
        };
        VEXO_DEVICE_INFO alsoOnvif = onvifRecord("OV2611-B7Q4K9", companion.macAddress, "OV-2611", "");
        setFieldText(alsoOnvif.ipv4Address, companion.ipv4Address);
        const VEXO_DEVICE_INFO identified
            = onvifRecord("OD4820-77120533", "3c-5a-b4-10-22-31", "OD-4820 Dome", siteAddress(last + 1));
        const VEXO_DEVICE_INFO secondIdentified
            = onvifRecord("OB3300-77120871", "3c-5a-b4-10-29-8e", "OB-3300 Bullet", siteAddress(last + 2));
        const VEXO_DEVICE_INFO unidentified
            = onvifRecord("urn:uuid:4f1c9a20-7d3e-4b5a-9c61-0a2b3c4d5e6f", "", "", siteAddress(last + 3));
        const VEXO_DEVICE_INFO foreign
            = onvifRecord("OD4820-77119402", "3c-5a-b4-0f-e1-07", "OD-4820 Dome", "203.0.113.200");
        for (const VEXO_DEVICE_INFO &record : {alsoOnvif, identified, secondIdentified, unidentified, foreign})
            list->onDeviceLogin(record);
        // This computer's adapter on the site: 198.51.100.250/24.
        panel->setAdapterSource([] {
            return QVector<VexoTool::AdapterAddress>{{QStringLiteral("eth0"), 0xc63364fau, 24}};
        });
        panel->setOnvifChanger(std::make_shared<RestartingChanger>());
        pause(400);

        // The mixed site: the device protocol's rows, one of them also ONVIF, and ONVIF rows
        // identified and not yet, shown together with the filter on the site's last addresses.
        auto *filter = list->findChild<QLineEdit *>(QStringLiteral("m_lineEditFilter"));
        if (filter)
            filter->setText(QString::fromLatin1(siteAddress(last - 3) + '-' + siteAddress(last + 3)));
        pause(500);
        shootArea(QStringLiteral("30-onvif-list"), topLeftOf(list, QSize(760, 300)));

        // The tool tip of an ONVIF row's Device Type cell says what can be done with it.
        if (auto *table = list->findChild<QTreeView *>(QStringLiteral("m_tableViewVexo"))) {
            const auto *sorted = qobject_cast<const QAbstractProxyModel *>(table->model());
            const QModelIndex source
                = model->index(model->rowOf(fieldText(identified.serialNumber), fieldText(identified.macAddress)),
                               model->columnOf(VexoTool::DeviceInfoModel::ColumnDeviceType));
            const QModelIndex shown = sorted ? sorted->mapFromSource(source) : source;
            const QRect cell = table->visualRect(shown);
            QHelpEvent help(QEvent::ToolTip, cell.center(), table->viewport()->mapToGlobal(cell.center()));
            QCoreApplication::sendEvent(table->viewport(), &help);
            pause(500);
            // The cell and the tip only, so that the tip's text stays readable on the page.
            QRect area(table->viewport()->mapToGlobal(cell.topLeft()), cell.size());
            if (const QWidget *tip = visibleToolTip())
                area = area.united(tip->frameGeometry());
            shootArea(QStringLiteral("30-onvif-tool-tip"), area.adjusted(-8, -36, 8, 16));
            QToolTip::hideText();
            pause(200);
        }

        // The panel for an identified ONVIF row: the user name beside the password, no recovery.
        tickOnly(model, identified);
        shoot(QStringLiteral("31-onvif-panel"));

        // The restart question after a change that the device applies only on restart; "Later".
        panel->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditIpAddress"))
            ->setText(QString::fromLatin1(siteAddress(last + 10)));
        panel->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditAdminPassword"))
            ->setText(QStringLiteral("Admin12345"));
        shootModal(
            QStringLiteral("32-onvif-restart-question"),
            [panel] { panel->findChild<QPushButton *>(QStringLiteral("m_btnModify"))->click(); },
            [](QWidget *modal) {
                QTimer::singleShot(900, [] {
                    // The whole message box: its lower part is empty in short languages.
                    if (QWidget *message = QApplication::activeModalWidget()) {
                        shootArea(QStringLiteral("33-onvif-restart-later-close"), message->frameGeometry());
                        message->close();
                    }
                });
                clickChild(modal, "btnCancel");
            });
        pause(2500);

        // A row on a subnet that none of the computer's adapters reaches.
        if (filter)
            filter->clear();
        pause(300);
        tickOnly(model, foreign);
        shoot(QStringLiteral("34-onvif-reach-advice"));

        // What a camera sees: above the panel's form, and beside the rows in the snapshot view.
        auto snapshots = std::make_shared<PaintedSnapshots>();
        panel->setSnapshotSource(snapshots);
        list->setSnapshotSource(snapshots);
        tickOnly(model, identified);
        pause(600);
        shoot(QStringLiteral("35-onvif-snapshot-panel"));
        if (filter)
            filter->setText(QString::fromLatin1(siteAddress(last - 3) + '-' + siteAddress(last + 3)));
        list->setSnapshotView(true);
        pause(800);
        shootArea(QStringLiteral("36-snapshot-view"), topLeftOf(list, QSize(760, 420)));
        list->setSnapshotView(false);
        if (filter)
            filter->clear();
    }

    noteMenu(window.aboutMenu());
    writeNames();
    simulator.kill();
    simulator.waitForFinished(3000);
    window.hide();
    return 0;
}
