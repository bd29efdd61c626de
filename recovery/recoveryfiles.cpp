// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "recoveryfiles.h"

#include "recoverylog.h"

#include <akloguitoolkit/guitext.h>
#include <akloguitoolkit/targetpath.h>
#include <vexohandler.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>

namespace VexoTool {

namespace {

const QString CleanCopyName = QStringLiteral("copy.xml");
const QString BatchFolderName = QStringLiteral("VexoReset");

template<typename KeyBuffer>
std::optional<DeviceKey> query(VEXO::VexoHandler &discovery, const QByteArray &serialNumber, quint32 command)
{
    KeyBuffer buffer{};
    if (!discovery.getDeviceConfig(serialNumber, command, nullptr, 0, &buffer, sizeof buffer))
        return std::nullopt;
    DeviceKey key;
    key.length = buffer.length;
    key.data = QByteArray(buffer.data, qsizetype(sizeof buffer.data));
    return key;
}

// Copies the text's bytes into the field without a terminator; what does not fit is cut off.
template<std::size_t N>
void copyField(char (&field)[N], const QByteArray &bytes)
{
    std::memcpy(field, bytes.constData(), std::min<std::size_t>(N, std::size_t(bytes.size())));
}

} // namespace

QByteArray DeviceKey::fileBytes() const
{
    // The reported length is the library's (or the device's) word; the buffer is ours.
    return data.left(qsizetype(std::min<quint64>(length, quint64(data.size()))));
}

QString DeviceKey::text() const
{
    const qsizetype end = data.indexOf('\0');
    return QString::fromLatin1(end < 0 ? data : data.left(end));
}

std::optional<DeviceKey> queryDeviceKey(VEXO::VexoHandler &discovery, const QString &serialNumber, quint32 command)
{
    const QByteArray serial = serialNumber.toLatin1();
    switch (command) {
    case VEXO_GET_KEY_V1:
        return query<VEXO_KEY_BUFFER>(discovery, serial, command);
    case VEXO_GET_KEY_V2:
        return query<VEXO_KEY_BUFFER_V2>(discovery, serial, command);
    default:
        qCWarning(lcRecovery, "[queryDeviceKey]unknown key command %u", command);
        return std::nullopt;
    }
}

QString keyFileName(const QString &serialNumber, const QDateTime &time)
{
    QString name = serialNumber;
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QDateTime local = time.toLocalTime();
    // The key is plain text; ".txt" opens it in a text editor. Reset files and key files of
    // earlier versions (".xml") are found by the serial number in their name, whatever it ends in.
    return name + QLatin1Char('-') + local.toString(QStringLiteral("yyyyMMdd")) + local.toString(QStringLiteral("hhmm"))
           + QStringLiteral(".txt");
}

bool writeKeyFile(const QString &path, const DeviceKey &key)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qCWarning(lcRecovery, "[writeKeyFile]%s: %s", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    const QByteArray bytes = key.fileBytes();
    return file.write(bytes) == bytes.size() && file.flush();
}

VEXO_RESET_PARAM makeResetParam(const QString &secretKey, const QString &keyFilePath, const QString &password,
                                bool resetIpc)
{
    VEXO_RESET_PARAM param{};
    if (!secretKey.isEmpty())
        copyField(param.secretKey, aKLOGUIToolkit::ConvertFromUnicode(secretKey));
    else
        copyField(param.keyFilePath, aKLOGUIToolkit::ConvertFromUnicode(keyFilePath));
    copyField(param.password, aKLOGUIToolkit::ConvertFromUnicode(password));
    param.resetIpc = resetIpc ? 1 : 0;
    return param;
}

QString cleanCopyPath()
{
    return cleanCopyPath(aKLOGUIToolkit::GetTargetPath());
}

QString cleanCopyPath(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    if (folder.isDir() && folder.isWritable())
        return QDir(programFolder).filePath(CleanCopyName);
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(dataFolder);
    return QDir(dataFolder).filePath(CleanCopyName);
}

QString makeCleanCopy(const QString &sourcePath, const QString &copyPath)
{
    if (QFile::exists(copyPath))
        QFile::remove(copyPath);

    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCWarning(lcRecovery, "[makeCleanCopy]cannot read %s: %s", qPrintable(sourcePath),
                  qPrintable(source.errorString()));
        return copyPath;
    }
    QByteArray text = source.readAll();
    while (!text.isEmpty() && (text.endsWith('\n') || text.endsWith('\r')))
        text.chop(1);

    QFile copy(copyPath);
    if (!copy.open(QIODevice::ReadWrite | QIODevice::Truncate)) {
        qCWarning(lcRecovery, "[makeCleanCopy]cannot write %s: %s", qPrintable(copyPath),
                  qPrintable(copy.errorString()));
        return {};
    }
    if (copy.write(text) != text.size()) {
        qCWarning(lcRecovery, "[makeCleanCopy]short write to %s", qPrintable(copyPath));
        return {};
    }
    return copyPath;
}

QString batchFolder()
{
#ifdef Q_OS_WIN
    return batchFolder(true, QDir::homePath());
#else
    return batchFolder(false, QDir::homePath());
#endif
}

QString batchFolder(bool windows, const QString &homeFolder)
{
    // Windows keeps the folder the service desk's instructions name.
    if (windows)
        return QStringLiteral("C:\\VexoReset");
    return QDir::cleanPath(homeFolder + QLatin1Char('/') + BatchFolderName);
}

QString batchFilePath(const QString &fileName)
{
    return batchFolder() + QDir::separator() + fileName;
}

} // namespace VexoTool
