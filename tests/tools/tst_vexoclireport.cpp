// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// "vexo-cli report" against the simulator on loopback and a journal of the test's own: the PDF's
// text (pdftotext) holds every device that answered and every change of the period.
#include "simclient.h"
#include "simulatorprocess.h"

#include <journal.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using namespace VexoTool;

class tst_VexoCliReport : public QObject
{
    Q_OBJECT

private slots:
    void reportHoldsDevicesAndChanges_data();
    void reportHoldsDevicesAndChanges();
};

void tst_VexoCliReport::reportHoldsDevicesAndChanges_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("changes"); // of the five entries, the ones the period holds

    QTest::addRow("the whole journal") << QStringList{QStringLiteral("--since"), QStringLiteral("2026-01-01")} << 0
                                       << 5;
    QTest::addRow("a period of three entries") << QStringList{QStringLiteral("--since"), QStringLiteral("2026-03-02"),
                                                              QStringLiteral("--until"), QStringLiteral("2026-03-05")}
                                               << 0 << 3;
    QTest::addRow("no site: refused") << QStringList{QStringLiteral("--site")} << 2 << 0;
    QTest::addRow("a date that is none: refused")
        << QStringList{QStringLiteral("--since"), QStringLiteral("March")} << 2 << 0;
}

void tst_VexoCliReport::reportHoldsDevicesAndChanges()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(int, changes);

    QTemporaryDir dir;
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--seed"), QStringLiteral("9"),
                       QStringLiteral("--onvif"), QStringLiteral("2")}));
    SimClient client(sim.port());
    const auto devices = client.inquire(4);
    QCOMPARE(devices.size(), std::size_t(4));

    // Five changes, one a day from 1 March, the third a failure.
    const QString journalPath = dir.filePath(QStringLiteral("journal.sqlite"));
    QStringList changed;
    {
        JournalSettings settings;
        settings.databasePath = journalPath;
        settings.keepDays = 0;
        Journal journal(settings);
        for (int day = 0; day < 5; ++day) {
            JournalEntry entry = JournalEntry::make(JournalFlow::NetworkChange);
            entry.time = QDateTime(QDate(2026, 3, 1 + day), QTime(9, 30), Qt::UTC);
            entry.serialNumber = QStringLiteral("VX-JOURNAL-%1").arg(day);
            entry.mac = QStringLiteral("00-1a-2b-77-00-0%1").arg(day);
            entry.before.ipv4Address = QStringLiteral("192.168.1.64");
            entry.after.ipv4Address = QStringLiteral("10.60.0.%1").arg(day + 10);
            entry.result = day == 2 ? JournalResult::Failed : JournalResult::Succeeded;
            journal.append(entry);
            changed.append(entry.serialNumber);
        }
        QVERIFY(journal.flush());
    }

    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VEXO_SCOPE"), QStringLiteral("loopback"));
    env.insert(QStringLiteral("VEXO_PORT"), QString::number(sim.port()));
    env.insert(QStringLiteral("VEXO_WSD_PORT"), QString::number(sim.wsdPort()));
    cli.setProcessEnvironment(env);
    const QString pdf = dir.filePath(QStringLiteral("site.pdf"));
    QStringList words{QStringLiteral("report"), QStringLiteral("--journal"), journalPath, QStringLiteral("--out"), pdf,
                      QStringLiteral("--wait"), QStringLiteral("1500")};
    if (!arguments.contains(QStringLiteral("--site")))
        words += {QStringLiteral("--site"), QStringLiteral("North gate")};
    cli.start(SimulatorProcess::toolPath(QStringLiteral("vexo-cli")), words + arguments);
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), exitCode);
    if (exitCode != 0) {
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("site.xls"))));

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY(text.contains(QStringLiteral("North gate")));
    for (const auto &device : devices)
        QVERIFY2(text.contains(QString::fromStdString(device.device.serial)), device.device.serial.c_str());
    // The simulator's two ONVIF-only cameras, not signed in: listed by their addresses.
    for (const QString &onvifAddress : {QStringLiteral("127.1.0.1"), QStringLiteral("127.1.0.2")})
        QVERIFY2(text.contains(onvifAddress), qPrintable(onvifAddress));
    // The period's changes, and the failure still open whatever the period.
    for (int day = 0; day < 5; ++day) {
        const bool inPeriod = changes == 5 || (day >= 1 && day <= 3);
        const int times = int(text.count(changed.at(day)));
        QCOMPARE(times, int(inPeriod) + int(day == 2));
    }
}

QTEST_GUILESS_MAIN(tst_VexoCliReport)
#include "tst_vexoclireport.moc"
