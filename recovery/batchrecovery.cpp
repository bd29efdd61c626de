// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "batchrecovery.h"

#include "recoveryfiles.h"
#include "recoverylog.h"
#include "resetpasswordthread.h"

#include <journalrecords.h>

#include <akloguitoolkit/cchasedialog.h>
#include <linkmessagebox.h>
#include <resetpasswordwidget.h>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSet>
#include <QUrl>

#include <memory>

namespace VexoTool {

namespace {

const QString BusyImage = QStringLiteral(":/CommonSkin/Loading/Images/Public/Control/Loading/Loading.gif");
const QString MismatchFile = QStringLiteral("mismatch.txt");
const QString OutErrorFile = QStringLiteral("out_error.txt");
const QString InErrorFile = QStringLiteral("in_error.txt");

void runBusy(QWidget *page, ResetPasswordThread &thread, const QString &text)
{
    aKLOGUIToolkit::CChaseDialog busy(page, BusyImage, text);
    QObject::connect(&thread, &QThread::finished, &busy, &aKLOGUIToolkit::CChaseDialog::OnImmediatelyStopChase,
                     Qt::QueuedConnection);
    thread.start(QThread::InheritPriority);
    busy.exec();
    thread.wait();
}

// The outcome of a batch, one line per kind of result, and the folder when a file is left to
// look at; the folder opens only when the user asks.
void showOutcome(QWidget *page, const QString &title, QStringList lines, bool filesLeft)
{
    const QString folder = QDir::toNativeSeparators(batchFolder());
    if (filesLeft)
        lines.append(BatchRecovery::tr("Folder: %1").arg(folder));
    aptui::LinkMessageBox box(title, lines.join(QLatin1Char('\n')), page);
    if (filesLeft) {
        QPushButton *open = box.addActionButton(BatchRecovery::tr("Open Folder"), QStringLiteral("m_btnOpenFolder"));
        QObject::connect(open, &QPushButton::clicked, &box, [&box, folder] {
            if (QDesktopServices::openUrl(QUrl::fromLocalFile(batchFolder())))
                box.accept();
            else
                box.setNote(
                    BatchRecovery::tr("No program on this computer opens folders. The files are in %1.").arg(folder));
        });
    }
    box.exec();
}

// "(listed in NAME)" after a count, when the file is there to be read.
QString listedIn(const QString &fileName)
{
    return QFile::exists(batchFilePath(fileName)) ? QLatin1Char(' ') + BatchRecovery::tr("(listed in %1)").arg(fileName)
                                                  : QString();
}

void writeMismatchFile(const QStringList &serialNumbers)
{
    const QString path = batchFilePath(MismatchFile);
    if (QFile::exists(path))
        QFile::remove(path);
    if (serialNumbers.isEmpty())
        return;
    QDir().mkpath(batchFolder());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qCWarning(lcRecovery, "[BatchRecovery]cannot write %s", qPrintable(path));
        return;
    }
    for (const QString &serial : serialNumbers)
        file.write(serial.toLatin1() + "\r\n");
}

} // namespace

void BatchRecovery::exportKeys(VEXO::VexoHandler &discovery, QWidget *page, const QVector<BatchDevice> &devices,
                               Journal *journal)
{
    if (devices.isEmpty())
        return;
    QStringList entries;
    QMap<QString, QString> versions;
    for (const BatchDevice &device : devices) {
        entries.append(device.serialNumber + QLatin1Char('+') + device.startTime);
        versions.insert(device.serialNumber, device.softwareVersion);
    }

    ResetPasswordThread thread(discovery);
    thread.setMode(ResetPasswordThread::ModeExport);
    thread.setExportEntries(entries);
    thread.setSoftwareVersions(versions);
    runBusy(page, thread, tr("Loading..."));
    for (const BatchDevice &device : devices) {
        const quint32 code = thread.outcomes().value(device.serialNumber, VEXO_ERR_UNKNOWN_DEVICE);
        writeJournalEntry(journal, JournalFlow::BatchKeyExport, device.record, journalValuesOf(device.record),
                          code == VEXO_NOERROR, journalCallFailure(code));
    }

    QStringList lines{tr("Key files written: %1").arg(thread.keyFilesWritten())};
    if (thread.failureCount() > 0)
        lines.append(tr("Devices that gave no key: %1").arg(thread.failureCount()) + listedIn(OutErrorFile));
    showOutcome(page, tr("Export Keys"), lines,
                thread.keyFilesWritten() > 0 || QFile::exists(batchFilePath(OutErrorFile)));
}

BatchResetPlan BatchRecovery::planReset(const QVector<BatchDevice> &devices, const QString &folder,
                                        const QString &password)
{
    BatchResetPlan plan;
    const QFileInfoList entries
        = QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    QSet<QString> matched;
    for (const BatchDevice &device : devices) {
        const QString &serial = device.serialNumber;
        plan.softwareVersions.insert(serial, device.softwareVersion);
        for (const QFileInfo &entry : entries) {
            if (!entry.isFile())
                continue;
            const QString path = entry.absoluteFilePath();
            // Key file names carry "_" where the serial number had "/" or "\".
            QString withSlashes = path;
            withSlashes.replace(QLatin1Char('_'), QLatin1Char('/'));
            QString withBackslashes = path;
            withBackslashes.replace(QLatin1Char('_'), QLatin1Char('\\'));
            if (withSlashes.contains(serial) || withBackslashes.contains(serial)) {
                plan.requests.insert(serial,
                                     makeResetParam(QString(), QDir::toNativeSeparators(path), password, false));
                matched.insert(serial);
            }
        }
    }
    for (const BatchDevice &device : devices) {
        if (!matched.contains(device.serialNumber) && !plan.unmatched.contains(device.serialNumber))
            plan.unmatched.append(device.serialNumber);
    }
    return plan;
}

void BatchRecovery::resetPasswords(VEXO::VexoHandler &discovery, QWidget *page,
                                   const std::function<QVector<BatchDevice>()> &checkedDevices, Journal *journal)
{
    ResetPasswordWidget dialog(page);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const QVector<BatchDevice> devices = checkedDevices();
    const BatchResetPlan plan = planReset(devices, dialog.filePath(), dialog.newPassword());

    ResetPasswordThread thread(discovery);
    thread.setMode(ResetPasswordThread::ModeReset);
    thread.setResetParams(plan.requests);
    thread.setResetFolder(dialog.filePath());
    thread.setSoftwareVersions(plan.softwareVersions);
    runBusy(page, thread, tr("Loading..."));

    writeMismatchFile(plan.unmatched);
    for (const BatchDevice &device : devices) {
        const auto outcome = thread.outcomes().constFind(device.serialNumber);
        const bool reset = outcome != thread.outcomes().cend() && *outcome == VEXO_NOERROR;
        writeJournalEntry(journal, JournalFlow::BatchPasswordReset, device.record,
                          withPasswordSet(journalValuesOf(device.record)), reset,
                          outcome == thread.outcomes().cend() ? tr("No reset file for this device.")
                                                              : journalCallFailure(*outcome));
    }
    QStringList lines{tr("Passwords reset: %1").arg(plan.requests.size() - thread.failureCount())};
    if (thread.failureCount() > 0)
        lines.append(tr("Resets the devices refused: %1").arg(thread.failureCount()) + listedIn(InErrorFile));
    if (!plan.unmatched.isEmpty())
        lines.append(tr("Devices without a reset file: %1").arg(plan.unmatched.size()) + listedIn(MismatchFile));
    showOutcome(page, tr("Batch Reset"), lines,
                QFile::exists(batchFilePath(InErrorFile)) || QFile::exists(batchFilePath(MismatchFile)));
}

} // namespace VexoTool
