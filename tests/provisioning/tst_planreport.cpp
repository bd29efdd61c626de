// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The plan report as a spreadsheet program opens it: device texts stay texts, ports stay numbers.
#include "planreport.h"

#include "workbookreaders.h"

#include <deviceinfo.h>

#include <QTemporaryDir>
#include <QTest>

using namespace VexoTool;

namespace {

// Texts a device or a failure may bring along, each in the serial number of one report row.
const QList<std::pair<const char *, QString>> HostileTexts{
    {"formula", QStringLiteral("=HYPERLINK(\"http://x\",\"y\")")},
    {"plus", QStringLiteral("+1+2")},
    {"minus that looks like a number", QStringLiteral("-5")},
    {"at sign", QStringLiteral("@SUM(1;2)")},
    {"tab first", QStringLiteral("\t=1+1")},
    {"carriage return first", QStringLiteral("\r=1+1")},
    {"separator, quote and line break", QStringLiteral("a,b;\"c\"\nd")},
    {"plain", QStringLiteral("VX-C2042")},
};

} // namespace

class tst_PlanReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void textsStayTexts_data();
    void textsStayTexts();
    void portsStayNumbers();

private:
    QTemporaryDir m_dir;
    QList<QList<VexoTest::ReadCell>> m_cells; // the CSV report as LibreOffice read it
};

void tst_PlanReport::initTestCase()
{
    QList<PlanOutcome> outcomes;
    for (const auto &[name, text] : HostileTexts) {
        PlanOutcome o;
        o.time = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
        o.serial = text;
        o.mac = QStringLiteral("02-00-00-00-00-01");
        o.verdict.recordIndex = 0;
        o.before.port = 8000;
        o.before.httpPort = 80;
        o.verdict.param.port = 8001;
        o.verdict.param.httpPort = 81;
        o.verdict.networkChange = true;
        o.succeeded = true;
        o.result = text;
        outcomes.append(o);
    }
    const PlanReportFiles files
        = PlanReport::save(m_dir.filePath(QStringLiteral("site.csv")), outcomes, QDateTime::currentDateTime());
    QVERIFY2(files.ok(), qPrintable(files.error));
    QString error;
    m_cells = VexoTest::readCsvWithLibreOffice(files.csvPath, m_dir.path(), &error);
    if (error.startsWith(QLatin1String("soffice is not installed")))
        QSKIP(qPrintable(error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(m_cells.size(), HostileTexts.size() + 1);
}

void tst_PlanReport::textsStayTexts_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    for (int i = 0; i < HostileTexts.size(); ++i)
        QTest::addRow("%s", HostileTexts.at(i).first) << i + 1 << HostileTexts.at(i).second;
}

void tst_PlanReport::textsStayTexts()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    const QList<VexoTest::ReadCell> &cells = m_cells.at(row);
    const int serial = 1;
    const int result = int(PlanReport::header().size()) - 1;
    for (const int column : {serial, result}) {
        const VexoTest::ReadCell &cell = cells.value(column);
        QVERIFY2(cell.formula.isEmpty(), qPrintable(cell.formula));
        QCOMPARE(cell.valueType, QStringLiteral("string"));
        // The apostrophe that keeps a text from being a formula may show.
        const QString shown = cell.text.startsWith(u'\'') && !text.startsWith(u'\'') ? cell.text.mid(1) : cell.text;
        QCOMPARE(shown, QString(text).replace(u'\r', u'\n'));
    }
}

void tst_PlanReport::portsStayNumbers()
{
    const QStringList header = PlanReport::header();
    const QList<VexoTest::ReadCell> &cells = m_cells.at(1);
    const QList<std::pair<QString, QString>> ports{{PlanReport::tr("Old Port"), QStringLiteral("8000")},
                                                   {PlanReport::tr("New Port"), QStringLiteral("8001")},
                                                   {PlanReport::tr("Old HTTP Port"), QStringLiteral("80")},
                                                   {PlanReport::tr("New HTTP Port"), QStringLiteral("81")}};
    for (const auto &[name, value] : ports) {
        const VexoTest::ReadCell &cell = cells.value(int(header.indexOf(name)));
        QCOMPARE(cell.valueType, QStringLiteral("float"));
        QCOMPARE(cell.text, value);
    }
}

QTEST_GUILESS_MAIN(tst_PlanReport)
#include "tst_planreport.moc"
