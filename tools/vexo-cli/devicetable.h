// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "Vexo.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>
#include <mutex>
#include <vector>

/** @brief One line of `vexo-cli list`: a device and the protocols it was heard with. */
struct ListedDevice
{
    VEXO_DEVICE_INFO info{};
    QString protocol = QStringLiteral("VXDP/1"); ///< "VXDP/1", "ONVIF", or "VXDP/1+ONVIF" for a device heard both ways
    QString endpoint;                            ///< ONVIF endpoint reference
    QString serviceUrl;                          ///< ONVIF device service address
    QString name;                                ///< ONVIF name scope
    QString manufacturer;                        ///< ONVIF manufacturer, once identified
    QString unreachableAdvice; ///< what to do first when no adapter reaches the ONVIF service; empty when one does
    bool identified = false;

    static ListedDevice fromVxdp(const VEXO_DEVICE_INFO &info)
    {
        ListedDevice d;
        d.info = info;
        return d;
    }
};

/**
 * @brief The devices the library reported, kept in arrival order; fed from the
 * library's thread, read from the main thread.
 */
class DeviceTable
{
public:
    /** The library callback; pUserData is the table. */
    static void VEXO_CALLBACK onDeviceEvent(const VEXO_DEVICE_INFO *info, void *user);

    std::vector<VEXO_DEVICE_INFO> devices() const;
    std::size_t eventCount() const;

    static QJsonObject toJson(const VEXO_DEVICE_INFO &info);
    /** The VXDP fields (for a device VXDP reported) or what ONVIF told, with a "protocol" key. */
    static QJsonObject toJson(const ListedDevice &device);
    /** A fixed-width text table with a header line. */
    static QString toText(const std::vector<VEXO_DEVICE_INFO> &devices);
    static QString toText(const std::vector<ListedDevice> &devices);
    static QString eventLine(const VEXO_DEVICE_INFO &info);
    /** The text with control characters (and the backslash) written as \xNN, safe for a terminal. */
    static QString escaped(const QString &text);

    void setEchoEvents(bool echo) { m_echo = echo; }
    /** @brief Echoes only the events of devices @p keep lets through (called on the library's thread). */
    void setEchoFilter(std::function<bool(const VEXO_DEVICE_INFO &)> keep) { m_echoFilter = std::move(keep); }

private:
    void apply(const VEXO_DEVICE_INFO &info);

    mutable std::mutex m_mutex;
    std::vector<VEXO_DEVICE_INFO> m_devices;
    std::size_t m_events = 0;
    bool m_echo = false;
    std::function<bool(const VEXO_DEVICE_INFO &)> m_echoFilter;
};
