// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <Vexo.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QMetaType>
#include <QString>
#include <QVector>

#include <cstddef>
#include <cstring>

/**
 * @brief One device as the pages pass it to each other: the texts of its table row.
 *
 * strSerialNumber and strMAC are the key under which DeviceStore keeps the device's full record.
 */
/** @brief The protocol the panel uses to change a device. */
enum class DeviceProtocol {
    Vxdp, ///< the discovery library's own protocol (also for devices that answer ONVIF as well)
    Onvif ///< ONVIF only: a user name and password, no activation or password recovery
};

/** @brief The leadText of records that the ONVIF service reports. */
inline constexpr char OnvifLeadText[] = "ONVIF";

/** @brief Whether @p record came from the ONVIF service. */
bool isOnvifRecord(const VEXO_DEVICE_INFO &record);

/**
 * @brief Whether @p record is an ONVIF device not yet identified with credentials: its serial
 *        number field holds its endpoint reference ("urn:uuid:...") or it has no extended
 *        information, and it has no MAC unless it is the ONVIF face of a verified device
 *        (setOnvifFaceOf()). A partly identified device may lack the MAC, never both of the others.
 */
bool isUnidentifiedOnvif(const VEXO_DEVICE_INFO &record);

/**
 * @brief Lists the unidentified ONVIF @p record as the ONVIF face of the verified device of the
 *        device protocol with @p mac, at whose address it serves: it carries that MAC, so that
 *        the device keeps one row, and stays unidentified.
 */
void setOnvifFaceOf(VEXO_DEVICE_INFO &record, const QString &mac);
/** @brief Whether the ONVIF @p record is listed as the face of a verified device (setOnvifFaceOf()). */
bool isOnvifFace(const VEXO_DEVICE_INFO &record);

/**
 * @brief Marks the ONVIF @p record as one of endpoint @p endpoint. Every record of an endpoint
 *        carries the mark, whatever its key, so that a record taking over from another of the
 *        same device (at its identification) takes over its row too.
 */
void setOnvifEndpoint(VEXO_DEVICE_INFO &record, const QString &endpoint);
/** @brief The endpoint mark of an ONVIF @p record (a digest of the endpoint); empty when it has none. */
QByteArray onvifEndpointMark(const VEXO_DEVICE_INFO &record);

/**
 * @brief The other address that claims the identity of the ONVIF device of @p record (its
 *        endpoint, MAC or serial number); empty when nothing contests it.
 *
 * A contested device is listed by its endpoint reference and gets no credentials until the
 * list is refreshed or the user re-addresses it. The ONVIF service keeps this in a field the
 * discovery library leaves unused in its own records.
 */
QString onvifContestedBy(const VEXO_DEVICE_INFO &record);
/** @brief Marks the ONVIF @p record as contested by the device at @p otherAddress (empty: not contested). */
void setOnvifContestedBy(VEXO_DEVICE_INFO &record, const QString &otherAddress);

struct DeviceInfo
{
    QString strIndex;        ///< the row's "ID" cell
    QString strDeviceType;   ///< the "Device Type" cell
    QString strIPv4Address;  ///< the "IPv4 Address" cell
    QString strSerialNumber; ///< the "Serial Number" cell
    QString strMAC;          ///< the "MAC" cell
    /** @brief "0" until an operation on the device writes its outcome ("Succeed" or an error text). */
    QString strResult = QStringLiteral("0");
    /** @brief How the panel changes the device. */
    DeviceProtocol protocol = DeviceProtocol::Vxdp;
    /** @brief Why the device is not available (its ONVIF identification failed); empty when nothing is known. */
    QString strUnavailable;

    friend bool operator==(const DeviceInfo &, const DeviceInfo &) = default;
};

Q_DECLARE_METATYPE(VEXO_DEVICE_INFO)
Q_DECLARE_METATYPE(DeviceInfo)

/**
 * @brief Registers "VEXO_DEVICE_INFO", "DeviceInfo" and "QVector<DeviceInfo>" for queued signals.
 *
 * Call once at start-up before making connections that carry these types.
 */
void registerDiscoveryMetaTypes();

/**
 * @brief The bytes of a fixed-width text field: up to its first NUL, at most the field's width.
 *
 * A field that fills its whole width without a terminator yields all of its bytes and never
 * the bytes of the field after it.
 */
template<std::size_t N>
QByteArrayView fieldBytes(const char (&field)[N])
{
    const void *nul = std::memchr(field, 0, N);
    return QByteArrayView(field, nul ? static_cast<const char *>(nul) - field : qsizetype(N));
}

/** @brief The text of a fixed-width field, read as Latin-1 within the field's width. */
template<std::size_t N>
QString fieldText(const char (&field)[N])
{
    return QString::fromLatin1(fieldBytes(field));
}

/**
 * @brief Writes @p text into a fixed-width field: at most N - 1 bytes, the rest of the field zeroed.
 *
 * The stored text is always terminated; a longer text is cut.
 * @return true when the whole text fitted.
 */
template<std::size_t N>
bool setFieldText(char (&field)[N], QByteArrayView text)
{
    static_assert(N > 0);
    const std::size_t length = qMin(std::size_t(text.size()), N - 1);
    std::memset(field, 0, N);
    if (length)
        std::memcpy(field, text.data(), length);
    return length == std::size_t(text.size());
}
