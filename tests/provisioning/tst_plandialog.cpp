// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The "Apply plan" dialog on its own, over a stand-in discovery library.
#include "plandialog.h"

#include "devicerecords.h"
#include "fakevexo.h"

#include <devicestore.h>
#include <vexohandler.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace VexoTool;

class tst_PlanDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void appliesOnlyAcceptedRows_data();
    void appliesOnlyAcceptedRows();
    void applierFailuresAndCancel_data();
    void applierFailuresAndCancel();
    void applierSendsTheDeviceLeavingAnAddressFirst_data();
    void applierSendsTheDeviceLeavingAnAddressFirst();

private:
    DeviceStore m_store;
    std::unique_ptr<VEXO::VexoHandler> m_handler;
    QTemporaryDir m_dir;
};

void tst_PlanDialog::init()
{
    FakeVexo::reset();
    m_handler = std::make_unique<VEXO::VexoHandler>(FakeVexo::library());
    m_store.clear();
    for (int n = 1; n <= 3; ++n) {
        VEXO_DEVICE_INFO record = deviceRecord(n);
        record.identityFlags = VEXO_IDENTITY_VERIFIED;
        m_store.add(record);
    }
}

void tst_PlanDialog::appliesOnlyAcceptedRows_data()
{
    QTest::addColumn<QByteArray>("plan");
    QTest::addColumn<bool>("applyEnabled");
    QTest::addColumn<int>("modifyCalls");

    QTest::addRow("one accepted, one refused")
        << QByteArray("serial,ipv4\nVX-IPC-B420-20260001,10.0.0.9\nVX-IPC-B420-20260002,10.0.0.3\n") << true << 1;
    QTest::addRow("all refused") << QByteArray("serial,ipv4\nVX-IPC-B420-20260002,10.0.0.3\n") << false << 0;
    QTest::addRow("file with a bad value")
        << QByteArray("serial,ipv4\nVX-IPC-B420-20260001,10.0.0.256\n") << false << 0;
}

void tst_PlanDialog::appliesOnlyAcceptedRows()
{
    QFETCH(QByteArray, plan);
    QFETCH(bool, applyEnabled);
    QFETCH(int, modifyCalls);

    const QString path = m_dir.filePath(QStringLiteral("plan.csv"));
    QVERIFY(writeFile(path, plan));
    PlanDialog dialog(m_store, *m_handler);
    dialog.loadPlan(path);
    auto *apply = dialog.findChild<QPushButton *>(QStringLiteral("btnConfirm"));
    QVERIFY(apply);
    QCOMPARE(apply->isEnabled(), applyEnabled);
    QVERIFY(!dialog.findChild<QLabel *>(QStringLiteral("m_labelSummary"))->text().isEmpty());
    if (!applyEnabled)
        return;

    dialog.findChild<QLineEdit *>(QStringLiteral("m_lineEditPassword"))->setText(QStringLiteral("Admin12345"));
    QSignalSpy finished(&dialog, &PlanDialog::signalApplyFinished);
    QTest::mouseClick(apply, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(FakeVexo::calls(FakeVexo::Call::ModifyDeviceNetParam), modifyCalls);
    QCOMPARE(QString::fromLatin1(FakeVexo::state().netParam.ipv4Address), QStringLiteral("10.0.0.9"));
    QCOMPARE(QString::fromStdString(FakeVexo::state().secret), QStringLiteral("Admin12345"));
    // The store shows the change, and the button stays off: the same preview is not sent twice.
    DeviceNetParam param{};
    QVERIFY(m_store.getNetParams(QStringLiteral("VX-IPC-B420-20260001"), QStringLiteral("00-1a-2b-00-00-01"), param));
    QCOMPARE(QString::fromLatin1(param.ipv4Address), QStringLiteral("10.0.0.9"));
    QVERIFY(!apply->isEnabled());
    const auto *table = dialog.findChild<QTableWidget *>(QStringLiteral("m_tablePreview"));
    QCOMPARE(table->item(0, 4)->text(), QStringLiteral("Succeed"));
    QVERIFY(table->item(1, 4)->text().startsWith(QStringLiteral("Not sent")));
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("plan-report-*")}).size(), 2);
}

// The applier behind the dialog: a refusal of the device, and a cancel between devices.
void tst_PlanDialog::applierFailuresAndCancel_data()
{
    QTest::addColumn<int>("modifyResult"); // what the library returns for each change
    QTest::addColumn<bool>("cancelAfterFirst");
    QTest::addColumn<int>("modifyCalls");
    QTest::addColumn<QStringList>("results");

    QTest::addRow("all succeed") << 1 << false << 3 << QStringList{"Succeed", "Succeed", "Succeed"};
    QTest::addRow("device refuses the password")
        << 0 << false << 3 << QStringList{"Device deny.", "Device deny.", "Device deny."};
    QTest::addRow("cancelled after the first device")
        << 1 << true << 1 << QStringList{"Succeed", "Not sent: cancelled.", "Not sent: cancelled."};
}

void tst_PlanDialog::applierFailuresAndCancel()
{
    QFETCH(int, modifyResult);
    QFETCH(bool, cancelAfterFirst);
    QFETCH(int, modifyCalls);
    QFETCH(QStringList, results);

    FakeVexo::setResult(FakeVexo::Call::ModifyDeviceNetParam, modifyResult);
    FakeVexo::state().lastError = VEXO_ERR_DEVICE_DENY;
    const PlanParseResult plan = PlanFile::parse("serial,ipv4\nVX-IPC-B420-20260001,10.0.0.7\n"
                                                 "VX-IPC-B420-20260002,10.0.0.8\nVX-IPC-B420-20260003,10.0.0.9\n");
    QVERIFY(plan.ok());
    QVector<VEXO_DEVICE_INFO> records;
    m_store.copyAll(records);
    PlanApplier applier(*m_handler, plan.rows, PlanPreview::preview(plan.rows, records), records, "Admin12345");
    connect(&applier, &PlanApplier::rowDone, &applier, [&applier, cancelAfterFirst] {
        if (cancelAfterFirst)
            applier.cancel();
    });
    const QList<PlanOutcome> outcomes = applier.run();
    QCOMPARE(FakeVexo::calls(FakeVexo::Call::ModifyDeviceNetParam), modifyCalls);
    QStringList seen;
    for (const PlanOutcome &outcome : outcomes) {
        seen.append(outcome.result.section(u'\n', 0, 0));
        QCOMPARE(outcome.succeeded, outcome.result == QLatin1String("Succeed"));
    }
    QCOMPARE(seen, results);
}

void tst_PlanDialog::applierSendsTheDeviceLeavingAnAddressFirst_data()
{
    QTest::addColumn<QByteArray>("rows"); // below "serial,ipv4"; devices 1 to 3 at 10.0.0.1 to 10.0.0.3
    QTest::addColumn<QList<int>>("order");

    QTest::addRow("independent rows in the plan's order")
        << QByteArray("VX-IPC-B420-20260001,10.0.0.7\nVX-IPC-B420-20260002,10.0.0.8\n") << QList<int>{0, 1};
    QTest::addRow("a chain of moves from its free end")
        << QByteArray("VX-IPC-B420-20260001,10.0.0.2\nVX-IPC-B420-20260002,10.0.0.3\nVX-IPC-B420-20260003,10.0.0.9\n")
        << QList<int>{2, 1, 0};
    QTest::addRow("a swap, which no order can keep apart")
        << QByteArray("VX-IPC-B420-20260001,10.0.0.2\nVX-IPC-B420-20260002,10.0.0.1\n") << QList<int>{1, 0};
}

void tst_PlanDialog::applierSendsTheDeviceLeavingAnAddressFirst()
{
    QFETCH(QByteArray, rows);
    QFETCH(QList<int>, order);

    const PlanParseResult plan = PlanFile::parse("serial,ipv4\n" + rows);
    QVERIFY(plan.ok());
    QVector<VEXO_DEVICE_INFO> records;
    m_store.copyAll(records);
    const QList<PlanVerdict> verdicts = PlanPreview::preview(plan.rows, records);
    QCOMPARE(PlanPreview::acceptedCount(verdicts), plan.rows.size());
    PlanApplier applier(*m_handler, plan.rows, verdicts, records, "Admin12345");
    QList<int> sent;
    connect(&applier, &PlanApplier::rowDone, &applier, [&sent](int row) { sent.append(row); });
    applier.run();
    QCOMPARE(sent, order);
}

QTEST_MAIN(tst_PlanDialog)
#include "tst_plandialog.moc"
