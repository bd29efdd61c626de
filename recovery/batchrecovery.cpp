// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "batchrecovery.h"

#include "recoveryfiles.h"
#include "recoverylog.h"
#include "resetpasswordthread.h"

#include <akloguitoolkit/cchasedialog.h>
#include <akloguitoolkit/cwarningdlg.h>
#include <resetpasswordwidget.h>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QUrl>

#include <memory>

namespace VexoTool {

namespace {

const QString BusyImage = QStringLiteral(":/CommonSkin/Loading/Images/Public/Control/Loading/Loading.gif");
const QString MismatchFile = QStringLiteral("mismatch.txt");

void runBusy(QWidget *page, ResetPasswordThread &thread, const QString &text)
{
    aKLOGUIToolkit::CChaseDialog busy(page, BusyImage, text);
    QObject::connect(&thread, &QThread::finished, &busy, &aKLOGUIToolkit::CChaseDialog::OnImmediatelyStopChase,
                     Qt::QueuedConnection);
    thread.start(QThread::InheritPriority);
    busy.exec();
    thread.wait();
}

void openResultFolder(const ResetPasswordThread &thread)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(thread.resultFolder()));
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

void BatchRecovery::exportKeys(VEXO::VexoHandler &discovery, QWidget *page, const QVector<BatchDevice> &devices)
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

    aKLOGUIToolkit::CWarningDlg::ShowMessageInfo(
        tr("Hint"), thread.failed() ? tr("Part failed.Please check\"out_error\" file") : tr("Exported"), page);
    openResultFolder(thread);
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
                                   const std::function<QVector<BatchDevice>()> &checkedDevices)
{
    ResetPasswordWidget dialog(page);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const BatchResetPlan plan = planReset(checkedDevices(), dialog.filePath(), dialog.newPassword());

    ResetPasswordThread thread(discovery);
    thread.setMode(ResetPasswordThread::ModeReset);
    thread.setResetParams(plan.requests);
    thread.setResetFolder(dialog.filePath());
    thread.setSoftwareVersions(plan.softwareVersions);
    runBusy(page, thread, tr("Loading..."));

    writeMismatchFile(plan.unmatched);
    if (thread.failed() || !plan.unmatched.isEmpty()) {
        aKLOGUIToolkit::CWarningDlg::ShowMessageInfo(
            tr("Hint"), tr("Part failed.Please check\"in_error\" or \"mismatch\" file"), page);
        openResultFolder(thread);
    } else {
        aKLOGUIToolkit::CWarningDlg::ShowMessageInfo(tr("Hint"), tr("Successed"), page);
    }
}

} // namespace VexoTool
