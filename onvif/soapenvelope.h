// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "result.h"
#include "soapdocument.h"

namespace onvif {

/** @brief The SOAP version of an envelope, told by its namespace. */
enum class SoapVersion { Soap11, Soap12 };

/**
 * @brief A received SOAP envelope: its document, header and the one element of its body.
 */
struct SoapEnvelope
{
    SoapDocument document;
    SoapVersion version = SoapVersion::Soap12;
    int header = -1;  ///< the Header element, or -1
    int payload = -1; ///< the single element inside Body
};

/**
 * @brief Reads @p xml as a SOAP 1.2 or SOAP 1.1 envelope (see SoapDocument for what is refused).
 *
 * Devices answer in either version whatever their content type says, so both are read alike;
 * a SOAP 1.1 envelope is named in the result's quirks and a SOAP 1.1 fault comes back in SOAP
 * 1.2 terms (Client as Sender, Server as Receiver, a code of another namespace as a subcode).
 * An envelope whose body holds a Fault comes back with the fault set; one in no SOAP namespace,
 * without a body or with other than one element in it is refused.
 */
Result<SoapEnvelope> readSoapEnvelope(QByteArrayView xml, qsizetype maxBytes);

} // namespace onvif
