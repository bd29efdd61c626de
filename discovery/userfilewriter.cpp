// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "userfilewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QSet>

Q_LOGGING_CATEGORY(lcUserFiles, "vexotool.userfiles", QtInfoMsg)

namespace VexoTool {

namespace {

bool refuse(const QString &path, const QString &reason, QString *error)
{
    static QMutex mutex;
    static QSet<QString> told;
    {
        QMutexLocker lock(&mutex);
        if (!told.contains(path)) {
            told.insert(path);
            qCWarning(lcUserFiles, "%s cannot be written (%s); what it should hold is kept for this run only.",
                      qUtf8Printable(QDir::toNativeSeparators(path)), qUtf8Printable(reason));
        }
    }
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool UserFileWriter::write(const QString &path, const QByteArray &bytes, QString *error)
{
    // QSaveFile would write to the target of a link: the link goes first, and the file takes
    // its place. In a folder that cannot be written the link cannot go, and nothing is written.
    if (QFileInfo(path).isSymLink()) {
        QFile link(path);
        if (!link.remove())
            return refuse(path, QStringLiteral("a link that cannot be replaced: %1").arg(link.errorString()), error);
    }
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return refuse(path, file.errorString(), error);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return refuse(path, file.errorString(), error);
    return true;
}

} // namespace VexoTool
