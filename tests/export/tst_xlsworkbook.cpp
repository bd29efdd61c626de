// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <xlsworkbook.h>

#include <QTest>
#include <QtEndian>

using VexoTool::XlsWorkbook;

namespace {

struct Record
{
    quint16 type = 0;
    qsizetype offset = 0;
    QByteArray data;
};

// The records of a substream starting at @p offset, up to and including its end record.
QList<Record> substream(const QByteArray &stream, qsizetype offset)
{
    QList<Record> records;
    while (offset + 4 <= stream.size()) {
        Record record;
        record.type = qFromLittleEndian<quint16>(stream.constData() + offset);
        const auto size = qFromLittleEndian<quint16>(stream.constData() + offset + 2);
        record.offset = offset;
        record.data = stream.mid(offset + 4, size);
        records.append(record);
        offset += 4 + size;
        if (record.type == 0x000A)
            break;
    }
    return records;
}

} // namespace

class tst_XlsWorkbook : public QObject
{
    Q_OBJECT

private slots:
    void sheetName_data();
    void sheetName();
    void columnLimit_data();
    void columnLimit();
    void rowRefusals_data();
    void rowRefusals();
    void sheetHoldsAtMostMaxRows();
    void recordsStayWithinTheirSize_data();
    void recordsStayWithinTheirSize();
};

void tst_XlsWorkbook::sheetName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::addRow("plain") << "devices" << true;
    QTest::addRow("Chinese") << "设备清单" << true;
    QTest::addRow("blanks and signs") << "site A-1 (2026) #3" << true;
    QTest::addRow("31 characters") << QString(31, u'a') << true;
    QTest::addRow("32 characters") << QString(32, u'a') << false;
    QTest::addRow("empty") << "" << false;
    for (const char *sign : {"[", "]", ":", "*", "?", "/", "\\"})
        QTest::addRow("with %s", sign) << QStringLiteral("a%1b").arg(QLatin1String(sign)) << false;
    QTest::addRow("leading apostrophe") << "'devices" << false;
    QTest::addRow("trailing apostrophe") << "devices'" << false;
    QTest::addRow("inner apostrophe") << "site's devices" << true;
    QTest::addRow("character beyond U+FFFF") << QStringLiteral("camera \U0001F4F7") << true;
    QTest::addRow("half of a surrogate pair") << QStringLiteral("camera \U0001F4F7").chopped(1) << false;
}

void tst_XlsWorkbook::sheetName()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    XlsWorkbook workbook;
    QCOMPARE(workbook.createSheet(name, {QStringLiteral("ID")}), accepted);
    QCOMPARE(workbook.hasSheet(), accepted);
    QCOMPARE(workbook.errorString().isEmpty(), accepted);
    QCOMPARE(workbook.stream().isEmpty(), !accepted);
}

void tst_XlsWorkbook::columnLimit_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("accepted");
    QTest::addRow("none") << 0 << true;
    QTest::addRow("most") << XlsWorkbook::MaxColumns << true;
    QTest::addRow("one too many") << XlsWorkbook::MaxColumns + 1 << false;
}

void tst_XlsWorkbook::columnLimit()
{
    QFETCH(int, columns);
    QFETCH(bool, accepted);
    QStringList names;
    for (int i = 0; i < columns; ++i)
        names.append(QString::number(i));
    XlsWorkbook workbook;
    QCOMPARE(workbook.createSheet(QStringLiteral("devices"), names), accepted);
}

void tst_XlsWorkbook::rowRefusals_data()
{
    QTest::addColumn<bool>("withSheet");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("accepted");
    QTest::addRow("no sheet") << false << QStringList{"1"} << false;
    QTest::addRow("fewer values than columns") << true << QStringList{"1"} << true;
    QTest::addRow("as many values as columns") << true << QStringList{"1", "2"} << true;
    QTest::addRow("more values than columns") << true << QStringList{"1", "2", "3"} << false;
    QTest::addRow("longest text") << true << QStringList{QString(XlsWorkbook::MaxCellTextLength, u'设')} << true;
    QTest::addRow("text too long") << true << QStringList{QString(XlsWorkbook::MaxCellTextLength + 1, u'x')} << false;
}

void tst_XlsWorkbook::rowRefusals()
{
    QFETCH(bool, withSheet);
    QFETCH(QStringList, values);
    QFETCH(bool, accepted);
    XlsWorkbook workbook;
    if (withSheet)
        QVERIFY(workbook.createSheet(QStringLiteral("devices"), {QStringLiteral("ID"), QStringLiteral("MAC")}));
    const int rowsBefore = workbook.rowCount();
    QCOMPARE(workbook.insertRow(values), accepted);
    QCOMPARE(workbook.rowCount(), rowsBefore + (accepted ? 1 : 0));
}

void tst_XlsWorkbook::sheetHoldsAtMostMaxRows()
{
    XlsWorkbook workbook;
    QVERIFY(workbook.createSheet(QStringLiteral("devices"), {QStringLiteral("ID")}));
    for (int row = 1; row < XlsWorkbook::MaxRows; ++row)
        QVERIFY(workbook.insertRow({QString::number(row)}));
    QCOMPARE(workbook.rowCount(), XlsWorkbook::MaxRows);
    QVERIFY(!workbook.insertRow({QStringLiteral("one more")}));
    QVERIFY(!workbook.errorString().isEmpty());
}

void tst_XlsWorkbook::recordsStayWithinTheirSize_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addRow("short texts") << QStringList{"ID", "设备"};
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many.append(QStringLiteral("VX-IPC-%1 摄像机").arg(i));
    QTest::addRow("many texts") << many;
    QTest::addRow("one long wide text") << QStringList{QString(XlsWorkbook::MaxCellTextLength, u'设')};
    QTest::addRow("one long narrow text") << QStringList{QString(XlsWorkbook::MaxCellTextLength, u'x')};
    QString pairs;
    for (int i = 0; i < 6000; ++i)
        pairs += QStringLiteral("\U0001F4F7");
    QTest::addRow("surrogate pairs") << QStringList{pairs};
}

void tst_XlsWorkbook::recordsStayWithinTheirSize()
{
    QFETCH(QStringList, texts);
    XlsWorkbook workbook;
    QVERIFY(workbook.createSheet(QStringLiteral("devices"), {QStringLiteral("text")}));
    for (const QString &text : texts)
        QVERIFY(workbook.insertRow({text}));
    const QByteArray stream = workbook.stream();

    const QList<Record> globals = substream(stream, 0);
    QVERIFY(!globals.isEmpty());
    QCOMPARE(globals.first().type, quint16(0x0809));
    QCOMPARE(globals.last().type, quint16(0x000A));
    qsizetype sheetOffset = -1;
    for (const Record &record : globals) {
        QVERIFY2(record.data.size() <= 8224, qPrintable(QString::number(record.type, 16)));
        if (record.type == 0x0085)
            sheetOffset = qFromLittleEndian<quint32>(record.data.constData());
    }
    // The sheet list points at the sheet's own begin record.
    QVERIFY(sheetOffset > 0);
    const QList<Record> sheet = substream(stream, sheetOffset);
    QCOMPARE(sheet.first().type, quint16(0x0809));
    QCOMPARE(qFromLittleEndian<quint16>(sheet.first().data.constData() + 2), quint16(0x0010));
    QCOMPARE(sheet.last().type, quint16(0x000A));
    qsizetype cells = 0;
    for (const Record &record : sheet)
        cells += record.type == 0x00FD ? 1 : 0;
    QCOMPARE(cells, texts.size() + 1);
}

QTEST_GUILESS_MAIN(tst_XlsWorkbook)
#include "tst_xlsworkbook.moc"
