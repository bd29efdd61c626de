// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// Reading plan files: what well-formed files give, and where hostile ones are refused.
#include "planfile.h"

#include <QRandomGenerator>
#include <QTest>

using namespace VexoTool;

class tst_PlanFile : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void boundedProblems_data();
    void boundedProblems();
    void readsAFileFromDisk();
};

void tst_PlanFile::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");        // rows read; 0 when refused
    QTest::addColumn<int>("errorLine");   // of the first problem
    QTest::addColumn<int>("errorColumn"); // of the first problem
    QTest::addColumn<QString>("lastRow"); // "line|serial|mac|address|password" of the last row read

    QTest::addRow("BOM and CRLF") << QByteArray("\xEF\xBB\xBFSerial,IPv4\r\nA1,192.0.2.10\r\n") << 1 << 0 << 0
                                  << "2|A1||192.0.2.10|";
    QTest::addRow("semicolons detected") << QByteArray("Serial Number;Address;Mask\nA1;192.0.2.10;255.255.255.0") << 1
                                         << 0 << 0 << "2|A1||192.0.2.10|";
    QTest::addRow("tabs detected, MAC with colons in capitals")
        << QByteArray("MAC\tipv4\n02:AB:00:00:00:01\t192.0.2.10\n") << 1 << 0 << 0
        << "2||02-ab-00-00-00-01|192.0.2.10|";
    QTest::addRow("Chinese column names")
        << QByteArray("序列号,IP地址,密码\nA1,192.0.2.10,abc12345\n") << 1 << 0 << 0 << "2|A1||192.0.2.10|abc12345";
    QTest::addRow("quoted separator, quote and line break")
        << QByteArray("serial,password,ipv4\n\"A1\",\"p,a\"\"s\ns\",192.0.2.10\nA2,\" x \",\n") << 2 << 0 << 0
        << "4|A2||| x ";
    QTest::addRow("blank lines skipped") << QByteArray("\n\nserial\n\nA1\n\n") << 1 << 0 << 0 << "5|A1|||";
    QTest::addRow("no header row") << QByteArray("A1,192.0.2.10\n") << 0 << 1 << 0 << "";
    QTest::addRow("unknown column") << QByteArray("serial,colour\nA1,red\n") << 0 << 1 << 2 << "";
    QTest::addRow("duplicate column by alias") << QByteArray("serial,ipv4,sn\n") << 0 << 1 << 3 << "";
    QTest::addRow("neither serial nor MAC column")
        << QByteArray("ipv4,mask\n192.0.2.10,255.0.0.0\n") << 0 << 1 << 0 << "";
    QTest::addRow("row without device") << QByteArray("serial,ipv4\n,192.0.2.10\n") << 0 << 2 << 1 << "";
    QTest::addRow("address part 255 read")
        << QByteArray("serial,ipv4\nA1,192.0.2.255\n") << 1 << 0 << 0 << "2|A1||192.0.2.255|";
    QTest::addRow("address part 256 refused")
        << QByteArray("serial,ipv4\nA1,192.0.2.10\nA2,192.0.2.256\n") << 0 << 3 << 2 << "";
    QTest::addRow("mask with a gap refused") << QByteArray("serial,mask\nA1,255.0.255.0\n") << 0 << 2 << 2 << "";
    QTest::addRow("gateway ending in 255 refused")
        << QByteArray("serial,gateway\nA1,192.0.2.255\n") << 0 << 2 << 2 << "";
    QTest::addRow("port 2000 read") << QByteArray("serial,port\nA1,2000\n") << 1 << 0 << 0 << "2|A1|||";
    QTest::addRow("port 1999 refused") << QByteArray("serial,port\nA1,1999\n") << 0 << 2 << 2 << "";
    QTest::addRow("http port 65535 read") << QByteArray("serial,http port\nA1,65535\n") << 1 << 0 << 0 << "2|A1|||";
    QTest::addRow("http port 65536 refused") << QByteArray("serial,http port\nA1,65536\n") << 0 << 2 << 2 << "";
    QTest::addRow("http port 0 refused") << QByteArray("serial,web port\nA1,0\n") << 0 << 2 << 2 << "";
    QTest::addRow("dhcp yes read") << QByteArray("serial,dhcp\nA1,Yes\n") << 1 << 0 << 0 << "2|A1|||";
    QTest::addRow("dhcp maybe refused") << QByteArray("serial,dhcp\nA1,maybe\n") << 0 << 2 << 2 << "";
    QTest::addRow("password of 16 characters read")
        << QByteArray("serial,password\nA1,abcdefgh12345678\n") << 1 << 0 << 0 << "2|A1|||abcdefgh12345678";
    QTest::addRow("password of 17 characters refused")
        << QByteArray("serial,password\nA1,abcdefgh123456789\n") << 0 << 2 << 2 << "";
    QTest::addRow("MAC of five bytes refused") << QByteArray("mac\n02-00-00-00-01\n") << 0 << 2 << 1 << "";
    QTest::addRow("serial of 47 characters read")
        << QByteArray("serial\n" + QByteArray(47, 'S') + '\n') << 1 << 0 << 0 << "2|" + QString(47, u'S') + "|||";
    QTest::addRow("serial of 48 characters refused")
        << QByteArray("serial\n" + QByteArray(48, 'S') + '\n') << 0 << 2 << 1 << "";
    QTest::addRow("same serial twice") << QByteArray("serial,ipv4\nA1,192.0.2.10\nA1,192.0.2.11\n") << 0 << 3 << 1
                                       << "";
    QTest::addRow("same MAC written two ways")
        << QByteArray("ipv4,mac\n,02-00-00-00-00-01\n,02:00:00:00:00:01\n") << 0 << 3 << 2 << "";
    QTest::addRow("same MAC with and without separators")
        << QByteArray("mac,ipv4\n0200.0000.00AB,\n02:00:00:00:00:ab,\n") << 0 << 3 << 1 << "";
    QTest::addRow("more fields than columns") << QByteArray("serial,ipv4\nA1,192.0.2.10,x\n") << 0 << 2 << 3 << "";
    QTest::addRow("fewer fields than columns read") << QByteArray("serial,ipv4,mask\nA1\n") << 1 << 0 << 0 << "2|A1|||";
    QTest::addRow("quote left open") << QByteArray("serial,ipv4\nA1,192.0.2.10\n\"A2,192.0.2.11\n") << 0 << 3 << 1
                                     << "";
    QTest::addRow("text after a closing quote") << QByteArray("serial,ipv4\n\"A1\"x,192.0.2.10\n") << 0 << 2 << 1 << "";
    QTest::addRow("NUL byte") << QByteArray("serial\nA1\n\0\x01\x02", 12) << 0 << 3 << 0 << "";
    QTest::addRow("not UTF-8") << QByteArray("serial\nA1\nA\xff\xfe\n") << 0 << 3 << 0 << "";
    QTest::addRow("empty file") << QByteArray() << 0 << 0 << 0 << "";
    QTest::addRow("header only") << QByteArray("serial,ipv4\n") << 0 << 0 << 0 << "";

    QByteArray large("serial,ipv4,mask,gateway,port,http port,dhcp,password\r\n");
    for (int i = 0; i < 10000; ++i)
        large += "SN" + QByteArray::number(i) + ",10." + QByteArray::number(i / 250) + '.' + QByteArray::number(i % 250)
                 + ".1,255.0.0.0,10.255.255.254,8000,80,off,abc12345\r\n";
    QTest::addRow("ten thousand rows") << large << 10000 << 0 << 0 << "10001|SN9999||10.39.249.1|abc12345";
    QByteArray tooLarge("serial\n");
    tooLarge += QByteArray(PlanFile::MaxFileSize, 'A');
    QTest::addRow("over the size limit") << tooLarge << 0 << 0 << 0 << "";
    QByteArray garbage(64 * 1024, Qt::Uninitialized);
    QRandomGenerator random(20261209);
    for (char &c : garbage)
        c = char(random.bounded(256));
    QTest::addRow("random bytes") << garbage << 0 << 1 << 0 << "";
}

void tst_PlanFile::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QFETCH(int, errorLine);
    QFETCH(int, errorColumn);
    QFETCH(QString, lastRow);

    const PlanParseResult result = PlanFile::parse(bytes);
    QCOMPARE(result.rows.size(), rows);
    QCOMPARE(result.ok(), rows > 0);
    if (!result.ok()) {
        QCOMPARE(result.errors.first().line, errorLine);
        QCOMPARE(result.errors.first().column, errorColumn);
        QVERIFY(!result.errors.first().message.isEmpty());
        return;
    }
    const PlanRow &last = result.rows.last();
    QCOMPARE(QStringList({QString::number(last.line), last.serial, last.mac, last.address, last.password}).join(u'|'),
             lastRow);
}

void tst_PlanFile::boundedProblems_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("problems"); // listed, a summary line of the rest included

    QByteArray columns("serial");
    for (int i = 1; i < PlanFile::MaxColumns; ++i)
        columns += ",x" + QByteArray::number(i);
    QTest::addRow("as many columns as allowed, all unknown") << columns + "\nA1\n" << 0 << PlanFile::MaxErrors + 1;
    QTest::addRow("a column more than allowed") << columns + ",x\nA1\n" << 0 << 1;
    QTest::addRow("a row of four million separators") << "serial\n" + QByteArray(4000000, ',') << 0 << 1;
    QByteArray badRows("serial,ipv4\n");
    for (int i = 0; i < 200; ++i)
        badRows += "A" + QByteArray::number(i) + ",192.0.2.256\n";
    QTest::addRow("two hundred bad rows") << badRows << 0 << PlanFile::MaxErrors + 1;
    QTest::addRow("a value of 1 MB") << "serial\n" + QByteArray(1024 * 1024, 'S') + "\n" << 0 << 1;
    QTest::addRow("a column name of 1 MB") << "serial," + QByteArray(1024 * 1024, 'S') + "\n" << 0 << 1;
    QByteArray rows("mac\n");
    for (int i = 0; i < PlanFile::MaxRows; ++i)
        rows += QByteArray::number(0x120000000000LL + i, 16) + '\n';
    QTest::addRow("as many rows as allowed") << rows << PlanFile::MaxRows << 0;
    QTest::addRow("a row more than allowed") << rows + "\n\n" + QByteArray::number(0x130000000000LL, 16) << 0 << 1;
}

void tst_PlanFile::boundedProblems()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QFETCH(int, problems);

    const PlanParseResult result = PlanFile::parse(bytes);
    QCOMPARE(result.rows.size(), rows);
    QCOMPARE(result.errors.size(), problems);
    // Values are quoted cut short: no message grows with the file.
    for (const PlanError &error : result.errors)
        QVERIFY2(error.message.size() < 160, qPrintable(error.message.left(200)));
}

void tst_PlanFile::readsAFileFromDisk()
{
    const PlanParseResult missing = PlanFile::read(QStringLiteral("/nonexistent/plan.csv"));
    QVERIFY(!missing.ok());
    QCOMPARE(missing.errors.first().line, 0);
}

QTEST_GUILESS_MAIN(tst_PlanFile)
#include "tst_planfile.moc"
