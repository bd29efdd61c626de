// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "failure.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QLoggingCategory;
class QNetworkReply;
class QNetworkRequest;
class QUrl;

namespace onvif {

class CertificatePins;
class HttpDigest;
struct Credentials;

/**
 * @brief What every HTTP request to a device sets, whatever it asks: no redirect followed, no
 *        cache, no cookies, no HTTP/2, credentials never reused by the network stack; over HTTPS
 *        TLS 1.2 or later, the certificate checked against its pin (checkPinnedCertificate())
 *        instead of a chain, since cameras sign their own.
 */
void prepareDeviceRequest(QNetworkRequest &request);

/**
 * @brief The "Authorization" value of @p method on @p url: the answer to @p digest when the
 *        device asked for one (counting its nonce up), HTTP Basic when it asked for that (@p basic),
 *        otherwise empty.
 */
QByteArray deviceAuthorization(const QByteArray &method, const QUrl &url, const Credentials &credentials,
                               std::optional<HttpDigest> &digest, bool basic);

/**
 * @brief Why @p reply failed on the network: refused (nothing listens, or the device hung up),
 *        timed out, not HTTP, a TLS handshake that failed, and unreachable for anything else.
 */
Failure networkFailureOf(const QNetworkReply &reply);

/**
 * @brief Checks the certificate of @p reply against the pin of the device (@p endpoint, @p mac)
 *        and pins it on first use. Returns the failure that ends the exchange, or nothing when it
 *        may go on, also when no connection was made (the network error then says why).
 */
std::optional<Failure> checkPinnedCertificate(const QNetworkReply &reply, CertificatePins &pins,
                                              const QString &endpoint, const QString &mac, const QLoggingCategory &log);

} // namespace onvif
