// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "keyservice.h"

#include <protocol/identity.h>
#include <protocol/keyformats.h>

#include <QDate>

KeyService::KeyService(const MakerKeys &keys)
    : m_keys(keys)
{}

std::optional<KeyService::SignedReset> KeyService::signReset(std::string_view input, QString *error) const
{
    // Key files may end with a line break when someone edited them by hand.
    while (!input.empty() && (input.back() == '\n' || input.back() == '\r' || input.back() == ' '))
        input.remove_suffix(1);

    std::string keyText(input);
    std::optional<int> qrScheme;
    if (input.substr(0, 2) != "VK") {
        const auto qr = vxdp::parseKeyQr(input);
        if (!qr) {
            *error = QStringLiteral("neither a device key nor a key QR text");
            return std::nullopt;
        }
        keyText = qr->key;
        qrScheme = qr->olderScheme ? 1 : 2;
    }
    const auto material = vxdp::parseKeyMaterial(keyText);
    if (!material) {
        *error = QStringLiteral("the device key is malformed");
        return std::nullopt;
    }
    // "B:" marks the older scheme; a QR text that disagrees with its key was made up.
    if (qrScheme && *qrScheme != material->scheme) {
        *error = QStringLiteral("the QR text's prefix does not match the key's scheme %1").arg(material->scheme);
        return std::nullopt;
    }
    const auto signature
        = vxdp::sign(m_keys.signing(), vxdp::resetMessage(material->scheme, material->serial, material->nonce));
    return SignedReset{material->serial, vxdp::formatResetKey(material->scheme, signature)};
}

std::optional<std::string> KeyService::securityCode(std::string_view restoreQr, const QString &date,
                                                    QString *error) const
{
    const auto qr = vxdp::parseRestoreQr(restoreQr);
    if (!qr) {
        *error = QStringLiteral("not a restore QR text (A:<type>**<serial>)");
        return std::nullopt;
    }
    if (date.size() != 8 || !QDate::fromString(date, QStringLiteral("yyyyMMdd")).isValid()) {
        *error = QStringLiteral("the date must be yyyyMMdd");
        return std::nullopt;
    }
    const auto secret = vxdp::restoreDeviceSecret(m_keys.restoreMaster(), qr->serial);
    return vxdp::securityCode(secret, qr->serial, date.toStdString());
}

std::optional<std::string> KeyService::certify(const DeviceIdentity &identity, QString *error) const
{
    vxdp::Announce a;
    a.device.serial = identity.serial;
    if (a.device.serial.empty() || a.device.serial.size() > vxdp::kMaxSerial) {
        *error = QStringLiteral("a serial number has 1 to %1 characters").arg(vxdp::kMaxSerial);
        return std::nullopt;
    }
    const auto mac = vxdp::macFromText(identity.mac);
    if (!mac) {
        *error = QStringLiteral("the MAC must read aa-bb-cc-dd-ee-ff");
        return std::nullopt;
    }
    a.device.mac = *mac;
    a.device.typeCode = identity.typeCode;
    const auto box = vxdp::fromHex(identity.publicKey);
    const auto signing = vxdp::fromHex(identity.signingKey);
    if (!box || box->size() != 32 || !signing || signing->size() != 32) {
        *error = QStringLiteral("each public key is 64 hex digits");
        return std::nullopt;
    }
    std::copy(box->begin(), box->end(), a.publicKey.begin());
    std::copy(signing->begin(), signing->end(), a.signingKey.begin());
    const auto certificate = vxdp::issueCertificate(m_keys.deviceCa(), a);
    return vxdp::toHex(certificate.data(), certificate.size());
}
