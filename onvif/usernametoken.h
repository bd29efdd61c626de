// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file usernametoken.h
 * @brief WS-Security UsernameToken with a password digest: the password itself never
 * leaves the program, only Base64(SHA-1(nonce + created + password)).
 */

#include <QByteArray>
#include <QDateTime>
#include <QString>

class QXmlStreamWriter;

namespace onvif {

/** @brief The credentials one request carries. */
struct UsernameToken
{
    QString username;
    QByteArray nonce;  ///< raw bytes (sent Base64-encoded)
    QString created;   ///< UTC time as the device's clock reads it, "yyyy-MM-ddThh:mm:ssZ"
    QByteArray digest; ///< Base64(SHA-1(nonce + created + password))
};

/** @brief Base64(SHA-1(@p nonce + UTF-8 @p created + UTF-8 @p password)). */
QByteArray passwordDigest(const QByteArray &nonce, const QString &created, const QString &password);

/**
 * @brief A token for @p username whose creation time is @p localUtc moved by the device's
 * clock offset (see devicemgmt::clockOffsetSeconds), so a device with a wrong clock still
 * accepts it. @p nonce defaults to 16 fresh random bytes.
 */
UsernameToken makeUsernameToken(const QString &username, const QString &password, qint64 clockOffsetSeconds,
                                const QDateTime &localUtc = QDateTime::currentDateTimeUtc(),
                                const QByteArray &nonce = {});

/** @brief Writes the wsse:Security header element holding @p token (inside an open Header). */
void writeSecurityHeader(QXmlStreamWriter &writer, const UsernameToken &token);

} // namespace onvif
