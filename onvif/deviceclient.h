// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "certificatepins.h"
#include "clientoptions.h"
#include "devicemgmt.h"
#include "failure.h"

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace onvif {

/** @brief The user name and password for a device, and whether they may travel in clear. */
struct Credentials
{
    QString username = QStringLiteral("admin");
    QString password;
    /** Only when set may the password go as HTTP Basic to a device that offers nothing else. */
    bool allowClearText = false;
    /** Only when set may a new password (SetUser) go to a device over plain HTTP. */
    bool allowClearTextNewPassword = false;
};

/** @brief Which device a request is for, as far as known: its TLS certificate is pinned under these. */
struct Peer
{
    QString endpoint; ///< the WS-Discovery endpoint reference
    QString mac;      ///< empty until identification read it
};

/**
 * @brief POSTs SOAP 1.2 requests to a device service over HTTP or HTTPS and hands back the answer.
 *
 * Each request carries a WS-Security UsernameToken (PasswordDigest, its creation time moved by
 * the device's clock offset) when credentials are given. A 401 with a Digest challenge is
 * answered once with HTTP Digest (SHA-256 or MD5, qop=auth); a 401 offering only Basic is
 * answered with Basic over HTTPS, or over HTTP only when Credentials::allowClearText is set;
 * otherwise the request fails with Failure::Kind::ClearTextOnly. Redirects are never followed, no proxy is used, the answer
 * is aborted as soon as it exceeds the size limit, and each request has a time-out.
 *
 * Over HTTPS only TLS 1.2 and later are offered. Devices sign their own certificates, so the
 * chain and the host name are not checked; instead the certificate's SHA-256 fingerprint must
 * be the one pinned for the device (Options::pins, keyed by Peer), and the first certificate a
 * device presents is pinned. A different one fails the request with
 * Failure::Kind::CertificateChanged right after the handshake, before the request is sent.
 *
 * Lives in the thread that created it and calls back there; that thread needs an event loop.
 */
class DeviceClient : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        ClientOptions scope;
        int timeoutMs = 5000;                                       ///< per HTTP exchange
        qsizetype maxResponseBytes = devicemgmt::kMaxResponseBytes; ///< larger answers are aborted
        /** The pinned certificates; without a store, pins last as long as the client. */
        std::shared_ptr<CertificatePins> pins;
    };

    /** @brief Builds the body for one attempt; each attempt gets a fresh token. */
    using BodyBuilder = std::function<QByteArray(const devicemgmt::Auth &)>;
    /** @brief Receives the answer's body (HTTP 200) or the failure. */
    using Callback = std::function<void(const Outcome<QByteArray> &)>;

    explicit DeviceClient(const Options &options, QObject *parent = nullptr);
    ~DeviceClient() override;

    const Options &options() const { return m_options; }

    /**
     * @brief Sends the request built by @p build to @p url with SOAP action @p action.
     * @p done is called exactly once, later, from the event loop (never from within this call).
     * Over HTTPS the certificate is pinned for @p peer (for the address when @p peer is empty).
     */
    void post(const QUrl &url, const QString &action, const std::optional<Credentials> &credentials,
              qint64 clockOffsetSeconds, const BodyBuilder &build, const Callback &done, const Peer &peer = {});

    /**
     * @brief Logs each of @p quirks of the device known as @p device, once per device and quirk
     * for the client's life: how a device departs from the schema is worth one line, not one a request.
     */
    void noteQuirks(const QString &device, const QStringList &quirks);

private:
    class Exchange;

    Options m_options;
    QSet<QString> m_loggedQuirks;
    std::unique_ptr<QNetworkAccessManager> m_network;
};

/** @brief The SOAP action URI of a device management operation ("GetDeviceInformation"). */
QString deviceAction(const QString &operation);

/**
 * @brief Reads an answer with @p parser; a device's fault and a refused text become failures
 * (ter:NotAuthorized as Failure::Kind::NotAuthorized).
 */
template<typename T, typename Parser>
Outcome<T> readAnswer(const Outcome<QByteArray> &answer, Parser parser)
{
    if (!answer)
        return Outcome<T>::failedWith(answer.failure);
    Result<T> r = parser(*answer.value);
    if (r.value) {
        Outcome<T> o;
        o.value = std::move(*r.value);
        o.quirks = r.quirks;
        return o;
    }
    Failure f;
    if (r.fault) {
        f.kind = r.fault->hasSubcode(u"NotAuthorized") ? Failure::Kind::NotAuthorized : Failure::Kind::SoapFault;
        f.detail = r.fault->reason;
        f.fault = r.fault;
    } else {
        f.kind = Failure::Kind::Malformed;
        f.detail = r.error;
    }
    Outcome<T> o = Outcome<T>::failedWith(f);
    o.quirks = r.quirks;
    return o;
}

} // namespace onvif
