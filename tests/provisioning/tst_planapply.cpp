// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// Applying plans against simulated devices on loopback: through the discovery service with the
// report read back, and through "vexo-cli plan".
#include "planapplier.h"
#include "planfile.h"
#include "planpreview.h"
#include "planreport.h"

#include "simulatorprocess.h"
#include "workbookreaders.h"

#include <deviceinfo.h>
#include <vexohandler.h>
#include <vexolibrary.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace VexoTool;
using VEXO::VexoHandler;

namespace {

const QString FactoryAddress = QStringLiteral("192.168.1.64");
const QString AdminPassword = QStringLiteral("Admin12345");
const QString PlanPassword = QStringLiteral("Plan2026pw");

// serial → "mac ipv4 activated" from the simulator's own list.
QHash<QString, QStringList> simulatedDevices(SimulatorProcess &sim)
{
    QHash<QString, QStringList> devices;
    for (const QString &line : sim.command(QStringLiteral("list"))) {
        const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
        if (parts.size() >= 4)
            devices.insert(parts.first(), parts.mid(1));
    }
    return devices;
}

} // namespace

class tst_PlanApply : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void appliesThroughTheServiceAndReports();
    void commandLine_data();
    void commandLine();

private:
    SimulatorProcess m_sim;
    QStringList m_serials;
    QTemporaryDir m_dir;
};

void tst_PlanApply::initTestCase()
{
    registerDiscoveryMetaTypes();
    QVERIFY(m_dir.isValid());
    QVERIFY(
        m_sim.start({QStringLiteral("--count"), QStringLiteral("23"), QStringLiteral("--seed"), QStringLiteral("5")}));
    qputenv("VEXO_PORT", QByteArray::number(m_sim.port()));
    m_serials = simulatedDevices(m_sim).keys();
    m_serials.sort();
    QCOMPARE(m_serials.size(), 23);
    // Twenty devices out of the box: one factory address, DHCP off, the first still to be
    // activated, the last without a valid maker certificate. The other three serve the command line.
    for (int i = 0; i < 20; ++i) {
        const QString &serial = m_serials.at(i);
        // The password first: setting one activates the device, "inactive 1" takes it away again.
        QCOMPARE(m_sim.commandResult(QStringLiteral("set %1 password %2").arg(serial, AdminPassword)),
                 QStringLiteral("ok"));
        for (const QString &set : {QStringLiteral("ipv4 ") + FactoryAddress, QStringLiteral("mask 255.255.255.0"),
                                   QStringLiteral("gateway 192.168.1.1"), QStringLiteral("dhcp 0"),
                                   QStringLiteral("inactive %1").arg(i == 0 ? 1 : 0)})
            QCOMPARE(m_sim.commandResult(QStringLiteral("set %1 %2").arg(serial, set)), QStringLiteral("ok"));
    }
    QCOMPARE(m_sim.commandResult(QStringLiteral("set %1 certificate missing").arg(m_serials.at(19))),
             QStringLiteral("ok"));
}

void tst_PlanApply::appliesThroughTheServiceAndReports()
{
    VexoHandler discovery(VEXO::VexoLibrary::linked());
    VexoHandler *handler = &discovery;
    QHash<QString, VEXO_DEVICE_INFO> seen;
    QObject receiver;
    auto keep = [&seen](const VEXO_DEVICE_INFO &record) {
        seen.insert(fieldText(record.serialNumber), record);
    };
    connect(handler, &VexoHandler::signalDeviceOnline, &receiver, keep);
    // A device's certificate check follows its listing as a change.
    connect(handler, &VexoHandler::signalDeviceUpdate, &receiver, keep);
    auto allChecked = [&seen] {
        return seen.size() == 23 && std::all_of(seen.cbegin(), seen.cend(), [](const VEXO_DEVICE_INFO &r) {
                   return (r.identityFlags & VEXO_IDENTITY_CHECKED) != 0;
               });
    };
    QVERIFY(handler->start());
    QTRY_VERIFY_WITH_TIMEOUT(allChecked(), 10000);

    QByteArray text("serial,ipv4,mask,gateway,dhcp,password\n");
    for (int i = 0; i < 20; ++i)
        text += QStringLiteral("%1,192.168.1.%2,255.255.255.0,192.168.1.1,off,%3\n")
                    .arg(m_serials.at(i))
                    .arg(101 + i)
                    .arg(PlanPassword)
                    .toUtf8();
    const QString planPath = m_dir.filePath(QStringLiteral("site.csv"));
    QFile planFile(planPath);
    QVERIFY(planFile.open(QIODevice::WriteOnly) && planFile.write(text) == text.size());
    planFile.close();

    const PlanParseResult plan = PlanFile::read(planPath);
    QVERIFY(plan.ok());
    QVector<VEXO_DEVICE_INFO> records;
    for (const QString &serial : std::as_const(m_serials))
        records.append(seen.value(serial));
    const QList<PlanVerdict> verdicts = PlanPreview::preview(plan.rows, records);
    QCOMPARE(PlanPreview::acceptedCount(verdicts), 19);
    QVERIFY(verdicts.first().activate);
    QCOMPARE(verdicts.last().kind, PlanVerdictKind::Unverified);

    PlanApplier applier(*handler, plan.rows, verdicts, records, AdminPassword.toLocal8Bit());
    QSignalSpy done(&applier, &PlanApplier::rowDone);
    const QList<PlanOutcome> outcomes = applier.run();
    QCOMPARE(done.count(), 19);

    // What the devices show afterwards: the refused one is where it was, the new one activated.
    const QHash<QString, QStringList> after = simulatedDevices(m_sim);
    for (int i = 0; i < 20; ++i) {
        const QString expected = i < 19 ? QStringLiteral("192.168.1.%1").arg(101 + i) : FactoryAddress;
        QCOMPARE(after.value(m_serials.at(i)).value(1), expected);
        QVERIFY2(outcomes.at(i).succeeded == (i < 19), qPrintable(outcomes.at(i).result));
        QCOMPARE(outcomes.at(i).sent, i < 19);
    }
    QCOMPARE(after.value(m_serials.first()).value(2), QStringLiteral("1"));

    const PlanReportFiles files = PlanReport::save(planPath, outcomes, QDateTime::currentDateTime());
    QVERIFY2(files.ok(), qPrintable(files.error));
    QCOMPARE(QFileInfo(files.csvPath).dir(), QFileInfo(planPath).dir());
    QFile csvFile(files.csvPath);
    QVERIFY(csvFile.open(QIODevice::ReadOnly));
    const QByteArray csv = csvFile.readAll();
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    const QList<QStringList> csvRows = VexoTest::parseCsv(QString::fromUtf8(csv.mid(3)));
    const VexoTest::ReadResult xls = VexoTest::readWithFreeXl({files.xlsPath});
    QVERIFY2(xls.error.isEmpty(), qPrintable(xls.error));
    const QList<QStringList> xlsRows = xls.workbooks.value(files.xlsPath).value(0).rows;
    QCOMPARE(VexoTest::paddedRows(xlsRows), VexoTest::paddedRows(csvRows));
    QCOMPARE(xlsRows.size(), 21);
    const int newAddress = int(PlanReport::header().indexOf(PlanReport::tr("New IPv4 Address")));
    const int result = int(PlanReport::header().size()) - 1;
    QCOMPARE(xlsRows.at(1).at(1), m_serials.first());
    QCOMPARE(xlsRows.at(1).at(newAddress), QStringLiteral("192.168.1.101"));
    QCOMPARE(xlsRows.at(1).at(result), QStringLiteral("Succeed"));
    QCOMPARE(xlsRows.at(20).at(newAddress), FactoryAddress);
    QVERIFY(xlsRows.at(20).at(result).startsWith(QStringLiteral("Not sent")));
}

void tst_PlanApply::commandLine_data()
{
    QTest::addColumn<QString>("rows"); // below the header "serial,ipv4,mask,gateway"; %1 to %3 the devices
    QTest::addColumn<bool>("dryRun");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("verdicts");
    QTest::addColumn<QString>("movedTo"); // where the first device is afterwards, empty: unchanged

    QTest::addRow("dry run, all accepted: nothing sent") << "%1,203.0.113.121,255.255.255.0,203.0.113.1\n"
                                                         << true << 0 << QStringList{"will-change"} << "";
    QTest::addRow("dry run with a refused row")
        << "%1,203.0.113.121,255.255.255.0,203.0.113.1\n%2,203.0.113.255,255.255.255.0,203.0.113.1\n"
        << true << 1 << QStringList{"will-change", "network-mismatch"} << "";
    QTest::addRow("applied with a refused row")
        << "%1,203.0.113.122,255.255.255.0,203.0.113.1\n%3,203.0.113.122,255.255.255.0,203.0.113.1\n"
        << false << 1 << QStringList{"address-in-use", "address-in-use"} << "";
    QTest::addRow("applied") << "%1,203.0.113.123,255.255.255.0,203.0.113.1\n"
                             << false << 0 << QStringList{"will-change"} << "203.0.113.123";
    QTest::addRow("plan file with a bad value") << "%1,203.0.113.300,,\n" << true << 2 << QStringList() << "";
}

void tst_PlanApply::commandLine()
{
    QFETCH(QString, rows);
    QFETCH(bool, dryRun);
    QFETCH(int, exitCode);
    QFETCH(QStringList, verdicts);
    QFETCH(QString, movedTo);

    for (int i = 20; i < 23; ++i) {
        QCOMPARE(m_sim.commandResult(QStringLiteral("set %1 dhcp 0").arg(m_serials.at(i))), QStringLiteral("ok"));
        QCOMPARE(m_sim.commandResult(QStringLiteral("set %1 ipv4 203.0.113.%2").arg(m_serials.at(i)).arg(i)),
                 QStringLiteral("ok"));
        QCOMPARE(m_sim.commandResult(QStringLiteral("set %1 password %2").arg(m_serials.at(i), AdminPassword)),
                 QStringLiteral("ok"));
    }
    const QString planPath = m_dir.filePath(QStringLiteral("%1.csv").arg(QTest::currentDataTag()).replace(u' ', u'-'));
    QFile planFile(planPath);
    rows.replace(QStringLiteral("%1"), m_serials.at(20))
        .replace(QStringLiteral("%2"), m_serials.at(21))
        .replace(QStringLiteral("%3"), m_serials.at(22));
    const QByteArray text = ("serial,ipv4,mask,gateway\n" + rows).toUtf8();
    QVERIFY(planFile.open(QIODevice::WriteOnly) && planFile.write(text) == text.size());
    planFile.close();

    QStringList arguments{QStringLiteral("plan"), planPath, QStringLiteral("--json"), QStringLiteral("--wait"),
                          QStringLiteral("1000")};
    arguments << (dryRun ? QStringLiteral("--dry-run") : AdminPassword);
    QProcess cli;
    cli.start(SimulatorProcess::toolPath(QStringLiteral("vexo-cli")), arguments);
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), exitCode);
    const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    QStringList seenVerdicts;
    for (const QJsonValue &row : json.value(QStringLiteral("rows")).toArray())
        seenVerdicts.append(row.toObject().value(QStringLiteral("verdict")).toString());
    QCOMPARE(seenVerdicts, verdicts);
    const QString expected = movedTo.isEmpty() ? QStringLiteral("203.0.113.20") : movedTo;
    QCOMPARE(simulatedDevices(m_sim).value(m_serials.at(20)).value(1), expected);
    // A report exists exactly when something was applied.
    const QStringList reports = QDir(m_dir.path()).entryList({QFileInfo(planPath).completeBaseName() + "-report-*"});
    QCOMPARE(reports.size(), (!dryRun && exitCode != 2 && verdicts.contains(QStringLiteral("will-change"))) ? 2 : 0);
}

QTEST_GUILESS_MAIN(tst_PlanApply)
#include "tst_planapply.moc"
