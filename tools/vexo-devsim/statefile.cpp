// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "statefile.h"

#include "addresstext.h"
#include "onvifpopulation.h"

#include <sodium.h>

#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>

namespace {

const QString kFormat = QStringLiteral("vexo-devsim-state");
constexpr int kVersion = 2;
constexpr int kVersionWithoutCertificates = 1;
constexpr qint64 kMaxFileSize = 256 * 1024 * 1024;

QString ipv6Text(const std::array<std::uint8_t, 16> &a)
{
    Q_IPV6ADDR raw;
    std::copy(a.begin(), a.end(), raw.c);
    return QHostAddress(raw).toString();
}

QString hexText(const std::uint8_t *data, std::size_t size)
{
    return QString::fromStdString(vxdp::toHex(data, size));
}

QJsonObject toJson(const DeviceRecord &r)
{
    const vxdp::DeviceDescription &d = r.description;
    return QJsonObject{
        {QStringLiteral("serial"), QString::fromStdString(d.serial)},
        {QStringLiteral("mac"), QString::fromStdString(vxdp::macToText(d.mac))},
        {QStringLiteral("ipv4"), AddressText::ipv4(d.ipv4)},
        {QStringLiteral("mask"), AddressText::ipv4(d.mask)},
        {QStringLiteral("gateway"), AddressText::ipv4(d.gateway)},
        {QStringLiteral("ipv6"), ipv6Text(d.ipv6)},
        {QStringLiteral("ipv6Gateway"), ipv6Text(d.ipv6Gateway)},
        {QStringLiteral("ipv6PrefixLength"), d.ipv6PrefixLength},
        {QStringLiteral("typeCode"), qint64(d.typeCode)},
        {QStringLiteral("port"), d.port},
        {QStringLiteral("httpPort"), d.httpPort},
        {QStringLiteral("channels"), d.channels},
        {QStringLiteral("capabilities"), d.capabilities},
        {QStringLiteral("dhcp"), d.dhcp},
        {QStringLiteral("extendedValid"), d.extendedValid},
        {QStringLiteral("inactive"), d.inactive},
        {QStringLiteral("keyFormat"), d.keyFormat},
        {QStringLiteral("typeText"), QString::fromStdString(d.typeText)},
        {QStringLiteral("softwareVersion"), QString::fromStdString(d.softwareVersion)},
        {QStringLiteral("dspVersion"), QString::fromStdString(d.dspVersion)},
        {QStringLiteral("publicKey"), hexText(r.keys.publicKey.data(), r.keys.publicKey.size())},
        {QStringLiteral("secretKey"), hexText(r.keys.secretKey.data(), r.keys.secretKey.size())},
        {QStringLiteral("passwordHash"), QString::fromStdString(r.passwordHash)},
        {QStringLiteral("restoreSecret"), hexText(r.restoreSecret.data(), r.restoreSecret.size())},
        {QStringLiteral("restoreSecretShort"), hexText(r.restoreSecretShort.data(), r.restoreSecretShort.size())},
        {QStringLiteral("signingSeed"), hexText(r.signingSeed.data(), r.signingSeed.size())},
        {QStringLiteral("certificate"), hexText(r.certificate.data(), r.certificate.size())},
    };
}

// Reads the fields of one device; the first fault stops it with a message naming the field.
class RecordReader
{
public:
    RecordReader(const QJsonObject &object, int index)
        : m_object(object)
        , m_index(index)
    {}

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    std::string text(const char *key, std::size_t minSize, std::size_t maxSize)
    {
        const QJsonValue v = value(key);
        if (!v.isString())
            return fail(key, "is not a text"), std::string();
        const std::string s = v.toString().toStdString();
        if (s.size() < minSize || s.size() > maxSize || s.find('\0') != std::string::npos)
            return fail(key, "has a bad length"), std::string();
        return s;
    }

    std::uint32_t number(const char *key, std::uint32_t max)
    {
        const QJsonValue v = value(key);
        const double n = v.toDouble(-1);
        if (!v.isDouble() || n < 0 || n > max || n != double(std::uint32_t(n)))
            return fail(key, "is not a number in range"), 0;
        return std::uint32_t(n);
    }

    template<std::size_t N>
    std::array<std::uint8_t, N> hex(const char *key)
    {
        std::array<std::uint8_t, N> out{};
        const auto bytes = vxdp::fromHex(text(key, N * 2, N * 2));
        if (ok() && (!bytes || bytes->size() != N))
            fail(key, "is not hex of the right size");
        else if (ok())
            std::copy(bytes->begin(), bytes->end(), out.begin());
        return out;
    }

    std::array<std::uint8_t, 4> ipv4(const char *key)
    {
        const auto address = AddressText::parseIpv4(QString::fromStdString(text(key, 7, vxdp::kMaxIpv4Text)));
        if (ok() && !address)
            fail(key, "is not an IPv4 address");
        return address.value_or(std::array<std::uint8_t, 4>{});
    }

    std::array<std::uint8_t, 16> ipv6(const char *key)
    {
        const QHostAddress a(QString::fromStdString(text(key, 2, vxdp::kMaxIpv6Text)));
        std::array<std::uint8_t, 16> out{};
        if (ok() && a.protocol() != QAbstractSocket::IPv6Protocol)
            fail(key, "is not an IPv6 address");
        const Q_IPV6ADDR raw = a.toIPv6Address();
        std::copy(std::begin(raw.c), std::end(raw.c), out.begin());
        return out;
    }

    void fail(const char *key, const char *why)
    {
        if (ok())
            m_error = QStringLiteral("device %1: \"%2\" %3").arg(m_index).arg(QLatin1String(key), QLatin1String(why));
    }

private:
    QJsonValue value(const char *key) const { return m_object.value(QLatin1String(key)); }

    const QJsonObject &m_object;
    int m_index;
    QString m_error;
};

// A device of a first-version file gets a signing key that stays the same at every load.
std::array<std::uint8_t, 32> derivedSigningSeed(const vxdp::BoxKeyPair &keys)
{
    static constexpr char kDomain[] = "vexo-sign-up";
    std::vector<std::uint8_t> material(sizeof kDomain + keys.secretKey.size());
    std::copy(std::begin(kDomain), std::end(kDomain), material.begin());
    std::copy(keys.secretKey.begin(), keys.secretKey.end(), material.begin() + sizeof kDomain);
    return vxdp::hash32(material);
}

std::optional<DeviceRecord> fromJson(const QJsonObject &o, int index, const vxdp::SignKeyPair *upgradeWith,
                                     QString *error)
{
    RecordReader in(o, index);
    DeviceRecord r;
    vxdp::DeviceDescription &d = r.description;
    d.serial = in.text("serial", 1, vxdp::kMaxSerial);
    const auto mac = vxdp::macFromText(in.text("mac", vxdp::kMacTextLength, vxdp::kMacTextLength));
    if (!mac)
        in.fail("mac", "is not a MAC address");
    else
        d.mac = *mac;
    d.ipv4 = in.ipv4("ipv4");
    d.mask = in.ipv4("mask");
    d.gateway = in.ipv4("gateway");
    d.ipv6 = in.ipv6("ipv6");
    d.ipv6Gateway = in.ipv6("ipv6Gateway");
    d.ipv6PrefixLength = std::uint8_t(in.number("ipv6PrefixLength", vxdp::kMaxIpv6PrefixLength));
    d.typeCode = in.number("typeCode", 0xffffffffu);
    d.port = std::uint16_t(in.number("port", 65535));
    d.httpPort = std::uint16_t(in.number("httpPort", 65535));
    d.channels = std::uint16_t(in.number("channels", 65535));
    d.capabilities = std::uint8_t(in.number("capabilities", 255));
    d.dhcp = std::uint8_t(in.number("dhcp", 1));
    d.extendedValid = std::uint8_t(in.number("extendedValid", 1));
    d.inactive = std::uint8_t(in.number("inactive", 1));
    d.keyFormat = std::uint8_t(in.number("keyFormat", 255));
    d.typeText = in.text("typeText", 0, vxdp::kMaxTypeText);
    d.softwareVersion = in.text("softwareVersion", 0, vxdp::kMaxVersionText);
    d.dspVersion = in.text("dspVersion", 0, vxdp::kMaxVersionText);
    r.keys.publicKey = in.hex<32>("publicKey");
    r.keys.secretKey = in.hex<32>("secretKey");
    r.passwordHash = in.text("passwordHash", 0, 127);
    r.restoreSecret = in.hex<32>("restoreSecret");
    r.restoreSecretShort = in.hex<32>("restoreSecretShort");
    if (upgradeWith) {
        if (in.ok()) {
            r.signingSeed = derivedSigningSeed(r.keys);
            r.certify(*upgradeWith);
        }
    } else {
        r.signingSeed = in.hex<32>("signingSeed");
        // Empty: a device that plays one without a certificate.
        const std::string certificate = in.text("certificate", 0, 2 * vxdp::kSignatureSize);
        const auto bytes = vxdp::fromHex(certificate);
        if (in.ok() && (!bytes || (bytes->size() != 0 && bytes->size() != vxdp::kSignatureSize)))
            in.fail("certificate", "is not empty or 64 bytes of hex");
        else if (in.ok())
            r.certificate = *bytes;
    }

    if (in.ok()) {
        std::array<std::uint8_t, 32> derived{};
        crypto_scalarmult_base(derived.data(), r.keys.secretKey.data());
        if (derived != r.keys.publicKey)
            in.fail("publicKey", "does not belong to the secret key");
    }
    // An activated device must be able to check its password.
    if (in.ok() && !d.inactive && r.passwordHash.rfind("$argon2", 0) != 0)
        in.fail("passwordHash", "is missing or not an Argon2 hash");
    if (!in.ok()) {
        *error = in.error();
        return std::nullopt;
    }
    return r;
}

} // namespace

std::optional<std::vector<DeviceRecord>> StateFile::load(const QString &path, const vxdp::SignKeyPair &deviceCa,
                                                         bool *upgraded, QString *error,
                                                         std::vector<OnvifDeviceState> *onvif)
{
    *upgraded = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    if (file.size() > kMaxFileSize) {
        *error = QStringLiteral("%1 is too large").arg(path);
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("%1 is not valid JSON: %2 at offset %3")
                     .arg(path, parseError.errorString())
                     .arg(parseError.offset);
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(QLatin1String("format")).toString() != kFormat) {
        *error = QStringLiteral("%1 is not a simulator state file").arg(path);
        return std::nullopt;
    }
    const int version = root.value(QLatin1String("version")).toInt();
    if (version != kVersion && version != kVersionWithoutCertificates) {
        *error = QStringLiteral("%1 has an unknown version").arg(path);
        return std::nullopt;
    }
    *upgraded = version == kVersionWithoutCertificates;
    const QJsonArray list = root.value(QLatin1String("devices")).toArray();
    if (list.isEmpty()) {
        *error = QStringLiteral("%1 holds no devices").arg(path);
        return std::nullopt;
    }

    std::vector<DeviceRecord> devices;
    devices.reserve(std::size_t(list.size()));
    QSet<QString> serials;
    QSet<QString> macs;
    for (int i = 0; i < list.size(); ++i) {
        QString why;
        auto record = list.at(i).isObject() ? fromJson(list.at(i).toObject(), i, *upgraded ? &deviceCa : nullptr, &why)
                                            : std::nullopt;
        if (!record) {
            *error = QStringLiteral("%1: %2").arg(
                path, why.isEmpty() ? QStringLiteral("device %1 is not an object").arg(i) : why);
            return std::nullopt;
        }
        const QString serial = QString::fromStdString(record->description.serial);
        const QString mac = QString::fromStdString(vxdp::macToText(record->description.mac));
        if (serials.contains(serial) || macs.contains(mac)) {
            *error = QStringLiteral("%1: device %2 repeats serial number or MAC of another device").arg(path).arg(i);
            return std::nullopt;
        }
        serials.insert(serial);
        macs.insert(mac);
        devices.push_back(std::move(*record));
    }
    // ONVIF devices: an optional list, so files written before them still load.
    const QJsonArray onvifList = root.value(QLatin1String("onvif")).toArray();
    for (int i = 0; onvif && i < onvifList.size(); ++i) {
        QString why;
        auto state = OnvifPopulation::fromJson(onvifList.at(i).toObject(), &why);
        if (!state) {
            *error = QStringLiteral("%1: %2").arg(path, why);
            return std::nullopt;
        }
        onvif->push_back(std::move(*state));
    }
    return devices;
}

bool StateFile::save(const QString &path, const std::vector<DeviceRecord> &devices, QString *error,
                     const std::vector<OnvifDeviceState> *onvif)
{
    QJsonArray list;
    for (const DeviceRecord &r : devices)
        list.append(toJson(r));
    QJsonObject root{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("version"), kVersion},
        {QStringLiteral("devices"), list},
    };
    if (onvif && !onvif->empty()) {
        QJsonArray onvifList;
        for (const OnvifDeviceState &s : *onvif)
            onvifList.append(OnvifPopulation::toJson(s));
        root.insert(QStringLiteral("onvif"), onvifList);
    }
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
