// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "reportcommand.h"

#include "clijournal.h"
#include "devicetable.h"
#include "onvifscan.h"

#include <clientoptions.h>
#include <handoverreport.h>
#include <journal.h>
#include <macaddress.h>
#include <subnetreach.h>

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QThread>
#include <QTranslator>

#include <csignal>
#include <cstdio>

namespace {

// Setup.xml beside the program: the language.
QHash<QString, QString> setupValues()
{
    return VexoTool::JournalSettings::readSetupValues(
        {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Setup.xml"))});
}

void loadLanguage(const QHash<QString, QString> &values, QTranslator &translator)
{
    if (values.value(QStringLiteral("Translator")).trimmed() != QLatin1String("1"))
        return;
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const QString &folder : {bin.filePath(QStringLiteral("translations")),
                                  bin.filePath(QStringLiteral("../share/vexotool/translations"))}) {
        if (translator.load(QStringLiteral("vexotool_zh"), folder)) {
            QCoreApplication::installTranslator(&translator);
            return;
        }
    }
}

QDateTime parseTime(const QString &text)
{
    QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    if (!time.isValid()) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid())
            time = QDateTime(date, QTime(0, 0));
    }
    return time;
}

} // namespace

int runReportCommand(int argc, char *argv[])
{
    // The PDF needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vexo-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VEXO_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "report: writes the hand-over report of a site: the devices that answer within --wait, the\n"
        "journal's changes of the period and the failures still open, as a PDF and, beside it, an .xls."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("report"), QStringLiteral("the command"));
    const QCommandLineOption site(QStringLiteral("site"), QStringLiteral("The site's name."), QStringLiteral("name"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("The PDF to write."), QStringLiteral("file"));
    const QCommandLineOption since(QStringLiteral("since"),
                                   QStringLiteral("First moment of the changes, ISO date or date and time "
                                                  "(today 00:00)."),
                                   QStringLiteral("time"));
    const QCommandLineOption until(QStringLiteral("until"), QStringLiteral("End of the changes (now)."),
                                   QStringLiteral("time"));
    const QCommandLineOption wait(QStringLiteral("wait"), QStringLiteral("Milliseconds to wait for answers (2000)."),
                                  QStringLiteral("ms"), QStringLiteral("2000"));
    const QCommandLineOption journalFile(QStringLiteral("journal"),
                                         QStringLiteral("The journal's database file (the one every command writes)."),
                                         QStringLiteral("file"));
    parser.addOptions({site, out, since, until, wait, journalFile});
    const auto usage = [&parser](const QString &problem) {
        std::fprintf(stderr, "vexo-cli report: %s\n\n%s", qPrintable(problem), qPrintable(parser.helpText()));
        return 2;
    };
    if (!parser.parse(QCoreApplication::arguments()))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.positionalArguments() != QStringList{QStringLiteral("report")})
        return usage(QStringLiteral("unexpected words"));
    if (parser.value(site).trimmed().isEmpty() || parser.value(out).isEmpty())
        return usage(QStringLiteral("--site and --out are needed"));

    VexoTool::HandoverReport report;
    report.site = parser.value(site).trimmed();
    report.from = parser.isSet(since) ? parseTime(parser.value(since)) : QDateTime(QDate::currentDate(), QTime(0, 0));
    if (parser.isSet(until))
        report.until = parseTime(parser.value(until));
    if (!report.from.isValid() || (parser.isSet(until) && !report.until.isValid()))
        return usage(QStringLiteral("--since and --until take an ISO date (2026-12-09) or date and time "
                                    "(2026-12-09T08:00)"));

    const QHash<QString, QString> values = setupValues();
    QTranslator translator;
    loadLanguage(values, translator);
    // The journal every vexo-cli command writes, unless the command line names a file.
    VexoTool::JournalSettings settings = CliJournal::settings();
    if (parser.isSet(journalFile))
        settings.databasePath = parser.value(journalFile);
    VexoTool::Journal journal(settings);

    // The inventory: the devices of both protocols that answer within --wait, as `list` finds them
    // (ONVIF devices as discovered; identifying them is `list`'s work, with credentials).
    QString onvifError;
    const auto onvifOptions = onvif::ClientOptions::fromEnvironment(&onvifError);
    if (!onvifOptions)
        return usage(onvifError);
    OnvifScan onvifScan(*onvifOptions, VexoTool::reachableAdapters());
    if (!onvifScan.start(&onvifError)) // the maker's own devices are still listed
        std::fprintf(stderr, "ONVIF discovery: %s\n", qPrintable(onvifError));
    DeviceTable table;
    if (!VEXO_Start_V30(&DeviceTable::onDeviceEvent, VEXO_START_AUTO_INQUIRY, &table)) {
        std::fprintf(stderr, "start failed: error %u\n", VEXO_GetLastError());
        return 1;
    }
    static const volatile std::sig_atomic_t neverInterrupted = 0;
    onvifScan.wait(qMax(0, parser.value(wait).toInt()), neverInterrupted);
    const std::vector<VEXO_DEVICE_INFO> heard = table.devices();
    VEXO_Stop();
    QVector<VEXO_DEVICE_INFO> listed(heard.cbegin(), heard.cend());
    for (const OnvifScan::Found &found : onvifScan.found()) {
        const ListedDevice row = onvifScan.toListed(found);
        // A device heard both ways is one device: its own protocol's record stands for it.
        const QString mac = QString::fromLatin1(row.info.macAddress);
        const bool known
            = !mac.isEmpty() && std::any_of(heard.cbegin(), heard.cend(), [&mac](const VEXO_DEVICE_INFO &d) {
                  return VexoTool::MacAddress::canonical(QString::fromLatin1(d.macAddress)) == mac;
              });
        if (!known)
            listed.append(row.info);
    }
    report.devices = VexoTool::HandoverReport::inventory(listed);

    QString error;
    const QString pdf = parser.value(out);
    const QString xls = VexoTool::HandoverReport::workbookPathBeside(pdf);
    if (!report.readJournal(journal, &error) || !report.writePdf(pdf, &error) || !report.writeXls(xls, &error)) {
        std::fprintf(stderr, "vexo-cli report: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n%s\n%lld devices, %lld changes, %lld failures still open\n", qPrintable(pdf), qPrintable(xls),
                static_cast<long long>(report.devices.size()), static_cast<long long>(report.changes.size()),
                static_cast<long long>(report.openFailures.size()));
    return 0;
}
