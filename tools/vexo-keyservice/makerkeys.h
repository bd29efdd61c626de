// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <protocol/crypto.h>

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

/**
 * @brief The maker's signing key, restore master secret and device CA key, read from a
 * keys folder holding "maker-signing.seed", "maker-restore.master" and
 * "maker-device-ca.seed" (64 hex digits each).
 */
class MakerKeys
{
public:
    /** The folder of the published test keys: "testkeys" beside the executable. */
    static QString defaultDir();

    /** Reads both files; on failure returns nothing and says why in @p error. */
    static std::optional<MakerKeys> load(const QString &dir, QString *error);

    const vxdp::SignKeyPair &signing() const { return m_signing; }
    const std::array<std::uint8_t, 32> &restoreMaster() const { return m_restoreMaster; }
    /** Issues the devices' certificates. */
    const vxdp::SignKeyPair &deviceCa() const { return m_deviceCa; }

private:
    vxdp::SignKeyPair m_signing;
    vxdp::SignKeyPair m_deviceCa;
    std::array<std::uint8_t, 32> m_restoreMaster{};
};
