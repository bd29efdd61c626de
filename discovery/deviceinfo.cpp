// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "deviceinfo.h"

#include <QCryptographicHash>

void registerDiscoveryMetaTypes()
{
    qRegisterMetaType<VEXO_DEVICE_INFO>("VEXO_DEVICE_INFO");
    qRegisterMetaType<DeviceInfo>("DeviceInfo");
    qRegisterMetaType<QVector<DeviceInfo>>("QVector<DeviceInfo>");
}

bool isOnvifRecord(const VEXO_DEVICE_INFO &record)
{
    return fieldBytes(record.leadText) == QByteArrayView(OnvifLeadText);
}

namespace {

// Where ONVIF records keep their marks: bytes the discovery library leaves unused in its own.
constexpr std::size_t kMarkSize = 16;
constexpr std::size_t kFaceFlag = kMarkSize;
static_assert(sizeof(VEXO_DEVICE_INFO::reserved4) > kFaceFlag);

} // namespace

bool isUnidentifiedOnvif(const VEXO_DEVICE_INFO &record)
{
    // A partly identified device may not have told its MAC: it is known by its extended
    // information and a serial number that is not its endpoint reference.
    return isOnvifRecord(record)
           && ((fieldBytes(record.macAddress).isEmpty()
                && (!record.extendedInfoValid || fieldBytes(record.serialNumber).startsWith("urn:")))
               || isOnvifFace(record));
}

void setOnvifFaceOf(VEXO_DEVICE_INFO &record, const QString &mac)
{
    setFieldText(record.macAddress, mac.toLatin1());
    record.reserved4[kFaceFlag] = mac.isEmpty() ? 0 : 1;
}

bool isOnvifFace(const VEXO_DEVICE_INFO &record)
{
    return isOnvifRecord(record) && record.reserved4[kFaceFlag] != 0;
}

void setOnvifEndpoint(VEXO_DEVICE_INFO &record, const QString &endpoint)
{
    const QByteArray digest = QCryptographicHash::hash(endpoint.toUtf8(), QCryptographicHash::Sha256);
    std::memcpy(record.reserved4, digest.constData(), kMarkSize);
}

QByteArray onvifEndpointMark(const VEXO_DEVICE_INFO &record)
{
    const QByteArray mark(reinterpret_cast<const char *>(record.reserved4), qsizetype(kMarkSize));
    return isOnvifRecord(record) && mark.count('\0') != mark.size() ? mark : QByteArray();
}

QString onvifContestedBy(const VEXO_DEVICE_INFO &record)
{
    return isOnvifRecord(record) ? fieldText(record.reserved2) : QString();
}

void setOnvifContestedBy(VEXO_DEVICE_INFO &record, const QString &otherAddress)
{
    setFieldText(record.reserved2, otherAddress.toLatin1());
}
