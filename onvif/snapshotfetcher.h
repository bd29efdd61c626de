// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "certificatepins.h"
#include "clientoptions.h"
#include "deviceclient.h"
#include "failure.h"

#include <QByteArray>
#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>

class QNetworkAccessManager;

namespace onvif {

/**
 * @brief GETs a camera's still image over HTTP or HTTPS with the device's credentials.
 *
 * The same rules as DeviceClient's: a 401 with a Digest challenge is answered with HTTP Digest
 * (one more try only for a stale nonce), Basic only over HTTPS or where the credentials allow
 * clear text; no redirect is followed, no proxy used; over HTTPS the certificate must be the
 * one pinned for the device (pinned on first use). The body is read as it arrives and the
 * transfer aborted as soon as it passes the limit (an announced length over it is refused
 * before reading); each attempt has a time-out.
 *
 * Lives in the thread that created it and calls back there; that thread needs an event loop.
 */
class SnapshotFetcher : public QObject
{
    Q_OBJECT

public:
    /** @brief Default limit of an image: a few megabytes, more than any camera's JPEG. */
    static constexpr qsizetype kMaxImageBytes = 8 * 1024 * 1024;

    struct Options
    {
        ClientOptions scope;
        int timeoutMs = 8000; ///< per HTTP exchange
        qsizetype maxBytes = kMaxImageBytes;
        std::shared_ptr<CertificatePins> pins; ///< shared with the device client where there is one
    };

    using Callback = std::function<void(const Outcome<QByteArray> &)>;

    explicit SnapshotFetcher(const Options &options, QObject *parent = nullptr);
    ~SnapshotFetcher() override;

    const Options &options() const { return m_options; }

    /** @brief Fetches @p url; @p done is called exactly once, later, from the event loop. */
    void fetch(const QUrl &url, const Credentials &credentials, const Peer &peer, const Callback &done);

private:
    class Transfer;

    Options m_options;
    std::unique_ptr<QNetworkAccessManager> m_network;
};

} // namespace onvif
