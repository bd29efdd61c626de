// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

/** @brief A simulated device's own TLS certificate and its private key, both PEM. */
struct TlsIdentity
{
    QByteArray certificatePem;
    QByteArray privateKeyPem;
};

/**
 * @brief Makes a self-signed certificate as cameras carry one: a fresh P-256 key, the subject
 * and issuer CN=@p commonName, a random serial, valid ten years from now, signed with SHA-256.
 * Empty with @p error when the crypto library fails.
 */
std::optional<TlsIdentity> makeSelfSignedIdentity(const QString &commonName, QString *error);
