// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simulatorprocess.h"

#include <vexotoolmainpage.h>

#include <configuremanager.h>
#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <devicemodifypage.h>
#include <devicemodifyresultpage.h>
#include <devicestore.h>
#include <deviceoperations.h>
#include <multistatelineedit.h>
#include <onviffault.h>
#include <onvifhandler.h>
#include <onvifpassworddialog.h>
#include <vexohandler.h>
#include <vexolibrary.h>
#include <warningdialog.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QStandardItemModel>
#include <QToolTip>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QTest>

#include <memory>

using VexoTool::DeviceInfoModel;

// ONVIF devices in the whole program on loopback: the simulator's mixed site, the ONVIF
// discovery service on its thread, the window's sign-in, the panel's changes.
class TestOnvifWindowLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void signInIdentifiesTheRows_data();
    void signInIdentifiesTheRows();
    void clearTextOnlyDeviceIsAskedFirst_data();
    void clearTextOnlyDeviceIsAskedFirst();
    void readdressFromThePanel_data();
    void readdressFromThePanel();
    void byeRemovesTheRow();
    void refreshListsThemAgain();
    void partlyIdentifiedCameraSaysWhatIsMissing();
    void changePasswordFromThePanel_data();
    void changePasswordFromThePanel();

private:
    bool startSite(const QStringList &arguments);
    QString cell(int row, int logical) const;
    int rowsWithStatus(const QString &status) const;
    int rowOfSerial(const QString &serial) const;
    QStringList numberedAddresses() const;

    QTemporaryDir m_dir;
    std::unique_ptr<SimulatorProcess> m_simulator;
    std::unique_ptr<DeviceStore> m_store;
    std::unique_ptr<VEXO::VexoHandler> m_discovery;
    std::unique_ptr<VEXO::OnvifHandler> m_onvif;
    std::unique_ptr<VexoTool::VEXOToolMainPage> m_window;
    DeviceInfoModel *m_model = nullptr;
};

namespace {

const QString kPassword = QStringLiteral("Admin12345");

// The serial numbers of the simulator's ONVIF devices, "onvif" (ONVIF only) or "vxdp+onvif".
QStringList onvifSerials(SimulatorProcess &simulator, const QString &kind)
{
    QStringList serials;
    for (const QString &line : simulator.command(QStringLiteral("list"))) {
        const QStringList fields = line.split(u' ');
        if (fields.size() >= 5 && fields.last() == kind)
            serials.append(fields.first());
    }
    return serials;
}

// A value of "onvif SERIAL show" ("xaddr", "endpoint", ...).
QString shown(SimulatorProcess &simulator, const QString &serial, const QString &key)
{
    for (const QString &line : simulator.command(QStringLiteral("onvif %1 show").arg(serial))) {
        if (line.startsWith(key + u' '))
            return line.mid(key.size() + 1);
    }
    return QString();
}

} // namespace

void TestOnvifWindowLive::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCOMPARE(qgetenv("VEXO_SCOPE"), QByteArray("loopback"));
    const QString setup = m_dir.filePath(QStringLiteral("Setup.xml"));
    QFile file(setup);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- settings -->\n<Setup>\n"
               "    <Translator>\n        <Value>0</Value>\n    </Translator>\n"
               "    <BatchOperations>\n        <Value>0</Value>\n    </BatchOperations>\n</Setup>\n");
    file.close();
    QVERIFY(apt::ConfigureManager::GetInstance()->load(setup));
    qputenv("VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS", "200");
    VexoTool::WarningDialog::setAutoCloseDelay(std::chrono::milliseconds(100));
}

void TestOnvifWindowLive::init()
{
    m_simulator = std::make_unique<SimulatorProcess>();
}

void TestOnvifWindowLive::cleanup()
{
    m_window.reset();
    m_onvif.reset();
    m_discovery.reset();
    m_store.reset();
    m_simulator.reset();
    m_model = nullptr;
}

bool TestOnvifWindowLive::startSite(const QStringList &arguments)
{
    // A window of an earlier site goes before the services it was handed.
    m_window.reset();
    m_onvif.reset();
    if (!m_simulator->start(arguments + QStringList{QStringLiteral("--test-mode")}) || m_simulator->wsdPort() == 0)
        return false;
    qputenv("VEXO_PORT", QByteArray::number(m_simulator->port()));
    qputenv("VEXO_WSD_PORT", QByteArray::number(m_simulator->wsdPort()));
    const auto options = onvif::ClientOptions::fromEnvironment();
    if (!options)
        return false;
    m_store = std::make_unique<DeviceStore>();
    m_discovery = std::make_unique<VEXO::VexoHandler>(VEXO::VexoLibrary::linked());
    m_onvif = std::make_unique<VEXO::OnvifHandler>(*options);
    m_window = std::make_unique<VexoTool::VEXOToolMainPage>(m_store.get(), m_discovery.get(), m_onvif.get());
    m_window->resize(1280, 768);
    m_window->show();
    m_model = m_window->deviceDisplayPage()->model();
    return m_onvif->isStarted();
}

QString TestOnvifWindowLive::cell(int row, int logical) const
{
    return m_model->text(row, logical);
}

int TestOnvifWindowLive::rowsWithStatus(const QString &status) const
{
    int count = 0;
    for (int row = 0; row < m_model->rowCount(); ++row)
        count += cell(row, DeviceInfoModel::ColumnActivate) == status ? 1 : 0;
    return count;
}

int TestOnvifWindowLive::rowOfSerial(const QString &serial) const
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (cell(row, DeviceInfoModel::ColumnSerialNumber) == serial)
            return row;
    }
    return -1;
}

// Each row's number with its address, in the order of the numbers.
QStringList TestOnvifWindowLive::numberedAddresses() const
{
    QStringList rows;
    for (int row = 0; row < m_model->rowCount(); ++row)
        rows.append(cell(row, DeviceInfoModel::ColumnId) + u' ' + cell(row, DeviceInfoModel::ColumnIPv4Address));
    rows.sort();
    return rows;
}

void TestOnvifWindowLive::signInIdentifiesTheRows_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("lastHasAnother"); // the last-numbered ONVIF-only device has another password
    QTest::addColumn<QString>("summary");
    QTest::addRow("right password: identified in their rows, one row per device")
        << kPassword << false << "5 identified";
    QTest::addRow("one device with another password: it says why, the others keep their numbers")
        << kPassword << true << "4 identified, 1 refused the user name or password";
    QTest::addRow("wrong password: rows keep needing log-in, with the reason")
        << QStringLiteral("Wrong9876") << false << "5 refused the user name or password";
}

void TestOnvifWindowLive::signInIdentifiesTheRows()
{
    QFETCH(QString, password);
    QFETCH(bool, lastHasAnother);
    QFETCH(QString, summary);
    // 4 devices of the own protocol, 2 of them answering ONVIF as well, 3 ONVIF only.
    QVERIFY(startSite({QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--seed"), QStringLiteral("31"),
                       QStringLiteral("--onvif"), QStringLiteral("3"), QStringLiteral("--onvif-both"),
                       QStringLiteral("2")}));
    const QString needsLogIn = QStringLiteral("Needs log-in");
    // Before sign-in a device that answers both protocols is one row already, marked ONVIF too.
    QTRY_VERIFY_WITH_TIMEOUT(m_model->rowCount() == 7 && rowsWithStatus(needsLogIn) == 3, 20000);
    for (const QString &serial : onvifSerials(*m_simulator, QStringLiteral("vxdp+onvif")))
        QTRY_VERIFY2(m_model->isAlsoOnvif(rowOfSerial(serial)), qPrintable(serial));
    QCOMPARE(m_window->deviceDisplayPage()->findChild<QLabel *>(QStringLiteral("m_labelDeviceCountValue"))->text(),
             QStringLiteral("7"));
    const QStringList numbered = numberedAddresses();
    QStringList refusing; // serial numbers
    if (password != kPassword)
        refusing = onvifSerials(*m_simulator, QStringLiteral("onvif"))
                   + onvifSerials(*m_simulator, QStringLiteral("vxdp+onvif"));
    if (lastHasAnother) {
        // The rows identified before it move up if identification numbers rows anew. Rows are
        // numbered as devices answer, so on a busy machine a device of the own protocol may come last.
        int lastNumber = -1;
        QString last;
        for (const QString &serial : onvifSerials(*m_simulator, QStringLiteral("onvif"))) {
            const int row = rowOfSerial(shown(*m_simulator, serial, QStringLiteral("endpoint")));
            const int number = row < 0 ? -1 : cell(row, DeviceInfoModel::ColumnId).toInt();
            if (number > lastNumber) {
                lastNumber = number;
                last = serial;
            }
        }
        QVERIFY(!last.isEmpty());
        refusing.append(last);
        QCOMPARE(m_simulator->commandResult(QStringLiteral("set %1 password Other5678").arg(refusing.first())),
                 QStringLiteral("ok"));
    }

    QSignalSpy progress(m_onvif.get(), &VEXO::OnvifHandler::signalSignInProgress);
    auto *activity = m_window->deviceDisplayPage()->findChild<QLabel *>(QStringLiteral("m_labelActivity"));
    m_window->signInOnvif(QStringLiteral("admin"), password);
    // The count line says the sign-in runs, and how far it is, until the result list comes.
    QVERIFY(activity->isVisible());
    QVERIFY2(activity->text().startsWith(QStringLiteral("ONVIF sign-in")), qPrintable(activity->text()));
    // The sign-in ends with its result list: the summary, and each device by name with how it went.
    VexoTool::DeviceModifyResultPage *results = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (results = m_window->findChild<VexoTool::DeviceModifyResultPage *>(QStringLiteral("onvifSignInResults"))),
        20000);
    QVERIFY(results->isVisible());
    QVERIFY(!activity->isVisible());
    QVERIFY(!progress.isEmpty());
    int answeredBefore = 0;
    for (const QList<QVariant> &step : std::as_const(progress)) {
        const int answered = step.at(0).toInt();
        QVERIFY(answered >= answeredBefore && answered <= step.at(1).toInt());
        answeredBefore = answered;
    }
    QCOMPARE(progress.last(), (QList<QVariant>{5, 5}));
    QCOMPARE(results->findChild<QLabel *>(QStringLiteral("m_labelDeviceAll"))->text(), summary);
    QCOMPARE(results->model()->rowCount(), 5);
    QStringList named; // the identified devices by their serial numbers
    for (int row = 0; row < results->model()->rowCount(); ++row) {
        // By the number of its row in the list.
        QVERIFY2(
            numbered.contains(results->model()->item(row, 0)->text() + u' ' + results->model()->item(row, 2)->text()),
            qPrintable(results->model()->item(row, 0)->text()));
        if (results->model()->item(row, 4)->text() == QStringLiteral("Succeeded"))
            named.append(results->model()->item(row, 3)->text());
    }
    QStringList identified = onvifSerials(*m_simulator, QStringLiteral("onvif"))
                             + onvifSerials(*m_simulator, QStringLiteral("vxdp+onvif"));
    for (const QString &serial : std::as_const(refusing))
        identified.removeAll(serial);
    named.sort();
    identified.sort();
    QCOMPARE(named, identified);
    results->close();

    VexoTool::OnvifFailure refused;
    refused.kind = VexoTool::OnvifFailureKind::NotAuthorized;
    const QString reason = VexoTool::OnvifFaultText::text(refused);
    const int ownRowsRefusing = refusing.size() - (password == kPassword ? 0 : 2);
    const auto explained = [&] {
        int count = 0;
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const QModelIndex status = m_model->index(row, m_model->columnOf(DeviceInfoModel::ColumnActivate));
            count
                += status.data().toString() == needsLogIn && status.data(Qt::ToolTipRole).toString() == reason ? 1 : 0;
        }
        return count;
    };
    QTRY_VERIFY_WITH_TIMEOUT(rowsWithStatus(needsLogIn) == ownRowsRefusing && explained() == ownRowsRefusing, 20000);
    // A device of the own protocol whose ONVIF side refused keeps its row and status; its Device
    // Type tool tip says why.
    for (const QString &serial : onvifSerials(*m_simulator, QStringLiteral("vxdp+onvif"))) {
        const int row = rowOfSerial(serial);
        QVERIFY2(row >= 0, qPrintable(serial));
        const QString tip = m_model->index(row, m_model->columnOf(DeviceInfoModel::ColumnDeviceType))
                                .data(Qt::ToolTipRole)
                                .toString();
        QCOMPARE(tip.contains(reason), refusing.contains(serial));
    }
    QCOMPARE(m_model->rowCount(), 7);
    // Identified rows keep their numbers.
    QCOMPARE(numberedAddresses(), numbered);
    for (const QString &serial : std::as_const(identified)) {
        const int row = rowOfSerial(serial);
        QVERIFY2(row >= 0, qPrintable(serial));
        QVERIFY(!cell(row, DeviceInfoModel::ColumnMac).isEmpty());
        const bool dual = onvifSerials(*m_simulator, QStringLiteral("vxdp+onvif")).contains(serial);
        QCOMPARE(m_model->isAlsoOnvif(row), dual);
        QCOMPARE(m_model->protocolOfRow(row), dual ? DeviceProtocol::Vxdp : DeviceProtocol::Onvif);
    }
    if (refusing.isEmpty())
        return;
    // The Device Type cell says why too, in a tool tip that shows while another window has the focus.
    int row = 0;
    while (cell(row, DeviceInfoModel::ColumnActivate) != needsLogIn)
        ++row;
    auto *table = m_window->deviceDisplayPage()->findChild<QAbstractItemView *>();
    QVERIFY(table);
    const QModelIndex type = table->model()->index(row, m_model->columnOf(DeviceInfoModel::ColumnDeviceType));
    QVERIFY2(type.data(Qt::ToolTipRole).toString().endsWith(reason), qPrintable(type.data(Qt::ToolTipRole).toString()));
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QTRY_VERIFY(!m_window->isActiveWindow());
    const QPoint over = table->visualRect(type).center();
    QTest::mouseMove(table->viewport(), over - QPoint(2, 0));
    QTest::mouseMove(table->viewport(), over);
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY2(QToolTip::text().endsWith(reason), qPrintable(QToolTip::text()));
    // So does the panel once the row is ticked.
    m_model->setCheckState(row, Qt::Checked);
    auto *note = m_window->deviceModifyPage()->findChild<QLabel *>(QStringLiteral("m_labelSelectionNote"));
    QVERIFY(note);
    QTRY_VERIFY2(note->isVisible() && note->text().contains(reason), qPrintable(note->text()));
}

void TestOnvifWindowLive::partlyIdentifiedCameraSaysWhatIsMissing()
{
    // A camera that does not implement GetNetworkInterfaces: what it told is listed all the same.
    QVERIFY(startSite({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--onvif"), QStringLiteral("1"),
                       QStringLiteral("--onvif-quirk"), QStringLiteral("all=no-interfaces")}));
    const QString serial = onvifSerials(*m_simulator, QStringLiteral("onvif")).value(0);
    QTRY_COMPARE_WITH_TIMEOUT(m_model->rowCount(), 2, 20000);
    m_window->signInOnvif(QStringLiteral("admin"), kPassword);
    QTRY_VERIFY_WITH_TIMEOUT(rowOfSerial(serial) >= 0, 20000);
    const int row = rowOfSerial(serial);
    QVERIFY(cell(row, DeviceInfoModel::ColumnActivate) != QStringLiteral("Needs log-in"));
    const auto toolTips = [&] {
        QString all;
        for (int column = 0; column < m_model->columnCount(); ++column)
            all += m_model->index(rowOfSerial(serial), column).data(Qt::ToolTipRole).toString();
        return all;
    };
    QTRY_VERIFY_WITH_TIMEOUT(toolTips().contains(QStringLiteral("MAC address and IPv4 settings")), 5000);
}

void TestOnvifWindowLive::clearTextOnlyDeviceIsAskedFirst_data()
{
    QTest::addColumn<bool>("send");
    QTest::addRow("sent: identified with the password in clear text") << true;
    QTest::addRow("skipped: never sent, keeps needing log-in with the reason") << false;
}

void TestOnvifWindowLive::clearTextOnlyDeviceIsAskedFirst()
{
    QFETCH(bool, send);
    QVERIFY(startSite({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--seed"), QStringLiteral("81"),
                       QStringLiteral("--onvif"), QStringLiteral("2")}));
    const QStringList serials = onvifSerials(*m_simulator, QStringLiteral("onvif"));
    QCOMPARE(serials.size(), 2);
    const QString plain = serials.first();
    QCOMPARE(m_simulator->commandResult(QStringLiteral("onvif %1 auth text").arg(plain)), QStringLiteral("ok"));
    const QString plainHost = QUrl(shown(*m_simulator, plain, QStringLiteral("xaddr"))).host();
    QStringList asked;
    m_window->setClearTextQuestion([&](const QString &device) {
        asked.append(device);
        return send;
    });
    const QString needsLogIn = QStringLiteral("Needs log-in");
    QTRY_COMPARE_WITH_TIMEOUT(rowsWithStatus(needsLogIn), 2, 20000);

    m_window->signInOnvif(QStringLiteral("admin"), kPassword);
    QTRY_COMPARE_WITH_TIMEOUT(asked.size(), 1, 20000);
    QVERIFY2(asked.first().contains(plainHost), qPrintable(asked.first())); // the question names the device
    if (send) {
        QTRY_COMPARE_WITH_TIMEOUT(rowsWithStatus(needsLogIn), 0, 20000);
        QVERIFY(rowOfSerial(plain) >= 0);
    } else {
        VexoTool::OnvifFailure refused;
        refused.kind = VexoTool::OnvifFailureKind::ClearTextOnly;
        const QString reason = VexoTool::OnvifFaultText::text(refused);
        const auto explained = [&] {
            for (int row = 0; row < m_model->rowCount(); ++row) {
                const QModelIndex status = m_model->index(row, m_model->columnOf(DeviceInfoModel::ColumnActivate));
                if (status.data().toString() == needsLogIn)
                    return status.data(Qt::ToolTipRole).toString();
            }
            return QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(rowsWithStatus(needsLogIn), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(explained(), reason, 20000);
        // Signing in again does not ask again: the answer holds for the session.
        m_window->signInOnvif(QStringLiteral("admin"), kPassword);
        QTest::qWait(500);
        QCOMPARE(rowsWithStatus(needsLogIn), 1);
    }
    QCOMPARE(asked.size(), 1);
}

void TestOnvifWindowLive::readdressFromThePanel_data()
{
    QTest::addColumn<bool>("rebootNeeded");
    QTest::addColumn<bool>("restartNow");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<QStringList>("transport"); // the simulator's options for it
    QTest::addRow("applied at once, no question") << false << false << true << QStringList();
    QTest::addRow("restart needed, now: restarted at the new address") << true << true << true << QStringList();
    QTest::addRow("restart needed, later: nothing restarts") << true << false << false << QStringList();
    QTest::addRow("HTTPS only, applied at once")
        << false << false << true << QStringList{QStringLiteral("--onvif-https-only")};
}

void TestOnvifWindowLive::readdressFromThePanel()
{
    QFETCH(bool, rebootNeeded);
    QFETCH(bool, restartNow);
    QFETCH(bool, moves);
    QFETCH(QStringList, transport);
    QVERIFY(startSite(QStringList{QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--seed"),
                                  QStringLiteral("41"), QStringLiteral("--onvif"), QStringLiteral("1")}
                      + transport));
    const QString serial = onvifSerials(*m_simulator, QStringLiteral("onvif")).value(0);
    QVERIFY(!serial.isEmpty());
    const QString oldAddress = shown(*m_simulator, serial, QStringLiteral("xaddr"));
    QVERIFY(oldAddress.startsWith((transport.isEmpty() ? QStringLiteral("http") : QStringLiteral("https"))
                                  + QStringLiteral("://127.")));
    QCOMPARE(m_simulator->commandResult(QStringLiteral("onvif %1 reboot-needed %2").arg(serial).arg(rebootNeeded)),
             QStringLiteral("ok"));
    QTRY_COMPARE_WITH_TIMEOUT(m_model->rowCount(), 2, 20000);
    int row = -1;
    for (int r = 0; r < m_model->rowCount(); ++r)
        row = m_model->protocolOfRow(r) == DeviceProtocol::Onvif ? r : row;
    QVERIFY(row >= 0);

    VexoTool::DeviceModifyPage *panel = m_window->deviceModifyPage();
    int asked = 0;
    panel->setRestartQuestion([&](const QStringList &) {
        ++asked;
        return restartNow;
    });
    m_model->setCheckState(row, Qt::Checked);
    const auto field = [panel](const char *name) {
        return panel->findChild<aptui::MultiStateLineEdit *>(name);
    };
    QVERIFY(field("m_lineEditIpAddress") && field("m_lineEditAdminPassword"));
    field("m_lineEditIpAddress")->setText(QStringLiteral("127.1.7.7"));
    field("m_lineEditSubnetMask")->setText(QStringLiteral("255.0.0.0"));
    field("m_lineEditGateway")->setText(QStringLiteral("127.0.0.1"));
    field("m_lineEditAdminPassword")->setText(kPassword);
    auto *modify = panel->findChild<QPushButton *>(QStringLiteral("m_btnModify"));
    QVERIFY(modify && modify->isEnabled());
    modify->click();

    if (moves) {
        // The device serves at its new address, and its row, identified with the panel's
        // password, follows it there.
        QTRY_VERIFY_WITH_TIMEOUT(shown(*m_simulator, serial, QStringLiteral("xaddr")).contains(u"//127.1.7.7:"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(rowOfSerial(serial) >= 0
                                     && cell(rowOfSerial(serial), DeviceInfoModel::ColumnIPv4Address)
                                            == QStringLiteral("127.1.7.7"),
                                 20000);
        QCOMPARE(m_model->rowCount(), 2);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(asked, 1, 20000);
        QTRY_VERIFY(!panel->isOperationRunning());
        QTest::qWait(500); // a restart sent by mistake would move it now
        QCOMPARE(shown(*m_simulator, serial, QStringLiteral("xaddr")), oldAddress);
    }
    QCOMPARE(asked, rebootNeeded ? 1 : 0);
}

void TestOnvifWindowLive::byeRemovesTheRow()
{
    QVERIFY(startSite({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--seed"), QStringLiteral("51"),
                       QStringLiteral("--onvif"), QStringLiteral("2")}));
    QTRY_COMPARE_WITH_TIMEOUT(m_model->rowCount(), 3, 20000);
    const QString serial = onvifSerials(*m_simulator, QStringLiteral("onvif")).value(0);
    const QString endpoint = shown(*m_simulator, serial, QStringLiteral("endpoint"));
    QVERIFY(rowOfSerial(endpoint) >= 0);
    QCOMPARE(m_simulator->commandResult(QStringLiteral("stop ") + serial), QStringLiteral("ok"));
    // Gone at the Bye, long before the silent rounds would tell.
    QTRY_COMPARE_WITH_TIMEOUT(m_model->rowCount(), 2, 5000);
    QCOMPARE(rowOfSerial(endpoint), -1);
}

void TestOnvifWindowLive::refreshListsThemAgain()
{
    QVERIFY(startSite({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--seed"), QStringLiteral("61"),
                       QStringLiteral("--onvif"), QStringLiteral("2")}));
    m_window->signInOnvif(QStringLiteral("admin"), kPassword);
    const QString needsLogIn = QStringLiteral("Needs log-in");
    QTRY_VERIFY_WITH_TIMEOUT(m_model->rowCount() == 3 && rowsWithStatus(needsLogIn) == 0, 20000);
    // Refresh empties the list and asks both protocols again; the ONVIF devices stay identified.
    auto *refresh = m_window->deviceDisplayPage()->findChild<QPushButton *>(QStringLiteral("m_btnRefreshDeviceInfo"));
    QVERIFY(refresh);
    refresh->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_model->rowCount(), 3, 20000);
    QCOMPARE(rowsWithStatus(needsLogIn), 0);
    for (const QString &serial : onvifSerials(*m_simulator, QStringLiteral("onvif")))
        QVERIFY2(rowOfSerial(serial) >= 0, qPrintable(serial));
}

void TestOnvifWindowLive::changePasswordFromThePanel_data()
{
    QTest::addColumn<QStringList>("transport"); // the simulator's options for it
    QTest::addColumn<int>("answer");            // to the clear-text question; -1: none is asked
    QTest::addRow("over HTTPS without a question") << QStringList{QStringLiteral("--onvif-https-only")} << -1;
    QTest::addRow("plain HTTP, No sends nothing") << QStringList() << 0;
    QTest::addRow("plain HTTP, Yes sends it") << QStringList() << 1;
}

void TestOnvifWindowLive::changePasswordFromThePanel()
{
    QFETCH(QStringList, transport);
    QFETCH(int, answer);
    const bool changes = answer != 0;
    QVERIFY(startSite(QStringList{QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--seed"),
                                  QStringLiteral("71"), QStringLiteral("--onvif"), QStringLiteral("1")}
                      + transport));
    const QString serial = onvifSerials(*m_simulator, QStringLiteral("onvif")).value(0);
    QVERIFY(!serial.isEmpty());
    const QUrl url(shown(*m_simulator, serial, QStringLiteral("xaddr")));
    QCOMPARE(url.scheme(), transport.isEmpty() ? QStringLiteral("http") : QStringLiteral("https"));
    QTRY_COMPARE_WITH_TIMEOUT(m_model->rowCount(), 2, 20000);
    int row = -1;
    for (int r = 0; r < m_model->rowCount(); ++r)
        row = m_model->protocolOfRow(r) == DeviceProtocol::Onvif ? r : row;
    QVERIFY(row >= 0);
    VexoTool::DeviceModifyPage *panel = m_window->deviceModifyPage();
    m_model->setCheckState(row, Qt::Checked);
    auto *change = panel->findChild<QPushButton *>(QStringLiteral("m_btnChangePassword"));
    QVERIFY(change && change->isVisible());

    // The dialog is filled in once it runs; a dialog that does not close by itself is given up.
    const QString newPassword = QStringLiteral("Changed4321");
    bool filled = false;
    QStringList asked;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<VexoTool::OnvifPasswordDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->setClearTextQuestion([&asked, answer, dialog](const QString &device) {
            asked.append(device);
            if (answer == 0) // the dialog stays open after a No: the user closes it
                QTimer::singleShot(0, dialog, &QDialog::reject);
            return answer == 1;
        });
        const auto field = [dialog](const char *name) {
            return dialog->findChild<aptui::MultiStateLineEdit *>(QLatin1String(name));
        };
        field("m_lineEditCurrentPassword")->setText(kPassword);
        field("m_lineEditNewPassword")->setText(newPassword);
        field("m_lineEditConfirmPassword")->setText(newPassword);
        dialog->findChild<QPushButton *>(QStringLiteral("btnConfirm"))->click();
        filled = true;
        QTimer::singleShot(30000, dialog, &QDialog::reject);
    });
    change->click();
    QVERIFY(filled);
    QCOMPARE(asked.size(), answer < 0 ? 0 : 1);
    if (!asked.isEmpty())
        QVERIFY2(asked.first().contains(url.host()), qPrintable(asked.first())); // the question names the device
    // The panel signs in with the new password from now on.
    QCOMPARE(panel->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditAdminPassword"))->text()
                 == newPassword,
             changes);

    // What the device received: SetUser only after a Yes, or over HTTPS.
    const QString received = shown(*m_simulator, serial, QStringLiteral("received"));
    QVERIFY2(received.contains(QLatin1String("SetUser:")) == changes, qPrintable(received));
    QVERIFY2(!received.contains(QLatin1String("GetUsers:")) || changes, qPrintable(received));
    // The device itself refuses the old password and takes the new one, or the other way round.
    onvif::BlockingDeviceOperations operations(m_onvif->deviceOptions());
    const auto signIn = [&](const QString &password) {
        onvif::Credentials credentials;
        credentials.username = QStringLiteral("admin");
        credentials.password = password;
        const auto identified = operations.identify(url, credentials);
        return identified && identified.value->authenticated;
    };
    QCOMPARE(signIn(kPassword), !changes);
    QCOMPARE(signIn(newPassword), changes);
    if (!changes)
        return;

    // Listed again, the row is identified with the new password, not refused with the old one.
    auto *refresh = m_window->deviceDisplayPage()->findChild<QPushButton *>(QStringLiteral("m_btnRefreshDeviceInfo"));
    QVERIFY(refresh);
    refresh->click();
    QTRY_VERIFY_WITH_TIMEOUT(rowOfSerial(serial) >= 0, 20000);
    QCOMPARE(rowsWithStatus(QStringLiteral("Needs log-in")), 0);
}

QTEST_MAIN(TestOnvifWindowLive)
#include "tst_onvifwindowlive.moc"
