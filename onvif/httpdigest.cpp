// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "httpdigest.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace onvif {

namespace {

bool isTokenChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
           || QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

// A small cursor over the header: tokens, quoted strings, separators.
struct Cursor
{
    const QByteArray &text;
    qsizetype pos = 0;

    void skipSpace()
    {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
    }
    bool at(char c)
    {
        skipSpace();
        return pos < text.size() && text[pos] == c;
    }
    QByteArray token()
    {
        skipSpace();
        const qsizetype start = pos;
        while (pos < text.size() && isTokenChar(text[pos]))
            ++pos;
        return text.mid(start, pos - start);
    }
    QByteArray quoted()
    {
        QByteArray out;
        ++pos; // opening quote
        while (pos < text.size() && text[pos] != '"') {
            if (text[pos] == '\\' && pos + 1 < text.size())
                ++pos;
            out += text[pos++];
        }
        ++pos; // closing quote (or past the end of a truncated header)
        return out;
    }
};

QByteArray quote(const QByteArray &value)
{
    QByteArray out = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

} // namespace

QList<HttpDigest::Challenge> HttpDigest::parseChallenges(const QByteArray &header)
{
    QList<Challenge> out;
    Cursor c{header};
    while (c.pos < header.size()) {
        if (c.at(',')) {
            ++c.pos;
            continue;
        }
        const QByteArray word = c.token();
        if (word.isEmpty()) {
            ++c.pos; // not a token: skip the character
            continue;
        }
        if (c.at('=') && !out.isEmpty()) {
            ++c.pos;
            QByteArray value = c.at('"') ? c.quoted() : c.token();
            out.last().params.insert(word.toLower(), value);
        } else {
            out.append({word.toLower(), {}});
        }
    }
    return out;
}

std::optional<HttpDigest> HttpDigest::select(const QList<Challenge> &challenges)
{
    std::optional<HttpDigest> best;
    for (const Challenge &ch : challenges) {
        if (ch.scheme != "digest")
            continue;
        HttpDigest d;
        d.m_algorithm = ch.params.value("algorithm", "MD5").toUpper();
        if (d.m_algorithm != "MD5" && d.m_algorithm != "MD5-SESS" && d.m_algorithm != "SHA-256"
            && d.m_algorithm != "SHA-256-SESS")
            continue;
        d.m_realm = ch.params.value("realm");
        d.m_nonce = ch.params.value("nonce");
        d.m_opaque = ch.params.value("opaque");
        d.m_stale = ch.params.value("stale").toLower() == "true";
        if (!ch.params.contains("realm") || d.m_nonce.isEmpty())
            continue;
        if (ch.params.contains("qop")) {
            const QList<QByteArray> qops = ch.params.value("qop").split(',');
            d.m_qopAuth
                = std::any_of(qops.cbegin(), qops.cend(), [](const QByteArray &q) { return q.trimmed() == "auth"; });
            if (!d.m_qopAuth)
                continue; // auth-int only: the body would have to be hashed, which no device asks for
        }
        const bool stronger = d.m_algorithm.startsWith("SHA-256");
        if (!best || (stronger && !best->m_algorithm.startsWith("SHA-256")))
            best = d;
    }
    return best;
}

QByteArray HttpDigest::hash(const QByteArray &data) const
{
    const auto method = m_algorithm.startsWith("SHA-256") ? QCryptographicHash::Sha256 : QCryptographicHash::Md5;
    return QCryptographicHash::hash(data, method).toHex();
}

QByteArray HttpDigest::authorization(const QByteArray &method, const QByteArray &uri, const QString &username,
                                     const QString &password, const QByteArray &cnonce)
{
    const QByteArray user = username.toUtf8();
    const QByteArray client = cnonce.isEmpty() ? QByteArray::number(QRandomGenerator::system()->generate64(), 16)
                                                     + QByteArray::number(QRandomGenerator::system()->generate64(), 16)
                                               : cnonce;
    const QByteArray nc = QByteArray::number(++m_nonceCount, 16).rightJustified(8, '0');
    QByteArray ha1 = hash(user + ':' + m_realm + ':' + password.toUtf8());
    if (m_algorithm.endsWith("-SESS"))
        ha1 = hash(ha1 + ':' + m_nonce + ':' + client);
    const QByteArray ha2 = hash(method + ':' + uri);
    const QByteArray response = m_qopAuth ? hash(ha1 + ':' + m_nonce + ':' + nc + ':' + client + ":auth:" + ha2)
                                          : hash(ha1 + ':' + m_nonce + ':' + ha2);
    QByteArray out = "Digest username=" + quote(user) + ", realm=" + quote(m_realm) + ", nonce=" + quote(m_nonce)
                     + ", uri=" + quote(uri) + ", algorithm=" + QByteArray(m_algorithm).replace("-SESS", "-sess")
                     + ", response=" + quote(response);
    if (m_qopAuth)
        out += ", qop=auth, nc=" + nc + ", cnonce=" + quote(client);
    if (!m_opaque.isEmpty())
        out += ", opaque=" + quote(m_opaque);
    return out;
}

} // namespace onvif
