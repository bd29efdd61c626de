// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "csingleton.h"
#include "deviceinfo.h"
#include "vexolibrary.h"

#include <Vexo.h>

#include <QByteArray>
#include <QObject>

namespace VEXO {

/**
 * @brief The gateway to the discovery library: starts and stops it, turns its device reports
 *        into signals and wraps the device operations.
 *
 * The library reports devices on a thread of its own; the signals are emitted there and reach
 * receivers on the GUI thread queued, each with its own copy of the record.
 *
 * Texts are handed over as the 8-bit bytes the library takes: identifiers in Latin-1, passwords,
 * keys and paths in the local code page. A text with an embedded NUL is refused (the library
 * would silently use only its first part); getLastError() then reports VEXO_ERR_BAD_ARGUMENT.
 *
 * instance() drives the library the program is linked with. The library runs once per
 * process, so a process has one service per library; a test makes its own over a table of
 * stand-in functions.
 */
class VexoHandler : public QObject, public Singleton::CSingleton<VexoHandler>
{
    Q_OBJECT
    friend class Singleton::CSingleton<VexoHandler>;

public:
    /** @brief A service over @p library's entry points, which must all be set. */
    explicit VexoHandler(const VexoLibrary &library, QObject *parent = nullptr);
    /** @brief Stops the library if it is running. */
    ~VexoHandler() override;

    /**
     * @brief Drives @p library from now on, after setting up its log as the constructor does.
     * @return false, changing nothing, while discovery runs or if an entry point is missing.
     */
    bool useLibrary(const VexoLibrary &library);

    /** @brief Starts discovery. @return true if started now or already running. */
    bool start();
    /** @brief Stops discovery. @return true if stopped now or not running; false keeps it running. */
    bool stop();
    /** @brief Whether discovery is running. */
    bool isStarted() const { return m_started; }

    /** @brief Asks every device to report again. */
    bool sendInquiry();
    /** @brief Makes the library forget the devices it knows, so the next inquiry reports them anew. */
    bool clearup();
    /** @brief Reports only devices of this host's subnets when @p filter is true, else all devices. */
    bool setDeviceFilterRule(bool filter);

    /** @brief Gives a new device its first administrator password. */
    bool activateDevice(const QByteArray &serialNumber, const QByteArray &password);
    /** @brief Changes the network parameters of the device with this MAC, proving its admin password. */
    bool modifyDeviceNetParam(const QByteArray &macAddress, const QByteArray &password, const DeviceNetParam &param);
    /** @brief Queries device data, such as the reset key (command 1 or 2) into @p output. */
    bool getDeviceConfig(const QByteArray &serialNumber, quint32 command, const void *input, quint32 inputLength,
                         void *output, quint32 outputLength);
    /** @brief Resets the administrator password with a reset key or reset file. */
    bool resetPasswd(const QByteArray &serialNumber, const VEXO_RESET_PARAM &param);
    /** @brief Restores the factory default password with a security code. */
    bool resetDefaultPasswd(const QByteArray &serialNumber, const QByteArray &securityCode);

    /** @brief The error code of this thread's last failed operation (0 after a success). */
    quint32 getLastError() const;

    /**
     * @brief Whether a record from the library looks like a device report rather than garbage.
     *
     * At least one of the texts leadText, serialNumber, macAddress, ipv4Address, ipv4SubnetMask,
     * softwareVersion, dspVersion and startTime must be shorter than 64 characters, counted from
     * the start of the field (on into the following fields, never past the record's end).
     * Records that fail are dropped without a signal.
     */
    static bool isPlausibleRecord(const VEXO_DEVICE_INFO &record);

signals:
    /** @brief A device appeared or restarted. */
    void signalDeviceOnline(VEXO_DEVICE_INFO struDevInfo);
    /** @brief A device left the network. */
    void signalDeviceOffline(VEXO_DEVICE_INFO struDevInfo);
    /** @brief A known device's data changed. */
    void signalDeviceUpdate(VEXO_DEVICE_INFO struDevInfo);

private:
    VexoHandler();

    static void VEXO_CALLBACK deviceCallback(const VEXO_DEVICE_INFO *pDeviceInfo, void *pUserData);

    VexoLibrary m_library;
    bool m_started = false;
};

} // namespace VEXO
