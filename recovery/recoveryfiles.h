// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <Vexo.h>

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

/**
 * @file recoveryfiles.h
 * @brief What the password recovery keeps on disk and hands to the discovery library: the device
 *        key, key files, the reset request, the cleaned copy of a reset file and the batch folder.
 *
 * Key material and reset files are opaque: they are written and passed on byte for byte.
 */

namespace VEXO {
class VexoHandler;
} // namespace VEXO

namespace VexoTool {

/** @brief A device's key as the library returned it in a key buffer. */
struct DeviceKey
{
    /** The number of valid bytes the library reported; it may claim more than the buffer holds. */
    quint32 length = 0;
    /** The whole data part of the buffer (256 bytes for command 1, 384 for command 2). */
    QByteArray data;

    /** @brief The bytes a key file holds: the first length bytes, never more than the buffer has. */
    QByteArray fileBytes() const;
    /** @brief The key as text: the data up to its first NUL, read as Latin-1. */
    QString text() const;
};

/**
 * @brief Asks the discovery service @p discovery for the key of the device @p serialNumber with @p command
 *        (VEXO_GET_KEY_V1 or VEXO_GET_KEY_V2) in a zero-filled key buffer.
 * @return nothing when the library fails (its last error then tells why) or the command is unknown.
 */
std::optional<DeviceKey> queryDeviceKey(VEXO::VexoHandler &discovery, const QString &serialNumber, quint32 command);

/**
 * @brief The key file name of a device: the serial number with "\" and "/" turned into "_",
 *        "-", the local date and time @p time as yyyyMMddhhmm, and ".txt".
 */
QString keyFileName(const QString &serialNumber, const QDateTime &time);

/** @brief Writes @p key's file bytes to @p path exactly, replacing the file. @return false if not writable. */
bool writeKeyFile(const QString &path, const DeviceKey &key);

/**
 * @brief A zero-filled reset request for the library.
 *
 * Each text is converted to the local 8-bit code page and copied without a terminator, cut to
 * its field. The request carries the typed @p secretKey when it is not empty, else the path
 * @p keyFilePath, never both.
 */
VEXO_RESET_PARAM makeResetParam(const QString &secretKey, const QString &keyFilePath, const QString &password,
                                bool resetIpc);

/**
 * @brief Where the cleaned copy "copy.xml" of an imported reset file goes.
 *
 * Beside the program when its folder is writable, else in the user's data folder (an installed
 * program usually cannot write beside itself, and the reset must still work).
 */
QString cleanCopyPath();
/** @brief cleanCopyPath() for a program in @p programFolder. */
QString cleanCopyPath(const QString &programFolder);

/**
 * @brief Writes the reset file @p sourcePath to @p copyPath without its trailing line ends.
 *
 * An existing copy is deleted first. @return @p copyPath, also when the source cannot be read
 * (no copy exists then and the library's reset reports the missing file), or an empty text when
 * the copy cannot be written.
 */
QString makeCleanCopy(const QString &sourcePath, const QString &copyPath);

/**
 * @brief The folder of batch key files and error files: "C:\VexoReset" on Windows, the folder
 *        "VexoReset" in the user's home folder elsewhere; in native separators, without a trailing one.
 */
QString batchFolder();
/** @brief batchFolder() for the given platform rule and home folder. */
QString batchFolder(bool windows, const QString &homeFolder);
/** @brief A file in batchFolder(), e.g. "out_error.txt". */
QString batchFilePath(const QString &fileName);

} // namespace VexoTool
