// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalsettings.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace VexoTool {

QString JournalSettings::defaultDatabasePath()
{
    // One file for the program and vexo-cli alike, so not the per-program data folder.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("vexotool/journal.sqlite"));
}

JournalSettings JournalSettings::fromValues(const QHash<QString, QString> &values)
{
    JournalSettings settings;
    const auto text = [&values](const char *tag) {
        return values.value(QString::fromLatin1(tag)).trimmed();
    };
    bool ok = false;
    const int days = text("JournalKeepDays").toInt(&ok);
    if (ok)
        settings.keepDays = days;
    settings.databasePath = text("JournalFile");
    if (settings.databasePath.isEmpty())
        settings.databasePath = defaultDatabasePath();
    settings.server.host = text("JournalServerHost");
    const int port = text("JournalServerPort").toInt(&ok);
    if (ok && port > 0 && port < 65536)
        settings.server.port = port;
    settings.server.database = text("JournalServerDatabase");
    settings.server.user = text("JournalServerUser");
    const QString tls = text("JournalServerTls");
    if (!tls.isEmpty())
        settings.server.tlsMode = tls;
    return settings;
}

QHash<QString, QString> JournalSettings::readSetupValues(const QStringList &paths)
{
    QHash<QString, QString> values;
    for (const QString &path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // <Setup><Tag><Value>text</Value></Tag>...</Setup>
        QXmlStreamReader xml(&file);
        int depth = 0;
        QString tag;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::StartElement) {
                ++depth;
                if (depth == 2)
                    tag = xml.name().toString();
                else if (depth == 3 && xml.name() == QLatin1String("Value")) {
                    values.insert(tag, xml.readElementText());
                    --depth;
                }
            } else if (token == QXmlStreamReader::EndElement) {
                --depth;
            }
        }
    }
    return values;
}

bool JournalSettings::takePasswordFromEnvironment()
{
    if (!qEnvironmentVariableIsSet(PasswordVariable))
        return false;
    server.password = qEnvironmentVariable(PasswordVariable);
    return true;
}

} // namespace VexoTool
