// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "makerkeys.h"

#include <secretinput.h>

#include <QCoreApplication>
#include <QDir>

namespace {

std::optional<std::array<std::uint8_t, 32>> readSecret(const QString &path, QString *error)
{
    const auto read = SecretInput::readFile(path, error, 256);
    if (!read)
        return std::nullopt;
    const QByteArray text = read->trimmed();
    const auto bytes = vxdp::fromHex(std::string_view(text.constData(), size_t(text.size())));
    if (!bytes || bytes->size() != 32) {
        *error = QStringLiteral("%1 does not hold 64 hex digits").arg(path);
        return std::nullopt;
    }
    std::array<std::uint8_t, 32> out{};
    std::copy(bytes->begin(), bytes->end(), out.begin());
    return out;
}

} // namespace

QString MakerKeys::defaultDir()
{
    // Beside the executable, in the build tree as in an install: no path of the source tree is
    // built into a binary.
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("testkeys"));
}

std::optional<MakerKeys> MakerKeys::load(const QString &dir, QString *error)
{
    const QDir folder(dir);
    const auto seed = readSecret(folder.filePath(QStringLiteral("maker-signing.seed")), error);
    if (!seed)
        return std::nullopt;
    const auto master = readSecret(folder.filePath(QStringLiteral("maker-restore.master")), error);
    if (!master)
        return std::nullopt;
    const auto deviceCa = readSecret(folder.filePath(QStringLiteral("maker-device-ca.seed")), error);
    if (!deviceCa)
        return std::nullopt;
    if (!vxdp::cryptoInit()) {
        *error = QStringLiteral("the crypto library cannot be initialised");
        return std::nullopt;
    }
    MakerKeys keys;
    keys.m_signing = vxdp::signKeyPairFromSeed(*seed);
    keys.m_restoreMaster = *master;
    keys.m_deviceCa = vxdp::signKeyPairFromSeed(*deviceCa);
    return keys;
}
