// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifpopulation.h"

#include <QJsonArray>
#include <QUuid>

#include <random>

namespace OnvifPopulation {

namespace {

struct Maker
{
    const char *name;
    const char *models[3];
    const char *serialPrefix;
};

// Invented makers, so that lists show devices of more than one kind.
constexpr Maker kMakers[] = {
    {"Korvalis Optics", {"KO-D210", "KO-B420", "KO-PTZ9"}, "KOR"},
    {"Brightmoor Systems", {"BM-Cam3", "BM-Dome5", "BM-NVR8"}, "BMS"},
    {"Tessaro Vision", {"TV-100X", "TV-220W", "TV-410T"}, "TSV"},
};

const QUuid kEndpointNamespace = QUuid(QStringLiteral("{6f1c2a0e-8d2b-4f5e-9a43-0c7d5e1b2a90}"));

qint64 clockOffset(std::mt19937_64 &rng)
{
    const qint64 magnitude = std::uniform_int_distribution<qint64>(300, 7200)(rng);
    return std::uniform_int_distribution<int>(0, 1)(rng) ? magnitude : -magnitude;
}

QString macText(std::mt19937_64 &rng, int index)
{
    // Locally administered, unique by index.
    const quint32 tail = quint32(std::uniform_int_distribution<int>(0, 255)(rng)) << 16 | quint32(index & 0xffff);
    return QStringLiteral("02:4f:4e:%1:%2:%3")
        .arg(tail >> 16, 2, 16, QLatin1Char('0'))
        .arg((tail >> 8) & 0xff, 2, 16, QLatin1Char('0'))
        .arg(tail & 0xff, 2, 16, QLatin1Char('0'));
}

} // namespace

QString onvifAddress(int index)
{
    return QStringLiteral("127.1.%1.%2").arg(index / 250).arg(index % 250 + 1);
}

std::vector<OnvifDeviceState> generate(int count, std::uint64_t seed, const QString &password, int firstAddress)
{
    std::mt19937_64 rng(seed ^ 0x6f6e766966ull);
    std::vector<OnvifDeviceState> out;
    for (int i = 0; i < count; ++i) {
        const Maker &maker = kMakers[i % std::size(kMakers)];
        OnvifDeviceState s;
        s.manufacturer = QLatin1String(maker.name);
        s.model = QLatin1String(maker.models[(i / 3) % 3]);
        s.firmware = QStringLiteral("%1.%2.%3").arg(1 + i % 3).arg(i % 10).arg(100 + i);
        s.serial = QStringLiteral("%1%2%3")
                       .arg(QLatin1String(maker.serialPrefix))
                       .arg(seed % 1000, 3, 10, QLatin1Char('0'))
                       .arg(i, 5, 10, QLatin1Char('0'));
        s.hardwareId = QStringLiteral("HW-%1").arg(0x100 + i % 7, 0, 16);
        s.mac = macText(rng, i);
        s.ipv4 = onvifAddress(firstAddress + i);
        s.endpoint = QStringLiteral("urn:uuid:")
                     + QUuid::createUuidV5(kEndpointNamespace, s.serial).toString(QUuid::WithoutBraces);
        s.users = {OnvifUser{QStringLiteral("admin"), password, QStringLiteral("Administrator")}};
        s.clockOffsetSeconds = clockOffset(rng);
        s.authMode = OnvifAuthMode::Both;
        out.push_back(std::move(s));
    }
    return out;
}

OnvifDeviceState forOwnDevice(const QString &serial, const QString &mac, const QString &model, const QString &firmware,
                              const QString &address, std::uint64_t seed, const QString &password)
{
    // Seeded by the serial number's bytes, so the device's clock is the same in every run.
    const QByteArray bytes = serial.toUtf8();
    std::seed_seq material(bytes.begin(), bytes.end());
    std::mt19937_64 rng(material);
    rng.discard(seed % 1024);
    OnvifDeviceState s;
    s.manufacturer = QStringLiteral("VEXO");
    s.model = model;
    s.firmware = firmware;
    s.serial = serial;
    s.hardwareId = model;
    s.mac = mac;
    s.ipv4 = address;
    s.endpoint
        = QStringLiteral("urn:uuid:") + QUuid::createUuidV5(kEndpointNamespace, serial).toString(QUuid::WithoutBraces);
    s.users = {OnvifUser{QStringLiteral("admin"), password, QStringLiteral("Administrator")}};
    s.clockOffsetSeconds = clockOffset(rng);
    s.alsoVxdp = true;
    return s;
}

QJsonObject toJson(const OnvifDeviceState &s)
{
    QJsonArray users;
    for (const OnvifUser &u : s.users)
        users.append(QJsonObject{{QStringLiteral("name"), u.name},
                                 {QStringLiteral("password"), u.password},
                                 {QStringLiteral("level"), u.level}});
    return QJsonObject{
        {QStringLiteral("endpoint"), s.endpoint},
        {QStringLiteral("manufacturer"), s.manufacturer},
        {QStringLiteral("model"), s.model},
        {QStringLiteral("firmware"), s.firmware},
        {QStringLiteral("serial"), s.serial},
        {QStringLiteral("hardwareId"), s.hardwareId},
        {QStringLiteral("mac"), s.mac},
        {QStringLiteral("ipv4"), s.ipv4},
        {QStringLiteral("prefixLength"), s.prefixLength},
        {QStringLiteral("dhcp"), s.dhcp},
        {QStringLiteral("gateway"), s.gateway},
        {QStringLiteral("httpPort"), s.httpPort},
        {QStringLiteral("users"), users},
        {QStringLiteral("authMode"), authModeName(s.authMode)},
        {QStringLiteral("rebootNeeded"), s.rebootNeeded},
        {QStringLiteral("clockOffsetSeconds"), s.clockOffsetSeconds},
        {QStringLiteral("alsoVxdp"), s.alsoVxdp},
        {QStringLiteral("metadataVersion"), qint64(s.metadataVersion)},
        {QStringLiteral("https"), s.https},
        {QStringLiteral("httpsOnly"), s.httpsOnly},
        {QStringLiteral("httpsPort"), s.httpsPort},
        {QStringLiteral("tlsCertificate"), QString::fromLatin1(s.tlsCertificatePem)},
        {QStringLiteral("tlsKey"), QString::fromLatin1(s.tlsKeyPem)},
        {QStringLiteral("quirks"), QJsonArray::fromStringList(quirkNames(s.quirks))},
    };
}

std::optional<OnvifDeviceState> fromJson(const QJsonObject &o, QString *error)
{
    OnvifDeviceState s;
    auto text = [&](const char *key, QString *out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isString()) {
            *error = QStringLiteral("ONVIF device field %1 is missing or not text").arg(QLatin1String(key));
            return false;
        }
        *out = v.toString();
        return true;
    };
    auto number = [&](const char *key, qint64 min, qint64 max, qint64 *out) {
        const QJsonValue v = o.value(QLatin1String(key));
        const double d = v.toDouble(-1e300);
        if (!v.isDouble() || d < double(min) || d > double(max) || d != double(qint64(d))) {
            *error = QStringLiteral("ONVIF device field %1 is not a number from %2 to %3")
                         .arg(QLatin1String(key))
                         .arg(min)
                         .arg(max);
            return false;
        }
        *out = qint64(d);
        return true;
    };
    auto flag = [&](const char *key, bool *out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isBool()) {
            *error = QStringLiteral("ONVIF device field %1 is not true or false").arg(QLatin1String(key));
            return false;
        }
        *out = v.toBool();
        return true;
    };
    QString mode;
    qint64 prefix = 0, port = 0, offset = 0, version = 0;
    if (!text("endpoint", &s.endpoint) || !text("manufacturer", &s.manufacturer) || !text("model", &s.model)
        || !text("firmware", &s.firmware) || !text("serial", &s.serial) || !text("hardwareId", &s.hardwareId)
        || !text("mac", &s.mac) || !text("ipv4", &s.ipv4) || !text("gateway", &s.gateway) || !text("authMode", &mode)
        || !number("prefixLength", 1, 32, &prefix) || !number("httpPort", 0, 65535, &port)
        || !number("clockOffsetSeconds", -86400 * 365, 86400 * 365, &offset)
        || !number("metadataVersion", 0, 0xffffffffll, &version) || !flag("dhcp", &s.dhcp)
        || !flag("rebootNeeded", &s.rebootNeeded) || !flag("alsoVxdp", &s.alsoVxdp))
        return std::nullopt;
    const auto authMode = authModeFromName(mode);
    if (!authMode || s.serial.isEmpty()) {
        *error = QStringLiteral("ONVIF device %1 has an unknown authentication mode or no serial number").arg(s.serial);
        return std::nullopt;
    }
    s.authMode = *authMode;
    // Older state files have no quirks; unknown names are dropped.
    for (const QJsonValue &name : o.value(QStringLiteral("quirks")).toArray()) {
        if (const auto quirk = quirkFromName(name.toString()))
            s.quirks |= quint32(*quirk);
    }
    s.prefixLength = int(prefix);
    s.httpPort = quint16(port);
    s.clockOffsetSeconds = offset;
    s.metadataVersion = quint32(version);
    const QJsonArray users = o.value(QLatin1String("users")).toArray();
    for (const QJsonValue &u : users) {
        const QJsonObject user = u.toObject();
        s.users.append({user.value(QLatin1String("name")).toString(), user.value(QLatin1String("password")).toString(),
                        user.value(QLatin1String("level")).toString()});
        if (s.users.last().name.isEmpty()) {
            *error = QStringLiteral("ONVIF device %1 has a user without a name").arg(s.serial);
            return std::nullopt;
        }
    }
    if (s.users.isEmpty()) {
        *error = QStringLiteral("ONVIF device %1 has no users").arg(s.serial);
        return std::nullopt;
    }
    // HTTPS came later: a file without it describes devices that serve HTTP only.
    if (o.contains(QLatin1String("https"))) {
        qint64 httpsPort = 0;
        QString certificate, key;
        if (!flag("https", &s.https) || !flag("httpsOnly", &s.httpsOnly) || !number("httpsPort", 0, 65535, &httpsPort)
            || !text("tlsCertificate", &certificate) || !text("tlsKey", &key))
            return std::nullopt;
        s.httpsPort = quint16(httpsPort);
        s.tlsCertificatePem = certificate.toLatin1();
        s.tlsKeyPem = key.toLatin1();
    }
    return s;
}

} // namespace OnvifPopulation
