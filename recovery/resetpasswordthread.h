// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <Vexo.h>

#include <QMap>
#include <QString>
#include <QStringList>
#include <QThread>

namespace VEXO {
class VexoHandler;
} // namespace VEXO

/**
 * @brief The worker of the batch key export and the batch reset.
 *
 * It calls the discovery service it is given for one device after the other and writes only its own files
 * into the batch folder (batchFolder()): key files and out_error.txt when exporting, in_error.txt
 * when resetting. A device that fails costs only its line in the error file, which ends with the
 * error code and, where ErrorExplanation has one, " — " and its explanation (UTF-8). A run
 * without a failure leaves no error file behind.
 *
 * Fill the inputs before start() and read failed() only after the thread has finished.
 */
class ResetPasswordThread : public QThread
{
    Q_OBJECT

public:
    /** @brief What run() does. */
    enum Mode { ModeReset = 0, ModeExport = 1 };

    /** @brief A worker calling @p discovery, which must outlive it. */
    explicit ResetPasswordThread(VEXO::VexoHandler &discovery);
    ~ResetPasswordThread() override;

    void setMode(int mode) { m_mode = mode; }
    int mode() const { return m_mode; }
    /** @brief The reset requests by serial number; reset in ascending order of serial number. */
    void setResetParams(const QMap<QString, VEXO_RESET_PARAM> &params) { m_resetParams = params; }
    /** @brief The devices to export, each as serial number + "+" + start time, in export order. */
    void setExportEntries(const QStringList &entries) { m_exportEntries = entries; }
    /** @brief The software version of each device by serial number, for the error lines. */
    void setSoftwareVersions(const QMap<QString, QString> &versions) { m_softwareVersions = versions; }
    /** @brief The folder the reset files came from (kept for the caller; the run does not use it). */
    void setResetFolder(const QString &folder) { m_resetFolder = folder; }
    QString resetFolder() const { return m_resetFolder; }

    /** @brief Whether at least one device failed in the last run. */
    bool failed() const { return m_failed; }
    /** @brief How many devices failed in the last run. */
    int failureCount() const { return m_failures; }
    /**
     * @brief The outcome of each device of the last run by serial number: the discovery
     *        library's error code, 0 for a key file written or a password reset.
     */
    QMap<QString, quint32> outcomes() const { return m_outcomes; }
    /** @brief How many key files the last export wrote. */
    int keyFilesWritten() const { return m_keyFilesWritten; }
    /** @brief The batch folder with "/" separators, to show to the user. */
    QString resultFolder() const;

protected:
    void run() override;

private:
    void runExport();
    void runReset();

    VEXO::VexoHandler &m_discovery;
    int m_mode = ModeReset;
    QMap<QString, VEXO_RESET_PARAM> m_resetParams;
    QStringList m_exportEntries;
    QMap<QString, QString> m_softwareVersions;
    QString m_resetFolder;
    bool m_failed = false;
    int m_failures = 0;
    int m_keyFilesWritten = 0;
    QMap<QString, quint32> m_outcomes;
};
