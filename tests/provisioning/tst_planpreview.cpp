// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The preview of a plan against the listed devices: each verdict from both sides of its boundary.
#include "planpreview.h"

#include "devicerecords.h"

#include <QTest>

using namespace VexoTool;

namespace {

QString kindName(PlanVerdictKind kind)
{
    switch (kind) {
    case PlanVerdictKind::WillChange:
        return QStringLiteral("change");
    case PlanVerdictKind::Unchanged:
        return QStringLiteral("unchanged");
    case PlanVerdictKind::NotListed:
        return QStringLiteral("unlisted");
    case PlanVerdictKind::Unverified:
        return QStringLiteral("unverified");
    case PlanVerdictKind::NeedsPassword:
        return QStringLiteral("no-password");
    case PlanVerdictKind::WeakPassword:
        return QStringLiteral("weak");
    case PlanVerdictKind::AddressInUse:
        return QStringLiteral("in-use");
    case PlanVerdictKind::NetworkMismatch:
        return QStringLiteral("network");
    case PlanVerdictKind::DhcpNotSupported:
        return QStringLiteral("no-dhcp");
    case PlanVerdictKind::StaticWithDhcp:
        return QStringLiteral("dhcp-on");
    }
    return QString();
}

// Devices 1 to 6 at 10.0.0.1 to 10.0.0.6/24: 3 is still to be activated, 4 is unverified,
// 5 has DHCP on, 6 cannot use DHCP.
QVector<VEXO_DEVICE_INFO> listedDevices()
{
    QVector<VEXO_DEVICE_INFO> records;
    for (int n = 1; n <= 6; ++n) {
        VEXO_DEVICE_INFO record = deviceRecord(n);
        record.identityFlags = VEXO_IDENTITY_VERIFIED;
        records.append(record);
    }
    records[2].inactive = 1;
    records[3].identityFlags = 0;
    records[4].dhcpEnabled = 1;
    records[5].capabilityFlags &= ~VEXO_CAP_DHCP;
    return records;
}

} // namespace

class tst_PlanPreview : public QObject
{
    Q_OBJECT

private slots:
    void verdicts_data();
    void verdicts();
    void sentParametersKeepWhatThePlanLeavesOut();
    void oneDevicePlannedTwice_data();
    void oneDevicePlannedTwice();
};

void tst_PlanPreview::verdicts_data()
{
    QTest::addColumn<QString>("plan"); // the plan's rows below the header "serial,mac,ipv4,mask,gateway,dhcp,password"
    QTest::addColumn<QString>("expected"); // the verdicts, comma-separated

    const QString d1 = QStringLiteral("VX-IPC-B420-20260001,");
    const QString d2 = QStringLiteral("VX-IPC-B420-20260002,");
    const QString d3 = QStringLiteral("VX-IPC-B420-20260003,");
    QTest::addRow("free address") << d1 + ",10.0.0.9,,,,"
                                  << "change";
    QTest::addRow("the device's own values") << d1 + ",10.0.0.1,255.255.255.0,10.0.0.254,off,"
                                             << "unchanged";
    QTest::addRow("unknown serial") << "VX-UNKNOWN,,10.0.0.9,,,,"
                                    << "unlisted";
    QTest::addRow("MAC in capitals") << ",00-1A-2B-00-00-01,10.0.0.9,,,,"
                                     << "change";
    QTest::addRow("unknown serial with a listed MAC") << "VX-UNKNOWN,00-1a-2b-00-00-01,10.0.0.9,,,,"
                                                      << "unlisted";
    QTest::addRow("serial and MAC of different devices") << d1 + "00-1a-2b-00-00-02,10.0.0.9,,,,"
                                                         << "unlisted";
    QTest::addRow("address another device keeps") << d1 + ",10.0.0.2,,,,"
                                                  << "in-use";
    QTest::addRow("address another device leaves") << d1 + ",10.0.0.2,,,,\n" + d2 + ",10.0.0.9,,,,"
                                                   << "change,change";
    QTest::addRow("two devices swap") << d1 + ",10.0.0.2,,,,\n" + d2 + ",10.0.0.1,,,,"
                                      << "change,change";
    QTest::addRow("swap with a refused partner") << d1 + ",10.0.0.2,,,,\n" + d2 + ",10.0.0.1,,10.0.1.1,,"
                                                 << "in-use,network";
    QTest::addRow("same free address planned twice") << d1 + ",10.0.0.9,,,,\n" + d2 + ",10.0.0.9,,,,"
                                                     << "in-use,in-use";
    QTest::addRow("chain of moves refused at its end") << d1 + ",10.0.0.2,,,,\n" + d2 + ",10.0.0.4,,,,"
                                                       << "in-use,in-use";
    QTest::addRow("last host of the subnet") << d1 + ",10.0.0.254,,10.0.0.1,,"
                                             << "change";
    QTest::addRow("broadcast address") << d1 + ",10.0.0.255,,,,"
                                       << "network";
    QTest::addRow("first host of a /25") << d1 + ",10.0.0.129,255.255.255.128,10.0.0.254,,"
                                         << "change";
    QTest::addRow("network address of a /25") << d1 + ",10.0.0.128,255.255.255.128,10.0.0.254,,"
                                              << "network";
    QTest::addRow("gateway outside a /25") << d1 + ",10.0.0.9,255.255.255.128,10.0.0.254,,"
                                           << "network";
    QTest::addRow("unverified device") << "VX-IPC-B420-20260004,,10.0.0.9,,,,"
                                       << "unverified";
    QTest::addRow("to activate without password") << d3 + ",10.0.0.9,,,,"
                                                  << "no-password";
    QTest::addRow("to activate, one kind of character") << d3 + ",10.0.0.9,,,,abcdefgh"
                                                        << "weak";
    QTest::addRow("to activate, seven characters") << d3 + ",10.0.0.9,,,,abc1234"
                                                   << "weak";
    QTest::addRow("to activate, eight characters of two kinds") << d3 + ",10.0.0.9,,,,abcd1234"
                                                                << "change";
    QTest::addRow("activation only") << d3 + ",,,,,abcd1234"
                                     << "change";
    QTest::addRow("static address while DHCP stays on") << "VX-IPC-B420-20260005,,10.0.0.9,,,,"
                                                        << "dhcp-on";
    QTest::addRow("static address with DHCP turned off") << "VX-IPC-B420-20260005,,10.0.0.9,,,off,"
                                                         << "change";
    QTest::addRow("DHCP on where unsupported") << "VX-IPC-B420-20260006,,,,,on,"
                                               << "no-dhcp";
    QTest::addRow("DHCP on where supported") << d1 + ",,,,on,"
                                             << "change";
}

void tst_PlanPreview::verdicts()
{
    QFETCH(QString, plan);
    QFETCH(QString, expected);

    const PlanParseResult parsed
        = PlanFile::parse(QStringLiteral("serial,mac,ipv4,mask,gateway,dhcp,password\n%1\n").arg(plan).toUtf8());
    QVERIFY2(parsed.ok(), qPrintable(parsed.ok() ? QString() : PlanFile::describe(parsed.errors.first())));
    const QList<PlanVerdict> verdicts = PlanPreview::preview(parsed.rows, listedDevices());
    QStringList kinds;
    for (const PlanVerdict &verdict : verdicts) {
        kinds.append(kindName(verdict.kind));
        QCOMPARE(verdict.reason.isEmpty(),
                 verdict.kind == PlanVerdictKind::WillChange || verdict.kind == PlanVerdictKind::Unchanged);
    }
    QCOMPARE(kinds.join(u','), expected);
}

void tst_PlanPreview::sentParametersKeepWhatThePlanLeavesOut()
{
    const PlanParseResult parsed = PlanFile::parse("serial,ipv4,port,http port\nVX-IPC-B420-20260001,10.0.0.9,,8080\n");
    QVERIFY(parsed.ok());
    const QVector<VEXO_DEVICE_INFO> records = listedDevices();
    const PlanVerdict verdict = PlanPreview::preview(parsed.rows, records).first();
    QVERIFY(verdict.networkChange);
    QCOMPARE(QString::fromLatin1(verdict.param.ipv4Address), QStringLiteral("10.0.0.9"));
    // Copies: the parameter block is packed, and a reference to its fields would be misaligned.
    QCOMPARE(quint16(verdict.param.httpPort), quint16(8080));
    QCOMPARE(quint16(verdict.param.port), quint16(records.first().port));
    QCOMPARE(QString::fromLatin1(verdict.param.ipv4SubnetMask), QStringLiteral("255.255.255.0"));
    QCOMPARE(QString::fromLatin1(verdict.param.ipv6Address), QString::fromLatin1(records.first().ipv6Address));
}

void tst_PlanPreview::oneDevicePlannedTwice_data()
{
    QTest::addColumn<QString>("plan");         // below the header "serial,mac,ipv4"
    QTest::addColumn<QStringList>("problems"); // "line<earlier line" of each row refused

    QTest::addRow("serial in one row, MAC in the other")
        << "VX-IPC-B420-20260001,,10.0.0.9\n,00:1A:2B:00:00:01,10.0.0.8" << QStringList{"3<2"};
    QTest::addRow("MAC without separators first, serial two rows later")
        << ",001a2b000002,\nVX-IPC-B420-20260001,,\nVX-IPC-B420-20260002,," << QStringList{"4<2"};
    QTest::addRow("two devices") << "VX-IPC-B420-20260001,,\n,00-1a-2b-00-00-02," << QStringList{};
    QTest::addRow("a device not listed") << "VX-UNKNOWN,,\n,02-00-00-00-00-09," << QStringList{};
}

void tst_PlanPreview::oneDevicePlannedTwice()
{
    QFETCH(QString, plan);
    QFETCH(QStringList, problems);

    const PlanParseResult parsed = PlanFile::parse(QStringLiteral("serial,mac,ipv4\n%1\n").arg(plan).toUtf8());
    QVERIFY2(parsed.ok(), qPrintable(parsed.ok() ? QString() : PlanFile::describe(parsed.errors.first())));
    QStringList seen;
    for (const PlanError &error : PlanPreview::plannedTwice(parsed.rows, listedDevices())) {
        const QString earlier = error.message.section(u' ', -1).chopped(1);
        seen.append(QString::number(error.line) + u'<' + earlier);
    }
    QCOMPARE(seen, problems);
}

QTEST_GUILESS_MAIN(tst_PlanPreview)
#include "tst_planpreview.moc"
