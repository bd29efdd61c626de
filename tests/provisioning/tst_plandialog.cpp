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

QTEST_MAIN(tst_PlanDialog)
#include "tst_plandialog.moc"
