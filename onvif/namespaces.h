// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file namespaces.h
 * @brief The XML namespaces of the ONVIF messages this library builds and reads.
 *
 * Elements are always matched by namespace URI and local name; the prefixes used on the
 * wire are the sender's choice and never matter.
 */

#include <QString>

namespace onvif::ns {

/** @brief SOAP 1.2 envelope. */
inline const QString kSoapEnvelope = QStringLiteral("http://www.w3.org/2003/05/soap-envelope");
/** @brief WS-Addressing as WS-Discovery uses it. */
inline const QString kAddressing2004 = QStringLiteral("http://schemas.xmlsoap.org/ws/2004/08/addressing");
/** @brief WS-Addressing 1.0; some devices use it in discovery headers too. */
inline const QString kAddressing2005 = QStringLiteral("http://www.w3.org/2005/08/addressing");
/** @brief WS-Discovery. */
inline const QString kDiscovery = QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery");
/** @brief ONVIF device management service (tds). */
inline const QString kDevice = QStringLiteral("http://www.onvif.org/ver10/device/wsdl");
/** @brief ONVIF network (dn), home of the NetworkVideoTransmitter type. */
inline const QString kNetwork = QStringLiteral("http://www.onvif.org/ver10/network/wsdl");
/** @brief ONVIF schema types (tt). */
inline const QString kSchema = QStringLiteral("http://www.onvif.org/ver10/schema");
/** @brief ONVIF fault subcodes (ter). */
inline const QString kError = QStringLiteral("http://www.onvif.org/ver10/error");
/** @brief WS-Security extension (wsse). */
inline const QString kWsse
    = QStringLiteral("http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd");
/** @brief WS-Security utility (wsu). */
inline const QString kWsu
    = QStringLiteral("http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd");

} // namespace onvif::ns
