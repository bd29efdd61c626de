// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace onvif {

/**
 * @brief Where the ONVIF client may talk, as the caller decides it (normally from the
 * environment, see fromEnvironment()).
 *
 * In the loopback scope nothing leaves 127.0.0.0/8: Probes go unicast to 127.0.0.1 and only
 * device addresses in 127/8 are contacted. In the LAN scope Probes go to the WS-Discovery
 * group on every adapter and loopback device addresses are ignored.
 */
struct ClientOptions
{
    enum class Scope { Lan, Loopback };

    static constexpr quint16 kDefaultDiscoveryPort = 3702;

    Scope scope = Scope::Lan;
    quint16 discoveryPort = kDefaultDiscoveryPort;

    /**
     * @brief Reads VEXO_SCOPE ("lan", the default, or "loopback") and VEXO_WSD_PORT (1-65535).
     * A variable that is set but malformed is refused: @p error names it and the result is empty.
     */
    static std::optional<ClientOptions> fromEnvironment(QString *error = nullptr);

    /** @brief Whether a device service address may be contacted in this scope (http or https, host allowed). */
    bool allowsDeviceAddress(const QUrl &url) const;
    /** @brief The first https address of @p xaddrs this scope allows, else the first http one; empty when none. */
    QUrl preferredDeviceAddress(const QStringList &xaddrs) const;
};

} // namespace onvif
