// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "deviceinfo.h"

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

bool isUnidentifiedOnvif(const VEXO_DEVICE_INFO &record)
{
    // A partly identified device may not have told its MAC: it is known by its extended
    // information and a serial number that is not its endpoint reference.
    return isOnvifRecord(record) && fieldBytes(record.macAddress).isEmpty()
           && (!record.extendedInfoValid || fieldBytes(record.serialNumber).startsWith("urn:"));
}

QString onvifContestedBy(const VEXO_DEVICE_INFO &record)
{
    return isOnvifRecord(record) ? fieldText(record.reserved2) : QString();
}

void setOnvifContestedBy(VEXO_DEVICE_INFO &record, const QString &otherAddress)
{
    setFieldText(record.reserved2, otherAddress.toLatin1());
}
