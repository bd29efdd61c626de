// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <protocol/crypto.h>

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

/**
 * @brief The maker's signing key and restore master secret, read from a keys folder
 * holding "maker-signing.seed" and "maker-restore.master" (64 hex digits each).
 */
class MakerKeys
{
public:
    /** The folder of the published test keys, compiled in. */
    static QString defaultDir();

    /** Reads both files; on failure returns nothing and says why in @p error. */
    static std::optional<MakerKeys> load(const QString &dir, QString *error);

    const vxdp::SignKeyPair &signing() const { return m_signing; }
    const std::array<std::uint8_t, 32> &restoreMaster() const { return m_restoreMaster; }

private:
    vxdp::SignKeyPair m_signing;
    std::array<std::uint8_t, 32> m_restoreMaster{};
};
