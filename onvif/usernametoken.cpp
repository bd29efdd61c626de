// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "usernametoken.h"

#include "namespaces.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QXmlStreamWriter>

namespace onvif {

namespace {
constexpr QLatin1StringView kPasswordDigestType{
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-username-token-profile-1.0#PasswordDigest"};
constexpr QLatin1StringView kBase64Encoding{
    "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-soap-message-security-1.0#Base64Binary"};
constexpr qsizetype kNonceBytes = 16;
} // namespace

QByteArray passwordDigest(const QByteArray &nonce, const QString &created, const QString &password)
{
    QCryptographicHash sha1(QCryptographicHash::Sha1);
    sha1.addData(nonce);
    sha1.addData(created.toUtf8());
    sha1.addData(password.toUtf8());
    return sha1.result().toBase64();
}

UsernameToken makeUsernameToken(const QString &username, const QString &password, qint64 clockOffsetSeconds,
                                const QDateTime &localUtc, const QByteArray &nonce)
{
    UsernameToken t;
    t.username = username;
    t.nonce = nonce;
    if (t.nonce.isEmpty()) {
        t.nonce.resize(kNonceBytes);
        QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(t.nonce.data()), kNonceBytes / 4);
    }
    t.created = localUtc.toUTC().addSecs(clockOffsetSeconds).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
    t.digest = passwordDigest(t.nonce, t.created, password);
    return t;
}

void writeSecurityHeader(QXmlStreamWriter &w, const UsernameToken &token)
{
    w.writeNamespace(ns::kWsse, QStringLiteral("wsse"));
    w.writeNamespace(ns::kWsu, QStringLiteral("wsu"));
    w.writeStartElement(ns::kWsse, QStringLiteral("Security"));
    w.writeAttribute(ns::kSoapEnvelope, QStringLiteral("mustUnderstand"), QStringLiteral("true"));
    w.writeStartElement(ns::kWsse, QStringLiteral("UsernameToken"));
    w.writeTextElement(ns::kWsse, QStringLiteral("Username"), token.username);
    w.writeStartElement(ns::kWsse, QStringLiteral("Password"));
    w.writeAttribute(QStringLiteral("Type"), QString(kPasswordDigestType));
    w.writeCharacters(QString::fromLatin1(token.digest));
    w.writeEndElement();
    w.writeStartElement(ns::kWsse, QStringLiteral("Nonce"));
    w.writeAttribute(QStringLiteral("EncodingType"), QString(kBase64Encoding));
    w.writeCharacters(QString::fromLatin1(token.nonce.toBase64()));
    w.writeEndElement();
    w.writeTextElement(ns::kWsu, QStringLiteral("Created"), token.created);
    w.writeEndElement(); // UsernameToken
    w.writeEndElement(); // Security
}

} // namespace onvif
