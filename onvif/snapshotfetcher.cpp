// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "snapshotfetcher.h"

#include "devicerequest.h"
#include "httpdigest.h"

#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

Q_LOGGING_CATEGORY(lcOnvifSnapshot, "vexo.onvif.snapshot", QtInfoMsg)

namespace onvif {

// One image from first attempt to answer: at most one more attempt with HTTP authentication
// (and one after a stale nonce).
class SnapshotFetcher::Transfer : public QObject
{
public:
    Transfer(SnapshotFetcher *fetcher, QUrl url, Credentials credentials, Peer peer, Callback done)
        : QObject(fetcher)
        , m_fetcher(fetcher)
        , m_url(std::move(url))
        , m_credentials(std::move(credentials))
        , m_peer(std::move(peer))
        , m_done(std::move(done))
    {
        if (m_peer.endpoint.isEmpty() && m_peer.mac.isEmpty())
            m_peer.endpoint = m_url.authority(QUrl::FullyEncoded);
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            fail(Failure::Kind::TimedOut, QStringLiteral("no complete image within %1 ms").arg(m_timer.interval()));
        });
    }

    ~Transfer() override
    {
        if (m_reply) {
            m_reply->disconnect(this);
            m_reply->abort();
            m_reply->deleteLater();
        }
    }

    void send()
    {
        QNetworkRequest request(m_url);
        request.setRawHeader("Accept", "image/jpeg, image/png");
        prepareDeviceRequest(request);
        m_certificateChecked = false;
        if (const QByteArray authorization = deviceAuthorization("GET", m_url, m_credentials, m_digest, m_basic);
            !authorization.isEmpty())
            request.setRawHeader("Authorization", authorization);
        m_body.clear();
        m_reply = m_fetcher->m_network->get(request);
        // The network stack holds back what is not read yet instead of buffering a huge body.
        m_reply->setReadBufferSize(64 * 1024);
        connect(m_reply, &QNetworkReply::encrypted, this, &Transfer::checkCertificate);
        connect(m_reply, &QNetworkReply::metaDataChanged, this, &Transfer::checkLength);
        connect(m_reply, &QNetworkReply::readyRead, this, &Transfer::read);
        connect(m_reply, &QNetworkReply::finished, this, &Transfer::finished);
        m_timer.start(m_fetcher->m_options.timeoutMs);
    }

private:
    qsizetype limit() const { return m_fetcher->m_options.maxBytes; }
    bool secure() const { return m_url.scheme() == u"https"; }

    bool checkCertificate()
    {
        if (!m_reply || !secure() || m_certificateChecked)
            return bool(m_reply);
        if (const auto failure = checkPinnedCertificate(*m_reply, *m_fetcher->m_options.pins, m_peer.endpoint,
                                                        m_peer.mac, lcOnvifSnapshot())) {
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
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (ok && status == 200 && length > limit())
            fail(Failure::Kind::TooLarge, QStringLiteral("the device announced %1 bytes").arg(length));
    }

    void read()
    {
        if (!checkCertificate())
            return;
        m_body += m_reply->read(limit() + 1 - m_body.size());
        if (m_body.size() > limit())
            fail(Failure::Kind::TooLarge, QStringLiteral("the image exceeds %1 bytes").arg(limit()));
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
        if (status == 200) {
            Outcome<QByteArray> o;
            o.value = m_body;
            return complete(o);
        }
        if (status == 0)
            return networkFailure(reply);
        Failure f;
        f.httpStatus = status;
        f.kind = status == 401 || status == 403 ? Failure::Kind::NotAuthorized : Failure::Kind::HttpStatus;
        f.detail = QStringLiteral("HTTP %1 %2")
                       .arg(status)
                       .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        if (status >= 300 && status < 400) // a redirect is reported, never followed
            f.detail += QStringLiteral(" to %1").arg(QString::fromUtf8(reply->rawHeader("Location")).left(200));
        complete(Outcome<QByteArray>::failedWith(f));
    }

    bool retryWithHttpAuthentication(QNetworkReply *reply)
    {
        QByteArray header;
        for (const auto &pair : reply->rawHeaderPairs()) {
            if (pair.first.compare("WWW-Authenticate", Qt::CaseInsensitive) == 0)
                header += pair.second + ',';
        }
        const QList<HttpDigest::Challenge> challenges = HttpDigest::parseChallenges(header);
        if (auto digest = HttpDigest::select(challenges)) {
            if (m_digest && !digest->stale())
                return false;
            if (m_digestTries++ >= 2)
                return false;
            m_digest = digest;
            send();
            return true;
        }
        const bool basic = std::any_of(challenges.cbegin(), challenges.cend(),
                                       [](const HttpDigest::Challenge &c) { return c.scheme == "basic"; });
        if (!basic || m_basic)
            return false;
        if (!m_credentials.allowClearText && !secure()) {
            fail(Failure::Kind::ClearTextOnly, QStringLiteral("the device asks for HTTP Basic authentication"));
            return true;
        }
        m_basic = true;
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
            qCDebug(lcOnvifSnapshot) << m_url.toString(QUrl::RemoveUserInfo) << kindName(outcome.failure.kind)
                                     << outcome.failure.detail;
        // Later, so the caller never sees its callback run inside its own call.
        QTimer::singleShot(0, this, [this, outcome] {
            const Callback done = m_done;
            deleteLater();
            done(outcome);
        });
    }

    SnapshotFetcher *m_fetcher;
    QUrl m_url;
    Credentials m_credentials;
    Peer m_peer;
    Callback m_done;
    bool m_certificateChecked = false;
    QTimer m_timer;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    std::optional<HttpDigest> m_digest;
    int m_digestTries = 0;
    bool m_basic = false;
    bool m_completed = false;
};

SnapshotFetcher::SnapshotFetcher(const Options &options, QObject *parent)
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

SnapshotFetcher::~SnapshotFetcher()
{
    // Transfers are children: they go first, aborting their replies while the manager still exists.
    qDeleteAll(findChildren<Transfer *>(Qt::FindDirectChildrenOnly));
}

void SnapshotFetcher::fetch(const QUrl &url, const Credentials &credentials, const Peer &peer, const Callback &done)
{
    auto *transfer = new Transfer(this, url, credentials, peer, done);
    if (!m_options.scope.allowsDeviceAddress(url)) {
        QTimer::singleShot(0, transfer, [transfer, done, url] {
            transfer->deleteLater();
            done(Outcome<QByteArray>::failedWith(
                Failure::of(Failure::Kind::AddressNotAllowed, url.toString(QUrl::RemoveUserInfo))));
        });
        return;
    }
    transfer->send();
}

} // namespace onvif
