// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "resetpasswordthread.h"

#include "recoveryfiles.h"
#include "recoverylog.h"

#include <errorexplanation.h>
#include <vexohandler.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

const QString OutErrorFile = QStringLiteral("out_error.txt");
const QString InErrorFile = QStringLiteral("in_error.txt");

void removeIfExists(const QString &path)
{
    if (QFile::exists(path))
        QFile::remove(path);
}

// The line of a failed device: the fixed start that the service desk parses, then what the
// error code means, in the program's language (UTF-8, so the start stays plain ASCII).
void appendErrorLine(QFile &file, const QString &start, quint32 code)
{
    if (!file.isOpen())
        return;
    QString line = start + QString::number(code);
    const QString explanation = VexoTool::ErrorExplanation::forCode(code);
    if (!explanation.isEmpty())
        line += QStringLiteral(" \u2014 ") + explanation;
    file.write(line.toUtf8() + "\r\n");
}

} // namespace

ResetPasswordThread::ResetPasswordThread(VEXO::VexoHandler &discovery)
    : m_discovery(discovery)
{}

ResetPasswordThread::~ResetPasswordThread()
{
    wait();
}

QString ResetPasswordThread::resultFolder() const
{
    return QDir::fromNativeSeparators(VexoTool::batchFolder());
}

void ResetPasswordThread::run()
{
    if (m_mode == ModeExport)
        runExport();
    else
        runReset();
}

void ResetPasswordThread::runExport()
{
    m_failed = false;
    m_failures = 0;
    m_keyFilesWritten = 0;
    m_outcomes.clear();
    const QString errorPath = VexoTool::batchFilePath(OutErrorFile);
    removeIfExists(errorPath);

    if (!m_exportEntries.isEmpty()) {
        QDir().mkpath(VexoTool::batchFolder());
        QFile errors(errorPath);
        if (!errors.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qCWarning(lcRecovery, "[ResetPasswordThread]cannot write %s", qPrintable(errorPath));

        VEXO::VexoHandler *handler = &m_discovery;
        for (const QString &entry : std::as_const(m_exportEntries)) {
            const QString serial = entry.section(QLatin1Char('+'), 0, 0);
            const std::optional<VexoTool::DeviceKey> key
                = VexoTool::queryDeviceKey(m_discovery, serial, VEXO_GET_KEY_V1);
            if (key) {
                const QString path
                    = VexoTool::batchFilePath(VexoTool::keyFileName(serial, QDateTime::currentDateTime()));
                const bool written = VexoTool::writeKeyFile(path, *key);
                m_outcomes.insert(serial, written ? quint32(VEXO_NOERROR) : quint32(VEXO_ERR_FILE));
                if (written)
                    ++m_keyFilesWritten;
                else
                    qCWarning(lcRecovery, "[ResetPasswordThread]key file %s not written", qPrintable(path));
                continue;
            }
            m_outcomes.insert(serial, qMax(handler->getLastError(), quint32(1)));
            appendErrorLine(errors,
                            entry + QStringLiteral(" software: ") + m_softwareVersions.value(serial)
                                + QStringLiteral(" error code: "),
                            handler->getLastError());
            m_failed = true;
            ++m_failures;
        }
    }
    if (!m_failed)
        removeIfExists(errorPath);
}

void ResetPasswordThread::runReset()
{
    m_failed = false;
    m_failures = 0;
    m_outcomes.clear();
    const QString errorPath = VexoTool::batchFilePath(InErrorFile);
    removeIfExists(errorPath);

    if (!m_resetParams.isEmpty()) {
        // The folder may not exist yet when nothing was exported on this computer.
        QDir().mkpath(VexoTool::batchFolder());
        QFile errors(errorPath);
        if (!errors.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qCWarning(lcRecovery, "[ResetPasswordThread]cannot write %s", qPrintable(errorPath));

        VEXO::VexoHandler *handler = &m_discovery;
        for (auto it = m_resetParams.cbegin(); it != m_resetParams.cend(); ++it) {
            if (handler->resetPasswd(it.key().toLatin1(), it.value())) {
                m_outcomes.insert(it.key(), VEXO_NOERROR);
                continue;
            }
            m_outcomes.insert(it.key(), qMax(handler->getLastError(), quint32(1)));
            appendErrorLine(errors,
                            it.key() + QStringLiteral(" + software: ") + m_softwareVersions.value(it.key())
                                + QStringLiteral(" error code: "),
                            handler->getLastError());
            m_failed = true;
            ++m_failures;
        }
    }
    if (!m_failed)
        removeIfExists(errorPath);
}
