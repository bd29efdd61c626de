// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>

#include <optional>

namespace onvif {

/**
 * @brief The TLS certificates of ONVIF devices, pinned on first use: one SHA-256 fingerprint per
 * device, found by its endpoint reference or its MAC address.
 *
 * Cameras sign their own certificates, so no authority vouches for them: the first certificate
 * a device presents is taken as its own, and any other one later is refused until the user
 * forgets the pin. The pins are kept in the file handed in (JSON, written through a temporary
 * file and a rename, so that a link in its place is replaced and never followed); without a
 * file they live in memory only. Safe to use from several threads.
 */
class CertificatePins
{
public:
    /** @brief The largest pin file read; a larger one is refused as damaged. */
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;
    /** @brief At most this many devices are pinned; the oldest pin gives way. */
    static constexpr int kMaxPins = 4096;

    /** @brief Pins kept in @p filePath (loaded now; a missing file is an empty store). */
    explicit CertificatePins(QString filePath = QString());

    /** @brief Why the file could not be read, when it could not; then nothing was loaded. */
    QString loadError() const;

    /**
     * @brief The fingerprint pinned for the device with @p endpoint or @p mac (either may be
     * empty), or nothing. The endpoint is asked first.
     */
    std::optional<QByteArray> find(const QString &endpoint, const QString &mac) const;
    /**
     * @brief Pins @p sha256 for the device unless it has a pin; adds @p mac to an existing pin
     * that has none. False with @p error when the file could not be written (the pin is kept
     * in memory all the same).
     */
    bool pin(const QString &endpoint, const QString &mac, const QByteArray &sha256, QString *error = nullptr);
    /** @brief Forgets the pin of the device with @p endpoint or @p mac; false when it had none. */
    bool forget(const QString &endpoint, const QString &mac, QString *error = nullptr);

    /** @brief "AB:CD:…" (32 pairs) for showing a fingerprint to the user. */
    static QString displayText(const QByteArray &sha256);

private:
    struct Pin
    {
        QString endpoint;
        QString mac; ///< lower case, colons; empty while unknown
        QByteArray sha256;
    };
    qsizetype indexOf(const QString &endpoint, const QString &mac) const;
    bool save(QString *error) const;

    QString m_filePath;
    QString m_loadError;
    mutable QMutex m_mutex;
    QList<Pin> m_pins;
};

} // namespace onvif
