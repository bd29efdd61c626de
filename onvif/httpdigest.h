// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace onvif {

/**
 * @brief HTTP Digest access authentication (RFC 7616) with MD5 or SHA-256 and qop=auth,
 * written here because the network access manager's own handling (Qt 6.4) does not answer a
 * SHA-256 challenge at all, and does not tell the caller whether it is about to answer a
 * Basic challenge, which sends the password in clear.
 */
class HttpDigest
{
public:
    /** @brief One challenge of a WWW-Authenticate header: its scheme (lower case) and parameters. */
    struct Challenge
    {
        QByteArray scheme;
        QMap<QByteArray, QByteArray> params; ///< names in lower case, values unquoted
    };

    /** @brief Every challenge in a WWW-Authenticate value (several may share one header). */
    static QList<Challenge> parseChallenges(const QByteArray &header);

    /**
     * @brief The strongest usable Digest challenge among @p challenges (SHA-256 before MD5),
     * or nothing when none is usable (unknown algorithm, no realm or nonce, qop without "auth").
     */
    static std::optional<HttpDigest> select(const QList<Challenge> &challenges);

    /** @brief The Authorization header value answering the challenge; each call counts nc up. */
    QByteArray authorization(const QByteArray &method, const QByteArray &uri, const QString &username,
                             const QString &password, const QByteArray &cnonce = {});

    QByteArray algorithm() const { return m_algorithm; }
    /** @brief Whether the server marked the nonce stale (retry with the new one, same password). */
    bool stale() const { return m_stale; }

private:
    QByteArray hash(const QByteArray &data) const;

    QByteArray m_algorithm; // "MD5", "SHA-256", or with "-sess"
    QByteArray m_realm;
    QByteArray m_nonce;
    QByteArray m_opaque;
    bool m_qopAuth = false;
    bool m_stale = false;
    int m_nonceCount = 0;
};

} // namespace onvif
