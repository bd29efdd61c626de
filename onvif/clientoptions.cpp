// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "clientoptions.h"

#include <QHostAddress>

namespace onvif {

std::optional<ClientOptions> ClientOptions::fromEnvironment(QString *error)
{
    ClientOptions options;
    auto refuse = [error](const QString &why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (qEnvironmentVariableIsSet("VEXO_SCOPE")) {
        const QString scope = qEnvironmentVariable("VEXO_SCOPE");
        if (scope == u"loopback")
            options.scope = Scope::Loopback;
        else if (scope == u"lan")
            options.scope = Scope::Lan;
        else
            return refuse(QStringLiteral("VEXO_SCOPE must be lan or loopback, not '%1'").arg(scope));
    }
    if (qEnvironmentVariableIsSet("VEXO_WSD_PORT")) {
        bool ok = false;
        const uint port = qEnvironmentVariable("VEXO_WSD_PORT").toUInt(&ok);
        if (!ok || port < 1 || port > 65535)
            return refuse(QStringLiteral("VEXO_WSD_PORT must be a port number 1-65535"));
        options.discoveryPort = quint16(port);
    }
    return options;
}

bool ClientOptions::allowsDeviceAddress(const QUrl &url) const
{
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https") || url.host().isEmpty()
        || !url.userInfo().isEmpty())
        return false;
    const QHostAddress host(url.host());
    // A name is resolved by the system and could lead anywhere: the loopback scope takes literals only.
    if (host.isNull())
        return scope == Scope::Lan && url.host().compare(u"localhost", Qt::CaseInsensitive) != 0;
    const bool loopback = host.isLoopback();
    if (scope == Scope::Loopback)
        return loopback && host.protocol() == QAbstractSocket::IPv4Protocol;
    return !loopback;
}

QUrl ClientOptions::preferredDeviceAddress(const QStringList &xaddrs) const
{
    QUrl plain;
    for (const QString &x : xaddrs) {
        const QUrl url(x);
        if (!allowsDeviceAddress(url))
            continue;
        if (url.scheme() == u"https")
            return url;
        if (plain.isEmpty())
            plain = url;
    }
    return plain;
}

} // namespace onvif
