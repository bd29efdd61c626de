// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <Vexo.h>

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace VEXO {
class VexoHandler;
} // namespace VEXO

class QWidget;

namespace VexoTool {

class Journal;

/** @brief A ticked device of the list as the batch flows need it. */
struct BatchDevice
{
    QString serialNumber;
    QString startTime;
    QString softwareVersion;
    VEXO_DEVICE_INFO record{}; ///< the list's record, for the journal
};

/** @brief The reset requests of a batch reset, and the devices without a reset file. */
struct BatchResetPlan
{
    QMap<QString, VEXO_RESET_PARAM> requests;
    QMap<QString, QString> softwareVersions;
    /** The serial numbers without a matching reset file, in the order of the devices. */
    QStringList unmatched;
};

/**
 * @brief The batch key export and batch reset of the devices ticked in the device list.
 *
 * Both run the calls through the discovery service they are given on a ResetPasswordThread under a
 * modal busy dialog, leave their error files in the batch folder (batchFolder()) and end with a
 * summary message that names only the files that exist.
 */
class BatchRecovery
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::BatchRecovery)

public:
    /**
     * @brief Writes the key file of every device in @p devices into the batch folder.
     *
     * Nothing happens without devices. Afterwards a message counts the key files written and the
     * devices that gave none (listed in out_error.txt), names the batch folder and offers to open it.
     * Each device's outcome goes into @p journal when there is one.
     */
    static void exportKeys(VEXO::VexoHandler &discovery, QWidget *page, const QVector<BatchDevice> &devices,
                           Journal *journal = nullptr);

    /**
     * @brief Asks for a new password and the folder of reset files, then resets every device of
     *        @p checkedDevices (read once the password dialog was accepted) that has a reset file.
     *
     * Devices without a reset file are listed in mismatch.txt and refused resets in in_error.txt.
     * A message counts the passwords reset and each kind of failure; where a failure left a file,
     * it names the file and the batch folder and offers to open the folder. Each device's outcome,
     * a device without a reset file included, goes into @p journal when there is one.
     */
    static void resetPasswords(VEXO::VexoHandler &discovery, QWidget *page,
                               const std::function<QVector<BatchDevice>()> &checkedDevices, Journal *journal = nullptr);

    /**
     * @brief Matches each device to its reset file in @p folder by serial number.
     *
     * A file matches a device when its absolute path, with every "_" read as "/" or as "\",
     * contains the serial number; of several matching files the last in case-insensitive name
     * order is used.
     */
    static BatchResetPlan planReset(const QVector<BatchDevice> &devices, const QString &folder,
                                    const QString &password);
};

} // namespace VexoTool
