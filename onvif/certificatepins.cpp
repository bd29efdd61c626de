// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "certificatepins.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QSaveFile>

namespace onvif {

namespace {

// Any spelling of a MAC as twelve lower-case hex digits; empty when it is none.
QString macKey(const QString &mac)
{
    QString hex;
    for (const QChar c : mac) {
        const QChar l = c.toLower();
        if (l.isDigit() || (l >= u'a' && l <= u'f'))
            hex.append(l);
        else if (l != u':' && l != u'-' && l != u'.')
            return QString();
    }
    return hex.size() == 12 && hex != QLatin1String("000000000000") ? hex : QString();
}

} // namespace

CertificatePins::CertificatePins(QString filePath)
    : m_filePath(std::move(filePath))
{
    if (m_filePath.isEmpty())
        return;
    QFile file(m_filePath);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        m_loadError = file.errorString();
        return;
    }
    if (file.size() > kMaxFileBytes) {
        m_loadError = QStringLiteral("the file is larger than %1 bytes").arg(kMaxFileBytes);
        return;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(kMaxFileBytes), &parseError);
    if (!doc.isArray()) {
        m_loadError = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                                   : QStringLiteral("the file holds no list of pins");
        return;
    }
    const QJsonArray list = doc.array();
    for (const QJsonValue &value : list) {
        const QJsonObject o = value.toObject();
        Pin pin{o.value(QLatin1String("endpoint")).toString(), macKey(o.value(QLatin1String("mac")).toString()),
                QByteArray::fromHex(o.value(QLatin1String("sha256")).toString().toLatin1())};
        // A damaged entry is skipped rather than trusted.
        if (pin.sha256.size() != 32 || (pin.endpoint.isEmpty() && pin.mac.isEmpty()))
            continue;
        if (m_pins.size() < kMaxPins)
            m_pins.append(pin);
    }
}

QString CertificatePins::loadError() const
{
    return m_loadError;
}

qsizetype CertificatePins::indexOf(const QString &endpoint, const QString &mac) const
{
    if (!endpoint.isEmpty()) {
        for (qsizetype i = 0; i < m_pins.size(); ++i) {
            if (m_pins.at(i).endpoint == endpoint)
                return i;
        }
    }
    const QString key = macKey(mac);
    if (!key.isEmpty()) {
        for (qsizetype i = 0; i < m_pins.size(); ++i) {
            if (m_pins.at(i).mac == key)
                return i;
        }
    }
    return -1;
}

std::optional<QByteArray> CertificatePins::find(const QString &endpoint, const QString &mac) const
{
    QMutexLocker lock(&m_mutex);
    const qsizetype i = indexOf(endpoint, mac);
    if (i < 0)
        return std::nullopt;
    return m_pins.at(i).sha256;
}

bool CertificatePins::pin(const QString &endpoint, const QString &mac, const QByteArray &sha256, QString *error)
{
    QMutexLocker lock(&m_mutex);
    if (sha256.size() != 32 || (endpoint.isEmpty() && macKey(mac).isEmpty())) {
        if (error)
            *error = QStringLiteral("nothing to pin");
        return false;
    }
    const qsizetype i = indexOf(endpoint, mac);
    if (i >= 0) {
        Pin &known = m_pins[i];
        if (known.sha256 != sha256 || (!known.mac.isEmpty() || macKey(mac).isEmpty()))
            return true; // a pin is never replaced here, only forgotten
        known.mac = macKey(mac);
    } else {
        if (m_pins.size() >= kMaxPins)
            m_pins.removeFirst();
        m_pins.append({endpoint, macKey(mac), sha256});
    }
    return save(error);
}

bool CertificatePins::forget(const QString &endpoint, const QString &mac, QString *error)
{
    QMutexLocker lock(&m_mutex);
    bool any = false;
    // Both keys: a pin found by the MAC under an older endpoint goes too.
    for (qsizetype i = indexOf(endpoint, mac); i >= 0; i = indexOf(endpoint, mac)) {
        m_pins.removeAt(i);
        any = true;
    }
    if (!any)
        return false;
    return save(error);
}

bool CertificatePins::save(QString *error) const
{
    if (m_filePath.isEmpty())
        return true;
    QJsonArray list;
    for (const Pin &pin : m_pins) {
        list.append(QJsonObject{{QStringLiteral("endpoint"), pin.endpoint},
                                {QStringLiteral("mac"), pin.mac},
                                {QStringLiteral("sha256"), QString::fromLatin1(pin.sha256.toHex())}});
    }
    const QFileInfo info(m_filePath);
    QDir().mkpath(info.absolutePath());
    // QSaveFile writes to a link's target: a link in the file's place goes first, so that the
    // rename puts the file there instead.
    if (info.isSymLink() && !QFile::remove(m_filePath)) {
        if (error)
            *error = QStringLiteral("cannot replace the link %1").arg(m_filePath);
        return false;
    }
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(list).toJson()) < 0 || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString CertificatePins::displayText(const QByteArray &sha256)
{
    return QString::fromLatin1(sha256.toHex(':').toUpper());
}

} // namespace onvif
