// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "workbookreaders.h"

#include <excelmanager.h>
#include <xlsworkbook.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using VexoTest::ReadResult;
using VexoTest::ReadSheet;
using VexoTool::ExcelManager;
using VexoTool::XlsWorkbook;

namespace {

// The table's columns: the check-box column first, then what the export writes.
const QStringList kHeaders = {QString(),
                              QStringLiteral("ID"),
                              QStringLiteral("Device Type"),
                              QStringLiteral("Port"),
                              QStringLiteral("Serial Number"),
                              QStringLiteral("MAC"),
                              QStringLiteral("Start Time")};
const QStringList kWrittenHeaders = {QStringLiteral("ID"),   QStringLiteral("Device Type"),
                                     QStringLiteral("Port"), QStringLiteral("Device Serial Number"),
                                     QStringLiteral("MAC"),  QStringLiteral("Start Time")};

std::unique_ptr<QStandardItemModel> tableModel(const QList<QStringList> &rows)
{
    auto model = std::make_unique<QStandardItemModel>(int(rows.size()), int(kHeaders.size()));
    model->setHorizontalHeaderLabels(kHeaders);
    for (int row = 0; row < rows.size(); ++row) {
        auto *check = new QStandardItem;
        check->setCheckable(true);
        model->setItem(row, 0, check);
        for (int column = 1; column < kHeaders.size(); ++column)
            model->setItem(row, column, new QStandardItem(rows.at(row).value(column - 1)));
    }
    return model;
}

QStringList deviceRow(int n, const QString &type, const QString &startTime = QStringLiteral("2026-01-02 03:04:05"))
{
    return {QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')),
            type,
            QStringLiteral(" 8000"),
            QStringLiteral("VX-IPC-B420-2026%1").arg(n, 4, 10, QLatin1Char('0')),
            QStringLiteral("00-1a-2b-00-00-%1").arg(n, 2, 16, QLatin1Char('0')),
            startTime};
}

// One workbook the test writes and every reader reads back.
struct Case
{
    QString fileName;
    QString sheetName;
    QList<QStringList> modelRows;
    QList<int> exportedRows;

    QList<QStringList> expectedRows() const
    {
        QList<QStringList> rows{kWrittenHeaders};
        for (const int row : exportedRows)
            rows.append(modelRows.at(row));
        return rows;
    }
};

QHash<QString, Case> cases()
{
    QHash<QString, Case> all;

    Case chinese;
    chinese.fileName = QStringLiteral("设备清单 2026");
    chinese.sheetName = chinese.fileName;
    chinese.modelRows = {
        deviceRow(1, QStringLiteral("网络摄像机 VX-IPC-B420")),
        deviceRow(2, QStringLiteral("硬盘录像机"), QStringLiteral("二〇二六年一月二日")),
        // Longer than a cell of the old driver (64) and than a plain text record (255).
        deviceRow(3, QStringLiteral("VX-NVR-").repeated(50)),
        // Split between two records of the string table.
        deviceRow(4, QStringLiteral("录像机通道").repeated(600)),
        deviceRow(5, QStringLiteral("quoted \"type\", with comma; emoji \U0001F4F7 and é")),
        deviceRow(6, QString()),
    };
    chinese.exportedRows = {2, 0, 5, 4, 1, 3}; // list order, not table order
    all.insert(QStringLiteral("Chinese and long texts"), chinese);

    Case severalRecords;
    severalRecords.fileName = QStringLiteral("long");
    severalRecords.sheetName = severalRecords.fileName;
    severalRecords.modelRows
        = {deviceRow(1, QStringLiteral("录像机通道").repeated(4000)), deviceRow(2, QStringLiteral("VX"))};
    severalRecords.exportedRows = {1, 0, 1};
    all.insert(QStringLiteral("text across several records"), severalRecords);

    Case empty;
    empty.fileName = QStringLiteral("devices");
    empty.sheetName = empty.fileName;
    empty.modelRows = {deviceRow(1, QStringLiteral("VX-IPC-B420"))};
    all.insert(QStringLiteral("no rows"), empty);

    Case many;
    many.fileName = QStringLiteral("site-a");
    many.sheetName = many.fileName;
    for (int n = 0; n < 1500; ++n) {
        many.modelRows.append(
            deviceRow(n, n % 2 ? QStringLiteral("摄像机-%1").arg(n) : QStringLiteral("IPC-%1").arg(n)));
        many.exportedRows.append(n);
    }
    all.insert(QStringLiteral("1500 rows"), many);

    Case longName;
    longName.fileName = QStringLiteral("abcdefghijklmnopqrstuvwxyz012345"); // 32 characters
    longName.sheetName = longName.fileName.left(31);
    longName.modelRows = {deviceRow(7, QStringLiteral("VX-IPC-B420"))};
    longName.exportedRows = {0};
    all.insert(QStringLiteral("longest file name"), longName);

    // A sheet tab holds 31 UTF-16 units; the cut keeps whole characters.
    const QString thirty = longName.fileName.left(30);
    const auto cutName = [&all, &longName](const char *caseName, const QString &fileName, const QString &sheetName) {
        Case c = longName;
        c.fileName = fileName;
        c.sheetName = sheetName;
        all.insert(QString::fromLatin1(caseName), c);
    };
    cutName("emoji ending 31 units, kept", thirty.left(29) + QStringLiteral("\U0001F4F7"),
            thirty.left(29) + QStringLiteral("\U0001F4F7"));
    cutName("emoji across the 31st unit, dropped whole", thirty + QStringLiteral("\U0001F4F7"), thirty);
    cutName("CJK beyond U+FFFF across the 31st unit", thirty + QStringLiteral("\U00020BB7"), thirty);
    cutName("accent after the 31st unit, dropped with its letter", thirty + QStringLiteral("e\u0301"), thirty);
    return all;
}

// Translates the serial number headers as the Chinese catalogue does.
class SerialNumberTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "VexoTool::DeviceInfoModel") == 0 && qstrcmp(sourceText, "Serial Number") == 0)
            return QStringLiteral("序列号");
        if (qstrcmp(context, "VexoTool::ExcelManager") == 0 && qstrcmp(sourceText, "Device Serial Number") == 0)
            return QStringLiteral("设备序列号");
        return {};
    }
    bool isEmpty() const override { return false; }
};

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class tst_ExcelManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void readBackWithFreeXl_data() { workbookCases(); }
    void readBackWithFreeXl();
    void readBackWithXlrd_data() { workbookCases(); }
    void readBackWithXlrd();
    void readBackWithLibreOffice_data() { workbookCases(); }
    void readBackWithLibreOffice();

    void columnName_data();
    void columnName();
    void refusedExportLeavesNothing_data();
    void refusedExportLeavesNothing();
    void existingFileIsKept();
    void successLeavesOnlyTheWorkbook();

private:
    void workbookCases();
    void compare(const ReadResult &result, const QString &reader);

    QTemporaryDir m_dir;
    QHash<QString, Case> m_cases;
    QHash<QString, QString> m_paths; // case name -> workbook path
    std::optional<ReadResult> m_libreOffice;
};

void tst_ExcelManager::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_cases = cases();
    for (auto it = m_cases.cbegin(); it != m_cases.cend(); ++it) {
        const QString folder = m_dir.filePath(QString::number(m_paths.size())) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(folder));
        const auto model = tableModel(it->modelRows);
        ExcelManager exporter;
        QVERIFY2(exporter.exportRows(it->fileName, folder, model.get(), it->exportedRows),
                 qPrintable(exporter.errorString()));
        m_paths.insert(it.key(), folder + it->fileName + QLatin1String(".xls"));
    }
}

void tst_ExcelManager::workbookCases()
{
    QTest::addColumn<QString>("caseName");
    for (const QString &name :
         {QStringLiteral("Chinese and long texts"), QStringLiteral("no rows"), QStringLiteral("1500 rows"),
          QStringLiteral("longest file name"), QStringLiteral("text across several records"),
          QStringLiteral("emoji ending 31 units, kept"), QStringLiteral("emoji across the 31st unit, dropped whole"),
          QStringLiteral("CJK beyond U+FFFF across the 31st unit"),
          QStringLiteral("accent after the 31st unit, dropped with its letter")})
        QTest::addRow("%s", qPrintable(name)) << name;
}

void tst_ExcelManager::compare(const ReadResult &result, const QString &reader)
{
    QFETCH(QString, caseName);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    const Case &expected = m_cases.value(caseName);
    const QList<ReadSheet> sheets = result.workbooks.value(m_paths.value(caseName));
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets.first().name, expected.sheetName);
    const QList<QStringList> rows = VexoTest::paddedRows(sheets.first().rows);
    const QList<QStringList> expectedRows = expected.expectedRows();
    QCOMPARE(rows.size(), expectedRows.size());
    QCOMPARE(rows.first(), kWrittenHeaders);
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QStringList &cells = rows.at(row);
        QVERIFY2(cells == expectedRows.at(row),
                 qPrintable(QStringLiteral("%1, row %2: %3 instead of %4")
                                .arg(reader)
                                .arg(row)
                                .arg(cells.join(u'|').left(200), expectedRows.at(row).join(u'|').left(200))));
    }
}

void tst_ExcelManager::readBackWithFreeXl()
{
    QFETCH(QString, caseName);
    // FreeXL takes the rest of a split text from the next record alone, so it cannot read a
    // text of more than about 4100 wide characters; xlrd and LibreOffice read that case.
    if (caseName == QLatin1String("text across several records"))
        QSKIP("FreeXL reads a text from at most two records");
    compare(VexoTest::readWithFreeXl({m_paths.value(caseName)}), QStringLiteral("FreeXL"));
}

void tst_ExcelManager::readBackWithXlrd()
{
    QFETCH(QString, caseName);
    compare(VexoTest::readWithXlrd({m_paths.value(caseName)}), QStringLiteral("xlrd"));
}

void tst_ExcelManager::readBackWithLibreOffice()
{
    // LibreOffice starts slowly: one run converts every workbook of the test.
    if (!m_libreOffice) {
        const QString work = m_dir.filePath(QStringLiteral("libreoffice"));
        QDir().mkpath(work);
        m_libreOffice = VexoTest::readWithLibreOffice(m_paths.values(), work);
    }
    if (m_libreOffice->unavailable)
        QSKIP(qPrintable(m_libreOffice->error));
    compare(*m_libreOffice, QStringLiteral("LibreOffice"));
}

void tst_ExcelManager::columnName_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("expected");
    QTest::addRow("other header") << false << "Device Type"
                                  << "Device Type";
    QTest::addRow("serial number") << false << "Serial Number"
                                   << "Device Serial Number";
    QTest::addRow("serial number in Chinese") << true << "序列号"
                                              << "设备序列号";
    QTest::addRow("English header under Chinese") << true << "MAC"
                                                  << "MAC";
}

void tst_ExcelManager::columnName()
{
    QFETCH(bool, chinese);
    QFETCH(QString, header);
    QFETCH(QString, expected);
    SerialNumberTranslator translator;
    if (chinese)
        QCoreApplication::installTranslator(&translator);
    QCOMPARE(ExcelManager::columnName(header), expected);
    QCoreApplication::removeTranslator(&translator);
}

void tst_ExcelManager::refusedExportLeavesNothing_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("subFolder");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("cell");
    QTest::addRow("folder missing") << "devices"
                                    << "missing/" << QList<int>{0} << "VX";
    QTest::addRow("not a sheet name") << "devices[1]"
                                      << "" << QList<int>{0} << "VX";
    QTest::addRow("row not in the table") << "devices"
                                          << "" << QList<int>{0, 3} << "VX";
    // A selection taken before the table shrank: one past the last row, or below the first.
    QTest::addRow("row equal to the row count") << "devices"
                                                << "" << QList<int>{0, 1} << "VX";
    QTest::addRow("negative row") << "devices"
                                  << "" << QList<int>{-1} << "VX";
    QTest::addRow("text too long for a cell")
        << "devices"
        << "" << QList<int>{0} << QString(XlsWorkbook::MaxCellTextLength + 1, u'x');
}

void tst_ExcelManager::refusedExportLeavesNothing()
{
    QFETCH(QString, fileName);
    QFETCH(QString, subFolder);
    QFETCH(QList<int>, rows);
    QFETCH(QString, cell);
    QTemporaryDir dir;
    const auto model = tableModel({deviceRow(1, cell)});
    ExcelManager exporter;
    QVERIFY(!exporter.exportRows(fileName, dir.path() + QLatin1Char('/') + subFolder, model.get(), rows));
    QVERIFY(!exporter.errorString().isEmpty());
    QCOMPARE(folderEntries(dir.path()), QStringList());
}

void tst_ExcelManager::existingFileIsKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("devices.xls"));
    QFile existing(path);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("kept");
    existing.close();
    const auto model = tableModel({deviceRow(1, QStringLiteral("VX"))});
    ExcelManager exporter;
    QVERIFY(!exporter.exportRows(QStringLiteral("devices"), dir.path() + QLatin1Char('/'), model.get(), {0}));
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("kept"));
    QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("devices.xls")});
}

void tst_ExcelManager::successLeavesOnlyTheWorkbook()
{
    QTemporaryDir dir;
    const auto model = tableModel({deviceRow(1, QStringLiteral("VX"))});
    ExcelManager exporter;
    QVERIFY(exporter.exportRows(QStringLiteral("devices"), dir.path() + QLatin1Char('/'), model.get(), {0}));
    QVERIFY(exporter.errorString().isEmpty());
    QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("devices.xls")});
    // Readable like any file made in the folder, not private like a temporary file.
    QFile reference(dir.filePath(QStringLiteral("reference")));
    QVERIFY(reference.open(QIODevice::WriteOnly));
    QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("devices.xls"))).permissions(), reference.permissions());
    reference.remove();
    // A second export under the same name is refused and changes nothing.
    QVERIFY(!exporter.exportRows(QStringLiteral("devices"), dir.path() + QLatin1Char('/'), model.get(), {}));
    QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("devices.xls")});
}

QTEST_GUILESS_MAIN(tst_ExcelManager)
#include "tst_excelmanager.moc"
