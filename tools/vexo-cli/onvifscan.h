// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "devicetable.h"

#include "deviceoperations.h"
#include "probeclient.h"
#include "subnetreach.h"

#include <QHash>
#include <QList>
#include <QString>

#include <csignal>
#include <functional>
#include <memory>
#include <optional>

/**
 * @brief The ONVIF side of vexo-cli: finds devices with WS-Discovery in the main thread's
 * event loop and, with credentials, identifies them (a bounded number at once).
 */
class OnvifScan
{
public:
    /** @brief One device found, with its identity once identified. */
    struct Found
    {
        onvif::ProbeClient::Device discovered;
        QUrl serviceUrl; ///< the first XAddr this scope allows; empty when none
        std::optional<onvif::Identity> identity;
        onvif::Failure failure; ///< why identification failed, when it did
        /** @brief Another address that claimed the same endpoint; the device gets no credentials then. */
        QString rival;
    };

    /**
     * @brief Scans with @p options; @p adapters are this computer's, which decide whether a
     * device found can be asked over HTTP at all (see unreachableAdvice()).
     */
    OnvifScan(const onvif::ClientOptions &options, const QVector<VexoTool::AdapterAddress> &adapters);

    /** @brief Prints a line for each device found, changed or gone (for `watch`). */
    void setEchoEvents(bool echo) { m_echo = echo; }
    /** @brief Echoes only the devices whose row (toListed()) @p keep lets through. */
    void setEchoFilter(std::function<bool(const VEXO_DEVICE_INFO &)> keep) { m_echoFilter = std::move(keep); }

    bool start(QString *error);
    /** @brief Runs the event loop for @p ms, or until @p interrupted is set or @p until says so. */
    void wait(int ms, const volatile std::sig_atomic_t &interrupted, const std::function<bool()> &until = {});
    /**
     * @brief Identifies every device found. Skipped: those already identified and, unless
     * @p evenUnreachable, those no adapter reaches (their requests could only time out).
     */
    void identifyAll(const onvif::Credentials &credentials, bool evenUnreachable = false);

    /**
     * @brief What to do before the device can be asked over HTTP, as the window says it: empty
     * when an adapter's subnet holds its service address (or that address is no IPv4 address).
     *
     * WS-Discovery reaches a device on the link whatever its address; HTTP needs a route to it.
     */
    QString unreachableAdvice(const Found &found) const;

    QList<Found> found() const;
    /** @brief The device whose endpoint, address, MAC or serial number is @p id, or nothing. */
    std::optional<Found> match(const QString &id) const;
    /**
     * @brief Every device that @p id names: by endpoint, address, MAC or serial number. One that
     *        another address claims as well counts for both.
     */
    QList<Found> candidates(const QString &id) const;
    /** @brief Whether @p id names a device found by endpoint or address (known without credentials). */
    bool matchesWithoutIdentity(const QString &id) const;

    /** @brief Devices' TLS certificates are pinned in @p pins (memory only unless set). */
    void setCertificatePins(std::shared_ptr<onvif::CertificatePins> pins) { m_pins = std::move(pins); }
    onvif::DeviceClient::Options clientOptions() const;

    /** @brief The row vexo-cli prints for a device only ONVIF found. */
    ListedDevice toListed(const Found &found) const;

private:
    onvif::ClientOptions m_options;
    QVector<VexoTool::AdapterAddress> m_adapters;
    onvif::ProbeClient m_probe;
    QHash<QString, Found> m_found; // by endpoint
    bool m_echo = false;
    std::function<bool(const VEXO_DEVICE_INFO &)> m_echoFilter;
    std::shared_ptr<onvif::CertificatePins> m_pins = std::make_shared<onvif::CertificatePins>();
};
