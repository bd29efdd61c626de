// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file wsdiscovery.h
 * @brief WS-Discovery messages as ONVIF devices use them (ONVIF Core Specification,
 * "Device discovery"): the Probe the program sends and the ProbeMatches, Hello and Bye
 * it reads. Pure functions over XML text; the sockets live elsewhere.
 */

#include "result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace onvif::discovery {

/** @brief Largest datagram read: a ProbeMatch or Hello fits one UDP datagram. */
inline constexpr qsizetype kMaxDatagramBytes = 64 * 1024;

/** @brief A device's scopes, the onvif://www.onvif.org/ ones split by category and decoded. */
struct Scopes
{
    QStringList names;     ///< onvif://www.onvif.org/name/<value>, percent-decoded
    QStringList hardware;  ///< onvif://www.onvif.org/hardware/<value>
    QStringList locations; ///< onvif://www.onvif.org/location/<value> (may be a path)
    QStringList other;     ///< every other scope URI, as sent
};

/** @brief One device as a ProbeMatch, Hello or Bye describes it. */
struct Target
{
    QString endpoint;           ///< endpoint reference address, normally urn:uuid:...
    QList<QualifiedName> types; ///< e.g. {tds, Device}, {dn, NetworkVideoTransmitter}
    Scopes scopes;
    QStringList xaddrs;          ///< device service addresses (http://.../onvif/device_service)
    quint32 metadataVersion = 0; ///< 0 when absent (a Bye need not carry it)

    /** @brief The endpoint's UUID when it is a urn:uuid address, else a null UUID. */
    QUuid endpointUuid() const;
    /** @brief Whether the types name the ONVIF device service (tds:Device). */
    bool isOnvifDevice() const;
};

/** @brief What a received discovery message said. */
struct Message
{
    enum class Kind { ProbeMatches, Hello, Bye, Probe };
    Kind kind = Kind::ProbeMatches;
    QString messageId;
    QString relatesTo;               ///< the Probe's MessageID a ProbeMatches answers
    QList<Target> targets;           ///< one per ProbeMatch (none in an empty ProbeMatches); one for Hello and Bye
    QList<QualifiedName> probeTypes; ///< the types a Probe asks for
};

/**
 * @brief A Probe for ONVIF devices (types tds:Device and dn:NetworkVideoTransmitter) in a
 * SOAP 1.2 envelope, with MessageID "urn:uuid:<messageId>" and the discovery Action and To.
 */
QByteArray buildProbe(const QUuid &messageId);

/**
 * @brief Reads a ProbeMatches, Hello or Bye (and a Probe, for a responder).
 *
 * Refused with a reason: texts over @p maxBytes, anything SoapDocument refuses, another
 * SOAP version, another body element, a device without an endpoint address, a type or a
 * MetadataVersion that does not parse. A discovery fault comes back as the result's fault.
 */
Result<Message> parseMessage(QByteArrayView xml, qsizetype maxBytes = kMaxDatagramBytes);

/** @brief Splits a whitespace-separated scope list into categories (see Scopes). */
Scopes splitScopes(QStringView scopeList);

} // namespace onvif::discovery
