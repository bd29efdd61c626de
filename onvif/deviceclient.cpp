// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "deviceclient.h"

#include "devicerequest.h"
#include "httpdigest.h"
#include "namespaces.h"
#include "soapenvelope.h"

#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

Q_LOGGING_CATEGORY(lcOnvifClient, "vexo.onvif.client", QtInfoMsg)

namespace onvif {

QString deviceAction(const QString &operation)
{
    return ns::kDevice + QLatin1Char('/') + operation;
}

// One request from first attempt to answer: at most one more attempt with HTTP authentication.
class DeviceClient::Exchange : public QObject
{
public:
    Exchange(DeviceClient *client, QUrl url, QString action, std::optional<Credentials> credentials, qint64 clockOffset,
             BodyBuilder build, Callback done, Peer peer)
        : QObject(client)
        , m_client(client)
        , m_url(std::move(url))
        , m_action(std::move(action))
        , m_credentials(std::move(credentials))
        , m_clockOffset(clockOffset)
        , m_build(std::move(build))
        , m_done(std::move(done))
        , m_peer(std::move(peer))
    {
        // A device nobody named is pinned under its address.
        if (m_peer.endpoint.isEmpty() && m_peer.mac.isEmpty())
            m_peer.endpoint = m_url.authority(QUrl::FullyEncoded);
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            fail(Failure::Kind::TimedOut, QStringLiteral("no complete answer within %1 ms").arg(m_timer.interval()));
        });
    }

    ~Exchange() override
    {
        if (m_reply) {
            m_reply->disconnect(this);
            m_reply->abort();
            m_reply->deleteLater();
        }
    }

    void send()
    {
        devicemgmt::Auth auth;
        if (m_credentials && m_sendToken)
            auth = makeUsernameToken(m_credentials->username, m_credentials->password, m_clockOffset);
        QNetworkRequest request(m_url);
        request.setRawHeader("Content-Type",
                             "application/soap+xml; charset=utf-8; action=\"" + m_action.toUtf8() + '"');
        prepareDeviceRequest(request);
        m_certificateChecked = false;
        if (m_credentials) {
            if (const QByteArray authorization = deviceAuthorization("POST", m_url, *m_credentials, m_digest, m_basic);
                !authorization.isEmpty())
                request.setRawHeader("Authorization", authorization);
        }
        m_body.clear();
        m_reply = m_client->m_network->post(request, m_build(auth));
        // The network stack holds back what is not read yet instead of buffering a huge answer.
        m_reply->setReadBufferSize(64 * 1024);
        // Emitted right after the handshake, before the request goes out: a wrong certificate
        // aborts it there. A reused connection has no handshake; the answer's headers are checked then.
        connect(m_reply, &QNetworkReply::encrypted, this, &Exchange::checkCertificate);
        connect(m_reply, &QNetworkReply::metaDataChanged, this, &Exchange::checkLength);
        connect(m_reply, &QNetworkReply::readyRead, this, &Exchange::read);
        connect(m_reply, &QNetworkReply::finished, this, &Exchange::finished);
        m_timer.start(m_client->m_options.timeoutMs);
    }

private:
    qsizetype limit() const { return m_client->m_options.maxResponseBytes; }

    bool secure() const { return m_url.scheme() == u"https"; }

    bool checkCertificate()
    {
        if (!m_reply || !secure() || m_certificateChecked)
            return bool(m_reply);
        if (const auto failure = checkPinnedCertificate(*m_reply, *m_client->m_options.pins, m_peer.endpoint,
                                                        m_peer.mac, lcOnvifClient())) {
            fail(failure->kind, failure->detail);
            return false;
        }
        m_certificateChecked = true;
        return true;
    }

    void checkLength()
    {
        if (!checkCertificate())
            return;
        bool ok = false;
        const qlonglong length = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
        if (ok && length > limit())
            fail(Failure::Kind::TooLarge, QStringLiteral("the device announced %1 bytes").arg(length));
    }

    void read()
    {
        if (!checkCertificate())
            return;
        m_body += m_reply->read(limit() + 1 - m_body.size());
        if (m_body.size() > limit())
            fail(Failure::Kind::TooLarge, QStringLiteral("the answer exceeds %1 bytes").arg(limit()));
    }

    void finished()
    {
        if (!m_reply)
            return;
        const bool answered = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
        if (answered && !checkCertificate())
            return;
        read();
        if (!m_reply)
            return;
        QNetworkReply *reply = m_reply;
        m_reply = nullptr;
        m_timer.stop();
        reply->deleteLater();
        reply->disconnect(this);

        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 401 && retryWithHttpAuthentication(reply))
            return;
        if (m_firstFailure) // the device offered no HTTP authentication either: its first answer stands
            return complete(Outcome<QByteArray>::failedWith(*m_firstFailure));
        if (status == 200) {
            Outcome<QByteArray> o;
            o.value = m_body;
            complete(o);
            return;
        }
        if (status == 0) {
            networkFailure(reply);
            return;
        }
        Failure f;
        f.httpStatus = status;
        // Some devices forbid (403) where others ask again (401): both refuse the credentials.
        f.kind = status == 401 || status == 403 ? Failure::Kind::NotAuthorized : Failure::Kind::HttpStatus;
        f.detail = QStringLiteral("HTTP %1 %2")
                       .arg(status)
                       .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        if (status >= 300 && status < 400) // a redirect is reported, never followed
            f.detail += QStringLiteral(" to %1").arg(QString::fromUtf8(reply->rawHeader("Location")).left(200));
        // Devices send faults with 400 or 500: the fault says more than the status.
        const Result<SoapEnvelope> envelope = readSoapEnvelope(m_body, limit());
        if (envelope.fault) {
            f.fault = envelope.fault;
            f.detail = envelope.fault->reason;
            if (!envelope.fault->hasSubcode(u"NotAuthorized") && status != 401)
                f.kind = Failure::Kind::SoapFault;
            else
                f.kind = Failure::Kind::NotAuthorized;
        }
        // A device may refuse the token because it wants HTTP authentication, or clear text.
        // Asked once more without any credentials, it names what it takes in a 401 challenge.
        if (f.kind == Failure::Kind::NotAuthorized && status != 401 && m_credentials && m_sendToken && !m_digest
            && !m_basic) {
            m_firstFailure = f;
            m_sendToken = false;
            send();
            return;
        }
        complete(Outcome<QByteArray>::failedWith(f));
    }

    bool retryWithHttpAuthentication(QNetworkReply *reply)
    {
        if (!m_credentials)
            return false;
        QByteArray header;
        for (const auto &pair : reply->rawHeaderPairs()) {
            if (pair.first.compare("WWW-Authenticate", Qt::CaseInsensitive) == 0)
                header += pair.second + ',';
        }
        const QList<HttpDigest::Challenge> challenges = HttpDigest::parseChallenges(header);
        if (auto digest = HttpDigest::select(challenges)) {
            // One try with the password, and one more only when the device says the nonce went stale.
            if (m_digest && !digest->stale())
                return false;
            if (m_digestTries++ >= 2)
                return false;
            m_digest = digest;
            m_firstFailure.reset();
            send();
            return true;
        }
        const bool basic = std::any_of(challenges.cbegin(), challenges.cend(),
                                       [](const HttpDigest::Challenge &c) { return c.scheme == "basic"; });
        if (!basic || m_basic)
            return false;
        // Inside TLS to the pinned certificate, Basic is not readable on the way.
        if (!m_credentials->allowClearText && !secure()) {
            fail(Failure::Kind::ClearTextOnly, QStringLiteral("the device asks for HTTP Basic authentication"));
            return true;
        }
        m_basic = true;
        m_firstFailure.reset();
        send();
        return true;
    }

    void networkFailure(QNetworkReply *reply) { complete(Outcome<QByteArray>::failedWith(networkFailureOf(*reply))); }

    void fail(Failure::Kind kind, const QString &detail)
    {
        if (m_reply) {
            QNetworkReply *reply = m_reply;
            m_reply = nullptr;
            reply->disconnect(this);
            reply->abort();
            reply->deleteLater();
        }
        m_timer.stop();
        complete(Outcome<QByteArray>::failedWith(Failure::of(kind, detail)));
    }

    void complete(const Outcome<QByteArray> &outcome)
    {
        if (m_completed)
            return;
        m_completed = true;
        if (!outcome)
            qCDebug(lcOnvifClient) << m_url.toString() << m_action << kindName(outcome.failure.kind)
                                   << outcome.failure.detail;
        // Later, so the caller never sees its callback run inside its own call.
        QTimer::singleShot(0, this, [this, outcome] {
            const Callback done = m_done;
            deleteLater();
            done(outcome);
        });
    }

    DeviceClient *m_client;
    QUrl m_url;
    QString m_action;
    std::optional<Credentials> m_credentials;
    qint64 m_clockOffset = 0;
    BodyBuilder m_build;
    Callback m_done;
    Peer m_peer;
    bool m_certificateChecked = false;
    QTimer m_timer;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    std::optional<HttpDigest> m_digest;
    int m_digestTries = 0;
    bool m_basic = false;
    bool m_sendToken = true;               // a WS-Security token in the body
    std::optional<Failure> m_firstFailure; // the token's refusal, while asking for a challenge
    bool m_completed = false;
};

DeviceClient::DeviceClient(const Options &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_network(std::make_unique<QNetworkAccessManager>())
{
    if (!m_options.pins)
        m_options.pins = std::make_shared<CertificatePins>();
    m_network->setProxy(QNetworkProxy::NoProxy);
    m_network->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    m_network->setAutoDeleteReplies(false);
}

DeviceClient::~DeviceClient()
{
    // Exchanges are children: they go first, aborting their replies while the manager still exists.
    qDeleteAll(findChildren<Exchange *>(Qt::FindDirectChildrenOnly));
}

void DeviceClient::noteQuirks(const QString &device, const QStringList &quirks)
{
    for (const QString &quirk : quirks) {
        const QString key = device + QChar(u'\0') + quirk;
        if (m_loggedQuirks.contains(key))
            continue;
        m_loggedQuirks.insert(key);
        qCInfo(lcOnvifClient, "%s answers with a quirk: %s", qUtf8Printable(device), qUtf8Printable(quirk));
    }
}

void DeviceClient::post(const QUrl &url, const QString &action, const std::optional<Credentials> &credentials,
                        qint64 clockOffsetSeconds, const BodyBuilder &build, const Callback &done, const Peer &peer)
{
    auto *exchange = new Exchange(this, url, action, credentials, clockOffsetSeconds, build, done, peer);
    if (!m_options.scope.allowsDeviceAddress(url)) {
        QTimer::singleShot(0, exchange, [exchange, done, url] {
            exchange->deleteLater();
            done(Outcome<QByteArray>::failedWith(
                Failure::of(Failure::Kind::AddressNotAllowed, url.toString(QUrl::RemoveUserInfo))));
        });
        return;
    }
    exchange->send();
}

} // namespace onvif
