// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicerequest.h"

#include "certificatepins.h"
#include "deviceclient.h"
#include "httpdigest.h"

#include <QLoggingCategory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QUrl>

namespace onvif {

void prepareDeviceRequest(QNetworkRequest &request)
{
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    if (request.url().scheme() == u"https") {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setProtocol(QSsl::TlsV1_2OrLater);
        // Self-signed: the pinned fingerprint stands in for the chain and the name.
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        request.setSslConfiguration(tls);
    }
}

QByteArray deviceAuthorization(const QByteArray &method, const QUrl &url, const Credentials &credentials,
                               std::optional<HttpDigest> &digest, bool basic)
{
    if (digest) {
        QByteArray uri = url.path(QUrl::FullyEncoded).toUtf8();
        if (uri.isEmpty())
            uri = "/";
        if (url.hasQuery())
            uri += '?' + url.query(QUrl::FullyEncoded).toUtf8();
        return digest->authorization(method, uri, credentials.username, credentials.password);
    }
    if (basic)
        return "Basic " + (credentials.username + QLatin1Char(':') + credentials.password).toUtf8().toBase64();
    return {};
}

Failure networkFailureOf(const QNetworkReply &reply)
{
    using E = QNetworkReply::NetworkError;
    Failure::Kind kind = Failure::Kind::Unreachable;
    switch (reply.error()) {
    case E::ConnectionRefusedError:
    case E::RemoteHostClosedError:
        kind = Failure::Kind::Refused;
        break;
    case E::TimeoutError:
        kind = Failure::Kind::TimedOut;
        break;
    case E::ProtocolFailure:
    case E::ProtocolUnknownError:
        kind = Failure::Kind::Malformed;
        break;
    case E::SslHandshakeFailedError:
        kind = Failure::Kind::TlsFailed;
        break;
    default:
        break;
    }
    return Failure::of(kind, reply.errorString());
}

std::optional<Failure> checkPinnedCertificate(const QNetworkReply &reply, CertificatePins &pins,
                                              const QString &endpoint, const QString &mac, const QLoggingCategory &log)
{
    const QSslCertificate certificate = reply.sslConfiguration().peerCertificate();
    if (certificate.isNull()) {
        if (reply.error() != QNetworkReply::NoError)
            return std::nullopt; // no connection: the network failure says why
        return Failure::of(Failure::Kind::TlsFailed, QStringLiteral("the device presented no certificate"));
    }
    const QByteArray presented = certificate.digest(QCryptographicHash::Sha256);
    const std::optional<QByteArray> pinned = pins.find(endpoint, mac);
    if (pinned && *pinned != presented) {
        return Failure::of(Failure::Kind::CertificateChanged,
                           QStringLiteral("pinned %1, presented %2")
                               .arg(CertificatePins::displayText(*pinned), CertificatePins::displayText(presented)));
    }
    QString error;
    if (!pins.pin(endpoint, mac, presented, &error))
        qCWarning(log) << "certificate pin not saved:" << error;
    return std::nullopt;
}

} // namespace onvif
